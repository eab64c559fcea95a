// How brenvald-cli ends when it cannot finish: a PDF that cannot be written is an error, and
// a termination signal during a long command ends it cleanly, leaving no part of a file.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include "data/dm1.h"
#include "program_database.h"
#include "settlement_rows.h"

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
};

QTEST_MAIN(TestCliEnding)
#include "test_cli_ending.moc"
