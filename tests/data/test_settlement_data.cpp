#include <QProcess>
#include <QtTest>

#include "data/dm1.h"
#include "firebird/statement.h"
#include "data/settlement.h"
#include "module_fixture.h"
#include "sql_testing.h"
#include "text/formats.h"

using screentest::exec;
using screentest::rows;

class TestSettlementData : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT



    data::Settlement settle(const QString& taxpayer, int year, int half)
    {
        return data::computeSettlement(*dm, taxpayer, year, data::settlementPeriod(year, half),
                                          data::yearParameters(*dm, year));
    }

    QProcess* runCli(const QStringList& args)
    {
        auto* p = new QProcess(this);
        p->start(QStringLiteral(BRENVALD_CLI), args);
        p->waitForFinished(60000);
        return p;
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZWA, NIP, NAZSKR) values (1, 'Firma ABC', '1', 'ABC')"));
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZWA, NIP, NAZSKR) values (2, 'O''Brien i s-ka', '2', 'O''Brien')"));
        exec(QStringLiteral("insert into SAM values ('WA1', 1, 11, 5, '2020-01-01', null)"));
        exec(QStringLiteral("insert into SAM values ('WA2', 1, 5, 1, '2020-01-01', null)"));
        exec(QStringLiteral("insert into SAM values ('KR1', 2, 5, 5, '2020-01-01', null)"));
        const char* purchases[] = {
            "1, 'WA1', 'F/1', '2024-03-01', 5, 1000",
            "2, 'WA1', 'F/2', '2024-04-01', 5, 234.56",
            "3, 'WA1', 'F/3', '2024-05-01', 6, 100",
            "4, 'WA2', 'F/4', '2024-06-01', 1, 500",
            "5, 'WA1', 'F/5', '2025-01-01', 5, 100",
            "6, 'WA2', 'F/6', '2012-03-01', 1, 200",
            "7, 'WA2', 'F/7', '2012-07-15', 1, 300",
            "8, 'KR1', 'F/8', '2024-02-02', 5, 10000",
        };
        for (const char* p : purchases)
            exec(QStringLiteral("insert into ZAK_PAL values (%1)").arg(QString::fromLatin1(p)));
        dm->tr_opl.commitRetaining();
    }

    void cleanup() { stop(); }

    void viewHasOneRowPerPurchase()
    {
        QCOMPARE(rows(QStringLiteral("select count(*) from ROZL")).first().first().toInt(), 8);
        // A purchase of another fuel than the vehicle's counts under the fuel bought.
        const auto bio = rows(QStringLiteral("select NR_RODZ_PAL, PRZEL_L_KG, OPL_ZA_TONE, NR_RODZ_SILN, NAZSKR from ROZL where NR_RACH = 'F/3'"));
        QCOMPARE(bio.size(), 1);
        QCOMPARE(bio[0][0].toInt(), 6);
        QCOMPARE(bio[0][2].toDouble(), 7.37);
        QCOMPARE(bio[0][3].toInt(), 11);
        QCOMPARE(bio[0][4].toString(), QStringLiteral("ABC"));
        // A purchase in a year without rates is there, with no rate.
        const auto noRate = rows(QStringLiteral("select OPL_ZA_TONE from ROZL where NR_RACH = 'F/6'"));
        QCOMPARE(noRate.size(), 1);
        QVERIFY(!noRate[0][0].isValid());
    }

    void settlementOfAYear()
    {
        dm->ibds_pal.open();
        dm->IBDS_siln.open();
        const data::Settlement s = settle(QStringLiteral("ABC"), 2024, 0);
        QCOMPARE(s.period.start, QDate(2024, 1, 1));
        QCOMPARE(s.period.end, QDate(2024, 12, 31));
        QCOMPARE(s.lines.size(), size_t(3));
        QCOMPARE(s.lines[0].registration, QStringLiteral("WA1"));
        QCOMPARE(s.lines[0].fuel, 5);
        QCOMPARE(s.lines[0].litres, 1234.56);  // two invoices, one line
        QCOMPARE(s.lines[0].fee.units(), 89900);
        QCOMPARE(s.lines[0].fuelName, QStringLiteral("olej napędowy"));
        QCOMPARE(s.lines[1].fuel, 6);           // the second fuel of the same vehicle
        QCOMPARE(s.lines[1].fee.units(), 6200);
        QCOMPARE(s.lines[2].registration, QStringLiteral("WA2"));
        QCOMPARE(s.lines[2].fee.units(), 32900);
        QCOMPARE(s.amount.units(), 129000);
        QCOMPARE(s.threshold.units(), 8000000);
        QVERIFY(s.withinThreshold());
        QVERIFY(s.linesWithoutRate().empty());
        QVERIFY(!dm->IBQ_rozl.isActive());
        // The purchase list of the window is pointed at the same period.
        QCOMPARE(dm->IBQ_rozl_d.param(QStringLiteral("dpocz")).toDate(), QDate(2024, 1, 1));
        QCOMPARE(dm->IBQ_rozl_d.param(QStringLiteral("dkon")).toDate(), QDate(2024, 12, 31));
    }

    void halfYearsAndMissingRates()
    {
        const data::Settlement first = settle(QStringLiteral("ABC"), 2012, 0);
        QCOMPARE(first.lines.size(), size_t(1));
        QCOMPARE(first.lines[0].litres, 200.0);
        const data::Settlement second = settle(QStringLiteral("ABC"), 2012, 1);
        QCOMPARE(second.period.start, QDate(2012, 7, 1));
        QCOMPARE(second.lines.size(), size_t(1));
        QCOMPARE(second.lines[0].litres, 300.0);
        // 2012 has no rates here: the line counts as zero and is reported.
        QCOMPARE(second.amount.units(), 0);
        QCOMPARE(second.linesWithoutRate().size(), size_t(1));
        QCOMPARE(second.threshold.units(), 4000000);
        // No purchases and no parameters at all.
        const data::Settlement empty = settle(QStringLiteral("ABC"), 2030, 0);
        QVERIFY(empty.lines.empty());
        QCOMPARE(empty.amount.units(), 0);
        QCOMPARE(empty.threshold.units(), 0);
        QVERIFY(empty.withinThreshold());
    }

    void ratesOfTheYearWithTheirTonnesAndFees()
    {
        dm->ibds_pal.open();
        for (ds::Dataset* d : {&dm->IBQ_sil_w, &dm->IBQ_opl_w})
            d->setParam(QStringLiteral("wybrok"), 2024);
        dm->IBQ_rozl_w.setParam(QStringLiteral("naz"), QStringLiteral("ABC"));
        dm->IBQ_rozl_w.setParam(QStringLiteral("dpocz"), QDate(2024, 1, 1));
        dm->IBQ_rozl_w.setParam(QStringLiteral("dkon"), QDate(2024, 12, 31));
        dm->IBQ_sil_w.open();
        dm->IBQ_opl_w.open();
        auto field = [this](const char* name) -> ds::Field& { return dm->IBQ_opl_w.fieldByName(QString::fromLatin1(name)); };

        QVERIFY(dm->IBQ_sil_w.locate(QStringLiteral("NR"), 11));
        QCOMPARE(dm->IBQ_opl_w.recordCount(), 6); // every fuel with a 2024 rate for type 11
        QVERIFY(dm->IBQ_opl_w.locate(QStringLiteral("NR_PALIWA"), 5));
        QCOMPARE(field("zuz").displayText(), QStringLiteral("1,037"));
        QCOMPARE(field("staw").asMoney().units(), 86700);
        QCOMPARE(field("wart").asMoney().units(), 89900);
        QCOMPARE(field("nazpal").asString(), QStringLiteral("olej napędowy"));
        // A fuel with a rate but no purchases: no tonnes, rate and fee 0.
        QVERIFY(dm->IBQ_opl_w.locate(QStringLiteral("NR_PALIWA"), 1));
        QCOMPARE(field("zuz").displayText(), QString());
        QCOMPARE(field("staw").asMoney().units(), 0);
        QCOMPARE(field("wart").asMoney().units(), 0);

        // Another period of the same taxpayer gives its own figures.
        dm->IBQ_rozl_w.setParam(QStringLiteral("dpocz"), QDate(2025, 1, 1));
        dm->IBQ_rozl_w.setParam(QStringLiteral("dkon"), QDate(2025, 12, 31));
        dm->IBQ_opl_w.refresh();
        QVERIFY(dm->IBQ_opl_w.locate(QStringLiteral("NR_PALIWA"), 5));
        // 100 l bought in 2025: 0,084 t at that year's rate of 9,66 zł.
        QCOMPARE(field("zuz").displayText(), QStringLiteral("0,084"));
        QCOMPARE(field("wart").asMoney().units(), 8100);
    }

    void shortNameWithAnApostrophe()
    {
        const data::Settlement s = settle(QStringLiteral("O'Brien"), 2024, 0);
        QCOMPARE(s.lines.size(), size_t(1));
        // 10000 l × 0.84 kg/l = 8.4 t × 7.06 zł (type 5, diesel, 2024)
        QCOMPARE(s.amount.units(), 593000); // 59,304 zł → 59,30 zł
    }

    void amountsBeyondMoneyAreRefused_data()
    {
        QTest::addColumn<QStringList>("purchases"); // litres of fuel 5 (or of fuel 7 / 8) for WA1 in 2024
        QTest::newRow("1e18 litres") << QStringList{QStringLiteral("5:1e18")};
        QTest::newRow("17 lines of 1e17") << QStringList(17, QStringLiteral("5:1e17"));
        QTest::newRow("heavy and negative fuels") << QStringList{QStringLiteral("7:1e15"), QStringLiteral("8:1e15")};
    }

    // Fees that money cannot hold are refused in Polish, by the settlement and by the command
    // line, never summed into a wrapped amount.
    void amountsBeyondMoneyAreRefused()
    {
        QFETCH(QStringList, purchases);
        exec(QStringLiteral("insert into RODZ_PALIWA values (7, 'ciężkie', 214748.3647)"));
        exec(QStringLiteral("insert into RODZ_PALIWA values (8, 'ujemne', -214748.3648)"));
        exec(QStringLiteral("insert into TAB_OPL_SILN values (11, 7, 1000, 2024)"));
        exec(QStringLiteral("insert into TAB_OPL_SILN values (11, 8, 1000, 2024)"));
        exec(QStringLiteral("delete from ZAK_PAL where NR_REJ = 'WA1'"));
        for (int i = 0; i < purchases.size(); ++i) {
            const QStringList fuelAndLitres = purchases[i].split(QLatin1Char(':'));
            exec(QStringLiteral("insert into ZAK_PAL values (%1, 'WA1', 'X/%1', '2024-03-01', %2, %3)")
                     .arg(100 + i).arg(fuelAndLitres[0], fuelAndLitres[1]));
        }
        dm->tr_opl.commitRetaining();
        QVERIFY_THROWS_EXCEPTION(text::MoneyOverflow, settle(QStringLiteral("ABC"), 2024, 0));
        QVERIFY(!dm->IBQ_rozl.isActive());

        dm->disconnectDatabase();
        QProcess* p = runCli({QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"),
                              QStringLiteral("ABC"), QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(p->exitCode(), 1);
        QVERIFY(p->readAllStandardOutput().isEmpty());
        QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains(QStringLiteral("Kwota przekracza zakres")));
    }

    void commandLineSettlement()
    {
        dm->disconnectDatabase();
        QProcess* p = runCli({QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"),
                              QStringLiteral("ABC"), QStringLiteral("--year"), QStringLiteral("2024"), QStringLiteral("--tsv")});
        QCOMPARE(p->exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p->readAllStandardOutput()),
                 QStringLiteral("LINE\tWA1\t11\t5\t1234.56\t0.8400\t8.67\t8.99\n"
                                "LINE\tWA1\t11\t6\t100.00\t0.8400\t7.37\t0.62\n"
                                "LINE\tWA2\t5\t1\t500.00\t0.7550\t8.71\t3.29\n"
                                "TOTAL\t12.90\nTHRESHOLD\t800.00\n"));

        p = runCli({QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"), QStringLiteral("ABC"),
                    QStringLiteral("--year"), QStringLiteral("2012"), QStringLiteral("--half"), QStringLiteral("II")});
        QCOMPARE(p->exitCode(), 0);
        const QString table = QString::fromUtf8(p->readAllStandardOutput());
        QVERIFY2(table.contains(QStringLiteral("Kwota do zapłaty: 0,00 zł")), qPrintable(table));
        QVERIFY(table.contains(QStringLiteral("Próg zwolnienia: 400,00 zł")));
        QVERIFY(table.contains(QStringLiteral("Kwota mniejsza od 400,00 zł nie podlega wpłacie.")));
        QVERIFY(table.contains(QStringLiteral("Uwaga: brak stawki opłaty dla pojazdu WA2")));
        QVERIFY(table.contains(QStringLiteral("benzyna silnikowa")));
        QVERIFY(table.contains(QStringLiteral("01-07-2012 – 31-12-2012")));

        // Usage on request: on standard output, and a good ending.
        for (const QStringList& asked : {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("pdf"), QStringLiteral("--help")},
                                         QStringList{QStringLiteral("--version")}}) {
            p = runCli(asked);
            QCOMPARE(p->exitCode(), 0);
            const QString said = QString::fromUtf8(p->readAllStandardOutput());
            QVERIFY2(said.startsWith(asked.contains(QStringLiteral("--version")) ? QStringLiteral("brenvald-cli ")
                                                                                  : QStringLiteral("Użycie:")),
                     qPrintable(said));
        }

        const QList<QPair<QStringList, int>> refusals{
            {{QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"), QStringLiteral("ABC"), QStringLiteral("--year"), QStringLiteral("2012")}, 2},
            {{QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"), QStringLiteral("ABC"), QStringLiteral("--year"), QStringLiteral("2013"), QStringLiteral("--half"), QStringLiteral("I")}, 2},
            {{QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"), QStringLiteral("ABC"), QStringLiteral("--year"), QStringLiteral("24")}, 2},
            {{QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"), QStringLiteral("XYZ"), QStringLiteral("--year"), QStringLiteral("2024")}, 1},
            {{QStringLiteral("settle"), QStringLiteral("--db"), path + QStringLiteral(".nie"), QStringLiteral("--taxpayer"), QStringLiteral("ABC"), QStringLiteral("--year"), QStringLiteral("2024")}, 1},
            {{QStringLiteral("initdb"), path}, 1},
            {{QStringLiteral("nonsense")}, 2},
            {{QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--db"), path}, 2},
            {{QStringLiteral("settle"), QStringLiteral("--taxpayer"), QStringLiteral("ABC"), QStringLiteral("--db")}, 2},
            {{QStringLiteral("settle"), QStringLiteral("--bogus")}, 2},
        };
        for (const auto& [args, code] : refusals) {
            p = runCli(args);
            QVERIFY2(p->exitCode() == code, qPrintable(args.join(QLatin1Char(' '))));
            const QString said = QString::fromUtf8(p->readAllStandardError());
            QVERIFY(!said.isEmpty());
            // A database failure is logged with what the tool was doing.
            if (args.contains(path + QStringLiteral(".nie")))
                QVERIFY2(said.contains(QStringLiteral("database error while attach ")), qPrintable(said));
        }
    }
};

QTEST_GUILESS_MAIN(TestSettlementData)
#include "test_settlement_data.moc"
