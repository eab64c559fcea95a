#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "data/multi_row_insert.h"
#include "data/rate_store.h"
#include "desktop/open_file_dialog.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "module_fixture.h"
#include "sql_testing.h"
#include "tables/akt_opl.h"
#include "tables/rate_script.h"
#include "text/formats.h"
#include <QApplication>
#include "test_main.h"

using namespace screentest;

// Rates from a file: the window, the loader under it, and the rate files the program ships.
using namespace Qt::StringLiterals;

class TestRateFile : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    QTemporaryDir dir;
    QString offered; // what the file dialog answers

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(dir.path()).filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    static QStringList column(QTableWidget* grid, int c)
    {
        QStringList cells;
        for (int r = 0; r < grid->rowCount(); ++r)
            cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        return cells;
    }

    static QString rateOf(int type, int fuel, int year)
    {
        fb::Statement st(dm_1->db_opl, dm_1->tr_opl,
                         QStringLiteral("select OPL_ZA_TONE from TAB_OPL_SILN where NR_SILN=%1 and NR_PALIWA=%2 and ROK=%3")
                             .arg(type).arg(fuel).arg(year));
        st.execute();
        const QString v = st.fetch() ? QString::number(st.value(0).toDouble(), 'g', 17) : QString();
        st.closeCursor();
        return v;
    }

private slots:
    void initTestCase()
    {
        text::applyProgramFormats();
        desktop::setOpenFileHandler([this](const desktop::OpenFileRequest&) { return offered; });
    }
    void init() { start(); }
    void cleanup() { stop(); }

    void linesAreReadAsRatesOnly_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF, final break adds no line") << QByteArray("1, 1, 2.5, 2030)\r\n2,1,3,2030)\r\n")
                                                         << QStringList{"1, 1, 2.5, 2030)", "2,1,3,2030)"};
        QTest::newRow("LF and CR, empty line inside stays") << QByteArray("a\n\rb\rc")
                                                            << QStringList{"a", "", "b", "c"};
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" "1, 1, 2.5, 2030)")
                                         << QStringList{"1, 1, 2.5, 2030)"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void linesAreReadAsRatesOnly()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, lines);
        QCOMPARE(rates::fileLines(file), lines);

        // What parses: four numbers and the closing parenthesis; nothing that SQL would add.
        const auto ok = rates::parseLine(QStringLiteral(" 12 ,3,\t101.14 , 2024 ) "));
        QVERIFY(ok);
        QCOMPARE(ok->vehicleType, 12);
        QCOMPARE(ok->fuel, 3);
        QCOMPARE(ok->ratePerTonne, 101.14);
        QCOMPARE(ok->year, 2024);
        // Ended as files written for the database's own tools end their lines.
        for (const char* ended : {"1, 1, 101.14, 2024);", "1, 1, 101.14, 2024); -- stawka 2024",
                                  "1, 1, 101.14, 2024) /* tabela D */ ;", "1, 1, 101.14, 2024)--"})
            QVERIFY2(rates::parseLine(QString::fromLatin1(ended)) && rates::parseLine(QString::fromLatin1(ended))->year == 2024,
                     ended);
        for (const char* bad : {"", "1, 1, 101,14, 2024)", "1, 1, 101.14, 2024",
                                "1, 1, (select 1 from rdb$database), 2024)", "1, 1, 1e3, 2024)",
                                "1, 1, 5, 2024) ; delete from PODAT", "-1, 1, 5, 2024)"})
            QVERIFY2(!rates::parseLine(QString::fromLatin1(bad)), bad);
    }

    void theWindowRunsTheFileOnce()
    {
        TF_akt_opl screen(*dm);
        screen.show();
        auto* grid = screen.findChild<QTableWidget*>(QStringLiteral("SG_pol"));
        auto* run = screen.findChild<QPushButton*>(QStringLiteral("kl_akt"));
        auto* browse = screen.findChild<QToolButton*>(QStringLiteral("SB_plik"));
        QVERIFY(grid && run && browse);
        QVERIFY(grid->isHidden());
        QVERIFY(!run->isEnabled());
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("       Polecenie SQL"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("   Komunikat z wykonania"));

        const int before = count(QStringLiteral("select count(*) from TAB_OPL_SILN"));
        const int podat = count(QStringLiteral("select count(*) from PODAT"));
        // Three new rates, one that exists, an empty line, one line that carries SQL.
        offered = writeFile(QStringLiteral("stawki.sql"), "1, 1, 111.5, 2031)\n1, 2, 64.85, 2031)\n"
                                                          "1, 1, 101.14, 2024)\n\n2, 1, 7, 2031)\n"
                                                          "3, 1, 1, 2031); delete from PODAT where 1=1 --\n");
        browse->click();
        QVERIFY(grid->isVisible());
        QVERIFY(run->isEnabled());
        QCOMPARE(grid->rowCount(), 6);
        QCOMPARE(column(grid, 0).at(2),
                 QStringLiteral("INSERT INTO TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) VALUES (1, 1, 101.14, 2024)"));

        // Cancelling the dialog shows the same file again.
        offered.clear();
        browse->click();
        QCOMPARE(grid->rowCount(), 6);

        run->click();
        const QStringList outcomes = column(grid, 1);
        QCOMPARE(outcomes.at(0), QStringLiteral("     OK"));
        QCOMPARE(outcomes.at(1), QStringLiteral("     OK"));
        QVERIFY2(outcomes.at(2).startsWith(QStringLiteral("  Błąd ")) && outcomes.at(2).contains(QStringLiteral("PK_TAB_OPL_SILN")),
                 qPrintable(outcomes.at(2)));
        QVERIFY(outcomes.at(3).startsWith(QStringLiteral("  Błąd ")));
        QCOMPARE(outcomes.at(4), QStringLiteral("     OK"));
        QVERIFY(outcomes.at(5).startsWith(QStringLiteral("  Błąd Wiersz nie jest stawką opłaty.")));
        QCOMPARE(shownTexts(), QStringList{QStringLiteral("Przetworzono 6 poleceń\n\r  w tym błędnych 3")});
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN")), before + 3);
        QCOMPARE(count(QStringLiteral("select count(*) from PODAT")), podat);
        QCOMPARE(rateOf(1, 1, 2024), QStringLiteral("101.14")); // the existing rate is kept
        QCOMPARE(rateOf(1, 1, 2031), QStringLiteral("111.5"));

        // Cancelling the dialog after the run shows the file again with its log.
        offered.clear();
        browse->click();
        QCOMPARE(column(grid, 1), outcomes);

        // One run per showing, even with another file.
        QVERIFY(!run->isEnabled());
        offered = writeFile(QStringLiteral("inne.txt"), "5, 1, 1, 2032)");
        browse->click();
        QCOMPARE(grid->rowCount(), 1);
        QVERIFY(!run->isEnabled());
        QVERIFY(screen.findChild<QLineEdit*>(QStringLiteral("LE_sql"))->text().endsWith(QStringLiteral("inne.txt")));
    }

    // A year or a rate no law has is refused line by line, in Polish, and nothing of it stored.
    void yearsAndRatesOutsideTheLawAreRefused()
    {
        auto statements = rates::statementsOf({u"1, 3, 5, 1999)"_s, u"1, 3, 5, 2101)"_s, u"1, 3, -5, 2031)"_s,
                                               u"1, 3, 100000.01, 2031)"_s, u"1, 3, 100000, 2031)"_s});
        QCOMPARE(rates::runStatements(*dm, statements), 4);
        QCOMPARE(statements[0].outcome, u"  Błąd Rok 1999 leży poza zakresem od 2000 do 2100."_s);
        QCOMPARE(statements[1].outcome, u"  Błąd Rok 2101 leży poza zakresem od 2000 do 2100."_s);
        QCOMPARE(statements[2].outcome, u"  Błąd Stawka -5,00 zł za tonę leży poza zakresem od 0 do 100 000 zł."_s);
        QCOMPARE(statements[3].outcome, u"  Błąd Stawka 100000,01 zł za tonę leży poza zakresem od 0 do 100 000 zł."_s);
        QCOMPARE(statements[4].outcome, u"     OK"_s);
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN where ROK in (1999, 2101)")), 0);
        QCOMPARE(rateOf(1, 3, 2031), QStringLiteral("100000"));
    }

    // Rates go to the database many to a statement: a refused line past the first statement's
    // rows is named alone, and every other line of its statement is stored.
    void aRefusedLineAmongManyIsNamedAlone()
    {
        QStringList lines;
        for (int year = 2031; year <= 2090; ++year)
            lines << u"1, 1, %1, %2)"_s.arg(year - 2000).arg(year);
        lines.insert(55, u"1, 1, 99, 2035)"_s); // the key of line 5 again
        auto statements = rates::statementsOf(lines);
        const int before = count(QStringLiteral("select count(*) from TAB_OPL_SILN"));
        QCOMPARE(rates::runStatements(*dm, statements), 1);
        for (int i = 0; i < int(statements.size()); ++i) {
            if (i == 55)
                QVERIFY2(statements[i].outcome.startsWith(u"  Błąd "_s) && statements[i].outcome.contains(u"PK_TAB_OPL_SILN"_s),
                         qPrintable(statements[i].outcome));
            else
                QCOMPARE(statements[i].outcome, u"     OK"_s);
        }
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN")), before + 60);
        QCOMPARE(rateOf(1, 1, 2035), QStringLiteral("35"));
        QCOMPARE(rateOf(1, 1, 2090), QStringLiteral("90"));
        // The rates' key was measured with the file's rows in it, before they were committed.
        QCOMPARE(count(u"select cast(1 / RDB$STATISTICS as integer) from RDB$INDICES where RDB$INDEX_NAME = 'PK_TAB_OPL_SILN'"_s),
                 before + 60);
    }

    // A write that a failure of every row ends says how far it got: the rows before the
    // failing one are written or refused, the rest are not written.
    void aWriteEndedByAFailureOfAllSaysHowFarItGot()
    {
        QList<data::RateRow> rows;
        for (int year = 2031; year <= 2090; ++year)
            rows << data::RateRow{1, 1, double(year - 2000), year};
        rows[52].year = 2031;  // the key of row 0 again: refused
        rows[57].fuel = 999;   // no such fuel: taken here as a failure of every row
        data::MultiRowInsert insert(dm->db_opl, dm->tr_opl, u"INSERT INTO TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) "_s,
                                    u"cast(:s%1 as smallint), cast(:p%1 as smallint), cast(:o%1 as double precision), "
                                    "cast(:r%1 as smallint)"_s);
        data::WriteOutcome outcome;
        QVERIFY_THROWS_EXCEPTION(fb::Error, insert.write(
            int(rows.size()),
            [&rows](QVariantList& values, int row) {
                values << rows[row].vehicleType << rows[row].fuel << rows[row].ratePerTonne << rows[row].year;
            },
            [](const fb::Error& e) { return e.message().contains(u"FK_OPL_PALIWO"_s); }, outcome));
        QCOMPARE(outcome.done, 57);
        for (int i = 0; i < 57; ++i)
            QVERIFY2(outcome.refusals[size_t(i)].has_value() == (i == 52), qPrintable(QString::number(i)));
        insert.clear();
        QCOMPARE(count(u"select count(*) from TAB_OPL_SILN where ROK > 2030"_s), 56);
        QCOMPARE(rateOf(1, 1, 2087), u"87"_s);   // row 56, the last written
        QCOMPARE(rateOf(1, 1, 2089), QString()); // row 58, after the failure
    }

    void theCommandLineLoadsTheSameWay()
    {
        const QString file = writeFile(QStringLiteral("cli.sql"), "1, 1, 111.5, 2031)\r\n1, 2, 64.85, 2031)\r\n");
        auto run = [](const QString& database, const QString& rates) {
            QProcess p;
            p.start(QStringLiteral(BRENVALD_CLI), {QStringLiteral("load-rates"), QStringLiteral("--db"), database, rates});
            p.waitForFinished(60000);
            return std::tuple{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                              QString::fromUtf8(p.readAllStandardError())};
        };
        const QString other = testsupport::freshDeliveredDatabase();
        auto [code, out, err] = run(other, file);
        QCOMPARE(code, 0);
        QCOMPARE(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 (QStringList{QStringLiteral("INSERT INTO TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) VALUES (1, 1, 111.5, 2031)\t     OK"),
                              QStringLiteral("INSERT INTO TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) VALUES (1, 2, 64.85, 2031)\t     OK"),
                              QStringLiteral("Przetworzono 2 poleceń"), QStringLiteral("  w tym błędnych 0")}));
        std::tie(code, out, err) = run(other, file);
        QCOMPARE(code, 1);
        QVERIFY(out.endsWith(QStringLiteral("  w tym błędnych 2\n")));
        // The file this test holds open is refused in Polish.
        std::tie(code, out, err) = run(path, file);
        QCOMPARE(code, 1);
        QVERIFY2(err.contains(QStringLiteral("jest już otwarta w innym programie")), qPrintable(err));
    }

    void everyShippedRateFileGivesTheDeliveredRates()
    {
        const QDir shipped(QStringLiteral(BRENVALD_SOURCE_DIR "/data/rates"));
        const QStringList files = shipped.entryList({QStringLiteral("stawki_*.sql")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 15);
        const QString rows = QStringLiteral("select NR_SILN, NR_PALIWA, OPL_ZA_TONE from TAB_OPL_SILN where ROK=%1 "
                                            "order by NR_SILN, NR_PALIWA");
        for (const QString& name : files) {
            const int year = name.mid(7, 4).toInt();
            auto read = [&] {
                QStringList all;
                fb::Statement st(dm->db_opl, dm->tr_opl, rows.arg(year));
                st.execute();
                while (st.fetch())
                    all << QStringLiteral("%1/%2/%3").arg(st.value(0).toInt()).arg(st.value(1).toInt())
                               .arg(st.value(2).toDouble(), 0, 'g', 17);
                return all;
            };
            const QStringList delivered = read();
            QVERIFY2(!delivered.isEmpty(), qPrintable(name));
            exec(QStringLiteral("delete from TAB_OPL_SILN where ROK=%1").arg(year));
            auto statements = rates::readRateFile(shipped.filePath(name));
            QCOMPARE(rates::runStatements(*dm, statements), 0);
            QCOMPARE(read(), delivered);
        }
    }
};

TEST_MAIN(QApplication, TestRateFile)
#include "test_rate_file.moc"
