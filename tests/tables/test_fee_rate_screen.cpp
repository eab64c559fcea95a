#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QToolButton>
#include <QtTest>

#include "data/rate_query.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/help_context.h"
#include "desktop/messages.h"
#include "screen_testing.h"
#include "tables/opl.h"
#include "module_fixture.h"
#include "text/formats.h"
#include <QApplication>
#include "test_main.h"

using dbw::DBNavigator;
using namespace screentest;

class TestFeeRateScreen : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    std::unique_ptr<QWidget> mainWindow;

    // The screen and its controls, shown over the main window.
    std::unique_ptr<Tf_opl> screen;
    QComboBox* c_rok = nullptr;
    dbw::DBGrid* types = nullptr;
    dbw::DBGrid* rates = nullptr;
    DBNavigator* nav = nullptr;

    void showScreen()
    {
        screen = std::make_unique<Tf_opl>(*dm, mainWindow.get());
        f_opl = screen.get();
        screen->show();
        c_rok = screen->findChild<QComboBox*>(QStringLiteral("c_rok"));
        types = screen->findChild<dbw::DBGrid*>(QStringLiteral("DBGrid1"));
        rates = screen->findChild<dbw::DBGrid*>(QStringLiteral("DBGrid2"));
        nav = screen->findChild<DBNavigator*>(QStringLiteral("DBN_opl"));
        QVERIFY(c_rok && types && rates && nav);
    }

    QStringList yearItems() const
    {
        QStringList items;
        for (int i = 0; i < c_rok->count(); ++i)
            items << c_rok->itemText(i);
        return items;
    }

    // The years and fuels of the rates shown, as "year/fuel".
    QStringList shownRates() const
    {
        QStringList list;
        const ds::Dataset& d = dm->IBDS_opl;
        for (int row = 0; row < d.recordCount(); ++row)
            list << QStringLiteral("%1/%2").arg(d.fieldByName(QStringLiteral("ROK")).valueAt(row).toInt())
                        .arg(d.fieldByName(QStringLiteral("NR_PALIWA")).valueAt(row).toInt());
        return list;
    }

    // The same read from the database, in the screen's order.
    static QStringList storedRates(int type, const QString& yearCondition)
    {
        fb::Statement st(dm_1->db_opl, dm_1->tr_opl,
                         QStringLiteral("select ROK, NR_PALIWA from TAB_OPL_SILN where NR_SILN = %1 %2 order by ROK, NR_PALIWA")
                             .arg(type).arg(yearCondition));
        st.execute();
        QStringList list;
        while (st.fetch())
            list << QStringLiteral("%1/%2").arg(st.value(0).toInt()).arg(st.value(1).toInt());
        return list;
    }

    // Chooses a fuel in the drop-down list of the current new row's fuel cell.
    void chooseFuel(const QString& name)
    {
        auto* combo = qobject_cast<QComboBox*>(openEditor(rates, dm->IBDS_opl.recNo(), QStringLiteral("nazpal")));
        QVERIFY(combo);
        combo->setCurrentIndex(combo->findText(name));
        QTest::keyClick(combo, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
        mainWindow = std::make_unique<QWidget>();
        mainWindow->setGeometry(40, 0, 720, 640);
        mainWindow->show();
    }

    void cleanup()
    {
        screen.reset();
        f_opl = nullptr;
        mainWindow.reset();
        stop();
    }

    void selectStatementForTheYearText()
    {
        const QString all = QStringLiteral("select * from TAB_OPL_SILN where (tab_opl_siln.nr_siln=:nr) "
                                           "order by TAB_OPL_SILN.ROK,TAB_OPL_SILN.NR_PALIWA");
        const QString ofYear = QStringLiteral("select * from TAB_OPL_SILN where (tab_opl_siln.nr_siln=:nr) and (rok=:rok) "
                                              "order by TAB_OPL_SILN.ROK,TAB_OPL_SILN.NR_PALIWA");
        data::RateQuery q = data::rateQueryForYear(QString());
        QCOMPARE(q.sql, all);
        QVERIFY(!q.filtersYear);
        q = data::rateQueryForYear(QStringLiteral("2024"));
        QCOMPARE(q.sql, ofYear);
        QVERIFY(q.filtersYear);
        QCOMPARE(q.year, QVariant(2024));
        // Read as a number literal of SQL.
        QCOMPARE(data::rateQueryForYear(QStringLiteral(" 202")).year, QVariant(202));
        QCOMPARE(data::rateQueryForYear(QStringLiteral("+24")).year, QVariant(24));
        QCOMPARE(data::rateQueryForYear(QStringLiteral("20.0")).year, QVariant(20));
        // No year matches what is not a whole number: the year is bound as null.
        for (const char* text : {"abc", "20x", "2.5", "-", " "}) {
            q = data::rateQueryForYear(QString::fromLatin1(text));
            QCOMPARE(q.sql, ofYear);
            QVERIFY2(!q.year.isValid(), text);
        }
    }

    void opensOnTheLatestYearOfTheFirstType()
    {
        QVERIFY(!dm->IBQ_siln1.isActive() && !dm->IBDS_opl.isActive() && !dm->ibds_pal.isActive());
        showScreen();
        QCOMPARE(screen->windowTitle(), QStringLiteral("Stawki opłat za 1 T paliwa "));
        QCOMPARE(desktop::helpContext(screen.get()), 6);
        const Qt::WindowFlags flags = screen->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) && !flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY((screen->frameGeometry().center() - mainWindow->frameGeometry().center()).manhattanLength() <= 2);
        QVERIFY(dm->IBQ_siln1.isActive() && dm->IBDS_opl.isActive() && dm->ibds_pal.isActive());
        QVERIFY(!dm->IBQ_rokopl.isActive());

        // The years that have rates, sorted, the latest shown.
        QCOMPARE(yearItems(), (QStringList{"2008", "2011", "2013", "2014", "2015", "2017", "2018", "2019", "2020",
                                           "2021", "2022", "2023", "2024", "2025", "2026"}));
        QCOMPARE(c_rok->currentText(), QStringLiteral("2026"));
        QVERIFY(c_rok->isEditable());
        QCOMPARE(c_rok->lineEdit()->maxLength(), 4);
        QCOMPARE(c_rok->insertPolicy(), QComboBox::NoInsert);

        // The header strip, the vehicle types above, the rates below.
        auto* label1 = screen->findChild<QLabel*>(QStringLiteral("Label1"));
        auto* label2 = screen->findChild<QLabel*>(QStringLiteral("Label2"));
        auto* label3 = screen->findChild<QLabel*>(QStringLiteral("Label3"));
        QVERIFY(label1 && label2 && label3);
        QCOMPARE(label1->text(), QStringLiteral("Rodzaj pojazdu"));
        QCOMPARE(label2->text(), QStringLiteral("Rok"));
        QCOMPARE(label3->text(), QStringLiteral("Opłata za tonę spalonego paliwa"));
        QVERIFY(label3->wordWrap());
        QVERIFY(label3->width() < label3->fontMetrics().horizontalAdvance(label3->text()) / 2);
        QVERIFY(label2->geometry().bottom() < c_rok->geometry().top());
        QVERIFY(label1->geometry().right() < c_rok->geometry().left());
        QVERIFY(nav->geometry().bottom() < types->mapTo(screen.get(), QPoint(0, 0)).y());
        QVERIFY(label3->mapTo(screen.get(), QPoint(0, 0)).x() < rates->mapTo(screen.get(), QPoint(0, 0)).x());
        QCOMPARE(nav->dataSource(), &dm->ds_opl);
        for (int b = 0; b < DBNavigator::buttonCount; ++b)
            QVERIFY(!nav->button(DBNavigator::Button(b))->toolTip().isEmpty());

        QCOMPARE(titles(types), (QStringList{"NR", "NAZWA"}));
        QCOMPARE(types->model()->rowCount(), 44);
        QVERIFY(types->isGridReadOnly());
        QCOMPARE(types->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!(types->model()->flags(types->model()->index(0, 1)) & Qt::ItemIsEditable));
        // The chosen type stays marked while the rates have the focus.
        QCOMPARE(types->palette().color(QPalette::Inactive, QPalette::Highlight),
                 types->palette().color(QPalette::Active, QPalette::Highlight));

        QCOMPARE(titles(rates), (QStringList{"ROK", "Nr silnika", "Rodzaj paliwa", "Stawka za tonę"}));
        QCOMPARE(shownRates(), storedRates(1, QStringLiteral("and ROK = 2026")));
        QVERIFY(!shownRates().isEmpty());
        QCOMPARE(cellText(rates, 0, QStringLiteral("NR_SILN")), QStringLiteral("1"));
        QCOMPARE(cellText(rates, 0, QStringLiteral("nazpal")), QStringLiteral("benzyna silnikowa"));
        const double rate = dm->IBDS_opl.fieldByName(QStringLiteral("OPL_ZA_TONE")).asFloat();
        QCOMPARE(cellText(rates, 0, QStringLiteral("OPL_ZA_TONE")), text::formatFloat(QStringLiteral("###.00"), rate));
        QVERIFY(cellText(rates, 0, QStringLiteral("OPL_ZA_TONE")).contains(QLatin1Char(',')));

        // Another vehicle type shows its rates of the year.
        types->setCurrentIndex(types->model()->index(2, 1));
        QCOMPARE(dm->IBQ_siln1.fieldByName(QStringLiteral("NR")).asInteger(), 3);
        QCOMPARE(shownRates(), storedRates(3, QStringLiteral("and ROK = 2026")));

        // Neither part of the splitter goes below 50 pixels.
        auto* splitter = screen->findChild<QSplitter*>(QStringLiteral("Splitter1"));
        QVERIFY(splitter);
        QCOMPARE(splitter->orientation(), Qt::Vertical);
        QCOMPARE(splitter->widget(0), types);
        QVERIFY(splitter->widget(1)->isAncestorOf(rates));
        QVERIFY(!splitter->childrenCollapsible());
        const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
        splitter->setSizes({0, total});
        QCOMPARE(splitter->sizes().value(0), 50);
        splitter->setSizes({total, 0});
        QCOMPARE(splitter->sizes().value(1), 50);

        // Closing closes the datasets.
        screen->close();
        QVERIFY(!dm->IBQ_siln1.isActive() && !dm->IBDS_opl.isActive() && !dm->ibds_pal.isActive());
    }

    void yearTextFiltersTheRates()
    {
        showScreen();
        QLineEdit* edit = c_rok->lineEdit();

        // Digit by digit: nothing until the whole year is there.
        edit->selectAll();
        QTest::keyClick(edit, '2');
        QCOMPARE(c_rok->currentText(), QStringLiteral("2"));
        QVERIFY(dm->IBDS_opl.isActive());
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);
        QTest::keyClick(edit, '0');
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);
        QTest::keyClick(edit, '2');
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);
        QTest::keyClick(edit, '4');
        QCOMPARE(c_rok->currentText(), QStringLiteral("2024"));
        QCOMPARE(shownRates(), storedRates(1, QStringLiteral("and ROK = 2024")));
        QVERIFY(!shownRates().isEmpty());
        QTest::keyClick(edit, '5'); // a fifth character does not go in
        QCOMPARE(c_rok->currentText(), QStringLiteral("2024"));

        // Cleared: every year of the type, by year and fuel.
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(c_rok->currentText(), QString());
        QCOMPARE(shownRates(), storedRates(1, QString()));
        QVERIFY(shownRates().size() > storedRates(1, QStringLiteral("and ROK = 2024")).size());

        // Choosing an item of the list reloads the rates as well.
        c_rok->setCurrentIndex(c_rok->findText(QStringLiteral("2013")));
        QTest::keyClick(c_rok, Qt::Key_Down);
        QCOMPARE(c_rok->currentText(), QStringLiteral("2014"));
        QCOMPARE(shownRates(), storedRates(1, QStringLiteral("and ROK = 2014")));

        // A text that is no year shows nothing, without a message.
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QVERIFY(dm->IBDS_opl.isActive());
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);
        QVERIFY(shown.isEmpty());

        // Leaving the list for the grid shows the rates of its text.
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        c_rok->setFocus();
        c_rok->setEditText(QStringLiteral("2020"));
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);
        rates->setFocus();
        QCOMPARE(shownRates(), storedRates(1, QStringLiteral("and ROK = 2020")));
    }

    void newRatesKeepTheYearListInStep()
    {
        showScreen();
        QLineEdit* edit = c_rok->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("2030"));
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);

        // A new rate takes the year typed and the chosen vehicle type; neither can be changed.
        // Started with the navigator while the year list has the focus, it survives the
        // focus going over to the grid.
        types->setCurrentIndex(types->model()->index(4, 1));
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        c_rok->setFocus();
        nav->click(DBNavigator::Insert);
        rates->setFocus();
        QCOMPARE(QApplication::focusWidget(), rates);
        QCOMPARE(dm->IBDS_opl.state(), ds::DatasetState::Insert);
        QCOMPARE(cellText(rates, 0, QStringLiteral("ROK")), QStringLiteral("2030"));
        QCOMPARE(cellText(rates, 0, QStringLiteral("NR_SILN")), QStringLiteral("5"));
        QVERIFY(!openEditor(rates, 0, QStringLiteral("ROK")));
        QVERIFY(!openEditor(rates, 0, QStringLiteral("NR_SILN")));
        chooseFuel(QStringLiteral("olej napędowy"));
        QCOMPARE(dm->IBDS_opl.fieldByName(QStringLiteral("NR_PALIWA")).asInteger(), 5);
        enterCell(rates, 0, QStringLiteral("OPL_ZA_TONE"), QStringLiteral("123,4"));
        QCOMPARE(c_rok->findText(QStringLiteral("2030")), -1);
        nav->click(DBNavigator::Post);
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN where NR_SILN = 5 and NR_PALIWA = 5 "
                                      "and ROK = 2030 and OPL_ZA_TONE = 123.4")), 1);
        QCOMPARE(cellText(rates, 0, QStringLiteral("OPL_ZA_TONE")), QStringLiteral("123,40"));
        QCOMPARE(cellText(rates, 0, QStringLiteral("nazpal")), QStringLiteral("olej napędowy"));
        // The year joins the list, in order, and stays shown.
        QCOMPARE(yearItems().last(), QStringLiteral("2030"));
        QCOMPARE(yearItems().size(), 16);
        QCOMPARE(c_rok->currentText(), QStringLiteral("2030"));

        // A second rate of the same fuel, type and year is refused by the database.
        QTest::keyClick(rates, Qt::Key_Insert);
        chooseFuel(QStringLiteral("olej napędowy"));
        enterCell(rates, dm->IBDS_opl.recNo(), QStringLiteral("OPL_ZA_TONE"), QStringLiteral("1"));
        QVERIFY_THROWS_EXCEPTION(std::exception, nav->click(DBNavigator::Post));
        QCOMPARE(dm->IBDS_opl.state(), ds::DatasetState::Insert);
        nav->click(DBNavigator::Cancel);
        QCOMPARE(yearItems().size(), 16);

        // With no year shown the year is typed into the row.
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(c_rok->currentText(), QString());
        QTest::keyClick(rates, Qt::Key_Insert);
        const int row = dm->IBDS_opl.recNo();
        QVERIFY(dm->IBDS_opl.fieldByName(QStringLiteral("ROK")).isNull());
        enterCell(rates, row, QStringLiteral("ROK"), QStringLiteral("2031"));
        chooseFuel(QStringLiteral("benzyna silnikowa"));
        enterCell(rates, row, QStringLiteral("OPL_ZA_TONE"), QStringLiteral("99"));
        nav->click(DBNavigator::Post);
        QCOMPARE(yearItems().last(), QStringLiteral("2031"));
        QCOMPARE(c_rok->currentText(), QString());

        // A rate without its amount when the screen closes: the user is asked, and stays with
        // it on "Nie"; on "Tak" it is dropped.
        QTest::keyClick(rates, Qt::Key_Insert);
        enterCell(rates, dm->IBDS_opl.recNo(), QStringLiteral("ROK"), QStringLiteral("2032"));
        chooseFuel(QStringLiteral("biodiesel"));
        answer = desktop::Answer::No;
        screen->close();
        QVERIFY(screen->isVisible());
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("Wprowadzone dane są niepełne (brak: Stawka za tonę) i nie można ich "
                                                    "zapisać.\nCzy je porzucić?"));
        QCOMPARE(dm->IBDS_opl.state(), ds::DatasetState::Insert);
        answer = desktop::Answer::Yes;
        screen->close();
        QVERIFY(!dm->IBDS_opl.isActive());
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN where ROK = 2032")), 0);
    }

    void deletingTheLastRateOfAYearDropsTheYear()
    {
        // The fuel list stays as it was found: open before, open after.
        dm->ibds_pal.open();
        showScreen();
        const int ofType1 = storedRates(1, QStringLiteral("and ROK = 2026")).size();
        QVERIFY(ofType1 > 1);
        const int otherTypes = count(QStringLiteral("select count(*) from TAB_OPL_SILN where ROK = 2026 and NR_SILN <> 1"));
        QVERIFY(otherTypes > 0);

        // One of several rates of the year: the year stays; the question comes first.
        answer = desktop::Answer::No;
        QTest::keyClick(rates, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Czy usunąć bieżący wiersz?"));
        QCOMPARE(dm->IBDS_opl.recordCount(), ofType1);
        answer = desktop::Answer::Yes;
        QTest::keyClick(rates, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(dm->IBDS_opl.recordCount(), ofType1 - 1);
        QCOMPARE(c_rok->currentText(), QStringLiteral("2026"));
        QVERIFY(c_rok->findText(QStringLiteral("2026")) >= 0);

        // The last one of the type: the year leaves the list although other types keep
        // rates in it, and the latest remaining year is shown.
        for (int left = ofType1 - 1; left > 0; --left)
            nav->click(DBNavigator::Delete);
        QCOMPARE(c_rok->findText(QStringLiteral("2026")), -1);
        QCOMPARE(c_rok->currentText(), QStringLiteral("2025"));
        QCOMPARE(yearItems().last(), QStringLiteral("2025"));
        QVERIFY(dm->IBDS_opl.isActive());
        QCOMPARE(shownRates(), storedRates(1, QStringLiteral("and ROK = 2025")));
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN where ROK = 2026")), otherTypes);

        screen->close();
        QVERIFY(dm->ibds_pal.isActive());
        QVERIFY(!dm->IBDS_opl.isActive() && !dm->IBQ_siln1.isActive());
    }

    void emptyRateTable()
    {
        exec(QStringLiteral("delete from TAB_OPL_SILN"));
        showScreen();
        QCOMPARE(c_rok->count(), 0);
        QCOMPARE(c_rok->currentText(), QString());
        QCOMPARE(dm->IBDS_opl.selectSql(), data::rateQueryForYear(QString()).sql);
        QVERIFY(dm->IBDS_opl.isActive());
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);
        QCOMPARE(types->model()->rowCount(), 44);
        QVERIFY(nav->button(DBNavigator::Insert)->isEnabled());
        QVERIFY(!nav->button(DBNavigator::Delete)->isEnabled());
        QVERIFY(!nav->button(DBNavigator::Next)->isEnabled());

        // The first rate ever makes the first year of the list; the text stays as typed.
        QTest::keyClick(rates, Qt::Key_Insert);
        enterCell(rates, 0, QStringLiteral("ROK"), QStringLiteral("2027"));
        chooseFuel(QStringLiteral("olej napędowy"));
        enterCell(rates, 0, QStringLiteral("OPL_ZA_TONE"), QStringLiteral("10"));
        nav->click(DBNavigator::Post);
        QCOMPARE(yearItems(), QStringList{"2027"});
        QCOMPARE(c_rok->currentText(), QString());
        QCOMPARE(dm->IBDS_opl.recordCount(), 1);

        // Deleting it empties the list again.
        nav->click(DBNavigator::Delete);
        QCOMPARE(c_rok->count(), 0);
        QCOMPARE(c_rok->currentText(), QString());
        QCOMPARE(dm->IBDS_opl.recordCount(), 0);
    }
};

TEST_MAIN(QApplication, TestFeeRateScreen)
#include "test_fee_rate_screen.moc"
