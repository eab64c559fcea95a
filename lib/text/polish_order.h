#pragma once

#include <QString>

namespace text {

// Texts in the order of the Polish alphabet (Ć after C, Ż after Ź after Z), whatever the
// language settings of the machine the program runs on. Negative, zero or positive.
int comparePolish(const QString& a, const QString& b, Qt::CaseSensitivity cs = Qt::CaseSensitive);

} // namespace text
