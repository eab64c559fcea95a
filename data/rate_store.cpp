#include "data/rate_store.h"

#include <stdexcept>

#include "data/dm1.h"
#include "data/work_lock.h"
#include "firebird/error.h"
#include "firebird/index_statistics.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace data {

struct RateStore::Work {
    explicit Work(Tdm_1& dm) : db(dm.db_opl), lock(dm), tr(&dm.db_opl, fb::Isolation::ReadCommitted, dm.lockWait()) {}
    fb::Connection& db;
    WorkLock lock;
    fb::Transaction tr; // rolled back when it ends still active
    std::unique_ptr<fb::Statement> insert;
};

RateStore::RateStore(Tdm_1& dm, const std::function<void()>& waiting) : work_(std::make_unique<Work>(dm))
{
    if (!work_->lock.take(data::Work::Rates, {0}, waiting).isEmpty())
        throw std::runtime_error(QStringLiteral("Stawki wczytuje teraz inne stanowisko. Spróbuj ponownie, gdy tamto "
                                                "stanowisko skończy: stawki wczytane przez nie będą już widoczne.")
                                     .toStdString());
    work_->tr.start();
}

RateStore::~RateStore() = default;

QString RateStore::statementHead()
{
    return QStringLiteral("INSERT INTO TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) VALUES (");
}

std::optional<QString> RateStore::insert(const RateRow& rate)
{
    if (!work_->insert)
        work_->insert = std::make_unique<fb::Statement>(
            work_->db, work_->tr,
            QStringLiteral("INSERT INTO TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) "
                           "VALUES (:NR_SILN, :NR_PALIWA, :OPL_ZA_TONE, :ROK)"));
    fb::Statement& insert = *work_->insert;
    try {
        insert.setParam(QStringLiteral("NR_SILN"), rate.vehicleType);
        insert.setParam(QStringLiteral("NR_PALIWA"), rate.fuel);
        insert.setParam(QStringLiteral("OPL_ZA_TONE"), rate.ratePerTonne);
        insert.setParam(QStringLiteral("ROK"), rate.year);
        insert.execute();
    } catch (const fb::Error& e) {
        if (e.isConnectionLost())
            throw;
        return e.message();
    }
    return std::nullopt;
}

void RateStore::finish()
{
    work_->insert.reset();
    work_->tr.commit();
    fb::recomputeIndexStatistics(work_->db);
}

} // namespace data
