#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>

// Runs `act` on the modal window as soon as one is open, that is once the code under test
// waits in exec(); `act` must close it. The attempts stop with `context`, so that a probe
// left over by a failed test cannot touch a later test's windows.
inline void whenModal(QObject* context, std::function<void(QWidget*)> act, int attemptsLeft = 200)
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
