#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace text {

// Windows-1250, the code page of the stored text. Decoding never loses a byte: the five
// bytes that the code page leaves undefined decode to the control characters of the same
// number, and encode back to those bytes.
QString fromCp1250(const QByteArray& bytes);
QString fromCp1250(const char* data, int size);
// nullopt when a character has no byte in the code page; *unmappable then holds it.
std::optional<QByteArray> toCp1250(const QString& s, QChar* unmappable = nullptr);

} // namespace text
