#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace desktop {

// The print dialogs of the reports go through here, so that a test can answer them instead
// of waiting on a modal loop.
// Setup: the printer setup ("Ustawienia drukarki"): printer, copies, page range, orientation;
// accepting keeps the choices in the printer. Print: the same choices before printing
// ("Drukuj"); the caller prints when it was accepted.
enum class PrintDialogKind { Setup, Print };

struct PrintDialogRequest {
    PrintDialogKind kind;
    QPrinter* printer;
    int pageCount; // bounds the page range; 0 when not known yet
};

// True when the user accepted; the printer then holds the choices.
bool choosePrinter(QPrinter& printer, PrintDialogKind kind, int pageCount, QWidget* parent = nullptr);

// Replaces the real dialog while set (tests): the handler may change the printer and
// returns whether the dialog was accepted. An empty function restores the real dialog.
using PrintDialogHandler = std::function<bool(const PrintDialogRequest&)>;
void setPrintDialogHandler(PrintDialogHandler handler);

} // namespace desktop
