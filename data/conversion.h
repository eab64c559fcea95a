#pragma once

#include <QString>

namespace data {

// Copies a database made by an earlier version (no character set declared) into a new file
// that declares Windows-1250, so that clients in other character sets read its Polish
// letters: the same tables, every row and the counters, the stored bytes unchanged. The old
// file is only read. Throws fb::Error with a Polish message when the new file exists, the
// old database declares a character set already, or the copy fails (the new file is removed).
void copyToWindows1250Database(const QString& source, const QString& target);

} // namespace data
