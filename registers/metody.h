#pragma once

class QObject;

// The digits-only keystroke filter of the taxpayer number fields. It has no state and is
// never instantiated; DigitsOnlyFilter attaches it to a widget.
class Tmetody {
public:
    Tmetody() = delete;

    // Key is the Windows-1250 code of the typed character; it becomes 0 (the keystroke is
    // swallowed) for a blank, punctuation, a letter or a Polish letter. Control characters
    // (Backspace, Enter, Escape), digits, 127 and the other codes from 128 up pass.
    static void cyfryKeyPress(QObject* Sender, unsigned char& Key);
};
