#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

#include "data/index_statistics.h"

namespace fb {
class Connection;
class Transaction;
}

namespace data {

// The tables and the view that every database of the program holds, in the schema's order
// (the tables of work locks and of e-invoice lines aside: they came later, and the program
// adds them to an older database).
QStringList programRelations();

// Those of them that the attached database lacks.
QStringList missingProgramRelations(fb::Connection& connection);

// Refuses, with a Polish fb::Error, a database that is not the program's (another program's,
// or one left half-made), before anything in it is changed.
void requireProgramDatabase(fb::Connection& connection);

// Makes a database ready to work on as the program opens it (attached with its character set
// to be read, fb::Connection::CharacterSetRead::Later; read here): refuses one that is not the
// program's (as requireProgramDatabase), then creates the later tables, indexes and
// constraints a database made by an earlier version lacks (an index's figures are measured as
// it is made), all found with one query of the catalogue. A failure to add one, such as another
// user's work on the purchases, is logged and the program goes on without it: slower without
// an index; without a table of work locks, an import tells why it cannot start. Returns the
// index statistics' figures read by the same query, unless something was added (they are to
// be read again then). The query runs in `tr`, which goes on, for the work after it, when
// nothing was added and the connection did not attach again.
std::optional<StatisticsFigures> prepareProgramDatabase(fb::Connection& connection, fb::Transaction& tr);

// The rows of each named table, counted in one transaction.
QMap<QString, qint64> rowCounts(fb::Connection& connection, const QStringList& tables);

} // namespace data
