#include "firebird/one_request.h"

#include <ibase.h>

#include <QDate>
#include <QDateTime>

#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/numeric.h"
#include "firebird/sqlda.h"
#include "firebird/transaction.h"
#include "text/money.h"

namespace fb {

namespace {

constexpr short textRoom = 8000;

void declare(XSQLVAR& v, short type, short length, short scale = 0)
{
    v.sqltype = static_cast<ISC_SHORT>(type | 1);
    v.sqllen = length;
    v.sqlscale = scale;
}

// What the server is told a parameter is, from its value; setValue then stores it so.
void declareParameter(XSQLVAR& v, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return declare(v, SQL_TEXT, 1);
    if (value.metaType() == QMetaType::fromType<Numeric>())
        return declare(v, SQL_INT64, 8, static_cast<short>(value.value<Numeric>().scale));
    if (value.metaType() == QMetaType::fromType<text::Money>())
        return declare(v, SQL_INT64, 8, -4);
    switch (value.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Bool:
        return declare(v, SQL_INT64, 8);
    case QMetaType::Double: case QMetaType::Float:
        return declare(v, SQL_DOUBLE, 8);
    case QMetaType::QDate: case QMetaType::QDateTime:
        // Dialect 1 knows a date only as a timestamp.
        return declare(v, SQL_TIMESTAMP, 8);
    default:
        return declare(v, SQL_TEXT, 32767);
    }
}

void declareColumn(XSQLVAR& v, ColumnType type)
{
    switch (type) {
    case ColumnType::SmallInt: case ColumnType::Integer: case ColumnType::BigInt: return declare(v, SQL_INT64, 8);
    case ColumnType::Float: case ColumnType::Double: return declare(v, SQL_DOUBLE, 8);
    case ColumnType::Timestamp: case ColumnType::Date: return declare(v, SQL_TIMESTAMP, 8);
    case ColumnType::Boolean: return declare(v, SQL_BOOLEAN, 1);
    default: return declare(v, SQL_VARYING, textRoom);
    }
}

} // namespace

std::optional<QVariantList> runOnce(Connection& connection, Transaction& transaction, const QString& sql,
                                    const QVariantList& parameters, const std::vector<ColumnType>& row)
{
    const QString context = QStringLiteral("SQL: %1").arg(sql);
    if (!connection.isOpen())
        throw Error(QStringLiteral("Brak połączenia z bazą danych."), context);
    const QByteArray bytes = sqlBytes(sql, context);
    const int inputs = static_cast<int>(parameters.size());
    const int columns = static_cast<int>(row.size());
    Sqlda in(inputs);
    in.declare(inputs);
    for (int i = 0; i < inputs; ++i) {
        declareParameter(in.var(i), parameters[i]);
        in.setValue(i, parameters[i]);
    }
    Sqlda out(columns);
    out.declare(columns);
    for (int i = 0; i < columns; ++i)
        declareColumn(out.var(i), row[static_cast<size_t>(i)]);
    out.bindOutputBuffers();
    transaction.start();
    ISC_STATUS_ARRAY status;
    isc_dsql_exec_immed2(status, connection.handle(), transaction.handle(), 0, bytes.constData(), Connection::dialect,
                         inputs > 0 ? in.get() : nullptr, columns > 0 ? out.get() : nullptr);
    // A query that found no row is told so by the server as a read past the end.
    if (status[0] == 1 && status[1] == isc_stream_eof && columns > 0)
        return std::nullopt;
    check(status, context);
    if (columns == 0)
        return std::nullopt;
    QVariantList values;
    for (int i = 0; i < columns; ++i) {
        const QVariant value = out.value(i);
        values << (row[static_cast<size_t>(i)] == ColumnType::Date && value.isValid() ? QVariant(value.toDateTime().date())
                                                                                       : value);
    }
    return values;
}

} // namespace fb
