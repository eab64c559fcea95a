// The office overview of 1 000 taxpayers at 100 000 and 1 000 000 purchases in a year (or the
// counts given as arguments): the overview through our code against its own two queries
// fetched bare through the client library and against a plain scan of the year's purchases,
// with the engine's default page cache and with the cache the program sizes to the grown
// database; at the first count, every taxpayer's statements written as PDF files, with peak memory.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

#include "bench_database.h"
#include "data/dm1.h"
#include "data/office_overview.h"
#include "firebird/statement.h"
#include "office_database.h"
#include "reports/printout_batch.h"
#include "text/formats.h"

namespace {

constexpr int repeats = 5;

// The overview, its own SQL and the plain scan, each the median of `repeats` runs; prints a
// line of them and returns the overview.
data::Overview timeOverview(QTextStream& out, Tdm_1& dm, const bench::Office& office)
{
    const data::Period period = data::settlementPeriod(office.year, 0);
    const data::YearParameters parameters = data::yearParameters(dm, office.year);
    std::vector<double> ours, bare, scan;
    data::Overview o;
    // Fetches every row and column; typed parameters: string literals would cost their
    // conversion on every row.
    const auto fetchAll = [&](const QString& sql) {
        QElapsedTimer t;
        t.start();
        fb::Statement q(dm.db_opl, dm.tr_opl, sql);
        if (!q.paramNames().isEmpty()) {
            q.setParam(QStringLiteral("dpocz"), period.start);
            q.setParam(QStringLiteral("dkon"), period.end);
        }
        q.execute();
        while (q.fetch())
            for (int c = 0; c < q.columnCount(); ++c)
                q.value(c);
        return t.nsecsElapsed() / 1e6;
    };
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer t;
        t.start();
        o = data::computeOverview(dm, office.year, period, parameters);
        ours.push_back(t.nsecsElapsed() / 1e6);
        bare.push_back(fetchAll(data::overviewTaxpayersSql()) + fetchAll(data::overviewSql()));
        scan.push_back(fetchAll(QStringLiteral("select count(*), sum(IL_ZAK) from ZAK_PAL where D_ZAK between :dpocz and :dkon")));
    }
    const double our = bench::median(ours), own = bench::median(bare), floor = bench::median(scan);
    out << dm.db_opl.pageBuffers() << '\t' << QString::number(our, 'f', 1) << '\t' << QString::number(own, 'f', 1) << '\t'
        << QString::number(floor, 'f', 1) << '\t' << QString::number(our / own, 'f', 2) << '\t'
        << QString::number(our / floor, 'f', 2) << '\t' << o.rows.size() << '\t' << text::formatMoney(o.amount()) << '\n';
    out.flush();
    return o;
}

void measure(QTextStream& out, int purchases, bool writeFiles)
{
    const bench::Office office{bench::OfficeShape::ManySmallTaxpayers, purchases};
    Tdm_1 dm;
    const QString path = bench::freshDeliveredDatabase();
    dm.connectTo(path);
    bench::fillOffice(dm.db_opl, dm.tr_opl, office);
    out << "Zestawienie opłat: " << office.description() << " (mediana z " << repeats << " przebiegów)\n";
    out << "pamięć podręczna [stron]\tnasze zestawienie [ms]\tjego SQL [ms]\tprzegląd ZAK_PAL [ms]\tnasze / SQL\t"
           "nasze / przegląd\tpodatników\tsuma opłat\n";
    timeOverview(out, dm, office); // the engine's default cache: the database was opened while small
    dm.disconnectDatabase();
    dm.connectTo(path); // as the program opens a grown database: the page cache sized to it
    const data::Overview o = timeOverview(out, dm, office);
    out << '\n';

    if (writeFiles) {
        // Every taxpayer's statements, one file each, as pdf-all writes them.
        QTemporaryDir folder;
        reports::BatchRequest request;
        request.folder = folder.path();
        bench::resetPeakMemory();
        QElapsedTimer t;
        t.start();
        int written = 0;
        double peakAfter100 = 0;
        for (const data::OverviewRow& row : o.rows) {
            written += reports::writeTaxpayerPdf(dm, o, row, 0, request).result == reports::BatchOutcome::Result::Written;
            if (written == 100)
                peakAfter100 = bench::peakMemoryMiB();
        }
        out << "pliki PDF zestawień wszystkich podatników: " << written << " plików w "
            << QString::number(t.elapsed() / 1000.0, 'f', 1) << " s; szczyt pamięci po 100 plikach "
            << QString::number(peakAfter100, 'f', 0) << " MiB, po wszystkich " << QString::number(bench::peakMemoryMiB(), 'f', 0)
            << " MiB\n\n";
    }
    dm.disconnectDatabase();
}

} // namespace

int main(int argc, char* argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);
    const std::vector<int> sizes = bench::countsFromArguments(app.arguments(), {100000, 1000000});
    for (size_t i = 0; i < sizes.size(); ++i)
        measure(out, sizes[i], i == 0); // every taxpayer's files once: at a million they only take longer
    out << "szczyt pamięci całego przebiegu: " << QString::number(bench::wholeRunPeakMemoryMiB(), 'f', 0) << " MiB\n";
    return 0;
}
