#include "import/description.h"

#include <QList>

#include "data/quantity_limits.h"
#include "import/ledger_record.h"

namespace ledger {

bool readDecimalComma(const QString& text, double& value)
{
    // sign? digits [, digits] (exponent)? — written out, as it runs for every entry of a year
    const QString t = text.trimmed();
    qsizetype i = 0;
    QByteArray number;
    number.reserve(t.size());
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        number += static_cast<char>(t[i++].unicode());
    int digits = 0;
    bool comma = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9') {
            number += static_cast<char>(c);
            ++digits;
        } else if (c == u',' && !comma) {
            number += '.';
            comma = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        number += 'e';
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            number += static_cast<char>(t[i++].unicode());
        int exponentDigits = 0;
        for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++exponentDigits)
            number += static_cast<char>(t[i].unicode());
        if (exponentDigits == 0)
            return false;
    }
    if (i != t.size())
        return false;
    bool ok = false;
    value = number.toDouble(&ok);
    return ok;
}

Description rozbierz_opis(const QString& description)
{
    Description result;
    QString text = description;
    if (!text.contains(QLatin1Char('/')))
        return result;
    QList<qsizetype> slashes; // from the right
    for (qsizetype i = text.size() - 1; i >= 0 && slashes.size() < 3; --i)
        if (text[i] == QLatin1Char('/'))
            slashes << i;
    // A slash that ends the text is left out when two more precede it.
    if (slashes.size() == 3 && slashes.first() == text.size() - 1) {
        text.chop(1);
        slashes.removeFirst();
    }
    if (slashes.size() < 2)
        return result;
    QString quantity = trimmed(text.mid(slashes[0] + 1));
    const qsizetype point = quantity.indexOf(QLatin1Char('.'));
    if (point >= 0)
        quantity[point] = QLatin1Char(',');
    // A quantity beyond any invoice is as bad as one that is no number.
    if (!readDecimalComma(quantity, result.litres) || !data::plausibleLitres(result.litres)) {
        result.outcome = Description::Outcome::BadQuantity;
        return result;
    }
    result.registration = trimmed(text.mid(slashes[1] + 1, slashes[0] - slashes[1] - 1));
    result.outcome = result.registration.isEmpty() ? Description::Outcome::NoRegistration : Description::Outcome::Purchase;
    return result;
}

QString countLine(int count)
{
    const int last = count % 10;
    QString ending = QStringLiteral("ów");
    if (count == 1)
        ending.clear();
    else if (count >= 2 && count <= 4)
        ending = QStringLiteral("y");
    else if (count > 20 && last >= 2 && last <= 4)
        ending = QStringLiteral("y");
    return QStringLiteral("Zapisano %1 rekord%2").arg(count).arg(ending);
}

} // namespace ledger
