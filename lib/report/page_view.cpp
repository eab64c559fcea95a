#include "report/page_view.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "report/page_canvas.h"
#include "report/report_printer.h"

namespace report {

namespace {

constexpr int minZoom = 5;
constexpr int maxZoom = 800;

} // namespace

PageView::PageView(QWidget* parent) : QScrollArea(parent), canvas_(new PageCanvas)
{
    setWidget(canvas_);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setBackgroundRole(QPalette::Dark);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
}

void PageView::setPrinter(ReportPrinter* printer)
{
    if (printer_)
        disconnect(printer_, nullptr, this, nullptr);
    printer_ = printer;
    page_ = 1;
    if (printer_) {
        connect(printer_, &ReportPrinter::pageAvailable, this, [this](int count) {
            if (page_ <= count)
                canvas_->update();
            emit pageAvailable(count);
        });
        connect(printer_, &ReportPrinter::progress, this, &PageView::progress);
    }
    refresh();
}

ReportPrinter* PageView::printer() const
{
    return printer_;
}

void PageView::setPageNumber(int number)
{
    const int count = printer_ ? printer_->pageCount() : 0;
    page_ = std::clamp(number, 1, std::max(1, count));
    refresh();
}

void PageView::setZoom(int percent)
{
    zoom_ = std::clamp(percent, minZoom, maxZoom);
    refresh();
}

void PageView::zoomToWidth()
{
    if (!printer_)
        return;
    // Room for the vertical scroll bar that a page as wide as the view will need.
    const int room = maximumViewportSize().width() - verticalScrollBar()->sizeHint().width() - 2 * PageCanvas::border;
    setZoom(static_cast<int>(room / (printer_->pageSize().width() * pixelsPerMmAt(100)) * 100));
}

void PageView::zoomToPage()
{
    if (!printer_)
        return;
    const QSize room = maximumViewportSize() - QSize(2 * PageCanvas::border, 2 * PageCanvas::border);
    const QSizeF paper = printer_->pageSize() * pixelsPerMmAt(100);
    setZoom(static_cast<int>(std::min(room.width() / paper.width(), room.height() / paper.height()) * 100));
}

double PageView::pixelsPerMmAt(int percent) const
{
    return logicalDpiX() / 25.4 * percent / 100.0;
}

void PageView::refresh()
{
    canvas_->setContent(printer_, page_, pixelsPerMmAt(zoom_));
}

void PageView::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

bool PageView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && (watched == horizontalScrollBar() || watched == verticalScrollBar()))
        return true;
    return QScrollArea::eventFilter(watched, event);
}

} // namespace report
