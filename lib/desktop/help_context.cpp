#include "desktop/help_context.h"

#include <QWidget>

namespace desktop {

namespace {

// A dynamic property, so that any widget can carry a topic without a subclass.
constexpr const char* helpContextProperty = "helpContext";

} // namespace

void setHelpContext(QWidget* widget, int context)
{
    widget->setProperty(helpContextProperty, context);
}

int helpContext(const QWidget* widget)
{
    return widget->property(helpContextProperty).toInt();
}

int nearestHelpContext(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const int context = helpContext(w))
            return context;
    }
    return 0;
}

} // namespace desktop
