#include "desktop/network_drive.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <winnetwk.h>
#endif

namespace desktop {

namespace {

DriveLookup& lookupOverride()
{
    static DriveLookup lookup;
    return lookup;
}

QString systemShareOf(QChar drive)
{
#ifdef Q_OS_WIN
    const std::wstring local = QString(drive).append(QLatin1Char(':')).toStdWString();
    wchar_t remote[1024];
    DWORD size = sizeof remote / sizeof remote[0];
    if (WNetGetConnectionW(local.c_str(), remote, &size) == NO_ERROR)
        return QString::fromWCharArray(remote);
#else
    Q_UNUSED(drive);
#endif
    return {};
}

} // namespace

QString networkFormOfPath(const QString& path)
{
    if (path.size() < 2 || path[1] != QLatin1Char(':') || !path[0].isLetter())
        return path;
    const QChar drive = path[0].toUpper();
    if (drive < QLatin1Char('F') || drive > QLatin1Char('Z'))
        return path;
    const QString share = lookupOverride() ? lookupOverride()(drive) : systemShareOf(drive);
    return share.isEmpty() ? path : share + path.mid(2);
}

void setDriveLookup(DriveLookup lookup)
{
    lookupOverride() = std::move(lookup);
}

} // namespace desktop
