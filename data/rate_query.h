#pragma once

#include <QString>
#include <QVariant>

namespace data {

// The select statement of IBDS_opl for the text of the fee-rate screen's year list: the
// rates of the chosen vehicle type (parameter "nr"), of every year when the text is empty,
// otherwise of the year typed, which goes to the database as the parameter "rok".
struct RateQuery {
    QString sql;
    bool filtersYear = false;
    // The year to bind; null when the text is no whole number, so that no row matches
    // (as no year can equal such a text).
    QVariant year;
};

RateQuery rateQueryForYear(const QString& yearText);

} // namespace data
