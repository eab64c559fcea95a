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

std::vector<std::optional<QString>> MultiRowInsert::write(int count, int parametersPerRow, const Binder& bind,
                                                          const std::function<bool(const fb::Error&)>& failsAll)
{
    const auto execute = [&](int from, int rows) {
        fb::Statement& st = statementFor(rows);
        for (int i = 0; i < rows; ++i)
            bind(st, from + i, i * parametersPerRow);
        st.execute();
    };
    std::vector<std::optional<QString>> refusals(static_cast<size_t>(count));
    for (int from = 0; from < count; from += rowsPerStatement) {
        const int rows = std::min(rowsPerStatement, count - from);
        try {
            execute(from, rows);
        } catch (const fb::Error& e) {
            if (failsAll(e))
                throw;
            for (int i = from; i < from + rows; ++i) {
                try {
                    execute(i, 1);
                } catch (const fb::Error& one) {
                    if (failsAll(one))
                        throw;
                    refusals[static_cast<size_t>(i)] = one.message();
                }
            }
        }
    }
    return refusals;
}

void MultiRowInsert::clear()
{
    prepared_.clear();
}

} // namespace data
