#include <QtTest>

#include "data/index_statistics.h"
#include "firebird/index_statistics.h"
#include "module_fixture.h"
#include "sql_testing.h"
#include <QApplication>
#include "test_main.h"

using namespace screentest;
using namespace Qt::StringLiterals;

// The optimizer's figures follow the rows: measured when the delivered database is made, and
// again when taxpayers, vehicles or purchases have grown well beyond what was measured.
class TestIndexStatistics : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    // The catalogue keeps it in single precision.
    static float primaryKeySelectivity(const char* table)
    {
        return rows(QStringLiteral("select i.RDB$STATISTICS from RDB$RELATION_CONSTRAINTS c join RDB$INDICES i "
                                            "on i.RDB$INDEX_NAME = c.RDB$INDEX_NAME where c.RDB$RELATION_NAME = :p0 "
                                            "and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'"),
                             {QString::fromLatin1(table)})
                            .first()
                            .first()
                            .toFloat();
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void statisticsFollowTheRows()
    {
        // As delivered: the rates measured, nothing stale.
        QVERIFY(primaryKeySelectivity("TAB_OPL_SILN") > 0);
        QVERIFY(!data::indexStatisticsStale(dm->db_opl));

        // Rows keyed in by hand (datasets open meanwhile): stale, then true again.
        dm->IBQ_pod.open();
        for (int i = 1; i <= 40; ++i)
            exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NIP) values (%1, 'P%1', '1')").arg(i));
        exec(QStringLiteral("insert into SAM (NR_REJ, NR_POD, NR_RODZ_SILN, NR_RODZ_PAL, D_ROZP_U) "
                            "values ('WA1', 1, 5, 1, '2000-01-01')"));
        for (int i = 1; i <= 30; ++i)
            exec(QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
                                "values (gen_id(G_ZAK, 1), 'WA1', 'F', '2024-01-01', 1, 10)"));
        QVERIFY(data::indexStatisticsStale(dm->db_opl));
        data::keepIndexStatisticsTrue(dm->db_opl);
        QVERIFY(!data::indexStatisticsStale(dm->db_opl));
        QCOMPARE(primaryKeySelectivity("PODAT"), 1.0f / 40);
        QCOMPARE(primaryKeySelectivity("ZAK_PAL"), 1.0f / 30);
        QVERIFY(dm->IBQ_pod.isActive());

        // A little more is not worth measuring again; twice as much is.
        for (int i = 41; i <= 60; ++i)
            exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NIP) values (%1, 'P%1', '1')").arg(i));
        QVERIFY(!data::indexStatisticsStale(dm->db_opl));
        for (int i = 61; i <= 90; ++i)
            exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NIP) values (%1, 'P%1', '1')").arg(i));
        QVERIFY(data::indexStatisticsStale(dm->db_opl));
        // Connecting measures what is stale.
        dm->connectTo(path);
        QCOMPARE(primaryKeySelectivity("PODAT"), 1.0f / 90);

        // Numbers drawn and not kept (purchases deleted, an import rolled back) leave the
        // generator above the rows for good: that alone is not stale; growing beyond what was
        // measured still is.
        exec(u"set generator G_ZAK to 1000"_s);
        QVERIFY(!data::indexStatisticsStale(dm->db_opl));
        for (int i = 1; i <= 40; ++i)
            exec(QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
                                "values (gen_id(G_ZAK, 1), 'WA1', 'F', '2024-01-01', 1, 10)"));
        QVERIFY(data::indexStatisticsStale(dm->db_opl));
    }

    // A database of an earlier version gets what the schema added since when it connects:
    // the table of work locks, the index of a vehicle's purchases by date, unique short names
    // where no two taxpayers share one (where they do, it connects all the same).
    void anEarlierDatabaseIsCompletedOnConnecting()
    {
        const auto exists = [](const QString& sql) { return rows(sql).first().first().toInt() > 0; };
        for (const QString& ddl : {u"drop table BLOKADY"_s, u"drop table WIERSZE_EFAKTUR"_s, u"drop index IX_ZAK_PAL_NR_REJ_D_ZAK"_s,
                                   u"alter table PODAT drop constraint UQ_PODAT_NAZSKR"_s}) {
            dm->db_opl.executeImmediate(dm->tr_opl, ddl);
            dm->tr_opl.commitRetaining();
        }
        exec(u"insert into PODAT (NR_PODAT, NAZSKR, NIP) values (1, 'TA SAMA', '1')"_s);
        exec(u"insert into PODAT (NR_PODAT, NAZSKR, NIP) values (2, 'TA SAMA', '2')"_s);
        dm->connectTo(path);
        QVERIFY(exists(u"select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'BLOKADY'"_s));
        QVERIFY(exists(u"select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'WIERSZE_EFAKTUR'"_s));
        QVERIFY(exists(u"select count(*) from RDB$INDICES where RDB$INDEX_NAME = 'IX_ZAK_PAL_NR_REJ_D_ZAK'"_s));
        QVERIFY(!exists(u"select count(*) from RDB$RELATION_CONSTRAINTS where RDB$CONSTRAINT_NAME = 'UQ_PODAT_NAZSKR'"_s));

        exec(u"delete from PODAT where NR_PODAT = 2"_s);
        dm->connectTo(path);
        QVERIFY(exists(u"select count(*) from RDB$RELATION_CONSTRAINTS where RDB$CONSTRAINT_NAME = 'UQ_PODAT_NAZSKR'"_s));
    }
};

TEST_MAIN(QApplication, TestIndexStatistics)
#include "test_index_statistics.moc"
