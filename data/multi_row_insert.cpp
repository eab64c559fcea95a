#include "data/multi_row_insert.h"

#include <QStringList>

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

void MultiRowInsert::clear()
{
    prepared_.clear();
}

} // namespace data
