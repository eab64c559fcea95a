#pragma once

#include <QByteArray>
#include <QString>

// Reading the fixed-size records of the ledger programs' files: little-endian unsigned
// numbers and length-prefixed texts at fixed offsets. A reader never leaves the record it is
// given nor the slot of a field, whatever a length byte says.
namespace ledger {

class Record {
public:
    explicit Record(const QByteArray& bytes) : bytes_(bytes) {}

    int size() const { return static_cast<int>(bytes_.size()); }
    // 0 for a byte outside the record.
    unsigned byte(int offset) const;
    unsigned word(int offset) const; // unsigned 16-bit, little-endian
    // The characters of the length-prefixed text whose slot begins at `offset`: its first byte
    // is the number of characters; at most slotSize − 1 of them are taken, and none past the
    // end of the record (slotSize −1: the slot reaches the end of the record).
    QByteArray text(int offset, int slotSize = -1) const;

private:
    QByteArray bytes_;
};

// The characters as the program holds them: Windows-1250, byte for byte.
QString decoded(const QByteArray& bytes);
// Without leading and trailing blanks and control characters.
QString trimmed(const QString& text);

// `text` filled on the left with `fill` while it is shorter than `width`; never shortened.
QString dopelnij(const QString& text, QChar fill, int width);
// The code of a taxpayer as the ledgers write it: its number padded with "0" to three digits.
QString taxpayerCode(int number);

} // namespace ledger
