#pragma once

class QWidget;

namespace desktop {

// The help topic that F1 opens over a window or a part of one. 0 means none, and then
// the nearest ancestor's topic applies.
void setHelpContext(QWidget* widget, int context);
int helpContext(const QWidget* widget);
// The context of `widget` or of its nearest ancestor that has one; 0 when none has.
int nearestHelpContext(const QWidget* widget);

} // namespace desktop
