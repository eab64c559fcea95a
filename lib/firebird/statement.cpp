#include "firebird/statement.h"

#include <ibase.h>

#include <QHash>

#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/named_params.h"
#include "firebird/sqlda.h"
#include "firebird/transaction.h"
#include "text/cp1250.h"

namespace fb {

QByteArray sqlBytes(const QString& sql, const QString& context)
{
    QChar bad;
    const auto bytes = text::toCp1250(sql, &bad);
    if (!bytes)
        throw Error(QStringLiteral("Znak „%1” nie może być zapisany w bazie danych (strona kodowa Windows-1250).").arg(bad), context);
    return *bytes;
}

struct Statement::Impl {
    Connection* connection;
    Transaction* transaction;
    QString sql;
    PositionalSql positional;
    isc_stmt_handle handle = 0;
    quint64 attachment = 0; // the connection's attachment it was prepared on
    Sqlda input{1};
    Sqlda output{1};
    std::vector<Column> columns;
    QHash<QString, int> columnByName;
    int type = 0;
    bool cursorOpen = false;

    ~Impl()
    {
        if (handle) {
            ISC_STATUS_ARRAY status;
            isc_dsql_free_statement(status, &handle, DSQL_drop);
        }
    }

    QString context() const { return QStringLiteral("SQL: %1").arg(sql); }

    void prepare()
    {
        if (!connection->isOpen())
            throw Error(QStringLiteral("Brak połączenia z bazą danych."), context());
        transaction->start();
        ISC_STATUS_ARRAY status;
        isc_dsql_allocate_statement(status, connection->handle(), &handle);
        check(status, context());
        attachment = connection->attachment();
        const QByteArray bytes = sqlBytes(positional.sql, context());
        isc_dsql_prepare(status, transaction->handle(), &handle, 0, bytes.constData(), Connection::dialect, output.get());
        check(status, context());
        if (output.ensureCapacity(output.count())) {
            isc_dsql_describe(status, &handle, SQLDA_VERSION1, output.get());
            check(status, context());
        }
        output.bindOutputBuffers();
        isc_dsql_describe_bind(status, &handle, SQLDA_VERSION1, input.get());
        check(status, context());
        if (input.ensureCapacity(input.count())) {
            isc_dsql_describe_bind(status, &handle, SQLDA_VERSION1, input.get());
            check(status, context());
        }
        if (input.count() != positional.positions.size())
            throw Error(QStringLiteral("Liczba parametrów polecenia nie zgadza się z jego tekstem."), context());
        for (int i = 0; i < input.count(); ++i)
            input.setValue(i, QVariant());
        readType();
        describeColumns();
    }

    void readType()
    {
        const char items[] = {isc_info_sql_stmt_type};
        char buffer[16];
        ISC_STATUS_ARRAY status;
        isc_dsql_sql_info(status, &handle, sizeof items, items, sizeof buffer, buffer);
        check(status, context());
        if (buffer[0] == isc_info_sql_stmt_type) {
            const short len = static_cast<short>(isc_vax_integer(buffer + 1, 2));
            type = static_cast<int>(isc_vax_integer(buffer + 3, len));
        }
    }

    void describeColumns()
    {
        columns.clear();
        columnByName.clear();
        for (int i = 0; i < output.count(); ++i) {
            const XSQLVAR& v = output.var(i);
            Column c;
            c.name = text::fromCp1250(v.aliasname, v.aliasname_length);
            if (c.name.isEmpty())
                c.name = text::fromCp1250(v.sqlname, v.sqlname_length);
            c.relation = text::fromCp1250(v.relname, v.relname_length);
            c.length = v.sqllen;
            c.scale = v.sqlscale;
            c.nullable = v.sqltype & 1;
            switch (v.sqltype & ~1) {
            case SQL_SHORT: c.type = ColumnType::SmallInt; break;
            case SQL_LONG: c.type = ColumnType::Integer; break;
            case SQL_INT64: c.type = ColumnType::BigInt; break;
            case SQL_FLOAT: c.type = ColumnType::Float; break;
            case SQL_DOUBLE: case SQL_D_FLOAT: c.type = ColumnType::Double; break;
            case SQL_TIMESTAMP: c.type = ColumnType::Timestamp; break;
            case SQL_TYPE_DATE: c.type = ColumnType::Date; break;
            case SQL_TYPE_TIME: c.type = ColumnType::Time; break;
            case SQL_TEXT: c.type = ColumnType::Char; break;
            case SQL_VARYING: c.type = ColumnType::VarChar; break;
            case SQL_BOOLEAN: c.type = ColumnType::Boolean; break;
            default: c.type = ColumnType::Other; break;
            }
            columnByName.insert(c.name.toUpper(), i);
            columns.push_back(std::move(c));
        }
    }
};

Statement::Statement(Connection& connection, Transaction& transaction, const QString& sql)
    : d(std::make_unique<Impl>())
{
    d->connection = &connection;
    d->transaction = &transaction;
    d->sql = sql;
    d->positional = toPositional(sql);
    d->prepare();
}

Statement::~Statement() = default;
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;

const QString& Statement::sql() const { return d->sql; }

bool Statement::isLive() const
{
    return d->handle && d->connection->isOpen() && d->connection->attachment() == d->attachment;
}

QStringList Statement::paramNames() const
{
    QStringList names;
    for (const QString& n : d->positional.positions)
        if (!names.contains(n, Qt::CaseInsensitive))
            names << n;
    return names;
}

void Statement::setParam(const QString& name, const QVariant& value)
{
    bool found = false;
    for (int i = 0; i < d->positional.positions.size(); ++i) {
        if (d->positional.positions[i].compare(name, Qt::CaseInsensitive) == 0) {
            d->input.setValue(i, value);
            found = true;
        }
    }
    if (!found)
        throw Error(QStringLiteral("Polecenie nie ma parametru %1.").arg(name), d->context());
}

void Statement::setParam(int position, const QVariant& value)
{
    d->input.setValue(position, value);
}

bool Statement::isSelect() const
{
    return d->type == isc_info_sql_stmt_select || d->type == isc_info_sql_stmt_select_for_upd;
}

void Statement::execute()
{
    // A cursor left open may have been closed already by the end of its transaction: the
    // statement, kept for later runs, runs again all the same.
    try {
        closeCursor();
    } catch (const Error& e) {
        if (!e.hasCode(isc_dsql_cursor_close_err))
            throw;
    }
    d->transaction->start();
    ISC_STATUS_ARRAY status;
    XSQLDA* in = d->input.count() > 0 ? d->input.get() : nullptr;
    if (isSelect()) {
        isc_dsql_execute(status, d->transaction->handle(), &d->handle, SQLDA_VERSION1, in);
        check(status, d->context());
        d->cursorOpen = true;
    } else {
        XSQLDA* out = d->output.count() > 0 ? d->output.get() : nullptr;
        if (out)
            d->output.awaitRow();
        isc_dsql_execute2(status, d->transaction->handle(), &d->handle, SQLDA_VERSION1, in, out);
        check(status, d->context());
    }
}

bool Statement::fetch()
{
    if (!d->cursorOpen)
        return false;
    ISC_STATUS_ARRAY status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &d->handle, SQLDA_VERSION1, d->output.get());
    if (rc == 100) {
        closeCursor();
        return false;
    }
    check(status, d->context());
    return true;
}

void Statement::closeCursor()
{
    if (!d->cursorOpen)
        return;
    d->cursorOpen = false;
    ISC_STATUS_ARRAY status;
    isc_dsql_free_statement(status, &d->handle, DSQL_close);
    check(status, d->context());
}

bool Statement::returnedRow() const
{
    return d->output.count() > 0 && d->output.rowCame();
}

int Statement::columnCount() const { return static_cast<int>(d->columns.size()); }
const Column& Statement::column(int i) const { return d->columns.at(i); }

int Statement::columnIndex(const QString& name) const
{
    return d->columnByName.value(name.toUpper(), -1);
}

QVariant Statement::value(int i) const { return d->output.value(i); }

int Statement::affectedRows() const
{
    const char items[] = {isc_info_sql_records};
    char buffer[64];
    ISC_STATUS_ARRAY status;
    isc_dsql_sql_info(status, &d->handle, sizeof items, items, sizeof buffer, buffer);
    check(status, d->context());
    if (buffer[0] != isc_info_sql_records)
        return 0;
    int total = 0;
    const char* p = buffer + 3;
    while (*p != isc_info_end) {
        const char item = *p++;
        const short len = static_cast<short>(isc_vax_integer(p, 2));
        p += 2;
        if (item == isc_info_req_update_count || item == isc_info_req_delete_count
            || item == isc_info_req_insert_count)
            total += static_cast<int>(isc_vax_integer(p, len));
        p += len;
    }
    return total;
}

} // namespace fb
