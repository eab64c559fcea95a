#pragma once

#include <QAbstractTableModel>
#include <vector>

namespace ds {

class DataSource;
class Field;

// A column of a model: a field of the dataset, its title (the field's label when empty),
// and whether the column refuses editing although the field allows it.
struct ModelColumn {
    QString field;
    QString title;
    bool readOnly = false;
};

// Shows the visible fields of a data source's dataset in a Qt view; an edit moves to the
// row, puts the dataset into edit state and sets the field from the typed text.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(DataSource* source, QObject* parent = nullptr);

    DataSource* source() const { return source_; }
    // Shows these columns, in this order; an empty list shows every visible field.
    void setColumns(const QList<ModelColumn>& columns);
    const ModelColumn* columnSpec(int column) const;
    Field* fieldAt(int column) const;
    int columnOf(const Field* field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void rebuildColumns();
    void rowChanged();

    DataSource* source_;
    QList<ModelColumn> specs_;
    std::vector<Field*> columns_;
    std::vector<const ModelColumn*> columnSpecs_;
};

} // namespace ds
