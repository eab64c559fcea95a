#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

#include "data/dm1.h"
#include "data/settlement_queries.h"
#include "firebird/statement.h"
#include "data/settlement.h"
#include "module_fixture.h"
#include "sql_testing.h"
#include "text/formats.h"
#include "test_main.h"

using screentest::exec;
using screentest::rows;
using namespace Qt::StringLiterals;

class TestSettlementData : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT



    data::Settlement settle(const QString& taxpayer, int year, int half)
    {
        return data::computeSettlement(*dm, taxpayer, year, data::settlementPeriod(year, half),
                                          data::yearParameters(*dm, year));
    }

    // Every row of a query with named parameters; a litre total is rounded to a millionth of
    // a litre, as summing the same purchases in another order may move its last bit.
    static QList<QVariantList> rowsOf(const QString& sql, const QVariantMap& params)
    {
        fb::Statement st(dm_1->db_opl, dm_1->tr_opl, sql);
        for (const QString& name : st.paramNames())
            st.setParam(name, params.value(name.toLower()));
        st.execute();
        QList<QVariantList> result;
        while (st.fetch()) {
            QVariantList row;
            for (int c = 0; c < st.columnCount(); ++c)
                row << (st.column(c).name == u"ZAKKW"_s ? QVariant(std::round(st.value(c).toDouble() * 1e6)) : st.value(c));
            result << row;
        }
        return result;
    }

    // Taxpayers P3 (8 vehicles) to P6 (one or two each, P6 none) beside ABC and O'Brien, and
    // 600 random purchases of types with and without rates, fuels other than the vehicle's,
    // in half-years of 2012 and in 2013 and 2024.
    static void addRandomOffice()
    {
        QRandomGenerator random(12);
        for (int t = 3; t <= 6; ++t)
            exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (%1, '%1', 'P%1')"_s.arg(t));
        for (int v = 0; v < 12; ++v)
            exec(u"insert into SAM values ('V%1', %2, %3, %4, '2010-01-01', null)"_s.arg(v).arg(v < 8 ? 3 : 4 + v % 2)
                     .arg(1 + v % 4 * 10).arg(v % 2 ? 1 : 5));
        const int fuels[] = {1, 5, 6, 2};
        const QDate days[] = {{2012, 2, 1}, {2012, 6, 30}, {2012, 7, 1}, {2012, 12, 31}, {2013, 5, 5}, {2024, 8, 8}};
        for (int i = 0; i < 600; ++i)
            exec(u"insert into ZAK_PAL values (%1, 'V%2', 'R/%3', '%4', %5, %6)"_s.arg(100 + i).arg(random.bounded(12))
                     .arg(random.bounded(40)).arg(days[random.bounded(6)].addDays(random.bounded(3) - 1).toString(Qt::ISODate))
                     .arg(fuels[random.bounded(4)]).arg(random.bounded(1, 100000) / 100.0));
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

    // The settlement's and the statements' queries, read through either access, give the rows
    // of the same queries on the view ROZL: random purchases of taxpayers large and small,
    // fuels other than the vehicle's, types and fuels without a rate, half-years and years.
    void queriesGiveTheViewsRows()
    {
        addRandomOffice();
        const QString viewSettlement = u"select nr_rej, nr_rodz_siln, nr_rodz_pal, sum(il_zak) as zakkw, przel_l_kg, opl_za_tone "
                                       "from rozl where d_zak between :dpocz and :dkon and nazskr=:naz GROUP BY nr_rej, "
                                       "nr_rodz_siln, nr_rodz_pal, przel_l_kg, opl_za_tone order by NR_REJ, nr_rodz_pal"_s;
        const QString viewLines = u"SELECT nr_rodz_siln, nr_rodz_pal, opl_za_tone, przel_l_kg, sum(il_zak) as zakkw FROM rozl "
                                  "WHERE nazskr=:naz and d_zak between :dpocz and :dkon GROUP BY nr_rodz_siln, nr_rodz_pal,"
                                  "przel_l_kg, opl_za_tone order by nr_rodz_siln, nr_rodz_pal"_s;
        const QString viewLinePurchases = u"SELECT nr_rodz_siln, nr_rodz_pal, nr_rej, nr_rach, d_zak, il_zak FROM rozl WHERE "
                                          "nazskr=:naz and nr_rodz_siln=:nr_rodz_siln and nr_rodz_pal=:nr_rodz_pal and "
                                          "rozl.d_zak between :dpocz and :dkon ORDER BY nr_rodz_siln, nr_rodz_pal, rozl.d_zak, "
                                          "rozl.nr_rach, rozl.nr_rej, rozl.il_zak"_s;
        const QString viewVehiclePurchases = u"SELECT nr_rej, nr_rach, d_zak, nr_rodz_pal, il_zak FROM rozl WHERE "
                                             "rozl.nr_rej=:nr_rej and nr_rodz_pal=:nr_rodz_pal and rozl.d_zak between :dpocz "
                                             "and :dkon ORDER BY rozl.d_zak, rozl.nr_rach, rozl.il_zak"_s;
        // Purchases of one day and invoice come in no fixed order: compared as sorted.
        const auto sorted = [](QList<QVariantList> rows) {
            std::sort(rows.begin(), rows.end(), [](const QVariantList& a, const QVariantList& b) {
                return QVariant(a).toStringList() < QVariant(b).toStringList();
            });
            return rows;
        };
        int lines = 0;
        for (const QString& taxpayer : {u"P3"_s, u"P4"_s, u"P5"_s, u"ABC"_s})
            for (const auto& [year, half] : {std::pair{2012, 0}, std::pair{2012, 1}, std::pair{2013, 0}, std::pair{2024, 0}}) {
                const data::Period period = data::settlementPeriod(year, half);
                const QVariantMap params{{u"naz"_s, taxpayer}, {u"dpocz"_s, period.start}, {u"dkon"_s, period.end}};
                const auto settlement = rowsOf(viewSettlement, params);
                const auto statement = rowsOf(viewLines, params);
                lines += settlement.size();
                for (const data::PurchaseAccess access : {data::PurchaseAccess::ByVehicle, data::PurchaseAccess::ByScan}) {
                    QCOMPARE(rowsOf(data::settlementSql(access), params), settlement);
                    QCOMPARE(rowsOf(data::statementLinesSql(access), params), statement);
                }
                for (const QVariantList& line : statement) {
                    QVariantMap detail = params;
                    detail.insert(u"nr_rodz_siln"_s, line[0]);
                    detail.insert(u"nr_rodz_pal"_s, line[1]);
                    QCOMPARE(sorted(rowsOf(data::statementPurchasesSql(), detail)), sorted(rowsOf(viewLinePurchases, detail)));
                }
                for (const QVariantList& line : settlement) {
                    QVariantMap detail = params;
                    detail.insert(u"nr_rej"_s, line[0]);
                    detail.insert(u"nr_rodz_pal"_s, line[2]);
                    QCOMPARE(sorted(rowsOf(data::settlementPurchasesSql(), detail)), sorted(rowsOf(viewVehiclePurchases, detail)));
                }
            }
        QVERIFY(lines > 40);
        // The large taxpayer (8 of 15 vehicles) is read by a scan, the small ones by vehicle.
        QCOMPARE(data::purchaseAccess(8, 15), data::PurchaseAccess::ByScan);
        QCOMPARE(data::purchaseAccess(2, 15), data::PurchaseAccess::ByVehicle);
    }

    // The office overview gives every taxpayer exactly the fee and threshold that the
    // settlement of that taxpayer and period gives, through the command line both ways.
    void overviewMatchesEachSettlement()
    {
        addRandomOffice();
        dm->disconnectDatabase();
        int compared = 0;
        for (const QStringList& period : {QStringList{u"2012"_s, u"--half"_s, u"I"_s}, QStringList{u"2012"_s, u"--half"_s, u"II"_s},
                                          QStringList{u"2013"_s}, QStringList{u"2024"_s}}) {
            QProcess* p = runCli(QStringList{u"overview"_s, u"--db"_s, path, u"--tsv"_s, u"--year"_s} + period);
            QCOMPARE(p->exitCode(), 0);
            const QStringList lines = QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 7); // six taxpayers and the total
            QVERIFY2(lines.last().startsWith(u"TOTAL\t"_s), qPrintable(lines.last()));
            for (const QString& line : lines.mid(0, 6)) {
                const QStringList f = line.split(u'\t');
                QCOMPARE(f.size(), 12);
                p = runCli(QStringList{u"settle"_s, u"--db"_s, path, u"--tsv"_s, u"--taxpayer"_s, f[2], u"--year"_s} + period);
                QCOMPARE(p->exitCode(), 0);
                const QStringList settled = QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
                QCOMPARE(settled.filter(QRegularExpression(u"^TOTAL\t"_s)), QStringList{u"TOTAL\t"_s + f[7]});
                QCOMPARE(settled.filter(QRegularExpression(u"^THRESHOLD\t"_s)), QStringList{u"THRESHOLD\t"_s + f[8]});
                // The vehicles with purchases are the settlement's registrations.
                QSet<QString> vehicles;
                for (const QString& l : settled.filter(QRegularExpression(u"^LINE\t"_s)))
                    vehicles.insert(l.section(u'\t', 1, 1));
                QCOMPARE(f[4].toInt(), int(vehicles.size()));
                QCOMPARE(f[9], f[7].toDouble() <= f[8].toDouble() ? u"poniżej progu"_s : u"do zapłaty"_s);
                // What is filed: the settlement's FILING record, none up to 2012.
                const QStringList filing = settled.filter(QRegularExpression(u"^FILING\t"_s));
                QCOMPARE(filing, period.first() == u"2012"_s ? QStringList() : QStringList{u"FILING\t"_s + f[11]});
                QCOMPARE(f[11], period.first() == u"2012"_s              ? QString()
                                : f[7].toDouble() > f[8].toDouble()     ? u"wykaz_i_oplata"_s
                                : period.first() == u"2024"_s && f[7].toDouble() <= 100 ? u"bez_wykazu"_s
                                                                                        : u"wykaz"_s);
                compared += f[7] != u"0.00"_s;
            }
        }
        QVERIFY2(compared >= 8, QByteArray::number(compared));

        // Every taxpayer's printouts of 2012 II: a whole file for each who bought, no file for
        // the others, one line each and the summary.
        // A taxpayer whose lines lack rates gets no file unless that is allowed, and the
        // command says which rates and ends with 1.
        QTemporaryDir refusedFolder;
        QProcess* p = runCli({u"pdf-all"_s, u"--db"_s, path, u"--year"_s, u"2012"_s, u"--half"_s, u"II"_s, u"--dir"_s,
                              refusedFolder.path()});
        const QStringList lacking = QString::fromUtf8(p->readAllStandardOutput())
                                        .split(u'\n', Qt::SkipEmptyParts)
                                        .filter(u"\tpominięto\tBrak stawek dla: "_s);
        QVERIFY(!lacking.isEmpty()); // the data have types without rates
        QCOMPARE(p->exitCode(), 1);
        for (const QString& line : lacking)
            QVERIFY(!QFileInfo::exists(refusedFolder.filePath(u"%1_%2_2012_II.pdf"_s.arg(line.section(u'\t', 0, 0),
                                                                                         line.section(u'\t', 1, 1)))));
        QTemporaryDir folder;
        p = runCli({u"pdf-all"_s, u"--db"_s, path, u"--year"_s, u"2012"_s, u"--half"_s, u"II"_s, u"--dir"_s, folder.path(),
                    u"--allow-missing-rates"_s});
        QCOMPARE(p->exitCode(), 0);
        const QStringList said = QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(said.size(), 7);
        const QStringList written = said.filter(u"\tzapisano\t"_s);
        QVERIFY(!written.isEmpty() && said.filter(u"\tpominięto\t"_s).size() == 6 - written.size());
        for (const QString& line : written) {
            const QString file = line.section(u'\t', 3);
            QCOMPARE(QFileInfo(file).fileName(), u"%1_%2_2012_II.pdf"_s.arg(line.section(u'\t', 0, 0), line.section(u'\t', 1, 1)));
            QFile pdf(file);
            QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.readAll().trimmed().endsWith("%%EOF"));
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), written.size());
        QVERIFY(said.last().startsWith(u"Zapisano plików: %1."_s.arg(written.size())));
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

    // The statement's figures summed from a settlement's lines are those its own grouping of
    // the purchases gives: every type and fuel with a rate, for taxpayers large and small,
    // half-years and years, random purchases of fuels other than the vehicle's.
    void statementFromTheSettlementsLines()
    {
        addRandomOffice();
        dm->ibds_pal.open();
        const auto figures = [this](const QString& taxpayer, int year, const data::Period& period,
                                    const data::Settlement* settlement) {
            const ds::OpenedDatasets opened = dm->openStatement(taxpayer, year, period, settlement);
            QList<QVariantList> all;
            ds::Dataset& types = dm->IBQ_sil_w;
            ds::Dataset& fuels = dm->IBQ_opl_w;
            for (types.first(); !types.eof(); types.next())
                for (fuels.first(); !fuels.eof(); fuels.next())
                    all << QVariantList{fuels.value(u"NR_SILN"_s), fuels.value(u"NR_PALIWA"_s),
                                        fuels.fieldByName(u"zuz"_s).displayText(),
                                        fuels.fieldByName(u"staw"_s).asMoney().units(),
                                        fuels.fieldByName(u"wart"_s).asMoney().units()};
            return all;
        };
        int withTonnes = 0;
        for (const QString& taxpayer : {u"ABC"_s, u"O'Brien"_s, u"P3"_s, u"P4"_s, u"P5"_s})
            for (const auto& [year, half] : {std::pair{2012, 0}, std::pair{2012, 1}, std::pair{2013, 0}, std::pair{2024, 0}}) {
                const data::Settlement s = settle(taxpayer, year, half);
                const auto fromLines = figures(taxpayer, year, s.period, &s);
                QCOMPARE(fromLines, figures(taxpayer, year, s.period, nullptr));
                for (const QVariantList& f : fromLines)
                    withTonnes += !f[2].toString().isEmpty();
            }
        QVERIFY(withTonnes > 20);
    }

    // Litres that add up to a boundary of the tonnes shown (LPG: 1 001 l is 0,5005 t) give the
    // same statement line however the purchases are split among vehicles and invoices and
    // whichever path sums them (from the settlement's lines, or the statement's own grouping):
    // the line of one purchase of the whole quantity.
    void statementLinesOnARoundingBoundary()
    {
        const QList<QList<QPair<int, double>>> splits{
            {{0, 0.1}, {0, 0.2}, {1, 1000.7}},
            {{0, 1000.7}, {1, 0.1}, {1, 0.2}},
            {{0, 0.2}, {1, 1000.7}, {2, 0.1}},
            {{0, 0.7}, {0, 0.1}, {1, 0.2}, {2, 1000.0}},
            {{0, 2.7}, {1, 0.1}, {1, 0.2}, {2, 998.0}},
        };
        dm->ibds_pal.open();
        const auto lineOf = [this](const QString& taxpayer, const data::Settlement* settlement) {
            const data::Period period = data::settlementPeriod(2024, 0);
            const ds::OpenedDatasets opened = dm->openStatement(taxpayer, 2024, period, settlement);
            for (dm->IBQ_sil_w.first(); !dm->IBQ_sil_w.eof(); dm->IBQ_sil_w.next())
                for (dm->IBQ_opl_w.first(); !dm->IBQ_opl_w.eof(); dm->IBQ_opl_w.next())
                    if (dm->IBQ_opl_w.value(u"NR_SILN"_s).toInt() == 1 && dm->IBQ_opl_w.value(u"NR_PALIWA"_s).toInt() == 2)
                        return u"%1 t, %2"_s.arg(dm->IBQ_opl_w.fieldByName(u"zuz"_s).displayText())
                            .arg(dm->IBQ_opl_w.fieldByName(u"wart"_s).asMoney().units());
            return QString();
        };
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (40, '40', 'CALOSC')"_s);
        exec(u"insert into SAM values ('C1', 40, 1, 2, '2020-01-01', null)"_s);
        exec(u"insert into ZAK_PAL values (900, 'C1', 'C', '2024-05-05', 2, 1001)"_s);
        const QString whole = lineOf(u"CALOSC"_s, nullptr);
        QVERIFY(whole.startsWith(u"0,50"_s));
        int purchase = 1000;
        for (int t = 0; t < splits.size(); ++t) {
            const QString taxpayer = u"T%1"_s.arg(t);
            exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (%1, '%1', '%2')"_s.arg(50 + t).arg(taxpayer));
            for (int v = 0; v < 3; ++v)
                exec(u"insert into SAM values ('%1V%2', %3, 1, 2, '2020-01-01', null)"_s.arg(taxpayer).arg(v).arg(50 + t));
            for (const auto& [vehicle, litres] : splits[t])
                exec(u"insert into ZAK_PAL values (%1, '%2V%3', 'F/%1', '2024-05-05', 2, %4)"_s.arg(++purchase).arg(taxpayer)
                         .arg(vehicle).arg(litres));
            const data::Settlement s = settle(taxpayer, 2024, 0);
            QCOMPARE(lineOf(taxpayer, &s), whole);
            QCOMPARE(lineOf(taxpayer, nullptr), whole);
        }
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
                                "TOTAL\t12.90\nTHRESHOLD\t800.00\nFILING\tbez_wykazu\n"));
        p = runCli({QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"),
                    QStringLiteral("ABC"), QStringLiteral("--year"), QStringLiteral("2024")});
        QVERIFY(QString::fromUtf8(p->readAllStandardOutput())
                    .contains(QStringLiteral("\nOpłata nie przekracza 100,00 zł: wykazu się nie składa, opłaty się nie wnosi.\n")));

        p = runCli({QStringLiteral("settle"), QStringLiteral("--db"), path, QStringLiteral("--taxpayer"), QStringLiteral("ABC"),
                    QStringLiteral("--year"), QStringLiteral("2012"), QStringLiteral("--half"), QStringLiteral("II")});
        QCOMPARE(p->exitCode(), 0);
        const QString table = QString::fromUtf8(p->readAllStandardOutput());
        QVERIFY2(table.contains(QStringLiteral("Kwota do zapłaty: 0,00 zł")), qPrintable(table));
        QVERIFY(table.contains(QStringLiteral("Próg zwolnienia: 400,00 zł")));
        QVERIFY(table.contains(QStringLiteral("Kwota mniejsza od 400,00 zł nie podlega wpłacie.")));
        QVERIFY(!table.contains(QStringLiteral("wykaz"))); // up to 2012 only the threshold is told
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
            // A failure is said once, in Polish; with --debug it is also logged with what the tool
            // was doing.
            QVERIFY2(!said.contains(QStringLiteral("brenvald.")), qPrintable(said));
            if (code == 1)
                QCOMPARE(said.count(QStringLiteral("Błąd")) + said.count(QStringLiteral("Nie ma podatnika")), 1);
            if (args.contains(path + QStringLiteral(".nie"))) {
                p = runCli(QStringList{QStringLiteral("--debug")} + args);
                const QString logged = QString::fromUtf8(p->readAllStandardError());
                QVERIFY2(logged.contains(QStringLiteral("database error while attach ")), qPrintable(logged));
            }
        }
    }
};

TEST_MAIN(QCoreApplication, TestSettlementData)
#include "test_settlement_data.moc"
