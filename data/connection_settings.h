#pragma once

#include <QDir>
#include <QString>

namespace data {

QString defaultUser();       // "sysdba"
QString defaultPassword();   // "quillform"
// What the program connects with: the client library's usual variables ISC_USER and
// ISC_PASSWORD when they are set (a server whose SYSDBA has another password), the defaults
// otherwise.
QString connectionUser();
QString connectionPassword();
QString defaultDatabaseName(); // "Brenvald.gdb", when there is no location file
QString locationFileName();  // "db_na.txt"

// The database name that a location file's text gives: line breaks become blanks, and
// blanks and control characters are trimmed from both ends.
QString databaseNameFromText(const QString& text);

// The user's own folders of the program (the platform's places: ~/.config/brenvald and
// ~/.local/share/brenvald here): its settings, and the databases it makes for the user.
QString configurationDirectory();
QString dataDirectory();

// The folder whose location file counts: the start folder's when it has one (how desks are
// set up), else the configuration folder's when that has one; empty when neither has.
QString locationDirectory(const QString& startFolder = QDir::currentPath());
// Where a new location file goes: where the one in force was read; without one, the start
// folder when the program may write there, else the configuration folder.
QString locationDirectoryForWriting(const QString& startFolder = QDir::currentPath());

// The name from the start folder's location file; else the default name when a database of
// that name is in the start folder; else the name from the configuration folder's location
// file; else the default name.
QString resolveDatabaseName(const QString& startFolder = QDir::currentPath());
// Whether a location file is in force.
bool hasLocationFile(const QString& startFolder = QDir::currentPath());

// Writes the location file in `directory` (made when missing): the name as its only line,
// in Windows-1250, with CR LF. The old file stays whole until the new one is complete.
// Throws std::runtime_error with a Polish text when the name has a character the code page
// lacks or the file cannot be written.
void writeLocationFile(const QString& name, const QString& directory);

// The database name for a file reached by its network path: "\\serwer\dane\brenvald.gdb"
// becomes "serwer:\dane\brenvald.gdb" (server, colon, the rest from the share on). A path
// that does not begin with two backslashes comes back unchanged.
QString databaseNameFromNetworkPath(const QString& path);

// The page cache of a database opened through the embedded engine, at most. A year of a large
// office (a million purchases) is a file of about 130 MiB: a small taxpayer's reports find
// their pages in a cache of a quarter of it, while a larger cache no longer speeds up the
// reports of a taxpayer with every purchase (they read the whole year anyway) and takes the
// register's preview of such a year over 200 MiB.
inline constexpr qint64 localPageCacheLimit = qint64(32) << 20;

// True for "server:path": the first colon stands at the third character or later.
bool isRemoteName(const QString& name);
// How a window names an open database: the file's name, or "server:path" as it stands.
QString shownDatabaseName(const QString& name);

// What the client library is given for a name. A remote name goes as it is. A local name is
// made absolute against `directory`; when no file has that exact name but one file there
// differs from it only in letter case, that file is meant (the name comes from a system
// whose file names ignore case).
QString clientDatabaseName(const QString& name, const QString& directory = QDir::currentPath());

} // namespace data
