#include "data/purchase_queries.h"

#include "data/field_names.h"
#include "dataset/dataset.h"

namespace data {

QString purchaseSelectSql()
{
    return QStringLiteral("select nr_kol, ZAK_PAL.nr_rej, nr_rach, d_zak, ZAK_PAL.nr_rodz_pal, il_zak from ZAK_PAL "
                          "join sam ON ZAK_PAL.nr_rej=sam.nr_rej where d_zak between :dpocz and :dkon "
                          "and sam.nr_pod=(select nr_podat from podat where nazskr=:nazskr) "
                          "order by NR_REJ, D_ZAK, NR_RACH");
}

QList<QPair<QString, bool>> purchaseOrder()
{
    return {{col::NR_REJ, true}, {col::D_ZAK, true}, {col::NR_RACH, true}};
}

QString vehicleSelectSql()
{
    return QStringLiteral("select NR_REJ, NR_RODZ_PAL, d_rozp_u, d_zak_u from SAM join podat on sam.nr_pod=podat.nr_podat "
                          "where nazskr=:nazskr and ((sam.d_zak_u is null and sam.d_rozp_u <= :dkon) "
                          "or (sam.d_zak_u >= :dpocz)) order by NR_REJ");
}

void bindPeriod(ds::Dataset& query, const Period& period, const QString& taxpayer)
{
    query.setParam(data::par::dpocz, period.start);
    query.setParam(data::par::dkon, period.end);
    query.setParam(data::par::nazskr, taxpayer);
}

} // namespace data
