#include "report/page_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QFontMetricsF>
#include <algorithm>

#include "report/page.h"
#include "report/shaped_texts.h"

namespace report {

void paintPage(QPainter& painter, const Page& page, double pixelsPerMm, const QPointF& origin)
{
    QPaintDevice* device = painter.device();
    if (!device)
        return; // a painter that is not painting draws nothing
    const auto toDevice = [&](const QPointF& mm) { return origin + mm * pixelsPerMm; };
    // The device turns points into pixels at its own resolution; ask for the size that
    // gives the page's points at this scale.
    const double pointScale = pixelsPerMm * 25.4 / device->logicalDpiY();

    painter.save();
    painter.setBrush(Qt::NoBrush);
    // Fonts and their metrics are made once per change of font, not once per text: a page of
    // the register holds hundreds of texts in two or three fonts.
    const Font* lastFont = nullptr;
    ShapedTexts* shaped = nullptr;
    // A change of pen is a change of the device's state (in a PDF, written out again): made
    // when a rule was drawn between two texts, not for every text.
    bool textPen = false;
    for (const PageItem& item : page.items()) {
        switch (item.kind) {
        case PageItem::Kind::Text: {
            if (!textPen) {
                painter.setPen(Qt::black);
                textPen = true;
            }
            if (!lastFont || !(*lastFont == item.font)) {
                painter.setFont(item.font.toQFont(item.font.pointSize * pointScale));
                shaped = &shapedTexts(painter.font(), *device);
                lastFont = &item.font;
            }
            // Lines were broken when the page was made: each text is drawn as one line from
            // the top of its box, never wrapped or clipped here.
            const QRectF r(toDevice(item.rect.topLeft()), item.rect.size() * pixelsPerMm);
            const QFontMetricsF& metrics = shaped->metrics();
            const ShapedTexts::Shaped* text = shaped->of(item.text, *device);
            double x = r.left();
            if (item.align != Align::Left) {
                const double spare = r.width() - (text ? text->width : metrics.horizontalAdvance(item.text));
                x += item.align == Align::Right ? spare : spare / 2;
            }
            if (!text) {
                painter.drawText(QPointF(x, r.top() + metrics.ascent()), item.text);
                break;
            }
            const QPointF at(x, r.top() + metrics.ascent() - text->ascent);
            for (const QGlyphRun& run : text->runs)
                painter.drawGlyphRun(at, run);
            break;
        }
        case PageItem::Kind::Line:
        case PageItem::Kind::Rectangle: {
            // A rule stays visible however small the page is shown.
            QPen pen(Qt::black, std::max(item.lineWidth * pixelsPerMm, 1.0));
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            textPen = false;
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
