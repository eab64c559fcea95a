#include "money.h"

#include <cmath>
#include <limits>

namespace text {

MoneyOverflow::MoneyOverflow()
    : std::range_error("Kwota przekracza zakres, który program może obliczyć (około 922 bilionów zł). "
                       "Sprawdź ilości paliwa, przeliczniki i stawki.")
{
}

namespace {

// 2^63, one past the largest number of units; a product within a unit of it could round onto it.
constexpr long double unitsLimit = 9223372036854775808.0L;

} // namespace

bool Money::fits(long double v)
{
    const long double units = v * 10000.0L;
    return std::isfinite(units) && units > 1.0L - unitsLimit && units < unitsLimit - 1.0L;
}

Money Money::fromDouble(long double v)
{
    if (!fits(v))
        throw MoneyOverflow();
    // The product is formed in the 80-bit format so that a value such as 0.00035, stored a
    // hair below the half, is not pushed onto the half by a double rounding.
    return fromUnits(llrintl(v * 10000.0L));
}

Money& Money::operator+=(Money o)
{
    qint64 sum;
    if (__builtin_add_overflow(units_, o.units_, &sum))
        throw MoneyOverflow();
    units_ = sum;
    return *this;
}

Money& Money::operator-=(Money o)
{
    qint64 difference;
    if (__builtin_sub_overflow(units_, o.units_, &difference))
        throw MoneyOverflow();
    units_ = difference;
    return *this;
}

bool Money::fromDecimalString(const QString& s, Money& out)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && s[i] == QLatin1Char('-')) {
        negative = true;
        ++i;
    }
    // Accumulated as a negative number so that the most negative amount still fits.
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    qint64 units = 0;
    int digits = 0;
    int decimals = -1; // -1 until the decimal point is met
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('.')) {
            if (decimals >= 0)
                return false;
            decimals = 0;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        if (decimals >= 0 && ++decimals > 4)
            return false;
        const int d = c.unicode() - '0';
        if (units < (lowest + d) / 10)
            return false;
        units = units * 10 - d;
        ++digits;
    }
    if (digits == 0)
        return false;
    for (int k = decimals < 0 ? 0 : decimals; k < 4; ++k) {
        if (units < lowest / 10)
            return false;
        units *= 10;
    }
    if (!negative) {
        if (units == lowest)
            return false;
        units = -units;
    }
    out = fromUnits(units);
    return true;
}

QString Money::toDecimalString(int decimals) const
{
    decimals = qBound(0, decimals, 4);
    qint64 divisor = 1;
    for (int k = decimals; k < 4; ++k)
        divisor *= 10;
    // Unsigned, so that the magnitude of the most negative amount is representable.
    const quint64 magnitude = units_ < 0 ? 0 - quint64(units_) : quint64(units_);
    const quint64 rounded = (magnitude + quint64(divisor / 2)) / quint64(divisor);
    qint64 scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    QString result = QString::number(rounded / quint64(scale));
    if (decimals > 0) {
        result += QLatin1Char('.');
        result += QStringLiteral("%1").arg(rounded % quint64(scale), decimals, 10, QLatin1Char('0'));
    }
    // An amount that rounds to nothing carries no sign.
    if (units_ < 0 && rounded != 0)
        result.prepend(QLatin1Char('-'));
    return result;
}

} // namespace text
