#pragma once

#include "reports/report_subject.h"
#include "reports/report_window.h"

namespace reports {

// The purchase register: the taxpayer's fuel purchases of the period grouped by engine type
// and fuel, each group's litres and tonnes, and under it its invoices; read as values
// (data::PurchaseRegister), the invoices as the pages are made, so that no other window's
// data is touched. A4 portrait.
class Tf_w_zak : public ReportWindow {
public:
    Tf_w_zak(Tdm_1& dm, const ReportSubject& subject);

private:
    void buildBands();
    // The title's second line, laid out one text after the other as they read at print time.
    bool titleBeforePrint(report::Band& band);
    const ReportSubject subject_;
};

} // namespace reports
