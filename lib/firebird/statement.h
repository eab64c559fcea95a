#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace fb {

class Connection;
class Transaction;

enum class ColumnType { SmallInt, Integer, BigInt, Float, Double, Timestamp, Date, Time, Char, VarChar, Boolean, Other };

struct Column {
    QString name;      // the alias, or the column name when there is none
    QString relation;  // the table or view it comes from, if any
    ColumnType type;
    int length;        // bytes of text columns
    int scale;         // negative for scaled NUMERIC/DECIMAL values
    bool nullable;
};

// The SQL text in the database's code page (Windows-1250); throws fb::Error naming the first
// character that code page lacks.
QByteArray sqlBytes(const QString& sql, const QString& context);

// A prepared statement with named parameters (":name"). Values come and go as QVariant:
// small and plain integers as int, BIGINT as qlonglong, scaled NUMERIC as fb::Numeric,
// floating point as double, dialect-1 DATE (a timestamp) as a QDateTime in UTC, text as
// QString (Windows-1250 on the wire), NULL as an invalid QVariant. Move-only.
class Statement {
public:
    Statement(Connection& connection, Transaction& transaction, const QString& sql);
    ~Statement();
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;

    const QString& sql() const;
    // Still prepared on the connection's present attachment: a statement kept for later runs
    // is made anew once its connection has closed, or been attached again.
    bool isLive() const;
    // Distinct parameter names in order of first appearance, as written.
    QStringList paramNames() const;
    // Sets every occurrence of the parameter (names compare without regard to case).
    void setParam(const QString& name, const QVariant& value);
    void setParam(int position, const QVariant& value);

    bool isSelect() const;
    // Runs the statement; for a select it opens the cursor (closing one left open).
    void execute();
    // Next row of an open cursor; false at the end (the cursor is then closed).
    bool fetch();
    void closeCursor();

    int columnCount() const;
    const Column& column(int i) const;
    int columnIndex(const QString& name) const; // -1 when absent
    QVariant value(int i) const;

    // Rows changed by the last insert, update or delete.
    int affectedRows() const;
    // Whether the last run of a write that gives its row ("returning") gave one: an update
    // that found no row gives none.
    bool returnedRow() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace fb
