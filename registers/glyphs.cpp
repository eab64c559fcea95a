#include "registers/glyphs.h"

#include <QPainter>
#include <QPixmap>

namespace registers {

namespace {

QPixmap blank()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QIcon searchGlyph()
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 110), 1.8));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    p.setPen(QPen(QColor(40, 60, 110), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return QIcon(pm);
}

QIcon checkGlyph()
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 120, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}});
    return QIcon(pm);
}

} // namespace registers
