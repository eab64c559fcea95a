#pragma once

#include "reports/report_window.h"

namespace reports {

class ReportInputs;

// The purchase register: the taxpayer's fuel purchases of the period grouped by engine type
// and fuel (IBQ_rozl_w), each group's litres and tonnes, and under it its invoices
// (IBQ_rozl_w1). A4 portrait.
class Tf_w_zak : public ReportWindow {
public:
    Tf_w_zak(Tdm_1& dm, const ReportInputs& inputs);

private:
    void buildBands();
    // The title's second line, laid out one text after the other as they read at print time.
    bool titleBeforePrint(report::Band& band);
    const ReportInputs& inputs_;
};

} // namespace reports
