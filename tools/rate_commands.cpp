#include "tools/rate_commands.h"

#include <QTextStream>

#include "data/dm1.h"
#include "desktop/signal_catcher.h"
#include "tables/rate_script.h"
#include "tools/cli_options.h"

namespace tools {

const char* rateUsage =
    "  brenvald-cli load-rates --db BAZA PLIK\n"
    "      dodaje stawki opłat z pliku (wiersze \"rodzaj, paliwo, stawka, rok)\") i drukuje\n"
    "      polecenie i wynik każdego wiersza; kod 1, gdy któryś wiersz się nie udał\n";

int loadRates(const QStringList& args)
{
    QStringList files;
    const auto options = parseOptions(args, {QStringLiteral("--db")}, {}, &files);
    requireOptions(options, {"--db"});
    if (files.size() != 1)
        throw BadArguments{QStringLiteral("Polecenie load-rates wymaga jednej nazwy pliku ze stawkami.")};
    std::vector<rates::RateStatement> statements = rates::readRateFile(files.first());

    Tdm_1 dm;
    dm.connectTo(options.value(QStringLiteral("--db")));
    desktop::SignalCatcher::reinstall(); // the database client put its own handlers in place
    const int errors = rates::runStatements(dm.db_opl, dm.tr_opl, statements);
    dm.disconnectDatabase();

    QTextStream out(stdout);
    for (const rates::RateStatement& s : statements)
        out << s.shownSql() << '\t' << s.outcome << '\n';
    // The window's summary breaks its line with LF CR; a terminal wants LF alone.
    out << rates::summaryText(static_cast<int>(statements.size()), errors).remove(QLatin1Char('\r')) << Qt::endl;
    return errors == 0 ? 0 : exitFailure;
}

} // namespace tools
