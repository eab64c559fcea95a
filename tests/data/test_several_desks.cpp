// Two desks on one database server: what one commits the other sees, a row changed, deleted
// or held by the other is refused in Polish and saved after a re-read, reports read one
// picture, and work locks keep two desks from doing the same work at once.
#include <QApplication>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QThread>
#include <QToolButton>
#include <QtTest>

#include "data/dm1.h"
#include "data/purchase_register.h"
#include "data/field_names.h"
#include "data/office_overview.h"
#include "data/settlement.h"
#include "data/work_lock.h"
#include "dataset/error.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/messages.h"
#include "firebird/error.h"
#include "forwarding_proxy.h"
#include "program_database.h"
#include "settlement_rows.h"
#include "sql_testing.h"
#include "test_server.h"
#include "test_main.h"

using namespace settlement_rows;
using screentest::rows;
using namespace Qt::StringLiterals;

namespace {

constexpr int lockTimeout = 1; // seconds: the tests wait for held rows

double litresOf(const data::Settlement& s)
{
    double litres = 0;
    for (const auto& line : s.lines)
        litres += line.litres;
    return litres;
}

// Whether the write was refused as a conflict of the kind, its message beginning as given.
bool refusedAsConflict(const std::function<void()>& write, int kind, const QString& message)
{
    try {
        write();
    } catch (const ds::RowConflict& e) {
        if (int(e.kind()) == kind && e.message().startsWith(message))
            return true;
        qWarning().noquote() << "refused otherwise:" << int(e.kind()) << e.message();
        return false;
    }
    qWarning("the write went through");
    return false;
}

} // namespace

class TestSeveralDesks : public QObject {
    Q_OBJECT

    std::unique_ptr<Tdm_1> a, b; // two desks, each with its own connection to the server
    QString databasePath;

private slots:
    void initTestCase()
    {
        data::WorkLock::setWaitBound(300);
    }

    void init()
    {
        databasePath = testsupport::freshDeliveredDatabase();
        const QString name = testsupport::throughServer(databasePath);
        a = std::make_unique<Tdm_1>();
        b = std::make_unique<Tdm_1>();
        a->setLockWait(lockTimeout);
        b->setLockWait(lockTimeout);
        a->connectTo(name);
        b->connectTo(name);
        dm_1 = a.get();
        addTaxpayer(*a, 45, u"PIERWSZY"_s, u"Pierwszy sp. z o.o."_s, u"ul. Stara 1"_s);
        addTaxpayer(*a, 46, u"BEZ AUT"_s, u"Bez aut"_s);
        addVehicle(*a, u"WA 45"_s, 45, 1, 1);
    }

    void cleanup()
    {
        b.reset();
        a.reset();
        dm_1 = nullptr;
    }

    // A desk's refresh, its lists, the settlement and the overview show what another desk
    // committed after they were first read; numbers drawn on two desks never meet.
    void anotherDesksWorkIsSeen()
    {
        const data::Period year = data::settlementPeriod(2024, 0);
        a->IBDS_podat.open();
        a->IBQ_pod.open();
        QCOMPARE(litresOf(data::computeSettlement(*a, u"PIERWSZY"_s, 2024, year, data::yearParameters(*a, 2024))), 0.0);

        addTaxpayer(*b, 47, u"Z DRUGIEGO"_s, u"Z drugiego stanowiska"_s);
        addPurchase(*b, 900001, u"WA 45"_s, u"F/1"_s, QDate(2024, 3, 1), 1, 120.5);

        a->IBDS_podat.refresh();
        QVERIFY(a->IBDS_podat.locate(data::col::NR_PODAT, 47));
        a->IBQ_pod.close();
        a->IBQ_pod.open();
        QVERIFY(a->IBQ_pod.locate(data::col::NAZSKR, u"Z DRUGIEGO"_s));
        QCOMPARE(litresOf(data::computeSettlement(*a, u"PIERWSZY"_s, 2024, year, data::yearParameters(*a, 2024))), 120.5);
        {
            const data::Overview o = data::computeOverview(*a, 2024, year, data::yearParameters(*a, 2024));
            QCOMPARE(o.rows.size(), size_t(3));
            QCOMPARE(o.rows.front().litres, 120.5);
        }

        // Two purchases begun on two desks at once get numbers of their own.
        for (Tdm_1* desk : {a.get(), b.get()}) {
            desk->IBDS_zak.open();
            desk->IBDS_zak.append();
        }
        QVERIFY(a->IBDS_zak.value(data::col::NR_KOL) != b->IBDS_zak.value(data::col::NR_KOL));
        // A taxpayer number another desk took is refused as a taken number is.
        a->IBDS_podat.append();
        a->IBDS_podat.setValue(data::col::NR_PODAT, 47);
        a->IBDS_podat.setValue(data::col::NIP, u"1"_s);
        a->IBDS_podat.setValue(data::col::NAZSKR, u"TEN SAM NUMER"_s);
        try {
            a->IBDS_podat.post();
            QFAIL("a taken number was saved");
        } catch (const fb::Error& e) {
            QVERIFY2(e.message().startsWith(u"Podatnik o numerze 47 już istnieje."_s), qPrintable(e.message()));
        }
    }

    // A row that another desk changed, deleted or holds: the save is refused within the
    // bound with a Polish message naming the row, the typed value stays, and after the
    // re-read ("Odśwież dane") the same save succeeds.
    void conflictsAreToldAndRecoverable_data()
    {
        QTest::addColumn<int>("taxpayer");
        QTest::addColumn<QString>("otherDesk");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("changed") << 45 << u"update PODAT set TEL = '22 555 01 02' where NR_PODAT = 45"_s
                                 << int(ds::RowConflict::Kind::Changed)
                                 << u"Dane podatnika 45 zmieniono na innym stanowisku po ich odczytaniu."_s;
        QTest::newRow("deleted") << 46 << u"delete from PODAT where NR_PODAT = 46"_s << int(ds::RowConflict::Kind::Deleted)
                                 << u"Dane podatnika 46 usunięto na innym stanowisku po ich odczytaniu."_s;
        QTest::newRow("held") << 45 << u"update PODAT set TEL = 'w toku' where NR_PODAT = 45"_s
                              << int(ds::RowConflict::Kind::Held)
                              << u"Dane podatnika 45 są właśnie zmieniane na innym stanowisku."_s;
    }

    void conflictsAreToldAndRecoverable()
    {
        QFETCH(int, taxpayer);
        QFETCH(QString, otherDesk);
        QFETCH(int, kind);
        QFETCH(QString, message);
        ds::Dataset& podat = a->IBDS_podat;
        podat.open();
        QVERIFY(podat.locate(data::col::NR_PODAT, taxpayer));
        podat.edit();
        podat.setValue(data::col::ADRES, u"ul. Nowa 2"_s);

        const bool held = kind == int(ds::RowConflict::Kind::Held);
        fb::Transaction open(&b->db_opl);
        fb::Statement other(b->db_opl, open, otherDesk);
        other.execute();
        if (!held)
            open.commit();

        QElapsedTimer waited;
        waited.start();
        QVERIFY(refusedAsConflict([&] { podat.post(); }, kind, message));
        QVERIFY2(waited.elapsed() < (lockTimeout + 3) * 1000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(podat.state(), ds::DatasetState::Edit);
        QCOMPARE(podat.value(data::col::ADRES).toString(), u"ul. Nowa 2"_s);

        if (held) {
            // A plain statement (a command of the command line) is refused within the bound too.
            try {
                exec(*a, otherDesk);
                QFAIL("a held row was written");
            } catch (const fb::Error& e) {
                QVERIFY(e.isConflict());
                QVERIFY2(e.message().startsWith(u"Dane, które ta operacja zmienia, są właśnie zmieniane na innym stanowisku"_s),
                         qPrintable(e.message()));
            }
            open.rollback(); // the other desk is done; trying again is enough
        } else {
            podat.refresh();
        }
        QCOMPARE(podat.value(data::col::ADRES).toString(), u"ul. Nowa 2"_s);
        podat.post();
        QCOMPARE(podat.state(), ds::DatasetState::Browse);
        const auto stored = rows(u"select ADRES, TEL from PODAT where NR_PODAT = :p0"_s, {taxpayer}, *b);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0][0].toString(), u"ul. Nowa 2"_s);
        if (kind == int(ds::RowConflict::Kind::Changed))
            QCOMPARE(stored[0][1].toString(), u"22 555 01 02"_s); // the other desk's change stays
    }

    // A delete makes a save's check: a row another desk changed since it was read here is not
    // deleted ("Odśwież dane" then shows it as stored), one it deleted is said to be gone, one
    // it holds is waited for within the bound; nothing is deleted unseen.
    void aDeleteChecksAsASaveDoes_data()
    {
        QTest::addColumn<QString>("otherDesk");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("changed") << u"update PODAT set TEL = '22 555 01 02' where NR_PODAT = 46"_s
                                 << int(ds::RowConflict::Kind::Changed)
                                 << u"Dane podatnika 46 zmieniono na innym stanowisku po ich odczytaniu, więc nie zostały usunięte."_s;
        QTest::newRow("deleted") << u"delete from PODAT where NR_PODAT = 46"_s << int(ds::RowConflict::Kind::Deleted)
                                 << u"Dane podatnika 46 usunięto już na innym stanowisku."_s;
        QTest::newRow("held") << u"update PODAT set TEL = 'w toku' where NR_PODAT = 46"_s << int(ds::RowConflict::Kind::Held)
                              << u"Dane podatnika 46 są właśnie zmieniane na innym stanowisku, więc nie zostały usunięte."_s;
    }

    void aDeleteChecksAsASaveDoes()
    {
        QFETCH(QString, otherDesk);
        QFETCH(int, kind);
        QFETCH(QString, message);
        ds::Dataset& podat = a->IBDS_podat;
        podat.open();
        QVERIFY(podat.locate(data::col::NR_PODAT, 46));
        const bool held = kind == int(ds::RowConflict::Kind::Held);
        fb::Transaction open(&b->db_opl);
        fb::Statement other(b->db_opl, open, otherDesk);
        other.execute();
        if (!held)
            open.commit();
        QVERIFY(refusedAsConflict([&] { podat.remove(); }, kind, message));
        QCOMPARE(podat.state(), ds::DatasetState::Browse);
        if (held)
            open.rollback();
        const auto stored = [&] { return rows(u"select TEL from PODAT where NR_PODAT = 46"_s, {}, *b); };
        QCOMPARE(stored().size(), kind == int(ds::RowConflict::Kind::Deleted) ? 0 : 1);
        podat.refresh();
        if (kind == int(ds::RowConflict::Kind::Deleted)) {
            QVERIFY(!podat.locate(data::col::NR_PODAT, 46));
            return;
        }
        QVERIFY(podat.locate(data::col::NR_PODAT, 46));
        if (!held)
            QCOMPARE(podat.value(data::col::TEL).toString(), u"22 555 01 02"_s);
        podat.remove(); // seen now, the delete goes through
        QCOMPARE(stored().size(), 0);
    }

    // After a conflict the row read again keeps what was typed here, and the user is told,
    // before saving, which fields the other desk changed and to what.
    void theOtherDesksChangesAreShown()
    {
        ds::Dataset& podat = a->IBDS_podat;
        podat.open();
        QVERIFY(podat.locate(data::col::NR_PODAT, 45));
        podat.edit();
        podat.setValue(data::col::TEL, u"48"_s);
        exec(*b, u"update PODAT set TEL = '49', ADRES = 'ul. Druga 2' where NR_PODAT = 45"_s);
        QVERIFY_THROWS_EXCEPTION(ds::RowConflict, podat.post());

        QList<desktop::Message> shown;
        desktop::setMessageHandler([&](const desktop::Message& m) {
            shown << m;
            return desktop::Answer::Ok;
        });
        dbw::DBNavigator navigator;
        navigator.setDataSource(&a->DS_podat);
        navigator.findChild<QToolButton*>(u"nbRefresh"_s)->click();
        desktop::setMessageHandler({});
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"• Adres: ul. Druga 2\n• Telefon: 49 — tutaj wpisano 48 i ta wartość zostanie zapisana"_s),
                 qPrintable(shown[0].text));
        QVERIFY(podat.takeOtherDeskChanges().isEmpty());
        podat.post();
        const auto stored = rows(u"select TEL, ADRES from PODAT where NR_PODAT = 45"_s, {}, *b);
        QCOMPARE(stored[0][0].toString(), u"48"_s);
        QCOMPARE(stored[0][1].toString(), u"ul. Druga 2"_s);
    }

    // A purchase keyed on one desk while another imports its taxpayer's purchases waits for
    // the import within the bound and is then refused in Polish, nothing stored and what was
    // typed kept; once the import has let go, the same save stores it once.
    void aSaveWaitsForAnImportOfItsTaxpayer()
    {
        data::WorkLock import(b->db_opl);
        QCOMPARE(import.take(data::Work::Purchases, {45}), QList<int>{});
        ds::Dataset& zak = a->IBDS_zak;
        zak.open();
        zak.append();
        zak.setValue(data::col::NR_REJ, u"WA 45"_s);
        zak.setValue(data::col::NR_RACH, u"FV/7"_s);
        zak.setValue(data::col::D_ZAK, QDate(2024, 5, 6));
        zak.setValue(data::col::NR_RODZ_PAL, 1);
        zak.setValue(data::col::IL_ZAK, 60.0);
        QElapsedTimer waited;
        waited.start();
        try {
            zak.post();
            QFAIL("the purchase slipped past the import");
        } catch (const ds::Error& e) {
            QVERIFY2(e.message().startsWith(u"Na innym stanowisku trwa właśnie import zakupów podatnika PIERWSZY."_s),
                     qPrintable(e.message()));
        }
        QVERIFY(waited.elapsed() >= data::WorkLock::waitBound());
        QCOMPARE(zak.state(), ds::DatasetState::Insert);
        QCOMPARE(zak.value(data::col::NR_RACH).toString(), u"FV/7"_s);
        const auto stored = [&] { return rows(u"select count(*) from ZAK_PAL where NR_RACH = 'FV/7'"_s, {}, *b)[0][0].toInt(); };
        QCOMPARE(stored(), 0);
        import.release();
        zak.post();
        QCOMPARE(stored(), 1);
    }

    // A desk whose network is cut while it holds a lock (here a proxy between it and the server
    // stops forwarding; the server still sees a live connection) is ended by the next desk
    // that wants the lock, once it has been silent beyond the bound, and that desk takes the
    // lock; a holder that gives signs of life keeps it.
    void aLockOfADeskCutOffIsTakenOver()
    {
        data::WorkLock::setLifeBounds(200, 1500);
        const auto restore = qScopeGuard([] { data::WorkLock::setLifeBounds(10000, 45000); });
        const quint16 serverPort = testsupport::testServerAddress().section(u'/', 1).toUShort();
        bench::ForwardingProxy proxy(serverPort);
        Tdm_1 cut;
        cut.connectTo(u"127.0.0.1/%1:%2"_s.arg(proxy.port()).arg(databasePath));
        {
            data::WorkLock held(cut.db_opl);
            QCOMPARE(held.take(data::Work::Purchases, {45}), QList<int>{});
            data::WorkLock other(b->db_opl);
            QThread::msleep(1000);
            held.keepAlive();
            QThread::msleep(1000);
            QCOMPARE(other.take(data::Work::Purchases, {45}), QList<int>{45}); // alive: kept
            proxy.stopForwarding();
            // Nothing may run on the cut desk now: it would wait for the network like the real one.
            QThread::msleep(1700);
            QElapsedTimer took;
            took.start();
            QCOMPARE(other.take(data::Work::Purchases, {45}), QList<int>{});
            QVERIFY(took.elapsed() < data::WorkLock::waitBound());
            proxy.resumeForwarding();
        }
        QVERIFY_THROWS_EXCEPTION(fb::Error, exec(cut, u"select 1 from RDB$DATABASE"_s));
    }

    // A report reads the database as it was when it began, until its last window lets go of
    // the snapshot; the next report reads what is committed then.
    void reportsReadOnePicture()
    {
        const data::Period year = data::settlementPeriod(2024, 0);
        addPurchase(*a, 900001, u"WA 45"_s, u"F/1"_s, QDate(2024, 3, 1), 1, 100);
        const auto statementLitres = [this, &year] { return data::PurchaseRegister(*a, u"PIERWSZY"_s, year).lines().at(0).litres; };
        auto snapshot = a->readReportsFromSnapshot();
        QCOMPARE(statementLitres(), 100.0);
        addPurchase(*b, 900002, u"WA 45"_s, u"F/2"_s, QDate(2024, 4, 1), 1, 50);
        QCOMPARE(a->readReportsFromSnapshot().get(), snapshot.get()); // a second window shares it
        QCOMPARE(statementLitres(), 100.0);
        snapshot.reset();
        QCOMPARE(statementLitres(), 150.0);
    }

    // A lock on work taken by one desk keeps another desk out until the first lets go;
    // the second waits up to the bound, then is told which keys it did not get.
    void workLocksKeepDesksApart()
    {
        data::WorkLock first(a->db_opl), second(b->db_opl);
        QCOMPARE(first.take(data::Work::Purchases, {7, 8}), QList<int>{});
        QElapsedTimer waited;
        waited.start();
        int waits = 0;
        QCOMPARE(second.take(data::Work::Purchases, {8, 9}, [&] { ++waits; }), QList<int>{8});
        QVERIFY(waited.elapsed() >= data::WorkLock::waitBound());
        QVERIFY(waits > 0);
        QCOMPARE(second.take(data::Work::Taxpayer, {8}), QList<int>{}); // other work, same key
        first.release();
        QCOMPARE(second.take(data::Work::Purchases, {8}), QList<int>{});
        QCOMPARE(rows(u"select count(*) from BLOKADY"_s, {}, *a).first().first().toInt(), 0); // nothing is ever committed
    }

};

TEST_MAIN(QApplication, TestSeveralDesks)
#include "test_several_desks.moc"
