#pragma once

#include <QDate>
#include <QDir>
#include <QString>

#include "desktop/file_in_making.h"
#include "desktop/stop_request.h"
#include "firebird/service.h"

namespace data {

// Each line the engine reports of a backup or restore, as it comes.
using BackupProgress = fb::Service::Progress;

// Where the engine's service manager runs for a database name, and what it calls the file
// there: no server and the absolute path for a local name (made absolute against the start
// folder), "serwer" (or "serwer/3051") and the path on it for "serwer:ścieżka".
struct ServerPath {
    QString server;
    QString path;
};
ServerPath serverPathOf(const QString& databaseName, const QString& startFolder = QDir::currentPath());

// "<database>_<yyyy-mm-dd>.fbk": the name a backup is offered under.
QString suggestedBackupName(const QString& databaseName, const QDate& day = QDate::currentDate());

using Existing = desktop::FileInMaking::Existing;

// Copies the database into a backup file (for a database on a server, a file on that server,
// named by its full path there). A local backup is readable by its owner only and takes its
// name only when whole; an existing file is replaced only with Existing::Replace (the user
// chose to). Throws std::runtime_error with a Polish text (and the engine's below) when it
// fails, desktop::WorkStopped when `stop` asked it to end (nothing is left of it).
void backupDatabase(const QString& databaseName, const QString& backupFile, Existing existing = Existing::Refuse,
                    const BackupProgress& progress = {}, const desktop::StopRequest& stop = {});

// Makes a new database from a backup file; an existing file is never replaced. The new
// database takes its name only when the engine read the backup to its end without an error
// and the database holds every table of the program and every row the backup held; a cut or
// damaged backup, or a file that is no backup, is refused in Polish and leaves nothing. Stops
// as backupDatabase does.
void restoreDatabase(const QString& backupFile, const QString& newDatabase, const BackupProgress& progress = {},
                     const desktop::StopRequest& stop = {});

} // namespace data
