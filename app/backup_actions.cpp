#include "backup_actions.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QProgressDialog>

#include "data/backup.h"
#include "data/connection_settings.h"
#include "data/dm1.h"
#include "desktop/caption_width.h"
#include "desktop/attempt.h"
#include "desktop/messages.h"
#include "desktop/open_file_dialog.h"
#include "desktop/save_file_dialog.h"
#include "first_start.h"

namespace {

// The engine's lines in a progress window while it works; the window stays alive.
template <class Work>
bool withProgress(const QString& title, const QString& first, QWidget* parent, Work&& work)
{
    QProgressDialog progress(first, QString(), 0, 0, parent);
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(520);
    desktop::fitCaption(progress);
    progress.show();
    QApplication::processEvents();
    return desktop::attempt(parent, [&] {
        work([&](const QString& line) {
            progress.setLabelText(line.trimmed());
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    });
}

// A name on the server: asked as text (a file dialog shows this computer's files).
QString askServerPath(const QString& label, const QString& suggested, QWidget* parent)
{
    bool ok = false;
    const QString path = QInputDialog::getText(parent, QStringLiteral("Plik na serwerze"), label, QLineEdit::Normal,
                                               suggested, &ok);
    return ok ? path.trimmed() : QString();
}

} // namespace

void makeBackup(Tdm_1& dm, QWidget* parent)
{
    if (!dm.isConnected()) {
        desktop::showError(QStringLiteral("Program nie jest połączony z bazą danych."), parent);
        return;
    }
    const QString database = dm.databaseName();
    const QString suggested = data::suggestedBackupName(database);
    const bool remote = data::isRemoteName(database);
    // A local copy is offered in the folder of the last backup, or the user's documents: not
    // beside the database it is meant to protect. The dialog asks before a file is replaced.
    const QString file = remote
                             ? askServerPath(QStringLiteral("Plik kopii zapasowej na serwerze %1 (pełna ścieżka):").arg(data::serverPathOf(database).server),
                                             suggested, parent)
                             : desktop::askSaveFileName({QStringLiteral("Kopia zapasowa bazy danych"), QFileInfo(suggested).fileName(),
                                                         QStringLiteral("Kopie zapasowe (*.fbk)"), QStringLiteral("fbk"),
                                                         QStringLiteral("backup")},
                                                        parent);
    if (file.isEmpty())
        return;
    if (withProgress(QStringLiteral("Kopia zapasowa bazy danych"), QStringLiteral("Kopiowanie bazy…"), parent,
                     [&](const data::BackupProgress& shown) {
                         data::backupDatabase(database, file, remote ? data::Existing::Refuse : data::Existing::Replace, shown);
                     }))
        desktop::showInformation(QStringLiteral("Zapisano kopię zapasową bazy w pliku %1.").arg(file), {}, parent);
}

void restoreBackup(Tdm_1& dm, QWidget* parent)
{
    const QString open = dm.isConnected() ? dm.databaseName() : QString();
    const bool remote = data::isRemoteName(open);
    QString file, database;
    if (remote) {
        const QString server = data::serverPathOf(open).server;
        file = askServerPath(QStringLiteral("Plik kopii zapasowej na serwerze %1:").arg(server), data::suggestedBackupName(open),
                             parent);
        if (file.isEmpty())
            return;
        const QString path = askServerPath(QStringLiteral("Nowa baza danych na serwerze %1 (plik, którego jeszcze nie ma):").arg(server),
                                           QFileInfo(file).path() + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QStringLiteral(".gdb"),
                                           parent);
        if (path.isEmpty())
            return;
        database = server + QLatin1Char(':') + path;
    } else {
        // Backups are looked for where the last one was made (or the user's documents).
        file = desktop::askOpenFileName({QStringLiteral("Kopia zapasowa do odtworzenia"), QString(),
                                         {QStringLiteral("Kopie zapasowe (*.fbk)"), QStringLiteral("Wszystkie pliki (*)")},
                                         QStringLiteral("fbk"), QStringLiteral("backup")},
                                        parent);
        if (file.isEmpty())
            return;
        database = desktop::askSaveFileName({QStringLiteral("Nowa baza danych z kopii"), newDatabasePath(),
                                             QStringLiteral("Bazy danych (*.gdb)"), QStringLiteral("gdb"), {}},
                                            parent);
        if (database.isEmpty())
            return;
    }
    if (!withProgress(QStringLiteral("Odtworzenie bazy z kopii"), QStringLiteral("Odtwarzanie bazy…"), parent,
                      [&](const data::BackupProgress& shown) { data::restoreDatabase(file, database, shown); }))
        return;
    if (desktop::ask(QStringLiteral("Odtworzono bazę danych %1 z kopii %2.\n\nCzy program ma teraz pracować na tej bazie?")
                         .arg(database, file),
                     {}, parent)
        != desktop::Answer::Yes)
        return;
    desktop::attempt(parent, [&] {
        data::writeLocationFile(database, data::locationDirectoryForWriting());
        dm.connectTo(database);
    });
}
