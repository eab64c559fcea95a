#include "data/ledger_purchase_store.h"

#include "data/dm1.h"
#include "data/index_statistics.h"
#include "desktop/quietly.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace data {

LedgerPurchaseStore::LedgerPurchaseStore(Tdm_1& dm) : dm_(dm), tr_(std::make_unique<fb::Transaction>(&dm.db_opl, fb::Isolation::ReadCommitted, dm.lockWait()))
{
    tr_->start();
}

LedgerPurchaseStore::~LedgerPurchaseStore()
{
    insert_.reset();
    desktop::quietly("ending the import's transaction", [this] {
        if (tr_->isActive())
            tr_->rollback();
    });
    // A dead attachment cannot roll back: the server has done it.
    if (tr_->isActive())
        tr_->abandon();
}

QList<LedgerVehicle> LedgerPurchaseStore::vehiclesOf(int taxpayer)
{
    fb::Statement q(dm_.db_opl, *tr_,
                    QStringLiteral("select NR_REJ, NR_RODZ_PAL, D_ROZP_U, D_ZAK_U from SAM where NR_POD = :nrpod order by NR_REJ"));
    q.setParam(QStringLiteral("nrpod"), taxpayer);
    q.execute();
    QList<LedgerVehicle> vehicles;
    while (q.fetch())
        vehicles.append({q.value(0).toString(), q.value(1), q.value(2).toDate(), q.value(3).toDate()});
    return vehicles;
}

QList<StoredPurchase> LedgerPurchaseStore::storedPurchases(int taxpayer, const Period& period)
{
    fb::Statement q(dm_.db_opl, *tr_,
                    QStringLiteral("select Z.NR_REJ, Z.NR_RACH, Z.D_ZAK from SAM S join ZAK_PAL Z on Z.NR_REJ = S.NR_REJ "
                                   "where S.NR_POD = :nrpod and Z.D_ZAK between :dpocz and :dkon"));
    q.setParam(QStringLiteral("nrpod"), taxpayer);
    q.setParam(QStringLiteral("dpocz"), period.start);
    q.setParam(QStringLiteral("dkon"), period.end);
    q.execute();
    QList<StoredPurchase> purchases;
    while (q.fetch())
        purchases.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toDate()});
    return purchases;
}

std::optional<QString> LedgerPurchaseStore::insert(const LedgerVehicle& vehicle, const QString& invoice, const QDate& day,
                                                   double litres)
{
    if (!insert_)
        insert_ = std::make_unique<fb::Statement>(
            dm_.db_opl, *tr_,
            QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
                           "values (gen_id(G_ZAK, 1), :nr_rej, :nr_rach, :d_zak, :nr_rodz_pal, :il_zak)"));
    insert_->setParam(QStringLiteral("nr_rej"), vehicle.registration);
    insert_->setParam(QStringLiteral("nr_rach"), invoice);
    insert_->setParam(QStringLiteral("d_zak"), day);
    insert_->setParam(QStringLiteral("nr_rodz_pal"), vehicle.fuel);
    insert_->setParam(QStringLiteral("il_zak"), litres);
    try {
        insert_->execute();
    } catch (const fb::Error& e) {
        // A lost server, or a database that cannot write at all (a full disk), fails every
        // row alike.
        if (e.isConnectionLost() || e.isDatabaseFailure())
            throw;
        return e.message();
    }
    return std::nullopt;
}

void LedgerPurchaseStore::commit()
{
    tr_->commitRetaining();
}

void LedgerPurchaseStore::abandon(const std::exception& failure) noexcept
{
    fb::logFailure(failure);
    desktop::quietly("rolling back the import's rows", [this] { tr_->rollback(); });
}

void LedgerPurchaseStore::keepStatisticsTrue()
{
    keepIndexStatisticsTrue(dm_.db_opl);
}

} // namespace data
