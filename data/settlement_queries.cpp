#include "data/settlement_queries.h"

#include <cmath>

#include "firebird/numeric.h"

namespace data {

namespace {

// The taxpayer's purchases of the period: P the taxpayer, S the vehicle, Z the purchase.
const QString taxpayerPurchases = QStringLiteral(
    "from PODAT P join SAM S on S.NR_POD = P.NR_PODAT join ZAK_PAL Z on Z.NR_REJ = S.NR_REJ "
    "where P.NAZSKR = :naz and Z.D_ZAK between :dpocz and :dkon ");

// The litre mass and the rate joined to summed lines L (with L.NR_RODZ_PAL and L.D_ZAK, a day
// of the lines' year) of vehicle type `type`.
QString fuelAndRate(const QString& type)
{
    return QStringLiteral("left join RODZ_PALIWA RP on RP.NR = L.NR_RODZ_PAL "
                          "left join TAB_OPL_SILN T on T.NR_SILN = %1 and T.NR_PALIWA = L.NR_RODZ_PAL "
                          "and T.ROK = extract(year from L.D_ZAK) ")
        .arg(type);
}

// Written after the grouping of the sums: the engine's own choice for a taxpayer's purchases
// is always the index on vehicle. A scan reads the period's rows through the date index: as
// fast as a natural scan when the period holds every row, and only the period's otherwise.
QString planOf(PurchaseAccess access)
{
    return access == PurchaseAccess::ByScan
               ? QStringLiteral("plan sort (hash (Z index (IX_ZAK_PAL_D_ZAK), join (P index (UQ_PODAT_NAZSKR), S index (FK_SAM_PODATNIK)))) ")
               : QString();
}

} // namespace

QString litreSumSql(const QString& column)
{
    // Beyond a billion litres a quantity is summed as it is (no invoice holds that much; the
    // rounding would overflow the engine's integers).
    return QStringLiteral("sum(case when abs(%1) < 1000000000 then round(%1 * 1000000) else %1 * 1000000 end) / 1000000")
        .arg(column);
}

double litreSumOf(const std::vector<double>& partSums)
{
    double millionths = 0.0; // whole numbers: added without error
    for (double litres : partSums)
        millionths += std::fabs(litres) < 1e9 ? std::round(litres * 1e6) : litres * 1e6;
    return millionths / 1e6;
}

PurchaseAccess purchaseAccess(int taxpayerVehicles, int allVehicles)
{
    return taxpayerVehicles > 0 && taxpayerVehicles >= allVehicles / 3.0 ? PurchaseAccess::ByScan : PurchaseAccess::ByVehicle;
}

QString settlementSql(PurchaseAccess access)
{
    return QStringLiteral("select L.NR_REJ, V.NR_RODZ_SILN, L.NR_RODZ_PAL, L.ZAKKW, RP.PRZEL_L_KG, T.OPL_ZA_TONE "
                          "from (select Z.NR_REJ, Z.NR_RODZ_PAL, max(Z.D_ZAK) as D_ZAK, ") + litreSumSql(QStringLiteral("Z.IL_ZAK")) + QStringLiteral(" as ZAKKW ")
        + taxpayerPurchases
        + QStringLiteral("group by Z.NR_REJ, Z.NR_RODZ_PAL ") + planOf(access)
        + QStringLiteral(") L join SAM V on V.NR_REJ = L.NR_REJ ")
        + fuelAndRate(QStringLiteral("V.NR_RODZ_SILN")) + QStringLiteral("order by L.NR_REJ, L.NR_RODZ_PAL");
}

QString settlementPurchasesSql()
{
    // Every purchase has its vehicle and taxpayer: the purchases table alone gives the view's rows.
    return QStringLiteral("select NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK from ZAK_PAL where NR_REJ = :nr_rej "
                          "and NR_RODZ_PAL = :nr_rodz_pal and D_ZAK between :dpocz and :dkon order by D_ZAK, NR_RACH");
}

namespace {

QString linesSql(PurchaseAccess access, const QString& extra)
{
    return QStringLiteral("select L.NR_RODZ_SILN, L.NR_RODZ_PAL, T.OPL_ZA_TONE, RP.PRZEL_L_KG, L.ZAKKW") + extra
        + QStringLiteral(" from (select S.NR_RODZ_SILN, Z.NR_RODZ_PAL, max(Z.D_ZAK) as D_ZAK, ") + litreSumSql(QStringLiteral("Z.IL_ZAK"))
        + QStringLiteral(" as ZAKKW, count(*) as ILE ") + taxpayerPurchases + QStringLiteral("group by S.NR_RODZ_SILN, Z.NR_RODZ_PAL ")
        + planOf(access) + QStringLiteral(") L ") + fuelAndRate(QStringLiteral("L.NR_RODZ_SILN"))
        + QStringLiteral("order by L.NR_RODZ_SILN, L.NR_RODZ_PAL");
}

} // namespace

QString statementLinesSql(PurchaseAccess access)
{
    return linesSql(access, {});
}

QString registerLinesSql(PurchaseAccess access)
{
    return linesSql(access, QStringLiteral(", L.ILE"));
}

QString registerPurchasesSql(PurchaseAccess access)
{
    return QStringLiteral("select S.NR_RODZ_SILN, Z.NR_RODZ_PAL, Z.NR_REJ, Z.NR_RACH, Z.D_ZAK, Z.IL_ZAK ")
        + taxpayerPurchases + planOf(access) + QStringLiteral("order by S.NR_RODZ_SILN, Z.NR_RODZ_PAL, Z.D_ZAK, Z.NR_RACH, Z.NR_KOL");
}

QString registerLinePurchasesSql()
{
    return QStringLiteral("select S.NR_RODZ_SILN, Z.NR_RODZ_PAL, Z.NR_REJ, Z.NR_RACH, Z.D_ZAK, Z.IL_ZAK ") + taxpayerPurchases
        + QStringLiteral("and S.NR_RODZ_SILN = :nr_rodz_siln and Z.NR_RODZ_PAL = :nr_rodz_pal "
                         "plan sort (join (P index (UQ_PODAT_NAZSKR), S index (FK_SAM_PODATNIK), Z index (IX_ZAK_PAL_NR_REJ_D_ZAK))) "
                         "order by Z.D_ZAK, Z.NR_RACH, Z.NR_KOL");
}

QString statementPurchasesSql()
{
    return QStringLiteral("select S.NR_RODZ_SILN, Z.NR_RODZ_PAL, Z.NR_REJ, Z.NR_RACH, Z.D_ZAK, Z.IL_ZAK ")
        + taxpayerPurchases
        + QStringLiteral("and S.NR_RODZ_SILN = :nr_rodz_siln and Z.NR_RODZ_PAL = :nr_rodz_pal order by Z.D_ZAK, Z.NR_RACH");
}

text::Money moneyOfColumn(const QVariant& v)
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

} // namespace data
