#include "desktop/help_key_filter.h"

#include "desktop/help_context.h"
#include "desktop/help_system.h"

#include <QKeyEvent>
#include <QWidget>

namespace desktop {

HelpKeyFilter::HelpKeyFilter(QObject* parent) : QObject(parent) {}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    // A key event reaches the window object first and then the focused widget; acting on
    // widgets only opens the help once per key press.
    if (!watched->isWidgetType())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (press && !key->isAutoRepeat()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (const int context = nearestHelpContext(widget))
            HelpSystem::showTopic(context, widget->window());
        else
            HelpSystem::showContents(widget->window());
    }
    return true;
}

} // namespace desktop
