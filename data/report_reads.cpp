#include "data/report_reads.h"

#include "data/field_names.h"
#include "firebird/statement.h"

namespace data {

QHash<int, QString> namesOf(fb::Connection& db, fb::Transaction& tr, const QString& table)
{
    fb::Statement q(db, tr, QStringLiteral("select NR, NAZWA from ") + table);
    q.execute();
    QHash<int, QString> names;
    while (q.fetch())
        names.insert(q.value(0).toInt(), q.value(1).toString());
    return names;
}

void bindTaxpayerPeriod(fb::Statement& q, const QString& taxpayer, const Period& period)
{
    q.setParam(par::naz, taxpayer);
    q.setParam(par::dpocz, period.start);
    q.setParam(par::dkon, period.end);
}

} // namespace data
