// An office's scale: one taxpayer with every purchase, and 1 000 small taxpayers, at 100 000
// and 1 000 000 purchases in a year. For the settlement, the statements and the register
// written as PDF and the first preview page it prints our time, the floor (a plain scan of
// the purchases; for one taxpayer among many, that taxpayer's purchases of the year read
// through the indexes), their ratio and the peak resident memory.
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
#include "reports/fixed_report_inputs.h"
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

struct Written {
    double ms = 0;
    double peakMiB = 0;
    int pages = 0;
};

Written writePdf(Tdm_1& dm, const reports::ReportInputs& in, reports::ReportChoice choice, const QString& file)
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

void measure(QTextStream& out, const bench::Office& office, const QString& folder)
{
    Tdm_1 dm;
    dm_1 = &dm;
    dm.connectTo(bench::freshDeliveredDatabase());
    QElapsedTimer filling;
    filling.start();
    bench::fillOffice(dm.db_opl, dm.tr_opl, office);
    dm.ibds_pal.open();
    dm.IBDS_siln.open();
    const QString taxpayer = office.shortName(office.measuredTaxpayer());
    const data::Period period = data::settlementPeriod(office.year, 0);
    out << "\n== " << office.description() << " (wypełnienie " << number(msSince(filling) / 1000, 1) << " s), podatnik "
        << taxpayer << " ==\n";

    const double scan = medianMs([&] { readAll(dm, QStringLiteral("select count(*), sum(IL_ZAK) from ZAK_PAL")); });
    const double ownRows = medianMs([&] {
        readAll(dm, QStringLiteral("select count(*), sum(z.IL_ZAK) from ZAK_PAL z join SAM s on s.NR_REJ = z.NR_REJ "
                                   "where s.NR_POD = :t and z.D_ZAK between :a and :b"),
                [&](fb::Statement& st) {
                    st.setParam(QStringLiteral("t"), office.measuredTaxpayer());
                    st.setParam(QStringLiteral("a"), period.start);
                    st.setParam(QStringLiteral("b"), period.end);
                });
    });
    const double floor = office.shape == bench::OfficeShape::OneLargeTaxpayer ? scan : ownRows;
    out << "podłoga: przegląd ZAK_PAL " << number(scan) << " ms, zakupy podatnika przez indeks " << number(ownRows)
        << " ms\n";
    out << "operacja\tnasz czas [ms]\tpodłoga [ms]\tstosunek\tszczyt pamięci [MiB]\tuwagi\n";

    data::Settlement s;
    bench::resetPeakMemory();
    const double settle = medianMs([&] {
        s = data::computeSettlement(dm, taxpayer, office.year, period, data::yearParameters(dm, office.year));
    });
    out << "rozliczenie\t" << number(settle) << '\t' << number(floor) << '\t' << number(settle / floor, 2) << '\t'
        << number(bench::peakMemoryMiB(), 0) << '\t' << s.lines.size() << " linii, kwota " << text::formatMoney(s.amount)
        << '\n';

    const reports::FixedReportInputs in(s, 0);
    const Written statements = writePdf(dm, in, reports::ReportChoice::Statements, folder + QStringLiteral("/zest.pdf"));
    out << "zestawienia PDF\t" << number(statements.ms) << '\t' << number(floor) << '\t'
        << number(statements.ms / floor, 2) << '\t' << number(statements.peakMiB, 0) << '\t' << statements.pages
        << " stron\n";

    const double registerSql = medianMs([&] { readRegisterSql(dm, taxpayer, period); });
    const Written purchases = writePdf(dm, in, reports::ReportChoice::PurchaseRegister, folder + QStringLiteral("/wykaz.pdf"));
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
        out << name << '\t' << number(times[times.size() / 2]) << '\t' << number(floor) << '\t'
            << number(times[times.size() / 2] / floor, 2) << '\t' << number(bench::peakMemoryMiB(), 0) << '\n';
    }
    out.flush();
    dm.disconnectDatabase();
    dm_1 = nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);
    std::vector<int> sizes;
    for (const QString& a : app.arguments().mid(1))
        sizes.push_back(a.toInt());
    if (sizes.empty())
        sizes = {100000, 1000000};
    QTemporaryDir folder;
    out << "Skala biura (czasy: mediana z " << repeats << " przebiegów; PDF: jeden przebieg)\n";
    for (int purchases : sizes)
        for (bench::OfficeShape shape : {bench::OfficeShape::OneLargeTaxpayer, bench::OfficeShape::ManySmallTaxpayers})
            measure(out, bench::Office{shape, purchases}, folder.path());
    return 0;
}
