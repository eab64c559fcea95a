#include "data/ledger_purchase_store.h"

#include "data/dm1.h"
#include "data/index_statistics.h"
#include "data/multi_row_insert.h"
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
    inserts_.reset();
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
    // Through the taxpayer's vehicles, each one's purchases of the period by their index: with
    // figures measured while the purchases were few (a first import into a new database), the
    // engine would read the whole period of every taxpayer through the date index instead, for
    // each taxpayer.
    fb::Statement q(dm_.db_opl, *tr_,
                    QStringLiteral("select Z.NR_REJ, Z.NR_RACH, Z.D_ZAK from SAM S join ZAK_PAL Z on Z.NR_REJ = S.NR_REJ "
                                   "where S.NR_POD = :nrpod and Z.D_ZAK between :dpocz and :dkon "
                                   "plan join (S index (FK_SAM_PODATNIK), Z index (IX_ZAK_PAL_NR_REJ_D_ZAK))"));
    q.setParam(QStringLiteral("nrpod"), taxpayer);
    q.setParam(QStringLiteral("dpocz"), period.start);
    q.setParam(QStringLiteral("dkon"), period.end);
    q.execute();
    QList<StoredPurchase> purchases;
    while (q.fetch())
        purchases.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toDate()});
    return purchases;
}

void LedgerPurchaseStore::insert(const std::vector<LedgerPurchase>& purchases, WriteOutcome& outcome)
{
    if (!inserts_)
        inserts_ = std::make_unique<MultiRowInsert>(
            dm_.db_opl, *tr_, QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "),
            QStringLiteral("gen_id(G_ZAK, 1), cast(:r%1 as varchar(10)), cast(:n%1 as varchar(20)), cast(:d%1 as date), "
                           "cast(:f%1 as smallint), cast(:l%1 as double precision)"));
    inserts_->write(
        static_cast<int>(purchases.size()),
        [&purchases](QVariantList& values, int row) {
            const LedgerPurchase& p = purchases[static_cast<size_t>(row)];
            values << p.registration << p.invoice << p.day << p.fuel << p.litres;
        },
        // A lost server, or a database that cannot write at all (a full disk), fails every row
        // alike.
        [](const fb::Error& e) { return e.isConnectionLost() || e.isDatabaseFailure(); }, outcome);
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
