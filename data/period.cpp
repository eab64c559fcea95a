#include "data/period.h"

namespace data {

namespace {

// The months from..to of one year.
Period months(int year, int first, int last)
{
    return {QDate(year, first, 1), QDate(year, last, QDate(year, last, 1).daysInMonth())};
}

} // namespace

Period settlementPeriod(int year, int half)
{
    return periodOfPart(YearParts::HalfYears, year, half == 1 ? 1 : 0);
}

Period periodOfPart(YearParts parts, int year, int part)
{
    if (!usesHalfYears(year))
        return months(year, 1, 12);
    const int length = parts == YearParts::HalfYears ? 6 : 3;
    return months(year, length * part + 1, length * part + length);
}

int preselectedPart(YearParts parts, int month)
{
    if (parts == YearParts::HalfYears)
        return month >= 2 && month <= 7 ? 0 : 1;
    return month == 1 ? 3 : (month - 2) / 3;
}

PeriodChoice periodChoice(YearParts parts, const QString& taxpayer, int year, int part)
{
    const int kept = usesHalfYears(year) ? part : 0;
    const Period p = periodOfPart(parts, year, kept);
    return {taxpayer, year, kept, p.start, p.end, parts};
}

QString PeriodChoice::partNumeral() const
{
    static const char* const numerals[] = {"I", "II", "III", "IV"};
    if (!usesHalfYears(year) || part < 0 || part > 3)
        return {};
    return QString::fromLatin1(numerals[part]);
}

QString PeriodChoice::name() const
{
    if (parts == YearParts::HalfYears || !usesHalfYears(year))
        return periodName(year, part);
    return QStringLiteral("%1 kwartał %2").arg(partNumeral()).arg(year);
}

QString periodName(int year, int part)
{
    if (!usesHalfYears(year))
        return QStringLiteral("rok %1").arg(year);
    return QStringLiteral("%1 półrocze %2").arg(part == 1 ? QStringLiteral("II") : QStringLiteral("I")).arg(year);
}

} // namespace data
