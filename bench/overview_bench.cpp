// The office overview of 1 000 taxpayers with 100 purchases each in a year (100 000
// purchases): the overview through our code against its grouped query fetched bare through
// the client library, and every taxpayer's statements written as PDF files, with peak memory.
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


} // namespace

int main(int argc, char* argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);

    const bench::Office office{bench::OfficeShape::ManySmallTaxpayers, 100000};
    Tdm_1 dm;
    dm_1 = &dm;
    dm.connectTo(bench::freshDeliveredDatabase());
    bench::fillOffice(dm.db_opl, dm.tr_opl, office);
    const data::Period period = data::settlementPeriod(office.year, 0);
    const data::YearParameters parameters = data::yearParameters(dm, office.year);

    std::vector<double> ours, bare;
    data::Overview o;
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer t;
        t.start();
        o = data::computeOverview(dm, office.year, period, parameters);
        ours.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        fb::Statement q(dm.db_opl, dm.tr_opl, data::overviewSql());
        q.setParam(QStringLiteral("dpocz"), period.start);
        q.setParam(QStringLiteral("dkon"), period.end);
        q.execute();
        while (q.fetch())
            for (int c = 0; c < q.columnCount(); ++c)
                q.value(c);
        bare.push_back(t.nsecsElapsed() / 1e6);
    }
    out << "Zestawienie opłat: " << office.description() << " (mediana z " << repeats << " przebiegów)\n";
    out << "nasze zestawienie [ms]\tgołe zapytanie [ms]\tstosunek\tpodatników\tsuma opłat\n";
    out << QString::number(bench::median(ours), 'f', 1) << '\t' << QString::number(bench::median(bare), 'f', 1) << '\t'
        << QString::number(bench::median(ours) / bench::median(bare), 'f', 2) << '\t' << o.rows.size() << '\t'
        << text::formatMoney(o.amount()) << "\n\n";
    out.flush();

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
    out << "pliki PDF zestawień wszystkich podatników: " << written << " plików w " << QString::number(t.elapsed() / 1000.0, 'f', 1)
        << " s; szczyt pamięci po 100 plikach " << QString::number(peakAfter100, 'f', 0) << " MiB, po wszystkich "
        << QString::number(bench::peakMemoryMiB(), 'f', 0) << " MiB\n";
    dm.disconnectDatabase();
    dm_1 = nullptr;
    return 0;
}
