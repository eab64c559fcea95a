#include "tools/backup_commands.h"

#include <QDir>
#include <QTextStream>

#include "data/backup.h"
#include "data/conversion.h"
#include "tools/cli_options.h"

namespace tools {

const char* backupUsage =
    "  brenvald-cli backup --db BAZA --out PLIK.fbk\n"
    "      kopia zapasowa bazy (format gbak); dla bazy na serwerze plik powstaje na serwerze\n"
    "  brenvald-cli restore --in PLIK.fbk --db NOWA_BAZA\n"
    "      odtwarza bazę z kopii do nowego pliku; istniejącej bazy nie nadpisuje\n"
    "  brenvald-cli convert --db STARA_BAZA --out NOWA_BAZA\n"
    "      przenosi bazę z wcześniejszej wersji programu (bez strony kodowej) do nowego pliku\n"
    "      ze stroną kodową Windows-1250; starej bazy nie zmienia\n";

int backup(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--out")}, {});
    requireOptions(options, {"--db", "--out"});
    const QString database = options.value(QStringLiteral("--db"));
    const QString file = options.value(QStringLiteral("--out"));
    data::backupDatabase(database, file);
    QTextStream(stdout) << QStringLiteral("Zapisano kopię zapasową bazy %1 w pliku %2.").arg(database, file) << Qt::endl;
    return 0;
}

int restore(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--in"), QStringLiteral("--db")}, {});
    requireOptions(options, {"--in", "--db"});
    const QString file = options.value(QStringLiteral("--in"));
    const QString database = options.value(QStringLiteral("--db"));
    data::restoreDatabase(file, database);
    QTextStream(stdout) << QStringLiteral("Odtworzono bazę %1 z pliku %2.").arg(database, file) << Qt::endl;
    return 0;
}

int convert(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--out")}, {});
    requireOptions(options, {"--db", "--out"});
    const QString source = options.value(QStringLiteral("--db"));
    const QString target = options.value(QStringLiteral("--out"));
    data::copyToWindows1250Database(source, target);
    QTextStream(stdout) << QStringLiteral("Przeniesiono bazę %1 do %2 (strona kodowa Windows-1250).").arg(source, target)
                        << Qt::endl;
    return 0;
}

} // namespace tools
