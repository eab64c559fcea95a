// No keyed purchase is lost: a complete one is posted when the user leaves it (another
// half-year, year or taxpayer, the grid, closing the window), an incomplete one goes only
// when the user says so, an untouched new one goes without a question, and a posted one
// survives the death of the process.
#include <QProcess>

#include <cstdio>

#include "purchase_fixture.h"
#include "test_main.h"

namespace purchasetest {

namespace {

void prepare(ScreenFixture& fx)
{
    Rows rows(*fx.dm);
    rows.taxpayer(1, QStringLiteral("Abakus"));
    rows.taxpayer(2, QStringLiteral("Baran"));
    rows.vehicle(QStringLiteral("DW100"), 1, diesel, QDate(2010, 1, 1));
    rows.vehicle(QStringLiteral("BA1"), 2, petrol, QDate(2010, 1, 1));
    rows.purchase(1, QStringLiteral("DW100"), QStringLiteral("FV 1"), QDate(2012, 4, 20), 100);
}

} // namespace

class TestZakKeeping : public QObject {
    Q_OBJECT

    ScreenFixture fx;

    void insert() { fx.child<dbw::DBNavigator>("DBNavigator1")->click(dbw::DBNavigator::Insert); }

private slots:
    void init()
    {
        fx.connect();
        prepare(fx);
        fx.open();
        fx.choosePeriod(2012, 0);
    }

    void cleanup() { fx.close(); }

    void completePurchaseIsPostedWhenLeft()
    {
        insert();
        fx.keyPurchase(QStringLiteral("DW100"), QStringLiteral("K1"), QDate(2012, 5, 1), QStringLiteral("10"));
        fx.chooseHalf(1);
        QCOMPARE(fx.storedCount(QStringLiteral("K1")), 1);
        QCOMPARE(fx.screen->periodStart(), QDate(2012, 7, 1));

        // Typed text that has not left its edit yet counts too.
        insert();
        fx.keyPurchase(QStringLiteral("DW100"), QStringLiteral("K2"), QDate(2012, 8, 1), QString());
        QTest::keyClicks(fx.child<QWidget>("DBE_ilzak"), QStringLiteral("7,25"));
        fx.child<QTabWidget>("PC_zak")->setCurrentWidget(fx.child<QWidget>("ts_tab"));
        QCOMPARE(fx.storedCount(QStringLiteral("K2")), 1);
        QCOMPARE(fx.zak().state(), ds::DatasetState::Browse);
        fx.child<QTabWidget>("PC_zak")->setCurrentWidget(fx.child<QWidget>("ts_form"));

        insert();
        fx.keyPurchase(QStringLiteral("DW100"), QStringLiteral("K3"), QDate(2012, 9, 1), QStringLiteral("3"));
        fx.chooseTaxpayer(QStringLiteral("Baran"));
        QCOMPARE(fx.storedCount(QStringLiteral("K3")), 1);
        QCOMPARE(fx.screen->selectedTaxpayer(), QStringLiteral("Baran"));

        insert();
        fx.keyPurchase(QStringLiteral("BA1"), QStringLiteral("K4"), QDate(2012, 10, 1), QStringLiteral("4"));
        fx.screen->close();
        QCOMPARE(fx.storedCount(QStringLiteral("K4")), 1);
        QVERIFY(!fx.screen->isVisible());
        QVERIFY(fx.shown.isEmpty());
        QVERIFY(!fx.zak().isActive());
    }

    void incompletePurchaseGoesOnlyWhenTheUserSaysSo()
    {
        insert();
        fx.keyPurchase(QStringLiteral("DW100"), QStringLiteral("N1"), QDate(2012, 5, 1), QString());
        fx.answer = desktop::Answer::No;
        fx.setYear(QStringLiteral("2013"));
        QCOMPARE(fx.shown.size(), 1);
        QCOMPARE(fx.shown.first().kind, desktop::MessageKind::Question);
        QCOMPARE(fx.shown.first().text, QStringLiteral("Wprowadzone dane są niepełne (brak: Ilość (w l)) i nie można ich "
                                                       "zapisać.\nCzy je porzucić?"));
        // The user stays with the purchase, and the choice of period goes back.
        QCOMPARE(fx.zak().state(), ds::DatasetState::Insert);
        QCOMPARE(fx.value("NR_RACH").toString(), QStringLiteral("N1"));
        QCOMPARE(fx.child<QLineEdit>("m_rok")->text(), QStringLiteral("2012"));
        QCOMPARE(fx.screen->selectedYear(), 2012);
        QVERIFY(fx.child<QListWidget>("lb_kwart")->isVisible());
        QCOMPARE(fx.child<QListWidget>("lb_kwart")->currentRow(), 0);

        // The clicked taxpayer is not left marked either once the click is over.
        auto* taxpayers = fx.child<QListWidget>("lb_pod");
        fx.chooseTaxpayer(QStringLiteral("Baran"));
        QCOMPARE(fx.shown.size(), 2);
        QCoreApplication::processEvents();
        QCOMPARE(taxpayers->currentItem()->text(), QStringLiteral("Abakus"));
        QCOMPARE(taxpayers->selectedItems().size(), 1);
        QCOMPARE(taxpayers->selectedItems().first()->text(), QStringLiteral("Abakus"));

        fx.screen->close();
        QCOMPARE(fx.shown.size(), 3);
        QVERIFY(fx.screen->isVisible());

        fx.answer = desktop::Answer::Yes;
        fx.setYear(QStringLiteral("2013"));
        QCOMPARE(fx.shown.size(), 4);
        QCOMPARE(fx.storedCount(QStringLiteral("N1")), 0);
        QCOMPARE(fx.screen->selectedYear(), 2013);

        // An untouched new purchase goes without a question.
        insert();
        fx.chooseTaxpayer(QStringLiteral("Baran"));
        fx.screen->close();
        QCOMPARE(fx.shown.size(), 4);
        QVERIFY(!fx.screen->isVisible());
    }

    void postedPurchaseSurvivesTheDeathOfTheProcess()
    {
        const QString path = fx.path;
        fx.close(); // one process at a time on the file
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--post-and-wait"), path});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (!output.contains("posted") && child.waitForReadyRead(60000))
            output += child.readAllStandardOutput();
        QVERIFY2(output.contains("posted"), (output + child.readAllStandardError()).constData());
        child.kill(); // SIGKILL: nothing is closed or committed by the child any more
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        fx.connect();
        fx.dm->connectTo(path);
        QCOMPARE(Rows(*fx.dm).select(QStringLiteral("select NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK from ZAK_PAL "
                                                    "where NR_RACH = 'PO AWARII'")),
                 (QList<QVariantList>{{QStringLiteral("DW100"), QStringLiteral("PO AWARII"),
                                       QDateTime(QDate(2012, 6, 2), QTime(0, 0)), diesel, 33.33}}));
    }
};

void postThroughScreenAndWait(const QString& databasePath)
{
    ScreenFixture fx;
    fx.dm = std::make_unique<Tdm_1>();
    dm_1 = fx.dm.get();
    fx.dm->connectTo(databasePath);
    desktop::setMessageHandler([](const desktop::Message& m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return desktop::Answer::No;
    });
    fx.open();
    fx.choosePeriod(2012, 0);
    auto* entryOnly = fx.child<QCheckBox>("ch_wprow");
    QTest::mouseClick(entryOnly, Qt::LeftButton, {}, entryOnly->rect().center());
    fx.keyPurchase(QStringLiteral("DW100"), QStringLiteral("PO AWARII"), QDate(2012, 6, 2), QStringLiteral("33,33"));
    QTest::mouseClick(fx.child<QPushButton>("kl_ok"), Qt::LeftButton);
    std::fputs("posted\n", stdout);
    std::fflush(stdout);
    std::getchar(); // the parent kills this process while it waits here
    std::_Exit(3);
}

int runKeepingTests(int argc, char** argv)
{
    return testsupport::runTestClass<TestZakKeeping>(argc, argv);
}

} // namespace purchasetest

#include "test_zak_keeping.moc"
