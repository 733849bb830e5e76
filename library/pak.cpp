#include "library/pak.h"

#include "base/atomicfile.h"
#include "base/cp1251.h"
#include "library/thumbnail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

bool isSafeEntryName(const QByteArray& name) {
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    for (char c : name) {
        if (c == '/' || c == '\\' || c == ':' || c == '\0')
            return false;
    }
    return true;
}

QString pageNameOf(const QString& entryName) {
    return entryName.size() < 4 ? QString() : entryName.left(entryName.size() - 4);
}

namespace {
// Entry names run to 65,535 bytes: a message shows the start of one.
std::string shownPath(const QString& path) {
    constexpr int kShown = 120;
    return (path.size() > kShown ? path.left(kShown) + QStringLiteral("...") : path).toStdString();
}
} // namespace

bool moveNoReplace(const QString& from, const QString& to) {
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing target too.
    if (errno == EINVAL || errno == ENOSYS) {
        if (::link(f.constData(), t.constData()) == 0) {
            ::unlink(f.constData());
            return true;
        }
        if (errno == EEXIST)
            return false;
    }
    // The file system refuses the name (too long, ...): the caller must not take this for
    // a page already in place.
    throw std::runtime_error("Cannot create file \"" + shownPath(to) + "\". " +
                             std::strerror(errno));
}

namespace {
// Moves a file over whatever has its name.
void moveReplacing(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw std::runtime_error("Cannot create file \"" + shownPath(to) + "\". " +
                                 std::strerror(errno));
}

// What tells one version of an archive from another: a new copy has another inode or change
// time even when its size and modification time were kept.
QByteArray archiveStamp(const QString& pakPath) {
    struct stat st {};
    if (::stat(QFile::encodeName(pakPath).constData(), &st) != 0)
        return {};
    return QByteArray::number(qint64(st.st_size)) + ' ' +
           QByteArray::number(qint64(st.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qint64(st.st_mtim.tv_nsec)) + ' ' +
           QByteArray::number(qint64(st.st_ctim.tv_sec)) + '.' +
           QByteArray::number(qint64(st.st_ctim.tv_nsec)) + ' ' +
           QByteArray::number(quint64(st.st_ino)) + '\n';
}

QString stampPath(const QString& cacheDir, const QString& pakPath) {
    return cacheDir + QStringLiteral("/stamps/") + QFileInfo(pakPath).fileName();
}

QByteArray keptStamp(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(256) : QByteArray();
}

template <typename T> bool readLE(QFile& f, T& out) {
    unsigned char buf[sizeof(T)];
    if (f.read(reinterpret_cast<char*>(buf), sizeof(T)) != qint64(sizeof(T)))
        return false;
    out = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        out |= T(buf[i]) << (8 * i);
    return true;
}

// Bytes of zeros from the current position on, reading no further than the file's end.
qint64 zeroRun(QFile& f, char* block, qint64 blockSize) {
    const qint64 start = f.pos();
    qint64 zeros = 0;
    for (;;) {
        const qint64 got = f.read(block, blockSize);
        qint64 i = 0;
        while (i < got && block[i] == 0)
            ++i;
        zeros += i;
        if (got <= 0 || i < got)
            break;
    }
    f.seek(start);
    return zeros;
}
} // namespace

UnpackResult unpackArchive(const QString& pakPath, const QString& cacheDir,
                           const QString& scratchPath,
                           const std::function<void(const QString&)>& onPage) {
    UnpackResult res;
    QFile pak(pakPath);
    if (!pak.open(QIODevice::ReadOnly))
        throw std::runtime_error("Cannot open " + pakPath.toStdString());
    const qint64 size = pak.size();
    // Taken before reading: an archive changed meanwhile is unpacked again next time.
    const QByteArray stamp = archiveStamp(pakPath);
    const QString stampFile = stampPath(cacheDir, pakPath);
    const bool changed = stamp.isEmpty() || keptStamp(stampFile) != stamp;
    QSet<QString> written; // the first of two entries of one name stays, as it always did
    char block[4096];
    auto report = [&](const std::string& why) {
        if (res.error.isEmpty())
            res.error = QString::fromStdString(why);
    };
    while (pak.pos() < size) {
        ++res.steps;
        quint16 nameLen = 0;
        quint32 dataLen = 0;
        if (!readLE(pak, nameLen)) {
            res.truncated = true;
            break;
        }
        const QByteArray rawName = pak.read(nameLen);
        if (rawName.size() != nameLen || !readLE(pak, dataLen)) {
            res.truncated = true;
            break;
        }
        if (nameLen == 0 && dataLen == 0) {
            // Six zero bytes are an empty entry; a file of zeros holds millions of them.
            // Skipping each run at once reads every byte once instead of entry by entry.
            const qint64 run = zeroRun(pak, block, sizeof block);
            pak.seek(pak.pos() + run / 6 * 6);
            continue;
        }
        if (!isSafeEntryName(rawName)) {
            if (!pak.seek(pak.pos() + dataLen) || pak.pos() > size) {
                res.truncated = true;
                break;
            }
            continue;
        }
        const QString entryName = fromCp1251(rawName);
        onPage(pageNameOf(entryName));
        ++res.entries;

        QFile scratch(scratchPath);
        if (!scratch.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("Cannot create file \"" + scratchPath.toStdString() + "\". " +
                                     scratch.errorString().toStdString());
        quint32 left = dataLen;
        while (left > 0) {
            const qint64 want = std::min<quint32>(left, sizeof block);
            const qint64 got = pak.read(block, want);
            if (got <= 0) {
                res.truncated = true;
                break;
            }
            if (scratch.write(block, got) != got)
                throw std::runtime_error("Cannot write \"" + scratchPath.toStdString() + "\". " +
                                         scratch.errorString().toStdString());
            left -= quint32(got);
        }
        scratch.close();
        // Half a page must never reach the cache: a cached file is never replaced, so a
        // repaired archive could not bring the whole page back.
        if (res.truncated) {
            QFile::remove(scratchPath);
            break;
        }
        try {
            const QString target = QDir(cacheDir).filePath(entryName);
            if (changed && !written.contains(entryName)) {
                moveReplacing(scratchPath, target);
                QFile::remove(thumbnailPath(cacheDir, pageNameOf(entryName)));
            } else {
                moveNoReplace(scratchPath, target);
            }
            written.insert(entryName);
        } catch (const std::runtime_error& e) {
            QFile::remove(scratchPath);
            report(e.what());
        }
    }
    if (res.truncated)
        report("The page archive \"" + pakPath.toStdString() +
               "\" ends inside an entry; that entry was not unpacked.");
    if (changed && !stamp.isEmpty()) {
        try {
            QDir().mkpath(QFileInfo(stampFile).path());
            writeFileAtomically(stampFile, stamp);
        } catch (const std::runtime_error&) {
            // Without its stamp the archive is only unpacked again at the next start.
        }
    }
    return res;
}
