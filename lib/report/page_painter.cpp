#include "report/page_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "report/page.h"

namespace report {

namespace {

Qt::Alignment alignmentOf(Align a)
{
    switch (a) {
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

void paintPage(QPainter& painter, const Page& page, double pixelsPerMm, const QPointF& origin)
{
    const auto toDevice = [&](const QPointF& mm) { return origin + mm * pixelsPerMm; };
    // The device turns points into pixels at its own resolution; ask for the size that
    // gives the page's points at this scale.
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : 72.0;
    const double pointScale = pixelsPerMm * 25.4 / dpi;

    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const PageItem& item : page.items()) {
        switch (item.kind) {
        case PageItem::Kind::Text: {
            painter.setPen(Qt::black);
            painter.setFont(item.font.toQFont(item.font.pointSize * pointScale));
            const QRectF r(toDevice(item.rect.topLeft()), item.rect.size() * pixelsPerMm);
            // Lines were broken when the page was made: no wrapping, no clipping here.
            painter.drawText(r, Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip | alignmentOf(item.align), item.text);
            break;
        }
        case PageItem::Kind::Line:
        case PageItem::Kind::Rectangle: {
            // A rule stays visible however small the page is shown.
            QPen pen(Qt::black, std::max(item.lineWidth * pixelsPerMm, 1.0));
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            if (item.kind == PageItem::Kind::Line)
                painter.drawLine(QLineF(toDevice(item.line().p1()), toDevice(item.line().p2())));
            else
                painter.drawRect(QRectF(toDevice(item.rect.topLeft()), item.rect.size() * pixelsPerMm));
            break;
        }
        }
    }
    painter.restore();
}

} // namespace report
