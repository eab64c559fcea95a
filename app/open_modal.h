#pragma once

#include <QPointer>
#include <QWidget>
#include <utility>

// Opens a screen of the program modally: creates it owned by `owner` (after the arguments
// its constructor takes first, such as the data module), makes it reachable through the
// program-wide instance pointer while it is open, runs it and frees it. The pointer is reset
// and the screen freed however the screen ends, an exception included. Returns what the
// screen's exec() returned.
template <class Screen, class... Args>
int openModal(Screen*& instance, QWidget* owner, Args&&... args)
{
    struct Release {
        Screen*& instance;
        QPointer<Screen> screen;
        ~Release()
        {
            instance = nullptr;
            delete screen.data(); // a screen that deleted itself on closing is gone already
        }
    };
    Release release{instance, new Screen(std::forward<Args>(args)..., owner)};
    instance = release.screen.data();
    return release.screen->exec();
}
