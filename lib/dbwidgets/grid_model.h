#pragma once

#include <QList>
#include <QPair>

#include "dataset/dataset_model.h"
#include "dbwidgets/grid_column.h"

namespace dbw {

// The dataset model of a DBGrid: the grid's columns, their title alignment and the sort
// markers shown after the titles.
class GridModel : public ds::DatasetModel {
    Q_OBJECT
public:
    using ds::DatasetModel::DatasetModel;

    void setGridColumns(const QList<GridColumn>& columns);
    const GridColumn* gridColumn(int column) const;
    void setSortMarkers(const QList<QPair<QString, bool>>& markers);
    const QList<QPair<QString, bool>>& sortMarkers() const { return markers_; }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<GridColumn> columns_;
    QList<QPair<QString, bool>> markers_;
};

} // namespace dbw
