#include "dbwidgets/grid_model.h"

#include "dataset/field.h"

namespace dbw {

void GridModel::setGridColumns(const QList<GridColumn>& columns)
{
    columns_ = columns;
    QList<ds::ModelColumn> specs;
    for (const GridColumn& c : columns)
        specs << ds::ModelColumn{c.field, c.title, c.readOnly};
    setColumns(specs);
}

const GridColumn* GridModel::gridColumn(int column) const
{
    const ds::Field* f = fieldAt(column);
    if (!f)
        return nullptr;
    for (const GridColumn& c : columns_)
        if (c.field.compare(f->name(), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

void GridModel::setSortMarkers(const QList<QPair<QString, bool>>& markers)
{
    markers_ = markers;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        if (const GridColumn* c = gridColumn(section))
            return QVariant::fromValue(c->titleAlignment);
    // The narrow column left of the rows only marks the current row: row numbers do not fit.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return {};
    QVariant value = ds::DatasetModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        if (const ds::Field* f = fieldAt(section))
            for (const auto& [name, ascending] : markers_)
                if (name.compare(f->name(), Qt::CaseInsensitive) == 0)
                    return value.toString() + (ascending ? QStringLiteral(" ▲") : QStringLiteral(" ▼"));
    return value;
}

} // namespace dbw
