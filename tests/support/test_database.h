#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace fb {
class Connection;
class Transaction;
}

// Database files for tests: each call gives a new copy of a template made once per test
// process, so every test case starts from a fresh file without paying for CREATE DATABASE.
// Generic: the library tests use it without the program's data module.
namespace testsupport {

// The folder of this test process's files; removed when the process ends.
QString workDir();
// The user and password the test files are made and opened with.
QString user();
QString password();
QString freshEmptyDatabase(); // dialect 1, no tables
// A copy of a file made once from a script of statements separated by ";" (comments in
// /* */ allowed), each committed before the next.
QString freshDatabaseFromScript(const QString& scriptPath);

// Every row of a query, its columns in order, read with a statement of its own rather than
// through a dataset, so that a test checks what is stored.
QList<QVariantList> queryRows(fb::Connection& connection, fb::Transaction& transaction, const QString& sql,
                              const QVariantMap& params = {});

// Runs statements on a database file in one transaction of their own, and commits.
void execute(const QString& database, const QStringList& statements);
// The first column of the first row of a query on a database file, as a number.
qint64 firstNumber(const QString& database, const QString& sql);
// The files of a folder, hidden ones too: what a test expects a command to have left there.
QStringList filesIn(const QString& folder);

} // namespace testsupport
