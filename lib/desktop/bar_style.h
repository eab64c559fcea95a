#pragma once

#include <QProxyStyle>

class QStyleOptionMenuItem;

namespace desktop {

// Menu bars and tool bars as the program's users know them from Windows. Set it on a menu
// bar and on tool buttons (QWidget::setStyle does not take ownership: give it a parent).
// - A menu bar item with a picture shows the picture and its caption; Qt would show the
//   picture alone, and an item such as "Pomoc" would lose its name.
// - A tool button without a picture, its caption under the place of a picture, keeps the
//   caption in line with the captions of its neighbours that have pictures.
class BarStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit BarStyle(QObject* parent = nullptr);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

private:
    void drawMenuBarItem(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget) const;
};

} // namespace desktop
