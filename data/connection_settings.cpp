#include "data/connection_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <stdexcept>

#include "text/cp1250.h"

namespace data {

QString defaultUser() { return QStringLiteral("sysdba"); }
QString defaultPassword() { return QStringLiteral("quillform"); }
QString connectionUser()
{
    const QString user = qEnvironmentVariable("ISC_USER");
    return user.isEmpty() ? defaultUser() : user;
}

QString connectionPassword()
{
    const QString password = qEnvironmentVariable("ISC_PASSWORD");
    return password.isEmpty() ? defaultPassword() : password;
}

QString defaultDatabaseName() { return QStringLiteral("Brenvald.gdb"); }
QString locationFileName() { return QStringLiteral("db_na.txt"); }

QString databaseNameFromText(const QString& text)
{
    QString name = text;
    name.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && name[end - 1].unicode() <= 0x20)
        --end;
    return name.mid(begin, end - begin);
}

QString configurationDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/brenvald");
}

QString dataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/brenvald");
}

QString locationDirectory(const QString& startFolder)
{
    for (const QString& folder : {startFolder, configurationDirectory()})
        if (QFileInfo::exists(QDir(folder).filePath(locationFileName())))
            return folder;
    return {};
}

QString locationDirectoryForWriting(const QString& startFolder)
{
    if (const QString read = locationDirectory(startFolder); !read.isEmpty())
        return read;
    return QFileInfo(startFolder).isWritable() ? startFolder : configurationDirectory();
}

bool hasLocationFile(const QString& startFolder)
{
    return !locationDirectory(startFolder).isEmpty();
}

QString resolveDatabaseName(const QString& startFolder)
{
    const QString folder = locationDirectory(startFolder);
    // A database of the default name beside the program, without a location file, is the
    // database of that folder (how a desk works without one); the user's own location file
    // counts only where there is neither.
    const bool besideTheProgram = QFileInfo::exists(clientDatabaseName(defaultDatabaseName(), startFolder));
    if (folder.isEmpty() || (folder != startFolder && besideTheProgram))
        return defaultDatabaseName();
    QFile file(QDir(folder).filePath(locationFileName()));
    if (!file.open(QIODevice::ReadOnly))
        return defaultDatabaseName();
    return databaseNameFromText(text::fromCp1250(file.readAll()));
}

void writeLocationFile(const QString& name, const QString& directory)
{
    QChar unmappable;
    const std::optional<QByteArray> bytes = text::toCp1250(name, &unmappable);
    if (!bytes)
        throw std::runtime_error(QStringLiteral("Nazwy bazy danych nie można zapisać w pliku %1: znaku „%2” nie ma "
                                                "w stronie kodowej Windows-1250. Wskaż plik o nazwie bez tego znaku.")
                                     .arg(locationFileName(), unmappable)
                                     .toStdString());
    const QString path = QDir(directory).filePath(locationFileName());
    QDir().mkpath(directory);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes + "\r\n") < 0 || !file.commit())
        throw std::runtime_error(QStringLiteral("Nie można zapisać pliku %1: %2")
                                     .arg(QDir::toNativeSeparators(path), file.errorString())
                                     .toStdString());
}

QString databaseNameFromNetworkPath(const QString& path)
{
    if (!path.startsWith(QLatin1String("\\\\")))
        return path;
    QString rest = path.mid(2);
    const qsizetype slash = rest.indexOf(QLatin1Char('\\'));
    if (slash >= 0)
        rest.insert(slash, QLatin1Char(':'));
    return rest;
}

bool isRemoteName(const QString& name)
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    return colon >= 2;
}

QString shownDatabaseName(const QString& name)
{
    return isRemoteName(name) ? name : QFileInfo(name).fileName();
}

QString clientDatabaseName(const QString& name, const QString& directory)
{
    if (name.isEmpty() || isRemoteName(name))
        return name;
    const QFileInfo info(QDir(directory), name);
    if (info.exists())
        return info.absoluteFilePath();
    const QDir folder = info.absoluteDir();
    QString match;
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
            if (!match.isEmpty())
                return info.absoluteFilePath(); // ambiguous: keep the name as written
            match = entry;
        }
    }
    return match.isEmpty() ? info.absoluteFilePath() : folder.absoluteFilePath(match);
}

} // namespace data
