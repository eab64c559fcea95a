#include "first_start.h"

#include <QDir>
#include <QFileInfo>

#include "data/connection_settings.h"
#include "data/dm1.h"
#include "data/reference_data.h"
#include "desktop/attempt.h"
#include "desktop/messages.h"
#include "desktop/open_file_dialog.h"
#include "serw_op.h"

namespace {

enum Choice { NewDatabase, ExistingFile, Server, Cancel };

// The name goes where the user's own settings live; then the module connects to it.
bool useDatabase(Tdm_1& dm, const QString& path, QWidget* parent)
{
    return desktop::attempt(parent, [&] {
        data::writeLocationFile(path, data::configurationDirectory());
        dm.connectTo(path);
    });
}

} // namespace

QString newDatabasePath()
{
    const QDir folder(data::dataDirectory());
    QString path = folder.filePath(QStringLiteral("brenvald.gdb"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("brenvald-%1.gdb").arg(n));
    return path;
}

bool offerDatabase(Tdm_1& dm, const QString& missing, QWidget* parent)
{
    const QString what = missing.isEmpty()
                             ? QStringLiteral("Program nie znalazł bazy danych.")
                             : QStringLiteral("Nie ma pliku bazy danych %1.").arg(QDir::toNativeSeparators(missing));
    const int choice = desktop::choose(
        what + QStringLiteral("\n\nMożna utworzyć nową bazę z danymi programu (rodzaje paliw i pojazdów, stawki opłat, "
                              "wskaźniki), wskazać plik istniejącej bazy albo połączyć się z bazą na serwerze."),
        {QStringLiteral("Utwórz nową bazę"), QStringLiteral("Wskaż plik bazy…"), QStringLiteral("Baza na serwerze…"),
         QStringLiteral("Anuluj")},
        {}, parent);
    switch (choice) {
    case NewDatabase: {
        const QString path = newDatabasePath();
        if (!desktop::attempt(parent, [&] {
                QDir().mkpath(QFileInfo(path).absolutePath());
                data::createDeliveredDatabase(path);
            }))
            return false;
        if (!useDatabase(dm, path, parent))
            return false;
        desktop::showInformation(QStringLiteral("Utworzono nową bazę danych %1.").arg(QDir::toNativeSeparators(path)), {},
                                 parent);
        return true;
    }
    case ExistingFile: {
        const QString path = desktop::askOpenFileName(
            {QStringLiteral("Wskaż plik bazy danych"), data::dataDirectory(),
             {QStringLiteral("Bazy danych (*.gdb *.fdb)"), QStringLiteral("Wszystkie pliki (*)")}, QStringLiteral("gdb"), {}},
            parent);
        return !path.isEmpty() && useDatabase(dm, path, parent);
    }
    case Server: {
        TF_serw_op dialog(dm, parent);
        dialog.setServerMode(1);
        dialog.exec();
        return dm.isConnected();
    }
    default:
        return false;
    }
}
