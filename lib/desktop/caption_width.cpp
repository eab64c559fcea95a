#include "desktop/caption_width.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QWidget>
#include <algorithm>

namespace desktop {

namespace {

// The window icon, the minimise, maximise and close buttons, and the gaps between them.
constexpr int titleBarExtras = 140;

} // namespace

void fitCaption(QWidget& window)
{
    QFont title = window.font();
    title.setBold(true);
    const int wanted = QFontMetrics(title).horizontalAdvance(window.windowTitle()) + titleBarExtras;
    // A message box sizes itself from its layout's minimum, whatever minimum width it is
    // given: a row of the width under its contents widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(window.layout()); grid && qobject_cast<QMessageBox*>(&window)) {
        const QMargins m = grid->contentsMargins();
        grid->addItem(new QSpacerItem(wanted - m.left() - m.right(), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
        return;
    }
    // A layout that fixes the window's size to its contents would ignore a minimum: it gets
    // an empty item of the width instead.
    if (QLayout* layout = window.layout(); layout && layout->sizeConstraint() == QLayout::SetFixedSize) {
        const QMargins m = layout->contentsMargins();
        layout->addItem(new QSpacerItem(wanted - m.left() - m.right(), 0, QSizePolicy::Fixed, QSizePolicy::Fixed));
        return;
    }
    window.setMinimumWidth(std::max(window.minimumWidth(), wanted));
}

} // namespace desktop
