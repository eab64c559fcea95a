#pragma once

#include <QStringList>

#include "tools/cli_options.h"

// Backup and restore of a database, as "Parametry → Kopia zapasowa bazy danych…" and
// "Odtworzenie bazy z kopii…" make them, and the move of an old database.
namespace tools {

// backup --db NAME --out FILE.fbk
int backup(const QStringList& args);
// restore --in FILE.fbk --db NEWFILE
int restore(const QStringList& args);
// convert --db OLD --out NEWFILE: a database of an earlier version into one that declares
// Windows-1250.
int convert(const QStringList& args);

extern const Command backupCommands[3];

} // namespace tools
