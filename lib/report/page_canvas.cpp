#include "report/page_canvas.h"

#include <QPaintEvent>
#include <QPainter>

#include "report/page_painter.h"
#include "report/report_printer.h"

namespace report {

PageCanvas::PageCanvas(QWidget* parent) : QWidget(parent) {}

void PageCanvas::setContent(ReportPrinter* printer, int number, double pixelsPerMm)
{
    printer_ = printer;
    number_ = number;
    pixelsPerMm_ = pixelsPerMm;
    const QSizeF paper = printer ? printer->pageSize() * pixelsPerMm : QSizeF();
    setFixedSize(qCeil(paper.width()) + 2 * border, qCeil(paper.height()) + 2 * border);
    update();
}

void PageCanvas::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Dark));
    if (!printer_)
        return;
    const QRectF paper(border, border, width() - 2 * border, height() - 2 * border);
    p.fillRect(paper.translated(3, 3), Qt::darkGray);
    p.fillRect(paper, Qt::white);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (number_ >= 1 && number_ <= printer_->pageCount())
        paintPage(p, printer_->page(number_), pixelsPerMm_, paper.topLeft());
}

} // namespace report
