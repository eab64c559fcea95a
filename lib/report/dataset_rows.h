#pragma once

#include "report/row_source.h"

namespace ds {
class Dataset;
}

namespace report {

// A ds::Dataset as the rows of a report. Moving the master with moveTo lets the dataset's
// master link re-query its details before the engine reads their rows. Values are read by
// row (Field::valueAt), so lookup and calculated fields print as the grids show them.
class DatasetRows : public RowSource {
public:
    explicit DatasetRows(ds::Dataset& dataset) : dataset_(dataset) {}

    int rowCount() const override;
    void moveTo(int row) override;
    QVariant value(const QString& field, int row) const override;
    QString displayText(const QString& field, int row) const override;

private:
    ds::Dataset& dataset_;
};

} // namespace report
