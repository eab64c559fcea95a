#include "report/band.h"

namespace report {

Band::Band(BandKind kind, double height) : kind_(kind), height_(height) {}

BandItem& Band::add(BandItem::Kind kind, const QRectF& rect)
{
    items_.push_back(std::make_unique<BandItem>(kind, rect));
    return *items_.back();
}

BandItem& Band::addText(const QRectF& rect, const QString& text)
{
    return add(BandItem::Kind::Text, rect).setText(text);
}

BandItem& Band::addField(const QRectF& rect, const QString& field)
{
    return add(BandItem::Kind::Field, rect).setText(field);
}

BandItem& Band::addComputed(const QRectF& rect, std::function<QString()> compute)
{
    return add(BandItem::Kind::Computed, rect).setCompute(std::move(compute));
}

BandItem& Band::addHorizontalRule(double x, double y, double length)
{
    return add(BandItem::Kind::HorizontalRule, QRectF(x, y, length, 0));
}

BandItem& Band::addVerticalRule(double x, double y, double length)
{
    return add(BandItem::Kind::VerticalRule, QRectF(x, y, 0, length));
}

Band& Band::addChild(double height)
{
    children_.push_back(std::make_unique<Band>(BandKind::Child, height));
    return *children_.back();
}

BandItem* Band::item(const QString& name) const
{
    for (const auto& i : items_)
        if (i->name() == name)
            return i.get();
    return nullptr;
}

} // namespace report
