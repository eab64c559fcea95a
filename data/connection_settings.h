#pragma once

#include <QDir>
#include <QString>

namespace data {

QString defaultUser();       // "sysdba"
QString defaultPassword();   // "quillform"
QString defaultDatabaseName(); // "Brenvald.gdb", when there is no location file
QString locationFileName();  // "db_na.txt"

// The database name that a location file's text gives: line breaks become blanks, and
// blanks and control characters are trimmed from both ends.
QString databaseNameFromText(const QString& text);

// The name from the location file in `directory`, or the default name without one.
QString resolveDatabaseName(const QString& directory = QDir::currentPath());

// True for "server:path": the first colon stands at the third character or later.
bool isRemoteName(const QString& name);

// What the client library is given for a name. A remote name goes as it is. A local name is
// made absolute against `directory`; when no file has that exact name but one file there
// differs from it only in letter case, that file is meant (the name comes from a system
// whose file names ignore case).
QString clientDatabaseName(const QString& name, const QString& directory = QDir::currentPath());

} // namespace data
