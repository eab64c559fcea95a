// brenvald-cli: creates the delivered database, prints settlements, imports and loads rates, for installers,
// accounting offices' scripts and tests.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <QLoggingCategory>

#include <cstdio>
#include <memory>
#include <span>
#include <vector>

#include "data/dm1.h"
#include "data/engine.h"
#include "data/field_names.h"
#include "data/reference_data.h"
#include "desktop/signal_catcher.h"
#include "desktop/stop_request.h"
#include "report/form_font.h"
#include "report/pdf.h"
#include "reports/report_subject.h"
#include "reports/report_set.h"
#include "reports/settlement_export.h"
#include "data/settlement.h"
#include "text/formats.h"
#include "tools/backup_commands.h"
#include "tools/cli_options.h"
#include "tools/import_commands.h"
#include "tools/invoice_commands.h"
#include "tools/overview_commands.h"
#include "tools/rate_commands.h"
#include "tools/settle_report.h"

using namespace tools;

namespace {

const char* generalUsage =
    "Użycie:\n"
    "  brenvald-cli --help | --version\n"
    "  brenvald-cli POLECENIE --help\n"
    "  brenvald-cli [--debug] POLECENIE OPCJE...\n"
    "      --debug: komunikaty diagnostyczne programu na standardowe wyjście błędów\n"
    "\n"
    "Polecenia:\n";
const char* initdbUsage =
    "  brenvald-cli initdb PLIK\n"
    "      tworzy bazę danych z tablicami wzorcowymi (nie nadpisuje istniejącego pliku)\n";
const char* settleUsage =
    "  brenvald-cli settle --db BAZA --taxpayer NAZWA_SKRÓCONA --year RRRR [--half I|II] [--tsv | --csv]\n"
    "      drukuje rozliczenie opłaty podatnika za okres (--half do roku 2012 włącznie)\n";
const char* pdfUsage =
    "  brenvald-cli pdf --db BAZA --taxpayer NAZWA_SKRÓCONA --year RRRR [--half I|II]\n"
    "                   --report statements|register --out PLIK.pdf [--allow-missing-rates]\n"
    "      zapisuje do jednego pliku PDF wykaz zbiorczy i tabelę D (statements)\n"
    "      albo wykaz zakupów paliw (register); wykazów z brakującymi stawkami\n"
    "      (zaniżona opłata) nie zapisuje bez --allow-missing-rates\n";

int initdb(const QStringList& args)
{
    if (args.contains(QStringLiteral("--help")))
        throw HelpAsked{};
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-')))
        throw BadArguments{QStringLiteral("Polecenie initdb wymaga jednej nazwy pliku.")};
    data::createDeliveredDatabase(args.first(), [] { return desktop::SignalCatcher::lastCaught() != 0; });
    QTextStream(stdout) << QStringLiteral("Utworzono bazę danych %1.").arg(args.first()) << Qt::endl;
    return 0;
}

// Connects the data module to the database; false (with the message printed) when the
// taxpayer is not in it.
bool connectForTaxpayer(Tdm_1& dm, const QString& database, const QString& taxpayer)
{
    dm.connectTo(database);
    const bool known = dm.taxpayerExists(taxpayer);
    if (!known)
        printError(QStringLiteral("Nie ma podatnika o nazwie skróconej „%1”.").arg(taxpayer));
    return known;
}

void printLinesWithoutRate(const data::Settlement& s)
{
    for (const data::SettlementLine* missing : s.linesWithoutRate())
        printError(QStringLiteral("Uwaga: brak stawki opłaty dla pojazdu %1, rodzaj %2, paliwo %3, rok %4.")
                       .arg(missing->registration).arg(missing->vehicleType).arg(missing->fuel).arg(s.year));
}

int settle(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--taxpayer"), QStringLiteral("--year"),
                                             QStringLiteral("--half")},
                                      {QStringLiteral("--tsv"), QStringLiteral("--csv")});
    requireOptions(options, {"--db", "--taxpayer", "--year"});
    const OutputFormat format = outputFormat(options);
    const data::PeriodChoice period = periodOptions(options);
    const QString taxpayer = options.value(QStringLiteral("--taxpayer"));

    Tdm_1 dm;
    if (!connectForTaxpayer(dm, options.value(QStringLiteral("--db")), taxpayer))
        return exitFailure;
    const auto parameters = data::yearParameters(dm, period.year);
    const auto settlement = data::computeSettlement(dm, taxpayer, period.year,
                                                       period.period(), parameters);
    QTextStream out(stdout);
    if (format == OutputFormat::Tsv) {
        out << tools::settlementTsv(settlement);
        printLinesWithoutRate(settlement);
    } else if (format == OutputFormat::Csv) {
        out << spreadsheetMark << reports::settlementCsv(settlement, period.part);
        printLinesWithoutRate(settlement);
    } else {
        out << tools::settlementTable(settlement, period.part);
    }
    out.flush();
    dm.disconnectDatabase();
    return 0;
}

// The statements or the purchase register of a settlement, as the settlement window prints
// them, into one PDF file.
int pdf(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--taxpayer"), QStringLiteral("--year"),
                                             QStringLiteral("--half"), QStringLiteral("--report"), QStringLiteral("--out")},
                                      {QStringLiteral("--allow-missing-rates")});
    requireOptions(options, {"--db", "--taxpayer", "--year", "--report", "--out"});
    const data::PeriodChoice period = periodOptions(options);
    const QString which = options.value(QStringLiteral("--report"));
    if (which != QStringLiteral("statements") && which != QStringLiteral("register"))
        throw BadArguments{QStringLiteral("Raport to statements albo register, a nie „%1”.").arg(which)};
    const QString out = options.value(QStringLiteral("--out"));
    if (out.isEmpty())
        throw BadArguments{QStringLiteral("Podaj nazwę pliku PDF w opcji --out.")};
    const QString taxpayer = options.value(QStringLiteral("--taxpayer"));

    Tdm_1 dm;
    if (!connectForTaxpayer(dm, options.value(QStringLiteral("--db")), taxpayer))
        return exitFailure;
    // The amounts and the lines of the file come from one picture of the database.
    auto snapshot = dm.readReportsFromSnapshot(true);
    const auto settlement = data::computeSettlement(dm, taxpayer, period.year,
                                                       period.period(),
                                                       data::yearParameters(dm, period.year));
    // Statements whose fee lacks rates would file too little: only when asked for.
    if (which == QStringLiteral("statements") && !settlement.missingRatesWarning().isEmpty()
        && !options.contains(QStringLiteral("--allow-missing-rates"))) {
        printError(settlement.missingRatesWarning()
                   + QStringLiteral(" Uzupełnij stawki albo podaj --allow-missing-rates, aby zapisać plik mimo to."));
        return exitFailure;
    }
    printLinesWithoutRate(settlement);
    data::PeriodChoice chosen = period;
    chosen.taxpayer = taxpayer;
    const reports::ReportSubject subject(chosen, settlement, true);
    report::PdfOutcome written;
    {
        const auto windows = reports::createReports(dm, subject, which == QStringLiteral("register")
                                                                     ? reports::ReportChoice::PurchaseRegister
                                                                     : reports::ReportChoice::Statements);
        std::vector<report::ReportPrinter*> printers;
        for (const auto& w : windows)
            printers.push_back(&w->raport().prepare());
        // A termination signal stops the writing between pages.
        written = report::writePdf(printers, out, [] { return desktop::SignalCatcher::lastCaught() != 0; });
    }
    snapshot.reset();
    dm.disconnectDatabase();
    if (written.stopped)
        throw Interrupted{};
    if (!written) {
        printError(written.error);
        return exitFailure;
    }
    QTextStream(stdout) << QStringLiteral("Zapisano %1 (stron: %2).").arg(out).arg(written.pages) << Qt::endl;
    return 0;
}

const Command ownCommands[] = {{"initdb", initdbUsage, initdb}, {"settle", settleUsage, settle}, {"pdf", pdfUsage, pdf}};

std::vector<Command> allCommands()
{
    std::vector<Command> all;
    for (const auto& group : {std::span<const Command>(ownCommands), std::span<const Command>(importCommands),
                              std::span<const Command>(invoiceCommands),
                              std::span<const Command>(rateCommands), std::span<const Command>(backupCommands),
                              std::span<const Command>(overviewCommands)})
        all.insert(all.end(), group.begin(), group.end());
    return all;
}

void printUsage(std::FILE* to, const Command* command)
{
    if (command) {
        std::fputs("Użycie:\n", to);
        std::fputs(command->usage, to);
        return;
    }
    std::fputs(generalUsage, to);
    for (const Command& c : allCommands())
        std::fputs(c.usage, to);
}

int runCommand(QStringList args)
{
    const Command* command = nullptr;
    const std::vector<Command> commands = allCommands();
    try {
        if (args.isEmpty())
            throw BadArguments{QStringLiteral("Nie podano polecenia.")};
        const QString name = args.takeFirst();
        if (name == QStringLiteral("--help") || name == QStringLiteral("help"))
            throw HelpAsked{};
        if (name == QStringLiteral("--version")) {
            QTextStream(stdout) << QStringLiteral("brenvald-cli %1").arg(QCoreApplication::applicationVersion()) << Qt::endl;
            return 0;
        }
        for (const Command& c : commands)
            if (name == QLatin1String(c.name))
                command = &c;
        if (!command)
            throw BadArguments{QStringLiteral("Nieznane polecenie: %1").arg(name)};
        return command->run(args);
    } catch (const HelpAsked&) {
        printUsage(stdout, command);
        return 0;
    } catch (const Interrupted&) {
        printError(QStringLiteral("Przerwano."));
        return exitOnSignal + desktop::SignalCatcher::lastCaught();
    } catch (const desktop::WorkStopped&) {
        printError(QStringLiteral("Przerwano; nie zostało nic z przerwanej pracy."));
        return exitOnSignal + desktop::SignalCatcher::lastCaught();
    } catch (const BadArguments& e) {
        printError(e.message);
        printUsage(stderr, command);
        return exitBadArguments;
    } catch (const std::exception& e) {
        // The details (the statement, the engine's codes) go to the log, which --debug shows;
        // the user reads the failure once, in Polish.
        data::logFailure(e);
        printError(QStringLiteral("Błąd: %1").arg(QString::fromUtf8(e.what())));
        return exitFailure;
    }
}

// The program's log lines (what it recomputes, the details of a failure already said in
// Polish) are for diagnosis: shown with --debug (or QT_LOGGING_RULES), not on a normal run.
void keepLogQuietUnless(bool debug)
{
    if (!debug)
        QLoggingCategory::setFilterRules(QStringLiteral("brenvald.*.debug=false\nbrenvald.*.info=false\n"
                                                        "brenvald.failure.warning=false\nbrenvald.database.warning=false"));
}

} // namespace

int main(int argc, char* argv[])
{
    // Before any thread starts: the termination signals are taken by the catcher alone.
    desktop::SignalCatcher::holdBack();
    // The pdf command lays texts out in their fonts, which takes a GUI application; it shows
    // no window, so it needs no display.
    const int commandAt = argc > 1 && qstrcmp(argv[1], "--debug") == 0 ? 2 : 1;
    const bool needsFonts = argc > commandAt && (qstrcmp(argv[commandAt], "pdf") == 0 || qstrcmp(argv[commandAt], "pdf-all") == 0);
    if (needsFonts && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        needsFonts ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    if (needsFonts)
        report::warnOnFormFontProblem();
    QCoreApplication::setApplicationName(QStringLiteral("brenvald-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRENVALD_VERSION));
    text::applyProgramFormats();
    QStringList args = app->arguments().mid(1);
    const bool debug = !args.isEmpty() && args.first() == QStringLiteral("--debug");
    if (debug)
        args.removeFirst();
    keepLogQuietUnless(debug);
    // SIGTERM, SIGINT and SIGHUP end a long command at its next stopping point, with the
    // database detached and no part of a file left, rather than at once; a short one finishes.
    const desktop::SignalCatcher interruptions;
    const int code = runCommand(args);
    data::endProcess(code);
}
