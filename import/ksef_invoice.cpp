#include "import/ksef_invoice.h"

namespace ksef {

std::optional<Millionths> parseMillionths(QStringView text)
{
    constexpr Millionths mostUnits = oneUnit * oneUnit; // a million million: within qint64 as millionths
    qsizetype i = 0;
    const bool negative = i < text.size() && text[i] == QLatin1Char('-');
    if (negative)
        ++i;
    Millionths whole = 0;
    int digits = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i, ++digits) {
        whole = whole * 10 + (text[i].unicode() - '0');
        if (whole >= mostUnits)
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    Millionths fraction = 0;
    int places = 0;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        for (++i; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i, ++places) {
            if (places == 6)
                return std::nullopt;
            fraction = fraction * 10 + (text[i].unicode() - '0');
        }
        if (places == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    for (int p = places; p < 6; ++p)
        fraction *= 10;
    const Millionths value = whole * oneUnit + fraction;
    return negative ? -value : value;
}

InvoiceRole roleOf(const QString& kind)
{
    if (kind == QLatin1String("VAT") || kind == QLatin1String("ROZ") || kind == QLatin1String("UPR"))
        return InvoiceRole::Delivery;
    if (kind == QLatin1String("KOR") || kind == QLatin1String("KOR_ROZ"))
        return InvoiceRole::Correction;
    if (kind == QLatin1String("ZAL") || kind == QLatin1String("KOR_ZAL"))
        return InvoiceRole::Advance;
    return InvoiceRole::Unknown;
}

} // namespace ksef
