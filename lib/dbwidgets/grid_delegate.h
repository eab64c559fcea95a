#pragma once

#include <QStyledItemDelegate>

namespace dbw {

class DBGrid;

// Editors of a DBGrid's cells: a drop-down list of the lookup dataset's values for lookup
// fields, a line edit limited to the field's size otherwise; and the ellipsis button drawn
// in the current cell of columns that have one.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(DBGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    static QRect ellipsisRect(const QRect& cell);

private:
    bool showsEllipsis(const QModelIndex& index) const;

    DBGrid* grid_;
};

} // namespace dbw
