#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <stdexcept>

namespace text {

// An amount beyond what Money holds (about ±922 337 203 685 477 zł): arithmetic that would
// wrap around throws this instead. what() is the text for the user, UTF-8.
class MoneyOverflow : public std::range_error {
public:
    MoneyOverflow();
};

// An exact amount with four decimal places (ten-thousandths of a złoty), held as a
// scaled 64-bit integer, so that sums of fees never drift.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { Money m; m.units_ = units; return m; }
    // Rounds v × 10 000 to the nearest whole unit, a half going to the even unit
    // (the way an x87 store into a scaled integer rounds). Throws MoneyOverflow when v is not
    // a number or does not fit.
    static Money fromDouble(long double v);
    static bool fits(long double v);
    // Parses "1234.5", "-0.0001" (decimal point, no thousands marks); false on anything else
    // or on more than four decimals.
    static bool fromDecimalString(const QString& s, Money& out);

    constexpr qint64 units() const { return units_; }
    long double toLongDouble() const { return static_cast<long double>(units_) / 10000.0L; }
    double toDouble() const { return static_cast<double>(toLongDouble()); }

    // "1234.50": decimal point, no thousands marks, `decimals` places (0..4),
    // a half at the last place rounded away from zero.
    QString toDecimalString(int decimals = 2) const;

    // Exact; throw MoneyOverflow rather than wrap around.
    Money& operator+=(Money o);
    Money& operator-=(Money o);
    friend Money operator+(Money a, Money b) { return a += b; }
    friend Money operator-(Money a, Money b) { return a -= b; }
    friend Money operator-(Money a) { return Money() -= a; }
    friend constexpr auto operator<=>(Money, Money) = default;

private:
    qint64 units_ = 0;
};

} // namespace text

Q_DECLARE_METATYPE(text::Money)
