#include "tools/rate_commands.h"

#include <QTextStream>

#include "data/dm1.h"
#include "desktop/signal_catcher.h"
#include "tables/rate_script.h"
#include "tools/cli_options.h"

namespace tools {

namespace {

const char* loadRatesUsage =
    "  brenvald-cli load-rates --db BAZA PLIK\n"
    "      dodaje stawki opłat z pliku (wiersze \"rodzaj, paliwo, stawka, rok)\") i drukuje\n"
    "      polecenie i wynik każdego wiersza; kod 1, gdy któryś wiersz się nie udał\n";

} // namespace

int loadRates(const QStringList& args)
{
    QStringList files;
    const auto options = parseOptions(args, {QStringLiteral("--db")}, {}, &files);
    requireOptions(options, {"--db"});
    if (files.size() != 1)
        throw BadArguments{QStringLiteral("Polecenie load-rates wymaga jednej nazwy pliku ze stawkami.")};
    std::vector<rates::RateStatement> statements = rates::readRateFile(files.first());
    if (statements.empty()) {
        printError(QStringLiteral("Plik %1 nie zawiera żadnej stawki: nic nie wczytano.").arg(files.first()));
        return exitFailure;
    }

    Tdm_1 dm;
    dm.connectTo(options.value(QStringLiteral("--db")));
    // A termination signal ends the run between lines, with the rates inserted committed.
    const int errors = rates::runStatements(dm, statements, {},
                                            [] { return desktop::SignalCatcher::lastCaught() != 0; });
    dm.disconnectDatabase();

    QTextStream out(stdout);
    int tried = 0;
    for (const rates::RateStatement& s : statements) {
        if (s.outcome.isEmpty())
            continue;
        out << s.shownSql() << '\t' << s.outcome << '\n';
        ++tried;
    }
    if (tried < static_cast<int>(statements.size())) {
        out << QStringLiteral("Przerwano po %1 z %2 wierszy; wczytane stawki (%3) pozostają w bazie.")
                   .arg(tried)
                   .arg(statements.size())
                   .arg(tried - errors)
            << Qt::endl;
        throw Interrupted{};
    }
    // The window's summary breaks its line with LF CR; a terminal wants LF alone.
    out << rates::summaryText(static_cast<int>(statements.size()), errors).remove(QLatin1Char('\r')) << Qt::endl;
    return errors == 0 ? 0 : exitFailure;
}

const Command rateCommands[1] = {{"load-rates", loadRatesUsage, loadRates}};

} // namespace tools
