#pragma once

#include <QMetaType>
#include <QtGlobal>

namespace fb {

// An exact NUMERIC/DECIMAL value as the server stores it: value × 10^scale (scale ≤ 0).
struct Numeric {
    qint64 value = 0;
    int scale = 0;
    friend bool operator==(const Numeric&, const Numeric&) = default;
};

} // namespace fb

Q_DECLARE_METATYPE(fb::Numeric)
