#pragma once

#include <QHash>
#include <QString>

#include "data/period.h"

namespace fb {
class Connection;
class Statement;
class Transaction;
}

namespace data {

// What the printouts' value queries share: the names of a table of numbered names (vehicle
// types, fuels), and the taxpayer and period bound to a query of the taxpayer's purchases.
QHash<int, QString> namesOf(fb::Connection& db, fb::Transaction& tr, const QString& table);
void bindTaxpayerPeriod(fb::Statement& q, const QString& taxpayer, const Period& period);

} // namespace data
