#include "desktop/wheel_hook.h"

#include <QCoreApplication>
#include <QWheelEvent>
#include <QWindow>

namespace desktop {

WheelHook::WheelHook(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler))
{
    QCoreApplication::instance()->installEventFilter(this);
}

WheelHook::~WheelHook()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool WheelHook::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    const auto& wheel = static_cast<const QWheelEvent&>(*event);
    const Signature s{wheel.timestamp(), wheel.globalPosition(), wheel.angleDelta(), wheel.pixelDelta()};
    if (watched->isWindowType()) {
        // A message from the window system: its widget deliveries follow with the same data.
        lastMessage_ = s;
    } else {
        // The widget deliveries of a message seen at its window, and the copies that travel
        // up to the parents of the widget (or that a widget forwards), are not new turns.
        if (lastMessage_ == s)
            return false;
        if (event->spontaneous())
            lastMessage_ = s;
    }
    handler_(wheel);
    return false;
}

} // namespace desktop
