#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include "data/period.h"

namespace ds {
class Dataset;
}

// The queries that the data module's operations set for the purchase and settlement screens.
namespace data {

// The purchases of the vehicles of one taxpayer dated within a period, ordered by vehicle,
// date and invoice number. Parameters: the period's first and last day (dpocz, dkon) and
// the taxpayer's short name (nazskr), bound rather than written into the text, so that a
// name with an apostrophe needs no escaping.
QString purchaseSelectSql();
// That order, field by field (ascending), for the purchases posted on the screen.
QList<QPair<QString, bool>> purchaseOrder();
// The vehicles of one taxpayer that may take purchases in a period: those without an end of
// use that began on or before the period end, and those whose use ended on or after the
// period start (whenever it began). Parameters as above.
QString vehicleSelectSql();
// Sets the period and taxpayer parameters of a query made from one of the texts above.
void bindPeriod(ds::Dataset& query, const Period& period, const QString& taxpayer);

} // namespace data
