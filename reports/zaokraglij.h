#pragma once

#include <QtGlobal>

namespace reports {

// Decimal rounding of a scaled whole number: the value (c × d) ÷ 10^a rounded to b decimal
// places (b < a), halves away from zero when halfUp is set, towards zero when it is not;
// b ≥ a leaves the value as it is. With (2, 0, true, 1, grosze) it gives whole złoty the
// way the aggregate statement's note 3) rounds: below 50 grosze down, from 50 grosze up.
double zaokraglij(quint8 a, quint8 b, bool halfUp, qint64 c, qint64 d);

} // namespace reports
