#include "dataset/field.h"

#include <QDateTime>

#include <cmath>

#include "dataset/dataset.h"
#include "dataset/error.h"
#include "firebird/numeric.h"
#include "text/formats.h"

namespace ds {

namespace {

const QMetaType moneyType = QMetaType::fromType<text::Money>();

text::Money roundToScale(text::Money m, int scale)
{
    if (scale >= 4)
        return m;
    qint64 unit = 1;
    for (int i = scale; i < 4; ++i)
        unit *= 10;
    const qint64 u = m.units();
    qint64 q = u / unit;
    const qint64 r = u % unit;
    if (2 * (r < 0 ? -r : r) >= unit)
        q += u < 0 ? -1 : 1;
    return text::Money::fromUnits(q * unit);
}

long double numberOf(const QVariant& v)
{
    if (v.metaType() == moneyType)
        return v.value<text::Money>().toLongDouble();
    if (v.metaType() == QMetaType::fromType<fb::Numeric>()) {
        const fb::Numeric n = v.value<fb::Numeric>();
        long double x = static_cast<long double>(n.value);
        for (int i = n.scale; i < 0; ++i)
            x /= 10;
        return x;
    }
    return static_cast<long double>(v.toDouble());
}

bool isNumberVariant(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Double: case QMetaType::Float:
        return true;
    default:
        return v.metaType() == moneyType || v.metaType() == QMetaType::fromType<fb::Numeric>();
    }
}

} // namespace

Field::Field(Dataset* owner, int index, const QString& name, FieldType type, FieldKind kind, int size, int scale)
    : owner_(owner), index_(index), name_(name), type_(type), kind_(kind), size_(size), scale_(scale)
{
}

bool Field::isNumeric() const
{
    return type_ == FieldType::SmallInt || type_ == FieldType::Integer || type_ == FieldType::Float
           || type_ == FieldType::Decimal;
}

Field& Field::setLookup(const QString& keyFields, Dataset* lookup, const QString& lookupKeyFields,
                        const QString& resultField)
{
    keyFields_ = keyFields;
    lookupDataset_ = lookup;
    lookupKeyFields_ = lookupKeyFields;
    lookupResultField_ = resultField;
    return *this;
}

int Field::displayWidth() const
{
    if (displayWidth_ > 0)
        return displayWidth_;
    switch (type_) {
    case FieldType::String: return size_ > 0 ? size_ : 20;
    case FieldType::Date: return 10;
    case FieldType::SmallInt: return 6;
    case FieldType::Integer: return 11;
    // Seven digits before the comma: "1234567,00", and as money "1.234.567,89 zł".
    default: return currency_ ? 15 : 10;
    }
}

QVariant Field::convert(const QVariant& v) const
{
    if (!v.isValid() || v.isNull())
        return {};
    const bool isText = v.metaType() == QMetaType::fromType<QString>();
    const QString textValue = isText ? v.toString() : QString();
    if (isText && type_ != FieldType::String && textValue.trimmed().isEmpty())
        return {};
    switch (type_) {
    case FieldType::String: {
        QString s = v.metaType() == QMetaType::fromType<QDate>() ? text::formatDate(v.toDate()) : v.toString();
        if (s.isEmpty())
            return {};
        if (size_ > 0 && s.size() > size_)
            throw Error(QStringLiteral("Wartość pola '%1' może mieć najwyżej %2 znaków.").arg(displayName()).arg(size_));
        return s;
    }
    case FieldType::SmallInt:
    case FieldType::Integer: {
        long double x;
        if (isText) {
            const auto parsed = text::parseFloat(textValue);
            if (!parsed || *parsed != std::floor(*parsed))
                throw Error(QStringLiteral("'%1' nie jest poprawną liczbą całkowitą (pole '%2').").arg(textValue.trimmed(), displayName()));
            x = *parsed;
        } else if (isNumberVariant(v)) {
            x = numberOf(v);
        } else {
            throw Error(QStringLiteral("Pole '%1' przyjmuje tylko liczby całkowite.").arg(displayName()));
        }
        const long double low = type_ == FieldType::SmallInt ? -32768.0L : -2147483648.0L;
        const long double high = type_ == FieldType::SmallInt ? 32767.0L : 2147483647.0L;
        if (x < low || x > high)
            throw Error(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                            .arg(text::formatGeneral(x), displayName(), text::formatGeneral(low), text::formatGeneral(high)));
        return static_cast<int>(std::llroundl(x));
    }
    case FieldType::Float:
    case FieldType::Decimal: {
        long double x;
        if (isText) {
            const auto parsed = text::parseFloat(textValue);
            if (!parsed)
                throw Error(QStringLiteral("'%1' nie jest poprawną liczbą (pole '%2').").arg(textValue.trimmed(), displayName()));
            x = *parsed;
        } else if (isNumberVariant(v)) {
            if (type_ == FieldType::Decimal && v.metaType() == moneyType)
                return QVariant::fromValue(roundToScale(v.value<text::Money>(), scale_));
            x = numberOf(v);
        } else {
            throw Error(QStringLiteral("Pole '%1' przyjmuje tylko liczby.").arg(displayName()));
        }
        if (type_ == FieldType::Float)
            return static_cast<double>(x);
        if (!std::isfinite(x) || std::fabs(x) > 9.2e14L)
            throw Error(QStringLiteral("Wartość %1 jest poza zakresem pola '%2'.").arg(text::formatGeneral(x), displayName()));
        return QVariant::fromValue(roundToScale(text::Money::fromDouble(x), scale_));
    }
    case FieldType::Date: {
        if (v.metaType() == QMetaType::fromType<QDate>())
            return v.toDate().isValid() ? v : QVariant();
        if (v.metaType() == QMetaType::fromType<QDateTime>())
            return v.toDateTime().date();
        const auto parsed = text::parseDate(v.toString());
        if (!parsed)
            throw Error(QStringLiteral("'%1' nie jest poprawną datą (pole '%2'). Wpisz datę jako dd-mm-rrrr.").arg(v.toString().trimmed(), displayName()));
        return *parsed;
    }
    }
    return {};
}

void Field::checkRange(const QVariant& v) const
{
    if (!range_ || !v.isValid())
        return;
    const long double x = numberOf(v);
    if (x < range_->first || x > range_->second)
        throw Error(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                        .arg(text::formatGeneral(x), displayName(), text::formatGeneral(range_->first),
                             text::formatGeneral(range_->second)));
}

QVariant Field::value() const
{
    if (kind_ == FieldKind::Lookup) {
        if (!lookupDataset_)
            return {};
        QVariantList keys;
        for (const QString& k : keyFields_.split(QLatin1Char(';')))
            keys << owner_->fieldByName(k.trimmed()).value();
        return lookupDataset_->lookup(lookupKeyFields_.split(QLatin1Char(';')), keys, lookupResultField_);
    }
    return owner_->activeValue(index_);
}

QVariant Field::oldValue() const
{
    if (kind_ == FieldKind::Data && owner_->state() == DatasetState::Edit)
        return owner_->oldRowValue(index_);
    return value();
}

QVariant Field::valueAt(int row) const
{
    if (kind_ == FieldKind::Lookup) {
        if (!lookupDataset_)
            return {};
        QVariantList keys;
        for (const QString& k : keyFields_.split(QLatin1Char(';')))
            keys << owner_->fieldByName(k.trimmed()).valueAt(row);
        return lookupDataset_->lookup(lookupKeyFields_.split(QLatin1Char(';')), keys, lookupResultField_);
    }
    return owner_->rowValue(row, index_);
}

QString Field::asString() const
{
    const QVariant v = value();
    if (!v.isValid())
        return {};
    if (type_ == FieldType::Date)
        return text::formatDate(v.toDate());
    if (v.metaType() == moneyType)
        return text::formatGeneral(v.value<text::Money>().toLongDouble());
    if (v.metaType() == QMetaType::fromType<double>())
        return text::formatGeneral(v.toDouble());
    return v.toString();
}

int Field::asInteger() const
{
    const QVariant v = value();
    return v.isValid() ? static_cast<int>(std::llroundl(numberOf(v))) : 0;
}

double Field::asFloat() const
{
    const QVariant v = value();
    return v.isValid() ? static_cast<double>(numberOf(v)) : 0.0;
}

text::Money Field::asMoney() const
{
    const QVariant v = value();
    if (!v.isValid())
        return {};
    if (v.metaType() == moneyType)
        return v.value<text::Money>();
    return text::Money::fromDouble(numberOf(v));
}

QDate Field::asDate() const
{
    const QVariant v = value();
    return v.isValid() ? v.toDate() : QDate();
}

void Field::setValue(const QVariant& v)
{
    Dataset& ds = *owner_;
    if (ds.state() != DatasetState::CalcFields) {
        if (!ds.isEditing())
            throw Error(QStringLiteral("Zbiór danych %1 nie jest w trybie edycji.").arg(ds.name()));
        if (kind_ == FieldKind::Calculated)
            throw Error(QStringLiteral("Pola wyliczanego '%1' nie można zmieniać.").arg(displayName()));
        if (readOnly_)
            throw Error(QStringLiteral("Pola '%1' nie można zmieniać.").arg(displayName()));
    }
    if (kind_ == FieldKind::Lookup) {
        // Choosing a shown value chooses the key of the row that shows it.
        const QStringList keys = keyFields_.split(QLatin1Char(';'));
        const QStringList lookupKeys = lookupKeyFields_.split(QLatin1Char(';'));
        QVariantList found;
        if (v.isValid() && !v.isNull() && lookupDataset_) {
            for (const QString& lk : lookupKeys)
                found << lookupDataset_->lookup({lookupResultField_}, {v}, lk.trimmed());
            if (!found.isEmpty() && !found.first().isValid())
                throw Error(QStringLiteral("Wartość '%1' nie występuje na liście pola '%2'.").arg(v.toString(), displayName()));
        }
        for (int i = 0; i < keys.size(); ++i)
            ds.fieldByName(keys[i].trimmed()).setValue(i < found.size() ? found[i] : QVariant());
        return;
    }
    const QVariant converted = convert(v);
    checkRange(converted);
    ds.setActiveValue(*this, converted);
}

void Field::setText(const QString& text)
{
    setValue(text);
}

QString Field::format(const QVariant& v, bool forEdit) const
{
    if (!v.isValid())
        return {};
    switch (type_) {
    case FieldType::String:
        return v.toString();
    case FieldType::Date:
        return text::formatDate(v.toDate());
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Float:
    case FieldType::Decimal: {
        const long double x = numberOf(v);
        const QString& mask = forEdit && !editFormat_.isEmpty() ? editFormat_ : displayFormat_;
        if (!mask.isEmpty())
            return text::formatFloat(mask, x);
        if (currency_ && !forEdit && v.metaType() == moneyType)
            return text::formatMoney(v.value<text::Money>());
        if (currency_ && !forEdit && text::Money::fits(x))
            return text::formatMoney(text::Money::fromDouble(x));
        if (currency_) // an amount beyond money shows as the number it is, never wrapped
            return forEdit ? text::formatFixed(x, text::formats().currencyDecimals)
                           : text::formatNumber(x, text::formats().currencyDecimals) + QLatin1Char(' ') + text::formats().currencySymbol;
        return text::formatGeneral(x);
    }
    }
    return {};
}

QString Field::displayText() const { return format(value(), false); }
QString Field::editText() const { return format(value(), true); }
QString Field::displayTextAt(int row) const { return format(valueAt(row), false); }

} // namespace ds
