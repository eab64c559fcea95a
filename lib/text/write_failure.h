#pragma once

#include <QString>

class QFileDevice;

namespace text {

// Why a file could not be written, for the user: a full disk said as such (the file's own
// text is often only "Unknown error" when the last buffer fails as the file is closed),
// otherwise the file's error text.
QString writeFailureReason(const QFileDevice& file, const QString& fileName);

} // namespace text
