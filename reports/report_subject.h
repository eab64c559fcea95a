#pragma once

#include <QString>

#include "data/period.h"
#include "data/settlement.h"

namespace reports {

// What a printout is made of, as one value: the taxpayer and period chosen and the settlement
// computed for them (its amounts, and its lines, which the statement sums rather than grouping
// the purchases a second time).
struct ReportSubject {
    // The settlement's own taxpayer and period; `part` (0 or 1) names the half-year up to 2012.
    ReportSubject(const data::Settlement& settlement, int part);
    // A settlement whose amount came out of range has no lines to sum (`complete` false).
    ReportSubject(data::PeriodChoice choice, data::Settlement settlement, bool complete);

    data::PeriodChoice choice;
    data::Settlement settlement;
    bool complete = true;

    // The settlement whose lines the statement sums; none when it is not complete.
    const data::Settlement* linesToSum() const { return complete ? &settlement : nullptr; }
};

// "II.2012": the half-year and the year.
QString halfYearLabel(const ReportSubject& subject);
// The period as the later forms print it: "2013" from 2013 on, else "II.2012".
QString periodLabel(const ReportSubject& subject);

} // namespace reports
