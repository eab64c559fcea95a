#pragma once

#include "reports/report_window.h"

namespace reports {

class ReportInputs;

// What both forms of the aggregate statement share: the taxpayer's row (IBQ_zbior_w) as the
// master, and the settlement window's period and amounts, read while the report prints.
class AggregateWindow : public ReportWindow {
public:

protected:
    AggregateWindow(Tdm_1& dm, const ReportInputs& inputs, const QString& caption);
    const ReportInputs& inputs_;
};

} // namespace reports
