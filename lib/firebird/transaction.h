#pragma once

namespace fb {

class Connection;

// A transaction with the server's default parameters (snapshot, wait, read-write).
// Neither copied nor moved (datasets hold its address); a transaction still active when
// destroyed is rolled back.
class Transaction {
public:
    explicit Transaction(Connection* connection = nullptr) : connection_(connection) {}
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void setConnection(Connection* connection);
    Connection* connection() const { return connection_; }

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
    unsigned int handle_ = 0;
};

} // namespace fb
