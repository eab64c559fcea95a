#include "data/backup.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

#include "data/connection_settings.h"
#include "firebird/error.h"

namespace data {

namespace {

[[noreturn]] void fail(const QString& sentence, const std::exception& e)
{
    throw std::runtime_error((sentence + QStringLiteral("\n\n") + QString::fromUtf8(e.what())).toStdString());
}

} // namespace

ServerPath serverPathOf(const QString& databaseName, const QString& startFolder)
{
    if (isRemoteName(databaseName)) {
        const qsizetype colon = databaseName.indexOf(QLatin1Char(':'));
        return {databaseName.left(colon), databaseName.mid(colon + 1)};
    }
    return {QString(), clientDatabaseName(databaseName, startFolder)};
}

QString suggestedBackupName(const QString& databaseName, const QDate& day)
{
    const ServerPath where = serverPathOf(databaseName);
    const QFileInfo database(where.path);
    const QString name = database.completeBaseName() + QLatin1Char('_') + day.toString(Qt::ISODate) + QStringLiteral(".fbk");
    return where.server.isEmpty() ? database.dir().filePath(name) : database.path() + QLatin1Char('/') + name;
}

void backupDatabase(const QString& databaseName, const QString& backupFile, const fb::Service::Progress& progress)
{
    const ServerPath where = serverPathOf(databaseName);
    try {
        fb::Service service(where.server, connectionUser(), connectionPassword());
        service.backup(where.path, backupFile, progress);
    } catch (const fb::Error& e) {
        fail(QStringLiteral("Nie udało się zrobić kopii zapasowej bazy %1 w pliku %2.")
                 .arg(QDir::toNativeSeparators(databaseName), QDir::toNativeSeparators(backupFile)),
             e);
    }
}

void restoreDatabase(const QString& backupFile, const QString& newDatabase, const fb::Service::Progress& progress)
{
    const ServerPath where = serverPathOf(newDatabase);
    const bool local = where.server.isEmpty();
    if (local && QFileInfo::exists(where.path))
        throw std::runtime_error(QStringLiteral("Plik %1 już istnieje. Kopię odtwarza się zawsze do nowego pliku, tak aby "
                                                "żadna baza (także otwarta) nie została nadpisana.")
                                     .arg(QDir::toNativeSeparators(where.path))
                                     .toStdString());
    try {
        fb::Service service(where.server, connectionUser(), connectionPassword());
        service.restore(local ? QFileInfo(backupFile).absoluteFilePath() : backupFile, where.path, progress);
    } catch (const fb::Error& e) {
        if (local)
            QFile::remove(where.path);
        if (e.isConnectionLost())
            throw;
        fail(QStringLiteral("Nie udało się odtworzyć bazy z pliku %1: to nie jest kopia zapasowa bazy danych, plik jest "
                            "uszkodzony albo nie można utworzyć pliku %2.")
                 .arg(QDir::toNativeSeparators(backupFile), QDir::toNativeSeparators(where.path)),
             e);
    }
}

} // namespace data
