#pragma once

#include <QSizeF>
#include <QStringList>
#include <vector>

#include "report/page_item.h"

namespace report {

// A computed page: its number (from 1), its paper size in millimetres and its items in the
// order they were placed (bands top to bottom, a band's items in definition order).
class Page {
public:
    Page(int number, const QSizeF& size) : number_(number), size_(size) {}

    int number() const { return number_; }
    const QSizeF& size() const { return size_; }
    const std::vector<PageItem>& items() const { return items_; }
    void add(PageItem item) { items_.push_back(std::move(item)); }

    // The texts of the page in placing order.
    QStringList texts() const;
    // The first text item whose text is exactly `text`, or nullptr.
    const PageItem* findText(const QString& text) const;

private:
    int number_;
    QSizeF size_;
    std::vector<PageItem> items_;
};

} // namespace report
