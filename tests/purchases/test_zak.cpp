// The purchase screen on a real database: its controls, the period, the vehicles offered,
// the date picker and fuel list that follow the vehicle, entry-only mode, the letter
// search and the grid's totals.
#include <QFile>
#include <QToolButton>

#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "purchase_fixture.h"
#include "purchases/left_aligned_delegate.h"
#include "test_main.h"

namespace purchasetest {

namespace {

const QString fuelMessage = QStringLiteral("Błędny rodzaj paliwa.\rWybierz olej napędowy lub biodiesel");

} // namespace

class TestZak : public QObject {
    Q_OBJECT

    ScreenFixture fx;

    template <class T>
    T* child(const char* name) const { return fx.child<T>(name); }

    QPair<QDate, QDate> pickerRange() const { return {fx.picker()->minimumDate(), fx.picker()->maximumDate()}; }

private slots:
    void init()
    {
        fx.connect();
        Rows rows(*fx.dm);
        rows.taxpayer(1, QStringLiteral("Abakus"));
        rows.taxpayer(2, QStringLiteral("Łódź Trans"));
        rows.taxpayer(3, QStringLiteral("lis"));
        rows.taxpayer(4, QStringLiteral("Bez aut"));
        rows.taxpayer(5, QStringLiteral("O'Brien"));
        rows.vehicle(QStringLiteral("DW100"), 1, diesel, QDate(2010, 1, 1));
        rows.vehicle(QStringLiteral("DW200"), 1, petrol, QDate(2010, 1, 1));
        rows.vehicle(QStringLiteral("DW300"), 1, diesel, QDate(2012, 3, 15));
        rows.vehicle(QStringLiteral("DW400"), 1, diesel, QDate(2011, 1, 1), QDate(2012, 5, 10));
        rows.vehicle(QStringLiteral("DW500"), 1, diesel, QDate(2012, 8, 1));                     // starts after I/2012
        rows.vehicle(QStringLiteral("DW600"), 1, diesel, QDate(2012, 8, 1), QDate(2012, 9, 1));  // offered, never in use
        rows.vehicle(QStringLiteral("DW700"), 1, diesel, QDate(2011, 1, 1), QDate(2012, 4, 10));
        rows.vehicle(QStringLiteral("EL1"), 2, diesel, QDate(2010, 1, 1));
        rows.vehicle(QStringLiteral("LI1"), 3, petrol, QDate(2010, 1, 1));
        rows.vehicle(QStringLiteral("OB1"), 5, diesel, QDate(2010, 1, 1));
        rows.purchase(1, QStringLiteral("DW100"), QStringLiteral("FV 1"), QDate(2012, 4, 20), 100.5);
        rows.purchase(2, QStringLiteral("DW200"), QStringLiteral("FV 2"), QDate(2012, 2, 10), 1040, petrol);
        rows.purchase(3, QStringLiteral("DW100"), QStringLiteral("FV 3"), QDate(2012, 9, 5), 1234.5);
        // Yesterday, but never in the previous year (the screen opens on the current year).
        const QDate recent = std::max(QDate::currentDate().addDays(-1), QDate(QDate::currentDate().year(), 1, 1));
        rows.purchase(4, QStringLiteral("DW100"), QStringLiteral("FV 4"), recent, 10);
        rows.purchase(5, QStringLiteral("OB1"), QStringLiteral("O/1"), recent, 20);
        rows.exec(QStringLiteral("set generator G_ZAK to 100"));
    }

    void cleanup() { fx.close(); }

    void screenAsOpened()
    {
        fx.open();
        QCOMPARE(fx.screen->objectName(), QStringLiteral("f_zak"));
        QCOMPARE(fx.screen->windowTitle(), QStringLiteral("Zakupy paliwa"));
        QCOMPARE(desktop::helpContext(fx.screen.get()), 10);
        QVERIFY(!(fx.screen->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        const QList<QPair<const char*, QString>> labels{
            {"e_pod", QStringLiteral("&Podatnik")},       {"e_kwart", QStringLiteral("Półro&cze")},
            {"e_rok", QStringLiteral("R&ok")},            {"e_nrkol", QStringLiteral("Nr kolejny rekordu:")},
            {"e_nrrej", QStringLiteral("&Nr rejestracyjny")}, {"e_nrrach", QStringLiteral("Nr &rachunku")},
            {"e_dzak", QStringLiteral("z &dnia")},        {"e_rodz_pal", QStringLiteral("Rodzaj pa&liwa")},
            {"e_ilzak", QStringLiteral("&Ilość (w litrach)")}};
        for (const auto& [name, text] : labels)
            QCOMPARE(child<QLabel>(name)->text(), text);
        QCOMPARE(child<QLabel>("e_nrrej")->buddy(), fx.vehicles());
        QCOMPARE(child<QLabel>("e_rodz_pal")->buddy(), fx.fuels());
        QCOMPARE(child<QLabel>("e_dzak")->buddy(), fx.picker());
        QCOMPARE(child<QLabel>("e_pod")->buddy(), child<QListWidget>("lb_pod"));
        QCOMPARE(child<QCheckBox>("ch_wprow")->text(), QStringLiteral("tylko wprowadzanie nowych danych "));

        // Choices that Tab does not visit.
        for (const char* name : {"lb_pod", "lb_kwart", "m_rok", "ch_wprow"})
            QVERIFY2(!(child<QWidget>(name)->focusPolicy() & Qt::TabFocus), name);
        QCOMPARE(fx.items(child<QListWidget>("lb_kwart")), (QStringList{QStringLiteral("    I"), QStringLiteral("    II")}));
        QCOMPARE(child<QLineEdit>("m_rok")->inputMask(), QStringLiteral("9999;_"));
        QCOMPARE(child<QLineEdit>("m_rok")->text(), QString::number(QDate::currentDate().year()));

        // Taxpayers that own vehicles only, in the Polish alphabet, letter case aside.
        QCOMPARE(fx.items(child<QListWidget>("lb_pod")),
                 (QStringList{QStringLiteral("Abakus"), QStringLiteral("lis"), QStringLiteral("Łódź Trans"), QStringLiteral("O'Brien")}));
        QCOMPARE(child<QListWidget>("lb_pod")->currentRow(), 0);
        QCOMPARE(fx.screen->selectedTaxpayer(), QStringLiteral("Abakus"));

        auto* pages = child<QTabWidget>("PC_zak");
        QCOMPARE(pages->currentWidget(), child<QWidget>("ts_form"));
        QCOMPARE(pages->tabText(0), QStringLiteral("Formularz"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Tabela"));
        QCOMPARE(fx.screen->focusWidget(), fx.vehicles());

        QVERIFY(child<dbw::DBNavigator>("DBNavigator1")->isVisible());

        auto* ok = child<QPushButton>("kl_ok");
        auto* cancel = child<QPushButton>("kl_anuluj");
        QVERIFY(!ok->isVisible() && !cancel->isVisible());
        QCOMPARE(ok->text(), QStringLiteral("&Akceptuj"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Zapisz rekord"));
        QCOMPARE(cancel->text(), QStringLiteral("Anuluj"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("Anuluj"));
        QVERIFY(!child<QAction>("a_ok")->isEnabled() && !child<QAction>("a_anul")->isEnabled()); // browsing

        QCOMPARE(fx.picker()->lineEdit()->text(), text::formatDate(fx.picker()->date()));

        auto* grid = child<dbw::DBGrid>("DBGrid1");
        QStringList titles;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            titles << grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{QStringLiteral("Nr kolejny"), QStringLiteral("Nr rejestr."), QStringLiteral("Nr rachunku ▲"),
                                      QStringLiteral("Data zakupu ▲"), QStringLiteral("Ilość (w l)"), QStringLiteral("Rodzaj paliwa")}));
        QCOMPARE(grid->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);

        // The current year's purchase of the first taxpayer, shown in the picker.
        QCOMPARE(fx.zak().recordCount(), 1);
        QCOMPARE(fx.zak().state(), ds::DatasetState::Browse);
        QCOMPARE(fx.picker()->date(), std::max(QDate::currentDate().addDays(-1), QDate(QDate::currentDate().year(), 1, 1)));

        const auto topics = desktop::HelpSystem::topics();
        const auto topic = std::find_if(topics.begin(), topics.end(), [](const auto& t) { return t.context == 10; });
        QVERIFY(topic != topics.end());
        QCOMPARE(topic->title, QStringLiteral("Zakupy paliwa"));
        QVERIFY(QFile::exists(QStringLiteral(":/help/purchases.html")));
    }

    void periodFromYearAndHalfYear()
    {
        fx.open();
        const int thisYear = QDate::currentDate().year();
        QVERIFY(thisYear > 2012);
        QVERIFY(!child<QListWidget>("lb_kwart")->isVisible());
        QCOMPARE(fx.screen->periodStart(), QDate(thisYear, 1, 1));
        QCOMPARE(fx.screen->periodEnd(), QDate(thisYear, 12, 31));

        fx.setYear(QStringLiteral("2012"));
        QVERIFY(child<QListWidget>("lb_kwart")->isVisible() && child<QLabel>("e_kwart")->isVisible());
        QCOMPARE(child<QListWidget>("lb_kwart")->currentRow(), 0);
        QCOMPARE(fx.screen->selectedYear(), 2012);
        QCOMPARE(fx.screen->periodStartLiteral(), QStringLiteral("'2012-01-01'"));
        QCOMPARE(fx.screen->periodEndLiteral(), QStringLiteral("'2012-06-30'"));
        QCOMPARE(fx.zak().param(QStringLiteral("dpocz")).toDate(), QDate(2012, 1, 1));
        QCOMPARE(fx.zak().param(QStringLiteral("dkon")).toDate(), QDate(2012, 6, 30));
        QCOMPARE(fx.zak().param(QStringLiteral("nazskr")).toString(), QStringLiteral("Abakus"));
        QCOMPARE(fx.dm->IBQ_sam_pod.param(QStringLiteral("dkon")).toDate(), QDate(2012, 6, 30));
        QCOMPARE(pickerRange(), qMakePair(QDate(2012, 1, 1), QDate(2012, 6, 30)));
        QCOMPARE(fx.zak().recordCount(), 2); // by vehicle: FV 1 of DW100, FV 2 of DW200
        QCOMPARE(fx.value("NR_RACH").toString(), QStringLiteral("FV 1"));

        fx.chooseHalf(1);
        QCOMPARE(fx.screen->periodStartLiteral(), QStringLiteral("'2012-07-01'"));
        QCOMPARE(fx.screen->periodEndLiteral(), QStringLiteral("'2012-12-31'"));
        QCOMPARE(fx.zak().param(QStringLiteral("dpocz")).toDate(), QDate(2012, 7, 1));
        QCOMPARE(pickerRange(), qMakePair(QDate(2012, 7, 1), QDate(2012, 12, 31)));
        QCOMPARE(fx.zak().recordCount(), 1);
        QCOMPARE(fx.value("NR_RACH").toString(), QStringLiteral("FV 3"));

        fx.setYear(QStringLiteral("2013"));
        QVERIFY(!child<QListWidget>("lb_kwart")->isVisible() && !child<QLabel>("e_kwart")->isVisible());
        QCOMPARE(fx.screen->selectedYear(), 2013);
        QCOMPARE(fx.screen->periodStartLiteral(), QStringLiteral("'2013-01-01'"));
        QCOMPARE(fx.screen->periodEndLiteral(), QStringLiteral("'2013-12-31'"));
        QCOMPARE(pickerRange(), qMakePair(QDate(2013, 1, 1), QDate(2013, 12, 31)));

        // An incomplete year is refused when the field is left; Escape brings the year back.
        auto* year = child<QLineEdit>("m_rok");
        fx.setYear(QStringLiteral("20"));
        QCOMPARE(fx.messages(), QStringList{QStringLiteral("Rok musi się składać z czterech cyfr. Klawisz Esc przywraca poprzedni rok.")});
        QCOMPARE(fx.screen->selectedYear(), 2013);
        QCOMPARE(fx.screen->focusWidget(), year);
        QTest::keyClick(year, Qt::Key_Escape);
        QCOMPARE(year->text(), QStringLiteral("2013"));
        QVERIFY(fx.screen->isVisible());
    }

    void vehiclesOfferedInThePeriod()
    {
        fx.open();
        fx.choosePeriod(2012, 0);
        // No end of use and a start after the period end: not offered. An end after the
        // period start: offered, even when the use starts after the period end.
        QCOMPARE(fx.items(fx.vehicles()), (QStringList{QStringLiteral("DW100"), QStringLiteral("DW200"), QStringLiteral("DW300"),
                                                      QStringLiteral("DW400"), QStringLiteral("DW600"), QStringLiteral("DW700")}));
        QCOMPARE(fx.vehicles()->currentItem()->text(), QStringLiteral("DW100"));

        // A vehicle never in use in the period is refused; the purchase keeps its vehicle.
        fx.clickItem(fx.vehicles(), QStringLiteral("DW600"));
        QCOMPARE(fx.shown.size(), 1);
        QCOMPARE(fx.shown.first().kind, desktop::MessageKind::Warning);
        QVERIFY(fx.shown.first().text.startsWith(QStringLiteral("Samochód DW600 nie był używany w okresie od 01-01-2012 do 30-06-2012")));
        QCOMPARE(fx.value("NR_REJ").toString(), QStringLiteral("DW100"));
        QCOMPARE(fx.vehicles()->currentItem()->text(), QStringLiteral("DW100"));
        QCOMPARE(pickerRange(), qMakePair(QDate(2012, 1, 1), QDate(2012, 6, 30)));

        fx.choosePeriod(2012, 1);
        QVERIFY(fx.items(fx.vehicles()).contains(QStringLiteral("DW500")));
        QVERIFY(!fx.items(fx.vehicles()).contains(QStringLiteral("DW400")));
    }

    void pickerFollowsTheVehicle()
    {
        fx.open();
        fx.choosePeriod(2012, 0);
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 4, 20));

        // In use from 15 March: the picker admits 15 March to 30 June and keeps 20 April.
        fx.clickItem(fx.vehicles(), QStringLiteral("DW300"));
        QCOMPARE(fx.zak().state(), ds::DatasetState::Edit);
        QCOMPARE(fx.value("NR_REJ").toString(), QStringLiteral("DW300"));
        QCOMPARE(pickerRange(), qMakePair(QDate(2012, 3, 15), QDate(2012, 6, 30)));
        QCOMPARE(fx.picker()->date(), QDate(2012, 4, 20));
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 4, 20));

        // Use ended on 10 May: 1 January to 10 May.
        fx.clickItem(fx.vehicles(), QStringLiteral("DW400"));
        QCOMPARE(pickerRange(), qMakePair(QDate(2012, 1, 1), QDate(2012, 5, 10)));
        QCOMPARE(fx.picker()->date(), QDate(2012, 4, 20));
        QCOMPARE(child<QLabel>("e_uwaga")->text(), QString());

        // Use ended on 10 April, before the stored purchase: its date stays as it is, the
        // status line points it out, and the post refuses it.
        fx.clickItem(fx.vehicles(), QStringLiteral("DW700"));
        QCOMPARE(pickerRange(), qMakePair(QDate(2012, 1, 1), QDate(2012, 4, 10)));
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 4, 20));
        QCOMPARE(fx.picker()->date(), QDate(2012, 4, 20));
        const QString outside = QStringLiteral("Data zakupu 20-04-2012 leży poza dniami użytkowania samochodu DW700 w "
                                               "okresie rozliczeniowym (01-01-2012 – 10-04-2012). Popraw datę zakupu.");
        QCOMPARE(child<QLabel>("e_uwaga")->text(), outside);
        fx.press(dbw::DBNavigator::Post);
        QCOMPARE(fx.messages(), QStringList{outside});
        QCOMPARE(fx.zak().state(), ds::DatasetState::Edit);

        // A typed date outside the vehicle's days is refused and the focus stays in the field;
        // one inside goes into the purchase as typed, with or without leading zeros.
        fx.shown.clear();
        fx.typeDate(QStringLiteral("15-05-2012"));
        QCOMPARE(fx.messages(), QStringList{QStringLiteral("Data 15-05-2012 leży poza dozwolonym zakresem: od 01-01-2012 do "
                                                           "10-04-2012.\nKlawisz Esc przywraca poprzednią datę.")});
        QCOMPARE(QApplication::focusWidget(), fx.picker()->lineEdit());
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 4, 20));
        fx.shown.clear();
        fx.typeDate(QStringLiteral("3-3-2012"));
        QVERIFY(fx.shown.isEmpty());
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 3, 3));
        QCOMPARE(fx.picker()->lineEdit()->text(), QStringLiteral("03-03-2012"));
        QCOMPARE(child<QLabel>("e_uwaga")->text(), QString());
        // Typed as digits alone, every digit counts: "05032012" is the 5th of March.
        fx.typeDate(QStringLiteral("05032012"));
        QVERIFY(fx.shown.isEmpty());
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 3, 5));
        QCOMPARE(fx.picker()->lineEdit()->text(), QStringLiteral("05-03-2012"));

        // Cancelled: the stored date comes back, with the days of its own vehicle.
        fx.press(dbw::DBNavigator::Cancel);
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 4, 20));
        QCOMPARE(pickerRange(), qMakePair(QDate(2012, 1, 1), QDate(2012, 6, 30)));
        QCOMPARE(fx.picker()->date(), QDate(2012, 4, 20));

        // A new purchase while today lies outside the period starts quietly on its first day;
        // that default date, not the user's, follows the vehicle chosen for it.
        fx.press(dbw::DBNavigator::Insert);
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 1, 1));
        QCOMPARE(fx.picker()->date(), QDate(2012, 1, 1));
        QCOMPARE(child<QLabel>("e_uwaga")->text(), QString());
        QCOMPARE(fx.value("NR_KOL").toInt(), 101);
        fx.clickItem(fx.vehicles(), QStringLiteral("DW300"));
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate(2012, 3, 15));
        QCOMPARE(child<QLabel>("e_uwaga")->text(), QString());
        QCOMPARE(fx.shown.size(), 0);
    }

    void datesTypedAsTheyStand_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("stored");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("leading zeros") << "15-05-2012" << QDate(2012, 5, 15) << "";
        QTest::newRow("without them") << "5-6-2012" << QDate(2012, 6, 5) << "";
        QTest::newRow("last day") << "30-06-2012" << QDate(2012, 6, 30) << "";
        QTest::newRow("two-digit year") << "01-02-12" << QDate(2012, 2, 1) << "";
        QTest::newRow("year first") << "2012-03-05" << QDate(2012, 3, 5) << "";
        QTest::newRow("year first, outside") << "2012-07-05" << QDate() << "Data 05-07-2012 leży poza dozwolonym zakresem: od 01-01-2012 do 30-06-2012.";
        QTest::newRow("no such day") << "31-06-2012" << QDate() << "„31-06-2012” nie jest poprawną datą. Wpisz datę w postaci dd-mm-rrrr, np. 15-05-2024.";
        QTest::newRow("next half-year") << "01-07-2012" << QDate() << "Data 01-07-2012 leży poza dozwolonym zakresem: od 01-01-2012 do 30-06-2012.";
        QTest::newRow("emptied") << "" << QDate() << "Wpisz datę w postaci dd-mm-rrrr, np. 15-05-2024.";
    }

    // Each date is typed with real key presses into a new purchase and stored through the
    // navigator; a refused one keeps the focus and stores nothing.
    void datesTypedAsTheyStand()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, stored);
        QFETCH(QString, refusal);
        fx.open();
        fx.choosePeriod(2012, 0);
        fx.press(dbw::DBNavigator::Insert);
        fx.keyPurchase(QStringLiteral("DW100"), QStringLiteral("FV 77"), QDate(2012, 2, 2), QStringLiteral("10"));
        fx.typeDate(typed);
        if (refusal.isEmpty()) {
            QVERIFY2(fx.shown.isEmpty(), qPrintable(fx.messages().join(QLatin1Char('\n'))));
            QCOMPARE(QApplication::focusWidget(), fx.fuels()); // Tab went on to the next control
        } else {
            QCOMPARE(fx.messages(), QStringList{refusal + QStringLiteral("\nKlawisz Esc przywraca poprzednią datę.")});
            QCOMPARE(QApplication::focusWidget(), fx.picker()->lineEdit());
        }
        // Posting with the navigator takes what is typed, or refuses the purchase with it.
        fx.shown.clear();
        fx.press(dbw::DBNavigator::Post);
        Rows rows(*fx.dm);
        const QList<QVariantList> found = rows.select(QStringLiteral("select D_ZAK from ZAK_PAL where NR_RACH = 'FV 77'"));
        if (stored.isValid()) {
            QCOMPARE(found, (QList<QVariantList>{{QDateTime(stored, QTime(0, 0))}}));
        } else {
            QCOMPARE(found.size(), 0);
            QCOMPARE(fx.messages(), QStringList{refusal});
            QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        }
    }

    void fuelListFollowsTheVehicle()
    {
        fx.open();
        fx.choosePeriod(2012, 0);
        child<dbw::DBNavigator>("DBNavigator1")->click(dbw::DBNavigator::Insert);

        // Before a vehicle is chosen there is no fuel to refuse.
        fx.fuels()->setFocus(Qt::MouseFocusReason);
        child<QWidget>("DBE_ilzak")->setFocus(Qt::TabFocusReason);
        QVERIFY(fx.shown.isEmpty());

        auto tabFromPicker = [this] {
            fx.picker()->lineEdit()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(fx.picker()->lineEdit(), Qt::Key_Tab);
            return QApplication::focusWidget();
        };

        // A petrol vehicle binds the purchase to petrol: the list is read-only and skipped.
        fx.clickItem(fx.vehicles(), QStringLiteral("DW200"));
        QCOMPARE(fx.value("NR_RODZ_PAL").toInt(), petrol);
        QCOMPARE(fx.fuels()->currentItem()->text(), QStringLiteral("benzyna silnikowa"));
        QVERIFY(fx.fuels()->isReadOnly());
        QVERIFY(!(fx.fuels()->focusPolicy() & Qt::TabFocus));
        QCOMPARE(tabFromPicker(), child<QWidget>("DBE_ilzak"));
        fx.clickItem(fx.fuels(), QStringLiteral("olej napędowy"));
        QCOMPARE(fx.value("NR_RODZ_PAL").toInt(), petrol);
        QVERIFY(fx.shown.isEmpty());

        // A diesel vehicle may take another fuel, but the list says when it is no diesel.
        fx.clickItem(fx.vehicles(), QStringLiteral("DW100"));
        QCOMPARE(fx.value("NR_RODZ_PAL").toInt(), diesel);
        QVERIFY(!fx.fuels()->isReadOnly());
        QVERIFY(fx.fuels()->focusPolicy() & Qt::TabFocus);
        QCOMPARE(tabFromPicker(), fx.fuels());
        fx.clickItem(fx.fuels(), QStringLiteral("olej napędowy"));
        QVERIFY(fx.shown.isEmpty());
        fx.clickItem(fx.fuels(), QStringLiteral("biodiesel")); // of the diesel family too
        QCOMPARE(fx.value("NR_RODZ_PAL").toInt(), 6);
        QVERIFY(fx.shown.isEmpty());
        fx.clickItem(fx.fuels(), QStringLiteral("benzyna silnikowa"));
        QCOMPARE(fx.value("NR_RODZ_PAL").toInt(), petrol); // the choice stays; the message asks for another
        QCOMPARE(fx.shown.size(), 1);
        QCOMPARE(fx.shown.first().text, fuelMessage);
        QCOMPARE(fx.shown.first().title, appTitle);
        QCOMPARE(QApplication::focusWidget(), fx.fuels());

        // Leaving the list with it shows the message again and brings the focus back.
        child<QWidget>("DBE_ilzak")->setFocus(Qt::TabFocusReason);
        QCOMPARE(fx.shown.size(), 2);
        QCOMPARE(QApplication::focusWidget(), fx.fuels());
        fx.clickItem(fx.fuels(), QStringLiteral("olej napędowy"));
        child<QWidget>("DBE_ilzak")->setFocus(Qt::TabFocusReason);
        QCOMPARE(fx.shown.size(), 2);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("DBE_ilzak"));
    }

    void entryOnlyMode()
    {
        fx.open();
        fx.choosePeriod(2012, 0);
        auto* entryOnly = child<QCheckBox>("ch_wprow");
        QTest::mouseClick(entryOnly, Qt::LeftButton, {}, entryOnly->rect().center());
        QVERIFY(entryOnly->isChecked());
        QVERIFY(!child<QWidget>("DBNavigator1")->isVisible());
        QVERIFY(child<QPushButton>("kl_ok")->isVisible() && child<QPushButton>("kl_anuluj")->isVisible());
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QVERIFY(child<QAction>("a_ok")->isEnabled() && child<QPushButton>("kl_ok")->isEnabled());

        fx.keyPurchase(QStringLiteral("DW100"), QStringLiteral("FV 10/2012"), QDate(2012, 5, 5), QStringLiteral("45,5"));
        const int number = fx.value("NR_KOL").toInt();
        QTest::mouseClick(child<QPushButton>("kl_ok"), Qt::LeftButton);
        QVERIFY2(fx.shown.isEmpty(), qPrintable(fx.messages().join(QLatin1Char('\n'))));
        Rows rows(*fx.dm);
        QCOMPARE(rows.select(QStringLiteral("select NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK from ZAK_PAL where NR_KOL = :p0"),
                             {number}),
                 (QList<QVariantList>{{QStringLiteral("DW100"), QStringLiteral("FV 10/2012"), QDateTime(QDate(2012, 5, 5), QTime(0, 0)),
                                       diesel, 45.5}}));
        // At once the next, empty purchase, with the focus on the vehicle list.
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QVERIFY(fx.value("NR_KOL").toInt() > number);
        QVERIFY(fx.value("NR_REJ").isNull() && fx.value("NR_RACH").isNull() && fx.value("IL_ZAK").isNull());
        QCOMPARE(fx.vehicles()->currentRow(), -1);
        QCOMPARE(QApplication::focusWidget(), fx.vehicles());
        QCOMPARE(child<QLineEdit>("DBE_nrrach")->text(), QString());

        // Without an invoice number the purchase is refused and stays as keyed.
        fx.keyPurchase(QStringLiteral("DW200"), QString(), QDate(2012, 6, 1), QStringLiteral("12"));
        QTest::mouseClick(child<QPushButton>("kl_ok"), Qt::LeftButton);
        QCOMPARE(fx.shown.size(), 1);
        QCOMPARE(fx.shown.first().kind, desktop::MessageKind::Error);
        QCOMPARE(fx.shown.first().text, QStringLiteral("Field 'Nr rachunku' must have a value"));
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QCOMPARE(fx.value("NR_REJ").toString(), QStringLiteral("DW200"));
        QCOMPARE(fx.value("IL_ZAK").toDouble(), 12.0);

        // Cancelled: a new purchase is offered at once.
        const int refused = fx.value("NR_KOL").toInt();
        QTest::mouseClick(child<QPushButton>("kl_anuluj"), Qt::LeftButton);
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QVERIFY(fx.value("NR_KOL").toInt() != refused);
        QVERIFY(fx.value("NR_REJ").isNull());
        QCOMPARE(rows.select(QStringLiteral("select count(*) from ZAK_PAL where NR_KOL = :p0"), {refused}).first().first().toInt(), 0);

        // Off again: the navigator is back and the untouched new purchase is gone.
        QTest::mouseClick(entryOnly, Qt::LeftButton, {}, entryOnly->rect().center());
        QVERIFY(!entryOnly->isChecked());
        QVERIFY(child<QWidget>("DBNavigator1")->isVisible());
        QVERIFY(!child<QPushButton>("kl_ok")->isVisible() && !child<QPushButton>("kl_anuluj")->isVisible());
        QCOMPARE(fx.zak().state(), ds::DatasetState::Browse);
        QCOMPARE(fx.zak().recordCount(), 3);
        QVERIFY(!child<QAction>("a_ok")->isEnabled());
        QCOMPARE(fx.shown.size(), 1);
    }

    void letterSearchInTheTaxpayerList()
    {
        fx.open();
        auto* list = child<QListWidget>("lb_pod");
        list->setFocus(Qt::MouseFocusReason);
        auto type = [list](const QString& character) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
            QApplication::sendEvent(list, &press);
        };
        type(QStringLiteral("ł"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Łódź Trans"));
        type(QStringLiteral("7"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Łódź Trans"));
        // The choice takes effect when the list is left.
        QCOMPARE(fx.screen->selectedTaxpayer(), QStringLiteral("Abakus"));
        fx.vehicles()->setFocus(Qt::OtherFocusReason);
        QCOMPARE(fx.screen->selectedTaxpayer(), QStringLiteral("Łódź Trans"));
        QCOMPARE(fx.items(fx.vehicles()), QStringList{QStringLiteral("EL1")});

        list->setFocus(Qt::MouseFocusReason);
        type(QStringLiteral("L"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("lis"));
        type(QStringLiteral("x"));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("lis"));

        // Arrow keys choose at once, as a click does; a name with an apostrophe is no trouble.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(fx.screen->selectedTaxpayer(), QStringLiteral("Łódź Trans"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(fx.screen->selectedTaxpayer(), QStringLiteral("O'Brien"));
        QCOMPARE(fx.zak().recordCount(), 1);
        QCOMPARE(fx.value("NR_RACH").toString(), QStringLiteral("O/1"));
        QCOMPARE(fx.items(fx.vehicles()), QStringList{QStringLiteral("OB1")});
        QVERIFY(fx.shown.isEmpty());

        // The purchases shown, for a spreadsheet: the invoice number kept as text.
        QTemporaryDir dir;
        QVERIFY(fx.screen->eksport_csv(dir.filePath(QStringLiteral("z.csv"))));
        QFile exported(dir.filePath(QStringLiteral("z.csv")));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QStringList csv = QString::fromUtf8(exported.readAll().mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(csv.size(), 4);
        QVERIFY2(csv[0].startsWith(QStringLiteral("Zakupy paliwa;O'Brien;")), qPrintable(csv[0]));
        QCOMPARE(csv[2].section(u';', 0, 1), QStringLiteral("OB1;\"=\"\"O/1\"\"\""));
        QCOMPARE(csv[3].section(u';', 0, 0), QStringLiteral("Razem"));
        QCOMPARE(csv[3].section(u';', 3, 3), csv[2].section(u';', 3, 3));
    }

    void emptyPeriodStartsANewPurchase()
    {
        Rows(*fx.dm).exec(QStringLiteral("delete from ZAK_PAL where NR_KOL = 4"));
        fx.open();
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QCOMPARE(fx.value("NR_KOL").toInt(), 101);
        QCOMPARE(fx.value("D_ZAK").toDate(), QDate::currentDate());
        QCOMPARE(fx.picker()->date(), QDate::currentDate());
        QCOMPARE(child<QLabel>("dbt_nrkol")->text(), QStringLiteral("101"));
        QCOMPARE(QApplication::focusWidget(), fx.vehicles());
        QVERIFY(fx.shown.isEmpty());
    }

    void gridTotals()
    {
        fx.open();
        fx.choosePeriod(2012, 0);
        child<QTabWidget>("PC_zak")->setCurrentWidget(child<QWidget>("ts_tab"));
        auto* grid = child<dbw::DBGrid>("DBGrid1");
        const dbw::FooterCell captions = grid->footerCell(QStringLiteral("D_ZAK"));
        QCOMPARE(captions.lines, (QStringList{QStringLiteral("Razem:"), QStringLiteral("Razem zazn.:")}));
        const dbw::FooterCell sums = grid->footerCell(QStringLiteral("IL_ZAK"));
        QCOMPARE(sums.lines, (QStringList{QStringLiteral("1.140,50"), QStringLiteral("100,50")})); // the current row is selected
        QVERIFY(sums.bold);
        QCOMPARE(sums.hint, QStringLiteral("Razem|Razem zaznaczone"));
        QCOMPARE(grid->footerCell(QStringLiteral("NR_RACH")).lines, QStringList());

        grid->selectAll();
        QCOMPARE(grid->footerCell(QStringLiteral("IL_ZAK")).lines.last(), QStringLiteral("1.140,50"));
        grid->clearSelection();
        QCOMPARE(grid->footerCell(QStringLiteral("IL_ZAK")).lines.last(), QStringLiteral("0,00"));
        // A quantity keyed but not saved is in the total only with a mark.
        fx.zak().edit();
        QCOMPARE(grid->footerCell(QStringLiteral("IL_ZAK")).lines.first(), QStringLiteral("1.140,50"));
        fx.zak().fieldByName(QStringLiteral("IL_ZAK")).setValue(1100.5);
        const dbw::FooterCell unsaved = grid->footerCell(QStringLiteral("IL_ZAK"));
        QCOMPARE(unsaved.lines.first(), QStringLiteral("2.140,50 *"));
        QVERIFY(unsaved.hint.startsWith(QStringLiteral("Razem * z wierszem jeszcze niezapisanym|")));
        QCOMPARE(grid->footerCell(QStringLiteral("D_ZAK")).lines.first(), QStringLiteral("Razem:"));
        fx.zak().cancel();
        QCOMPARE(grid->footerCell(QStringLiteral("IL_ZAK")).lines.first(), QStringLiteral("1.140,50"));
        // The running number reads as a label.
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("1"));
        QVERIFY(qobject_cast<LeftAlignedDelegate*>(grid->itemDelegateForColumn(0)));
        QVERIFY(fx.shown.isEmpty());
    }
};

int runPurchaseScreenTests(int argc, char** argv)
{
    return testsupport::runTestClass<TestZak>(argc, argv);
}

} // namespace purchasetest

#include "test_zak.moc"
