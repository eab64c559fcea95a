// Two desks on one database server: what one commits the other sees, a row changed, deleted
// or held by the other is refused in Polish and saved after a re-read, reports read one
// picture, and work locks keep two desks from doing the same work at once.
#include <QElapsedTimer>
#include <QtTest>

#include "data/dm1.h"
#include "data/field_names.h"
#include "data/office_overview.h"
#include "data/settlement.h"
#include "data/work_lock.h"
#include "dataset/error.h"
#include "firebird/error.h"
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

} // namespace

class TestSeveralDesks : public QObject {
    Q_OBJECT

    std::unique_ptr<Tdm_1> a, b; // two desks, each with its own connection to the server

private slots:
    void initTestCase()
    {
        fb::Transaction::setLockTimeout(lockTimeout);
        data::WorkLock::setWaitBound(300);
    }

    void init()
    {
        const QString name = testsupport::throughServer(testsupport::freshDeliveredDatabase());
        a = std::make_unique<Tdm_1>();
        b = std::make_unique<Tdm_1>();
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
        try {
            podat.post();
            QFAIL("the save went through");
        } catch (const ds::RowConflict& e) {
            QCOMPARE(int(e.kind()), kind);
            QVERIFY2(e.message().startsWith(message), qPrintable(e.message()));
        }
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

    // A report reads the database as it was when it began, until its last window lets go of
    // the snapshot; the next report reads what is committed then.
    void reportsReadOnePicture()
    {
        const data::Period year = data::settlementPeriod(2024, 0);
        addPurchase(*a, 900001, u"WA 45"_s, u"F/1"_s, QDate(2024, 3, 1), 1, 100);
        const auto statementLitres = [this, &year] {
            const ds::OpenedDatasets opened = a->openPurchaseRegister(u"PIERWSZY"_s, year);
            return a->IBQ_rozl_w.value(data::col::ZAKKW).toDouble();
        };
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

TEST_MAIN(QCoreApplication, TestSeveralDesks)
#include "test_several_desks.moc"
