#include "data/filing_rule.h"

#include "text/formats.h"

namespace data {

std::optional<Filing> filing(int year, const std::optional<text::Money>& amount, text::Money threshold)
{
    if (usesHalfYears(year))
        return std::nullopt;
    if (amount && *amount <= threshold)
        return year >= firstYearWithoutSmallStatements && *amount <= smallFeeLimit ? Filing::NoStatement
                                                                                    : Filing::StatementWithoutPayment;
    return Filing::StatementAndPayment;
}

QString filingSentence(Filing f, text::Money threshold)
{
    switch (f) {
    case Filing::NoStatement:
        return QStringLiteral("Opłata nie przekracza %1: wykazu się nie składa, opłaty się nie wnosi.")
            .arg(text::formatMoney(smallFeeLimit));
    case Filing::StatementWithoutPayment:
        return QStringLiteral("Opłata nie przekracza %1: wykaz się składa, opłaty się nie wnosi.")
            .arg(text::formatMoney(threshold));
    case Filing::StatementAndPayment:
        break;
    }
    return QStringLiteral("Opłata przekracza %1: wykaz się składa i opłatę się wnosi.").arg(text::formatMoney(threshold));
}

QString filingShort(Filing f)
{
    switch (f) {
    case Filing::NoStatement:
        return QStringLiteral("bez wykazu");
    case Filing::StatementWithoutPayment:
        return QStringLiteral("wykaz, bez opłaty");
    case Filing::StatementAndPayment:
        break;
    }
    return QStringLiteral("wykaz i opłata");
}

QString filingCode(Filing f)
{
    switch (f) {
    case Filing::NoStatement:
        return QStringLiteral("bez_wykazu");
    case Filing::StatementWithoutPayment:
        return QStringLiteral("wykaz");
    case Filing::StatementAndPayment:
        break;
    }
    return QStringLiteral("wykaz_i_oplata");
}

} // namespace data
