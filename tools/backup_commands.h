#pragma once

#include <QStringList>

// Backup and restore of a database, as "Parametry → Kopia zapasowa bazy danych…" and
// "Odtworzenie bazy z kopii…" make them.
namespace tools {

// backup --db NAME --out FILE.fbk
int backup(const QStringList& args);
// restore --in FILE.fbk --db NEWFILE
int restore(const QStringList& args);
// convert --db OLD --out NEWFILE: a database of an earlier version into one that declares
// Windows-1250.
int convert(const QStringList& args);

extern const char* backupUsage;

} // namespace tools
