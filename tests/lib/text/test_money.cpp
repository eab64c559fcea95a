#include "test_text.h"

#include <QtTest>
#include <limits>

#include "text/formats.h"
#include "text/money.h"

using text::Money;

void TestText::moneyFromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("units");

    QTest::newRow("zero") << 0.0 << qint64(0);
    QTest::newRow("one") << 1.0 << qint64(10000);
    QTest::newRow("minus one") << -1.0 << qint64(-10000);
    QTest::newRow("128.9") << 128.9 << qint64(1289000);
    QTest::newRow("0.1") << 0.1 << qint64(1000);
    QTest::newRow("smallest unit") << 0.0001 << qint64(1);
    QTest::newRow("smallest negative unit") << -0.0001 << qint64(-1);
    QTest::newRow("below a half") << 0.00004 << qint64(0);
    QTest::newRow("above a half") << 0.00006 << qint64(1);
    QTest::newRow("large") << 1234567.8912 << qint64(12345678912);
    QTest::newRow("rounded to the unit") << 12.345678 << qint64(123457);
    QTest::newRow("negative rounded to the unit") << -12.345678 << qint64(-123457);

    // k/32 are exact in binary and k/32 × 10 000 ends in exactly ,5: true ties.
    QTest::newRow("tie 312.5 to even below") << 1.0 / 32 << qint64(312);
    QTest::newRow("tie 937.5 to even above") << 3.0 / 32 << qint64(938);
    QTest::newRow("tie 1562.5 to even below") << 5.0 / 32 << qint64(1562);
    QTest::newRow("tie 2187.5 to even above") << 7.0 / 32 << qint64(2188);
    QTest::newRow("negative tie below") << -1.0 / 32 << qint64(-312);
    QTest::newRow("negative tie above") << -3.0 / 32 << qint64(-938);

    // The double nearest to these lies off the half; the 80-bit product keeps that, while a
    // product rounded to double would land on the half and go to the even unit.
    QTest::newRow("0.00025 (a hair above the half)") << 0.00025 << qint64(3);
    QTest::newRow("0.00035 (a hair below the half)") << 0.00035 << qint64(3);
    QTest::newRow("0.00095 (a hair below the half)") << 0.00095 << qint64(9);
    QTest::newRow("0.00125 (a hair above the half)") << 0.00125 << qint64(13);
}

void TestText::moneyFromDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, units);
    QCOMPARE(Money::fromDouble(value).units(), units);
}

void TestText::moneySumsDoNotDrift()
{
    Money sum;
    double drifting = 0;
    for (int i = 0; i < 10; ++i) {
        sum += Money::fromDouble(0.1);
        drifting += 0.1;
    }
    QCOMPARE(sum.units(), qint64(10000));
    QCOMPARE(sum, Money::fromDouble(1.0));
    QVERIFY(drifting != 1.0); // why the amounts are kept as units

    Money fees;
    for (int i = 0; i < 100000; ++i)
        fees += Money::fromDouble(128.9);
    QCOMPARE(fees.units(), qint64(128900000000));
    QCOMPARE(fees.toDecimalString(2), QStringLiteral("12890000.00"));

    const Money a = Money::fromDouble(0.7);
    const Money b = Money::fromDouble(0.2);
    const Money c = Money::fromDouble(0.1);
    QCOMPARE((a + b + c).units(), qint64(10000));
    QCOMPARE((a - b - c - Money::fromDouble(0.4)).units(), qint64(0));
}

void TestText::moneyFromDecimalString_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("units");

    QTest::newRow("decimal") << "1234.5" << true << qint64(12345000);
    QTest::newRow("smallest negative") << "-0.0001" << true << qint64(-1);
    QTest::newRow("zero") << "0" << true << qint64(0);
    QTest::newRow("integer") << "12" << true << qint64(120000);
    QTest::newRow("four decimals") << "1.2345" << true << qint64(12345);
    QTest::newRow("negative") << "-128.90" << true << qint64(-1289000);
    QTest::newRow("trailing zeros") << "1.5000" << true << qint64(15000);
    QTest::newRow("largest") << "922337203685477.5807" << true << std::numeric_limits<qint64>::max();
    QTest::newRow("most negative") << "-922337203685477.5808" << true << std::numeric_limits<qint64>::min();

    QTest::newRow("five decimals") << "1.23456" << false << qint64(0);
    QTest::newRow("five zero decimals") << "1.00000" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("sign only") << "-" << false << qint64(0);
    QTest::newRow("point only") << "." << false << qint64(0);
    QTest::newRow("decimal comma") << "1,5" << false << qint64(0);
    QTest::newRow("thousands mark") << "1,000.00" << false << qint64(0);
    QTest::newRow("blank inside") << "1 000" << false << qint64(0);
    QTest::newRow("leading blank") << " 1" << false << qint64(0);
    QTest::newRow("letters") << "abc" << false << qint64(0);
    QTest::newRow("two points") << "1.2.3" << false << qint64(0);
    QTest::newRow("double sign") << "--1" << false << qint64(0);
    QTest::newRow("exponent") << "1e3" << false << qint64(0);
    QTest::newRow("just too large") << "922337203685477.5808" << false << qint64(0);
    QTest::newRow("just too small") << "-922337203685477.5809" << false << qint64(0);
    QTest::newRow("far too large") << "99999999999999999999" << false << qint64(0);
}

void TestText::moneyFromDecimalString()
{
    QFETCH(QString, input);
    QFETCH(bool, ok);
    QFETCH(qint64, units);
    Money m;
    QCOMPARE(Money::fromDecimalString(input, m), ok);
    if (ok)
        QCOMPARE(m.units(), units);
}

void TestText::moneyToDecimalString_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two places") << qint64(12345000) << 2 << "1234.50";
    QTest::newRow("default is two places") << qint64(12345000) << -1 << "1234.50";
    QTest::newRow("below the half") << qint64(12345) << 2 << "1.23";
    QTest::newRow("half goes up") << qint64(12350) << 2 << "1.24";
    QTest::newRow("negative half goes down") << qint64(-12350) << 2 << "-1.24";
    QTest::newRow("three places, half up") << qint64(12345) << 3 << "1.235";
    QTest::newRow("three places, negative") << qint64(-12345) << 3 << "-1.235";
    QTest::newRow("four places") << qint64(12345) << 4 << "1.2345";
    QTest::newRow("no places") << qint64(15000) << 0 << "2";
    QTest::newRow("no places, negative") << qint64(-15000) << 0 << "-2";
    QTest::newRow("no places, below the half") << qint64(14999) << 0 << "1";
    QTest::newRow("zero") << qint64(0) << 2 << "0.00";
    QTest::newRow("negative that rounds to zero") << qint64(-49) << 2 << "0.00";
    QTest::newRow("negative half a cent") << qint64(-50) << 2 << "-0.01";
    QTest::newRow("carry into the integer") << qint64(99950) << 2 << "10.00";
    QTest::newRow("small negative, four places") << qint64(-1) << 4 << "-0.0001";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << 4 << "922337203685477.5807";
    QTest::newRow("largest, two places") << std::numeric_limits<qint64>::max() << 2 << "922337203685477.58";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << 4 << "-922337203685477.5808";
}

void TestText::moneyToDecimalString()
{
    QFETCH(qint64, units);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    const Money m = Money::fromUnits(units);
    QCOMPARE(decimals < 0 ? m.toDecimalString() : m.toDecimalString(decimals), expected);
}

void TestText::moneyDecimalStringRoundTrip()
{
    const qint64 samples[] = {0, 1, -1, 9999, 10000, -10001, 1289000, 12345678912,
                              std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()};
    for (qint64 units : samples) {
        const Money m = Money::fromUnits(units);
        Money back;
        QVERIFY2(Money::fromDecimalString(m.toDecimalString(4), back), qPrintable(m.toDecimalString(4)));
        QCOMPARE(back.units(), units);
    }
}

void TestText::moneyArithmetic()
{
    const Money a = Money::fromUnits(15000);
    const Money b = Money::fromUnits(2500);
    QCOMPARE((a + b).units(), qint64(17500));
    QCOMPARE((a - b).units(), qint64(12500));
    QCOMPARE((b - a).units(), qint64(-12500));
    QCOMPARE((-a).units(), qint64(-15000));
    QVERIFY(b < a);
    QVERIFY(-a < b);
    QVERIFY(a == Money::fromUnits(15000));
    QVERIFY(a != b);
    QCOMPARE(Money().units(), qint64(0));
    QCOMPARE(Money::fromUnits(1289000).toDouble(), 128.9);
    QCOMPARE(Money::fromUnits(-5000).toLongDouble(), -0.5L);

    // Beyond the range an amount is refused, never wrapped around; the amount stays as it was.
    constexpr qint64 top = std::numeric_limits<qint64>::max();
    Money high = Money::fromUnits(top - 1);
    QVERIFY_THROWS_EXCEPTION(text::MoneyOverflow, high += Money::fromUnits(2));
    QCOMPARE(high.units(), top - 1);
    QCOMPARE((high + Money::fromUnits(1)).units(), top);
    QVERIFY_THROWS_EXCEPTION(text::MoneyOverflow, Money::fromUnits(-top) - Money::fromUnits(2));
    QVERIFY_THROWS_EXCEPTION(text::MoneyOverflow, -Money::fromUnits(std::numeric_limits<qint64>::min()));
    for (const long double v : {1e15L, -1e15L, 1e300L, std::numeric_limits<long double>::infinity(),
                                std::numeric_limits<long double>::quiet_NaN()}) {
        QVERIFY(!Money::fits(v));
        QVERIFY_THROWS_EXCEPTION(text::MoneyOverflow, Money::fromDouble(v));
    }
    QVERIFY(Money::fits(922337203685477.0L));
    QCOMPARE(Money::fromDouble(-922337203685477.0L).units(), qint64(-9223372036854770000));
}

void TestText::formatMoney_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("expected");

    QTest::newRow("thousands") << qint64(12345600) << QStringLiteral("1.234,56 zł");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("0,00 zł");
    QTest::newRow("negative below one") << qint64(-5000) << QStringLiteral("-0,50 zł");
    QTest::newRow("below the half") << qint64(12345) << QStringLiteral("1,23 zł");
    QTest::newRow("half goes up") << qint64(12350) << QStringLiteral("1,24 zł");
    QTest::newRow("negative half goes down") << qint64(-12350) << QStringLiteral("-1,24 zł");
    QTest::newRow("negative that rounds to zero") << qint64(-49) << QStringLiteral("0,00 zł");
    QTest::newRow("carry into thousands") << qint64(9999950) << QStringLiteral("1.000,00 zł");
    QTest::newRow("million") << qint64(10000000000) << QStringLiteral("1.000.000,00 zł");
    QTest::newRow("negative million") << qint64(-12345678900) << QStringLiteral("-1.234.567,89 zł");
    QTest::newRow("three digits, no mark") << qint64(9990000) << QStringLiteral("999,00 zł");
}

void TestText::formatMoney()
{
    QFETCH(qint64, units);
    QFETCH(QString, expected);
    QCOMPARE(text::formatMoney(Money::fromUnits(units)), expected);
}

void TestText::formatMoneyFollowsFormats()
{
    const Money m = Money::fromUnits(12345600);
    text::Formats& f = text::formats();
    f.currencyDecimals = 0;
    QCOMPARE(text::formatMoney(m), QStringLiteral("1.235 zł"));
    f.currencyDecimals = 4;
    QCOMPARE(text::formatMoney(m), QStringLiteral("1.234,5600 zł"));
    f.currencyDecimals = 5;
    QCOMPARE(text::formatMoney(m), QStringLiteral("1.234,56000 zł"));
    f.currencyDecimals = 2;
    f.currencySymbol = QStringLiteral("PLN");
    f.decimalSeparator = QLatin1Char('.');
    f.thousandSeparator = QLatin1Char(' ');
    QCOMPARE(text::formatMoney(m), QStringLiteral("1 234.56 PLN"));
}
