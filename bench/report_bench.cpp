// Times the printed forms of a taxpayer with 200 vehicles and 10 000 purchases in a year:
// the settlement, each report's making (its datasets opened) and pagination, and the time
// from the choice of a preview until its first page is drawn in the preview window.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

#include "data/dm1.h"
#include "firebird/statement.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "reports/report_subject.h"
#include "reports/report_set.h"
#include "data/settlement.h"
#include "bench_database.h"
#include "preview_timing.h"
#include "text/formats.h"

namespace {

constexpr int vehicles = 200;
constexpr int purchases = 10000;
constexpr int year = 2024;
constexpr int repeats = 5;

const QString taxpayer = QStringLiteral("FIRMA");

void fill(Tdm_1& dm)
{
    fb::Statement(dm.db_opl, dm.tr_opl,
                  QStringLiteral("insert into PODAT (NR_PODAT, NAZWA, ADRES, NIP, NAZSKR) values "
                                 "(1, 'Przedsiębiorstwo Transportowe', 'ul. Długa 1, Gdańsk', '1', 'FIRMA')"))
        .execute();
    fb::Statement vehicle(dm.db_opl, dm.tr_opl, QStringLiteral("insert into SAM values (:r, 1, :t, :f, '2020-01-01', null)"));
    const int fuels[] = {1, 5, 5, 2, 6};
    for (int v = 0; v < vehicles; ++v) {
        vehicle.setParam(QStringLiteral("r"), QStringLiteral("GD%1").arg(v, 5, 10, QLatin1Char('0')));
        vehicle.setParam(QStringLiteral("t"), 1 + v % 32);
        vehicle.setParam(QStringLiteral("f"), fuels[v % 5]);
        vehicle.execute();
    }
    fb::Statement insert(dm.db_opl, dm.tr_opl, QStringLiteral("insert into ZAK_PAL values (:n, :r, :i, :d, :f, :l)"));
    for (int i = 0; i < purchases; ++i) {
        const int v = i % vehicles;
        insert.setParam(QStringLiteral("n"), i + 1);
        insert.setParam(QStringLiteral("r"), QStringLiteral("GD%1").arg(v, 5, 10, QLatin1Char('0')));
        insert.setParam(QStringLiteral("i"), QStringLiteral("FV/%1/%2").arg(year).arg(i));
        insert.setParam(QStringLiteral("d"), QDate(year, 1, 1).addDays(i % 366));
        insert.setParam(QStringLiteral("f"), fuels[v % 5]);
        insert.setParam(QStringLiteral("l"), 10.0 + (i % 900) / 10.0);
        insert.execute();
    }
    dm.tr_opl.commitRetaining();
}


double msSince(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

struct Timing {
    double make = 0;      // the report window: parameters set, datasets opened
    double firstPage = 0; // from the start until page 1 is made
    double allPages = 0;  // from the start until every page is made
    int pages = 0;
};

// One report of the choice (its index in printing order), made and paginated on its own.
Timing timeReport(Tdm_1& dm, const reports::ReportSubject& in, reports::ReportChoice choice, size_t index)
{
    Timing t;
    QElapsedTimer clock;
    clock.start();
    auto windows = reports::createReports(dm, in, choice);
    t.make = msSince(clock);
    report::ReportPrinter& printer = windows[index]->raport().prepare();
    clock.restart();
    printer.generateAll();
    t.allPages = msSince(clock);
    t.pages = printer.pageCount();
    // The first page alone, on a fresh preparation.
    report::ReportPrinter& again = windows[index]->raport().prepare();
    QEventLoop loop;
    QObject::connect(&again, &report::ReportPrinter::pageAvailable, &loop, [&](int count) {
        if (count >= 1)
            loop.quit();
    });
    clock.restart();
    again.start();
    loop.exec();
    t.firstPage = msSince(clock);
    return t;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);

    Tdm_1 dm;
    dm.connectTo(bench::freshDeliveredDatabase());
    fill(dm);
    dm.ibds_pal.open();
    dm.IBDS_siln.open();

    std::vector<double> settle;
    data::Settlement s;
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer t;
        t.start();
        s = data::computeSettlement(dm, taxpayer, year, data::settlementPeriod(year, 0), data::yearParameters(dm, year));
        settle.push_back(msSince(t));
    }
    const reports::ReportSubject in(s, 0);
    out << "Wydruki podatnika: " << vehicles << " samochodów, " << purchases << " zakupów w roku " << year
        << " (mediana z " << repeats << " przebiegów)\n";
    out << "naliczenie (computeSettlement): " << QString::number(bench::median(settle), 'f', 1) << " ms, linii "
        << s.lines.size() << ", kwota " << text::formatMoney(s.amount) << "\n\n";

    struct Case {
        const char* name;
        reports::ReportChoice choice;
        size_t index;
    };
    out << "raport\tstron\tprzygotowanie [ms]\tpierwsza strona [ms]\twszystkie strony [ms]\n";
    for (const Case& c : {Case{"wykaz zbiorczy (od 2005)", reports::ReportChoice::Statements, 0},
                          Case{"tabela D (od 2005)", reports::ReportChoice::Statements, 1},
                          Case{"wykaz zakupów paliw", reports::ReportChoice::PurchaseRegister, 0}}) {
        std::vector<double> make, first, all;
        int pages = 0;
        for (int r = 0; r < repeats; ++r) {
            const Timing t = timeReport(dm, in, c.choice, c.index);
            make.push_back(t.make);
            first.push_back(t.firstPage);
            all.push_back(t.allPages);
            pages = t.pages;
        }
        out << c.name << '\t' << pages << '\t' << QString::number(bench::median(make), 'f', 1) << '\t'
            << QString::number(bench::median(first), 'f', 1) << '\t' << QString::number(bench::median(all), 'f', 1) << '\n';
    }

    out << "\npierwsza strona w podglądzie, od wyboru podglądu [ms] (cel < 300 ms)\n";
    for (const auto& [name, choice] : {std::pair{"wykaz zbiorczy i tabela D", reports::ReportChoice::Statements},
                                       std::pair{"wykaz zakupów paliw", reports::ReportChoice::PurchaseRegister}}) {
        std::vector<double> times;
        for (int r = 0; r < repeats; ++r)
            times.push_back(bench::firstPreviewPageMs(dm, in, choice));
        out << name << '\t' << QString::number(bench::median(times), 'f', 1) << '\n';
    }
    out.flush();
    dm.disconnectDatabase();
    return 0;
}
