#pragma once

#include "reports/report_window.h"

namespace report {
class MemoryRows;
}

namespace reports {

struct ReportSubject;

// Number masks of the statement (positive; negative; zero): a zero prints as nothing, so
// a fuel bought in no amount leaves its number cells blank.
inline const QString tonnesMask = QStringLiteral("###0.000;###0.000;#");
inline const QString moneyMask = QStringLiteral("###0.00;###0.00;#");

// What both forms of the statement ("TABELA D") share: the engine types with rates in the
// settlement year as the master, the fuels with a rate for each of them as the detail, with
// the tonnes, rate and fee of the taxpayer's purchases: values (data::statementOf) summed
// from the subject's settlement, or without one read by the statement's grouped query.
class StatementWindow : public ReportWindow {
protected:
    StatementWindow(Tdm_1& dm, const ReportSubject& subject, const QString& caption);

    // "1.", "2.", ...: the engine type's running number in the report.
    QString runningNumber();
    // A value of the fuel line being printed.
    QVariant fuelValue(const QString& field) const;

private:
    report::MemoryRows* fuels_; // the detail rows, owned by the report
};

} // namespace reports
