#pragma once

#include <QChar>
#include <QString>
#include <bitset>

// The taxpayer identifiers' check-digit tests and the text helpers they use. The texts are
// those of the screens; "character codes" are Windows-1250 codes, as the stored text has them.
namespace registers {

// A set of Windows-1250 character codes 0..255.
using CharSet = std::bitset<256>;

// The Windows-1250 code of a character; '?' (63) for one that the code page cannot hold,
// because that is what such a character becomes in the stored text.
unsigned char cp1250Code(QChar c);

// The text with every occurrence of c removed.
QString usun_znak(const QString& text, QChar c);
// The text with every character whose Windows-1250 code is in the set removed.
QString usun_znaki(const QString& text, const CharSet& set);

// True when the text is a NIP whose check digit is right. Blanks and control characters
// around it, "-" and "_" anywhere, and other non-digits before the check digit (a "PL"
// prefix, dots) do not make it wrong.
bool spr_nip(const QString& text);
// The same for the nine-digit REGON; a fourteen-digit REGON is reported wrong.
bool spr_regon(const QString& text);

// The text without leading and trailing characters of codes up to 32.
QString trimControls(const QString& text);

} // namespace registers
