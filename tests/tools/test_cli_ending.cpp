// How brenvald-cli ends when it cannot finish: a PDF that cannot be written is an error, and
// a termination signal during a long command ends it cleanly, leaving no part of a file.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include "ksef_builder.h"
#include "ledger_builder.h"

#include "data/dm1.h"
#include "program_database.h"
#include "settlement_rows.h"
#include <QApplication>
#include "test_main.h"

using namespace Qt::StringLiterals;

namespace {

// Enough purchases for the register to take a good while to write as PDF (hundreds of pages).
constexpr int manyPurchases = 20000;

// A database with the taxpayer ABC, one vehicle and many purchases in 2024.
QString makeBusyDatabase()
{
    const QString path = testsupport::freshDeliveredDatabase();
    Tdm_1 dm;
    dm.connectTo(path);
    using namespace settlement_rows;
    addTaxpayer(dm, 1, u"ABC"_s, u"Przedsiębiorstwo Usługowe ABC"_s);
    addVehicle(dm, u"WA1"_s, 1, 11, 5);
    exec(dm, u"insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
             "select first %1 gen_id(G_ZAK, 1), 'WA1', 'F/1', '2024-03-01', 5, 10 "
             "from RDB$TYPES a cross join RDB$TYPES b"_s.arg(manyPurchases));
    dm.disconnectDatabase();
    return path;
}

// Whether the process has the file open.
bool hasOpen(qint64 pid, const QString& file)
{
    const QDir descriptors(u"/proc/%1/fd"_s.arg(pid));
    for (const QFileInfo& fd : descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == file)
            return true;
    return false;
}

int countIn(const QString& database, const QString& sql)
{
    Tdm_1 dm;
    dm.connectTo(database);
    fb::Statement q(dm.db_opl, dm.tr_opl, sql);
    q.execute();
    q.fetch();
    const int n = q.value(0).toInt();
    q.closeCursor();
    return n;
}

QStringList registerPdf(const QString& database, const QString& out)
{
    return {u"pdf"_s, u"--db"_s, database, u"--taxpayer"_s, u"ABC"_s, u"--year"_s, u"2024"_s,
            u"--report"_s, u"register"_s, u"--out"_s, out};
}

// Whether the process has a file open in the folder: the PDF being written, which takes its
// name there only when complete.
bool writesInto(qint64 pid, const QString& folder)
{
    const QDir descriptors(u"/proc/%1/fd"_s.arg(pid));
    for (const QFileInfo& fd : descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget().startsWith(folder + u'/'))
            return true;
    return false;
}

} // namespace

class TestCliEnding : public QObject {
    Q_OBJECT

    QString busyTemplate;
    QString database;

private slots:
    void initTestCase() { busyTemplate = makeBusyDatabase(); }

    void init()
    {
        database = testsupport::workDir() + u"/busy-%1.gdb"_s.arg(QTest::currentDataTag());
        QFile::remove(database);
        QVERIFY(QFile::copy(busyTemplate, database));
    }

    void pdfToAFullDevice()
    {
        QProcess cli;
        cli.start(QStringLiteral(BRENVALD_CLI), registerPdf(database, u"/dev/full"_s));
        QVERIFY(cli.waitForFinished(120000));
        const QString output = QString::fromUtf8(cli.readAllStandardOutput());
        const QString errors = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 1);
        QVERIFY2(!output.contains(u"Zapisano"_s), qPrintable(output));
        QVERIFY2(errors.contains(u"Nie można zapisać pliku /dev/full."_s), qPrintable(errors));
        QVERIFY(!QFileInfo(u"/dev/full"_s).isFile());
    }

    // The signal comes while the file is being written; the command ends as a shell reports
    // a signal's end, with the database detached and no file, whole or partial.
    void signalDuringAPdf_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("SIGTERM") << SIGTERM << 143;
        QTest::newRow("SIGINT") << SIGINT << 130;
    }

    void signalDuringAPdf()
    {
        QFETCH(int, signalNumber);
        QFETCH(int, exitCode);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QProcess cli;
        cli.start(QStringLiteral(BRENVALD_CLI), registerPdf(database, folder.filePath(u"zakupy.pdf"_s)));
        QVERIFY(cli.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(writesInto(cli.processId(), folder.path()) || cli.state() == QProcess::NotRunning, 60000);
        QCOMPARE(cli.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(cli.processId()), signalNumber);
        QVERIFY(cli.waitForFinished(60000));
        const QString output = QString::fromUtf8(cli.readAllStandardOutput());
        const QString errors = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QVERIFY2(cli.exitCode() == exitCode, qPrintable(errors));
        QVERIFY2(errors.trimmed().endsWith(u"Przerwano."_s), qPrintable(errors));
        QVERIFY2(!output.contains(u"Zapisano"_s), qPrintable(output));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A signal during an import or a rate file ends it at its next entry (account, line)
    // with what was done committed and said, and the shell's exit code.
    void signalDuringAnImport_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("counted");
        QTest::newRow("import-purchases") << u"import-purchases"_s << u"select count(*) from ZAK_PAL where NR_RACH starting 'D'"_s;
        QTest::newRow("import-taxpayers") << u"import-taxpayers"_s << u"select count(*) from PODAT where NR_PODAT > 1"_s;
        QTest::newRow("load-rates") << u"load-rates"_s << u"select count(*) from TAB_OPL_SILN where ROK >= 2030"_s;
        QTest::newRow("import-invoices") << u"import-invoices"_s << u"select count(*) from ZAK_PAL where NR_RACH starting 'E'"_s;
    }

    void signalDuringAnImport()
    {
        QFETCH(QString, command);
        QFETCH(QString, counted);
        QTemporaryDir folder;
        QStringList args{command, u"--db"_s, database};
        if (command == u"import-purchases"_s) {
            QByteArray file;
            for (int e = 0; e < 60000; ++e)
                file += ledgertest::pkpirRecord({u"001"_s, 13, u"D%1"_s.arg(e), 2024, 1 + e % 12, 1 + e % 28, u"paliwo/WA1/12,5"_s, {}});
            ledgertest::writeFile(folder.path(), u"dok_010.zqd"_s, file);
            args << u"--source"_s << u"pkpir"_s << u"--dir"_s << folder.path() << u"--year"_s << u"2024"_s << u"1"_s;
        } else if (command == u"import-taxpayers"_s) {
            QByteArray file = ledgertest::accountRecord({});
            args << u"--dir"_s << folder.path();
            for (int n = 1; n <= 400; ++n) {
                file += ledgertest::accountRecord({u"%1"_s.arg(n), {}, u"Firma %1"_s.arg(n), u"F%1"_s.arg(n), u"%1"_s.arg(n)});
                if (n > 1)
                    args << QString::number(n);
            }
            ledgertest::writeFile(folder.path(), u"konta200.zqd"_s, file);
        } else if (command == u"import-invoices"_s) {
            QList<QPair<QString, QByteArray>> entries; // 500 invoices of 120 lines
            ksefbuild::Invoice f;
            f.notes = {{0, u"Pojazd"_s, u"WA1"_s}};
            f.lines = QList<ksefbuild::Line>(120, {u"ON"_s, u"12.5"_s});
            for (int i = 0; i < 500; ++i) {
                f.number = u"E/%1"_s.arg(i);
                entries.append({u"%1.xml"_s.arg(i), ksefbuild::xml(f)});
            }
            QCOMPARE(ksefbuild::schemaErrors({f}), QString());
            ksefbuild::writeZip(folder.filePath(u"paczka.zip"_s), entries);
            args << folder.filePath(u"paczka.zip"_s);
        } else {
            QByteArray lines; // 44 vehicle types × 6 fuels × 71 years no rate file has yet
            for (int year = 2030; year <= 2100; ++year)
                for (int type = 1; type <= 44; ++type)
                    for (int fuel = 1; fuel <= 6; ++fuel)
                        lines += QByteArray::number(type) + ", " + QByteArray::number(fuel) + ", 10.5, " + QByteArray::number(year) + ")\n";
            ledgertest::writeFile(folder.path(), u"stawki.sql"_s, lines);
            args << folder.filePath(u"stawki.sql"_s);
        }
        QProcess cli;
        cli.start(QStringLiteral(BRENVALD_CLI), args);
        QVERIFY(cli.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(hasOpen(cli.processId(), database) || cli.state() == QProcess::NotRunning, 60000);
        if (command == u"import-invoices"_s) // read, and storing (its log begins)
            QTRY_VERIFY_WITH_TIMEOUT((cli.bytesAvailable(), cli.peek(100).startsWith("Import")) || cli.state() == QProcess::NotRunning,
                                     60000);
        else
            QTest::qWait(command == u"load-rates"_s ? 20 : 300); // the rates go in fast
        QCOMPARE(cli.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(cli.processId()), SIGTERM);
        QVERIFY(cli.waitForFinished(60000));
        const QString output = QString::fromUtf8(cli.readAllStandardOutput());
        const QString errors = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QVERIFY2(cli.exitCode() == 143, qPrintable(errors + output.right(300)));
        QVERIFY2(errors.trimmed().endsWith(u"Przerwano."_s), qPrintable(errors));
        // The last line says how much the database holds, and it does.
        static const QRegularExpression held(u"(?:\\(|wczytane stawki \\()(\\d+)\\) pozostają w bazie\\.$"_s);
        const QString last = output.trimmed().section(u'\n', -1);
        const auto m = held.match(last);
        QVERIFY2(m.hasMatch(), qPrintable(last));
        const int said = m.captured(1).toInt();
        QCOMPARE(countIn(database, counted), said);
        QVERIFY2(said < (command == u"import-taxpayers"_s ? 399 : command == u"load-rates"_s ? 44 * 6 * 71 : 60000),
                 qPrintable(last)); // it did stop early
    }

    // A database that cannot grow any more (a full disk: here a file size limit): the import
    // stops at once with one Polish line and a non-zero exit code, and says what is stored.
    void importOnAFullDisk()
    {
        QTemporaryDir folder;
        QByteArray file;
        for (int e = 0; e < 60000; ++e)
            file += ledgertest::pkpirRecord({u"001"_s, 13, u"D%1"_s.arg(e), 2024, 1 + e % 12, 1 + e % 28, u"paliwo/WA1/12,5"_s, {}});
        ledgertest::writeFile(folder.path(), u"dok_010.zqd"_s, file);
        const qint64 room = QFileInfo(database).size() + 512 * 1024;
        QProcess cli;
        cli.setChildProcessModifier([room] {
            ::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails instead of ending the process
            const rlimit limit{static_cast<rlim_t>(room), static_cast<rlim_t>(room)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        cli.start(QStringLiteral(BRENVALD_CLI), {u"import-purchases"_s, u"--db"_s, database, u"--source"_s, u"pkpir"_s,
                                                 u"--dir"_s, folder.path(), u"--year"_s, u"2024"_s, u"1"_s});
        QVERIFY(cli.waitForFinished(120000));
        const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QVERIFY(cli.exitCode() != 0);
        QVERIFY2(lines.size() <= 3, qPrintable(lines.join(u'\n').left(2000)));
        QVERIFY2(lines.last().startsWith(u"Import przerwany: Nie można zapisać pliku bazy danych: brak miejsca na dysku"_s),
                 qPrintable(lines.last()));
        static const QRegularExpression held(u"Zapisane dotąd zakupy \\((\\d+)\\) pozostają w bazie\\."_s);
        const auto m = held.match(lines.last());
        QVERIFY(m.hasMatch());
        QCOMPARE(countIn(database, u"select count(*) from ZAK_PAL where NR_RACH starting 'D'"_s), m.captured(1).toInt());
    }
};

TEST_MAIN(QApplication, TestCliEnding)
#include "test_cli_ending.moc"
