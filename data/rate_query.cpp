#include "data/rate_query.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace data {

RateQuery rateQueryForYear(const QString& yearText)
{
    const QString prefix = QStringLiteral("select * from TAB_OPL_SILN where (tab_opl_siln.nr_siln=:nr)");
    const QString order = QStringLiteral(" order by TAB_OPL_SILN.ROK,TAB_OPL_SILN.NR_PALIWA");
    if (yearText.isEmpty())
        return {prefix + order, false, {}};

    RateQuery query{prefix + QStringLiteral(" and (rok=:rok)") + order, true, {}};
    // Read as SQL reads a number literal: " 2024", "+2024" and "2024.0" all mean 2024.
    bool ok = false;
    const double value = QLocale::c().toDouble(yearText.trimmed(), &ok);
    if (ok && std::floor(value) == value && value >= std::numeric_limits<qint16>::min()
        && value <= std::numeric_limits<qint16>::max())
        query.year = static_cast<int>(value);
    return query;
}

} // namespace data
