#include "data/rate_store.h"

#include <stdexcept>

#include "data/dm1.h"
#include "data/multi_row_insert.h"
#include "data/work_lock.h"
#include "firebird/error.h"
#include "firebird/index_statistics.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace data {

struct RateStore::Work {
    explicit Work(Tdm_1& dm)
        : db(dm.db_opl), lock(dm), tr(&dm.db_opl, fb::Isolation::ReadCommitted, dm.lockWait()),
          inserts(dm.db_opl, tr, QStringLiteral("INSERT INTO TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) "),
                  QStringLiteral("cast(:s%1 as smallint), cast(:p%1 as smallint), cast(:o%1 as double precision), "
                                 "cast(:r%1 as smallint)"))
    {
    }
    fb::Connection& db;
    WorkLock lock;
    fb::Transaction tr; // rolled back when it ends still active
    MultiRowInsert inserts;
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

std::vector<std::optional<QString>> RateStore::insert(const std::vector<RateRow>& rates)
{
    WriteOutcome outcome;
    work_->inserts.write(
        static_cast<int>(rates.size()),
        [&rates](QVariantList& values, int row) {
            const RateRow& rate = rates[static_cast<size_t>(row)];
            values << rate.vehicleType << rate.fuel << rate.ratePerTonne << rate.year;
        },
        [](const fb::Error& e) { return e.isConnectionLost(); }, outcome);
    return outcome.refusals;
}

void RateStore::finish()
{
    work_->inserts.clear();
    // The figures' failure costs only speed: the rates are committed all the same.
    try {
        fb::recomputeIndexStatistics(work_->db, work_->tr, QStringLiteral("TAB_OPL_SILN"));
    } catch (const fb::Error& e) {
        if (e.isConnectionLost())
            throw;
        fb::logFailure(e);
    }
    work_->tr.commit();
}

} // namespace data
