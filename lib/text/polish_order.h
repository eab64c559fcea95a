#pragma once

#include <QString>

namespace text {

// Texts in the order of the Polish alphabet (Ć after C, Ż after Ź after Z), whatever the
// language settings of the machine the program runs on. Negative, zero or positive.
int comparePolish(const QString& a, const QString& b, Qt::CaseSensitivity cs = Qt::CaseSensitive);

// The order of the lists of names people choose from: the Polish alphabet, letter case aside.
inline bool beforeInNameOrder(const QString& a, const QString& b)
{
    return comparePolish(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace text
