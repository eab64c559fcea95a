#pragma once

class QWidget;

namespace dbw {

// A control that drops the row being edited (a cancel button). Moving the focus to it does
// not make the field being left take its typed text: a field that refuses what was typed must
// never stand in the way of dropping it.
void setCancelsRow(QWidget* control);
// Asked by a field that is losing the focus: whether the focus is going to such a control.
bool focusGoesToCancel();

} // namespace dbw
