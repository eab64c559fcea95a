#include "report/page_store.h"

#include <QDataStream>
#include <QDir>
#include <stdexcept>

namespace report {

PageStore::PageStore() : file_(QDir::tempPath() + QStringLiteral("/brenvald-pages-XXXXXX"))
{
    if (file_.open())
        device_ = &file_;
    else {
        memory_.open(QIODevice::ReadWrite);
        device_ = &memory_;
    }
}

quint16 PageStore::fontIndex(const Font& font)
{
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i] == font)
            return static_cast<quint16>(i);
    fonts_.push_back(font);
    return static_cast<quint16>(fonts_.size() - 1);
}

void PageStore::add(const Page& page)
{
    const auto index = static_cast<int>(offsets_.size());
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint32(page.number()) << page.size() << quint32(page.items().size());
    for (const PageItem& item : page.items()) {
        out << quint8(item.kind) << quint8(item.align) << item.rect << item.lineWidth;
        if (item.kind == PageItem::Kind::Text)
            out << fontIndex(item.font) << item.text;
    }
    device_->seek(device_->size());
    offsets_.push_back(device_->pos());
    // Written through at once, so that a full disk shows here and does not lose the page: it
    // stays in memory.
    const bool written = device_->write(bytes) == bytes.size() && (device_ != &file_ || file_.flush());
    if (!written)
        unwritten_.emplace(index, page);
}

Page PageStore::at(int index) const
{
    const qint64 offset = offsets_.at(static_cast<std::size_t>(index));
    if (const auto kept = unwritten_.find(index); kept != unwritten_.end())
        return kept->second;
    if (last_ && lastIndex_ == index)
        return *last_;
    device_->seek(offset);
    QDataStream in(device_);
    qint32 number = 0;
    QSizeF size;
    quint32 items = 0;
    in >> number >> size >> items;
    Page page(number, size);
    for (quint32 i = 0; i < items && in.status() == QDataStream::Ok; ++i) {
        PageItem item;
        quint8 kind = 0, align = 0;
        in >> kind >> align >> item.rect >> item.lineWidth;
        item.kind = static_cast<PageItem::Kind>(kind);
        item.align = static_cast<Align>(align);
        if (item.kind == PageItem::Kind::Text) {
            quint16 font = 0;
            in >> font >> item.text;
            item.font = fonts_.at(font);
        }
        page.add(std::move(item));
    }
    // Never a page with items missing: a preview prints and writes from here.
    if (in.status() != QDataStream::Ok)
        throw std::runtime_error("a page of the preview could not be read back from its temporary file");
    last_ = page;
    lastIndex_ = index;
    return page;
}

} // namespace report
