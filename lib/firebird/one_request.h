#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "firebird/statement.h"

namespace fb {

class Connection;
class Transaction;

// A statement the server prepares and runs in one request. A statement kept for reuse costs a
// request to prepare it and one more each time it runs; over a network every request is a
// round trip, so what runs once (a lookup, a count, a block) goes this way. Parameters are
// "?" (names are not parsed: a block's ":variable" stays its own), bound in order and typed by
// their values; the server converts them to what the statement wants. The query's one row
// comes in the types asked for, converted by the server: a whole number or a count as BigInt,
// figures as Double, texts of up to 8 000 bytes as VarChar, Timestamp or Date. No row: none
// asked for, or the query found none (a block gives its row by "suspend"). A query of more than
// one row is refused by the server.
std::optional<QVariantList> runOnce(Connection& connection, Transaction& transaction, const QString& sql,
                                    const QVariantList& parameters = {}, const std::vector<ColumnType>& row = {});

} // namespace fb
