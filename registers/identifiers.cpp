#include "registers/identifiers.h"

#include <array>
#include <span>

#include "text/cp1250.h"

namespace registers {

namespace {

constexpr std::array<int, 9> nipWeights{6, 5, 7, 2, 3, 4, 5, 6, 7};
constexpr std::array<int, 8> regonWeights{8, 9, 2, 3, 4, 5, 6, 7};

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The check shared by NIP and REGON: the weighted sum of the digits before the last
// character, of which there must be exactly as many as weights, modulo 11 (10 counting
// as 0), must equal the last character.
bool checkDigitRight(const QString& text, std::span<const int> weights)
{
    CharSet separators;
    separators.set('-');
    separators.set('_');
    const QString t = usun_znaki(trimControls(text), separators);
    int digits = 0;
    int sum = 0;
    for (qsizetype i = 0; i + 1 < t.size(); ++i) {
        if (!isAsciiDigit(t[i]))
            continue;
        if (digits < static_cast<int>(weights.size()))
            sum += (t[i].unicode() - '0') * weights[digits];
        ++digits;
    }
    if (digits != static_cast<int>(weights.size()))
        return false;
    const int remainder = sum % 11 == 10 ? 0 : sum % 11;
    return t.back() == QChar(static_cast<char16_t>(u'0' + remainder));
}

} // namespace

unsigned char cp1250Code(QChar c)
{
    if (c.unicode() < 128)
        return static_cast<unsigned char>(c.unicode());
    const auto bytes = text::toCp1250(QString(c));
    return bytes && bytes->size() == 1 ? static_cast<unsigned char>(bytes->at(0)) : '?';
}

QString usun_znak(const QString& text, QChar c)
{
    QString result = text;
    result.remove(c);
    return result;
}

QString usun_znaki(const QString& text, const CharSet& set)
{
    QString result = text;
    for (int code = 0; code < 256; ++code) {
        if (!set.test(code))
            continue;
        const char byte = static_cast<char>(code);
        const QString c = text::fromCp1250(&byte, 1);
        result = usun_znak(result, c.at(0));
    }
    return result;
}

QString trimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

bool spr_nip(const QString& text)
{
    return checkDigitRight(text, nipWeights);
}

bool spr_regon(const QString& text)
{
    return checkDigitRight(text, regonWeights);
}

} // namespace registers
