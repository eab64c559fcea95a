#include "desktop/print_dialogs.h"

#include <QPrintDialog>
#include <QPrinter>

namespace desktop {

namespace {

PrintDialogHandler& handler()
{
    static PrintDialogHandler h;
    return h;
}

} // namespace

bool choosePrinter(QPrinter& printer, PrintDialogKind kind, int pageCount, QWidget* parent)
{
    if (handler())
        return handler()(PrintDialogRequest{kind, &printer, pageCount});
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(kind == PrintDialogKind::Setup ? QStringLiteral("Ustawienia drukarki")
                                                         : QStringLiteral("Drukuj"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (pageCount > 0)
        dialog.setMinMax(1, pageCount);
    return dialog.exec() == QDialog::Accepted;
}

void setPrintDialogHandler(PrintDialogHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
