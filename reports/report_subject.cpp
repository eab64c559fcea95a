#include "reports/report_subject.h"

#include <utility>

namespace reports {

ReportSubject::ReportSubject(const data::Settlement& s, int part)
    : choice(data::periodChoice(data::YearParts::HalfYears, s.taxpayer, s.year, part)), settlement(s)
{
    // The settlement's own period stands, whatever the part says.
    choice.start = s.period.start;
    choice.end = s.period.end;
}

ReportSubject::ReportSubject(data::PeriodChoice c, data::Settlement s, bool whole)
    : choice(std::move(c)), settlement(std::move(s)), complete(whole)
{
}

QString halfYearLabel(const ReportSubject& subject)
{
    const QString numeral = subject.choice.part == 1 ? QStringLiteral("II") : QStringLiteral("I");
    return numeral + QLatin1Char('.') + QString::number(subject.choice.year);
}

QString periodLabel(const ReportSubject& subject)
{
    return data::usesHalfYears(subject.choice.year) ? halfYearLabel(subject) : QString::number(subject.choice.year);
}

} // namespace reports
