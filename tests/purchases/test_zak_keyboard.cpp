// Purchases keyed one after another: one can always be dropped, whatever its fields say of
// what was typed, and those saved stand in the order the grid shows.
#include "purchase_fixture.h"
#include "screen_testing.h"
#include "test_main.h"

namespace purchasetest {

class TestZakKeyboard : public QObject {
    Q_OBJECT

    ScreenFixture fx;

    QStringList invoicesShown() const
    {
        auto* grid = fx.child<dbw::DBGrid>("DBGrid1");
        QStringList invoices;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            invoices << screentest::cellText(grid, row, QStringLiteral("NR_RACH"));
        return invoices;
    }

    void entryOnly()
    {
        auto* box = fx.child<QCheckBox>("ch_wprow");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(box->isChecked());
    }

private slots:
    void init()
    {
        fx.connect();
        Rows rows(*fx.dm);
        rows.taxpayer(1, QStringLiteral("Abakus"));
        rows.vehicle(QStringLiteral("DW050"), 1, diesel, QDate(2010, 1, 1));
        rows.vehicle(QStringLiteral("DW100"), 1, diesel, QDate(2010, 1, 1));
        rows.purchase(1, QStringLiteral("DW100"), QStringLiteral("FV 1"), QDate(2012, 4, 20), 100);
        rows.purchase(2, QStringLiteral("DW050"), QStringLiteral("FV 2"), QDate(2012, 6, 15), 100);
        rows.exec(QStringLiteral("set generator G_ZAK to 100"));
        fx.open();
        QApplication::setActiveWindow(fx.screen.get());
        fx.choosePeriod(2012, 0);
    }

    void cleanup() { fx.close(); }

    void droppedWhateverAFieldSays_data()
    {
        QTest::addColumn<QString>("field"); // the field whose check refuses what was typed
        QTest::addColumn<QString>("way");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("closed");
        const QString refusal = QStringLiteral("Data 05-03-2013 leży poza dozwolonym zakresem: od 01-01-2012 do 30-06-2012.");
        QTest::newRow("date, Anuluj") << "date" << "kl_anuluj" << QStringList{} << false;
        QTest::newRow("date, Esc, Esc") << "date" << "Escape"
                                        << QStringList{QStringLiteral("Wprowadzone dane są niepełne (brak: Ilość (w l)) i nie "
                                                                      "można ich zapisać.\nCzy je porzucić?")}
                                        << true;
        QTest::newRow("date, closing") << "date" << "close"
                                       << QStringList{refusal + QStringLiteral("\n\nCzy porzucić wprowadzone dane?")} << true;
        QTest::newRow("quantity, Anuluj") << "quantity" << "kl_anuluj" << QStringList{} << false;
    }

    // What a field refuses (a date outside the period, refused on Tab with a message that says
    // how to get out; a quantity that is no number) never holds the purchase: it is dropped by
    // any of the ways to drop it, with no second refusal.
    void droppedWhateverAFieldSays()
    {
        QFETCH(QString, field);
        QFETCH(QString, way);
        QFETCH(QStringList, asked);
        QFETCH(bool, closed);
        if (way == QLatin1String("kl_anuluj"))
            entryOnly();
        else
            fx.press(dbw::DBNavigator::Insert);
        fx.clickItem(fx.vehicles(), QStringLiteral("DW100"));
        auto* invoice = fx.child<dbw::DBEdit>("DBE_nrrach");
        invoice->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(invoice, QStringLiteral("ZLA"));
        if (field == QLatin1String("date")) {
            fx.typeDate(QStringLiteral("05-03-2013"));
            QCOMPARE(fx.messages(), QStringList{QStringLiteral("Data 05-03-2013 leży poza dozwolonym zakresem: od 01-01-2012 do "
                                                               "30-06-2012.\nKlawisz Esc przywraca poprzednią datę.")});
            QCOMPARE(QApplication::focusWidget(), fx.picker()->lineEdit());
        } else {
            auto* quantity = fx.child<dbw::DBEdit>("DBE_ilzak");
            quantity->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(quantity, QStringLiteral("abc"));
        }
        fx.shown.clear();

        if (way == QLatin1String("kl_anuluj")) {
            QTest::mouseClick(fx.child<QPushButton>("kl_anuluj"), Qt::LeftButton);
        } else if (way == QLatin1String("Escape")) {
            QTest::keyClick(fx.picker()->lineEdit(), Qt::Key_Escape); // the date shown before comes back
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            fx.screen->close();
        }
        QCOMPARE(fx.messages(), asked);
        QCOMPARE(!fx.screen->isVisible(), closed);
        QCOMPARE(fx.storedCount(QStringLiteral("ZLA")), 0);
        if (!closed) // nothing typed for it is left in the fields
            QVERIFY(!fx.picker()->lineEdit()->isModified() && !fx.child<dbw::DBEdit>("DBE_ilzak")->isModified());
    }

    // In entry-only mode each accepted purchase takes its place among the others in the
    // grid's order (vehicle, date, invoice), and the next one starts below them all.
    void keyedPurchasesStandInTheGridsOrder()
    {
        QCOMPARE(invoicesShown(), (QStringList{QStringLiteral("FV 2"), QStringLiteral("FV 1")}));
        entryOnly();
        for (const auto& [invoice, month, day] : {std::tuple{"A", 5, 5}, {"B", 2, 2}, {"C", 6, 1}, {"D", 5, 5}}) {
            fx.keyPurchase(QStringLiteral("DW100"), QLatin1String(invoice), QDate(2012, month, day), QStringLiteral("1"));
            QTest::mouseClick(fx.child<QPushButton>("kl_ok"), Qt::LeftButton);
            QVERIFY2(fx.shown.isEmpty(), qPrintable(fx.messages().join(QLatin1Char('\n'))));
        }
        QCOMPARE(invoicesShown(), (QStringList{QStringLiteral("FV 2"), QStringLiteral("B"), QStringLiteral("FV 1"),
                                               QStringLiteral("A"), QStringLiteral("D"), QStringLiteral("C"), QString()}));
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QCOMPARE(fx.zak().recNo(), 6);
    }
};

int runKeyboardTests(int argc, char** argv)
{
    return testsupport::runTestClass<TestZakKeyboard>(argc, argv);
}

} // namespace purchasetest

#include "test_zak_keyboard.moc"
