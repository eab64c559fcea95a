// Times the purchase screen for a taxpayer with 50 000 purchases in each period: opening it
// (show and first paint), switching the half-year and the page, the footer after selecting
// every row, and keying purchases in entry-only mode through its widgets, as an accountant does.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

#include "data/dm1.h"
#include "dbwidgets/date_edit.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_grid.h"
#include "firebird/index_statistics.h"
#include "firebird/statement.h"
#include "purchases/zak.h"
#include "bench_database.h"
#include "text/formats.h"

namespace {

constexpr int vehicles = 30;
int perPeriod = 50000; // purchases in each period of the measured database
constexpr int keyed = 300;
constexpr int repeats = 5;

QString registration(int v)
{
    return QStringLiteral("WA%1").arg(v, 5, 10, QLatin1Char('0'));
}

// Purchases made on the server in one block per period: 50 000 client round trips each
// would take longer than the measuring.
void fill(Tdm_1& dm, const QList<QDate>& periodStarts)
{
    fb::Statement(dm.db_opl, dm.tr_opl, QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'FIRMA')")).execute();
    fb::Statement vehicle(dm.db_opl, dm.tr_opl, QStringLiteral("insert into SAM values (:r, 1, 1, :f, '2005-01-01', null)"));
    for (int v = 0; v < vehicles; ++v) {
        vehicle.setParam(QStringLiteral("r"), registration(v));
        vehicle.setParam(QStringLiteral("f"), v % 3 == 0 ? 1 : 5);
        vehicle.execute();
    }
    int number = 0;
    for (const QDate& start : periodStarts) {
        dm.db_opl.executeImmediate(dm.tr_opl, QStringLiteral(
            "execute block as declare i integer = 0; declare v integer; begin "
            "while (i < %1) do begin v = mod(i, %2); "
            "insert into ZAK_PAL values (%3 + :i + 1, 'WA' || lpad(:v, 5, '0'), 'FV/' || (%3 + :i + 1), "
            "cast('%4' as date) + mod(:i, 180), iif(mod(:v, 3) = 0, 1, 5), 10.0 + mod(:i, 900) / 10.0); "
            "i = i + 1; end end").arg(perPeriod).arg(vehicles).arg(number).arg(start.toString(Qt::ISODate)));
        number += perPeriod;
    }
    dm.db_opl.setGenerator(dm.tr_opl, QStringLiteral("G_ZAK"), number);
    dm.tr_opl.commitRetaining();
    fb::recomputeIndexStatistics(dm.db_opl);
}


double ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

// Processor time of this process since `start`: the part of a figure not spent waiting
// for the disk (each post is committed and written through at once).
double cpuMs(std::clock_t start)
{
    return (std::clock() - start) * 1000.0 / CLOCKS_PER_SEC;
}

template <class T>
T* child(QWidget* screen, const char* name)
{
    return screen->findChild<T*>(QString::fromLatin1(name));
}

// Shows the screen and paints it once; the time until the first paint is done.
double openScreen(Tdm_1& dm, std::unique_ptr<Tf_zak>& screen)
{
    QElapsedTimer t;
    t.start();
    screen = std::make_unique<Tf_zak>(dm);
    f_zak = screen.get();
    screen->show();
    QApplication::setActiveWindow(screen.get());
    screen->repaint();
    QCoreApplication::processEvents();
    return ms(t);
}

void setYear(Tf_zak* screen, int year)
{
    auto* edit = child<QLineEdit>(screen, "m_rok");
    edit->setFocus(Qt::MouseFocusReason);
    edit->setText(QString::number(year));
    child<QWidget>(screen, "dblb_nrrej")->setFocus(Qt::OtherFocusReason);
}

void clickRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void measure(QTextStream& out)
{
    const int thisYear = QDate::currentDate().year();

    Tdm_1 dm;
    dm.connectTo(bench::freshDeliveredDatabase());
    fill(dm, {QDate(thisYear, 1, 1), QDate(2012, 1, 1), QDate(2012, 7, 1)});
    out << "Zakupy paliwa: podatnik z " << perPeriod << " zakupami w każdym okresie, " << vehicles
        << " samochodów (mediana z " << repeats << " przebiegów)\n";

    std::vector<double> opening, halfYear, toTable, toForm, footer;
    std::unique_ptr<Tf_zak> screen;
    for (int r = 0; r < repeats; ++r) {
        opening.push_back(openScreen(dm, screen));
        if (dm.IBDS_zak.recordCount() != perPeriod)
            qFatal("the screen shows %d purchases", dm.IBDS_zak.recordCount());
        setYear(screen.get(), 2012);
        auto* halves = child<QListWidget>(screen.get(), "lb_kwart");
        QElapsedTimer t;
        t.start();
        clickRow(halves, 1);
        screen->repaint();
        halfYear.push_back(ms(t));
        auto* pages = child<QTabWidget>(screen.get(), "PC_zak");
        t.restart();
        pages->setCurrentIndex(1);
        screen->repaint();
        toTable.push_back(ms(t));
        // Ctrl+A in the table: every row selected, the footer's "Razem zazn." repainted.
        auto* grid = child<dbw::DBGrid>(screen.get(), "DBGrid1");
        grid->setFocus(Qt::OtherFocusReason);
        t.restart();
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        screen->repaint();
        footer.push_back(ms(t));
        if (grid->selectedRows().size() != perPeriod)
            qFatal("select-all chose %d rows", int(grid->selectedRows().size()));
        t.restart();
        pages->setCurrentIndex(0);
        screen->repaint();
        toForm.push_back(ms(t));
        screen->close();
        screen.reset();
    }
    out << "otwarcie okna (pokazanie i pierwsze rysowanie): " << QString::number(bench::median(opening), 'f', 1) << " ms\n";
    out << "zmiana półrocza: " << QString::number(bench::median(halfYear), 'f', 1) << " ms\n";
    out << "stopka po zaznaczeniu wszystkich (Ctrl+A, " << perPeriod << " wierszy): " << QString::number(bench::median(footer), 'f', 1)
        << " ms\n";
    out << "przejście do tabeli: " << QString::number(bench::median(toTable), 'f', 1) << " ms, do formularza: "
        << QString::number(bench::median(toForm), 'f', 1) << " ms\n";

    // Entry-only mode: vehicle, invoice, date and quantity keyed, then "Akceptuj".
    openScreen(dm, screen);
    setYear(screen.get(), 2012);
    auto* entryOnly = child<QCheckBox>(screen.get(), "ch_wprow");
    QTest::mouseClick(entryOnly, Qt::LeftButton, {}, entryOnly->rect().center());
    auto* vehicleList = child<QListWidget>(screen.get(), "dblb_nrrej");
    auto* invoice = child<dbw::DBEdit>(screen.get(), "DBE_nrrach");
    auto* picker = child<dbw::DateEdit>(screen.get(), "dtp_dzak")->findChild<QLineEdit*>();
    auto* quantity = child<dbw::DBEdit>(screen.get(), "DBE_ilzak");
    auto* ok = child<QPushButton>(screen.get(), "kl_ok");
    const int before = dm.IBDS_zak.recordCount();
    double accepting = 0, acceptingCpu = 0;
    QElapsedTimer all;
    all.start();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < keyed; ++i) {
        clickRow(vehicleList, 1 + i % (vehicles - 1));
        invoice->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(invoice, QStringLiteral("K/%1").arg(i));
        picker->setFocus(Qt::TabFocusReason);
        picker->selectAll();
        QTest::keyClicks(picker, QDate(2012, 1, 1).addDays(i % 180).toString(QStringLiteral("dd-MM-yyyy")));
        quantity->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(quantity, QStringLiteral("%1,5").arg(10 + i % 50));
        QElapsedTimer t;
        t.start();
        const std::clock_t c = std::clock();
        QTest::mouseClick(ok, Qt::LeftButton);
        acceptingCpu += cpuMs(c);
        accepting += ms(t);
    }
    const double total = ms(all);
    const double totalCpu = cpuMs(cpuStart);
    fb::Statement count(dm.db_opl, dm.tr_opl, QStringLiteral("select count(*) from ZAK_PAL where NR_RACH starting with 'K/'"));
    count.execute();
    count.fetch();
    const int stored = count.value(0).toInt();
    count.closeCursor();
    out << "wprowadzanie " << keyed << " zakupów w trybie tylko wprowadzania (zapisano " << stored << ", w zbiorze "
        << dm.IBDS_zak.recordCount() - before << " nowych wierszy):\n";
    out << "  na jeden zakup razem z wpisywaniem: " << QString::number(total / keyed, 'f', 2) << " ms (procesor "
        << QString::number(totalCpu / keyed, 'f', 2) << " ms)\n";
    out << "  na jeden zapis (Akceptuj i nowy zakup): " << QString::number(accepting / keyed, 'f', 2) << " ms (procesor "
        << QString::number(acceptingCpu / keyed, 'f', 2) << " ms)\n";
    screen->close();
    screen.reset();
    f_zak = nullptr;
}

} // namespace

// Usage: purchase_bench [ROWS...]: the screen over a database of ROWS purchases in each period
// (by default 1 000 and 50 000), so that what grows with the rows on the screen shows.
int main(int argc, char* argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    text::applyProgramFormats();
    bench::answerMessagesYes();
    QTextStream out(stdout);
    for (int rows : bench::countsFromArguments(app.arguments(), {1000, 50000})) {
        perPeriod = rows;
        measure(out);
        out << '\n';
        out.flush();
    }
    return 0;
}
