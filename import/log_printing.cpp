#include "import/log_printing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "desktop/print_dialogs.h"

namespace importlog {

int linesPerPage(int pageHeight, int lineStep)
{
    // A page holds the lines 1 to n − 1: the counter starts at 1 and a new page begins when it
    // reaches n.
    return lineStep > 0 ? std::max(1, (pageHeight - 50) / lineStep - 1) : 1;
}

bool print(const QStringList& lines, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Raport importu"));
    if (!desktop::choosePrinter(printer, desktop::PrintDialogKind::Print, 0, parent))
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    painter.setFont(font);
    const int step = QFontMetrics(font, &printer).height();
    const int perPage = linesPerPage(printer.height(), step);
    int k = 1;
    for (const QString& line : lines) {
        if (k > perPage) { // a full page: the next line starts another one (none is left empty)
            printer.newPage();
            k = 1;
        }
        painter.drawText(QRect(0, k * step, printer.width(), step), Qt::AlignLeft | Qt::AlignTop, line);
        ++k;
    }
    return painter.end();
}

} // namespace importlog
