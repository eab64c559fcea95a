#pragma once

#include <QString>
#include <QVariant>

namespace report {

// What the engine needs of a dataset: its rows, the value of a field in a row, the text
// that the field itself would show, and moving the current row. The engine moves each
// dataset to the row it prints, so that hooks read that row as the current one and a
// master's linked detail follows it. Implemented over ds::Dataset and over plain rows.
class RowSource {
public:
    virtual ~RowSource() = default;

    // The rows known so far (all of them, unless rows come as they are read).
    virtual int rowCount() const = 0;
    // Whether row `row` exists; a source whose rows come as they are read reads up to it.
    virtual bool hasRow(int row) { return row < rowCount(); }
    virtual void moveTo(int row) = 0;
    virtual QVariant value(const QString& field, int row) const = 0;
    // The field's own presentation (its display format); "" for a null value.
    virtual QString displayText(const QString& field, int row) const = 0;
};

} // namespace report
