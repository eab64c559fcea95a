// Backups an office can trust: a copy is the owner's alone and replaces nothing unasked; a
// restore makes a database only from a backup read to its end, never leaves a half-made file
// under the new name, and never removes a file it did not make; a database that is not the
// program's is left as it is.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "data/backup.h"
#include "data/dm1.h"
#include "firebird/connection.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "program_database.h"
#include "test_main.h"
#include "test_server.h"

using namespace Qt::StringLiterals;

namespace {

// A delivered database with a taxpayer, a vehicle and purchases, so that every kind of table
// has rows a cut backup could lose.
QString databaseWithPurchases()
{
    const QString path = testsupport::freshDeliveredDatabase();
    testsupport::execute(path, {u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'FIRMA')"_s,
                u"insert into SAM values ('WA 1', 1, 1, 1, '2020-01-01', null)"_s,
                u"insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
                "select first 3000 gen_id(G_ZAK, 1), 'WA 1', 'F/1', '2024-03-01', 1, 12.5 "
                "from RDB$TYPES a cross join RDB$TYPES b"_s});
    return path;
}

QString failureOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    QString database;
    QString backup;

private slots:
    void initTestCase()
    {
        database = databaseWithPurchases();
        backup = testsupport::workDir() + u"/whole.fbk"_s;
        data::backupDatabase(database, backup);
    }

    // Cut anywhere from the first byte to the last one that carries data (what follows is the
    // block's padding of zeros), the backup is refused and leaves nothing; whole, it restores
    // every row.
    void aCutBackupIsRefused()
    {
        QFile whole(backup);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        qsizetype dataEnd = bytes.size();
        while (dataEnd > 0 && bytes[dataEnd - 1] == '\0')
            --dataEnd;
        QVERIFY(dataEnd > 20000);
        QTemporaryDir folder;
        const QString target = folder.filePath(u"odtworzona.gdb"_s);
        for (const qsizetype cut : {qsizetype(1), qsizetype(200), qsizetype(5000), dataEnd / 5, dataEnd * 2 / 5, dataEnd * 3 / 5,
                                    dataEnd * 4 / 5, dataEnd * 19 / 20, dataEnd - 1000, dataEnd - 100, dataEnd - 10, dataEnd - 1}) {
            const QString cutFile = folder.filePath(u"cut.fbk"_s);
            QFile out(cutFile);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(bytes.left(cut));
            out.close();
            const QString failure = failureOf([&] { data::restoreDatabase(cutFile, target); });
            QVERIFY2(failure.contains(u"Baza %1 nie została utworzona."_s.arg(target))
                         || failure.contains(u"to nie jest kopia zapasowa bazy danych"_s),
                     qPrintable(u"cut at %1: %2"_s.arg(cut).arg(failure)));
            QCOMPARE(testsupport::filesIn(folder.path()), QStringList{u"cut.fbk"_s});
        }
        data::restoreDatabase(backup, target);
        for (const QString& table : {u"ZAK_PAL"_s, u"TAB_OPL_SILN"_s, u"PODAT"_s})
            QCOMPARE(testsupport::firstNumber(target, u"select count(*) from "_s + table), testsupport::firstNumber(database, u"select count(*) from "_s + table));
    }

    // A file that takes the new database's name while the restore runs is neither replaced
    // nor removed; nothing else is left.
    void aTargetThatAppearsIsKept()
    {
        QTemporaryDir folder;
        const QString target = folder.filePath(u"nowa.gdb"_s);
        const QString failure = failureOf([&] {
            data::restoreDatabase(backup, target, [&](const QString&) {
                if (!QFile::exists(target)) {
                    QFile other(target);
                    QVERIFY(other.open(QIODevice::WriteOnly));
                    other.write("czyjś plik");
                }
            });
        });
        QVERIFY2(failure.contains(u"już istnieje"_s), qPrintable(failure));
        QFile kept(target);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("czyjś plik"));
        QCOMPARE(testsupport::filesIn(folder.path()), QStringList{u"nowa.gdb"_s});
    }

    // A backup is its owner's alone whatever the umask; an existing file, a database above
    // all, is replaced only when the user chose to.
    void aBackupIsPrivateAndReplacesNothingUnasked()
    {
        QTemporaryDir folder;
        const mode_t before = ::umask(022);
        const QString copy = folder.filePath(u"kopia.fbk"_s);
        data::backupDatabase(database, copy);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(copy).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0600));

        const QString other = folder.filePath(u"inna.gdb"_s);
        QVERIFY(QFile::copy(database, other));
        const qint64 size = QFileInfo(other).size();
        QVERIFY(failureOf([&] { data::backupDatabase(database, other); }).contains(u"już istnieje"_s));
        QCOMPARE(QFileInfo(other).size(), size);
        QCOMPARE(testsupport::firstNumber(other, u"select count(*) from ZAK_PAL"_s), 3000);

        data::backupDatabase(database, copy, data::Existing::Replace);
        QCOMPARE(::stat(QFile::encodeName(copy).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0600));
        ::umask(before);
        QCOMPARE(testsupport::filesIn(folder.path()), (QStringList{u"inna.gdb"_s, u"kopia.fbk"_s}));
    }

    // Another program's database (or one left empty) is refused before the program adds its
    // work-lock table or an index to it.
    void aForeignDatabaseIsLeftAsItIs()
    {
        const QString foreign = testsupport::freshEmptyDatabase();
        testsupport::execute(foreign, {u"create table KSIEGA (NR integer not null primary key, OPIS varchar(40))"_s});
        const auto relations = [&] { return testsupport::firstNumber(foreign, u"select count(*) from RDB$RELATIONS"_s); };
        const auto indexes = [&] { return testsupport::firstNumber(foreign, u"select count(*) from RDB$INDICES"_s); };
        const qint64 relationsBefore = relations(), indexesBefore = indexes();
        Tdm_1 dm;
        const QString failure = failureOf([&] { dm.connectTo(foreign); });
        QVERIFY2(failure.contains(u"nie jest bazą tego programu"_s) && failure.contains(u"niczego w niej nie zmienił"_s),
                 qPrintable(failure));
        QVERIFY(!dm.isConnected());
        QCOMPARE(relations(), relationsBefore);
        QCOMPARE(indexes(), indexesBefore);
    }

    // On a server the restore cannot rename: a cut backup's database, made by the restore,
    // is deleted by the server, so the name stays free for another try.
    void aCutBackupOnTheServerLeavesNothing()
    {
        QTemporaryDir folder;
        QFile whole(backup);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QString cutFile = folder.filePath(u"cut.fbk"_s);
        QFile out(cutFile);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(whole.readAll().left(whole.size() * 3 / 4));
        out.close();
        const QString target = folder.filePath(u"na_serwerze.gdb"_s);
        const QString failure = failureOf([&] { data::restoreDatabase(cutFile, testsupport::throughServer(target)); });
        QVERIFY2(failure.contains(u"nie została utworzona"_s), qPrintable(failure));
        QVERIFY(!QFile::exists(target));
        data::restoreDatabase(backup, testsupport::throughServer(target));
        QCOMPARE(testsupport::firstNumber(testsupport::throughServer(target), u"select count(*) from ZAK_PAL"_s), 3000);
        QVERIFY(failureOf([&] { data::backupDatabase(testsupport::throughServer(target), u"kopia.fbk"_s); })
                    .contains(u"pełną ścieżką na serwerze"_s));
    }
};

TEST_MAIN(QCoreApplication, TestBackup)
#include "test_backup.moc"
