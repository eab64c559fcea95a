// The purchase and taxpayer imports on a real database, from ledger files written here:
// the exact log of a run, the rows stored, the rules of candidates, duplicates, vehicles and
// dates of use, and the accounts taken over as taxpayers.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include "data/field_names.h"
#include "dataset/error.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "import/ledger_files.h"
#include "import/purchase_import.h"
#include "import/taxpayer_import.h"
#include "import/whole_file.h"
#include "ledger_builder.h"
#include "module_fixture.h"
#include "sql_testing.h"
#include "text/formats.h"
#include <QApplication>
#include "test_main.h"

using screentest::exec;
using screentest::rows;

using namespace Qt::StringLiterals;
using namespace ledgertest;

class TestImports : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    QTemporaryDir folder;
    QStringList log;
    const QDateTime now{QDate(2026, 12, 8), QTime(10, 11, 12)};


    QStringList run(ledger::Source source, const data::Period& period, const QStringList& codes)
    {
        log.clear();
        ledger::PurchaseImport import(*dm, [this](const QString& line) { log << line; });
        import.run({source, folder.path(), period, codes}, now);
        return log;
    }

    QList<QVariantList> stored(const QString& where)
    {
        return rows(u"select NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK from ZAK_PAL where %1 order by NR_KOL"_s.arg(where));
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, '7', 'SIEDEM')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (12, '12', 'DWANAŚCIE')"_s);
        exec(u"insert into SAM values ('WA 100', 7, 5, 5, '2000-01-01', null)"_s);
        exec(u"insert into SAM values ('KR 200', 7, 5, 1, '2007-11-15', '2008-02-10')"_s);
        exec(u"insert into SAM values ('GD 1', 12, 5, 5, '2000-01-01', null)"_s);
        exec(u"insert into ZAK_PAL values (1, 'WA 100', 'FV0', '2007-10-20', 5, 1)"_s);
        exec(u"set generator G_ZAK to 100"_s);
        dm->tr_opl.commitRetaining();
    }

    void cleanup()
    {
        stop();
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void pkpirRun()
    {
        QByteArray file;
        const QList<PkpirLine> lines{
            {u"007"_s, 14, u"FV1"_s, 2007, 10, 5, u"paliwo/WA 100/45.50"_s},
            {u"007"_s, 13, u"FV1A"_s, 2007, 10, 6, u"paliwo/WA 100/1"_s},  // column 13 before 2008
            {u"7"_s, 14, u"FV1B"_s, 2007, 10, 7, u"paliwo/WA 100/1"_s},    // another account code
            {u"007"_s, 14, u"FV2"_s, 2007, 10, 8, u"x/wa 100/10"_s},       // lower case finds WA 100
            {u"007"_s, 14, u"FV1"_s, 2007, 10, 5, u"paliwo/WA 100/45.50"_s}, // the first again
            {u"007"_s, 14, u"fv0"_s, 2007, 10, 20, u"x/WA 100/3"_s},       // stored before, other case
            {u"007"_s, 14, u"FV4"_s, 2007, 11, 10, u"x/KR 200/5"_s},       // before the first day of use
            {u"007"_s, 14, u"FV3"_s, 2007, 11, 15, u"x/KR 200/5"_s},       // on the first day of use
            {u"007"_s, 14, u"FV5"_s, 2007, 12, 1, u"x/XX 999/5"_s},
            {u"007"_s, 14, u"ABCDEFGHIJ"_s, 2007, 12, 2, u"paliwo/WA 100/abc"_s, u"KLMNOPQRSTUV"_s},
            {u"007"_s, 14, u"ABCDEFGHIJ"_s, 2007, 12, 2, u"paliwo/WA 100/5"_s, u"KLMNOPQRSTUV"_s},
            {u"007"_s, 14, u"FV6"_s, 2007, 2, 30, u"x/WA 100/5"_s},        // no such day
            {u"007"_s, 14, u"FV9"_s, 2007, 12, 3, u"//12"_s},
            {u"007"_s, 14, u"FV7"_s, 2007, 9, 30, u"x/WA 100/5"_s},        // before the period
            {u"007"_s, 14, u"FV8"_s, 2007, 12, 4, u"zakup paliwa 45 l"_s},
        };
        for (const PkpirLine& l : lines)
            file += pkpirRecord(l);
        file += QByteArray(100, '\x07'); // a trailing part shorter than a record
        writeFile(folder.path(), u"DOK_100.ZQD"_s, file);
        writeFile(folder.path(), u"dok_121.zqd"_s, pkpirRecord({u"012"_s, 14, u"G1"_s, 2007, 12, 31, u"a/gd 1/7,5"_s}));

        QCOMPARE(run(ledger::Source::Pkpir, {{2007, 10, 1}, {2007, 12, 31}}, {u"007"_s, u"012"_s}),
                 (QStringList{u"Import zakupów paliw z systemu PKPiR. Wykonano 08-12-2026 10:11:12."_s,
                              u"Wyszukiwanie zakupów paliwa dla konta 007"_s,
                              u"007 WA 100 FV1 05-10-2007 -jest już taki rekord w tablicy zakupów paliw"_s,
                              u"007 WA 100 fv0 20-10-2007 -jest już taki rekord w tablicy zakupów paliw"_s,
                              u"007 XX 999 FV5 01-12-2007 -podatnik nie ma samochodu o takim numerze rej."_s,
                              u"007 ABCDEFGHIJKLMNOPQRSTUV 02-12-2007 paliwo/WA 100/abc -niepoprawna ilość"_s,
                              u"Plik dok_100.zqd, rekord 12: data 30-02-2007 nie jest datą kalendarzową; rekord pominięty"_s,
                              u"007 FV9 03-12-2007 //12 -brak numeru rejestracyjnego"_s,
                              u"Zapisano 4 rekordy"_s,
                              QString(44, u'-'),
                              u"Wyszukiwanie zakupów paliwa dla konta 012"_s,
                              u"Zapisano 1 rekord"_s,
                              QString(44, u'-'),
                              u"Koniec"_s}));
        QCOMPARE(stored(u"NR_KOL > 100"_s),
                 (QList<QVariantList>{
                     {u"WA 100"_s, u"FV1"_s, QDateTime(QDate(2007, 10, 5), QTime()), 5, 45.5},
                     {u"WA 100"_s, u"FV2"_s, QDateTime(QDate(2007, 10, 8), QTime()), 5, 10.0},
                     {u"KR 200"_s, u"FV3"_s, QDateTime(QDate(2007, 11, 15), QTime()), 1, 5.0},
                     {u"WA 100"_s, u"ABCDEFGHIJKLMNOPQRST"_s, QDateTime(QDate(2007, 12, 2), QTime()), 5, 5.0},
                     {u"GD 1"_s, u"G1"_s, QDateTime(QDate(2007, 12, 31), QTime()), 5, 7.5}}));

        // 2008: column 13 counts, 14 does not; the last day of use is no day of use.
        writeFile(folder.path(), u"dok_010.zqd"_s,
                  pkpirRecord({u"007"_s, 13, u"N1"_s, 2008, 1, 5, u"x/WA 100/2"_s})
                      + pkpirRecord({u"007"_s, 14, u"N2"_s, 2008, 1, 6, u"x/WA 100/2"_s})
                      + pkpirRecord({u"007"_s, 13, u"N3"_s, 2008, 2, 10, u"x/KR 200/2"_s}));
        QVERIFY(run(ledger::Source::Pkpir, {{2008, 1, 1}, {2008, 3, 31}}, {u"007"_s}).contains(u"Zapisano 1 rekord"_s));
        QCOMPARE(stored(u"D_ZAK >= '2008-01-01'"_s).size(), 1);

        // Nothing chosen: the header and "Koniec" only.
        QCOMPARE(run(ledger::Source::Pkpir, {{2008, 1, 1}, {2008, 3, 31}}, {}).size(), 2);
    }

    // What goes wrong is said as it happened and the run goes on where it can: a refused row
    // with the server's whole sentence, files that are there but cannot be read with the
    // reason; a folder that is not there is refused; a stop commits what was stored and says
    // how much the database holds.
    void faultsAreSaidAsTheyHappen()
    {
        dm->db_opl.executeImmediate(dm->tr_opl, u"create exception E_ODMOWA 'Faktura zablokowana przez biuro'"_s);
        dm->tr_opl.commitRetaining();
        dm->db_opl.executeImmediate(dm->tr_opl, u"create trigger T_ODMOWA for ZAK_PAL before insert as begin "
                                                "if (new.NR_RACH = 'ZLA') then exception E_ODMOWA; end"_s);
        dm->tr_opl.commitRetaining();
        QByteArray file;
        for (int e = 0; e < 6; ++e)
            file += pkpirRecord({u"007"_s, 14, e == 2 ? u"ZLA"_s : u"S%1"_s.arg(e), 2007, 10, 1 + e, u"x/WA 100/5"_s});
        writeFile(folder.path(), u"dok_010.zqd"_s, file);
        QDir(folder.path()).mkdir(u"dok_020.zqd"_s);
        QVERIFY(QFile::link(folder.filePath(u"dok_030.zqd"_s), folder.filePath(u"dok_030.zqd"_s))); // a link to itself
        // A pipe no program writes to, a device without end, a file beyond the bound (sparse:
        // it takes no room on the disk): each named, none waited on or read.
        QVERIFY(::mkfifo(QFile::encodeName(folder.filePath(u"dok_040.zqd"_s)).constData(), 0600) == 0);
        QVERIFY(QFile::link(u"/dev/zero"_s, folder.filePath(u"dok_050.zqd"_s)));
        QFile large(folder.filePath(u"dok_060.zqd"_s));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(ledger::largestLedgerFile + 1));
        large.close();
        QStringList log;
        ledger::PurchaseImport import(*dm, [&log](const QString& line) { log << line; });
        import.run({ledger::Source::Pkpir, folder.path(), {{2007, 10, 1}, {2007, 12, 31}}, {u"007"_s}}, now);
        const QString notRegular = u"to nie zwykły plik, lecz potok, urządzenie lub gniazdo"_s;
        QCOMPARE(log.mid(1, 6), (QStringList{u"Plik dok_020.zqd: nie można go odczytać (to katalog, nie plik); plik pominięty"_s,
                                             u"Plik dok_030.zqd: nie można go odczytać (dowiązanie symboliczne nie prowadzi "
                                             "do pliku); plik pominięty"_s,
                                             u"Plik dok_040.zqd: nie można go odczytać (%1); plik pominięty"_s.arg(notRegular),
                                             u"Plik dok_050.zqd: nie można go odczytać (%1); plik pominięty"_s.arg(notRegular),
                                             u"Plik dok_060.zqd: nie można go odczytać (ma 257 MiB, a plik księgi może mieć "
                                             "najwyżej 256 MiB); plik pominięty"_s,
                                             u"Wyszukiwanie zakupów paliwa dla konta 007"_s}));
        QVERIFY2(log[7].startsWith(u"007 WA 100 ZLA 03-10-2007 -baza danych nie przyjęła zakupu: "_s)
                     && log[7].contains(u"Faktura zablokowana przez biuro"_s) && !log[7].contains(u'\n'),
                 qPrintable(log[7]));
        QCOMPARE(log.mid(8), (QStringList{u"Zapisano 5 rekordów"_s, QString(44, u'-'), u"Koniec"_s}));
        QCOMPARE(import.unreadableFiles().size(), 5);
        QCOMPARE(import.stored(), 5);

        QVERIFY_THROWS_EXCEPTION(ds::Error, import.run({ledger::Source::Pkpir, folder.filePath(u"nie-ma"_s),
                                                        {{2007, 10, 1}, {2007, 12, 31}}, {u"007"_s}}, now));

        // Stopped at the fourth entry of a new run: the three before are stored and said.
        file.clear();
        for (int e = 0; e < 10; ++e)
            file += pkpirRecord({u"007"_s, 14, u"T%1"_s.arg(e), 2007, 11, 1 + e, u"x/WA 100/5"_s});
        writeFile(folder.path(), u"dok_010.zqd"_s, file);
        int asked = 0;
        ledger::PurchaseImport stopping(*dm, [&log](const QString& line) { log << line; });
        stopping.setStop([&asked] { return ++asked > 3; });
        log.clear();
        stopping.run({ledger::Source::Pkpir, folder.path(), {{2007, 11, 1}, {2007, 12, 31}}, {u"007"_s}}, now);
        QVERIFY(stopping.stopped());
        QCOMPARE(log.last(), u"Przerwano. Zapisane dotąd zakupy (3) pozostają w bazie."_s);
        QCOMPARE(stored(u"NR_RACH starting 'T'"_s).size(), 3);
    }

    // Purchases go to the database many to a statement; the log still says each refused one
    // at its place among the other lines, and an entry repeating a refused one is tried again.
    void refusedRowsAreSaidInTheirPlace()
    {
        exec(u"create exception E_ODMOWA 'Faktura zablokowana przez biuro'"_s);
        exec(u"create trigger T_ODMOWA for ZAK_PAL before insert as begin "
             "if (new.NR_RACH = 'ZLA') then exception E_ODMOWA; end"_s);
        QByteArray file;
        for (const auto& [invoice, day, description] : {std::tuple{u"S0"_s, 1, u"x/WA 100/5"_s}, {u"ZLA"_s, 2, u"x/WA 100/5"_s},
                                                         {u"S2"_s, 3, u"x/GD 1/5"_s}, {u"S0"_s, 1, u"x/WA 100/5"_s},
                                                         {u"S4"_s, 5, u"x/WA 100/5"_s}, {u"ZLA"_s, 2, u"x/WA 100/5"_s}})
            file += pkpirRecord({u"007"_s, 14, invoice, 2007, 11, day, description});
        writeFile(folder.path(), u"dok_010.zqd"_s, file);
        const QStringList log = run(ledger::Source::Pkpir, {{2007, 11, 1}, {2007, 11, 30}}, {u"007"_s});
        QCOMPARE(log.size(), 9);
        QCOMPARE(log[1], u"Wyszukiwanie zakupów paliwa dla konta 007"_s);
        QVERIFY2(log[2].startsWith(u"007 WA 100 ZLA 02-11-2007 -baza danych nie przyjęła zakupu: "_s), qPrintable(log[2]));
        QCOMPARE(log[3], u"007 GD 1 S2 03-11-2007 -podatnik nie ma samochodu o takim numerze rej."_s);
        QCOMPARE(log[4], u"007 WA 100 S0 01-11-2007 -jest już taki rekord w tablicy zakupów paliw"_s);
        QVERIFY2(log[5].startsWith(u"007 WA 100 ZLA 02-11-2007 -baza danych nie przyjęła zakupu: "_s), qPrintable(log[5]));
        QCOMPARE(log.mid(6), (QStringList{u"Zapisano 2 rekordy"_s, QString(44, u'-'), u"Koniec"_s}));
        QCOMPARE(stored(u"D_ZAK between '2007-11-01' and '2007-11-30'"_s).size(), 2);
    }

    void fkRun()
    {
        QByteArray file;
        const QList<FkLine> lines{
            {u"402"_s, 1, 42, 2013, 1, 5, u"paliwo/WA 100/10"_s},
            {u"502"_s, 1, 43, 2013, 1, 5, u"paliwo/WA 100/10"_s},  // not an account of group 4
            {QString(), 1, 44, 2013, 1, 5, u"paliwo/WA 100/10"_s}, // no account
            {u"4"_s, 100, 45, 2013, 1, 5, u"paliwo/WA 100/10"_s},  // entry kind 100
            {u"4"_s, 99, 46, 2013, 1, 6, u"paliwo/WA 100/11"_s},
            {u"401"_s, 1, 47, 2013, 1, 7, u"paliwo/GD 1/11"_s},    // another taxpayer's vehicle
            {u"401"_s, 1, 48, 2013, 13, 7, u"paliwo/WA 100/11"_s}, // month 13
            {u"401"_s, 1, 49, 2013, 1, 8, u"paliwo/WA 100/x"_s},
        };
        for (const FkLine& l : lines)
            file += fkRecord(l);
        writeFile(folder.path(), u"d001010.zqf"_s, file);
        QCOMPARE(run(ledger::Source::Fk, {{2013, 1, 1}, {2013, 12, 31}}, {u"007"_s, u"012"_s, u"005"_s}),
                 (QStringList{u"Import zakupów paliw z systemu FK. Wykonano 08-12-2026 10:11:12."_s,
                              u"007 GD 1 47 07-01-2013 -podatnik nie ma samochodu o takim numerze rej."_s,
                              u"Plik d001010.zqf, rekord 7: data 07-13-2013 nie jest datą kalendarzową; rekord pominięty"_s,
                              u"007 49 08-01-2013 paliwo/WA 100/x -niepoprawna ilość"_s,
                              u"Zapisano 2 rekordy"_s,
                              QString(44, u'-'),
                              u"Koniec"_s}));
        QCOMPARE(stored(u"NR_KOL > 100"_s),
                 (QList<QVariantList>{{u"WA 100"_s, u"42"_s, QDateTime(QDate(2013, 1, 5), QTime()), 5, 10.0},
                                      {u"WA 100"_s, u"46"_s, QDateTime(QDate(2013, 1, 6), QTime()), 5, 11.0}}));
    }

    // The command line runs the same imports: the log in UTF-8, codes from numbers as ">"
    // makes them, its refusals with exit code 2; the taxpayers with the fields to overwrite.
    void commandLine()
    {
        writeFile(folder.path(), u"dok_030.zqd"_s,
                  pkpirRecord({u"007"_s, 13, u"K1"_s, 2024, 3, 3, u"x/WA 100/4,5"_s})
                      + pkpirRecord({u"012"_s, 13, u"K2"_s, 2024, 3, 4, u"x/GD 1/5"_s}));
        writeFile(folder.path(), ledger::accountListFileName,
                  accountRecord({u"0000"_s}) + accountRecord({u"   1"_s, {}, u"Nowa firma"_s, u"NOWA"_s, u"1"_s})
                      + accountRecord({u"   2"_s}) + accountRecord({u"   3"_s}) + accountRecord({u"   4"_s})
                      + accountRecord({u"   5"_s}) + accountRecord({u"   6"_s})
                      + accountRecord({u"   7"_s, {}, u"Siedem"_s, u"SIEDEM NOWE"_s, u"77"_s, u"Polna"_s, u"3"_s}));
        stop();
        auto cli = [](const QStringList& args, QString* said = nullptr, QString* complained = nullptr) {
            QProcess p;
            p.start(QStringLiteral(BRENVALD_CLI), args);
            p.waitForFinished(60000);
            if (said)
                *said = QString::fromUtf8(p.readAllStandardOutput());
            if (complained)
                *complained = QString::fromUtf8(p.readAllStandardError());
            return p.exitCode();
        };
        QString said;
        QCOMPARE(cli({u"import-purchases"_s, u"--db"_s, path, u"--source"_s, u"pkpir"_s, u"--dir"_s, folder.path(),
                      u"--year"_s, u"2024"_s, u"7"_s, u"007"_s}, &said), 0);
        QStringList lines = said.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.first().startsWith(u"Import zakupów paliw z systemu PKPiR. Wykonano "_s));
        QCOMPARE(lines.mid(1), (QStringList{u"Wyszukiwanie zakupów paliwa dla konta 007"_s, u"Zapisano 1 rekord"_s,
                                            QString(44, u'-'), u"Koniec"_s}));
        QCOMPARE(cli({u"import-purchases"_s, u"--db"_s, path, u"--source"_s, u"pkpir"_s, u"--dir"_s, folder.path(),
                      u"--year"_s, u"2024"_s, u"--all"_s}, &said), 0);
        QVERIFY2(said.contains(u"007 WA 100 K1 03-03-2024 -jest już taki rekord"_s), qPrintable(said));
        QVERIFY(said.contains(u"Wyszukiwanie zakupów paliwa dla konta 012\nZapisano 1 rekord"_s));
        const QStringList base{u"import-purchases"_s, u"--db"_s, path, u"--source"_s, u"pkpir"_s, u"--dir"_s, folder.path()};
        for (const QStringList& refused : {base + QStringList{u"--year"_s, u"2012"_s, u"7"_s},
                                           base + QStringList{u"--year"_s, u"2013"_s, u"--quarter"_s, u"1"_s, u"7"_s},
                                           base + QStringList{u"--year"_s, u"2024"_s},
                                           base + QStringList{u"--year"_s, u"2024"_s, u"--all"_s, u"7"_s},
                                           base + QStringList{u"--year"_s, u"2024"_s, u"siedem"_s}})
            QVERIFY2(cli(refused) == 2, qPrintable(refused.mid(7).join(u' ')));
        // A number no taxpayer has is said, and nothing is taken over.
        QString complained;
        for (const auto& [numbers, complaint] :
             {std::pair{QStringList{u"7"_s, u"99"_s}, u"Nie ma podatnika o numerze 99."_s},
              std::pair{QStringList{u"98"_s, u"12"_s, u"099"_s}, u"Nie ma podatników o numerach 98, 99."_s}}) {
            QCOMPARE(cli(base + QStringList{u"--year"_s, u"2024"_s} + numbers, &said, &complained), 1);
            QCOMPARE(said, QString());
            QCOMPARE(complained.trimmed(), complaint);
        }
        QCOMPARE(cli({u"import-purchases"_s, u"--help"_s}, &said), 0);
        QVERIFY(said.contains(u"import-purchases"_s));

        QCOMPARE(cli({u"import-taxpayers"_s, u"--db"_s, path, u"--dir"_s, folder.path(), u"1"_s, u"7"_s, u"9"_s}, &said), 0);
        QCOMPARE(said.split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{u"Konto 1: utworzono podatnika nr 1"_s, u"Konto 7: podatnik nr 7 pozostawiony bez zmian"_s,
                              u"Konto 9: pominięte (nie ma go na liście kont)"_s}));
        QCOMPARE(cli({u"import-taxpayers"_s, u"--db"_s, path, u"--dir"_s, folder.path(), u"--overwrite"_s, u"nazskr,adres"_s,
                      u"7"_s}, &said), 0);
        QCOMPARE(said.trimmed(), u"Konto 7: zaktualizowano podatnika nr 7"_s);
        const QString written = path;
        start(); // the checks below read the file the tool wrote, through a module of their own
        dm->disconnectDatabase();
        dm->connectTo(written);
        QCOMPARE(rows(u"select NAZSKR, ADRES, NIP from PODAT where NR_PODAT = 7"_s),
                 (QList<QVariantList>{{u"SIEDEM NOWE"_s, u"Polna 3"_s, u"7"_s}}));
        QCOMPARE(cli({u"import-taxpayers"_s, u"--db"_s, written, u"--dir"_s, folder.path(), u"--overwrite"_s, u"telefon"_s,
                      u"7"_s}),
                 2);
    }

    // A database made by the command line's initdb and then filled by an import has its index
    // figures measured at the end of the run, the new vehicle-and-date index among them.
    void importMeasuresTheIndexes()
    {
        const QString made = folder.filePath(u"nowa.gdb"_s);
        QProcess initdb;
        initdb.start(QStringLiteral(BRENVALD_CLI), {u"initdb"_s, made});
        QVERIFY(initdb.waitForFinished(60000) && initdb.exitCode() == 0);
        dm->disconnectDatabase();
        dm->connectTo(made);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, '7', 'SIEDEM')"_s);
        for (int v = 0; v < 20; ++v)
            exec(u"insert into SAM values ('WA %1', 7, 5, 5, '2000-01-01', null)"_s.arg(v));
        dm->tr_opl.commitRetaining();
        const auto selectivity = [](const QString& index) {
            const auto found = rows(u"select RDB$STATISTICS from RDB$INDICES where RDB$INDEX_NAME = :p0"_s, {index});
            return found.isEmpty() ? -1.0 : found.first().first().toDouble();
        };
        QCOMPARE(selectivity(u"PK_ZAK_PAL"_s), 0.0);

        QByteArray file;
        for (int i = 0; i < 400; ++i)
            file += pkpirRecord({u"007"_s, 13, u"F%1"_s.arg(i), 2024, 1 + i % 12, 1 + i % 28, u"x/WA %1/10"_s.arg(i % 20)});
        writeFile(folder.path(), u"dok_010.zqd"_s, file);
        QVERIFY(run(ledger::Source::Pkpir, {{2024, 1, 1}, {2024, 12, 31}}, {u"007"_s}).contains(u"Zapisano 400 rekordów"_s));
        QCOMPARE(float(selectivity(u"PK_ZAK_PAL"_s)), 1.0f / 400);
        QCOMPARE(float(selectivity(u"IX_ZAK_PAL_NR_REJ_D_ZAK"_s)), 1.0f / 400);
        QCOMPARE(float(selectivity(u"FK_ZAK_SAMOCHOD"_s)), 1.0f / 20);
    }

    void taxpayersTakenOver()
    {
        QByteArray file = accountRecord({u"0000"_s});
        file += accountRecord({u"   1"_s, u"REG1"_s, u"  Pierwsza Spółka Akcyjna z o.o.  "_s, QString(), u"111"_s, u"Polna"_s,
                               u"3"_s, u"12"_s, u"Lublin"_s, u"20-001"_s});
        file += accountRecord({u"    "_s});
        for (int n = 3; n < 7; ++n)
            file += accountRecord({u"   %1"_s.arg(n), {}, u"Firma %1"_s.arg(n), u"F%1"_s.arg(n), u"%1"_s.arg(n)});
        file += accountRecord({u"   7"_s, u"REG7"_s, u"Siedem nowa nazwa"_s, u" NOWA7 "_s, u"777"_s, u"Długa"_s, u"1"_s, {},
                               u"Łódź"_s, u"90-001"_s});
        writeFile(folder.path(), ledger::accountListFileName, file);

        QList<ledger::Comparison> compared;
        ledger::TaxpayerFields answer;
        ledger::TaxpayerImport import(*dm, folder.path(), [&](const ledger::Comparison& c) {
            compared << c;
            return answer;
        });
        using Outcome = ledger::TaxpayerImport::Outcome;
        QCOMPARE(import.przepisz_konto(u" 1 "_s), Outcome::Created);
        QCOMPARE(rows(u"select NAZWA, NAZSKR, ADRES, REGON, NIP from PODAT where NR_PODAT = 1"_s),
                 (QList<QVariantList>{{u"Pierwsza Spółka Akcyjna z o.o."_s, u"Pierwsza Spółka"_s, u"Polna 3/12 20-001 Lublin"_s,
                                       u"REG1"_s, u"111"_s}}));
        QCOMPARE(import.przepisz_konto(u"8"_s), Outcome::PassedOver); // no record 8
        QCOMPARE(import.przepisz_konto(u"0"_s), Outcome::PassedOver);

        // Taxpayer 7 exists: the dialog decides; nothing ticked leaves it as it is.
        QCOMPARE(import.przepisz_konto(u"007"_s), Outcome::Unchanged);
        QCOMPARE(compared.size(), 1);
        QCOMPARE(compared[0].line, u"007"_s);
        QCOMPARE(compared[0].shortName, u"SIEDEM"_s);
        QCOMPARE(compared[0].ledger.addressLine(), u"Długa 1 90-001 Łódź"_s);
        answer = ledger::TaxpayerField::Address | ledger::TaxpayerField::ShortName;
        QCOMPARE(import.przepisz_konto(u"7"_s), Outcome::Updated);
        QCOMPARE(rows(u"select NAZWA, NAZSKR, ADRES, NIP from PODAT where NR_PODAT = 7"_s),
                 (QList<QVariantList>{{QVariant(), u"NOWA7"_s, u"Długa 1 90-001 Łódź"_s, u"7"_s}}));
        QVERIFY_THROWS_EXCEPTION(ds::Error, import.przepisz_konto(u"abc"_s));
    }
};

TEST_MAIN(QApplication, TestImports)
#include "test_imports.moc"
