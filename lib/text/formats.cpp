#include "formats.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace text {

Formats& formats()
{
    static Formats instance;
    return instance;
}

void applyProgramFormats()
{
    // The defaults of Formats are the program's own settings.
    formats() = Formats{};
}

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(QStringView s)
{
    for (QChar c : s) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

} // namespace

// Dates -------------------------------------------------------------------------------

QString formatDate(const QDate& d)
{
    return d.isValid() ? d.toString(formats().shortDateFormat) : QString();
}

std::optional<QDate> parseDate(const QString& s)
{
    QString t = s.trimmed();
    // Digits alone, as a quick typist keys a date: day, month and year ("05032024", "050324").
    if ((t.size() == 8 || t.size() == 6) && allDigits(t))
        t = t.left(2) + formats().dateSeparator + t.mid(2, 2) + formats().dateSeparator + t.mid(4);
    QChar separator;
    for (QChar c : t) {
        if (!isAsciiDigit(c)) {
            separator = c;
            break;
        }
    }
    if (separator != formats().dateSeparator && separator != QLatin1Char('.')
        && separator != QLatin1Char('/'))
        return std::nullopt;
    // One separator throughout: "5-11.2004" is more likely a typing slip than a date.
    const QStringList parts = t.split(separator);
    if (parts.size() != 3)
        return std::nullopt;
    // A first group of four digits is a year: "2024-03-05" is the 5th of March, as ISO
    // writes it, never the 20th of March 2005.
    const bool yearFirst = parts[0].size() == 4;
    const QString& day = yearFirst ? parts[2] : parts[0];
    const QString& month = parts[1];
    const QString& year = yearFirst ? parts[0] : parts[2];
    if (day.isEmpty() || day.size() > 2 || !allDigits(day) || month.isEmpty() || month.size() > 2
        || !allDigits(month) || (year.size() != 2 && year.size() != 4) || !allDigits(year))
        return std::nullopt;
    int y = year.toInt();
    if (year.size() == 2)
        y += y < 50 ? 2000 : 1900;
    const QDate d(y, month.toInt(), day.toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString sqlDateLiteral(const QDate& d)
{
    // A missing date has no quoted form; NULL is what the SQL text needs in its place.
    if (!d.isValid())
        return QStringLiteral("NULL");
    return QLatin1Char('\'') + d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
}

// Texts -------------------------------------------------------------------------------

QString oneLine(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return QString(text).replace(breaks, QStringLiteral(" ")).trimmed();
}

// Numbers -----------------------------------------------------------------------------

namespace {

// The magnitude of a number after rounding: the integer digits without leading zeros
// ("" when the integer part is zero) and exactly as many fraction digits as asked for.
struct Rounded {
    std::string integer;
    std::string fraction;

    bool isZero() const { return integer.empty() && fraction.find_first_not_of('0') == std::string::npos; }
};

void addOneAtLastPlace(Rounded& r)
{
    for (auto it = r.fraction.rbegin(); it != r.fraction.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    for (auto it = r.integer.rbegin(); it != r.integer.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    r.integer.insert(r.integer.begin(), '1');
}

// |v| is first written with 15 significant digits, which hides the binary noise of values
// such as 1.005, and then rounded half away from zero on those decimal digits.
Rounded roundDecimal(long double v, int decimals)
{
    Rounded r;
    v = std::fabs(v);
    if (v != 0) {
        char buf[64];
        const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
        const std::string_view text(buf, written.ptr - buf); // "d.dddddddddddddde±x"
        const std::size_t e = text.find('e');
        std::string digits;
        for (char c : text.substr(0, e)) {
            if (c != '.')
                digits += c;
        }
        std::string_view exponentText = text.substr(e + 1);
        if (!exponentText.empty() && exponentText.front() == '+')
            exponentText.remove_prefix(1);
        int exponent = 0;
        std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

        // Below 10^(-decimals-1) the value rounds to zero; skipping it also spares writing
        // out thousands of leading zeros for tiny values.
        if (exponent >= -decimals - 1) {
            if (exponent >= 0) {
                const std::size_t integerDigits = std::size_t(exponent) + 1;
                if (digits.size() < integerDigits)
                    digits.append(integerDigits - digits.size(), '0');
                r.integer = digits.substr(0, integerDigits);
                r.fraction = digits.substr(integerDigits);
            } else {
                r.fraction = std::string(std::size_t(-exponent - 1), '0') + digits;
            }
            if (r.fraction.size() > std::size_t(decimals)) {
                const bool up = r.fraction[std::size_t(decimals)] >= '5';
                r.fraction.resize(std::size_t(decimals));
                if (up)
                    addOneAtLastPlace(r);
            }
        }
    }
    r.fraction.resize(std::size_t(decimals), '0');
    return r;
}

QString groupThousands(const std::string& digits, bool grouped)
{
    QString out;
    const std::size_t n = digits.size();
    for (std::size_t j = 0; j < n; ++j) {
        out += QLatin1Char(digits[j]);
        if (grouped && j + 1 < n && (n - 1 - j) % 3 == 0)
            out += formats().thousandSeparator;
    }
    return out;
}

QString formatPlain(long double v, int decimals, bool grouped)
{
    if (!std::isfinite(v))
        return formatGeneral(v);
    decimals = qMax(0, decimals);
    const Rounded r = roundDecimal(v, decimals);
    QString out;
    if (v < 0 && !r.isZero())
        out += QLatin1Char('-');
    out += groupThousands(r.integer.empty() ? std::string("0") : r.integer, grouped);
    if (decimals > 0) {
        out += formats().decimalSeparator;
        out += QLatin1String(r.fraction.data(), qsizetype(r.fraction.size()));
    }
    return out;
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

// Splits a mask at the semicolons outside quotes; only the first three sections count.
QStringList maskSections(const QString& mask)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    while (sections.size() > 3)
        sections.removeLast();
    return sections;
}

// What one section asks for.
struct Layout {
    int integerPlaces = 0; // '0' and '#' before the decimal point
    int minIntegerDigits = 0; // from the first '0' before the point to the point
    int decimals = 0; // '0' and '#' after the decimal point
    int minDecimals = 0; // up to the last '0' after the point
    bool thousands = false;
    bool hasPoint = false;
    bool ownSign = false; // a '-' or '(' outside quotes
};

Layout analyse(const QString& section)
{
    Layout l;
    int firstZero = -1;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (isQuote(c)) {
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (l.hasPoint) {
                ++l.decimals;
                if (c == QLatin1Char('0'))
                    l.minDecimals = l.decimals;
            } else {
                if (c == QLatin1Char('0') && firstZero < 0)
                    firstZero = l.integerPlaces;
                ++l.integerPlaces;
            }
        } else if (c == QLatin1Char('.')) {
            l.hasPoint = true;
        } else if (c == QLatin1Char(',')) {
            if (!l.hasPoint)
                l.thousands = true;
        } else if (c == QLatin1Char('-') || c == QLatin1Char('(')) {
            l.ownSign = true;
        }
    }
    if (firstZero >= 0)
        l.minIntegerDigits = l.integerPlaces - firstZero;
    return l;
}

// Walks the section again, putting the digits in place of the placeholders. Integer digits
// beyond the placeholders all come out at the first one; a section without integer
// placeholders writes them at its decimal point.
QString render(const QString& section, const Layout& l, const Rounded& r)
{
    std::string integer = r.integer;
    if (int(integer.size()) < l.minIntegerDigits)
        integer.insert(0, std::size_t(l.minIntegerDigits) - integer.size(), '0');
    int shownDecimals = l.decimals;
    while (shownDecimals > l.minDecimals && r.fraction[std::size_t(shownDecimals) - 1] == '0')
        --shownDecimals;

    const Formats& f = formats();
    const int digitCount = int(integer.size());
    QString out;
    auto putIntegerDigit = [&](int j) {
        out += QLatin1Char(integer[std::size_t(j)]);
        if (l.thousands && j + 1 < digitCount && (digitCount - 1 - j) % 3 == 0)
            out += f.thousandSeparator;
    };

    int integerIndex = 0;
    int fractionIndex = 0;
    bool pointSeen = false;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (isQuote(c)) {
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (pointSeen) {
                if (fractionIndex < shownDecimals)
                    out += QLatin1Char(r.fraction[std::size_t(fractionIndex)]);
                ++fractionIndex;
            } else {
                // Placeholder i holds digit i - (places - digits); the first one also takes
                // every digit to its left.
                const int last = integerIndex - (l.integerPlaces - digitCount);
                const int first = integerIndex == 0 ? 0 : last;
                for (int j = qMax(first, 0); j <= last; ++j)
                    putIntegerDigit(j);
                ++integerIndex;
            }
        } else if (c == QLatin1Char('.') && !pointSeen) {
            pointSeen = true;
            if (l.integerPlaces == 0) {
                for (int j = 0; j < digitCount; ++j)
                    putIntegerDigit(j);
            }
            if (shownDecimals > 0)
                out += f.decimalSeparator;
        } else if (c != QLatin1Char(',')) {
            out += c;
        }
    }
    return out;
}

} // namespace

QString formatFloat(const QString& mask, long double value)
{
    if (mask.isEmpty() || !std::isfinite(value))
        return formatGeneral(value);
    const QStringList sections = maskSections(mask);
    bool negative = value < 0;
    // An empty negative section leaves negatives to the positive one (with a minus).
    const bool useNegativeSection = negative && sections.size() > 1 && !sections[1].isEmpty();
    QString section = useNegativeSection ? sections[1] : sections[0];
    Layout layout = analyse(section);
    Rounded rounded = roundDecimal(value, layout.decimals);
    bool signInSection = useNegativeSection && layout.ownSign;
    if (rounded.isZero()) {
        // Whatever rounds to zero is shown as zero, never as "-0,00".
        negative = false;
        signInSection = false;
        if (sections.size() > 2)
            section = sections[2];
        else
            section = sections[0];
        layout = analyse(section);
        rounded = roundDecimal(0, layout.decimals);
    }
    QString out = render(section, layout, rounded);
    if (negative && !signInSection)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString formatFixed(long double v, int decimals)
{
    return formatPlain(v, decimals, false);
}

QString formatNumber(long double v, int decimals)
{
    return formatPlain(v, decimals, true);
}

QString formatGeneral(long double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (v == 0) // also -0, which would otherwise print as "-0"
        return QStringLiteral("0");
    char buf[64];
    // to_chars, unlike printf, ignores the C locale that Qt sets from the environment.
    const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    QString out = QString::fromLatin1(buf, written.ptr - buf);
    out.replace(QLatin1Char('.'), formats().decimalSeparator);
    return out;
}

namespace {

// Digits with thousands marks: a first group of one to three digits, then groups of three.
bool inGroupsOfThree(QStringView s, QChar mark)
{
    const auto groups = s.split(mark);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView g = groups[i];
        const bool sizeOk = i == 0 ? (g.size() >= 1 && g.size() <= 3) : g.size() == 3;
        if (!sizeOk || !allDigits(g))
            return false;
    }
    return true;
}

// The integer digits of `s`, which may be written with thousands marks; false when malformed.
bool integerDigits(QStringView s, QChar mark, QString& digits)
{
    if (s.contains(mark)) {
        if (!inGroupsOfThree(s, mark))
            return false;
        digits = s.toString().remove(mark);
        return true;
    }
    if (!allDigits(s))
        return false;
    digits = s.toString();
    return true;
}

} // namespace

std::optional<long double> parseFloat(const QString& s)
{
    const Formats& f = formats();
    const QString trimmed = s.trimmed();
    QStringView t(trimmed);
    bool negative = false;
    if (!t.isEmpty() && (t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+'))) {
        negative = t.front() == QLatin1Char('-');
        t = t.mid(1);
    }

    QStringView integerPart = t;
    QStringView fractionPart;
    const QLatin1Char dot('.');
    const qsizetype decimalAt = t.indexOf(f.decimalSeparator);
    if (decimalAt >= 0) {
        if (t.indexOf(f.decimalSeparator, decimalAt + 1) >= 0)
            return std::nullopt;
        integerPart = t.left(decimalAt);
        fractionPart = t.mid(decimalAt + 1);
    } else if (t.contains(dot) && !(f.thousandSeparator == dot && inGroupsOfThree(t, dot))) {
        // Not thousands marks, so the "." typed on a numeric keypad stands for the point.
        const qsizetype dotAt = t.indexOf(dot);
        if (t.indexOf(dot, dotAt + 1) >= 0)
            return std::nullopt;
        integerPart = t.left(dotAt);
        fractionPart = t.mid(dotAt + 1);
    }

    QString digits;
    if (!integerDigits(integerPart, f.thousandSeparator, digits) || !allDigits(fractionPart))
        return std::nullopt;
    if (digits.isEmpty() && fractionPart.isEmpty())
        return std::nullopt;

    std::string number = digits.isEmpty() ? std::string("0") : digits.toStdString();
    if (!fractionPart.isEmpty())
        number += '.' + fractionPart.toString().toStdString();
    long double value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != number.data() + number.size())
        return std::nullopt;
    return negative ? -value : value;
}

// Money -------------------------------------------------------------------------------

QString formatMoney(const Money& m)
{
    const Formats& f = formats();
    const int decimals = qMax(0, f.currencyDecimals);
    // The exact decimal text of the amount, then dressed in the program's separators.
    const QString plain = m.toDecimalString(qMin(decimals, 4));
    const bool negative = plain.startsWith(QLatin1Char('-'));
    const QStringView unsignedText = QStringView(plain).mid(negative ? 1 : 0);
    const qsizetype pointAt = unsignedText.indexOf(QLatin1Char('.'));
    const QStringView integer = pointAt >= 0 ? unsignedText.left(pointAt) : unsignedText;
    QString fraction = pointAt >= 0 ? unsignedText.mid(pointAt + 1).toString() : QString();
    fraction = fraction.leftJustified(decimals, QLatin1Char('0'));

    QString out;
    if (negative)
        out += QLatin1Char('-');
    out += groupThousands(integer.toString().toStdString(), true);
    if (decimals > 0)
        out += f.decimalSeparator + fraction;
    if (!f.currencySymbol.isEmpty())
        out += QLatin1Char(' ') + f.currencySymbol;
    return out;
}

} // namespace text
