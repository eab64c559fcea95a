#pragma once

#include <QBuffer>
#include <QTemporaryFile>
#include <map>
#include <optional>
#include <vector>

#include "report/font.h"
#include "report/page.h"

namespace report {

// The pages a preview has made, kept in a temporary file of their own rather than in memory:
// a register of a million purchases has some 17 000 pages, hundreds of megabytes as objects,
// while the preview shows one page at a time. Only the page read last stays in memory. When
// no temporary file can be made, the pages are kept in memory, written the same way.
class PageStore {
public:
    PageStore();

    void add(const Page& page);
    int count() const { return static_cast<int>(offsets_.size()); }
    // Page `index` (from 0) as it was added.
    Page at(int index) const;

private:
    quint16 fontIndex(const Font& font);

    QTemporaryFile file_;
    QBuffer memory_;
    QIODevice* device_ = nullptr;
    std::vector<qint64> offsets_; // where each page starts
    std::vector<Font> fonts_;     // the fonts of the items, by their index in the store
    std::map<int, Page> unwritten_; // pages the file did not take (a full disk)
    mutable std::optional<Page> last_;
    mutable int lastIndex_ = -1;
};

} // namespace report
