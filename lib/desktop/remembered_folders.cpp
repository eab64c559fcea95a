#include "desktop/remembered_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace desktop {

namespace {

QSettings settings()
{
    return QSettings(QStringLiteral("brenvald"), QStringLiteral("foldery"));
}

} // namespace

QString rememberedFolder(const QString& kind)
{
    const QString folder = settings().value(kind).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void rememberFolderOf(const QString& kind, const QString& path)
{
    if (kind.isEmpty() || path.isEmpty())
        return;
    const QFileInfo info(path);
    settings().setValue(kind, info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

QString startPathFor(const QString& kind, const QString& suggested)
{
    if (kind.isEmpty() || suggested.contains(QLatin1Char('/')))
        return suggested;
    QString folder = rememberedFolder(kind);
    if (folder.isEmpty()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        folder = QDir(documents).exists() ? documents : QDir::homePath();
    }
    return suggested.isEmpty() ? folder : QDir(folder).filePath(suggested);
}

} // namespace desktop
