#include "firebird/sqlda.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>

#include "firebird/error.h"
#include "firebird/numeric.h"
#include "text/cp1250.h"
#include "text/money.h"

namespace fb {

namespace {

constexpr qint64 pow10(int n)
{
    qint64 r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

// value × 10^from expressed as a whole number of 10^to units, a half rounded away from zero.
qint64 rescale(qint64 value, int from, int to)
{
    if (from == to)
        return value;
    if (from > to)
        return value * pow10(from - to);
    const qint64 d = pow10(to - from);
    const qint64 q = value / d;
    const qint64 r = value % d;
    if (2 * std::llabs(r) >= d)
        return q + (value < 0 ? -1 : 1);
    return q;
}

ISC_TIMESTAMP encodeTimestamp(const QDate& date, const QTime& time)
{
    std::tm tm{};
    tm.tm_year = date.year() - 1900;
    tm.tm_mon = date.month() - 1;
    tm.tm_mday = date.day();
    tm.tm_hour = time.hour();
    tm.tm_min = time.minute();
    tm.tm_sec = time.second();
    ISC_TIMESTAMP ts;
    isc_encode_timestamp(&tm, &ts);
    ts.timestamp_time += static_cast<ISC_TIME>(time.msec() * 10);
    return ts;
}

QDate decodeDate(ISC_DATE d)
{
    std::tm tm{};
    isc_decode_sql_date(&d, &tm);
    return QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

QTime decodeTime(ISC_TIME t)
{
    std::tm tm{};
    isc_decode_sql_time(&t, &tm);
    return QTime(tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>((t % 10000) / 10));
}

QString variantText(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<QDate>())
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (v.metaType() == QMetaType::fromType<QDateTime>())
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (v.metaType() == QMetaType::fromType<double>())
        return QString::number(v.toDouble(), 'g', 17);
    if (v.metaType() == QMetaType::fromType<text::Money>())
        return v.value<text::Money>().toDecimalString(4);
    if (v.metaType() == QMetaType::fromType<Numeric>()) {
        const Numeric n = v.value<Numeric>();
        const long double x = static_cast<long double>(n.value) / static_cast<long double>(pow10(-n.scale));
        return QString::number(static_cast<double>(x), 'f', -n.scale);
    }
    return v.toString();
}

bool isNumberVariant(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return v.metaType() == QMetaType::fromType<Numeric>() || v.metaType() == QMetaType::fromType<text::Money>();
    }
}

// The value as a whole number of 10^scale units.
qint64 scaledInteger(const QVariant& v, int scale)
{
    if (v.metaType() == QMetaType::fromType<Numeric>()) {
        const Numeric n = v.value<Numeric>();
        return rescale(n.value, n.scale, scale);
    }
    if (v.metaType() == QMetaType::fromType<text::Money>())
        return rescale(v.value<text::Money>().units(), -4, scale);
    if (v.metaType() == QMetaType::fromType<double>() || v.metaType() == QMetaType::fromType<float>()) {
        const long double x = static_cast<long double>(v.toDouble()) * static_cast<long double>(pow10(-scale));
        if (!std::isfinite(x) || std::fabs(x) > 9.2e18L)
            throw Error(QStringLiteral("Wartość %1 jest poza zakresem pola.").arg(v.toDouble()));
        return std::llroundl(x);
    }
    return rescale(v.toLongLong(), 0, scale);
}

} // namespace

Sqlda::Sqlda(int capacity)
{
    ensureCapacity(capacity < 1 ? 1 : capacity);
}

bool Sqlda::ensureCapacity(int needed)
{
    if (da_ && da_->sqln >= needed)
        return false;
    auto* p = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(needed)));
    if (!p)
        throw std::bad_alloc();
    p->version = SQLDA_VERSION1;
    p->sqln = static_cast<ISC_SHORT>(needed);
    da_.reset(p);
    return true;
}

void Sqlda::declare(int count)
{
    ensureCapacity(count);
    da_->sqld = static_cast<ISC_SHORT>(count);
}

void Sqlda::awaitRow()
{
    for (int i = 0; i < count(); ++i) {
        var(i).sqltype = static_cast<ISC_SHORT>(var(i).sqltype | 1);
        nulls_.at(i) = -1;
    }
}

bool Sqlda::rowCame() const
{
    for (int i = 0; i < count(); ++i)
        if (nulls_.at(i) >= 0)
            return true;
    return false;
}

void Sqlda::bindOutputBuffers()
{
    const int n = count();
    data_.assign(n, QByteArray());
    nulls_.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = var(i);
        int size = v.sqllen;
        if ((v.sqltype & ~1) == SQL_VARYING)
            size += 2;
        data_[i].resize(size > 0 ? size : 1);
        v.sqldata = data_[i].data();
        v.sqlind = &nulls_[i];
    }
}

QVariant Sqlda::value(int i) const
{
    const XSQLVAR& v = var(i);
    if ((v.sqltype & 1) && v.sqlind && *v.sqlind < 0)
        return {};
    const char* d = v.sqldata;
    auto integer = [&](qint64 raw) -> QVariant {
        if (v.sqlscale < 0)
            return QVariant::fromValue(Numeric{raw, v.sqlscale});
        return raw >= std::numeric_limits<int>::min() && raw <= std::numeric_limits<int>::max()
                   ? QVariant(static_cast<int>(raw)) : QVariant(static_cast<qlonglong>(raw));
    };
    switch (v.sqltype & ~1) {
    case SQL_SHORT: { ISC_SHORT x; std::memcpy(&x, d, sizeof x); return integer(x); }
    case SQL_LONG: { ISC_LONG x; std::memcpy(&x, d, sizeof x); return integer(x); }
    case SQL_INT64: { ISC_INT64 x; std::memcpy(&x, d, sizeof x); return integer(x); }
    case SQL_FLOAT: { float x; std::memcpy(&x, d, sizeof x); return static_cast<double>(x); }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: { double x; std::memcpy(&x, d, sizeof x); return x; }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts; std::memcpy(&ts, d, sizeof ts);
        return QDateTime(decodeDate(ts.timestamp_date), decodeTime(ts.timestamp_time), Qt::UTC);
    }
    case SQL_TYPE_DATE: { ISC_DATE x; std::memcpy(&x, d, sizeof x); return decodeDate(x); }
    case SQL_TYPE_TIME: { ISC_TIME x; std::memcpy(&x, d, sizeof x); return decodeTime(x); }
    case SQL_TEXT: return text::fromCp1250(d, v.sqllen);
    case SQL_VARYING: {
        unsigned short len; std::memcpy(&len, d, sizeof len);
        return text::fromCp1250(d + 2, len);
    }
    case SQL_BOOLEAN: return *reinterpret_cast<const unsigned char*>(d) != 0;
    default:
        throw Error(QStringLiteral("Nieobsługiwany typ kolumny %1.").arg(v.sqltype & ~1));
    }
}

void Sqlda::setValue(int i, const QVariant& value)
{
    if (static_cast<int>(data_.size()) < count()) {
        data_.resize(count());
        nulls_.resize(count(), 0);
        describedType_.resize(count(), 0);
        describedLength_.resize(count(), 0);
    }
    XSQLVAR& v = var(i);
    if (describedType_[i] == 0) {
        describedType_[i] = static_cast<short>(v.sqltype & ~1);
        describedLength_[i] = v.sqllen;
    }
    v.sqlind = &nulls_[i];
    const short type = describedType_[i];
    const bool isNull = !value.isValid() || value.isNull()
                        || (value.metaType() == QMetaType::fromType<QString>() && value.toString().isNull());
    if (isNull) {
        v.sqltype = static_cast<ISC_SHORT>(type | 1);
        nulls_[i] = -1;
        data_[i].resize(describedLength_[i] > 0 ? describedLength_[i] + 2 : 8);
        v.sqldata = data_[i].data();
        return;
    }
    nulls_[i] = 0;
    QByteArray& buf = data_[i];
    auto asText = [&](const QString& s) {
        QChar bad;
        const auto bytes = text::toCp1250(s, &bad);
        if (!bytes)
            throw Error(QStringLiteral("Znak „%1” nie może być zapisany w bazie danych (strona kodowa Windows-1250).").arg(bad));
        buf = *bytes;
        // A text the column cannot hold is refused here: cut to 16 bits by the client, it
        // would reach the database as another text.
        const bool textColumn = type == SQL_TEXT || type == SQL_VARYING;
        const qsizetype room = textColumn && describedLength_[i] > 0 ? describedLength_[i] : 32767;
        if (buf.size() > room)
            throw Error(QStringLiteral("Tekst „%1…” ma %2 znaków, a pole w bazie danych mieści najwyżej %3.")
                            .arg(s.left(20))
                            .arg(s.size())
                            .arg(room));
        if (buf.isEmpty())
            buf.reserve(1);
        v.sqltype = SQL_TEXT | 1;
        v.sqllen = static_cast<ISC_SHORT>(buf.size());
        v.sqldata = buf.data();
    };
    auto store = [&](const auto& x) {
        buf.resize(sizeof x);
        std::memcpy(buf.data(), &x, sizeof x);
        v.sqltype = static_cast<ISC_SHORT>(type | 1);
        v.sqldata = buf.data();
    };
    const bool isText = value.metaType() == QMetaType::fromType<QString>()
                        || value.metaType() == QMetaType::fromType<QByteArray>();
    switch (type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        if (!isNumberVariant(value)) {
            asText(variantText(value));
            return;
        }
        const qint64 x = scaledInteger(value, v.sqlscale);
        const qint64 limit = type == SQL_SHORT ? 32767 : type == SQL_LONG ? 2147483647LL
                                                                          : std::numeric_limits<qint64>::max();
        if (x > limit || x < -limit - 1)
            throw Error(QStringLiteral("Wartość %1 jest poza zakresem pola.").arg(variantText(value)));
        if (type == SQL_SHORT) store(static_cast<ISC_SHORT>(x));
        else if (type == SQL_LONG) store(static_cast<ISC_LONG>(x));
        else store(static_cast<ISC_INT64>(x));
        return;
    }
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        if (!isNumberVariant(value)) {
            asText(variantText(value));
            return;
        }
        double x;
        if (value.metaType() == QMetaType::fromType<text::Money>())
            x = value.value<text::Money>().toDouble();
        else if (value.metaType() == QMetaType::fromType<Numeric>()) {
            const Numeric n = value.value<Numeric>();
            x = static_cast<double>(static_cast<long double>(n.value) / static_cast<long double>(pow10(-n.scale)));
        } else
            x = value.toDouble();
        if (type == SQL_FLOAT)
            store(static_cast<float>(x));
        else
            store(x);
        return;
    }
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME: {
        QDate date;
        QTime time(0, 0);
        if (value.metaType() == QMetaType::fromType<QDate>())
            date = value.toDate();
        else if (value.metaType() == QMetaType::fromType<QDateTime>()) {
            date = value.toDateTime().date();
            time = value.toDateTime().time();
        } else if (value.metaType() == QMetaType::fromType<QTime>())
            time = value.toTime();
        else {
            asText(variantText(value));
            return;
        }
        const ISC_TIMESTAMP ts = encodeTimestamp(date.isValid() ? date : QDate(1858, 11, 17), time);
        if (type == SQL_TIMESTAMP) store(ts);
        else if (type == SQL_TYPE_DATE) store(ts.timestamp_date);
        else store(ts.timestamp_time);
        return;
    }
    case SQL_BOOLEAN:
        if (!isText) {
            store(static_cast<unsigned char>(value.toBool() ? 1 : 0));
            return;
        }
        asText(value.toString());
        return;
    default:
        asText(isText && value.metaType() == QMetaType::fromType<QByteArray>() ? QString::fromLatin1(value.toByteArray())
                                                                                : variantText(value));
        return;
    }
}

} // namespace fb
