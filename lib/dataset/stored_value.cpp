#include "dataset/stored_value.h"

#include <QDateTime>

#include "dataset/field.h"
#include "firebird/numeric.h"
#include "text/money.h"

namespace ds {

QVariant fromDatabase(const Field& f, const QVariant& v)
{
    if (!v.isValid())
        return {};
    switch (f.type()) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        if (v.metaType() == QMetaType::fromType<fb::Numeric>())
            return f.convert(v);
        return v.toInt();
    case FieldType::Float:
        if (v.metaType() == QMetaType::fromType<double>())
            return v;
        return f.convert(v);
    case FieldType::Date:
        if (v.metaType() == QMetaType::fromType<QDateTime>())
            return v.toDateTime().date();
        return f.convert(v);
    case FieldType::String:
        if (v.metaType() == QMetaType::fromType<QString>())
            return v.toString().isEmpty() ? QVariant() : v;
        return f.convert(v);
    case FieldType::Decimal:
        return f.convert(v);
    }
    return v;
}

bool sameStored(const QVariant& a, const QVariant& b)
{
    auto isNothing = [](const QVariant& v) {
        return !v.isValid() || (v.metaType() == QMetaType::fromType<QString>() && v.toString().isEmpty());
    };
    if (isNothing(a) || isNothing(b))
        return isNothing(a) == isNothing(b);
    if (a.metaType() == QMetaType::fromType<text::Money>() && b.metaType() == QMetaType::fromType<text::Money>())
        return a.value<text::Money>() == b.value<text::Money>();
    if (a.metaType() == QMetaType::fromType<QDate>() || b.metaType() == QMetaType::fromType<QDate>())
        return a.toDate() == b.toDate();
    if (a.metaType() == b.metaType())
        return a == b;
    return a.toString() == b.toString();
}

} // namespace ds
