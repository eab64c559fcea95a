#include "data/statement_figures.h"

#include "data/dm1.h"
#include "data/fee_arithmetic.h"
#include "data/field_names.h"
#include "data/report_reads.h"
#include "data/report_snapshot.h"
#include "data/settlement.h"
#include "data/settlement_queries.h"
#include "firebird/statement.h"

namespace data {

QVariant feeOrNothing(double litres, const text::Money& kgPerLitre, double rate)
{
    try {
        return QVariant::fromValue(lineFee(litres, kgPerLitre, rate));
    } catch (const text::MoneyOverflow&) {
        return {};
    }
}

void StatementFigureMap::add(int vehicleType, int fuel, double litres, const text::Money& kgPerLitre, const QVariant& rate)
{
    const QPair<int, int> key(vehicleType, fuel);
    if (lines_.contains(key))
        return;
    lines_.insert(key, {tonnesShown(litres, kgPerLitre), rate,
                        feeOrNothing(litres, kgPerLitre, rate.isNull() ? 0.0 : rate.toDouble())});
}

StatementFigureMap StatementFigureMap::of(const Settlement& settlement)
{
    StatementFigureMap map;
    for (const StatementGroup& g : statementGroups(settlement))
        map.add(g.vehicleType, g.fuel, g.litres, g.kgPerLitre, g.rate ? QVariant(*g.rate) : QVariant());
    return map;
}

StatementFigures StatementFigureMap::at(int vehicleType, int fuel) const
{
    const QVariant zero = QVariant::fromValue(text::Money());
    const auto found = lines_.constFind({vehicleType, fuel});
    if (found == lines_.constEnd())
        return {QVariant(0.0), zero, zero};
    return {found->tonnes, found->rate.isValid() ? found->rate : zero, found->fee};
}

std::vector<StatementType> statementOf(Tdm_1& dm, const QString& taxpayer, int year, const Period& period,
                                       const Settlement* computed)
{
    const auto snapshot = dm.readReportsFromSnapshot();
    fb::Transaction& tr = snapshot->transaction();

    StatementFigureMap figures;
    if (computed && computed->taxpayer == taxpayer && computed->period == period) {
        figures = StatementFigureMap::of(*computed);
    } else {
        fb::Statement lines(dm.db_opl, tr, statementLinesSql(dm.purchaseAccessFor(taxpayer)));
        bindTaxpayerPeriod(lines, taxpayer, period);
        lines.execute();
        while (lines.fetch())
            figures.add(lines.value(0).toInt(), lines.value(1).toInt(), lines.value(4).isNull() ? 0.0 : lines.value(4).toDouble(),
                        moneyOfColumn(lines.value(3)), lines.value(2));
    }

    // The types with rates in the year and their fuels, named, in one query.
    std::vector<StatementType> types;
    fb::Statement rated(dm.db_opl, tr,
                        QStringLiteral("select S.NR, S.NAZWA, T.NR_PALIWA, P.NAZWA from RODZ_SILNIKA S join TAB_OPL_SILN T "
                                       "on S.NR = T.NR_SILN left join RODZ_PALIWA P on P.NR = T.NR_PALIWA "
                                       "where T.ROK = :wybrok order by S.NR, T.NR_PALIWA"));
    rated.setParam(par::wybrok, year);
    rated.execute();
    while (rated.fetch()) {
        const int type = rated.value(0).toInt();
        if (types.empty() || types.back().vehicleType != type)
            types.push_back({type, rated.value(1).toString(), {}});
        const int fuel = rated.value(2).toInt();
        types.back().fuels.push_back({fuel, rated.value(3).toString(), figures.at(type, fuel)});
    }
    return types;
}

} // namespace data
