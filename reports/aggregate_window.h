#pragma once

#include "reports/report_subject.h"
#include "reports/report_window.h"

namespace reports {

// What both forms of the aggregate statement share: the taxpayer's stored row (read as a
// value) as the master, and the subject's period and amounts.
class AggregateWindow : public ReportWindow {
protected:
    AggregateWindow(Tdm_1& dm, const ReportSubject& subject, const QString& caption);
    const ReportSubject subject_;
};

} // namespace reports
