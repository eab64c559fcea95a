#include "test_text.h"

#include <QtTest>

#include "text/formats.h"

void TestText::parseDate_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QDate>("expected"); // null when the text is no date

    QTest::newRow("day and month unpadded") << "5-11-2004" << QDate(2004, 11, 5);
    QTest::newRow("padded") << "05-11-2004" << QDate(2004, 11, 5);
    QTest::newRow("two-digit year") << "05-11-04" << QDate(2004, 11, 5);
    QTest::newRow("two-digit year 00") << "1-1-00" << QDate(2000, 1, 1);
    QTest::newRow("two-digit year 49") << "5-11-49" << QDate(2049, 11, 5);
    QTest::newRow("two-digit year 50") << "5-11-50" << QDate(1950, 11, 5);
    QTest::newRow("two-digit year 99") << "5-11-99" << QDate(1999, 11, 5);
    QTest::newRow("blanks around") << "  5-11-2004\t" << QDate(2004, 11, 5);
    QTest::newRow("dots") << "5.11.2004" << QDate(2004, 11, 5);
    QTest::newRow("slashes") << "5/11/2004" << QDate(2004, 11, 5);
    QTest::newRow("leap day") << "29-02-2004" << QDate(2004, 2, 29);
    QTest::newRow("last day of the year") << "31-12-2012" << QDate(2012, 12, 31);

    QTest::newRow("31 February") << "31-02-2004" << QDate();
    QTest::newRow("29 February of a common year") << "29-02-2003" << QDate();
    QTest::newRow("month 13") << "5-13-2004" << QDate();
    QTest::newRow("day 0") << "0-11-2004" << QDate();
    QTest::newRow("month 0") << "5-0-2004" << QDate();
    QTest::newRow("year first") << "2004-11-05" << QDate(2004, 11, 5);
    QTest::newRow("year first, unpadded") << "2024-3-5" << QDate(2024, 3, 5);
    QTest::newRow("year first, dots") << "2024.03.05" << QDate(2024, 3, 5);
    QTest::newRow("year first, 30 February") << "2024-02-30" << QDate();
    QTest::newRow("year first, year last too") << "2004-11-2004" << QDate();
    QTest::newRow("year first, three-digit day") << "2004-11-005" << QDate();
    QTest::newRow("three-digit first group") << "204-11-05" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("blanks only") << "   " << QDate();
    QTest::newRow("no year") << "5-11" << QDate();
    QTest::newRow("four parts") << "5-11-2004-1" << QDate();
    QTest::newRow("three-digit year") << "5-11-204" << QDate();
    QTest::newRow("five-digit year") << "5-11-20044" << QDate();
    QTest::newRow("three-digit day") << "005-11-2004" << QDate();
    QTest::newRow("empty day") << "-11-2004" << QDate();
    QTest::newRow("mixed separators") << "5-11.2004" << QDate();
    QTest::newRow("other separator") << "5_11_2004" << QDate();
    QTest::newRow("blank inside") << "5 -11-2004" << QDate();
    QTest::newRow("letters") << "a-11-2004" << QDate();
    QTest::newRow("month name") << "5-lis-2004" << QDate();
    QTest::newRow("digits alone") << "05032024" << QDate(2024, 3, 5);
    QTest::newRow("digits alone, two-digit year") << "050324" << QDate(2024, 3, 5);
    QTest::newRow("digits alone, 31 February") << "31022024" << QDate();
    QTest::newRow("digits alone, seven") << "5032024" << QDate();
    QTest::newRow("digits alone, year first") << "20240305" << QDate();
}

void TestText::parseDate()
{
    QFETCH(QString, input);
    QFETCH(QDate, expected);
    const std::optional<QDate> parsed = text::parseDate(input);
    QCOMPARE(parsed.has_value(), !expected.isNull());
    if (parsed) {
        QVERIFY(parsed->isValid());
        QCOMPARE(*parsed, expected);
    }
}

void TestText::formatDate()
{
    QCOMPARE(text::formatDate(QDate(2004, 11, 5)), QStringLiteral("05-11-2004"));
    QCOMPARE(text::formatDate(QDate(2012, 7, 1)), QStringLiteral("01-07-2012"));
    QCOMPARE(text::formatDate(QDate()), QString());
    const QDate samples[] = {QDate(2004, 2, 29), QDate(1999, 12, 31), QDate(2049, 1, 1), QDate(1950, 6, 15)};
    for (const QDate& d : samples)
        QCOMPARE(text::parseDate(text::formatDate(d)).value_or(QDate()), d);
}

void TestText::formatDateFollowsFormats()
{
    text::Formats& f = text::formats();
    f.shortDateFormat = QStringLiteral("dd.MM.yyyy");
    f.dateSeparator = QLatin1Char('.');
    QCOMPARE(text::formatDate(QDate(2004, 11, 5)), QStringLiteral("05.11.2004"));
    QCOMPARE(text::parseDate(QStringLiteral("05.11.2004")).value_or(QDate()), QDate(2004, 11, 5));

    f.shortDateFormat = QStringLiteral("dd|MM|yyyy");
    f.dateSeparator = QLatin1Char('|');
    QCOMPARE(text::formatDate(QDate(2004, 11, 5)), QStringLiteral("05|11|2004"));
    QCOMPARE(text::parseDate(QStringLiteral("5|11|2004")).value_or(QDate()), QDate(2004, 11, 5));
    // "-" is only the program's default, not always accepted.
    QVERIFY(!text::parseDate(QStringLiteral("5-11-2004")));
}

void TestText::sqlDateLiteral()
{
    QCOMPARE(text::sqlDateLiteral(QDate(2012, 7, 1)), QStringLiteral("'2012-07-01'"));
    QCOMPARE(text::sqlDateLiteral(QDate(2004, 11, 5)), QStringLiteral("'2004-11-05'"));
    // Independent of the displayed format.
    text::formats().shortDateFormat = QStringLiteral("dd.MM.yy");
    QCOMPARE(text::sqlDateLiteral(QDate(1999, 12, 31)), QStringLiteral("'1999-12-31'"));
    QCOMPARE(text::sqlDateLiteral(QDate()), QStringLiteral("NULL"));
}
