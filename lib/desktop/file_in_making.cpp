#include "desktop/file_in_making.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace desktop {

namespace {

bool nameTaken(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 || errno != ENOENT;
}

QString randomSuffix()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString s;
    for (int i = 0; i < 6; ++i)
        s += QLatin1Char(letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)]);
    return s;
}

void syncToDisk(const QByteArray& path, int flags)
{
    const int fd = ::open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

[[noreturn]] void failWith(const QString& sentence)
{
    throw std::runtime_error(sentence.toStdString());
}

// Gives the file the target's name unless a file has it: atomically where the file system can,
// else through a second link, which also fails on an existing name.
bool renameWithoutReplacing(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

} // namespace

QString existingFileRefusal(const QString& target)
{
    return QStringLiteral("Plik %1 już istnieje; nie zostanie nadpisany.").arg(QDir::toNativeSeparators(target));
}

FileInMaking::FileInMaking(const QString& target) : target_(QFileInfo(target).absoluteFilePath())
{
    do
        path_ = target_ + QStringLiteral(".tmp-") + randomSuffix();
    while (nameTaken(QFile::encodeName(path_)));
}

FileInMaking::~FileInMaking()
{
    if (!finished_)
        ::unlink(QFile::encodeName(path_).constData());
}

void FileInMaking::createPrivate()
{
    const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        failWith(QStringLiteral("Nie można utworzyć pliku %1: %2.")
                     .arg(QDir::toNativeSeparators(path_), QString::fromLocal8Bit(std::strerror(errno))));
    ::close(fd);
}

void FileInMaking::finish(Existing existing)
{
    const QByteArray from = QFile::encodeName(path_);
    const QByteArray to = QFile::encodeName(target_);
    syncToDisk(from, O_RDONLY);
    const bool renamed = existing == Existing::Replace ? ::rename(from.constData(), to.constData()) == 0
                                                       : renameWithoutReplacing(from, to);
    if (!renamed) {
        const int error = errno;
        if (error == EEXIST)
            failWith(existingFileRefusal(target_));
        failWith(QStringLiteral("Nie można nadać plikowi nazwy %1: %2.")
                     .arg(QDir::toNativeSeparators(target_), QString::fromLocal8Bit(std::strerror(error))));
    }
    finished_ = true;
    syncToDisk(QFile::encodeName(QFileInfo(target_).path()), O_RDONLY | O_DIRECTORY);
}

} // namespace desktop
