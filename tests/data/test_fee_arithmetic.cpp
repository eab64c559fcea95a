#include <QtTest>

#include "data/fee_arithmetic.h"
#include "data/filing_rule.h"
#include "data/period.h"
#include "data/vehicle_use.h"
#include "test_main.h"

using text::Money;
using data::Filing;

Q_DECLARE_METATYPE(std::optional<Filing>)
Q_DECLARE_METATYPE(std::optional<Money>)

namespace {

Money kg(qint64 tenThousandths) { return Money::fromUnits(tenThousandths); }

} // namespace

class TestFeeArithmetic : public QObject {
    Q_OBJECT
private slots:
    void roundToFollowsTheBinaryFactor_data()
    {
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("expected");
        QTest::newRow("0.125 → 0.12") << 0.125 << 2 << 0.12;
        QTest::newRow("0.375 → 0.37") << 0.375 << 2 << 0.37;
        QTest::newRow("0.025 → 0.03") << 0.025 << 2 << 0.03;
        QTest::newRow("0.1875 → 0.187") << 0.1875 << 3 << 0.187;
        QTest::newRow("0.0015 → 0.002") << 0.0015 << 3 << 0.002;
        QTest::newRow("0.0005 → 0.000") << 0.0005 << 3 << 0.0;
        QTest::newRow("negative") << -0.125 << 2 << -0.12;
        QTest::newRow("already round") << 128.9 << 2 << 128.9;
    }
    void roundToFollowsTheBinaryFactor()
    {
        QFETCH(double, v);
        QFETCH(int, places);
        QFETCH(double, expected);
        QCOMPARE(data::roundTo(v, places), expected);
    }

    void workedLines_data()
    {
        QTest::addColumn<double>("litres");
        QTest::addColumn<qint64>("kgPerLitre");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("tonnesShown");
        QTest::addColumn<qint64>("feeUnits");
        QTest::newRow("1000 l diesel") << 1000.0 << qint64(8400) << 153.45 << 0.840 << qint64(1289000);
        QTest::newRow("1234.56 l diesel") << 1234.56 << qint64(8400) << 150.0 << 1.037 << qint64(1555500);
        QTest::newRow("250 l at 0.75") << 250.0 << qint64(7500) << 2.50 << 0.187 << qint64(4700);
        // The fee comes from the unrounded 0.1875 t, not from the 0.187 t shown.
        QTest::newRow("250 l at 100 zł") << 250.0 << qint64(7500) << 100.0 << 0.187 << qint64(187500);
        QTest::newRow("no kg per litre") << 500.0 << qint64(0) << 100.0 << 0.0 << qint64(0);
        QTest::newRow("no rate") << 500.0 << qint64(8400) << 0.0 << 0.42 << qint64(0);
    }
    void workedLines()
    {
        QFETCH(double, litres);
        QFETCH(qint64, kgPerLitre);
        QFETCH(double, rate);
        QFETCH(double, tonnesShown);
        QFETCH(qint64, feeUnits);
        QCOMPARE(data::tonnesShown(litres, kg(kgPerLitre)), tonnesShown);
        QCOMPARE(data::lineFee(litres, kg(kgPerLitre), rate).units(), feeUnits);
    }

    void tonnesAreNotRoundedForTheFee()
    {
        QCOMPARE(static_cast<double>(data::tonnes(1234.56, kg(8400))), 1.0370304);
        QCOMPARE(static_cast<double>(data::tonnes(250.0, kg(7500))), 0.1875);
        // A fee of exactly an eighth of a grosz goes down, a fortieth goes up.
        QCOMPARE(data::lineFee(1000.0, kg(10000), 0.125).units(), 1200);  // 1 t × 0.125 zł
        QCOMPARE(data::lineFee(1000.0, kg(10000), 0.025).units(), 300);   // 1 t × 0.025 zł
    }

    void amountAndThreshold()
    {
        // Sums of rounded fees are exact; the sum is rounded to the grosz by the same rule.
        Money sum;
        for (int i = 0; i < 3; ++i)
            sum += Money::fromUnits(1289000);
        QCOMPARE(data::roundedAmount(sum).units(), 3867000);
        QCOMPARE(data::roundedAmount(Money::fromUnits(1250)).units(), 1200); // 0.125 → 0.12
        QCOMPARE(data::exemptionThreshold(Money::fromDouble(1000.0), 40.0).units(), 4000000);
        QCOMPARE(data::exemptionThreshold(Money::fromDouble(800.0), 50.0).units(), 4000000);
        QCOMPARE(data::exemptionThreshold(Money::fromDouble(1600.0), 50.0).units(), 8000000);
        QCOMPARE(data::exemptionThreshold(Money(), 0.0).units(), 0);
    }

    // What a firm files for a year's fee: up to 2012 nothing is said; from 2013 a statement
    // always, the fee paid above the threshold; from 2017 no statement for at most 100 zł.
    void whatIsFiled_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<std::optional<Money>>("amount");
        QTest::addColumn<qint64>("threshold");
        QTest::addColumn<std::optional<Filing>>("filed");
        const auto zl = [](qint64 grosze) { return std::optional(Money::fromUnits(grosze * 100)); };
        const std::optional<Filing> none, notFiled = Filing::NoStatement, filed = Filing::StatementWithoutPayment,
                                          paid = Filing::StatementAndPayment;
        const qint64 t800 = 8000000;
        QTest::newRow("2012: half-years") << 2012 << zl(5000) << qint64(4000000) << none;
        QTest::newRow("2013, 0,00") << 2013 << zl(0) << t800 << filed;
        QTest::newRow("2016, 100,00") << 2016 << zl(10000) << t800 << filed;
        QTest::newRow("2016, 100,01") << 2016 << zl(10001) << t800 << filed;
        QTest::newRow("2016, 800,00") << 2016 << zl(80000) << t800 << filed;
        QTest::newRow("2016, 800,01") << 2016 << zl(80001) << t800 << paid;
        QTest::newRow("2017, 0,00") << 2017 << zl(0) << t800 << notFiled;
        QTest::newRow("2017, 100,00") << 2017 << zl(10000) << t800 << notFiled;
        QTest::newRow("2017, 100,01") << 2017 << zl(10001) << t800 << filed;
        QTest::newRow("2017, 800,00") << 2017 << zl(80000) << t800 << filed;
        QTest::newRow("2017, 800,01") << 2017 << zl(80001) << t800 << paid;
        QTest::newRow("2024, beyond money") << 2024 << std::optional<Money>() << t800 << paid;
        // A threshold below 100 zł (parameters typed so): what is paid is filed.
        QTest::newRow("2024, 60,00 above 50,00") << 2024 << zl(6000) << qint64(500000) << paid;
    }

    void whatIsFiled()
    {
        QFETCH(int, year);
        QFETCH(std::optional<Money>, amount);
        QFETCH(qint64, threshold);
        QFETCH(std::optional<Filing>, filed);
        QCOMPARE(data::filing(year, amount, Money::fromUnits(threshold)), filed);
    }

    void settlementPeriods()
    {
        QCOMPARE(data::settlementPeriod(2012, 0).start, QDate(2012, 1, 1));
        QCOMPARE(data::settlementPeriod(2012, 0).end, QDate(2012, 6, 30));
        QCOMPARE(data::settlementPeriod(2012, 1).start, QDate(2012, 7, 1));
        QCOMPARE(data::settlementPeriod(2012, 1).end, QDate(2012, 12, 31));
        QCOMPARE(data::settlementPeriod(2013, 1).start, QDate(2013, 1, 1));
        QCOMPARE(data::settlementPeriod(2013, 0).end, QDate(2013, 12, 31));
        QVERIFY(data::usesHalfYears(2012));
        QVERIFY(!data::usesHalfYears(2013));

        using data::YearParts;
        QCOMPARE(data::periodOfPart(YearParts::Quarters, 2012, 0).end, QDate(2012, 3, 31));
        QCOMPARE(data::periodOfPart(YearParts::Quarters, 2012, 1).start, QDate(2012, 4, 1));
        QCOMPARE(data::periodOfPart(YearParts::Quarters, 2012, 3).start, QDate(2012, 10, 1));
        QCOMPARE(data::periodOfPart(YearParts::Quarters, 2012, 3).end, QDate(2012, 12, 31));
        QCOMPARE(data::periodOfPart(YearParts::Quarters, 2008, 0).end, QDate(2008, 3, 31));
        QCOMPARE(data::periodOfPart(YearParts::Quarters, 2013, 2).start, QDate(2013, 1, 1));

        // A part chosen in a year without parts is not kept: the choice is the whole year.
        const data::PeriodChoice whole = data::periodChoice(YearParts::HalfYears, QStringLiteral("ABC"), 2014, 1);
        QCOMPARE(whole.part, 0);
        QCOMPARE(whole.start, QDate(2014, 1, 1));
        QCOMPARE(whole.end, QDate(2014, 12, 31));
        QCOMPARE(whole, data::periodChoice(YearParts::HalfYears, QStringLiteral("ABC"), 2014, 0));
        const data::PeriodChoice second = data::periodChoice(YearParts::HalfYears, QStringLiteral("ABC"), 2011, 1);
        QCOMPARE(second.part, 1);
        QCOMPARE(second.start, QDate(2011, 7, 1));
    }

    void partsPreselectedByMonth()
    {
        // Half-years: January II, February to July I, then II. Quarters: January IV, then
        // February to April I, May to July II, August to October III, November and December IV.
        const QList<int> halves{1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1};
        const QList<int> quarters{3, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3};
        for (int month = 1; month <= 12; ++month) {
            QCOMPARE(data::preselectedPart(data::YearParts::HalfYears, month), halves[month - 1]);
            QCOMPARE(data::preselectedPart(data::YearParts::Quarters, month), quarters[month - 1]);
        }
    }

    // Keyed purchases may fall on the last day of use; imported ones may not.
    void daysOfUse_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("keyed");
        QTest::addColumn<bool>("imported");
        const QDate first(2012, 3, 1), last(2012, 9, 30);
        QTest::newRow("before first day") << first << last << first.addDays(-1) << false << false;
        QTest::newRow("first day") << first << last << first << true << true;
        QTest::newRow("last day") << first << last << last << true << false;
        QTest::newRow("day before last") << first << last << last.addDays(-1) << true << true;
        QTest::newRow("after last day") << first << last << last.addDays(1) << false << false;
        QTest::newRow("still in use") << first << QDate() << QDate(2030, 1, 1) << true << true;
        QTest::newRow("no first day") << QDate() << last << QDate(1990, 1, 1) << true << true;
    }

    void daysOfUse()
    {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(QDate, day);
        QFETCH(bool, keyed);
        QFETCH(bool, imported);
        QCOMPARE(data::daysForKeyedPurchases(first, last).contains(day), keyed);
        QCOMPARE(data::daysForImportedPurchases(first, last).contains(day), imported);
    }
};

TEST_MAIN(QCoreApplication, TestFeeArithmetic)
#include "test_fee_arithmetic.moc"
