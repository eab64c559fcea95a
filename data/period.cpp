#include "data/period.h"

namespace data {

Period settlementPeriod(int year, int half)
{
    if (!usesHalfYears(year))
        return {QDate(year, 1, 1), QDate(year, 12, 31)};
    const int k = half == 1 ? 1 : 0;
    const QDate start(year, 6 * k + 1, 1);
    const QDate lastMonth(year, 6 * k + 6, 1);
    return {start, QDate(year, 6 * k + 6, lastMonth.daysInMonth())};
}

} // namespace data
