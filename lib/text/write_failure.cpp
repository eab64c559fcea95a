#include "text/write_failure.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

namespace text {

namespace {

// Less than this free is a full disk for a file that failed: what is left cannot hold a page.
constexpr qint64 nearlyNothing = 256 * 1024;

} // namespace

QString writeFailureReason(const QFileDevice& file, const QString& fileName)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    const QStorageInfo storage(folder);
    if (file.error() == QFileDevice::ResourceError || (storage.isValid() && storage.bytesAvailable() < nearlyNothing))
        return QStringLiteral("Brak miejsca na dysku (%1).").arg(QDir::toNativeSeparators(storage.isValid() ? storage.rootPath() : folder));
    return file.errorString();
}

} // namespace text
