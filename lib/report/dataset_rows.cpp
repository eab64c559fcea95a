#include "report/dataset_rows.h"

#include "dataset/dataset.h"
#include "dataset/field.h"

namespace report {

int DatasetRows::rowCount() const
{
    return dataset_.isActive() ? dataset_.recordCount() : 0;
}

void DatasetRows::moveTo(int row)
{
    dataset_.moveTo(row);
}

QVariant DatasetRows::value(const QString& field, int row) const
{
    return dataset_.fieldByName(field).valueAt(row);
}

QString DatasetRows::displayText(const QString& field, int row) const
{
    return dataset_.fieldByName(field).displayTextAt(row);
}

} // namespace report
