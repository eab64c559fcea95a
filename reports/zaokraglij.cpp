#include "reports/zaokraglij.h"

namespace reports {

namespace {

qint64 powerOfTen(int k)
{
    qint64 p = 1;
    for (int i = 0; i < k; ++i)
        p *= 10;
    return p;
}

} // namespace

double zaokraglij(quint8 a, quint8 b, bool halfUp, qint64 c, qint64 d)
{
    qint64 n = c * d;
    if (b < a) {
        const int k = a - b;
        const qint64 m = powerOfTen(k);
        const qint64 r = (n < 0 ? -n : n) % m;
        const qint64 h = 5 * powerOfTen(k - 1);
        const bool up = r > h || (r == h && halfUp);
        if (n >= 0)
            n = up ? n + (m - r) : n - r;
        else
            n = up ? n - (m - r) : n + r;
    }
    return static_cast<double>(n) / static_cast<double>(powerOfTen(a));
}

} // namespace reports
