#include "data/multi_row_insert.h"

#include <QStringList>

#include "firebird/error.h"
#include "firebird/statement.h"

namespace data {

MultiRowInsert::MultiRowInsert(fb::Connection& connection, fb::Transaction& transaction, QString head, QString columns)
    : connection_(connection), transaction_(transaction), head_(std::move(head)), columns_(std::move(columns))
{
}

MultiRowInsert::~MultiRowInsert() = default;

fb::Statement& MultiRowInsert::statementFor(int rows)
{
    auto& statement = prepared_[rows];
    if (!statement) {
        QStringList selects;
        for (int i = 0; i < rows; ++i)
            selects << QStringLiteral("select %1 from RDB$DATABASE").arg(columns_.arg(i));
        statement = std::make_shared<fb::Statement>(connection_, transaction_, head_ + selects.join(QStringLiteral(" union all ")));
    }
    return *statement;
}

void MultiRowInsert::write(int count, int parametersPerRow, const Binder& bind, const FailsAll& failsAll,
                           WriteOutcome& outcome)
{
    outcome.refusals.assign(static_cast<size_t>(count), std::nullopt);
    outcome.done = 0;
    // A statement that cannot be prepared (no right to write the table) fails every row: it
    // is prepared outside the rows' handling.
    const auto execute = [&](fb::Statement& st, int from, int rows) {
        for (int i = 0; i < rows; ++i)
            bind(st, from + i, i * parametersPerRow);
        st.execute();
    };
    for (int from = 0; from < count; from += rowsPerStatement) {
        const int rows = std::min(rowsPerStatement, count - from);
        fb::Statement& many = statementFor(rows);
        try {
            execute(many, from, rows);
            outcome.done = from + rows;
            continue;
        } catch (const fb::Error& e) {
            if (failsAll(e))
                throw;
        }
        fb::Statement& one = statementFor(1);
        for (int i = from; i < from + rows; ++i) {
            try {
                execute(one, i, 1);
            } catch (const fb::Error& e) {
                if (failsAll(e))
                    throw;
                outcome.refusals[static_cast<size_t>(i)] = e.message();
            }
            outcome.done = i + 1;
        }
    }
}

void MultiRowInsert::clear()
{
    prepared_.clear();
}

} // namespace data
