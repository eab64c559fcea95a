#pragma once

#include "reports/report_window.h"

namespace reports {

class ReportInputs;

// Number masks of the statement (positive; negative; zero): a zero prints as nothing, so
// a fuel bought in no amount leaves its number cells blank.
inline const QString tonnesMask = QStringLiteral("###0.000;###0.000;#");
inline const QString moneyMask = QStringLiteral("###0.00;###0.00;#");

// What both forms of the statement ("TABELA D") share: the engine types with rates in the
// settlement year as the master (IBQ_sil_w), the fuels with a rate for each of them as the
// detail (IBQ_opl_w, whose calculated fields sum the lines of the settlement behind the
// inputs, or without one read the taxpayer's purchases of the period through IBQ_rozl_w).
class StatementWindow : public ReportWindow {
protected:
    StatementWindow(Tdm_1& dm, const ReportInputs& inputs, const QString& caption);

    // "1.", "2.", ...: the engine type's running number in the report.
    QString runningNumber();

    Tdm_1& dm_;
};

} // namespace reports
