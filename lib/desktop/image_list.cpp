#include "desktop/image_list.h"

namespace desktop {

ImageList::ImageList(QObject* parent) : QObject(parent) {}

void ImageList::setIcon(int slot, const QIcon& icon)
{
    icons_.insert(slot, icon);
}

QIcon ImageList::icon(int slot) const
{
    return icons_.value(slot);
}

bool ImageList::has(int slot) const
{
    return icons_.contains(slot);
}

int ImageList::count() const
{
    return icons_.isEmpty() ? 0 : icons_.lastKey() + 1;
}

} // namespace desktop
