#include "data/settlement.h"

#include <QStringList>

#include <map>

#include "data/dm1.h"
#include "data/fee_arithmetic.h"
#include "data/field_names.h"
#include "data/settlement_queries.h"
#include "firebird/one_request.h"

namespace data {

YearParameters yearParameters(Tdm_1& dm, int year)
{
    YearParameters result;
    const auto row = fb::runOnce(dm.db_opl, dm.tr_opl, QStringLiteral("select PLAC_MIN, WSK_PROC from PARAM where ROK = ?"), {year},
                                 {fb::ColumnType::Double, fb::ColumnType::Double});
    if (row) {
        result.minimumWage = text::Money::fromDouble(row->at(0).toDouble());
        result.percentage = row->at(1).toDouble();
    }
    return result;
}

std::vector<const SettlementLine*> Settlement::linesWithoutRate() const
{
    std::vector<const SettlementLine*> missing;
    for (const SettlementLine& line : lines)
        if (!line.rate)
            missing.push_back(&line);
    return missing;
}

QString Settlement::missingRatesWarning() const
{
    QStringList missing;
    for (const SettlementLine* line : linesWithoutRate())
        missing << QStringLiteral("%1 (%2, %3, rok %4)")
                       .arg(line->registration,
                            line->vehicleTypeName.isEmpty() ? QStringLiteral("rodzaj silnika %1").arg(line->vehicleType)
                                                            : line->vehicleTypeName,
                            line->fuelName.isEmpty() ? QStringLiteral("paliwo %1").arg(line->fuel) : line->fuelName)
                       .arg(year);
    if (missing.isEmpty())
        return {};
    return QStringLiteral("Brak stawek dla: %1. Opłata na wydruku jest zaniżona.").arg(missing.join(QStringLiteral("; ")));
}

std::vector<StatementGroup> statementGroups(const Settlement& settlement)
{
    std::map<std::pair<int, int>, std::pair<StatementGroup, std::vector<double>>> groups;
    for (const SettlementLine& line : settlement.lines) {
        auto [at, first] = groups.try_emplace({line.vehicleType, line.fuel});
        StatementGroup& g = at->second.first;
        if (first) {
            g.vehicleType = line.vehicleType;
            g.fuel = line.fuel;
            g.kgPerLitre = line.kgPerLitre;
            g.rate = line.rate;
        }
        at->second.second.push_back(line.litres);
    }
    std::vector<StatementGroup> result;
    result.reserve(groups.size());
    for (auto& [key, group] : groups) {
        group.first.litres = litreSumOf(group.second);
        result.push_back(group.first);
    }
    return result;
}

Settlement computeSettlement(Tdm_1& dm, const QString& taxpayer, int year, const data::Period& period,
                             const YearParameters& parameters, LinesAfterwards afterwards)
{
    Settlement s;
    s.taxpayer = taxpayer;
    s.year = year;
    s.period = period;
    s.parameters = parameters;

    const auto names = dm.openNameLookups(); // of the lines without a rate
    dm.chooseSettlement(taxpayer, period);
    ds::Dataset& q = dm.IBQ_rozl;

    text::Money sum;
    q.disableControls();
    try {
        q.open();
        const ds::Field& registration = q.fieldByName(data::col::NR_REJ);
        const ds::Field& type = q.fieldByName(data::col::NR_RODZ_SILN);
        const ds::Field& fuel = q.fieldByName(data::col::NR_RODZ_PAL);
        const ds::Field& typeName = q.fieldByName(data::calc::rodzsiln);
        const ds::Field& fuelName = q.fieldByName(data::calc::nazpal);
        const ds::Field& litres = q.fieldByName(data::col::ZAKKW);
        const ds::Field& kgPerLitre = q.fieldByName(data::col::PRZEL_L_KG);
        const ds::Field& rate = q.fieldByName(data::col::OPL_ZA_TONE);
        const ds::Field& fee = q.fieldByName(data::calc::opl);
        for (int row = 0; row < q.recordCount(); ++row) {
            SettlementLine line;
            line.registration = registration.valueAt(row).toString();
            line.vehicleType = type.valueAt(row).toInt();
            line.fuel = fuel.valueAt(row).toInt();
            line.vehicleTypeName = typeName.valueAt(row).toString();
            line.fuelName = fuelName.valueAt(row).toString();
            line.litres = litres.valueAt(row).toDouble();
            line.kgPerLitre = kgPerLitre.valueAt(row).value<text::Money>();
            if (const QVariant r = rate.valueAt(row); r.isValid())
                line.rate = r.toDouble();
            // A fee beyond what money holds was left empty; it is never taken as zero.
            if (!fee.valueAt(row).isValid())
                throw text::MoneyOverflow();
            line.fee = fee.valueAt(row).value<text::Money>();
            sum += line.fee;
            s.lines.push_back(std::move(line));
        }
    } catch (...) {
        q.enableControls();
        q.close();
        throw;
    }
    q.enableControls();
    if (afterwards == LinesAfterwards::Closed)
        q.close();

    s.amount = data::roundedAmount(sum);
    s.threshold = data::exemptionThreshold(parameters.minimumWage, parameters.percentage);
    return s;
}

} // namespace data
