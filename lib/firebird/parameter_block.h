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

// A number of an attachment's parameter block: the tag, its length (4) and the value, low
// byte first.
inline void appendNumber(QByteArray& block, char item, quint32 value)
{
    block.append(item);
    block.append(char(4));
    for (int shift = 0; shift < 32; shift += 8)
        block.append(static_cast<char>((value >> shift) & 0xFF));
}

inline void appendText(QByteArray& block, char item, const QByteArray& value)
{
    block.append(item);
    block.append(static_cast<char>(value.size() & 0xFF));
    block.append(static_cast<char>((value.size() >> 8) & 0xFF));
    block.append(value);
}

} // namespace fb
