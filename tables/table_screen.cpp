#include "tables/table_screen.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "dataset/data_source.h"
#include "dataset/dataset.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/leave_row.h"
#include "desktop/quietly.h"

TableScreen::TableScreen(QWidget* parent, Placement placement)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), placement_(placement)
{
}

void TableScreen::place()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    const QRect area = placement_ == Placement::MainWindowCentre && parentWidget()
                           ? parentWidget()->window()->frameGeometry()
                           : desktop;
    // The frame is centred (move() places the frame's corner), but kept on the screen.
    const QRect frame(QPoint(0, 0), frameGeometry().size());
    QPoint corner = area.center() - frame.center();
    corner.setX(std::max(desktop.left(), std::min(corner.x(), desktop.right() + 1 - frame.width())));
    corner.setY(std::max(desktop.top(), std::min(corner.y(), desktop.bottom() + 1 - frame.height())));
    move(corner);
}

void TableScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shownOnce_ || event->spontaneous())
        return;
    shownOnce_ = true;
    place();
    // Marked open first: when opening fails half way, closing still closes what opened.
    dataOpen_ = true;
    openData();
}

void TableScreen::closeDataIfOpen()
{
    if (dataOpen_)
        desktop::quietly("closing a table", [this] { closeOpenData(); });
}

void TableScreen::closeOpenData()
{
    dataOpen_ = false;
    // An editor still open belongs to a row already settled; closed now, it cannot hand its
    // text over when it loses the focus, after its dataset has closed.
    for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
        if (QWidget* editor = view->indexWidget(view->currentIndex()))
            emit view->itemDelegateForIndex(view->currentIndex())->closeEditor(editor, QAbstractItemDelegate::NoHint);
    closeData();
}

void TableScreen::done(int result)
{
    // Each row being edited through a navigator is posted, dropped or kept by the one rule.
    if (dataOpen_)
        for (dbw::DBNavigator* navigator : findChildren<dbw::DBNavigator*>())
            if (ds::Dataset* d = navigator->dataSource() ? navigator->dataSource()->dataset() : nullptr)
                if (!dbw::leaveRow(*d, this))
                    return;
    closeDataIfOpen();
    QDialog::done(result);
}

void TableScreen::keyPressEvent(QKeyEvent* event)
{
    // Escape belongs to the grids (it cancels an edit); the screens close by their close box.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
