#pragma once

#include <QString>

namespace desktop {

// A control given its object name as it is made: the names the screens' tests and help find
// the controls by.
template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace desktop
