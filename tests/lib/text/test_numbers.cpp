#include "test_text.h"

#include <QtTest>
#include <limits>

#include "text/formats.h"

void TestText::formatFloat_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    // Prices per litre and rates with optional decimals.
    QTest::newRow("#0.### 0.84") << "#0.###" << 0.84 << "0,84";
    QTest::newRow("#0.### 0.755") << "#0.###" << 0.755 << "0,755";
    QTest::newRow("#0.### whole") << "#0.###" << 2.0 << "2";
    QTest::newRow("#0.### zero") << "#0.###" << 0.0 << "0";
    QTest::newRow("#0.### negative") << "#0.###" << -0.84 << "-0,84";
    QTest::newRow("#0.### rounded") << "#0.###" << 1234.5678 << "1234,568";
    QTest::newRow("#0.### rounds up to the next place") << "#0.###" << 0.0005 << "0,001";
    QTest::newRow("#0.### rounds to zero") << "#0.###" << 0.0004 << "0";
    QTest::newRow("#0.### negative rounds to zero") << "#0.###" << -0.0004 << "0";
    QTest::newRow("#0.### carry drops decimals") << "#0.###" << 1.9996 << "2";

    // No mandatory integer digit.
    QTest::newRow("###.00") << "###.00" << 153.45 << "153,45";
    QTest::newRow("###.00 below one") << "###.00" << 0.5 << ",50";
    QTest::newRow("###.00 zero") << "###.00" << 0.0 << ",00";
    QTest::newRow("###.00 negative below one") << "###.00" << -0.5 << "-,50";
    QTest::newRow("###.00 more digits than places") << "###.00" << 1234.567 << "1234,57";

    QTest::newRow("######0.00") << "######0.00" << 1234.5 << "1234,50";
    QTest::newRow("######0.00 zero") << "######0.00" << 0.0 << "0,00";
    QTest::newRow("######0.00 negative") << "######0.00" << -1234.5 << "-1234,50";
    QTest::newRow("######0.00 eight digits") << "######0.00" << 12345678.9 << "12345678,90";

    QTest::newRow("####0.00 exact half") << "####0.00" << 7.125 << "7,13";
    QTest::newRow("####0.00 negative exact half") << "####0.00" << -7.125 << "-7,13";
    QTest::newRow("####0.00 small") << "####0.00" << 0.004 << "0,00";
    QTest::newRow("####0.00 small negative") << "####0.00" << -0.004 << "0,00";

    QTest::newRow("#0.0000") << "#0.0000" << 0.84 << "0,8400";
    QTest::newRow("#0.0000 rounded") << "#0.0000" << 1.23456789 << "1,2346";
    QTest::newRow("#0.0000 negative half") << "#0.0000" << -0.00005 << "-0,0001";

    // An empty zero section: zero shows as nothing.
    QTest::newRow("empty zero section, zero") << "###0.000;###0.000;;" << 0.0 << "";
    QTest::newRow("empty zero section, value") << "###0.000;###0.000;;" << 1.0370304 << "1,037";
    QTest::newRow("empty zero section, negative") << "###0.000;###0.000;;" << -1.0370304 << "-1,037";
    QTest::newRow("empty zero section, rounds to zero") << "###0.000;###0.000;;" << 0.0004 << "";
    QTest::newRow("empty zero section, negative rounds to zero") << "###0.000;###0.000;;" << -0.0004 << "";
    QTest::newRow("empty zero section, padded") << "###0.000;###0.000;;" << 1234.5 << "1234,500";

    QTest::newRow("# zero section, zero") << "###0.000;###0.000;#" << 0.0 << "";
    QTest::newRow("# zero section, value") << "###0.000;###0.000;#" << 2.5 << "2,500";
    QTest::newRow("# zero section, negative") << "###0.000;###0.000;#" << -2.5 << "-2,500";
    QTest::newRow("two-place # zero section, negative") << "###0.00;###0.00;#" << -5.0 << "-5,00";
    QTest::newRow("two-place # zero section, positive") << "###0.00;###0.00;#" << 5.0 << "5,00";
    QTest::newRow("two-place # zero section, zero") << "###0.00;###0.00;#" << 0.0 << "";

    QTest::newRow("#,##0.00 millions") << "#,##0.00" << 1234567.891 << "1.234.567,89";
    QTest::newRow("#,##0.00 zero") << "#,##0.00" << 0.0 << "0,00";
    QTest::newRow("#,##0.00 three digits") << "#,##0.00" << 123.0 << "123,00";
    QTest::newRow("#,##0.00 thousand") << "#,##0.00" << 1000.0 << "1.000,00";
    QTest::newRow("#,##0.00 carry into thousands") << "#,##0.00" << 999.999 << "1.000,00";
    QTest::newRow("#,##0.00 hundred thousand") << "#,##0.00" << 100000.0 << "100.000,00";
    QTest::newRow("#,##0.00 negative") << "#,##0.00" << -1234.5 << "-1.234,50";
    QTest::newRow("#,##0 no decimals") << "#,##0" << 1234567.0 << "1.234.567";

    // 15 significant digits first, then half away from zero.
    QTest::newRow("#0.00 1.005") << "#0.00" << 1.005 << "1,01";
    QTest::newRow("#0.00 1.015") << "#0.00" << 1.015 << "1,02";
    QTest::newRow("#0.00 2.675") << "#0.00" << 2.675 << "2,68";
    QTest::newRow("#0.00 0.285") << "#0.00" << 0.285 << "0,29";
    QTest::newRow("#0.00 -1.005") << "#0.00" << -1.005 << "-1,01";
    QTest::newRow("#0.00 0.125") << "#0.00" << 0.125 << "0,13";
    QTest::newRow("#0.00 below the half") << "#0.00" << 0.12499 << "0,12";
    QTest::newRow("#0.00 large") << "#0.00" << 1e15 << "1000000000000000,00";

    QTest::newRow("0.00 negative rounds to zero") << "0.00" << -0.001 << "0,00";
    QTest::newRow("0.00 negative half") << "0.00" << -0.005 << "-0,01";
    QTest::newRow("000 pads") << "000" << 5.0 << "005";
    QTest::newRow("00.0# pads both") << "00.0#" << 5.5 << "05,5";
    QTest::newRow("0.0# minimum one decimal") << "0.0#" << 1.0 << "1,0";
    QTest::newRow("0.0# optional second decimal") << "0.0#" << 1.25 << "1,25";
    QTest::newRow(".00 no integer places") << ".00" << 12.5 << "12,50";
    QTest::newRow("# zero") << "#" << 0.0 << "";
    QTest::newRow("# value") << "#" << 7.0 << "7";

    // Literal text.
    QTest::newRow("apostrophes") << "0.00 'zł'" << 5.0 << "5,00 zł";
    QTest::newRow("quotes") << "\"Razem: \"0.00" << 5.0 << "Razem: 5,00";
    QTest::newRow("digits in quotes are text") << "0.00' (0#.,)'" << 5.0 << "5,00 (0#.,)";
    QTest::newRow("semicolon in quotes") << "0' ;x'" << 5.0 << "5 ;x";
    QTest::newRow("unquoted text") << "0.00 l" << 5.0 << "5,00 l";
    QTest::newRow("text only zero section") << "0.00;-0.00;'brak'" << 0.0 << "brak";

    // Negative sections.
    QTest::newRow("own parentheses") << "0.00;(0.00)" << -5.0 << "(5,00)";
    QTest::newRow("own minus") << "0.00;0.00-" << -5.0 << "5,00-";
    QTest::newRow("parentheses only for negatives") << "0.00;(0.00)" << 5.0 << "5,00";
    QTest::newRow("quoted parenthesis is no sign") << "0.00;'(brutto) '0.00" << -5.0 << "-(brutto) 5,00";
    QTest::newRow("empty negative section") << "0.00;;'zero'" << -5.0 << "-5,00";
    QTest::newRow("empty negative section, zero") << "0.00;;'zero'" << 0.0 << "zero";
    QTest::newRow("negative rounds to zero without zero section") << "0.00;(0.00)" << -0.001 << "0,00";
    QTest::newRow("negative section's places keep it") << "0.0;0.000" << -0.0006 << "-0,001";
    QTest::newRow("negative section's places round it away") << "0.000;0.0" << -0.0006 << "0,000";
    QTest::newRow("more than three sections") << "0;0;'z';'x'" << 0.0 << "z";

    QTest::newRow("empty mask is general") << "" << 25.5 << "25,5";
}

void TestText::formatFloat()
{
    QFETCH(QString, mask);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(text::formatFloat(mask, value), expected);
}

void TestText::formatFloatFollowsFormats()
{
    text::Formats& f = text::formats();
    f.decimalSeparator = QLatin1Char('.');
    f.thousandSeparator = QLatin1Char(' ');
    QCOMPARE(text::formatFloat(QStringLiteral("#,##0.00"), 1234.5), QStringLiteral("1 234.50"));
    QCOMPARE(text::formatFloat(QStringLiteral("#0.###"), 0.755), QStringLiteral("0.755"));
    QCOMPARE(text::formatFixed(1234.5), QStringLiteral("1234.50"));
    QCOMPARE(text::formatNumber(1234.5), QStringLiteral("1 234.50"));
    QCOMPARE(text::formatGeneral(25.5), QStringLiteral("25.5"));
}

void TestText::formatFixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two places") << 1234.5 << 2 << "1234,50";
    QTest::newRow("negative") << -1234.5 << 2 << "-1234,50";
    QTest::newRow("zero") << 0.0 << 2 << "0,00";
    QTest::newRow("below one") << 0.5 << 2 << "0,50";
    QTest::newRow("1.005") << 1.005 << 2 << "1,01";
    QTest::newRow("half, no places") << 2.5 << 0 << "3";
    QTest::newRow("negative half, no places") << -2.5 << 0 << "-3";
    QTest::newRow("negative rounds to zero") << -0.001 << 2 << "0,00";
    QTest::newRow("three places") << 1234567.891 << 3 << "1234567,891";
    QTest::newRow("four places") << 0.84 << 4 << "0,8400";
}

void TestText::formatFixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(text::formatFixed(value, decimals), expected);
    if (decimals == 2)
        QCOMPARE(text::formatFixed(value), expected);
}

void TestText::formatNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("thousand") << 1234.5 << 2 << "1.234,50";
    QTest::newRow("millions") << 1234567.891 << 2 << "1.234.567,89";
    QTest::newRow("negative") << -1234.5 << 2 << "-1.234,50";
    QTest::newRow("carry into a new group") << 999.995 << 2 << "1.000,00";
    QTest::newRow("three digits") << 100.0 << 0 << "100";
    QTest::newRow("six digits") << 123456.0 << 0 << "123.456";
    QTest::newRow("one place") << 0.25 << 1 << "0,3";
    QTest::newRow("zero") << 0.0 << 2 << "0,00";
    QTest::newRow("negative rounds to zero") << -0.004 << 2 << "0,00";
}

void TestText::formatNumber()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(text::formatNumber(value, decimals), expected);
    if (decimals == 2)
        QCOMPARE(text::formatNumber(value), expected);
}

void TestText::formatGeneral_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("25") << 25.0 << "25";
    QTest::newRow("0.125") << 0.125 << "0,125";
    QTest::newRow("50") << 50.0 << "50";
    QTest::newRow("25.5") << 25.5 << "25,5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("negative") << -3.75 << "-3,75";
    QTest::newRow("0.1") << 0.1 << "0,1";
    QTest::newRow("128.9") << 128.9 << "128,9";
    QTest::newRow("one third") << 1.0 / 3 << "0,333333333333333";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("thousands unmarked") << 1234567.891 << "1234567,891";
    QTest::newRow("binary noise hidden") << 0.1 + 0.2 << "0,3";
    QTest::newRow("small") << 0.0001 << "0,0001";
}

void TestText::formatGeneral()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(text::formatGeneral(value), expected);
}

void TestText::formatGeneralOfExtendedValues()
{
    QCOMPARE(text::formatGeneral(0.1L), QStringLiteral("0,1"));
    QCOMPARE(text::formatGeneral(1.0L / 3), QStringLiteral("0,333333333333333"));
    QCOMPARE(text::formatGeneral(std::numeric_limits<long double>::quiet_NaN()), QStringLiteral("NAN"));
    QCOMPARE(text::formatGeneral(std::numeric_limits<long double>::infinity()), QStringLiteral("INF"));
    QCOMPARE(text::formatGeneral(-std::numeric_limits<long double>::infinity()), QStringLiteral("-INF"));
    QCOMPARE(text::formatFloat(QStringLiteral("0.00"), std::numeric_limits<long double>::infinity()),
             QStringLiteral("INF"));
}

void TestText::parseFloat_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");

    QTest::newRow("decimal comma") << "1234,5" << true << 1234.5;
    QTest::newRow("negative integer") << "-3" << true << -3.0;
    QTest::newRow("thousands and decimals") << "1.234,56" << true << 1234.56;
    QTest::newRow("blanks around") << "  7 " << true << 7.0;
    QTest::newRow("negative with thousands") << "-1.234,5" << true << -1234.5;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("trailing comma") << "1," << true << 1.0;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("negative leading comma") << "-,25" << true << -0.25;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("dot in groups of three is thousands") << "1.500" << true << 1500.0;
    QTest::newRow("two thousands marks") << "1.234.567" << true << 1234567.0;
    QTest::newRow("thousands marks and decimals") << "1.234.567,25" << true << 1234567.25;
    QTest::newRow("dot as decimal point") << "1.5" << true << 1.5;
    QTest::newRow("dot with four decimals") << "1.2345" << true << 1.2345;
    QTest::newRow("dot with two decimals") << "12.34" << true << 12.34;
    QTest::newRow("leading dot") << ".5" << true << 0.5;
    QTest::newRow("trailing dot") << "3." << true << 3.0;
    QTest::newRow("many digits") << "123456789012,125" << true << 123456789012.125;

    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("dots not in groups") << "1.23.4" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks only") << "   " << false << 0.0;
    QTest::newRow("comma only") << "," << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("two signs") << "--1" << false << 0.0;
    QTest::newRow("trailing sign") << "1-" << false << 0.0;
    QTest::newRow("bad grouping before comma") << "1.23,4" << false << 0.0;
    QTest::newRow("four-digit group before comma") << "1234.567,5" << false << 0.0;
    QTest::newRow("dot after comma") << "1,2.3" << false << 0.0;
    QTest::newRow("exponent") << "1e5" << false << 0.0;
    QTest::newRow("blank inside") << "1 234" << false << 0.0;
    QTest::newRow("trailing letter") << "12a" << false << 0.0;
    QTest::newRow("non-ASCII digits") << QStringLiteral("١٢") << false << 0.0;
}

void TestText::parseFloat()
{
    QFETCH(QString, input);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const std::optional<long double> parsed = text::parseFloat(input);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(double(*parsed), value);
}

void TestText::parseFloatFollowsFormats()
{
    text::Formats& f = text::formats();
    f.decimalSeparator = QLatin1Char('.');
    f.thousandSeparator = QLatin1Char(',');
    QCOMPARE(text::parseFloat(QStringLiteral("1,234.5")).value_or(0), 1234.5L);
    QCOMPARE(text::parseFloat(QStringLiteral("1.500")).value_or(0), 1.5L);
    QVERIFY(!text::parseFloat(QStringLiteral("1.234,5")));

    f.decimalSeparator = QLatin1Char(',');
    f.thousandSeparator = QLatin1Char(' ');
    QCOMPARE(text::parseFloat(QStringLiteral("1 234,5")).value_or(0), 1234.5L);
    // With a blank for thousands, a "." can only be the point.
    QCOMPARE(text::parseFloat(QStringLiteral("1.500")).value_or(0), 1.5L);
    QVERIFY(!text::parseFloat(QStringLiteral("1.234,5")));
}

void TestText::parseFloatReadsWhatFormatNumberWrites()
{
    const double samples[] = {0, 0.5, -0.25, 1234.5, -1234567.89, 999999.99, 0.84};
    for (double v : samples) {
        const QString shown = text::formatNumber(v, 2);
        const std::optional<long double> back = text::parseFloat(shown);
        QVERIFY2(back.has_value(), qPrintable(shown));
        QCOMPARE(double(*back), v);
    }
}
