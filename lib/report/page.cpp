#include "report/page.h"

namespace report {

QStringList Page::texts() const
{
    QStringList result;
    for (const PageItem& i : items_)
        if (i.kind == PageItem::Kind::Text)
            result << i.text;
    return result;
}

const PageItem* Page::findText(const QString& text) const
{
    for (const PageItem& i : items_)
        if (i.kind == PageItem::Kind::Text && i.text == text)
            return &i;
    return nullptr;
}

} // namespace report
