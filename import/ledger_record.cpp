#include "import/ledger_record.h"

#include <algorithm>

#include "text/cp1250.h"

namespace ledger {

unsigned Record::byte(int offset) const
{
    return offset >= 0 && offset < size() ? static_cast<unsigned char>(bytes_[offset]) : 0u;
}

unsigned Record::word(int offset) const
{
    return byte(offset) | (byte(offset + 1) << 8);
}

QByteArray Record::text(int offset, int slotSize) const
{
    if (offset < 0 || offset >= size())
        return {};
    const int room = std::min(slotSize < 0 ? size() - offset - 1 : slotSize - 1, size() - offset - 1);
    const int length = std::min(static_cast<int>(byte(offset)), std::max(0, room));
    return bytes_.mid(offset + 1, length);
}

QString decoded(const QByteArray& bytes)
{
    return text::fromCp1250(bytes);
}

QString trimmed(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 0x20)
        ++first;
    while (last > first && text[last - 1].unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

QString dopelnij(const QString& text, QChar fill, int width)
{
    QString result = text;
    while (result.size() < width)
        result.prepend(fill);
    return result;
}

QString taxpayerCode(int number)
{
    return dopelnij(QString::number(number), QLatin1Char('0'), 3);
}

} // namespace ledger
