#pragma once

#include <QPointer>
#include <QScopeGuard>
#include <QWidget>
#include <utility>

namespace desktop {

// Opens a screen of the program modally: creates it owned by `owner` (after the arguments
// its constructor takes first, such as the data module), makes it reachable through the
// program-wide instance pointer while it is open, lets `prepare` set it up, runs it and
// frees it. The pointer is reset and the screen freed however the screen ends, an exception
// included. Returns what the screen's exec() returned.
template <class Screen, class Prepare, class... Args>
int openModalPrepared(Screen*& instance, QWidget* owner, Prepare&& prepare, Args&&... args)
{
    QPointer<Screen> screen = new Screen(std::forward<Args>(args)..., owner);
    instance = screen.data();
    const auto release = qScopeGuard([&] {
        instance = nullptr;
        delete screen.data(); // a screen that deleted itself on closing is gone already
    });
    prepare(*screen);
    return screen->exec();
}

template <class Screen, class... Args>
int openModal(Screen*& instance, QWidget* owner, Args&&... args)
{
    return openModalPrepared(instance, owner, [](Screen&) {}, std::forward<Args>(args)...);
}

} // namespace desktop
