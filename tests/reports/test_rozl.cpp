// The settlement window Tf_rozl driven as the user drives it, over a real database as
// delivered: choosing taxpayer, year and half-year, the amount against the threshold, the
// purchases of a line, the warning about lines without a rate, and the reports it previews
// (in TCustPreview) or prints (through the print dialog seam).
#include <QtTest>

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "data/dm1.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/grid_model.h"
#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/messages.h"
#include "desktop/print_dialogs.h"
#include "page_texts.h"
#include "report/preview_interface.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "reports/pod_wydr.h"
#include "reports/report_set.h"
#include "reports/reports_help.h"
#include "reports/rozl.h"
#include "reports/wydr_zest.h"
#include "reports/wydr_zest2005.h"
#include "reports/zest_zb.h"
#include "reports/zest_zb2005.h"
#include "settlement_rows.h"
#include "module_fixture.h"
#include "text/formats.h"
#include "widget_testing.h"
#include "test_main.h"

using namespace Qt::StringLiterals;

namespace {

// What a preview window showed: its report's title and the lines of every page.
struct Previewed {
    QString caption;
    QString title;
    QStringList pages;
};

} // namespace

class TestRozl : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    std::unique_ptr<Tf_rozl> w;

    template <class T>
    T* child(const char* name) const
    {
        return testsupport::control<T>(w.get(), name);
    }

    void open()
    {
        w = std::make_unique<Tf_rozl>(*dm);
        f_rozl = w.get();
        w->show();
        QCoreApplication::processEvents();
    }

    // The focus leaves a control for another one of the window.
    static void leave(QWidget* control)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(control, &out);
    }

    void setYear(const QString& year)
    {
        QLineEdit* edit = child<QLineEdit>("m_rok");
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(edit, &in);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, year);
        leave(edit);
    }

    // A typed character, as the keyboard gives it (Polish letters included).
    static void type(QWidget* target, const QString& character)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
        QApplication::sendEvent(target, &release);
    }

    void clickItem(const char* listName, int row)
    {
        auto* list = child<QListWidget>(listName);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    QString label(const char* name) const { return child<QLabel>(name)->text(); }
    QColor colour(const char* name) const { return child<QLabel>(name)->palette().color(QPalette::WindowText); }
    bool isShown(const char* name) const { return child<QWidget>(name)->isVisibleTo(w.get()); }

    // The texts of a grid column, top to bottom.
    QStringList column(const char* gridName, const char* field) const
    {
        auto* grid = child<dbw::DBGrid>(gridName);
        const int c = grid->gridModel()->columnOf(grid->dataset()->field(QString::fromLatin1(field)));
        QStringList texts;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            texts << grid->model()->index(r, c).data().toString();
        return texts;
    }

    // The pages of the reports the window would print now, each report's lines in one list.
    std::vector<QStringList> reportsNow(reports::ReportChoice choice)
    {
        std::vector<QStringList> result;
        for (const auto& r : reports::createReports(*dm, w->printoutSubject(), choice)) {
            QStringList lines;
            for (const report::Page& p : page_texts::pagesOf(r->raport().prepare()))
                lines << p.texts();
            result.push_back(lines);
        }
        return result;
    }

    // Previews through the window's button; each preview window that opens is read and closed.
    QList<Previewed> previewAll(int expected)
    {
        QList<Previewed> seen;
        std::function<void(QWidget*)> readAndClose = [&](QWidget* modal) {
            auto* preview = qobject_cast<TCustPreview*>(modal);
            if (!preview) {
                modal->close();
                return;
            }
            Previewed p{modal->windowTitle(), preview->printer()->report().title(), {}};
            for (const report::Page& page : page_texts::pagesOf(*preview->printer()))
                p.pages << page.texts().join(u'\n');
            seen << p;
            QTest::mouseClick(modal->findChild<QPushButton*>(u"kl_exit"_s), Qt::LeftButton);
            if (seen.size() < expected)
                whenModal(this, readAndClose);
        };
        whenModal(this, readAndClose);
        QTest::mouseClick(child<QPushButton>("kl_podgl"), Qt::LeftButton);
        return seen;
    }

private slots:
    void initTestCase()
    {
        text::applyProgramFormats();
    }

    void init()
    {
        start();
        using namespace settlement_rows;
        addTaxpayer(*dm, 1, u"Zeta"_s, u"Zeta sp. j."_s);
        addTaxpayer(*dm, 2, u"ABC"_s, u"Przedsiębiorstwo ABC"_s, u"ul. Długa 1, Gdańsk"_s, u"123456785"_s, u"58 111 22 33"_s);
        addTaxpayer(*dm, 3, u"Łódź-Trans"_s, u"Łódź-Trans s.c."_s);
        addTaxpayer(*dm, 4, u"Bez aut"_s, u"Bez aut"_s); // no vehicle: not listed
        addVehicle(*dm, u"WA1"_s, 2, 11, 5);
        addVehicle(*dm, u"WA2"_s, 2, 5, 1);
        addVehicle(*dm, u"LP1"_s, 2, 5, 2);
        addVehicle(*dm, u"ZE1"_s, 1, 5, 1);
        addVehicle(*dm, u"LD1"_s, 3, 5, 1);
        addPurchase(*dm, 1, u"WA1"_s, u"F/2"_s, {2024, 4, 1}, 5, 234.56);
        addPurchase(*dm, 2, u"WA1"_s, u"F/1"_s, {2024, 3, 1}, 5, 1000);
        addPurchase(*dm, 3, u"WA1"_s, u"F/3"_s, {2024, 5, 1}, 6, 100);
        addPurchase(*dm, 4, u"WA2"_s, u"F/4"_s, {2024, 6, 1}, 1, 500);
        addPurchase(*dm, 5, u"WA2"_s, u"H/1"_s, {2012, 3, 1}, 1, 200);
        addPurchase(*dm, 6, u"WA2"_s, u"H/2"_s, {2012, 7, 15}, 1, 300);
        addPurchase(*dm, 7, u"WA2"_s, u"H/3"_s, {2013, 5, 5}, 1, 50);
        addPurchase(*dm, 8, u"ZE1"_s, u"Z/1"_s, {2024, 6, 1}, 1, 9999);
        // 2030: 1000 l of LPG (0,5 kg/l) at a rate set by each test; minimum wage 1000, 40 %.
        addPurchase(*dm, 9, u"LP1"_s, u"L/1"_s, {2030, 2, 1}, 2, 1000);
        setParameters(*dm, 2030, 1000, 40);
    }

    void cleanup()
    {
        w.reset();
        f_rozl = nullptr;
        stop();
        desktop::setPrintDialogHandler({});
        report::registerPreviewInterface({});
    }

    void windowAsBuilt()
    {
        open();
        QCOMPARE(w->objectName(), u"f_rozl"_s);
        QCOMPARE(w->windowTitle(), u"Naliczenie opłat za korzystanie ze środowiska"_s);
        QVERIFY(w->windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(w->windowFlags() & Qt::WindowSystemMenuHint);
        QCOMPARE(desktop::helpContext(w.get()), 11);
        registerReportsHelp();
        bool registered = false;
        for (const desktop::HelpTopic& t : desktop::HelpSystem::topics())
            registered = registered || (t.context == 11 && QFile::exists(u":"_s + t.source.path()));
        QVERIFY(registered);

        QCOMPARE(label("e_pod"), u"&Podatnik"_s);
        QCOMPARE(label("e_kwart"), u"Półro&cze"_s);
        QCOMPARE(label("e_rok"), u"R&ok"_s);
        QCOMPARE(child<QLabel>("e_pod")->buddy(), child<QWidget>("lb_pod"));
        // Taxpayers with a vehicle only, in the Polish alphabet, the first selected.
        auto* taxpayers = child<QListWidget>("lb_pod");
        QStringList names;
        for (int i = 0; i < taxpayers->count(); ++i)
            names << taxpayers->item(i)->text();
        QCOMPARE(names, (QStringList{u"ABC"_s, u"Łódź-Trans"_s, u"Zeta"_s}));
        QCOMPARE(taxpayers->currentRow(), 0);
        auto* halves = child<QListWidget>("lb_kwart");
        QCOMPARE(halves->count(), 2);
        QCOMPARE(halves->item(0)->text(), u"    I"_s);
        QCOMPARE(halves->item(1)->text(), u"    II"_s);
        auto* year = child<QLineEdit>("m_rok");
        QCOMPARE(year->inputMask(), u"9999;_"_s);
        QCOMPARE(year->text(), QString::number(QDate::currentDate().year()));
        QCOMPARE(isShown("lb_kwart"), data::usesHalfYears(QDate::currentDate().year()));
        for (const char* name : {"lb_pod", "lb_kwart", "m_rok", "kl_druk", "kl_podgl"})
            QVERIFY2(!(child<QWidget>(name)->focusPolicy() & Qt::TabFocus), name);
        QCOMPARE(child<QRadioButton>("rb_zest")->text(), u"wydruk zestawienia zbiorczego"_s);
        QVERIFY(child<QRadioButton>("rb_zest")->isChecked());
        QCOMPARE(child<QRadioButton>("rb_zak")->text(), u"wydruk zakupów paliw"_s);
        QCOMPARE(child<QPushButton>("kl_druk")->text(), u"Drukuj"_s);
        QCOMPARE(child<QPushButton>("kl_podgl")->text(), u"podgląd wydruku"_s);
        QCOMPARE(child<QRadioButton>("rb_zest")->parentWidget(), child<QWidget>("Bevel1"));
        QCOMPARE(child<QPushButton>("kl_podgl")->parentWidget(), child<QWidget>("Bevel1"));
        QCOMPARE(label("e_kw"), u"Kwota do zapłaty:"_s);
        QCOMPARE(label("e_kom1"), u"Kwota mniejsza od "_s);
        QCOMPARE(label("e_kom3"), u"nie podlega wpłacie."_s);
        QVERIFY(child<QLabel>("e_wart")->font().bold());
        QVERIFY(child<QLabel>("e_wart")->font().pointSizeF() > child<QLabel>("e_kw")->font().pointSizeF());

        // The grids: titles, read-only, whole rows; the purchases also several rows, sorted by date.
        auto titles = [](dbw::DBGrid* g) {
            QStringList t;
            for (int c = 0; c < g->model()->columnCount(); ++c)
                t << g->model()->headerData(c, Qt::Horizontal).toString();
            return t;
        };
        auto* lines = child<dbw::DBGrid>("DBG_rozl");
        auto* purchases = child<dbw::DBGrid>("DBG_zak");
        QCOMPARE(titles(lines), (QStringList{u"Nr rej."_s, u"Rodzaj silnika"_s, u"Rodzaj paliwa"_s, u"Zakup w L"_s, u"KG/L"_s,
                                             u"Opł. za tonę"_s, u"opl"_s}));
        QCOMPARE(titles(purchases), (QStringList{u"Nr rej"_s, u"Nr rachunku"_s, u"Data zakupu ▲"_s, u"Rodzaj paliwa"_s, u"Ilość"_s}));
        QCOMPARE(purchases->model()->headerData(4, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
        QVERIFY(lines->isGridReadOnly() && purchases->isGridReadOnly());
        QCOMPARE(lines->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(purchases->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(lines->dataSource(), &dm->DS_rozl);
        QCOMPARE(purchases->dataSource(), &dm->DS_rozl_d);
        QCOMPARE(child<QSplitter>("Splitter1")->orientation(), Qt::Vertical);

        // Escape closes the window: nothing is edited in it.
        QTest::keyClick(child<dbw::DBGrid>("DBG_rozl"), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QVERIFY(!dm->IBQ_rozl.isActive());
    }

    // 1000 l of LPG at 800,00 zł/t is 400,00 zł, the threshold of 1000 × 40 %: green, not due;
    // at 800,02 zł/t it is 400,01 zł: red, the remark gone.
    void amountAgainstThreshold()
    {
        settlement_rows::setRate(*dm, 5, 2, 2030, 800.00);
        open();
        setYear(u"2030"_s);
        QCOMPARE(w->chosen().year, 2030);
        QVERIFY(!isShown("lb_kwart") && !isShown("e_kwart"));
        QCOMPARE(w->chosen().taxpayer, u"ABC"_s);
        QCOMPARE(label("e_wart"), u"400,00 zł"_s);
        QCOMPARE(label("e_kom2"), u"400,00 zł"_s);
        QCOMPARE(w->printoutSubject().settlement.threshold.units(), 4000000);
        QCOMPARE(colour("e_kw"), QColor(0, 128, 0));
        QCOMPARE(colour("e_wart"), QColor(0, 128, 0));
        for (const char* name : {"e_kom1", "e_kom2", "e_kom3"})
            QVERIFY2(isShown(name), name);
        QVERIFY(!isShown("e_brak_stawki"));
        QCOMPARE(column("DBG_rozl", "NR_REJ"), QStringList{u"LP1"_s});
        QCOMPARE(column("DBG_rozl", "opl"), QStringList{u"400,00 zł"_s});
        QCOMPARE(column("DBG_rozl", "PRZEL_L_KG"), QStringList{u"0,5000"_s});
        QCOMPARE(column("DBG_rozl", "ZAKKW"), QStringList{u"1000,00"_s});

        // The rate changes; leaving the taxpayer list computes again.
        settlement_rows::setRate(*dm, 5, 2, 2030, 800.02);
        leave(child<QListWidget>("lb_pod"));
        QCOMPARE(label("e_wart"), u"400,01 zł"_s);
        QCOMPARE(colour("e_kw"), QColor(255, 0, 0));
        QCOMPARE(colour("e_wart"), QColor(255, 0, 0));
        for (const char* name : {"e_kom1", "e_kom2", "e_kom3"})
            QVERIFY2(!isShown(name), name);

        // A rate beyond reason: the fee cannot be held as money. The window says so, leaves the
        // line's fee empty, shows no amount, and prints nothing.
        settlement_rows::setRate(*dm, 5, 2, 2030, 1e300);
        shown.clear();
        leave(child<QListWidget>("lb_pod"));
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith(u"Kwota przekracza zakres"_s));
        QCOMPARE(label("e_wart"), u"poza zakresem"_s);
        QCOMPARE(colour("e_wart"), QColor(255, 0, 0));
        QCOMPARE(column("DBG_rozl", "opl"), QStringList{QString()});
        QTest::mouseClick(child<QPushButton>("kl_podgl"), Qt::LeftButton);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].text, shown[0].text);
    }

    // Under the amount the window says what the firm files: from 2013 a statement, the fee
    // paid above the threshold; from 2017 no statement for a fee of at most 100 zł; up to
    // 2012 nothing. 1000 l of LPG is 0,5 t: the rate sets the amount.
    void whatIsFiled_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("filed");
        const QString notFiled = u"Opłata nie przekracza 100,00 zł: wykazu się nie składa, opłaty się nie wnosi."_s;
        const QString filed = u"Opłata nie przekracza 800,00 zł: wykaz się składa, opłaty się nie wnosi."_s;
        const QString paid = u"Opłata przekracza 800,00 zł: wykaz się składa i opłatę się wnosi."_s;
        QTest::newRow("2016, 100,00") << 2016 << 200.00 << u"100,00 zł"_s << filed;
        QTest::newRow("2016, 100,01") << 2016 << 200.02 << u"100,01 zł"_s << filed;
        QTest::newRow("2016, 800,00") << 2016 << 1600.00 << u"800,00 zł"_s << filed;
        QTest::newRow("2016, 800,01") << 2016 << 1600.02 << u"800,01 zł"_s << paid;
        QTest::newRow("2017, 100,00") << 2017 << 200.00 << u"100,00 zł"_s << notFiled;
        QTest::newRow("2017, 100,01") << 2017 << 200.02 << u"100,01 zł"_s << filed;
        QTest::newRow("2017, 800,00") << 2017 << 1600.00 << u"800,00 zł"_s << filed;
        QTest::newRow("2017, 800,01") << 2017 << 1600.02 << u"800,01 zł"_s << paid;
        QTest::newRow("2012, half-year I") << 2012 << 200.00 << u"100,00 zł"_s << QString();
    }

    void whatIsFiled()
    {
        QFETCH(int, year);
        QFETCH(double, rate);
        QFETCH(QString, amount);
        QFETCH(QString, filed);
        using namespace settlement_rows;
        addPurchase(*dm, 20, u"LP1"_s, u"L/20"_s, {year, 2, 1}, 2, 1000);
        setRate(*dm, 5, 2, year, rate);
        setParameters(*dm, year, data::usesHalfYears(year) ? 800 : 1600, 50);
        if (data::usesHalfYears(year)) // the other purchases of the half-year have no rate
            settlement_rows::exec(*dm, u"delete from ZAK_PAL where NR_RACH starting 'H/'"_s);
        open();
        setYear(QString::number(year));
        QCOMPARE(w->chosen().taxpayer, u"ABC"_s);
        QCOMPARE(label("e_wart"), amount);
        QCOMPARE(isShown("e_wykaz"), !filed.isEmpty());
        if (!filed.isEmpty())
            QCOMPARE(label("e_wykaz"), filed);
    }

    void clickOnTheChosenItemSettlesAgain_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("list"); // its first item is the one chosen
        QTest::newRow("the taxpayer") << u"2030"_s << u"lb_pod"_s;
        QTest::newRow("the half-year") << u"2012"_s << u"lb_kwart"_s;
    }

    // Another desk keys a purchase meanwhile: a click on the taxpayer or half-year already
    // chosen shows it.
    void clickOnTheChosenItemSettlesAgain()
    {
        QFETCH(QString, year);
        QFETCH(QString, list);
        settlement_rows::setRate(*dm, 5, 2, 2030, 800.00);
        settlement_rows::setRate(*dm, 5, 1, 2012, 1000.00);
        open();
        setYear(year);
        QCOMPARE(w->chosen().taxpayer, u"ABC"_s);
        const QString before = label("e_wart");
        settlement_rows::addPurchase(*dm, 20, u"LP1"_s, u"N/1"_s, {2030, 3, 1}, 2, 500);
        settlement_rows::addPurchase(*dm, 21, u"WA2"_s, u"N/2"_s, {2012, 4, 1}, 1, 500);
        clickItem(qPrintable(list), 0);
        QVERIFY2(label("e_wart") != before, qPrintable(before));
    }

    // No PARAM row and no purchases: 0 against 0, green, the remark shown.
    void emptyPeriodWithoutParameters()
    {
        open();
        setYear(u"2031"_s);
        QCOMPARE(w->printoutSubject().settlement.amount.units(), 0);
        QCOMPARE(w->printoutSubject().settlement.threshold.units(), 0);
        QCOMPARE(label("e_wart"), u"0,00 zł"_s);
        QCOMPARE(colour("e_wart"), QColor(0, 128, 0));
        QCOMPARE(colour("e_kw"), QColor(0, 128, 0));
        QCOMPARE(QStringList({label("e_kom1"), label("e_kom2"), label("e_kom3")}),
                 (QStringList{u"Kwota mniejsza od "_s, u"0,00 zł"_s, u"nie podlega wpłacie."_s}));
        for (const char* name : {"e_kom1", "e_kom2", "e_kom3"})
            QVERIFY2(isShown(name), name);
        QCOMPARE(child<dbw::DBGrid>("DBG_rozl")->model()->rowCount(), 0);
        QCOMPARE(child<dbw::DBGrid>("DBG_zak")->model()->rowCount(), 0);
        QVERIFY(!isShown("e_brak_stawki"));
    }

    // Up to 2012 half-years (I selected after every change of the year), from 2013 the whole
    // year with the half-year list hidden; 2012 has no rates: the warning names the line.
    void halfYearsAndWholeYears()
    {
        open();
        setYear(u"2012"_s);
        QVERIFY(isShown("lb_kwart") && isShown("e_kwart"));
        QCOMPARE(child<QListWidget>("lb_kwart")->currentRow(), 0);
        QCOMPARE(w->chosen().period().start, QDate(2012, 1, 1));
        QCOMPARE(w->chosen().period().end, QDate(2012, 6, 30));
        QCOMPARE(column("DBG_rozl", "ZAKKW"), QStringList{u"200,00"_s});
        QCOMPARE(child<QListWidget>("lb_kwart")->currentItem()->text(), u"    I"_s);

        clickItem("lb_kwart", 1);
        QCOMPARE(child<QListWidget>("lb_kwart")->currentItem()->text(), u"    II"_s);
        QCOMPARE(dm->IBQ_rozl.param(u"dpocz"_s).toDate(), QDate(2012, 7, 1));
        QCOMPARE(dm->IBQ_rozl.param(u"dkon"_s).toDate(), QDate(2012, 12, 31));
        QCOMPARE(dm->IBQ_rozl_d.param(u"dpocz"_s).toDate(), QDate(2012, 7, 1));
        QCOMPARE(dm->IBQ_rozl_d.param(u"dkon"_s).toDate(), QDate(2012, 12, 31));
        QCOMPARE(dm->IBQ_rozl.param(u"naz"_s).toString(), u"ABC"_s);
        QVERIFY(!dm->IBQ_rozl.selectSql().contains(u"ABC"_s)); // bound, not written into the text
        QCOMPARE(column("DBG_rozl", "ZAKKW"), QStringList{u"300,00"_s});
        QCOMPARE(column("DBG_zak", "NR_RACH"), QStringList{u"H/2"_s});
        // No rate for 2012: the line counts 0,00 zł, and the window says which line it is.
        QCOMPARE(label("e_wart"), u"0,00 zł"_s);
        QVERIFY(isShown("e_brak_stawki"));
        QCOMPARE(colour("e_brak_stawki"), QColor(255, 0, 0));
        QCOMPARE(label("e_brak_stawki"),
                 u"Uwaga: brak stawki opłaty na rok 2012 dla pojazdu WA2 (Osobowe, 1. rej. po 31.12.2005 lub EURO 4), "
                 "paliwo: benzyna silnikowa – pozycja liczona jako 0,00 zł.\n"
                 "Kwota do zapłaty jest przez to zaniżona: uzupełnij stawki opłat przed złożeniem wykazu."_s);

        // A new year selects half-year I again.
        setYear(u"2011"_s);
        QCOMPARE(child<QListWidget>("lb_kwart")->currentRow(), 0);
        QCOMPARE(w->chosen().period().end, QDate(2011, 6, 30));

        setYear(u"2013"_s);
        QVERIFY(!isShown("lb_kwart") && !isShown("e_kwart"));
        QCOMPARE(w->chosen().period().start, QDate(2013, 1, 1));
        QCOMPARE(w->chosen().period().end, QDate(2013, 12, 31));
        QCOMPARE(column("DBG_rozl", "ZAKKW"), QStringList{u"50,00"_s});
        QVERIFY(!isShown("e_brak_stawki"));
        QCOMPARE(w->printoutSubject().settlement.threshold.units(), 8000000);
    }

    // Two fuels of one vehicle are two lines; the purchases below follow the selected line,
    // with their litres summed in the footer.
    void linesAndTheirPurchases()
    {
        open();
        setYear(u"2024"_s);
        QCOMPARE(column("DBG_rozl", "NR_REJ"), (QStringList{u"WA1"_s, u"WA1"_s, u"WA2"_s}));
        QCOMPARE(column("DBG_rozl", "nazpal"), (QStringList{u"olej napędowy"_s, u"biodiesel"_s, u"benzyna silnikowa"_s}));
        QCOMPARE(column("DBG_rozl", "opl"), (QStringList{u"8,99 zł"_s, u"0,62 zł"_s, u"3,29 zł"_s}));
        QCOMPARE(column("DBG_rozl", "OPL_ZA_TONE"), (QStringList{u"8,67 zł"_s, u"7,37 zł"_s, u"8,71 zł"_s}));
        QCOMPARE(column("DBG_rozl", "rodzsiln").first(), u"Do 3,5 Mg nieosobowe, po 30.06.2006 lub EURO 4"_s);
        QCOMPARE(label("e_wart"), u"12,90 zł"_s);
        QCOMPARE(label("e_kom2"), u"800,00 zł"_s);

        // The same for a spreadsheet: the lines as shown, then the amount, threshold, state and
        // what is filed.
        QTemporaryDir dir;
        QVERIFY(w->eksport_csv(dir.filePath(u"r.csv"_s)));
        QFile exported(dir.filePath(u"r.csv"_s));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QStringList csv = QString::fromUtf8(exported.readAll().mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(csv.size(), 9);
        QVERIFY2(csv[0].startsWith(u"Rozliczenie opłaty;ABC;"_s), qPrintable(csv[0]));
        QCOMPARE(csv[2].section(u';', 7, 7), u"8,99"_s);
        QCOMPARE(csv[5].section(u';', 0, 0) + csv[5].section(u';', 7, 7), u"Razem12,90"_s);
        QCOMPARE(csv[6].section(u';', 7, 7), u"800,00"_s);
        QCOMPARE(csv[7], u"Stan;poniżej progu"_s);
        QCOMPARE(csv[8], u"Obowiązek;bez wykazu"_s);

        auto* lines = child<dbw::DBGrid>("DBG_rozl");
        auto* purchases = child<dbw::DBGrid>("DBG_zak");
        QCOMPARE(column("DBG_zak", "NR_RACH"), (QStringList{u"F/1"_s, u"F/2"_s}));
        QCOMPARE(column("DBG_zak", "D_ZAK"), (QStringList{u"01-03-2024"_s, u"01-04-2024"_s}));
        QCOMPARE(purchases->footerCell(u"nazpal"_s).lines, (QStringList{u"Razem:"_s, u"Razem zazn.:"_s}));
        purchases->clearSelection();
        QCOMPARE(purchases->footerCell(u"IL_ZAK"_s).lines, (QStringList{u"1234,56"_s, u"0,00"_s}));
        QVERIFY(purchases->footerCell(u"IL_ZAK"_s).bold);
        purchases->selectAll();
        QCOMPARE(purchases->footerCell(u"IL_ZAK"_s).lines, (QStringList{u"1234,56"_s, u"1234,56"_s}));

        lines->setCurrentIndex(lines->model()->index(1, 0));
        QCOMPARE(column("DBG_zak", "NR_RACH"), QStringList{u"F/3"_s});
        QCOMPARE(column("DBG_zak", "nazpal"), QStringList{u"biodiesel"_s});
        QCOMPARE(column("DBG_zak", "IL_ZAK"), QStringList{u"100,00"_s});
        lines->setCurrentIndex(lines->model()->index(2, 0));
        QCOMPARE(column("DBG_zak", "NR_REJ"), QStringList{u"WA2"_s});
        QCOMPARE(column("DBG_zak", "NR_RACH"), QStringList{u"F/4"_s});

        // Another taxpayer by a click: its own vehicle only.
        clickItem("lb_pod", 2);
        QCOMPARE(w->chosen().taxpayer, u"Zeta"_s);
        QCOMPARE(column("DBG_rozl", "NR_REJ"), QStringList{u"ZE1"_s});
        QCOMPARE(label("e_wart"), u"65,75 zł"_s); // 9999 l × 0,755 kg/l × 8,71 zł/t
        QCOMPARE(colour("e_wart"), QColor(0, 128, 0));
    }

    // Typing a letter selects the first short name that begins with it; the settlement
    // follows when the list is left. Other characters do not search.
    void letterSearch()
    {
        open();
        auto* list = child<QListWidget>("lb_pod");
        type(list, u"ł"_s);
        QCOMPARE(list->currentItem()->text(), u"Łódź-Trans"_s);
        QCOMPARE(w->chosen().taxpayer, u"ABC"_s); // not yet
        type(list, u"7"_s);
        QCOMPARE(list->currentItem()->text(), u"Łódź-Trans"_s);
        type(list, u"x"_s);
        QCOMPARE(list->currentItem()->text(), u"Łódź-Trans"_s);
        type(list, u"z"_s);
        QCOMPARE(list->currentItem()->text(), u"Zeta"_s);
        type(list, u"a"_s);
        QCOMPARE(list->currentItem()->text(), u"ABC"_s);
        type(list, u"Ł"_s);
        leave(list);
        QCOMPARE(w->chosen().taxpayer, u"Łódź-Trans"_s);
        QCOMPARE(list->currentItem()->text(), u"Łódź-Trans"_s);
    }

    // An incomplete year is refused when the field is left; Escape brings the year back.
    void incompleteYearRefused()
    {
        open();
        setYear(u"2024"_s);
        auto* year = child<QLineEdit>("m_rok");
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(year, &in);
        year->selectAll();
        QTest::keyClick(year, Qt::Key_Delete);
        QTest::keyClicks(year, u"20"_s);
        QCOMPARE(year->text(), u"20"_s);
        leave(year);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Warning);
        QCOMPARE(shown[0].text, u"Rok musi się składać z czterech cyfr. Klawisz Esc przywraca poprzedni rok."_s);
        QCOMPARE(w->chosen().year, 2024);
        QCOMPARE(label("e_wart"), u"12,90 zł"_s);
        QTest::keyClick(year, Qt::Key_Escape);
        QCOMPARE(year->text(), u"2024"_s);
        QVERIFY(w->isVisible());
    }

    // Preview: the aggregate statement, then the statement, each in a preview window of its
    // own; the forms by the year.
    void previewOfTheStatements()
    {
        using namespace settlement_rows;
        setRate(*dm, 5, 1, 2005, 5.0);
        addPurchase(*dm, 20, u"WA2"_s, u"S/1"_s, {2005, 2, 1}, 1, 1000);
        open();
        setYear(u"2005"_s);
        auto windows = reports::createReports(*dm, w->printoutSubject(), reports::ReportChoice::Statements);
        QVERIFY(dynamic_cast<reports::Tf_zest_zb*>(windows[0].get()));
        QVERIFY(dynamic_cast<reports::Tf_wydr_zest*>(windows[1].get()));
        windows.clear();

        QList<Previewed> seen = previewAll(2);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0].caption, u"Podgląd wydruku"_s);
        QCOMPARE(seen[0].title, u"Wydruk zestawienia zbiorczego"_s);
        QVERIFY(seen[0].pages[0].contains(u"\npółrocze:\nI.2005\n"_s));
        QCOMPARE(seen[1].title, u"Wydruk zużycia paliw"_s);
        QVERIFY(seen[1].pages[0].contains(u"\nbenzyna silnikowa\n0,755\n"_s));
        QVERIFY(!seen[1].pages[0].contains(u"Wysokość opłaty"_s));
        // The datasets of the report windows are closed again.
        QVERIFY(!dm->IBQ_zbior_w.isActive() && !dm->IBQ_sil_w.isActive() && !dm->IBQ_opl_w.isActive());

        setYear(u"2006"_s);
        windows = reports::createReports(*dm, w->printoutSubject(), reports::ReportChoice::Statements);
        QVERIFY(dynamic_cast<reports::Tf_zest_zb2005*>(windows[0].get()));
        QVERIFY(dynamic_cast<reports::Tf_wydr_zest2005*>(windows[1].get()));
        windows.clear();
        seen = previewAll(2);
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[0].pages[0].contains(u"\npółrocze/rok:\nI.2006\n"_s));
        QVERIFY(seen[1].pages[0].contains(u"\nJednostowa stawka opłaty\n"_s));

        // The purchase register alone.
        child<QRadioButton>("rb_zak")->click();
        setYear(u"2024"_s);
        seen = previewAll(1);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, u"Wydruk zakupów paliw"_s);
        QVERIFY(seen[0].pages[0].contains(u"\ndla firmy \nABC\nza rok\n2024\n"_s));
        QVERIFY(!dm->IBQ_rozl_w.isActive() && !dm->IBQ_rozl_w1.isActive());
    }

    // The aggregate statement's amounts come from the window: the fee, the total rounded to
    // whole złoty (from 50 grosze up), and the sum due unless it stays within the threshold.
    void aggregateAmounts()
    {
        open();
        setYear(u"2030"_s);
        struct Case {
            double rate;
            QString fee, rounded, due;
        };
        // 1000 l of LPG is 0,5 t: the fee is half the rate. The threshold is 400,00.
        for (const Case& c : {Case{2468.98, u"1.234,49"_s, u"1.234,00"_s, u"1.234,00"_s},
                              Case{2469.00, u"1.234,50"_s, u"1.235,00"_s, u"1.235,00"_s},
                              Case{799.20, u"399,60"_s, u"400,00"_s, u"0,00"_s},
                              Case{801.00, u"400,50"_s, u"401,00"_s, u"401,00"_s}}) {
            settlement_rows::setRate(*dm, 5, 2, 2030, c.rate);
            leave(child<QListWidget>("lb_pod"));
            const QStringList aggregate = reportsNow(reports::ReportChoice::Statements).front();
            const QString lines = aggregate.join(u'\n');
            QVERIFY2(lines.contains(u"\nSilniki spalinowe\nD\n%1\n"_s.arg(c.fee)), qPrintable(c.fee));
            QVERIFY2(lines.contains(u"\n%1\n2\nPobór wód\n"_s.arg(c.rounded)), qPrintable(c.rounded));
            QVERIFY2(lines.contains(u"\nSuma opłat ogółem      [zł]\n5)\n%1\n"_s.arg(c.due)), qPrintable(c.due));
        }
        // Without a PARAM row the threshold is 0: the total is always due.
        dm->IBQ_rozl.close();
        settlement_rows::exec(*dm, u"delete from PARAM where ROK = 2030"_s);
        setYear(u"2030"_s);
        const QString lines = reportsNow(reports::ReportChoice::Statements).front().join(u'\n');
        QVERIFY(lines.contains(u"\nSuma opłat ogółem      [zł]\n5)\n401,00\n"_s));
    }

    // Printing: a print dialog before each report; a cancelled one skips only its report.
    void printingThroughTheDialog()
    {
        settlement_rows::setRate(*dm, 5, 2, 2030, 800.00);
        open();
        setYear(u"2030"_s);
        QList<desktop::PrintDialogRequest> asked;
        QStringList printedTo;
        QList<QPageLayout::Orientation> orientations; // the printers go with their reports
        desktop::setPrintDialogHandler([&](const desktop::PrintDialogRequest& r) {
            asked << r;
            orientations << r.printer->pageLayout().orientation();
            if (asked.size() == 1)
                return false; // the aggregate statement is not printed
            const QString file = testsupport::workDir() + u"/wydruk-%1.pdf"_s.arg(asked.size());
            r.printer->setOutputFormat(QPrinter::PdfFormat);
            r.printer->setOutputFileName(file);
            printedTo << file;
            return true;
        });
        QTest::mouseClick(child<QPushButton>("kl_druk"), Qt::LeftButton);
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].kind, desktop::PrintDialogKind::Print);
        QCOMPARE(asked[0].pageCount, 2);
        QCOMPARE(asked[1].pageCount, 1); // 2030 has a rate for one engine type only
        QCOMPARE(orientations, (QList<QPageLayout::Orientation>{QPageLayout::Portrait, QPageLayout::Landscape}));
        QCOMPARE(printedTo.size(), 1);
        QFile pdf(printedTo[0]);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF-"));
        QVERIFY(!QFile::exists(testsupport::workDir() + u"/wydruk-1.pdf"_s));

        // A period whose lines lack a rate: printing asks first; No prints nothing.
        setYear(u"2012"_s);
        clickItem("lb_kwart", 1);
        asked.clear();
        QStringList questions;
        answer = desktop::Answer::No;
        desktop::setMessageHandler([&](const desktop::Message& m) {
            questions << m.text;
            return answer;
        });
        QTest::mouseClick(child<QPushButton>("kl_druk"), Qt::LeftButton);
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions[0].startsWith(u"Brak stawek dla: WA2 ("_s)
                     && questions[0].endsWith(u"Opłata na wydruku jest zaniżona. Drukować mimo to?"_s),
                 qPrintable(questions[0]));
        QVERIFY(asked.isEmpty());
        answer = desktop::Answer::Yes;
        QTest::mouseClick(child<QPushButton>("kl_druk"), Qt::LeftButton);
        QCOMPARE(asked.size(), 2);
    }
};

TEST_MAIN(QApplication, TestRozl)
#include "test_rozl.moc"
