// The ledger files as the imports read them, without a database: descriptions, count lines,
// codes, file names, the bounds of a length-prefixed text, the account list and the kinds of
// file that are read at all.
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include "import/description.h"
#include "import/ledger_files.h"
#include "import/taxpayer_import.h"
#include "import/whole_file.h"
#include "ledger_builder.h"
#include "text/formats.h"
#include "test_main.h"

using namespace Qt::StringLiterals;
using namespace ledger;
using namespace ledgertest;
using Outcome = Description::Outcome;

Q_DECLARE_METATYPE(Description::Outcome)

class TestLedgerFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void descriptions_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("registration");
        QTest::addColumn<double>("litres");
        QTest::newRow("point") << u"olej napędowy/WE 12345/45.50"_s << Outcome::Purchase << u"WE 12345"_s << 45.5;
        QTest::newRow("comma, closing slash") << u"paliwo/KR1234/12,5/"_s << Outcome::Purchase << u"KR1234"_s << 12.5;
        QTest::newRow("no quantity") << u"paliwo/KR1234/"_s << Outcome::BadQuantity << QString() << 0.0;
        QTest::newRow("no registration") << u"//12"_s << Outcome::NoRegistration << QString() << 12.0;
        QTest::newRow("no slash") << u"zakup paliwa 45 l"_s << Outcome::NotAPurchase << QString() << 0.0;
        QTest::newRow("one slash") << u"paliwo/45"_s << Outcome::NotAPurchase << QString() << 0.0;
        QTest::newRow("negative, blanks") << u"korekta / WA 1 / -3,25 "_s << Outcome::Purchase << u"WA 1"_s << -3.25;
        QTest::newRow("two points") << u"a/WA1/1.2.3"_s << Outcome::BadQuantity << QString() << 0.0;
        QTest::newRow("thousands point") << u"a/WA1/1.500,5"_s << Outcome::BadQuantity << QString() << 0.0;
        QTest::newRow("many parts") << u"x/y/z/WA1/0"_s << Outcome::Purchase << u"WA1"_s << 0.0;
        // Beyond any invoice: as the data layer refuses them on screen.
        QTest::newRow("1e308") << u"a/WA1/1e308"_s << Outcome::BadQuantity << QString() << 0.0;
        QTest::newRow("twenty digits") << u"a/WA1/99999999999999999999"_s << Outcome::BadQuantity << QString() << 0.0;
        QTest::newRow("above the largest") << u"a/WA1/10000000,01"_s << Outcome::BadQuantity << QString() << 0.0;
        QTest::newRow("the largest") << u"a/WA1/10000000"_s << Outcome::Purchase << u"WA1"_s << 10000000.0;
        QTest::newRow("the smallest") << u"a/WA1/-100000"_s << Outcome::Purchase << u"WA1"_s << -100000.0;
        QTest::newRow("below the smallest") << u"a/WA1/-1e300"_s << Outcome::BadQuantity << QString() << 0.0;
    }

    void descriptions()
    {
        QFETCH(QString, description);
        QFETCH(Outcome, outcome);
        const Description d = rozbierz_opis(description);
        QCOMPARE(d.outcome, outcome);
        if (outcome == Outcome::Purchase) {
            QFETCH(QString, registration);
            QFETCH(double, litres);
            QCOMPARE(d.registration, registration);
            QCOMPARE(d.litres, litres);
        }
    }

    void countsCodesAndNames()
    {
        const QList<QPair<int, QString>> counts{{0, u"Zapisano 0 rekordów"_s},  {1, u"Zapisano 1 rekord"_s},
                                                {3, u"Zapisano 3 rekordy"_s},   {5, u"Zapisano 5 rekordów"_s},
                                                {12, u"Zapisano 12 rekordów"_s}, {21, u"Zapisano 21 rekordów"_s},
                                                {22, u"Zapisano 22 rekordy"_s}, {104, u"Zapisano 104 rekordy"_s}};
        for (const auto& [n, line] : counts)
            QCOMPARE(countLine(n), line);
        QCOMPARE(taxpayerCode(7), u"007"_s);
        QCOMPARE(taxpayerCode(45), u"045"_s);
        QCOMPARE(taxpayerCode(1234), u"1234"_s);
        QCOMPARE(dopelnij(u"abcd"_s, QLatin1Char('x'), 2), u"abcd"_s);

        const QStringList pkpir = pkpirFileNames();
        QCOMPARE(pkpir.size(), 120);
        QCOMPARE(pkpir.first(), u"dok_010.zqd"_s);
        QCOMPARE(pkpir[1], u"dok_011.zqd"_s);
        QCOMPARE(pkpir.last(), u"dok_129.zqd"_s);
        const QStringList fk = fkFileNames(QDate(2012, 4, 1), QDate(2012, 6, 30));
        QCOMPARE(fk.size(), 30);
        QCOMPARE(fk.first(), u"d001040.zqf"_s);
        QCOMPARE(fk.last(), u"d001069.zqf"_s);
        QCOMPARE(fkFileNames(QDate(2024, 1, 1), QDate(2024, 12, 31)).last(), u"d001129.zqf"_s);

        // A name found whatever the letter case of the file that holds it.
        QTemporaryDir dir;
        writeFile(dir.path(), u"DOK_010.ZQD"_s, QByteArray(324, '\0'));
        QCOMPARE(pathOf(dir.path(), u"dok_010.zqd"_s), dir.filePath(u"DOK_010.ZQD"_s));
        QCOMPARE(pathOf(dir.path(), u"dok_011.zqd"_s), dir.filePath(u"dok_011.zqd"_s));
    }

    // A length byte never takes a reader out of its slot or its record.
    void textsStayInTheirSlots()
    {
        QByteArray bytes(20, 'x');
        bytes[2] = 3;
        bytes[10] = static_cast<char>(200);
        bytes[18] = static_cast<char>(255);
        const Record r(bytes);
        QCOMPARE(r.text(2, 5), QByteArray("xxx"));
        QCOMPARE(r.text(10, 4), QByteArray("xxx"));    // 200 characters announced, a slot of 3
        QCOMPARE(r.text(18), QByteArray("x"));         // 255 announced, one byte left in the record
        QCOMPARE(r.text(19), QByteArray());
        QCOMPARE(r.text(25), QByteArray());
        QCOMPARE(r.byte(30), 0u);
        QCOMPARE(r.word(19), static_cast<unsigned>('x'));
        QCOMPARE(trimmed(u"\t  WA 1 \r\n"_s), u"WA 1"_s);
    }

    // Only a regular file within the bound is read, whatever a link leads to; a pipe that no
    // program writes to, or a device without end, is named and never waited on.
    void fileKinds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("there");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<qsizetype>("bytes");
        const QString notRegular = u"to nie zwykły plik, lecz potok, urządzenie lub gniazdo"_s;
        QTest::newRow("regular") << u"plik"_s << true << QString() << qsizetype(1000);
        QTest::newRow("link to a regular file") << u"do-pliku"_s << true << QString() << qsizetype(1000);
        QTest::newRow("not there") << u"nie-ma"_s << false << QString() << qsizetype(0);
        QTest::newRow("folder") << u"katalog"_s << true << u"to katalog, nie plik"_s << qsizetype(0);
        QTest::newRow("link to nothing") << u"donikad"_s << true << u"dowiązanie symboliczne nie prowadzi do pliku"_s
                                         << qsizetype(0);
        QTest::newRow("named pipe") << u"potok"_s << true << notRegular << qsizetype(0);
        QTest::newRow("link to a pipe") << u"do-potoku"_s << true << notRegular << qsizetype(0);
        QTest::newRow("link to /dev/zero") << u"zera"_s << true << notRegular << qsizetype(0);
        QTest::newRow("beyond the bound") << u"za-duzy"_s << true << u"ma 1 MiB, a plik księgi może mieć najwyżej 0 MiB"_s
                                          << qsizetype(0);
    }

    void fileKinds()
    {
        QFETCH(QString, name);
        QFETCH(bool, there);
        QFETCH(QString, problem);
        QFETCH(qsizetype, bytes);
        QTemporaryDir dir;
        writeFile(dir.path(), u"plik"_s, QByteArray(1000, 'x'));
        writeFile(dir.path(), u"za-duzy"_s, QByteArray(1001, 'x'));
        QVERIFY(QDir(dir.path()).mkdir(u"katalog"_s));
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(u"potok"_s)).constData(), 0600) == 0);
        QVERIFY(QFile::link(dir.filePath(u"plik"_s), dir.filePath(u"do-pliku"_s)));
        QVERIFY(QFile::link(dir.filePath(u"brak"_s), dir.filePath(u"donikad"_s)));
        QVERIFY(QFile::link(dir.filePath(u"potok"_s), dir.filePath(u"do-potoku"_s)));
        QVERIFY(QFile::link(u"/dev/zero"_s, dir.filePath(u"zera"_s)));
        // A bound of 1000 bytes: the file of 1000 is read, the one of 1001 is not.
        const WholeFile read = readWholeFile(dir.filePath(name), 1000);
        QCOMPARE(read.there, there);
        QCOMPARE(read.problem, problem);
        QCOMPARE(read.bytes.size(), bytes);
    }

    void accountList()
    {
        QTemporaryDir dir;
        QByteArray file;
        file += accountRecord({u"0000"_s});
        file += accountRecord({u"   1"_s, u"123"_s, u"Pierwsza sp. z o.o."_s, u"PIERWSZA"_s, u"111-111-11-11"_s,
                               u"Polna"_s, u"3"_s, u"12"_s, u"Lublin"_s, u"20-001"_s});
        file += accountRecord({u"   2"_s, {}, u"Druga"_s, {}, u"222"_s, u"Polna"_s, u"3"_s, {}, u"Lublin"_s, u"20-001"_s});
        file += accountRecord({u"    "_s});
        file += accountRecord({u"   4"_s, {}, u"Łączka"_s, {}, u"444"_s});
        file += QByteArray(100, 'z'); // a trailing part shorter than a record
        writeFile(dir.path(), accountListFileName, file);
        const QList<AccountRow> rows = readAccounts(dir.path());
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].number, 1);
        QCOMPARE(rows[0].code, u"   1"_s);
        QCOMPARE(rows[2].number, 4);
        QCOMPARE(rows[2].fullName, u"Łączka"_s);

        RecordFile list(pathOf(dir.path(), accountListFileName), Account::size);
        QCOMPARE(list.recordCount(), qint64(5));
        QCOMPARE(Account::from(Record(list.recordAt(1))).addressLine(), u"Polna 3/12 20-001 Lublin"_s);
        QCOMPARE(Account::from(Record(list.recordAt(2))).addressLine(), u"Polna 3 20-001 Lublin"_s);
        QCOMPARE(Account::from(Record(list.recordAt(4))).addressLine(), u"   "_s);
        QVERIFY(list.recordAt(5).isEmpty());
        QVERIFY(readAccounts(dir.filePath(u"none"_s)).isEmpty());
    }
};

TEST_MAIN(QCoreApplication, TestLedgerFiles)
#include "test_ledger_files.moc"
