#include "data/multi_row_insert.h"

#include <QStringList>

#include "firebird/error.h"
#include "firebird/named_params.h"
#include "firebird/one_request.h"
#include "firebird/statement.h"

namespace data {

MultiRowInsert::MultiRowInsert(fb::Connection& connection, fb::Transaction& transaction, QString head, QString columns)
    : connection_(connection), transaction_(transaction), head_(std::move(head)), columns_(std::move(columns))
{
}

MultiRowInsert::~MultiRowInsert() = default;

QString MultiRowInsert::sqlFor(int rows) const
{
    QStringList selects;
    for (int i = 0; i < rows; ++i)
        selects << QStringLiteral("select %1 from RDB$DATABASE").arg(columns_.arg(i));
    return head_ + selects.join(QStringLiteral(" union all "));
}

fb::Statement& MultiRowInsert::statementFor(int rows)
{
    auto& statement = prepared_[rows];
    if (!statement)
        statement = std::make_shared<fb::Statement>(connection_, transaction_, sqlFor(rows));
    return *statement;
}

void MultiRowInsert::write(int count, const Binder& bind, const FailsAll& failsAll, WriteOutcome& outcome)
{
    outcome.refusals.assign(static_cast<size_t>(count), std::nullopt);
    outcome.done = 0;
    const auto valuesOf = [&](int from, int rows) {
        QVariantList values;
        for (int i = from; i < from + rows; ++i)
            bind(values, i);
        return values;
    };
    const auto execute = [](fb::Statement& st, const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i)
            st.setParam(i, values[i]);
        st.execute();
    };
    for (int from = 0; from < count; from += rowsPerStatement) {
        const int rows = std::min(rowsPerStatement, count - from);
        const QVariantList values = valuesOf(from, rows);
        // A statement that cannot be prepared (no right to write the table) fails every row:
        // it is prepared outside the rows' handling.
        fb::Statement* many = rows == rowsPerStatement || prepared_.contains(rows) ? &statementFor(rows) : nullptr;
        try {
            if (many)
                execute(*many, values);
            else
                fb::runOnce(connection_, transaction_, fb::toPositional(sqlFor(rows)).sql, values);
            outcome.done = from + rows;
            continue;
        } catch (const fb::Error& e) {
            if (failsAll(e))
                throw;
        }
        fb::Statement& one = statementFor(1);
        for (int i = from; i < from + rows; ++i) {
            try {
                execute(one, valuesOf(i, 1));
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
