#include "dbwidgets/grid_delegate.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "dataset/dataset.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/grid_model.h"
#include "desktop/messages.h"

namespace dbw {

namespace {
// Set on a drop-down once the user has chosen in it: the model's value no longer replaces it.
constexpr const char* chosenByUser = "chosenByUser";
} // namespace

GridDelegate::GridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QRect GridDelegate::ellipsisRect(const QRect& cell)
{
    const int w = std::min(cell.height(), 22);
    return QRect(cell.right() - w + 1, cell.top(), w, cell.height());
}

bool GridDelegate::showsEllipsis(const QModelIndex& index) const
{
    const GridColumn* c = grid_->gridModel()->gridColumn(index.column());
    return c && c->ellipsis && grid_->currentIndex() == index;
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    ds::Field* f = grid_->gridModel()->fieldAt(index.column());
    if (f && f->kind() == ds::FieldKind::Lookup && f->lookupDataset()) {
        auto* combo = new QComboBox(parent);
        ds::Dataset* lookup = f->lookupDataset();
        if (lookup->isActive()) {
            const ds::Field& result = lookup->fieldByName(f->lookupResultField());
            for (int row = 0; row < lookup->recordCount(); ++row)
                combo->addItem(result.displayTextAt(row));
        }
        const GridColumn* c = grid_->gridModel()->gridColumn(index.column());
        combo->setMaxVisibleItems(c ? c->dropDownRows : 7);
        // A list below the cell, not a menu over the whole screen: styles that open a combo's
        // list as a menu (Fusion) ignore the number of rows otherwise.
        combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        // The list as wide as its longest item, which the cell may be narrower than.
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 2 * combo->view()->frameWidth()
                                       + combo->view()->verticalScrollBar()->sizeHint().width());
        connect(combo, &QComboBox::activated, grid_, [this, combo] {
            combo->setProperty(chosenByUser, true);
            grid_->beginRowEdit();
        });
        return combo;
    }
    auto* edit = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
    if (edit && f && f->type() == ds::FieldType::String && f->size() > 0)
        edit->setMaxLength(f->size());
    if (edit)
        connect(edit, &QLineEdit::textEdited, grid_, &DBGrid::beginRowEdit);
    return edit;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->property(chosenByUser).toBool())
            return;
        combo->setCurrentIndex(combo->findText(index.data(Qt::DisplayRole).toString()));
        return;
    }
    // What the user has typed stays when the row around it changes state (the view then
    // refreshes every editor of the row).
    if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && edit->isModified())
        return;
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    QVariant value;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() < 0 || combo->currentText() == index.data(Qt::DisplayRole).toString())
            return;
        value = combo->currentText();
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        if (!edit->isModified())
            return;
        value = edit->text();
    } else {
        return;
    }
    try {
        model->setData(index, value, Qt::EditRole);
    } catch (const std::exception& e) {
        desktop::showError(QString::fromUtf8(e.what()), grid_);
    }
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!showsEllipsis(index))
        return;
    QStyleOptionButton button;
    button.rect = ellipsisRect(option.rect);
    button.text = QStringLiteral("…");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index)
{
    if (event->type() == QEvent::MouseButtonPress && showsEllipsis(index)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (ellipsisRect(option.rect).contains(mouse->position().toPoint())) {
            grid_->pressEditButton();
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

} // namespace dbw
