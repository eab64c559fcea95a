#include "data/work_lock.h"

#include <QDeadlineTimer>
#include <QThread>

#include "desktop/quietly.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/statement.h"

namespace data {

namespace {

// As long as a save waits for a row another desk holds.
int waitMilliseconds = fb::Transaction::lockTimeout() * 1000;
constexpr int pause = 100;

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

WorkLock::WorkLock(fb::Connection& connection)
    : connection_(connection), holding_(&connection, fb::Isolation::ReadCommittedNoWait)
{
}

WorkLock::~WorkLock()
{
    release();
}

QList<int> WorkLock::take(Work work, const QList<int>& keys, const std::function<void()>& waiting)
{
    if (!insert_) {
        holding_.start();
        try {
            insert_ = std::make_unique<fb::Statement>(connection_, holding_,
                                                      QStringLiteral("insert into BLOKADY (RODZAJ, KLUCZ) values (:rodzaj, :klucz)"));
        } catch (const fb::Error& e) {
            if (e.isConnectionLost())
                throw;
            throw fb::Error(QStringLiteral("W bazie danych brakuje tabeli BLOKADY, przez którą stanowiska uzgadniają, kto "
                                           "wykonuje import (baza z wcześniejszej wersji programu, której nie udało się "
                                           "uzupełnić). Połącz się z bazą ponownie jako jej właściciel.\n\n")
                                + e.message(),
                            e.context(), e.sqlCode(), e.codes());
        }
    }
    QList<int> pending = keys;
    const QDeadlineTimer deadline(waitMilliseconds);
    for (;;) {
        QList<int> held;
        for (int key : pending) {
            insert_->setParam(QStringLiteral("rodzaj"), kindOf(work));
            insert_->setParam(QStringLiteral("klucz"), key);
            try {
                insert_->execute();
            } catch (const fb::Error& e) {
                // The row is in: another desk holds it.
                if (!e.isDuplicateKey() && !e.isConflict())
                    throw;
                held << key;
            }
        }
        if (held.isEmpty() || deadline.hasExpired())
            return held;
        pending = held;
        if (waiting)
            waiting();
        QThread::msleep(pause);
    }
}

void WorkLock::release() noexcept
{
    desktop::quietly("letting go of work locks", [this] {
        insert_.reset();
        if (connection_.isOpen())
            holding_.rollback();
        else
            holding_.abandon();
    });
}

} // namespace data
