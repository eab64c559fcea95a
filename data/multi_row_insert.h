#pragma once

#include <QHash>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace fb {
class Connection;
class Error;
class Statement;
class Transaction;
}

namespace data {

// What became of the rows of a write: for each, the engine's words when it refused the row.
// The first `done` rows have their outcome (written, or refused); when the write was ended by
// a failure that fails every row, the rows after them were not written.
struct WriteOutcome {
    std::vector<std::optional<QString>> refusals;
    int done = 0;
};

// Rows written many to a statement: over a network each statement is a round trip, and one
// row a statement makes a run of a thousand rows cost a thousand of them. The statement is
// "insert into T (...) select <columns> from RDB$DATABASE union all select ..." with one
// select per row; its parameters are set by their place (the row's values in order, row after
// row), since looking hundreds of names up for every statement would cost more than the
// statement. A statement of a full batch is prepared once and run again; a shorter one (the
// last rows of a run) is prepared and run in one request, since it seldom comes again.
// Measured (bench/ksef_bench, 35 000 purchases with their lines, through a server on the same
// machine): 18 s one row a statement, 4 s fifty; a hundred gain nothing more.
class MultiRowInsert {
public:
    static constexpr int rowsPerStatement = 50;

    // `columns` is the select list of one row, with "%1" where the row's number goes into the
    // parameter names (":k%1", ...).
    MultiRowInsert(fb::Connection& connection, fb::Transaction& transaction, QString head, QString columns);
    ~MultiRowInsert();
    MultiRowInsert(const MultiRowInsert&) = delete;
    MultiRowInsert& operator=(const MultiRowInsert&) = delete;

    // The statement for `rows` rows (1 to rowsPerStatement), prepared once for each count.
    fb::Statement& statementFor(int rows);

    // Appends the values of row `row` of the run, in the order of the columns.
    using Binder = std::function<void(QVariantList& values, int row)>;
    using FailsAll = std::function<bool(const fb::Error&)>;
    // Writes `count` rows, rowsPerStatement at a time. A row the engine refuses undoes its whole statement: those rows are then written
    // one by one, and the engine's words for each row it refused go into `outcome` at the
    // row's place (the others are written). A failure that `failsAll` says fails every row
    // alike (a lost server, a full disk), or a statement that cannot be prepared, is thrown,
    // with `outcome` telling how far the write got.
    void write(int count, const Binder& bind, const FailsAll& failsAll, WriteOutcome& outcome);
    // Lets the prepared statements go (before their transaction ends).
    void clear();

private:
    QString sqlFor(int rows) const;

    fb::Connection& connection_;
    fb::Transaction& transaction_;
    QString head_;
    QString columns_;
    QHash<int, std::shared_ptr<fb::Statement>> prepared_;
};

} // namespace data
