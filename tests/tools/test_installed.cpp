// The program as an office installs it: installed into a prefix of its own, the installed
// command-line tool makes a database, loads a rate file installed beside it, and copies the
// database into a backup that restores into a database that settles the same.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "firebird/connection.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "test_database.h"
#include "test_main.h"

using namespace Qt::StringLiterals;

class TestInstalled : public QObject {
    Q_OBJECT

    QTemporaryDir prefix;
    QTemporaryDir work;

    // The installed tool's exit code, its output and what it said on standard error.
    std::tuple<int, QString, QString> cli(const QStringList& args)
    {
        QProcess p;
        p.start(prefix.filePath(u"bin/brenvald-cli"_s), args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    // An installed manual page of section 1, uncompressed.
    QString manualPage(const QString& name)
    {
        QProcess gzip;
        gzip.start(u"gzip"_s, {u"-dc"_s, prefix.filePath(u"share/man/man1/"_s + name + u".1.gz"_s)});
        if (!gzip.waitForFinished(30000) || gzip.exitCode() != 0)
            return {};
        return QString::fromUtf8(gzip.readAllStandardOutput());
    }

    void exec(const QString& database, const QString& sql)
    {
        fb::Connection c;
        c.open(database, testsupport::user(), testsupport::password());
        fb::Transaction t(&c);
        c.executeImmediate(t, sql);
        t.commit();
    }

private slots:
    void initTestCase()
    {
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND), {u"--install"_s, QStringLiteral(BUILD_DIR), u"--prefix"_s, prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    }

    void everythingIsInItsPlace()
    {
        for (const char* file : {"bin/brenvald", "bin/brenvald-cli", "share/applications/brenvald.desktop",
                                 "share/icons/hicolor/scalable/apps/brenvald.svg", "share/brenvald/rates/stawki_2026.sql",
                                 "share/man/man1/brenvald.1.gz", "share/man/man1/brenvald-cli.1.gz",
                                 "share/doc/brenvald/copyright", "share/doc/brenvald/changelog.Debian.gz"})
            QVERIFY2(QFile::exists(prefix.filePath(QString::fromLatin1(file))), file);
        QFile desktop(prefix.filePath(u"share/applications/brenvald.desktop"_s));
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QString entry = QString::fromUtf8(desktop.readAll());
        for (const char* line : {"Exec=brenvald\n", "Icon=brenvald\n", "Categories=Office;Finance;\n"})
            QVERIFY2(entry.contains(QString::fromLatin1(line)), line);
    }

    // The installed manual pages carry the version of the build, and the tool's page has a
    // heading for every command its usage lists.
    void theManualPagesDescribeEveryCommand()
    {
        const QString program = manualPage(u"brenvald"_s);
        QVERIFY2(program.contains(u".TH BRENVALD 1 "_s), qPrintable(program.left(300)));
        const QString page = manualPage(u"brenvald-cli"_s);
        QVERIFY2(page.contains(u"\"brenvald " BRENVALD_VERSION "\""_s), qPrintable(page.left(300)));
        const auto [code, usage, unused] = cli({u"--help"_s});
        QCOMPARE(code, 0);
        static const QRegularExpression commandOfUsage(u"^  brenvald-cli ([a-z][a-z-]*) "_s, QRegularExpression::MultilineOption);
        QStringList commands;
        for (auto m = commandOfUsage.globalMatch(usage); m.hasNext();)
            commands << m.next().captured(1);
        QVERIFY2(commands.size() >= 11, qPrintable(usage));
        for (const QString& command : commands) {
            QString heading = command;
            QVERIFY2(page.contains(u".SS \""_s + heading.replace(u'-', u"\\-"_s) + u' '), qPrintable(command));
        }
    }

    // initdb, a year's rates loaded from the installed file, backup, restore, the same
    // settlement; a restore over an existing file and from a damaged backup are refused.
    void theInstalledToolWorksAlone()
    {
        const QString database = work.filePath(u"biuro.gdb"_s);
        QCOMPARE(std::get<0>(cli({u"initdb"_s, database})), 0);
        exec(database, u"delete from TAB_OPL_SILN where ROK = 2026"_s);
        auto [code, said, errors] = cli({u"load-rates"_s, u"--db"_s, database, prefix.filePath(u"share/brenvald/rates/stawki_2026.sql"_s)});
        QVERIFY2(code == 0, qPrintable(said.right(500)));
        exec(database, u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'FIRMA')"_s);
        exec(database, u"insert into SAM values ('WA 1', 1, 1, 1, '2020-01-01', null)"_s);
        exec(database, u"insert into ZAK_PAL values (1, 'WA 1', 'F/1', '2026-03-01', 1, 1234.5)"_s);
        const QStringList settle{u"settle"_s, u"--taxpayer"_s, u"FIRMA"_s, u"--year"_s, u"2026"_s, u"--tsv"_s, u"--db"_s};
        const auto [settled, before, unused] = cli(settle + QStringList{database});
        QCOMPARE(settled, 0);
        QVERIFY(before.contains(u"TOTAL\t"_s));

        const QString backup = work.filePath(u"biuro.fbk"_s);
        QCOMPARE(std::get<0>(cli({u"backup"_s, u"--db"_s, database, u"--out"_s, backup})), 0);
        const QString restored = work.filePath(u"odtworzona.gdb"_s);
        QCOMPARE(std::get<0>(cli({u"restore"_s, u"--in"_s, backup, u"--db"_s, restored})), 0);
        const auto [again, after, alsoUnused] = cli(settle + QStringList{restored});
        QCOMPARE(again, 0);
        QCOMPARE(after, before);

        std::tie(code, said, errors) = cli({u"restore"_s, u"--in"_s, backup, u"--db"_s, database});
        QCOMPARE(code, 1);
        QVERIFY2(errors.contains(u"już istnieje"_s), qPrintable(errors));
        QFile damaged(work.filePath(u"zepsuta.fbk"_s));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(20000, '\x42'));
        damaged.close();
        std::tie(code, said, errors) = cli({u"restore"_s, u"--in"_s, damaged.fileName(), u"--db"_s, work.filePath(u"nowa.gdb"_s)});
        QCOMPARE(code, 1);
        QVERIFY2(errors.contains(u"to nie jest kopia zapasowa bazy danych, plik jest uszkodzony"_s), qPrintable(errors));
        QVERIFY(!QFile::exists(work.filePath(u"nowa.gdb"_s)));
    }
};

TEST_MAIN(QCoreApplication, TestInstalled)
#include "test_installed.moc"
