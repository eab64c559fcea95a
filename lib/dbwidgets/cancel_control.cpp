#include "dbwidgets/cancel_control.h"

#include <QApplication>
#include <QWidget>

namespace dbw {

namespace {
constexpr const char* cancelsRow = "dbwCancelsRow";
}

void setCancelsRow(QWidget* control)
{
    control->setProperty(cancelsRow, true);
}

bool focusGoesToCancel()
{
    // While a field hears that it lost the focus, the application's focus is on the new one.
    const QWidget* next = QApplication::focusWidget();
    return next && next->property(cancelsRow).toBool();
}

} // namespace dbw
