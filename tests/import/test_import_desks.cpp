// Imports on several desks at once, through the database server: two runs of the purchase
// import over one ledger folder, and two runs of the e-invoice import over one package, store
// each purchase once; an account or a rate file that another desk is taking over is refused
// until that desk is done.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "data/dm1.h"
#include "data/work_lock.h"
#include "dataset/error.h"
#include "firebird/statement.h"
#include "import/ledger_files.h"
#include "import/taxpayer_import.h"
#include "ksef_builder.h"
#include "ledger_builder.h"
#include "program_database.h"
#include "tables/rate_script.h"
#include "test_server.h"
#include "test_main.h"

using namespace Qt::StringLiterals;
using namespace ledgertest;

class TestImportDesks : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString database;
    std::unique_ptr<Tdm_1> desk;

    int count(const QString& sql)
    {
        fb::Transaction now(&desk->db_opl);
        fb::Statement st(desk->db_opl, now, sql);
        st.execute();
        st.fetch();
        return st.value(0).toInt();
    }

    void exec(const QString& sql)
    {
        fb::Transaction now(&desk->db_opl);
        desk->db_opl.executeImmediate(now, sql);
        now.commit();
    }

private slots:
    void init()
    {
        data::WorkLock::setWaitBound(300);
        database = testsupport::throughServer(testsupport::freshDeliveredDatabase());
        desk = std::make_unique<Tdm_1>();
        desk->connectTo(database);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, '7', 'SIEDEM')"_s);
        for (int v = 0; v < 20; ++v)
            exec(u"insert into SAM values ('WA %1', 7, 1, 1, '2000-01-01', null)"_s.arg(v));
    }

    void cleanup() { desk.reset(); }

    // Both runs start together; whichever waits for the other either finds every purchase
    // stored (and says so, line by line) or passes the taxpayer over and says that.
    void twoRunsAtOnceStoreEachPurchaseOnce()
    {
        constexpr int entries = 6000;
        QByteArray file;
        for (int e = 0; e < entries; ++e)
            file += pkpirRecord({u"007"_s, 13, u"FV/%1"_s.arg(e), 2024, 1 + e % 12, 1 + e % 28,
                                 u"paliwo/WA %1/%2,5"_s.arg(e % 20).arg(10 + e % 50), {}});
        writeFile(folder.path(), u"dok_010.zqd"_s, file);

        QProcess runs[2];
        for (QProcess& p : runs)
            p.start(QStringLiteral(BRENVALD_CLI), {u"import-purchases"_s, u"--db"_s, database, u"--source"_s, u"pkpir"_s,
                                                   u"--dir"_s, folder.path(), u"--year"_s, u"2024"_s, u"7"_s});
        int stored = 0, passedOver = 0, duplicates = 0;
        for (QProcess& p : runs) {
            const int passedOverBefore = passedOver;
            QVERIFY(p.waitForFinished(120000));
            const QString log = QString::fromUtf8(p.readAllStandardOutput());
            const QStringList lines = log.split(u'\n', Qt::SkipEmptyParts);
            QVERIFY2(lines.last() == u"Koniec"_s, qPrintable(log.right(500)));
            static const QRegularExpression count(u"^Zapisano (\\d+) rekord"_s);
            for (const QString& line : lines) {
                if (const auto m = count.match(line); m.hasMatch())
                    stored += m.captured(1).toInt();
                passedOver += line.startsWith(u"Zakupy tego podatnika przejmuje teraz inne stanowisko"_s);
                duplicates += line.endsWith(u" -jest już taki rekord w tablicy zakupów paliw"_s);
            }
            QCOMPARE(p.exitCode(), passedOver > passedOverBefore ? 1 : 0);
        }
        QCOMPARE(stored, entries);
        QCOMPARE(count(u"select count(*) from ZAK_PAL"_s), entries);
        QCOMPARE(passedOver + duplicates / entries, 1); // the second desk was told one way or the other
    }

    // Two desks take one package over at once: whichever waits for the other finds every line
    // taken over (or, waiting too long, leaves the taxpayer's lines and says why); each line of
    // each invoice is stored once.
    void twoDesksTakeOnePackageOver()
    {
        exec(u"update PODAT set NIP = 'PL 1234563218' where NR_PODAT = 7"_s);
        constexpr int invoices = 1500;
        QList<QPair<QString, QByteArray>> entries;
        ksefbuild::Invoice f;
        for (int i = 0; i < invoices; ++i) {
            f.number = u"FV/%1/2026"_s.arg(i);
            f.lines = {{u"Pb95"_s, u"%1.25"_s.arg(10 + i % 50)}, {u"Pb95"_s, u"1"_s}, {u"Kawa"_s, u"1"_s, u"szt."_s}};
            f.notes = {{1, u"Nr rej."_s, u"WA %1"_s.arg(i % 20)}, {2, u"Nr rej."_s, u"WA %1"_s.arg((i + 1) % 20)}};
            entries.append({u"FA/%1.xml"_s.arg(i), ksefbuild::xml(f)});
        }
        QCOMPARE(ksefbuild::schemaErrors({f}), QString());
        const QString package = folder.filePath(u"paczka.zip"_s);
        ksefbuild::writeZip(package, entries);

        QProcess runs[2];
        for (QProcess& p : runs)
            p.start(QStringLiteral(BRENVALD_CLI), {u"import-invoices"_s, u"--db"_s, database, package});
        int stored = 0;
        static const QRegularExpression said(u"^Zapisano (\\d+) zakup"_s, QRegularExpression::MultilineOption);
        for (QProcess& p : runs) {
            QVERIFY(p.waitForFinished(180000));
            const QString log = QString::fromUtf8(p.readAllStandardOutput());
            QVERIFY2(log.endsWith(u"Koniec\n"_s), qPrintable(log.right(500)));
            const bool waitedTooLong = log.contains(u"zakupy tego podatnika przejmuje teraz inne stanowisko"_s);
            QCOMPARE(p.exitCode(), waitedTooLong ? 1 : 0);
            stored += said.match(log).captured(1).toInt();
        }
        QCOMPARE(stored, 2 * invoices);
        QCOMPARE(count(u"select count(*) from ZAK_PAL"_s), 2 * invoices);
        QCOMPARE(count(u"select count(*) from WIERSZE_EFAKTUR"_s), 2 * invoices);
    }

    // The server stops in the middle of a run: one line says so, with the number of
    // purchases the database holds, and no line per remaining entry follows.
    void aServerThatStopsMidRun()
    {
        QByteArray file;
        // More entries than the server's five seconds of shutting down let through.
        for (int e = 0; e < 200000; ++e)
            file += pkpirRecord({u"007"_s, 13, u"FV/%1"_s.arg(e), 2024, 1 + e % 12, 1 + e % 28,
                                 u"paliwo/WA %1/%2,5"_s.arg(e % 20).arg(10 + e % 50), {}});
        writeFile(folder.path(), u"dok_010.zqd"_s, file);
        desk.reset(); // the database is reached again after the server is back
        QProcess run;
        run.start(QStringLiteral(BRENVALD_CLI), {u"import-purchases"_s, u"--db"_s, database, u"--source"_s, u"pkpir"_s,
                                                 u"--dir"_s, folder.path(), u"--year"_s, u"2024"_s, u"7"_s});
        QTRY_VERIFY_WITH_TIMEOUT((run.bytesAvailable(), QString::fromUtf8(run.peek(4096)).contains(u"Wyszukiwanie"_s)), 30000);
        QTest::qWait(300);
        testsupport::stopTestServer();
        QVERIFY(run.waitForFinished(60000));
        testsupport::startTestServerAgain();
        const QStringList lines = QString::fromUtf8(run.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(run.exitCode() != 0);
        QVERIFY2(lines.size() <= 4, qPrintable(lines.join(u'\n').left(3000)));
        QVERIFY2(lines.last().startsWith(u"Import przerwany: Utracono połączenie z serwerem bazy danych."_s), qPrintable(lines.last()));
        static const QRegularExpression held(u"Zapisane dotąd zakupy \\((\\d+)\\) pozostają w bazie\\."_s);
        const auto m = held.match(lines.last());
        QVERIFY(m.hasMatch());
        desk = std::make_unique<Tdm_1>();
        desk->connectTo(database);
        QCOMPARE(count(u"select count(*) from ZAK_PAL"_s), m.captured(1).toInt());
    }

    // The taxpayer import and the rate file wait for the desk that holds the same work and
    // are refused in Polish when it does not finish in time; afterwards they go through.
    void accountsAndRatesWaitForTheOtherDesk()
    {
        QByteArray accounts = accountRecord({});
        for (int n = 1; n <= 8; ++n)
            accounts += accountRecord({u"00%1"_s.arg(n), {}, u"Firma %1"_s.arg(n), u"FIRMA %1"_s.arg(n), u"%1"_s.arg(n)});
        writeFile(folder.path(), ledger::accountListFileName, accounts);
        Tdm_1 other;
        other.connectTo(database);
        data::WorkLock held(other.db_opl);
        QCOMPARE(held.take(data::Work::Taxpayer, {8}), QList<int>{});
        QCOMPARE(held.take(data::Work::Rates, {0}), QList<int>{});

        ledger::TaxpayerImport import(*desk, folder.path(), {});
        try {
            import.przepisz_konto(u"8"_s);
            QFAIL("an account held by another desk was taken over");
        } catch (const ds::Error& e) {
            QCOMPARE(e.message(), u"Konto 8 przejmuje teraz inne stanowisko. Spróbuj ponownie, gdy tamto stanowisko skończy."_s);
        }
        auto rates = rates::statementsOf({u"1, 1, 200.5, 2030)"_s});
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, rates::runStatements(*desk, rates));
        QCOMPARE(count(u"select count(*) from PODAT where NR_PODAT = 8"_s) + count(u"select count(*) from TAB_OPL_SILN where ROK = 2030"_s), 0);

        held.release();
        QCOMPARE(import.przepisz_konto(u"8"_s), ledger::TaxpayerImport::Outcome::Created);
        QCOMPARE(rates::runStatements(*desk, rates), 0);
        QCOMPARE(count(u"select count(*) from PODAT where NR_PODAT = 8"_s) + count(u"select count(*) from TAB_OPL_SILN where ROK = 2030"_s), 2);
    }
};

TEST_MAIN(QCoreApplication, TestImportDesks)
#include "test_import_desks.moc"
