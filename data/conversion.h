#pragma once

#include <QString>

#include "desktop/stop_request.h"

namespace data {

// Copies a database made by an earlier version (no character set declared) into a new file
// that declares Windows-1250, so that clients in other character sets read its Polish
// letters: the same tables, every row and the counters, the stored bytes unchanged. The old
// file is only read; the new one takes its name only when whole. Throws fb::Error with a Polish
// message when the new file exists, the old database is not the program's or declares a
// character set already, or the copy fails (nothing is left of the new file);
// desktop::WorkStopped when `stop` asked it to end.
void copyToWindows1250Database(const QString& source, const QString& target, const desktop::StopRequest& stop = {});

} // namespace data
