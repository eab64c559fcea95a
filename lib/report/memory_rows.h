#pragma once

#include <QHash>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <functional>

#include "report/row_source.h"

namespace report {

// Rows held in memory, for reports that are not fed from the database and for tests.
// A master made of these refills its detail in onMove, as a linked dataset would re-query.
class MemoryRows : public RowSource {
public:
    explicit MemoryRows(const QStringList& columns, QList<QVariantList> rows = {});

    void setRows(QList<QVariantList> rows);
    void append(QVariantList row) { rows_.append(std::move(row)); }
    // Forgets the first `count` rows; the others move up.
    void dropFirst(int count) { rows_.remove(0, std::min<qsizetype>(count, rows_.size())); }
    // How a column shows its numbers (or dates) when an item gives no mask of its own.
    void setDisplayFormat(const QString& column, const QString& mask);
    int currentRow() const { return current_; }

    // Runs after each move of the current row.
    std::function<void(int row)> onMove;

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    void moveTo(int row) override;
    QVariant value(const QString& field, int row) const override;
    QString displayText(const QString& field, int row) const override;

private:
    int column(const QString& field) const; // throws std::out_of_range for an unknown name

    QStringList columns_;
    QList<QVariantList> rows_;
    QHash<int, QString> displayFormats_;
    int current_ = -1;
};

} // namespace report
