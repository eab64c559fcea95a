#pragma once

#include <QString>

#include "data/period.h"
#include "data/settlement.h"
#include "text/money.h"

namespace reports {

// What the printed statements read from the settlement window: the taxpayer, the period
// and the amounts. Tf_rozl answers from its controls and state at the moment of asking, so
// labels filled at print time show what the window shows; FixedReportInputs answers for a
// settlement computed without a window (the command line, benchmarks).
class ReportInputs {
public:
    virtual ~ReportInputs() = default;

    // The short name the settlement was computed for ("" when the taxpayer list is empty).
    virtual QString selectedTaxpayer() const = 0;
    // The taxpayer list's selected item as it reads now.
    virtual QString taxpayerListItem() const = 0;
    virtual int selectedYear() const = 0;
    // The year field's text, untrimmed.
    virtual QString yearText() const = 0;
    // The half-year list's selected item, untrimmed ("    I", "    II"); "" when none.
    virtual QString halfYearItem() const = 0;
    virtual data::Period period() const = 0;
    virtual text::Money amountToPay() const = 0;
    virtual text::Money threshold() const = 0;
    // The settlement's warning about lines without a rate (data::Settlement::
    // missingRatesWarning); empty when there is none.
    virtual QString missingRatesWarning() const { return {}; }
    // The settlement behind the amounts, whose lines the statement sums instead of grouping
    // the purchases again; none when there is no complete one.
    virtual const data::Settlement* settlement() const { return nullptr; }
};

// The items of the half-year list: 0 the first half-year, 1 the second.
inline QString halfYearItemText(int half)
{
    return half == 1 ? QStringLiteral("    II") : QStringLiteral("    I");
}

// "II.2012": the half-year item and the year text, each trimmed.
inline QString halfYearLabel(const ReportInputs& in)
{
    return in.halfYearItem().trimmed() + QLatin1Char('.') + in.yearText().trimmed();
}

// The period as the later forms print it: "2013" from 2013 on, else "II.2012".
inline QString periodLabel(const ReportInputs& in)
{
    return data::usesHalfYears(in.selectedYear()) ? halfYearLabel(in) : in.yearText().trimmed();
}

} // namespace reports
