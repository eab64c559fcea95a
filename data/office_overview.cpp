#include "data/office_overview.h"

#include "data/dm1.h"
#include "data/fee_arithmetic.h"
#include "data/settlement_queries.h"
#include "firebird/statement.h"

namespace data {

QString overviewSql()
{
    // The purchases alone are grouped, then joined to their vehicles: a sort of narrow rows,
    // once for the whole office. "G left join SAM" keeps the grouping outermost (every purchase
    // has its vehicle, so nothing is added): as an inner join the optimizer may instead group
    // each vehicle's purchases apart through the index, reading the purchases in random order.
    return QStringLiteral(
        "select S.NR_POD, G.NR_REJ, G.ZAKKW, RP.PRZEL_L_KG, T.OPL_ZA_TONE "
        "from (select Z.NR_REJ, Z.NR_RODZ_PAL, max(Z.D_ZAK) as D_ZAK, ")
        + litreSumSql(QStringLiteral("Z.IL_ZAK")) + QStringLiteral(" as ZAKKW from ZAK_PAL Z "
        "where Z.D_ZAK between :dpocz and :dkon group by Z.NR_REJ, Z.NR_RODZ_PAL) G "
        "left join SAM S on S.NR_REJ = G.NR_REJ "
        "left join RODZ_PALIWA RP on RP.NR = G.NR_RODZ_PAL "
        "left join TAB_OPL_SILN T on T.NR_SILN = S.NR_RODZ_SILN and T.NR_PALIWA = G.NR_RODZ_PAL "
        "and T.ROK = extract(year from G.D_ZAK) "
        "order by S.NR_POD, G.NR_REJ, G.NR_RODZ_PAL");
}

QString overviewTaxpayersSql()
{
    return QStringLiteral("select NR_PODAT, NAZSKR, NIP, NAZWA from PODAT order by NR_PODAT");
}

namespace {

// Adds one settlement line (the current row of the lines query) to its taxpayer's row and
// its fee to the taxpayer's fees.
void addLine(OverviewRow& row, text::Money& fees, const fb::Statement& line, QString& lastVehicle)
{
    const QString vehicle = line.value(1).toString();
    if (vehicle != lastVehicle) {
        ++row.vehicles;
        lastVehicle = vehicle;
    }
    const double litres = line.value(2).toDouble();
    const text::Money kgPerLitre = data::moneyOfColumn(line.value(3));
    const QVariant rate = line.value(4);
    if (!rate.isValid())
        ++row.linesWithoutRate;
    row.litres += litres;
    row.tonnes += tonnesShown(litres, kgPerLitre);
    if (row.amountOutOfRange)
        return;
    try {
        fees += lineFee(litres, kgPerLitre, rate.isValid() ? rate.toDouble() : 0.0);
    } catch (const text::MoneyOverflow&) {
        row.amountOutOfRange = true;
    }
}

} // namespace

Overview computeOverview(Tdm_1& dm, int year, const Period& period, const YearParameters& parameters)
{
    const auto snapshot = dm.readReportsFromSnapshot();
    Overview o;
    o.year = year;
    o.period = period;
    o.parameters = parameters;
    o.threshold = exemptionThreshold(parameters.minimumWage, parameters.percentage);

    // Every taxpayer, those without purchases in the period too; their lines follow in the
    // same order of numbers.
    fb::Statement taxpayers(dm.db_opl, snapshot->transaction(), overviewTaxpayersSql());
    taxpayers.execute();
    fb::Statement lines(dm.db_opl, snapshot->transaction(), overviewSql());
    lines.setParam(QStringLiteral("dpocz"), period.start);
    lines.setParam(QStringLiteral("dkon"), period.end);
    lines.execute();
    bool lineAhead = lines.fetch();
    while (taxpayers.fetch()) {
        OverviewRow row;
        row.number = taxpayers.value(0).toInt();
        row.shortName = taxpayers.value(1).toString();
        row.nip = taxpayers.value(2).toString();
        row.fullName = taxpayers.value(3).toString();
        text::Money fees;
        QString lastVehicle;
        // Every line has its taxpayer (foreign keys, one snapshot); one that had none would be
        // left out, as a taxpayer's rows were only ever joined to taxpayers, and the merge go on.
        while (lineAhead && lines.value(0).toInt() < row.number)
            lineAhead = lines.fetch();
        for (; lineAhead && lines.value(0).toInt() == row.number; lineAhead = lines.fetch())
            addLine(row, fees, lines, lastVehicle);
        if (!row.amountOutOfRange) {
            try {
                row.amount = roundedAmount(fees);
            } catch (const text::MoneyOverflow&) {
                row.amountOutOfRange = true;
            }
        }
        o.rows.push_back(row);
    }
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
