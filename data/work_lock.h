#pragma once

#include <QList>
#include <functional>
#include <memory>

#include "firebird/transaction.h"

namespace fb {
class Connection;
class Statement;
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
// refused while this one holds it, and a desk that dies (a crash, a lost network) lets go of
// its rows with its transaction, so no lock outlives the work. Nothing of this is ever
// committed.
class WorkLock {
public:
    explicit WorkLock(fb::Connection& connection);
    ~WorkLock(); // lets go of every lock taken
    WorkLock(const WorkLock&) = delete;
    WorkLock& operator=(const WorkLock&) = delete;

    // Takes the locks of `work` on the keys. Where another desk holds one, waits for it up
    // to the bound, all keys together, running `waiting` between tries (a window stays
    // alive). Returns the keys still held elsewhere when the bound ran out; the others are
    // taken. A key taken twice counts as held elsewhere.
    QList<int> take(Work work, const QList<int>& keys, const std::function<void()>& waiting = {});
    // Lets go of every lock taken.
    void release() noexcept;

    // How long take() waits for another desk, in milliseconds (tests make it short).
    static void setWaitBound(int milliseconds);
    static int waitBound();

private:
    fb::Connection& connection_;
    fb::Transaction holding_;
    std::unique_ptr<fb::Statement> insert_;
};

} // namespace data
