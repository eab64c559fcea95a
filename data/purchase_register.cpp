#include "data/purchase_register.h"

#include "data/dm1.h"
#include "data/fee_arithmetic.h"
#include "data/field_names.h"
#include "data/report_reads.h"
#include "data/report_snapshot.h"
#include "data/settlement_queries.h"
#include "firebird/statement.h"

namespace data {

std::vector<RegisterLine> purchaseRegister(Tdm_1& dm, const QString& taxpayer, const Period& period)
{
    const auto snapshot = dm.readReportsFromSnapshot();
    fb::Transaction& tr = snapshot->transaction();
    const QHash<int, QString> types = namesOf(dm.db_opl, tr, QStringLiteral("RODZ_SILNIKA"));
    const QHash<int, QString> fuels = namesOf(dm.db_opl, tr, QStringLiteral("RODZ_PALIWA"));

    std::vector<RegisterLine> lines;
    fb::Statement sums(dm.db_opl, tr, statementLinesSql(dm.purchaseAccessFor(taxpayer)));
    bindTaxpayerPeriod(sums, taxpayer, period);
    sums.execute();
    while (sums.fetch()) {
        RegisterLine line;
        line.vehicleType = sums.value(0).toInt();
        line.fuel = sums.value(1).toInt();
        line.vehicleTypeName = types.value(line.vehicleType);
        line.fuelName = fuels.value(line.fuel);
        line.litres = sums.value(4).isNull() ? 0.0 : sums.value(4).toDouble();
        line.tonnes = tonnesShown(line.litres, moneyOfColumn(sums.value(3)));
        lines.push_back(std::move(line));
    }

    // All the purchases in one query, dealt to their lines (both in the lines' order).
    fb::Statement purchases(dm.db_opl, tr, registerPurchasesSql());
    bindTaxpayerPeriod(purchases, taxpayer, period);
    purchases.execute();
    auto line = lines.begin();
    while (purchases.fetch()) {
        const int type = purchases.value(0).toInt();
        const int fuel = purchases.value(1).toInt();
        while (line != lines.end() && (line->vehicleType < type || (line->vehicleType == type && line->fuel < fuel)))
            ++line;
        if (line == lines.end() || line->vehicleType != type || line->fuel != fuel)
            continue;
        line->purchases.push_back({purchases.value(2).toString(), purchases.value(3).toString(), purchases.value(4).toDate(),
                                   purchases.value(5).toDouble()});
    }
    return lines;
}

} // namespace data
