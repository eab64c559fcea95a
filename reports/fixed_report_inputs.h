#pragma once

#include "reports/report_inputs.h"
#include "data/settlement.h"

namespace reports {

// The inputs of the printed statements for a settlement computed without the settlement
// window, as the window would show them for that taxpayer, year and half-year.
class FixedReportInputs : public ReportInputs {
public:
    // half: 0 or 1 up to 2012 (see data::settlementPeriod), ignored later.
    FixedReportInputs(const data::Settlement& settlement, int half);

    QString selectedTaxpayer() const override { return settlement_.taxpayer; }
    QString taxpayerListItem() const override { return settlement_.taxpayer; }
    int selectedYear() const override { return settlement_.year; }
    QString yearText() const override { return QString::number(settlement_.year); }
    QString halfYearItem() const override { return halfYearItemText(half_); }
    data::Period period() const override { return settlement_.period; }
    text::Money amountToPay() const override { return settlement_.amount; }
    text::Money threshold() const override { return settlement_.threshold; }
    QString missingRatesWarning() const override { return settlement_.missingRatesWarning(); }
    const data::Settlement* settlement() const override { return &settlement_; }

private:
    data::Settlement settlement_;
    int half_;
};

} // namespace reports
