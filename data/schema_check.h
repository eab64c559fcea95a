#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace fb {
class Connection;
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

// The rows of each named table, counted in one transaction.
QMap<QString, qint64> rowCounts(fb::Connection& connection, const QStringList& tables);

} // namespace data
