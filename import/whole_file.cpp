#include "import/whole_file.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ledger {

namespace {

QString notRegular()
{
    return QStringLiteral("to nie zwykły plik, lecz potok, urządzenie lub gniazdo");
}

QString tooLarge(qint64 size, qint64 limit)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    return QStringLiteral("ma %1 MiB, a plik księgi może mieć najwyżej %2 MiB")
        .arg((size + mebibyte - 1) / mebibyte)
        .arg(limit / mebibyte);
}

} // namespace

WholeFile readWholeFile(const QString& path, qint64 limit)
{
    WholeFile read;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return read;
    read.there = true;
    if (info.isSymLink() && !info.exists()) {
        read.problem = QStringLiteral("dowiązanie symboliczne nie prowadzi do pliku");
        return read;
    }
    if (info.isDir()) {
        read.problem = QStringLiteral("to katalog, nie plik");
        return read;
    }
    if (!info.isFile()) {
        read.problem = notRegular();
        return read;
    }
    if (info.size() > limit) {
        read.problem = tooLarge(info.size(), limit);
        return read;
    }
    QFile file;
    qint64 size = info.size();
#ifdef Q_OS_UNIX
    // Opened without waiting and looked at again once open: something else put under the
    // name since (a pipe, a larger file) is refused as it would have been before.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read.problem = errno == EACCES ? QStringLiteral("brak prawa do odczytu")
                                       : QStringLiteral("nie można go otworzyć: %1").arg(qt_error_string(errno));
        return read;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_size > limit) {
        read.problem = S_ISREG(opened.st_mode) ? tooLarge(opened.st_size, limit) : notRegular();
        ::close(fd);
        return read;
    }
    size = opened.st_size;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        read.problem = QStringLiteral("nie można go otworzyć: %1").arg(file.errorString());
        return read;
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.problem = info.isReadable() ? QStringLiteral("nie można go otworzyć: %1").arg(file.errorString())
                                         : QStringLiteral("brak prawa do odczytu");
        return read;
    }
#endif
    // What the file held when it was opened: one that grows meanwhile is not followed.
    read.bytes = file.read(size);
    read.readFailed = file.error() != QFileDevice::NoError;
    return read;
}

} // namespace ledger
