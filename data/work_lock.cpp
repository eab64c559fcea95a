#include "data/work_lock.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>

#include "data/dm1.h"
#include "desktop/quietly.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/one_request.h"
#include "firebird/statement.h"

#include <utility>

namespace data {

namespace {

Q_LOGGING_CATEGORY(lcWorkLock, "brenvald.worklock")

// As long as a save waits for a row another desk holds.
int waitMilliseconds = fb::defaultLockWaitSeconds * 1000;
constexpr int pause = 100;
// The engine's code for a table the database lacks.
constexpr int unknownTable = -204;
// A holder renews its sign of life every ten seconds; one silent for 45 has lost its network
// or its process, and another desk takes its work over within a minute of the cut.
int renewMilliseconds = 10000;
int silentMilliseconds = 45000;

// A statement committed at once, so that other desks see it: run by the server in a
// transaction of its own, begun and ended inside a block run in the holding transaction,
// without requests of their own to begin and end it.
void runCommitted(fb::Connection& connection, fb::Transaction& holding, QString sql)
{
    sql.replace(QLatin1Char('\''), QStringLiteral("''"));
    fb::runOnce(connection, holding, QStringLiteral("execute block as begin execute statement '%1' with autonomous transaction; end").arg(sql));
}

// Takes a lock and records its holder (committed at once, as runCommitted) in one request; the
// lock holds even when its holder cannot be recorded: the block then gives the engine's code.
const QString takeAndRecordSql = QStringLiteral(
    "execute block (r varchar(10) = ?, k integer = ?) returns (kod integer) as begin "
    "insert into BLOKADY (RODZAJ, KLUCZ) values (:r, :k); "
    "kod = 0; "
    "begin "
    "execute statement ('update or insert into POSIADACZE_BLOKAD (RODZAJ, KLUCZ, POLACZENIE, ZNAK_ZYCIA) "
    "values (?, ?, current_connection, current_timestamp) matching (RODZAJ, KLUCZ)') (:r, :k) with autonomous transaction; "
    "when any do kod = gdscode; "
    "end "
    "suspend; end");

QString kindOf(Work work)
{
    switch (work) {
    case Work::Purchases: return QStringLiteral("ZAKUPY");
    case Work::Taxpayer: return QStringLiteral("PODATNIK");
    case Work::Rates: return QStringLiteral("STAWKI");
    }
    return {};
}

} // namespace

void WorkLock::setWaitBound(int milliseconds)
{
    waitMilliseconds = milliseconds;
}

int WorkLock::waitBound()
{
    return waitMilliseconds;
}

void WorkLock::setLifeBounds(int renewEvery, int silentAtMost)
{
    renewMilliseconds = renewEvery;
    silentMilliseconds = silentAtMost;
}

WorkLock::WorkLock(Tdm_1& dm) : WorkLock(dm.db_opl) {}

WorkLock::WorkLock(fb::Connection& connection)
    : connection_(connection), holding_(&connection, fb::Isolation::ReadCommittedNoWait),
      signsOfLife_(std::make_unique<QTimer>())
{
    signsOfLife_->setInterval(renewMilliseconds);
    QObject::connect(signsOfLife_.get(), &QTimer::timeout, [this] { keepAlive(); });
}

WorkLock::~WorkLock()
{
    release();
}

QList<int> WorkLock::take(Work work, const QList<int>& keys, const std::function<void()>& waiting, Holding holding)
{
    const QString kind = kindOf(work);
    QList<int> pending = keys;
    const QDeadlineTimer deadline(waitMilliseconds);
    for (;;) {
        QList<int> held;
        for (int key : pending) {
            std::optional<QVariantList> recorded;
            try {
                if (holding == Holding::ForWork)
                    recorded = fb::runOnce(connection_, holding_, takeAndRecordSql, {kind, key}, {fb::ColumnType::Integer});
                else
                    fb::runOnce(connection_, holding_, QStringLiteral("insert into BLOKADY (RODZAJ, KLUCZ) values (?, ?)"), {kind, key});
            } catch (const fb::Error& e) {
                // The row is in: another desk holds it.
                if (e.isDuplicateKey() || e.isConflict()) {
                    held << key;
                    continue;
                }
                if (e.isConnectionLost() || e.sqlCode() != unknownTable)
                    throw;
                throw fb::Error(QStringLiteral("W bazie danych brakuje tabeli BLOKADY, przez którą stanowiska uzgadniają, kto "
                                               "wykonuje import (baza z wcześniejszej wersji programu, której nie udało się "
                                               "uzupełnić). Połącz się z bazą ponownie jako jej właściciel.\n\n")
                                    + e.message(),
                                e.context(), e.sqlCode(), e.codes());
            }
            if (holding == Holding::ForWork)
                holderRecorded(kind, key, recorded ? recorded->front().toInt() : 0);
        }
        if (held.isEmpty())
            return held;
        // A holder silent for long is gone: its lock is free once its attachment is ended.
        QList<int> freed;
        for (int key : held)
            if (endSilentHolder(kind, key))
                freed << key;
        if (freed.isEmpty() && deadline.hasExpired())
            return held;
        pending = held;
        if (waiting)
            waiting();
        keepAlive();
        if (freed.isEmpty())
            QThread::msleep(pause);
    }
}

// A desk waiting for the lock learns whose it is from the holder's record. Without it, the lock
// holds all the same, and only the server's own notice of a lost desk frees it.
void WorkLock::holderRecorded(const QString& kind, int key, int failure)
{
    if (failure != 0) {
        qCWarning(lcWorkLock) << "the holder of the lock" << kind << key << "could not be recorded: engine error" << failure;
        return;
    }
    if (!holds_) {
        holds_ = true;
        sinceSignOfLife_.start();
        signsOfLife_->start();
    }
}

// Ends the attachment that holds the lock when it has given no sign of life within the bound
// (by the server's clock) and is still attached; true when it did.
bool WorkLock::endSilentHolder(const QString& kind, int key)
{
    fb::Transaction tr(&connection_, fb::Isolation::ReadCommittedNoWait);
    fb::Statement silent(connection_, tr,
                         QStringLiteral("select h.POLACZENIE from POSIADACZE_BLOKAD h "
                                        "join MON$ATTACHMENTS a on a.MON$ATTACHMENT_ID = h.POLACZENIE "
                                        "where h.RODZAJ = :rodzaj and h.KLUCZ = :klucz and h.POLACZENIE <> current_connection "
                                        "and current_timestamp - h.ZNAK_ZYCIA > :dni"));
    silent.setParam(QStringLiteral("rodzaj"), kind);
    silent.setParam(QStringLiteral("klucz"), key);
    silent.setParam(QStringLiteral("dni"), silentMilliseconds / 86400000.0);
    silent.execute();
    if (!silent.fetch()) {
        tr.commit();
        return false;
    }
    const qint64 attachment = silent.value(0).toLongLong();
    silent.closeCursor();
    try {
        fb::Statement end(connection_, tr, QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = :a"));
        end.setParam(QStringLiteral("a"), attachment);
        end.execute();
        tr.commit();
    } catch (const fb::Error& e) {
        if (e.isConnectionLost())
            throw;
        // Not allowed to end another user's attachment: the lock stays held.
        fb::logFailure(e);
        return false;
    }
    qCInfo(lcWorkLock) << "ended attachment" << attachment << "silent too long while holding the lock" << kind << key;
    return true;
}

void WorkLock::keepAlive() noexcept
{
    if (!holds_ || sinceSignOfLife_.elapsed() < renewMilliseconds)
        return;
    sinceSignOfLife_.start();
    desktop::quietly("renewing the work locks' sign of life", [this] {
        if (connection_.isOpen())
            runCommitted(connection_, holding_,
                         QStringLiteral("update POSIADACZE_BLOKAD set ZNAK_ZYCIA = current_timestamp where POLACZENIE = current_connection"));
    });
}

void WorkLock::release() noexcept
{
    signsOfLife_->stop();
    const bool recorded = std::exchange(holds_, false);
    desktop::quietly("letting go of work locks", [this, recorded] {
        if (!connection_.isOpen()) {
            holding_.abandon();
            return;
        }
        // Forgotten a moment before the locks go: a desk that tries meanwhile finds the lock
        // held by nobody silent, and tries again.
        if (recorded)
            desktop::quietly("forgetting the holder of work locks", [this] {
                runCommitted(connection_, holding_, QStringLiteral("delete from POSIADACZE_BLOKAD where POLACZENIE = current_connection"));
            });
        holding_.rollback();
    });
}

} // namespace data
