#include <QtTest>

#include "data/index_statistics.h"
#include "firebird/index_statistics.h"
#include "module_fixture.h"
#include "sql_testing.h"

using namespace screentest;

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
    }
};

QTEST_MAIN(TestIndexStatistics)
#include "test_index_statistics.moc"
