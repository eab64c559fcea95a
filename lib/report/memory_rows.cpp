#include "report/memory_rows.h"

#include <stdexcept>

#include "report/values.h"

namespace report {

MemoryRows::MemoryRows(const QStringList& columns, QList<QVariantList> rows)
    : columns_(columns), rows_(std::move(rows))
{
}

void MemoryRows::setRows(QList<QVariantList> rows)
{
    rows_ = std::move(rows);
    current_ = -1;
}

void MemoryRows::setDisplayFormat(const QString& column, const QString& mask)
{
    displayFormats_.insert(this->column(column), mask);
}

void MemoryRows::moveTo(int row)
{
    current_ = row;
    if (onMove)
        onMove(row);
}

QVariant MemoryRows::value(const QString& field, int row) const
{
    const int c = column(field);
    if (row < 0 || row >= rows_.size())
        return {};
    return rows_[row].value(c);
}

QString MemoryRows::displayText(const QString& field, int row) const
{
    return formatValue(value(field, row), displayFormats_.value(column(field)));
}

int MemoryRows::column(const QString& field) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    throw std::out_of_range("MemoryRows: no column " + field.toStdString());
}

} // namespace report
