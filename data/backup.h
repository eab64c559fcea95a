#pragma once

#include <QDate>
#include <QDir>
#include <QString>

#include "firebird/service.h"

namespace data {

// Where the engine's service manager runs for a database name, and what it calls the file
// there: no server and the absolute path for a local name (made absolute against the start
// folder), "serwer" (or "serwer/3051") and the path on it for "serwer:ścieżka".
struct ServerPath {
    QString server;
    QString path;
};
ServerPath serverPathOf(const QString& databaseName, const QString& startFolder = QDir::currentPath());

// "<database>_<yyyy-mm-dd>.fbk" beside the database: the name a backup is offered under.
QString suggestedBackupName(const QString& databaseName, const QDate& day = QDate::currentDate());

// Copies the database into a backup file (for a database on a server, a file on that server).
// Throws std::runtime_error with a Polish text and the engine's below when it fails.
void backupDatabase(const QString& databaseName, const QString& backupFile, const fb::Service::Progress& progress = {});

// Makes a new database from a backup file; an existing file is never replaced (a local one
// is refused before the engine is asked). A file that is no backup, or a damaged one, is
// refused in Polish; a half-made database is removed.
void restoreDatabase(const QString& backupFile, const QString& newDatabase, const fb::Service::Progress& progress = {});

} // namespace data
