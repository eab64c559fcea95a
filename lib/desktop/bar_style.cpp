#include "desktop/bar_style.h"

#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace desktop {

namespace {

constexpr int iconTextSpacing = 4;

bool showsPictureAndCaption(const QStyleOption* option, const QStyleOptionMenuItem*& item)
{
    item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    return item && !item->icon.isNull() && !item->text.isEmpty();
}

} // namespace

BarStyle::BarStyle(QObject* parent) : QProxyStyle()
{
    setParent(parent);
}

QSize BarStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                 const QWidget* widget) const
{
    const QStyleOptionMenuItem* item = nullptr;
    if (type != CT_MenuBarItem || !showsPictureAndCaption(option, item))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const int iconExtent = pixelMetric(PM_SmallIconSize, option, widget);
    const QSize text = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
    const QSize contents(iconExtent + iconTextSpacing + text.width(), qMax(iconExtent, text.height()));
    return QProxyStyle::sizeFromContents(type, option, contents, widget);
}

void BarStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const
{
    const QStyleOptionMenuItem* item = nullptr;
    if (element == CE_MenuBarItem && showsPictureAndCaption(option, item)) {
        drawMenuBarItem(*item, painter, widget);
        return;
    }
    const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
    const auto* toolButton = qobject_cast<const QToolButton*>(widget);
    if (element == CE_ToolButtonLabel && button && button->icon.isNull() && toolButton &&
        toolButton->toolButtonStyle() == Qt::ToolButtonTextUnderIcon) {
        // Qt shows such a button as text only, centred; an invisible picture of the usual
        // size puts the caption where the others are.
        QPixmap blank(button->iconSize);
        blank.fill(Qt::transparent);
        QStyleOptionToolButton withBlank = *button;
        withBlank.icon = QIcon(blank);
        withBlank.toolButtonStyle = Qt::ToolButtonTextUnderIcon;
        QProxyStyle::drawControl(element, &withBlank, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void BarStyle::drawMenuBarItem(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget) const
{
    // The background and the highlight as the style draws them, then picture and caption.
    QStyleOptionMenuItem bare = item;
    bare.icon = QIcon();
    bare.text.clear();
    QProxyStyle::drawControl(CE_MenuBarItem, &bare, painter, widget);

    const bool enabled = item.state & State_Enabled;
    const bool pressed = (item.state & State_Selected) && (item.state & State_Sunken);
    const int iconExtent = pixelMetric(PM_SmallIconSize, &item, widget);
    const int textWidth = item.fontMetrics.size(Qt::TextShowMnemonic, item.text).width();
    const int left = item.rect.center().x() - (iconExtent + iconTextSpacing + textWidth) / 2;

    const QRect iconRect(left, item.rect.center().y() - iconExtent / 2, iconExtent, iconExtent);
    const QPixmap pixmap = item.icon.pixmap(QSize(iconExtent, iconExtent), painter->device()->devicePixelRatio(),
                                            enabled ? QIcon::Normal : QIcon::Disabled);
    drawItemPixmap(painter, iconRect, Qt::AlignCenter, pixmap);

    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!styleHint(SH_UnderlineShortcut, &item, widget))
        flags |= Qt::TextHideMnemonic;
    const QRect textRect(iconRect.right() + 1 + iconTextSpacing, item.rect.top(), textWidth + 1, item.rect.height());
    drawItemText(painter, textRect, flags, item.palette, enabled, item.text,
                 pressed ? QPalette::HighlightedText : QPalette::ButtonText);
}

} // namespace desktop
