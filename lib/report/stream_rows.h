#pragma once

#include <QStringList>
#include <functional>
#include <optional>

#include "report/memory_rows.h"

namespace report {

// A detail's rows read one by one as the report prints them, for details too long to hold:
// only the rows from the current one on are kept. A master refills it in its onMove with a
// reader of the new master row's rows.
class StreamRows : public RowSource {
public:
    // The next row, or nothing after the last.
    using Reader = std::function<std::optional<QVariantList>()>;

    explicit StreamRows(const QStringList& columns);

    void setDisplayFormat(const QString& column, const QString& mask) { held_.setDisplayFormat(column, mask); }
    // The rows from now on are those `reader` gives, from row 0.
    void restart(Reader reader);

    int rowCount() const override { return first_ + held_.rowCount(); }
    bool hasRow(int row) override;
    void moveTo(int row) override;
    QVariant value(const QString& field, int row) const override { return held_.value(field, row - first_); }
    QString displayText(const QString& field, int row) const override { return held_.displayText(field, row - first_); }

private:
    MemoryRows held_; // the rows from `first_` on
    int first_ = 0;
    Reader reader_;
};

} // namespace report
