#include "dataset/dataset_model.h"

#include "dataset/data_source.h"
#include "dataset/dataset.h"

namespace ds {

DatasetModel::DatasetModel(DataSource* source, QObject* parent) : QAbstractTableModel(parent), source_(source)
{
    rebuildColumns();
    connect(source_, &DataSource::datasetChanged, this, [this] {
        beginResetModel();
        rebuildColumns();
        endResetModel();
    });
    connect(source_, &DataSource::dataChanged, this, [this](Field* field) {
        if (field || source_->dataset()->isEditing())
            rowChanged();
    });
    connect(source_, &DataSource::stateChanged, this, &DatasetModel::rowChanged);
}

void DatasetModel::setColumns(const QList<ModelColumn>& columns)
{
    beginResetModel();
    specs_ = columns;
    rebuildColumns();
    endResetModel();
}

const ModelColumn* DatasetModel::columnSpec(int column) const
{
    return column >= 0 && column < static_cast<int>(columnSpecs_.size()) ? columnSpecs_[column] : nullptr;
}

void DatasetModel::rebuildColumns()
{
    columns_.clear();
    columnSpecs_.clear();
    Dataset* ds = source_->dataset();
    if (!ds)
        return;
    if (specs_.isEmpty()) {
        for (const auto& f : ds->fields())
            if (f->isVisible())
                columns_.push_back(f.get());
        columnSpecs_.assign(columns_.size(), nullptr);
        return;
    }
    // Fields made from the columns of the result exist only once the dataset has opened.
    for (const ModelColumn& spec : specs_) {
        if (Field* f = ds->field(spec.field)) {
            columns_.push_back(f);
            columnSpecs_.push_back(&spec);
        }
    }
}

void DatasetModel::rowChanged()
{
    Dataset* ds = source_->dataset();
    if (!ds || ds->recNo() < 0 || columns_.empty())
        return;
    emit dataChanged(index(ds->recNo(), 0), index(ds->recNo(), columnCount() - 1));
}

Field* DatasetModel::fieldAt(int column) const
{
    return column >= 0 && column < static_cast<int>(columns_.size()) ? columns_[column] : nullptr;
}

int DatasetModel::columnOf(const Field* field) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i] == field)
            return static_cast<int>(i);
    return -1;
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    Dataset* ds = source_->dataset();
    return parent.isValid() || !ds ? 0 : ds->recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    Field* f = fieldAt(index.column());
    if (!f)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return f->displayTextAt(index.row());
    case Qt::EditRole:
        return f->format(f->valueAt(index.row()), true);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    Field* f = fieldAt(index.column());
    Dataset* ds = source_->dataset();
    if (role != Qt::EditRole || !f || !ds)
        return false;
    if (ds->recNo() != index.row())
        ds->moveTo(index.row());
    ds->edit();
    f->setText(value.toString());
    return true;
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    Field* f = fieldAt(section);
    if (const ModelColumn* spec = columnSpec(section); spec && !spec->title.isEmpty())
        return spec->title;
    return f ? f->displayName() : QVariant();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    Field* f = fieldAt(index.column());
    Dataset* ds = source_->dataset();
    const ModelColumn* spec = columnSpec(index.column());
    if (f && ds && ds->canModify() && !f->isReadOnly() && f->kind() != FieldKind::Calculated && !(spec && spec->readOnly))
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace ds
