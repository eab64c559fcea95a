#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "firebird/transaction.h"

class QTimer;
class Tdm_1;

namespace fb {
class Connection;
}

namespace data {

// Work that two desks must not do at once on one database.
enum class Work {
    Purchases, // the purchase import of one taxpayer (key: the taxpayer's number)
    Taxpayer,  // taking one account over as a taxpayer (key: the account's number)
    Rates,     // loading a rate file (one key, 0)
};

// Locks on work, held by this desk while the work runs. A lock is a row of BLOKADY that a
// transaction of its own inserts and never commits: another desk inserting the same row is
// refused while this one holds it, and a desk that dies lets go of its rows with its
// transaction. A desk whose network is cut dies for the server only when the system's
// keepalive gives up, hours later; so the holder also commits who it is (its attachment) in
// POSIADACZE_BLOKAD with a sign of life it renews while it works, and a desk that finds a lock
// held by an attachment silent beyond the bound ends that attachment (the server then rolls
// its transaction back) and takes the lock.
class WorkLock {
public:
    explicit WorkLock(fb::Connection& connection);
    // On the data module's connection.
    explicit WorkLock(Tdm_1& dm);
    ~WorkLock(); // lets go of every lock taken
    WorkLock(const WorkLock&) = delete;
    WorkLock& operator=(const WorkLock&) = delete;

    // How long a lock is held: for work that runs a while (its holder is recorded and gives
    // signs of life), or for the moment of one write (a save: nothing more is recorded; a desk
    // cut off in those milliseconds is left to the server).
    enum class Holding { ForWork, ForAMoment };

    // Takes the locks of `work` on the keys. Where another desk holds one, waits for it up
    // to the bound, all keys together, running `waiting` between tries (a window stays
    // alive). Returns the keys still held elsewhere when the bound ran out; the others are
    // taken. A key taken twice counts as held elsewhere.
    QList<int> take(Work work, const QList<int>& keys, const std::function<void()>& waiting = {},
                    Holding holding = Holding::ForWork);
    // Lets go of every lock taken.
    void release() noexcept;
    // Renews the sign of life of the locks held, at most once in a while (long work calls it
    // as it goes; while an event loop runs, a timer does).
    void keepAlive() noexcept;

    // How long take() waits for another desk, in milliseconds (tests make it short).
    static void setWaitBound(int milliseconds);
    static int waitBound();
    // How often a holder renews its sign of life, and how long a holder may be silent before
    // another desk ends its attachment, in milliseconds (tests make them short).
    static void setLifeBounds(int renewEvery, int silentAtMost);

private:
    void holderRecorded(const QString& kind, int key, int failure);
    bool endSilentHolder(const QString& kind, int key);

    fb::Connection& connection_;
    fb::Transaction holding_;
    bool holds_ = false;
    QElapsedTimer sinceSignOfLife_;
    std::unique_ptr<QTimer> signsOfLife_;
};

} // namespace data
