#include "tools/backup_commands.h"

#include <QDir>
#include <QTextStream>

#include "data/backup.h"
#include "data/conversion.h"
#include "desktop/signal_catcher.h"

namespace tools {

namespace {

const char* backupUsage =
    "  brenvald-cli backup --db BAZA --out PLIK.fbk\n"
    "      kopia zapasowa bazy (format gbak), czytelna tylko dla właściciela; istniejącego\n"
    "      pliku nie nadpisuje; dla bazy na serwerze plik powstaje na serwerze (pełna ścieżka)\n";
const char* restoreUsage =
    "  brenvald-cli restore --in PLIK.fbk --db NOWA_BAZA\n"
    "      odtwarza bazę z kopii do nowego pliku; istniejącej bazy nie nadpisuje, kopii\n"
    "      niepełnej lub uszkodzonej nie odtwarza\n";
const char* convertUsage =
    "  brenvald-cli convert --db STARA_BAZA --out NOWA_BAZA\n"
    "      przenosi bazę z wcześniejszej wersji programu (bez strony kodowej) do nowego pliku\n"
    "      ze stroną kodową Windows-1250; starej bazy nie zmienia\n";

// A termination signal ends the work; nothing of it is left under the target's name.
bool signalled()
{
    return desktop::SignalCatcher::lastCaught() != 0;
}

} // namespace

int backup(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--out")}, {});
    requireOptions(options, {"--db", "--out"});
    const QString database = options.value(QStringLiteral("--db"));
    const QString file = options.value(QStringLiteral("--out"));
    data::backupDatabase(database, file, data::Existing::Refuse, {}, signalled);
    QTextStream(stdout) << QStringLiteral("Zapisano kopię zapasową bazy %1 w pliku %2.").arg(database, file) << Qt::endl;
    return 0;
}

int restore(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--in"), QStringLiteral("--db")}, {});
    requireOptions(options, {"--in", "--db"});
    const QString file = options.value(QStringLiteral("--in"));
    const QString database = options.value(QStringLiteral("--db"));
    data::restoreDatabase(file, database, {}, signalled);
    QTextStream(stdout) << QStringLiteral("Odtworzono bazę %1 z pliku %2.").arg(database, file) << Qt::endl;
    return 0;
}

int convert(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--out")}, {});
    requireOptions(options, {"--db", "--out"});
    const QString source = options.value(QStringLiteral("--db"));
    const QString target = options.value(QStringLiteral("--out"));
    data::copyToWindows1250Database(source, target, signalled);
    QTextStream(stdout) << QStringLiteral("Przeniesiono bazę %1 do %2 (strona kodowa Windows-1250).").arg(source, target)
                        << Qt::endl;
    return 0;
}

const Command backupCommands[3] = {
    {"backup", backupUsage, backup}, {"restore", restoreUsage, restore}, {"convert", convertUsage, convert}};

} // namespace tools
