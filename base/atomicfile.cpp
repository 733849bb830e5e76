#include "base/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
[[noreturn]] void fail(const QString& what, const QString& path, int err) {
    throw std::runtime_error(QStringLiteral("%1 \"%2\". %3")
                                 .arg(what, path, QString::fromLocal8Bit(std::strerror(err)))
                                 .toStdString());
}

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}
} // namespace

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && ::access(target.constData(), W_OK) != 0)
        fail(QStringLiteral("Cannot write file"), path, errno);

    // A hidden name beside the target, so that the rename stays on one file system.
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    QByteArray tmp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        tmp = QFile::encodeName(QStringLiteral("%1/.%2.%3-%4.tmp")
                                    .arg(folder, info.fileName())
                                    .arg(::getpid())
                                    .arg(attempt));
        fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        fail(QStringLiteral("Cannot create file"), path, errno);
    // The new file keeps the old one's permissions.
    if (exists)
        (void)::fchmod(fd, old.st_mode & 07777);
    const bool written = writeAll(fd, bytes.constData(), bytes.size()) && ::fsync(fd) == 0;
    const int writeErr = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(tmp.constData());
        fail(QStringLiteral("Error writing file"), path, written ? errno : writeErr);
    }
    if (::rename(tmp.constData(), target.constData()) != 0) {
        const int err = errno;
        ::unlink(tmp.constData());
        fail(QStringLiteral("Cannot replace file"), path, err);
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}
