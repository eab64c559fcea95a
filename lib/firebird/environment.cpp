#include "firebird/environment.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>

#include "firebird/error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fb {

namespace {

// Under the user's runtime folder (made by the system for this user alone) when there is one,
// else in the user's cache, else in the temporary folder under a name of the user's number.
QString ownLockFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/brenvald-firebird");
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir::isAbsolutePath(cache))
        return cache + QStringLiteral("/brenvald/firebird");
    return QDir::tempPath() + QStringLiteral("/brenvald-firebird-") + QString::number(::geteuid());
}

// What is wrong with the folder for keeping the engine's files, or nothing when it is a real
// folder of this user that nobody else may enter.
QString unsafety(const QString& folder)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        return QStringLiteral("nie można go odczytać");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("to dowiązanie, a nie folder");
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("to nie jest folder");
    if (st.st_uid != ::geteuid())
        return QStringLiteral("jego właścicielem jest inny użytkownik (numer %1)").arg(st.st_uid);
    if ((st.st_mode & 07777) != 0700)
        return QStringLiteral("ma prawa %1 zamiast 0700").arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return {};
}

// Each process of the engine leaves an empty trace file of its own behind, as the program ends
// without unloading the engine; those of long ago are nobody's.
void forgetStaleTraceFiles(const QString& folder)
{
    const QDateTime longAgo = QDateTime::currentDateTime().addDays(-1);
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("fb_trace_*")}, QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& f : files)
        if (f.size() == 0 && f.lastModified() < longAgo)
            QFile::remove(f.filePath());
}

void keepLockFilesPrivate()
{
    const QString folder = ownLockFolder();
    QDir().mkpath(QFileInfo(folder).path());
    const QByteArray path = QFile::encodeName(folder);
    // Made here with no rights for anyone else; one found already is only checked, never
    // changed, since it may not be this user's.
    if (::mkdir(path.constData(), 0700) == 0)
        ::chmod(path.constData(), 0700);
    if (const QString wrong = unsafety(folder); !wrong.isEmpty())
        throw Error(QStringLiteral("Program nie otworzy żadnej bazy danych: folder %1, w którym silnik bazy danych zapisuje "
                                   "pliki blokad, nie jest bezpieczny (%2). Inny użytkownik tego komputera mógłby przez "
                                   "niego zniszczyć Twoje pliki. Usuń ten folder (program utworzy go na nowo) albo nadaj "
                                   "mu Ciebie jako właściciela i prawa 0700.")
                        .arg(QDir::toNativeSeparators(folder), wrong),
                    QStringLiteral("lock folder"));
    qputenv("FIREBIRD_LOCK", path);
    forgetStaleTraceFiles(folder);
}

} // namespace

void prepareEnvironment()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
            keepLockFilesPrivate();
    });
}

void endProcess(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

namespace {

constexpr int keptSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

ProcessSignalsKept::ProcessSignalsKept()
{
    static_assert(std::size(keptSignals) == count);
    sigemptyset(&held_);
    for (int s : keptSignals)
        sigaddset(&held_, s);
    pthread_sigmask(SIG_BLOCK, &held_, &before_);
    for (int i = 0; i < count; ++i)
        sigaction(keptSignals[i], nullptr, &actions_[i]);
}

ProcessSignalsKept::~ProcessSignalsKept()
{
    for (int i = 0; i < count; ++i)
        sigaction(keptSignals[i], &actions_[i], nullptr);
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

} // namespace fb
