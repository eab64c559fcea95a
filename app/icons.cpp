#include "icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <initializer_list>

namespace icons {

namespace {

using Drawing = std::function<void(QPainter&)>;

// Every picture is drawn on a 32 by 32 grid and rendered at each size a window asks for,
// so that small sizes are drawn sharp rather than scaled down.
QIcon render(const Drawing& draw, std::initializer_list<int> sizes = {16, 24, 32, 48})
{
    QIcon icon;
    for (const int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen outline(const QColor& color, qreal width = 1.6)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void sheet(QPainter& p)
{
    QPainterPath page;
    page.moveTo(5, 3);
    page.lineTo(19, 3);
    page.lineTo(25, 9);
    page.lineTo(25, 29);
    page.lineTo(5, 29);
    page.closeSubpath();
    p.setPen(outline(QColor(90, 98, 110)));
    p.setBrush(QColor(250, 250, 246));
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(19, 3), QPointF(19, 9), QPointF(25, 9)}));
    p.setPen(outline(QColor(160, 168, 178), 1.2));
    for (const qreal y : {14.0, 18.0, 22.0})
        p.drawLine(QPointF(9, y), QPointF(17, y));
}

} // namespace

QIcon program()
{
    return render(
        [](QPainter& p) {
            // A fuel drop on green: the fee for burning fuel paid for the environment.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(46, 125, 50));
            p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
            QPainterPath drop;
            drop.moveTo(16, 5);
            drop.cubicTo(16, 5, 7, 16, 7, 20);
            drop.arcTo(QRectF(7, 11, 18, 18), 180, 180);
            drop.cubicTo(25, 16, 16, 5, 16, 5);
            p.setBrush(QColor(255, 193, 7));
            p.drawPath(drop);
            p.setBrush(QColor(255, 236, 179));
            p.drawEllipse(QRectF(11, 17, 4, 6));
        },
        {16, 24, 32, 48, 64, 128});
}

QIcon importing()
{
    return render([](QPainter& p) {
        sheet(p);
        // A green arrow coming into the sheet from the left.
        p.setPen(outline(QColor(27, 120, 40), 3));
        p.drawLine(QPointF(2, 21), QPointF(16, 21));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(27, 120, 40));
        p.drawPolygon(QPolygonF({QPointF(14, 15), QPointF(22, 21), QPointF(14, 27)}));
    });
}

QIcon purchaseEntry()
{
    return render([](QPainter& p) {
        sheet(p);
        // A pen writing an invoice line.
        p.setPen(outline(QColor(21, 101, 192), 1.2));
        p.setBrush(QColor(66, 165, 245));
        p.drawPolygon(QPolygonF({QPointF(27, 9), QPointF(31, 13), QPointF(17, 27), QPointF(13, 27), QPointF(13, 23)}));
        p.setPen(outline(QColor(90, 98, 110), 1.2));
        p.drawLine(QPointF(13, 27), QPointF(15, 25));
    });
}

QIcon settlement()
{
    return render([](QPainter& p) {
        sheet(p);
        // The amount worked out: a coin with the złoty's sign.
        p.setPen(outline(QColor(158, 112, 0), 1.4));
        p.setBrush(QColor(255, 202, 40));
        p.drawEllipse(QRectF(15, 15, 15, 15));
        QFont font;
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(110, 78, 0));
        p.drawText(QRectF(15, 15, 15, 15), Qt::AlignCenter, QStringLiteral("zł"));
    });
}

QIcon everyTaxpayer()
{
    return render([](QPainter& p) {
        // Three people side by side: every taxpayer of the office at once.
        const QColor colours[] = {QColor(120, 144, 156), QColor(46, 125, 50), QColor(21, 101, 192)};
        const qreal xs[] = {4, 20, 12};
        const qreal ys[] = {6, 6, 10};
        for (int i = 0; i < 3; ++i) {
            p.setPen(outline(colours[i].darker(130), 1.2));
            p.setBrush(colours[i]);
            p.drawEllipse(QRectF(xs[i] + 1, ys[i], 7, 7));
            p.drawRoundedRect(QRectF(xs[i] - 1, ys[i] + 8, 11, 12), 4, 4);
        }
        p.setPen(outline(QColor(90, 98, 110), 1.4));
        p.drawLine(QPointF(3, 29), QPointF(29, 29));
    });
}

QIcon endOfWork()
{
    return render([](QPainter& p) {
        // An open door with an arrow going out.
        p.setPen(outline(QColor(90, 70, 50)));
        p.setBrush(QColor(222, 200, 170));
        p.drawRect(QRectF(4, 3, 16, 26));
        p.setBrush(QColor(160, 110, 60));
        p.drawPolygon(QPolygonF({QPointF(4, 3), QPointF(13, 6), QPointF(13, 31), QPointF(4, 29)}));
        p.setPen(outline(QColor(198, 40, 40), 3));
        p.drawLine(QPointF(15, 16), QPointF(25, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(198, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(23, 10), QPointF(31, 16), QPointF(23, 22)}));
    });
}

QIcon help()
{
    return render([](QPainter& p) {
        p.setPen(outline(QColor(13, 71, 161)));
        p.setBrush(QColor(30, 110, 220));
        p.drawEllipse(QRectF(2, 2, 28, 28));
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(22);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon mail()
{
    return render([](QPainter& p) {
        p.setPen(outline(QColor(90, 98, 110)));
        p.setBrush(QColor(255, 248, 225));
        p.drawRect(QRectF(2, 7, 28, 19));
        p.drawPolyline(QPolygonF({QPointF(2, 7), QPointF(16, 18), QPointF(30, 7)}));
        p.setPen(outline(QColor(150, 150, 150), 1.2));
        p.drawLine(QPointF(2, 26), QPointF(12, 17));
        p.drawLine(QPointF(30, 26), QPointF(20, 17));
    });
}

QIcon web()
{
    return render([](QPainter& p) {
        // A globe: the rim, the meridians and the parallels.
        const QRectF globe(3, 3, 26, 26);
        p.setBrush(QColor(187, 222, 251));
        p.setPen(outline(QColor(21, 101, 192)));
        p.drawEllipse(globe);
        p.setBrush(Qt::NoBrush);
        p.setPen(outline(QColor(21, 101, 192), 1.3));
        p.drawEllipse(QRectF(10, 3, 12, 26));
        p.drawLine(QPointF(16, 3), QPointF(16, 29));
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
        p.drawLine(QPointF(5.5, 9.5), QPointF(26.5, 9.5));
        p.drawLine(QPointF(5.5, 22.5), QPointF(26.5, 22.5));
    });
}

} // namespace icons
