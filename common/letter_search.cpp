#include "common/letter_search.h"

namespace common {

std::optional<QChar> searchLetter(const QString& typed)
{
    if (typed.size() != 1)
        return std::nullopt;
    const QChar upper = typed.toUpper().at(0);
    static const QString polish = QStringLiteral("ĄĆĘŁŃÓŚŹŻ");
    if ((upper >= QLatin1Char('A') && upper <= QLatin1Char('Z')) || polish.contains(upper))
        return upper;
    return std::nullopt;
}

int firstItemStartingWith(const QStringList& items, QChar letter)
{
    for (int i = 0; i < items.size(); ++i)
        if (!items[i].isEmpty() && items[i].left(1).toUpper().at(0) == letter)
            return i;
    return -1;
}

} // namespace common
