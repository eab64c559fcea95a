#include "text/polish_order.h"

#include <QCollator>
#include <QLocale>

namespace text {

int comparePolish(const QString& a, const QString& b, Qt::CaseSensitivity cs)
{
    static const auto collatorFor = [](Qt::CaseSensitivity sensitivity) {
        QCollator c(QLocale(QLocale::Polish, QLocale::Poland));
        c.setCaseSensitivity(sensitivity);
        return c;
    };
    static const QCollator sensitive = collatorFor(Qt::CaseSensitive);
    static const QCollator insensitive = collatorFor(Qt::CaseInsensitive);
    return (cs == Qt::CaseSensitive ? sensitive : insensitive).compare(a, b);
}

} // namespace text
