#include "data/connection_settings.h"

#include <QFile>
#include <QFileInfo>

#include "text/cp1250.h"

namespace data {

QString defaultUser() { return QStringLiteral("sysdba"); }
QString defaultPassword() { return QStringLiteral("quillform"); }
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

QString resolveDatabaseName(const QString& directory)
{
    QFile file(QDir(directory).filePath(locationFileName()));
    if (!file.exists())
        return defaultDatabaseName();
    if (!file.open(QIODevice::ReadOnly))
        return defaultDatabaseName();
    return databaseNameFromText(text::fromCp1250(file.readAll()));
}

bool isRemoteName(const QString& name)
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    return colon >= 2;
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
