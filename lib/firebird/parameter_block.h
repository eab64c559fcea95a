#pragma once

#include <QByteArray>

namespace fb {

// Items of the client's parameter blocks (attach, service): a tag, a one-byte length and the
// bytes (255 at most), or for a service request's names a two-byte length.
inline void appendShortText(QByteArray& block, char item, const QByteArray& value)
{
    block.append(item);
    block.append(static_cast<char>(value.size()));
    block.append(value);
}

inline void appendText(QByteArray& block, char item, const QByteArray& value)
{
    block.append(item);
    block.append(static_cast<char>(value.size() & 0xFF));
    block.append(static_cast<char>((value.size() >> 8) & 0xFF));
    block.append(value);
}

} // namespace fb
