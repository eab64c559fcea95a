// An office's scale: one taxpayer with every purchase, and 1 000 small taxpayers, at 100 000
// and 1 000 000 purchases in a year. For the settlement, the statements and the register
// written as PDF and the first preview page it prints our time, the floor (a plain scan of
// the purchases; for one taxpayer among many, that taxpayer's purchases of the year read
// through the indexes), their ratio and the peak resident memory; first with the engine's
// default page cache, then reopened as the program opens a grown database, with a cache sized
// to it. The statement's figures summed from the settlement's lines are checked against their
// own query. Then a year among five years of purchases (a fifth of each count a year) against
// the same year alone.
// Usage: scale_bench [PURCHASES...]   (default: 100000 1000000)
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

#include "bench_database.h"
#include "preview_timing.h"
#include "data/dm1.h"
#include "data/field_names.h"
#include "data/settlement.h"
#include "firebird/statement.h"
#include "office_database.h"
#include "report/pdf.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "reports/report_subject.h"
#include "reports/report_set.h"
#include "text/formats.h"

namespace {

constexpr int repeats = 3;

double msSince(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

// The median time of `repeats` runs of `work`, in milliseconds.
double medianMs(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(msSince(t));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs a query and reads every value of every row.
void readAll(fb::Statement& st)
{
    st.execute();
    while (st.fetch())
        for (int c = 0; c < st.columnCount(); ++c)
            st.value(c);
}

void readAll(Tdm_1& dm, const QString& sql, const std::function<void(fb::Statement&)>& bind = {})
{
    fb::Statement st(dm.db_opl, dm.tr_opl, sql);
    if (bind)
        bind(st);
    readAll(st);
}

// The register's own SQL fetched bare: its lines, and the purchases of each line.
void readRegisterSql(Tdm_1& dm, const QString& taxpayer, const data::Period& period)
{
    fb::Statement lines(dm.db_opl, dm.tr_opl, dm.IBQ_rozl_w.selectSql());
    lines.setParam(data::par::naz, taxpayer);
    lines.setParam(data::par::dpocz, period.start);
    lines.setParam(data::par::dkon, period.end);
    lines.execute();
    std::vector<std::pair<QVariant, QVariant>> keys;
    while (lines.fetch())
        keys.emplace_back(lines.value(lines.columnIndex(data::col::NR_RODZ_SILN)),
                          lines.value(lines.columnIndex(data::col::NR_RODZ_PAL)));
    fb::Statement purchases(dm.db_opl, dm.tr_opl, dm.IBQ_rozl_w1.selectSql());
    for (const auto& [type, fuel] : keys) {
        purchases.setParam(data::par::naz, taxpayer);
        purchases.setParam(data::par::dpocz, period.start);
        purchases.setParam(data::par::dkon, period.end);
        purchases.setParam(data::par::nr_rodz_siln, type);
        purchases.setParam(data::par::nr_rodz_pal, fuel);
        readAll(purchases);
    }
}

// The median time of counting a period's purchases through the date index.
double countingMs(Tdm_1& dm, const data::Period& period)
{
    return medianMs([&] {
        readAll(dm, QStringLiteral("select count(*) from ZAK_PAL where D_ZAK between :a and :b"), [&](fb::Statement& st) {
            st.setParam(QStringLiteral("a"), period.start);
            st.setParam(QStringLiteral("b"), period.end);
        });
    });
}

struct Written {
    double ms = 0;
    double peakMiB = 0;
    int pages = 0;
};

Written writePdf(Tdm_1& dm, const reports::ReportSubject& in, reports::ReportChoice choice, const QString& file)
{
    Written w;
    bench::resetPeakMemory();
    QElapsedTimer t;
    t.start();
    {
        auto windows = reports::createReports(dm, in, choice);
        std::vector<report::ReportPrinter*> printers;
        for (auto& window : windows)
            printers.push_back(&window->raport().prepare());
        const report::PdfOutcome outcome = report::writePdf(printers, file);
        if (!outcome)
            qFatal("%s", qPrintable(outcome.error));
        w.pages = outcome.pages;
    }
    w.ms = msSince(t);
    w.peakMiB = bench::peakMemoryMiB();
    return w;
}

QString number(double v, int decimals = 1)
{
    return QString::number(v, 'f', decimals);
}

// The statement's figures (type, fuel, tonnes shown, rate and fee in grosze) of every fuel of
// every type, summed from the settlement's lines or, without one, read by their own query.
QList<QVariantList> statementFigures(Tdm_1& dm, const QString& taxpayer, int year, const data::Period& period,
                                     const data::Settlement* settlement)
{
    const ds::OpenedDatasets opened = dm.openStatement(taxpayer, year, period, settlement);
    QList<QVariantList> all;
    for (dm.IBQ_sil_w.first(); !dm.IBQ_sil_w.eof(); dm.IBQ_sil_w.next())
        for (dm.IBQ_opl_w.first(); !dm.IBQ_opl_w.eof(); dm.IBQ_opl_w.next())
            all << QVariantList{dm.IBQ_opl_w.value(data::col::NR_SILN), dm.IBQ_opl_w.value(data::col::NR_PALIWA),
                                dm.IBQ_opl_w.fieldByName(data::calc::zuz).displayText(),
                                dm.IBQ_opl_w.fieldByName(data::calc::staw).asMoney().units(),
                                dm.IBQ_opl_w.fieldByName(data::calc::wart).asMoney().units()};
    return all;
}

struct Case {
    const bench::Office& office;
    QString taxpayer;
    data::Period period;
    double floor = 0;
    QString folder;
};

void measureReports(QTextStream& out, Tdm_1& dm, const Case& c)
{
    out << "operacja\tnasz czas [ms]\tpodłoga [ms]\tstosunek\tszczyt pamięci [MiB]\tuwagi\n";
    data::Settlement s;
    bench::resetPeakMemory();
    const double settle = medianMs([&] {
        s = data::computeSettlement(dm, c.taxpayer, c.office.year, c.period, data::yearParameters(dm, c.office.year));
    });
    out << "rozliczenie\t" << number(settle) << '\t' << number(c.floor) << '\t' << number(settle / c.floor, 2) << '\t'
        << number(bench::peakMemoryMiB(), 0) << '\t' << s.lines.size() << " linii, kwota " << text::formatMoney(s.amount)
        << '\n';

    // A year without purchases costs what counting its rows costs, not a pass over all purchases.
    const data::Period empty = data::settlementPeriod(c.office.year + 1, 0);
    const double emptyCount = countingMs(dm, empty);
    const double emptySettle = medianMs([&] {
        data::computeSettlement(dm, c.taxpayer, c.office.year + 1, empty, data::yearParameters(dm, c.office.year + 1));
    });
    out << "rozliczenie roku bez zakupów\t" << number(emptySettle) << '\t' << number(emptyCount) << " (liczenie jego wierszy)\t"
        << number(emptySettle / std::max(0.001, emptyCount), 2) << "\t\t\n";

    const reports::ReportSubject in(s, 0);
    const Written statements = writePdf(dm, in, reports::ReportChoice::Statements, c.folder + QStringLiteral("/zest.pdf"));
    out << "zestawienia PDF z linii rozliczenia\t" << number(statements.ms) << '\t' << number(c.floor) << '\t'
        << number(statements.ms / c.floor, 2) << '\t' << number(statements.peakMiB, 0) << '\t' << statements.pages
        << " stron\n";
    // What the command line and "print all" do: the settlement, then its statements.
    QElapsedTimer whole;
    whole.start();
    const data::Settlement again = data::computeSettlement(dm, c.taxpayer, c.office.year, c.period, data::yearParameters(dm, c.office.year));
    writePdf(dm, reports::ReportSubject(again, 0), reports::ReportChoice::Statements, c.folder + QStringLiteral("/zest2.pdf"));
    const double flow = msSince(whole);
    out << "rozliczenie + zestawienia PDF\t" << number(flow) << '\t' << number(settle) << " (rozliczenie)\t"
        << number(flow / settle, 2) << "\t\t\n";

    const double registerSql = medianMs([&] { readRegisterSql(dm, c.taxpayer, c.period); });
    const Written purchases = writePdf(dm, in, reports::ReportChoice::PurchaseRegister, c.folder + QStringLiteral("/wykaz.pdf"));
    out << "wykaz zakupów PDF\t" << number(purchases.ms) << '\t' << number(registerSql) << " (jego SQL)\t"
        << number(purchases.ms / registerSql, 2) << '\t' << number(purchases.peakMiB, 0) << '\t' << purchases.pages
        << " stron\n";

    for (const auto& [name, choice] : {std::pair{"pierwsza strona podglądu zestawień", reports::ReportChoice::Statements},
                                       std::pair{"pierwsza strona podglądu wykazu", reports::ReportChoice::PurchaseRegister}}) {
        bench::resetPeakMemory();
        std::vector<double> times;
        for (int r = 0; r < repeats; ++r)
            times.push_back(bench::firstPreviewPageMs(dm, in, choice));
        std::sort(times.begin(), times.end());
        out << name << '\t' << number(times[times.size() / 2]) << '\t' << number(settle) << " (rozliczenie)\t"
            << number(times[times.size() / 2] / settle, 2) << '\t' << number(bench::peakMemoryMiB(), 0) << '\n';
    }
}

void measure(QTextStream& out, const bench::Office& office, const QString& folder)
{
    Tdm_1 dm;
    const QString path = bench::freshDeliveredDatabase();
    dm.connectTo(path);
    QElapsedTimer filling;
    filling.start();
    bench::fillOffice(dm.db_opl, dm.tr_opl, office);
    dm.ibds_pal.open();
    dm.IBDS_siln.open();
    Case c{office, office.shortName(office.measuredTaxpayer()), data::settlementPeriod(office.year, 0), 0, folder};
    out << "\n== " << office.description() << " (wypełnienie " << number(msSince(filling) / 1000, 1) << " s), podatnik "
        << c.taxpayer << " ==\n";

    // Typed parameters: string literals would cost their conversion on every row.
    const auto wholeYear = [&](fb::Statement& st) {
        st.setParam(QStringLiteral("a"), c.period.start);
        st.setParam(QStringLiteral("b"), c.period.end);
    };
    const double scan = medianMs([&] {
        readAll(dm, QStringLiteral("select count(*), sum(IL_ZAK) from ZAK_PAL where D_ZAK between :a and :b"), wholeYear);
    });
    const double ownRows = medianMs([&] {
        readAll(dm, QStringLiteral("select count(*), sum(z.IL_ZAK) from ZAK_PAL z join SAM s on s.NR_REJ = z.NR_REJ "
                                   "where s.NR_POD = :t and z.D_ZAK between :a and :b"),
                [&](fb::Statement& st) {
                    st.setParam(QStringLiteral("t"), office.measuredTaxpayer());
                    wholeYear(st);
                });
    });
    c.floor = office.shape == bench::OfficeShape::OneLargeTaxpayer ? scan : ownRows;
    out << "podłoga: przegląd ZAK_PAL " << number(scan) << " ms, zakupy podatnika przez indeks " << number(ownRows)
        << " ms\n";

    {
        const data::Settlement s = data::computeSettlement(dm, c.taxpayer, office.year, c.period, data::yearParameters(dm, office.year));
        const auto fromLines = statementFigures(dm, c.taxpayer, office.year, c.period, &s);
        const auto ownQuery = statementFigures(dm, c.taxpayer, office.year, c.period, nullptr);
        int differing = 0;
        for (int i = 0; i < std::min(fromLines.size(), ownQuery.size()); ++i)
            differing += fromLines[i] != ownQuery[i];
        out << "linie zestawienia z linii rozliczenia a z własnego zapytania: " << fromLines.size() << " i " << ownQuery.size()
            << " linii, różnych w tonach lub groszach: " << differing << '\n';
    }

    out << "-- pamięć podręczna stron domyślna (" << dm.db_opl.pageBuffers() << " stron)\n";
    measureReports(out, dm, c);
    dm.disconnectDatabase();
    dm.connectTo(path); // as the program opens a database that has grown
    dm.ibds_pal.open();
    dm.IBDS_siln.open();
    out << "-- pamięć podręczna stron według rozmiaru bazy (" << dm.db_opl.pageBuffers() << " stron)\n";
    measureReports(out, dm, c);
    out.flush();
    dm.disconnectDatabase();
}

// A year among five years of purchases against the same year alone: the settlement follows
// the year's purchases, not all of them, and a year without purchases costs what counting its
// rows costs.
void measureYears(QTextStream& out, int perYear)
{
    const bench::Office alone{bench::OfficeShape::OneLargeTaxpayer, perYear, 2024, 1};
    const bench::Office five{bench::OfficeShape::OneLargeTaxpayer, perYear * 5, 2026, 5};
    const int year = 2024;
    const QString taxpayer = alone.shortName(alone.measuredTaxpayer());
    // The median settlement of `settled` in the office's database, and the last one made.
    const auto settling = [&](Tdm_1& dm, int settled, data::Settlement& s) {
        return medianMs([&] {
            s = data::computeSettlement(dm, taxpayer, settled, data::settlementPeriod(settled, 0), data::yearParameters(dm, settled));
        });
    };
    out << "\n== rok wśród pięciu lat zakupów: " << five.description() << " ==\n";
    data::Settlement s;
    Tdm_1 dm;
    dm.connectTo(bench::officeDatabaseFile(alone));
    const double settleAlone = settling(dm, year, s);
    out << "rozliczenie roku " << year << " w bazie jednego roku\t" << number(settleAlone) << " ms, " << s.lines.size()
        << " linii, kwota " << text::formatMoney(s.amount) << '\n';
    dm.disconnectDatabase();

    dm.connectTo(bench::officeDatabaseFile(five));
    const double settle = settling(dm, year, s);
    out << "rozliczenie roku " << year << " w bazie pięciu lat\t" << number(settle) << " ms, stosunek "
        << number(settle / settleAlone, 2) << ", kwota " << text::formatMoney(s.amount) << '\n';
    const double count = countingMs(dm, data::settlementPeriod(five.year + 1, 0));
    const double emptySettle = settling(dm, five.year + 1, s);
    out << "rozliczenie roku bez zakupów w bazie pięciu lat\t" << number(emptySettle, 2) << " ms, liczenie jego wierszy "
        << number(count, 2) << " ms\n";
    dm.disconnectDatabase();
    out.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);
    const std::vector<int> sizes = bench::countsFromArguments(app.arguments(), {100000, 1000000});
    QTemporaryDir folder;
    out << "Skala biura (czasy: mediana z " << repeats << " przebiegów; PDF: jeden przebieg)\n";
    for (int purchases : sizes)
        for (bench::OfficeShape shape : {bench::OfficeShape::OneLargeTaxpayer, bench::OfficeShape::ManySmallTaxpayers})
            measure(out, bench::Office{shape, purchases}, folder.path());
    for (int purchases : sizes)
        measureYears(out, purchases / 5);
    out << "\nszczyt pamięci całego przebiegu: " << number(bench::wholeRunPeakMemoryMiB(), 0)
        << " MiB (/usr/bin/time podaje mniej: liczniki szczytu są zerowane przed każdym pomiarem)\n";
    return 0;
}
