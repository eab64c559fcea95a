#include "data/backup.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <optional>
#include <stdexcept>
#include <sys/stat.h>

#include "data/connection_settings.h"
#include "data/schema.h"
#include "data/schema_check.h"
#include "firebird/connection.h"
#include "firebird/error.h"

namespace data {

namespace {

[[noreturn]] void fail(const QString& sentence)
{
    throw std::runtime_error(sentence.toStdString());
}

[[noreturn]] void fail(const QString& sentence, const std::exception& e)
{
    fail(sentence + QStringLiteral("\n\n") + QString::fromUtf8(e.what()));
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The engine's lines that report an error (gbak prints them as "gbak: ERROR:…"); its account
// of a restore goes on after some of them.
QStringList errorLines(const QStringList& lines)
{
    static const QRegularExpression error(QStringLiteral("^(?:gbak:\\s*)?ERROR\\b"), QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const QString& line : lines)
        if (error.match(line).hasMatch())
            found << line;
    return found;
}

// What a restore's account says: whether the engine read the backup to its end (its closing
// words come only then: a cut backup ends the account early and says so only on the process's
// standard output), and the rows it restored in each table.
struct RestoreAccount {
    bool readToEnd = false;
    QMap<QString, qint64> rows;
};

RestoreAccount readRestoreAccount(const QStringList& lines)
{
    static const QRegularExpression table(QStringLiteral("restoring data for table (\\S+)"));
    static const QRegularExpression restored(QStringLiteral("^(?:gbak:)?\\s*(\\d+) records restored"));
    RestoreAccount account;
    QString current;
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("finishing, closing, and going home")))
            account.readToEnd = true;
        if (const auto m = table.match(line); m.hasMatch())
            current = m.captured(1).toUpper();
        else if (const auto r = restored.match(line); r.hasMatch() && !current.isEmpty())
            account.rows[current] = r.captured(1).toLongLong(); // a running count, then the whole
    }
    return account;
}

// Checks the new database against what the backup held; a Polish refusal otherwise.
void checkRestoredDatabase(const QString& clientName, const RestoreAccount& account, const QString& backupFile,
                           const QString& target)
{
    const QString notMade = QStringLiteral(" Baza %1 nie została utworzona.").arg(shown(target));
    fb::Connection restored;
    try {
        restored.open(clientName, connectionUser(), connectionPassword());
    } catch (const fb::Error& e) {
        fail(QStringLiteral("Bazy odtworzonej z pliku %1 nie da się otworzyć.").arg(shown(backupFile)) + notMade, e);
    }
    if (const QStringList missing = missingProgramRelations(restored); !missing.isEmpty())
        fail(QStringLiteral("Kopia w pliku %1 nie jest pełną kopią bazy tego programu: brak w niej tabel %2.")
                 .arg(shown(backupFile), missing.join(QStringLiteral(", ")))
             + notMade);
    const QStringList ours = programRelations() + laterTables();
    QStringList counted;
    for (auto it = account.rows.cbegin(); it != account.rows.cend(); ++it)
        if (ours.contains(it.key()))
            counted << it.key();
    const QMap<QString, qint64> present = rowCounts(restored, counted);
    for (const QString& name : counted)
        if (present.value(name) != account.rows.value(name))
            fail(QStringLiteral("Baza odtworzona z pliku %1 jest niepełna: tabela %2 ma %3 wierszy, a kopia ich zawiera %4.")
                     .arg(shown(backupFile), name)
                     .arg(present.value(name))
                     .arg(account.rows.value(name))
                 + notMade);
    restored.close();
}

void checkAccount(const fb::Service::Account& account, const RestoreAccount& restore, const QString& backupFile,
                  const QString& target)
{
    const QString notMade = QStringLiteral(" Baza %1 nie została utworzona.").arg(shown(target));
    if (const QStringList errors = errorLines(account.lines); !errors.isEmpty())
        fail(QStringLiteral("Odtwarzanie bazy z pliku %1 nie powiodło się.").arg(shown(backupFile)) + notMade
             + QStringLiteral("\n\n") + errors.join(QLatin1Char('\n')));
    if (!restore.readToEnd)
        fail(QStringLiteral("Kopia zapasowa w pliku %1 jest niepełna albo uszkodzona: silnik bazy danych nie odczytał jej do "
                            "końca (plik mógł zostać ucięty przy kopiowaniu).")
                 .arg(shown(backupFile))
             + notMade);
}

[[noreturn]] void failRestore(const QString& backupFile, const QString& target, const std::exception& e)
{
    fail(QStringLiteral("Nie udało się odtworzyć bazy z pliku %1: to nie jest kopia zapasowa bazy danych, plik jest "
                        "uszkodzony albo nie można utworzyć pliku %2.")
             .arg(shown(backupFile), shown(target)),
         e);
}

void restoreLocally(const QString& backupFile, const QString& target, const fb::Service::Progress& progress,
                    const desktop::StopRequest& stop)
{
    if (QFileInfo::exists(target))
        fail(QStringLiteral("Plik %1 już istnieje. Kopię odtwarza się zawsze do nowego pliku, tak aby żadna baza (także "
                            "otwarta) nie została nadpisana.")
                 .arg(shown(target)));
    desktop::FileInMaking made(target);
    fb::Service::Account account;
    try {
        fb::Service service({}, connectionUser(), connectionPassword());
        account = service.restore(QFileInfo(backupFile).absoluteFilePath(), made.path(), progress, stop);
    } catch (const fb::Error& e) {
        failRestore(backupFile, target, e);
    }
    if (account.stopped)
        throw desktop::WorkStopped{};
    const RestoreAccount restore = readRestoreAccount(account.lines);
    checkAccount(account, restore, backupFile, target);
    checkRestoredDatabase(made.path(), restore, backupFile, target);
    made.finish();
}

// A server's file cannot be renamed from here: the restore makes the database under its name
// (the engine refuses an existing one), and a database it made that fails, or fails the
// checks, is deleted by the server. A stopped restore goes on on the server and is left to it.
void restoreOnServer(const ServerPath& where, const QString& backupFile, const QString& target,
                     const fb::Service::Progress& progress, const desktop::StopRequest& stop)
{
    bool created = false;
    const auto watched = [&](const QString& line) {
        created = created || line.contains(QLatin1String("created database"));
        if (progress)
            progress(line);
    };
    try {
        fb::Service::Account account;
        try {
            fb::Service service(where.server, connectionUser(), connectionPassword());
            account = service.restore(backupFile, where.path, watched, stop);
        } catch (const fb::Error& e) {
            if (e.isConnectionLost())
                throw;
            failRestore(backupFile, target, e);
        }
        if (account.stopped) {
            created = false;
            throw desktop::WorkStopped{};
        }
        const RestoreAccount restore = readRestoreAccount(account.lines);
        checkAccount(account, restore, backupFile, target);
        checkRestoredDatabase(target, restore, backupFile, target);
    } catch (...) {
        if (created) {
            try {
                fb::Connection made;
                made.open(target, connectionUser(), connectionPassword());
                made.drop();
            } catch (const std::exception& e) {
                fb::logFailure(e);
            }
        }
        throw;
    }
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

void backupDatabase(const QString& databaseName, const QString& backupFile, Existing existing,
                    const fb::Service::Progress& progress, const desktop::StopRequest& stop)
{
    const ServerPath where = serverPathOf(databaseName);
    const bool local = where.server.isEmpty();
    // A relative name would be the server's working folder, which nobody sees.
    if (!local && !backupFile.startsWith(QLatin1Char('/')) && !QRegularExpression(QStringLiteral("^[A-Za-z]:[\\\\/]")).match(backupFile).hasMatch())
        fail(QStringLiteral("Plik kopii na serwerze trzeba podać pełną ścieżką na serwerze (np. %1), a nie „%2”.")
                 .arg(suggestedBackupName(databaseName), backupFile));
    if (local && existing == Existing::Refuse && QFileInfo::exists(backupFile))
        fail(desktop::existingFileRefusal(backupFile));
    const QString failure = QStringLiteral("Nie udało się zrobić kopii zapasowej bazy %1 w pliku %2.")
                                .arg(shown(databaseName), shown(backupFile));
    std::optional<desktop::FileInMaking> made;
    if (local) {
        made.emplace(backupFile);
        made->createPrivate();
    }
    fb::Service::Account account;
    try {
        fb::Service service(where.server, connectionUser(), connectionPassword());
        account = service.backup(where.path, local ? made->path() : backupFile, progress, stop);
    } catch (const fb::Error& e) {
        fail(failure, e);
    }
    if (account.stopped)
        throw desktop::WorkStopped{};
    if (const QStringList errors = errorLines(account.lines); !errors.isEmpty())
        fail(failure + QStringLiteral("\n\n") + errors.join(QLatin1Char('\n')));
    if (local) {
        // The engine writes into the file made for it; should it have made its own, it is
        // the owner's alone all the same.
        ::chmod(QFile::encodeName(made->path()).constData(), 0600);
        made->finish(existing);
    }
}

void restoreDatabase(const QString& backupFile, const QString& newDatabase, const fb::Service::Progress& progress,
                     const desktop::StopRequest& stop)
{
    const ServerPath where = serverPathOf(newDatabase);
    if (where.server.isEmpty())
        restoreLocally(backupFile, where.path, progress, stop);
    else
        restoreOnServer(where, backupFile, newDatabase, progress, stop);
}

} // namespace data
