// The files brenvald-cli makes and the folders it works in: a lock folder that someone else
// could write stops it before the engine opens anything there; a restore, a conversion or a new
// database stopped by a signal or killed leaves nothing under the target's name; what it
// refuses, it says once, in Polish.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include "data/backup.h"
#include "data/reference_data.h"
#include "data/schema.h"
#include "firebird/connection.h"
#include "firebird/transaction.h"
#include "program_database.h"
#include "test_main.h"

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run cli(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(BRENVALD_CLI), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Enough purchases for a restore (or a conversion, which copies row by row) to run well over
// the moment the test needs to see it begin.
QStringList aVehicleWithPurchases(int count)
{
    return {u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'FIRMA')"_s,
            u"insert into SAM values ('WA 1', 1, 1, 1, '2020-01-01', null)"_s,
            u"insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
            "select first %1 gen_id(G_ZAK, 1), 'WA 1', 'F/1', '2024-03-01', 1, 12.5 "
            "from RDB$TYPES a cross join RDB$TYPES b cross join RDB$TYPES c"_s.arg(count)};
}

QByteArray contentsOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT

    QString delivered;
    QString bigBackup;
    QString oldDatabase;

private slots:
    void initTestCase()
    {
        delivered = testsupport::freshDeliveredDatabase();
        const QString big = testsupport::freshDeliveredDatabase();
        testsupport::execute(big, aVehicleWithPurchases(100000));
        bigBackup = testsupport::workDir() + u"/duza.fbk"_s;
        data::backupDatabase(big, bigBackup);
        // A database of an earlier version: no character set declared.
        oldDatabase = testsupport::workDir() + u"/stara.gdb"_s;
        {
            fb::Connection c;
            c.create(oldDatabase, testsupport::user(), testsupport::password(), 8192, fb::Connection::Declared::Nothing);
            fb::Transaction t(&c);
            data::createSchema(c, t);
            data::loadReferenceData(c, t);
        }
        testsupport::execute(oldDatabase, aVehicleWithPurchases(30000));
    }

    // The engine opens its lock and trace files following links: a lock folder that is not
    // the user's own with mode 0700 stops the tool before any database is opened, and the
    // database a planted link points at stays whole.
    void aLockFolderOfSomeoneElse_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("open to everyone, with a link") << u"0777"_s;
        QTest::newRow("another user's") << u"owner"_s;
        QTest::newRow("a link to a folder") << u"link"_s;
    }

    void aLockFolderOfSomeoneElse()
    {
        QFETCH(QString, how);
        QTemporaryDir runtime;
        const QString folder = runtime.filePath(u"brenvald-firebird"_s);
        const QString victim = runtime.filePath(u"ofiara.gdb"_s);
        QVERIFY(QFile::copy(delivered, victim));
        const QByteArray before = contentsOf(victim);
        if (how == u"link"_s) {
            QVERIFY(QDir().mkdir(runtime.filePath(u"gdzie_indziej"_s)));
            QVERIFY(QFile::link(runtime.filePath(u"gdzie_indziej"_s), folder));
        } else {
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(QFile::link(victim, folder + u"/fb12_trace"_s));
            ::chmod(QFile::encodeName(folder).constData(), how == u"0777"_s ? 0777 : 0700);
            if (how == u"owner"_s && ::geteuid() == 0)
                QCOMPARE(::lchown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
            else if (how == u"owner"_s)
                QSKIP("only the superuser can give a folder to another user");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"FIREBIRD_LOCK"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        const Run run = cli({u"overview"_s, u"--db"_s, victim, u"--year"_s, u"2024"_s, u"--tsv"_s}, env);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(u"nie jest bezpieczny"_s) && run.err.contains(folder), qPrintable(run.err));
        QVERIFY(contentsOf(victim) == before);

        // Its own folder, made by the tool, is private and serves.
        QTemporaryDir fresh;
        env.insert(u"XDG_RUNTIME_DIR"_s, fresh.path());
        QCOMPARE(cli({u"overview"_s, u"--db"_s, victim, u"--year"_s, u"2024"_s, u"--tsv"_s}, env).code, 0);
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(fresh.filePath(u"brenvald-firebird"_s)).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0700));
    }

    // Stopped by a signal (exit code 128 + the signal, nothing left) or killed outright
    // (the temporary file may stay), a restore, a conversion or a new database never leaves
    // a file under the target's name, so a second try is not refused.
    void stoppedOrKilledLeavesNothingUnderTheName_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("signalNumber");
        for (const QString& command : {u"restore"_s, u"convert"_s, u"initdb"_s})
            for (const int s : {SIGTERM, SIGINT, SIGKILL})
                QTest::addRow("%s %d", qPrintable(command), s) << command << s;
    }

    void stoppedOrKilledLeavesNothingUnderTheName()
    {
        QFETCH(QString, command);
        QFETCH(int, signalNumber);
        QTemporaryDir folder;
        const QString target = folder.filePath(u"cel.gdb"_s);
        QStringList args{command};
        if (command == u"restore"_s)
            args << u"--in"_s << bigBackup << u"--db"_s << target;
        else if (command == u"convert"_s)
            args << u"--db"_s << oldDatabase << u"--out"_s << target;
        else
            args << target;
        // Each case has an engine lock folder of its own: a process killed while it held the
        // engine's shared lock leaves it held for the next process of the same folder.
        QTemporaryDir lockFolder;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"FIREBIRD_LOCK"_s, lockFolder.path());
        QProcess p;
        p.setProcessEnvironment(environment);
        p.start(QStringLiteral(BRENVALD_CLI), args);
        QVERIFY(p.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!testsupport::filesIn(folder.path()).isEmpty() || p.state() == QProcess::NotRunning, 60000);
        QCOMPARE(p.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(p.processId()), signalNumber);
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(!QFile::exists(target));
        if (signalNumber == SIGKILL)
            return;
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 128 + signalNumber);
        QCOMPARE(testsupport::filesIn(folder.path()), QStringList());
    }

    // What the tool refuses it says once, in Polish, without the log's lines; --help and a
    // wrong argument show the command's own usage.
    void refusalsAndUsage()
    {
        QTemporaryDir folder;
        const QString database = folder.filePath(u"biuro.gdb"_s);
        QVERIFY(QFile::copy(delivered, database));
        const QByteArray stored = contentsOf(database);
        const QString emptyFile = folder.filePath(u"pusty.gdb"_s);
        const QString emptyRates = folder.filePath(u"stawki.sql"_s);
        for (const QString& empty : {emptyFile, emptyRates}) {
            QFile f(empty);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        struct Case {
            QStringList args;
            int code;
            QString said;      // on standard error, or standard output for --help
            QString notSaid;
        };
        const QList<Case> cases{
            {{u"backup"_s, u"--db"_s, delivered, u"--out"_s, database}, 1, u"już istnieje; nie zostanie nadpisany"_s, {}},
            {{u"backup"_s, u"--db"_s, u"127.0.0.1/3050:/srv/biuro.gdb"_s, u"--out"_s, u"kopia.fbk"_s}, 1,
             u"pełną ścieżką na serwerze"_s, {}},
            {{u"load-rates"_s, u"--db"_s, database, emptyRates}, 1, u"nie zawiera żadnej stawki"_s, u"Przetworzono"_s},
            {{u"settle"_s, u"--db"_s, emptyFile, u"--taxpayer"_s, u"X"_s, u"--year"_s, u"2024"_s}, 1,
             u"nie jest bazą danych: jest pusty"_s, u"nie ma go pod tą nazwą"_s},
            {{u"backup"_s, u"--help"_s}, 0, u"brenvald-cli backup --db"_s, u"brenvald-cli settle"_s},
            {{u"settle"_s, u"--bogus"_s}, 2, u"brenvald-cli settle --db"_s, u"brenvald-cli restore"_s},
        };
        for (const Case& c : cases) {
            const Run run = cli(c.args);
            const QString shown = c.code == 0 ? run.out : run.err;
            const QString what = c.args.join(u' ') + u": "_s + run.err + run.out;
            QVERIFY2(run.code == c.code, qPrintable(what));
            QVERIFY2(shown.contains(c.said), qPrintable(what));
            QVERIFY2(c.notSaid.isEmpty() || !(run.out + run.err).contains(c.notSaid), qPrintable(what));
            QVERIFY2(!run.err.contains(u"brenvald."_s) && run.err.count(u"Błąd"_s) <= 1, qPrintable(what));
        }
        QVERIFY(contentsOf(database) == stored);
        QCOMPARE(testsupport::filesIn(folder.path()), (QStringList{u"biuro.gdb"_s, u"pusty.gdb"_s, u"stawki.sql"_s}));
    }
};

TEST_MAIN(QCoreApplication, TestCliFiles)
#include "test_cli_files.moc"
