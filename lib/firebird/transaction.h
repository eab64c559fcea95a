#pragma once

namespace fb {

class Connection;

// How a transaction sees the work of other connections.
enum class Isolation {
    // Each statement sees what others committed before it ran (the newest committed version
    // of a row, never waiting for an uncommitted one to read it); writes wait a bounded time
    // for a row another transaction holds. The program's ordinary work.
    ReadCommitted,
    // Read only; every statement sees the database as it was when the transaction started.
    // For a report that must read one consistent picture of many rows.
    Snapshot,
    // As ReadCommitted, but a row or key another transaction holds is refused at once.
    ReadCommittedNoWait,
};

// How long a write waits for a row that another connection holds, unless its transaction is
// told otherwise: a few seconds, long enough to ride out another desk's save, short enough
// that nobody waits on a desk that went to lunch with a row held.
constexpr int defaultLockWaitSeconds = 3;

// A transaction. Neither copied nor moved (datasets hold its address); a transaction still
// active when destroyed is rolled back.
class Transaction {
public:
    explicit Transaction(Connection* connection = nullptr, Isolation isolation = Isolation::ReadCommitted,
                         int lockWaitSeconds = defaultLockWaitSeconds)
        : connection_(connection), isolation_(isolation)
    {
        setLockWait(lockWaitSeconds);
    }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Connection* connection() const { return connection_; }
    Isolation isolation() const { return isolation_; }

    // How long a write of this transaction waits for a row that another connection holds
    // before it fails with a conflict (Error::isConflict), in whole seconds (at least one);
    // takes effect when the transaction next starts.
    void setLockWait(int seconds) { lockWaitSeconds_ = seconds < 1 ? 1 : seconds; }
    int lockWait() const { return lockWaitSeconds_; }

    bool isActive() const { return handle_ != 0; }
    void start();              // no-op when already active
    void commit();
    // Makes the work so far durable and keeps the transaction (and its open cursors) going.
    void commitRetaining();
    void rollback();
    // Lets go of a transaction whose attachment is dead: the server has rolled it back or will.
    // Never throws.
    void abandon();

    unsigned int* handle() { return &handle_; }

private:
    Connection* connection_;
    Isolation isolation_;
    int lockWaitSeconds_ = defaultLockWaitSeconds;
    unsigned int handle_ = 0;
};

} // namespace fb
