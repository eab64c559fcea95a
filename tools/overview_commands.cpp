#include "tools/overview_commands.h"

#include <QDir>
#include <QTextStream>

#include <algorithm>

#include "data/dm1.h"
#include "data/office_overview.h"
#include "data/settlement.h"
#include "desktop/signal_catcher.h"
#include "reports/overview_export.h"
#include "reports/printout_batch.h"
#include "text/formats.h"
#include "tools/cli_options.h"

namespace tools {

namespace {

const char* overviewUsage =
    "  brenvald-cli overview --db BAZA --year RRRR [--half I|II] [--tsv | --csv]\n"
    "      drukuje opłatę, próg i brak stawek każdego podatnika za okres\n"
    "      (--csv: dla arkusza kalkulacyjnego, jak „Eksport do CSV”)\n";
const char* pdfAllUsage =
    "  brenvald-cli pdf-all --db BAZA --year RRRR [--half I|II] --dir KATALOG [--register] [--without-purchases]\n"
    "                       [--allow-missing-rates]\n"
    "      zapisuje wykaz zbiorczy i tabelę D (z --register także wykaz zakupów) każdego\n"
    "      podatnika do osobnego pliku PDF w katalogu; podatników bez zakupów pomija,\n"
    "      podatników z brakującymi stawkami (kod 1) także, chyba że podano --allow-missing-rates\n";

} // namespace

QString overviewTable(const data::Overview& o)
{
    QString out;
    QTextStream s(&out);
    s << QStringLiteral("Zestawienie opłat wszystkich podatników: %1 – %2, próg %3\n\n")
             .arg(text::formatDate(o.period.start), text::formatDate(o.period.end), text::formatMoney(o.threshold));
    s << QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8\n")
             .arg(QStringLiteral("Nr"), 5)
             .arg(QStringLiteral("Nazwa skrócona"), -15)
             .arg(QStringLiteral("NIP"), -13)
             .arg(QStringLiteral("Poj."), 4)
             .arg(QStringLiteral("Litry"), 14)
             .arg(QStringLiteral("Tony"), 12)
             .arg(QStringLiteral("Opłata"), 16)
             .arg(QStringLiteral("Status"));
    for (const data::OverviewRow& r : o.rows) {
        const auto filing = o.filing(r);
        s << QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8%9\n")
                 .arg(r.number, 5)
                 .arg(r.shortName, -15)
                 .arg(r.nip, -13)
                 .arg(r.vehicles, 4)
                 .arg(text::formatFloat(QStringLiteral("#,##0.00"), r.litres), 14)
                 .arg(text::formatFloat(QStringLiteral("#,##0.000"), r.tonnes), 12)
                 .arg(r.amountOutOfRange ? QStringLiteral("poza zakresem") : text::formatMoney(r.amount), 16)
                 .arg(o.status(r) + (filing ? QStringLiteral(", ") + data::filingShort(*filing) : QString()))
                 .arg(r.linesWithoutRate > 0 ? QStringLiteral(" (brak stawki)") : QString());
    }
    return out;
}

namespace {

// The overview, read from the snapshot that `snapshot` then holds: the printouts of a run
// read the same picture.
data::Overview overviewOf(Tdm_1& dm, const QMap<QString, QString>& options, data::PeriodChoice& period,
                          std::shared_ptr<data::ReportSnapshot>& snapshot)
{
    period = periodOptions(options);
    dm.connectTo(options.value(QStringLiteral("--db")));
    snapshot = dm.readReportsFromSnapshot();
    return data::computeOverview(dm, period.year,
                                 period.period(), data::yearParameters(dm, period.year));
}

} // namespace

int overview(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--year"), QStringLiteral("--half")},
                                      {QStringLiteral("--tsv"), QStringLiteral("--csv")});
    requireOptions(options, {"--db", "--year"});
    const OutputFormat format = outputFormat(options);
    data::PeriodChoice period;
    Tdm_1 dm;
    std::shared_ptr<data::ReportSnapshot> snapshot;
    const data::Overview o = overviewOf(dm, options, period, snapshot);
    snapshot.reset();
    QTextStream out(stdout);
    if (format == OutputFormat::Tsv)
        out << reports::overviewRecords(o, reports::allRows(o), reports::OverviewFormat::Tsv);
    else if (format == OutputFormat::Csv)
        out << spreadsheetMark << reports::overviewRecords(o, reports::allRows(o), reports::OverviewFormat::Csv);
    else
        out << overviewTable(o);
    out.flush();
    dm.disconnectDatabase();
    return 0;
}

int pdfAll(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--year"), QStringLiteral("--half"),
                                             QStringLiteral("--dir")},
                                      {QStringLiteral("--register"), QStringLiteral("--without-purchases"),
                                       QStringLiteral("--allow-missing-rates")});
    requireOptions(options, {"--db", "--year", "--dir"});
    reports::BatchRequest request;
    request.folder = options.value(QStringLiteral("--dir"));
    request.withRegister = options.contains(QStringLiteral("--register"));
    request.withoutPurchases = options.contains(QStringLiteral("--without-purchases"));
    request.allowMissingRates = options.contains(QStringLiteral("--allow-missing-rates"));
    if (!QDir(request.folder).exists())
        throw BadArguments{QStringLiteral("Nie ma katalogu %1.").arg(request.folder)};
    data::PeriodChoice period;
    Tdm_1 dm;
    std::shared_ptr<data::ReportSnapshot> snapshot;
    const data::Overview o = overviewOf(dm, options, period, snapshot);
    QTextStream out(stdout);
    std::vector<reports::BatchOutcome> outcomes;
    bool stopped = false;
    for (const data::OverviewRow& row : o.rows) {
        // A termination signal stops after the taxpayer at hand: every file is whole.
        if (desktop::SignalCatcher::lastCaught() != 0) {
            stopped = true;
            break;
        }
        const reports::BatchOutcome done = reports::writeTaxpayerPdf(dm, o, row, period.part, request);
        out << row.number << '\t' << row.shortName << '\t';
        switch (done.result) {
        case reports::BatchOutcome::Result::Written:
            out << QStringLiteral("zapisano\t") << done.file;
            break;
        case reports::BatchOutcome::Result::Skipped:
        case reports::BatchOutcome::Result::MissingRates:
            out << QStringLiteral("pominięto\t") << done.reason;
            break;
        case reports::BatchOutcome::Result::Failed:
            out << QStringLiteral("błąd\t") << text::oneLine(done.reason);
            break;
        }
        out << Qt::endl;
        outcomes.push_back(done);
    }
    out << reports::batchSummary(outcomes, stopped) << Qt::endl;
    snapshot.reset();
    dm.disconnectDatabase();
    if (stopped)
        throw Interrupted{};
    const bool failed = std::any_of(outcomes.begin(), outcomes.end(), [](const reports::BatchOutcome& d) {
        return d.result == reports::BatchOutcome::Result::Failed || d.result == reports::BatchOutcome::Result::MissingRates;
    });
    return failed ? exitFailure : 0;
}

const Command overviewCommands[2] = {{"overview", overviewUsage, overview}, {"pdf-all", pdfAllUsage, pdfAll}};

} // namespace tools
