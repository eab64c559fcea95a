#include "data/taxpayers.h"

#include "data/dm1.h"
#include "data/field_names.h"
#include "data/report_snapshot.h"
#include "firebird/one_request.h"
#include "firebird/statement.h"

namespace data {

std::optional<int> Taxpayers::holderOfShortName(const QString& shortName, int exceptNumber)
{
    // The lowest when a database from before short names were unique has two.
    const auto row = fb::runOnce(dm_.db_opl, dm_.tr_opl, QStringLiteral("select min(NR_PODAT) from PODAT where NAZSKR = ? and NR_PODAT <> ?"),
                                 {shortName, exceptNumber}, {fb::ColumnType::Integer});
    if (!row || !row->front().isValid())
        return std::nullopt;
    return row->front().toInt();
}

QList<int> Taxpayers::numbers()
{
    fb::Statement q(dm_.db_opl, dm_.tr_opl, QStringLiteral("select NR_PODAT from PODAT order by NR_PODAT"));
    q.execute();
    QList<int> numbers;
    while (q.fetch())
        numbers << q.value(0).toInt();
    return numbers;
}

TaxpayerRecord Taxpayers::recordForReports(const QString& shortName)
{
    const auto snapshot = dm_.readReportsFromSnapshot();
    fb::Statement q(dm_.db_opl, snapshot->transaction(), QStringLiteral("select * from PODAT where NAZSKR = :naz"));
    q.setParam(par::naz, shortName);
    q.execute();
    TaxpayerRecord record;
    for (int c = 0; c < q.columnCount(); ++c)
        record.columns << q.column(c).name;
    while (q.fetch()) {
        QVariantList row;
        for (int c = 0; c < q.columnCount(); ++c)
            row << q.value(c);
        record.rows << row;
    }
    return record;
}

QList<int> Taxpayers::unknown(const QList<int>& numbers)
{
    fb::Statement q(dm_.db_opl, dm_.tr_opl, QStringLiteral("select count(*) from PODAT where NR_PODAT = :nr"));
    QList<int> unknown;
    for (const int number : numbers) {
        q.setParam(par::nr, number);
        q.execute();
        q.fetch();
        if (q.value(0).toInt() == 0)
            unknown << number;
        q.closeCursor();
    }
    return unknown;
}

} // namespace data
