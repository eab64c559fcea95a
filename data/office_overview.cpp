#include "data/office_overview.h"

#include "data/dm1.h"
#include "data/fee_arithmetic.h"
#include "firebird/numeric.h"
#include "firebird/statement.h"

namespace data {

namespace {

// NUMERIC(9,4) as money: four places, exactly.
text::Money moneyOf(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<fb::Numeric>()) {
        const fb::Numeric n = v.value<fb::Numeric>();
        qint64 units = n.value;
        for (int scale = n.scale; scale < -4; ++scale)
            units /= 10;
        for (int scale = n.scale; scale > -4; --scale)
            units *= 10;
        return text::Money::fromUnits(units);
    }
    return v.isValid() ? text::Money::fromDouble(v.toDouble()) : text::Money();
}

} // namespace

QString overviewSql()
{
    // The lines are the settlement's: the purchases of a vehicle and fuel summed, the rate
    // of the purchases' year (a period lies within one year).
    return QStringLiteral(
        "select P.NR_PODAT, P.NAZSKR, P.NIP, L.NR_REJ, L.ZAKKW, RP.PRZEL_L_KG, T.OPL_ZA_TONE, P.NAZWA "
        "from PODAT P left join (select S.NR_POD, Z.NR_REJ, S.NR_RODZ_SILN, Z.NR_RODZ_PAL, max(Z.D_ZAK) as D_ZAK, "
        "sum(Z.IL_ZAK) as ZAKKW from ZAK_PAL Z join SAM S on S.NR_REJ = Z.NR_REJ "
        "where Z.D_ZAK between :dpocz and :dkon group by S.NR_POD, Z.NR_REJ, S.NR_RODZ_SILN, Z.NR_RODZ_PAL) L "
        "on L.NR_POD = P.NR_PODAT "
        "left join RODZ_PALIWA RP on RP.NR = L.NR_RODZ_PAL "
        "left join TAB_OPL_SILN T on T.NR_SILN = L.NR_RODZ_SILN and T.NR_PALIWA = L.NR_RODZ_PAL "
        "and T.ROK = extract(year from L.D_ZAK) "
        "order by P.NR_PODAT, L.NR_REJ, L.NR_RODZ_PAL");
}

Overview computeOverview(Tdm_1& dm, int year, const Period& period, const YearParameters& parameters)
{
    const auto snapshot = dm.readReportsFromSnapshot();
    Overview o;
    o.year = year;
    o.period = period;
    o.parameters = parameters;
    o.threshold = exemptionThreshold(parameters.minimumWage, parameters.percentage);

    fb::Statement q(dm.db_opl, snapshot->transaction(), overviewSql());
    q.setParam(QStringLiteral("dpocz"), period.start);
    q.setParam(QStringLiteral("dkon"), period.end);
    q.execute();
    text::Money fees;
    QString lastVehicle;
    const auto close = [&] {
        if (o.rows.empty() || o.rows.back().amountOutOfRange)
            return;
        try {
            o.rows.back().amount = roundedAmount(fees);
        } catch (const text::MoneyOverflow&) {
            o.rows.back().amountOutOfRange = true;
        }
    };
    while (q.fetch()) {
        const int number = q.value(0).toInt();
        if (o.rows.empty() || o.rows.back().number != number) {
            close();
            OverviewRow row;
            row.number = number;
            row.shortName = q.value(1).toString();
            row.nip = q.value(2).toString();
            row.fullName = q.value(7).toString();
            o.rows.push_back(row);
            fees = {};
            lastVehicle.clear();
        }
        const QVariant vehicle = q.value(3);
        if (!vehicle.isValid())
            continue; // nothing bought in the period
        OverviewRow& row = o.rows.back();
        if (vehicle.toString() != lastVehicle) {
            ++row.vehicles;
            lastVehicle = vehicle.toString();
        }
        const double litres = q.value(4).toDouble();
        const text::Money kgPerLitre = moneyOf(q.value(5));
        const QVariant rate = q.value(6);
        if (!rate.isValid())
            ++row.linesWithoutRate;
        row.litres += litres;
        row.tonnes += tonnesShown(litres, kgPerLitre);
        if (row.amountOutOfRange)
            continue;
        try {
            fees += lineFee(litres, kgPerLitre, rate.isValid() ? rate.toDouble() : 0.0);
        } catch (const text::MoneyOverflow&) {
            row.amountOutOfRange = true;
        }
    }
    close();
    return o;
}

QString Overview::status(const OverviewRow& row) const
{
    return withinThreshold(row) ? QStringLiteral("poniżej progu") : QStringLiteral("do zapłaty");
}

Settlement Overview::settlementOf(const OverviewRow& row) const
{
    if (row.amountOutOfRange)
        throw text::MoneyOverflow();
    Settlement s;
    s.taxpayer = row.shortName;
    s.year = year;
    s.period = period;
    s.parameters = parameters;
    s.amount = row.amount;
    s.threshold = threshold;
    return s;
}

template <class T>
T sumOver(const std::vector<OverviewRow>& rows, T OverviewRow::*member)
{
    T sum{};
    for (const OverviewRow& r : rows)
        sum += r.*member;
    return sum;
}

int Overview::vehicles() const
{
    return sumOver(rows, &OverviewRow::vehicles);
}

double Overview::litres() const
{
    return sumOver(rows, &OverviewRow::litres);
}

double Overview::tonnes() const
{
    return sumOver(rows, &OverviewRow::tonnes);
}

text::Money Overview::amount() const
{
    text::Money sum;
    for (const OverviewRow& r : rows) {
        if (r.amountOutOfRange)
            throw text::MoneyOverflow();
        sum += r.amount;
    }
    return sum;
}

int Overview::linesWithoutRate() const
{
    return sumOver(rows, &OverviewRow::linesWithoutRate);
}

} // namespace data
