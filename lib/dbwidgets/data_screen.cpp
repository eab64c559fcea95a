#include "dbwidgets/data_screen.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "dataset/data_source.h"
#include "dataset/dataset.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/leave_row.h"
#include "desktop/attempt.h"
#include "desktop/quietly.h"

namespace dbw {

DataScreen::DataScreen(QWidget* parent, Placement placement, Qt::WindowFlags flags)
    : QDialog(parent, flags), placement_(placement)
{
}

void DataScreen::place()
{
    if (placement_ == Placement::AsIs)
        return;
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    const QRect area = placement_ == Placement::OwnerCentre && parentWidget()
                           ? parentWidget()->window()->frameGeometry()
                           : desktop;
    // The frame is centred (move() places the frame's corner), but kept on the screen.
    const QRect frame(QPoint(0, 0), frameGeometry().size());
    QPoint corner = area.center() - frame.center();
    corner.setX(std::max(desktop.left(), std::min(corner.x(), desktop.right() + 1 - frame.width())));
    corner.setY(std::max(desktop.top(), std::min(corner.y(), desktop.bottom() + 1 - frame.height())));
    move(corner);
}

void DataScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shownOnce_ || event->spontaneous())
        return;
    shownOnce_ = true;
    place();
    openDataNow();
}

int DataScreen::exec()
{
    if (!dataOpen_ && !desktop::attempt(parentWidget(), [this] { openDataNow(); })) {
        closeDataIfOpen();
        return Rejected;
    }
    return QDialog::exec();
}

void DataScreen::openDataNow()
{
    if (dataOpen_)
        return;
    // Marked open first: when opening fails half way, closing still closes what opened.
    dataOpen_ = true;
    openData();
}

void DataScreen::closeDataIfOpen()
{
    if (dataOpen_)
        desktop::quietly("closing a table", [this] { closeOpenData(); });
}

void DataScreen::closeOpenData()
{
    dataOpen_ = false;
    // An editor still open belongs to a row already settled; closed now, it cannot hand its
    // text over when it loses the focus, after its dataset has closed.
    for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
        if (QWidget* editor = view->indexWidget(view->currentIndex()))
            emit view->itemDelegateForIndex(view->currentIndex())->closeEditor(editor, QAbstractItemDelegate::NoHint);
    closeData();
}

bool DataScreen::leaveEditedRows()
{
    for (DBNavigator* navigator : findChildren<DBNavigator*>())
        if (ds::Dataset* d = navigator->dataSource() ? navigator->dataSource()->dataset() : nullptr)
            if (!leaveRow(*d, this))
                return false;
    return true;
}

void DataScreen::done(int result)
{
    if (dataOpen_ && !leaveEditedRows())
        return;
    closeDataIfOpen();
    QDialog::done(result);
}

void DataScreen::keyPressEvent(QKeyEvent* event)
{
    // Escape reaches the screen when no grid or edit had anything typed to drop: it closes the
    // screen as its close box does, or presses the cancel button where there is one.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (!cancelButton_)
            reject();
        else if (cancelButton_->isVisible() && cancelButton_->isEnabled())
            cancelButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace dbw
