#include "report/values.h"

#include <QDate>

#include "text/formats.h"
#include "text/money.h"

namespace report {

std::optional<long double> numberOf(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    if (value.metaType() == QMetaType::fromType<text::Money>())
        return value.value<text::Money>().toLongDouble();
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return static_cast<long double>(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return static_cast<long double>(value.toDouble());
    default:
        return std::nullopt;
    }
}

QString formatValue(const QVariant& value, const QString& mask)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (const auto n = numberOf(value))
        return mask.isEmpty() ? text::formatGeneral(*n) : text::formatFloat(mask, *n);
    if (value.metaType() == QMetaType::fromType<QDate>())
        return mask.isEmpty() ? text::formatDate(value.toDate()) : value.toDate().toString(mask);
    return value.toString();
}

} // namespace report
