#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

// Finding controls and answering modal windows, for the tests of every kind of window.
namespace testsupport {

// The control of `window` with this object name; a missing one ends the test program, since
// every check after it would be about nothing.
template <class T>
T* control(const QObject* window, QAnyStringView name)
{
    T* found = window->findChild<T*>(name.toString());
    if (!found)
        qFatal("no control %s", qPrintable(name.toString()));
    return found;
}

} // namespace testsupport

// Runs `act` on the modal window as soon as one is open, that is once the code under test
// waits in exec(); `act` must close it. The attempts stop with `context`, so that a probe
// left over by a failed test cannot touch a later test's windows.
inline void whenModal(QObject* context, std::function<void(QWidget*)> act, int attemptsLeft = 500)
{
    QTimer::singleShot(0, context, [context, act = std::move(act), attemptsLeft] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
            return;
        }
        if (attemptsLeft > 0)
            whenModal(context, act, attemptsLeft - 1);
    });
}
