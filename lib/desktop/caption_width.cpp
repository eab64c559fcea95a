#include "desktop/caption_width.h"

#include <QFontMetrics>
#include <QLayout>
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
