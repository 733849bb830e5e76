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

template <typename T> bool readLE(QIODevice& f, T& out) {
    unsigned char buf[sizeof(T)];
    if (f.read(reinterpret_cast<char*>(buf), sizeof(T)) != qint64(sizeof(T)))
        return false;
    out = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        out |= T(buf[i]) << (8 * i);
    return true;
}

// Bytes of zeros from the current position on, reading no further than the file's end.
qint64 zeroRun(QIODevice& f, char* block, qint64 blockSize) {
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

UnpackResult walkArchive(QIODevice& pak, PakSink& sink) {
    UnpackResult res;
    const qint64 size = pak.size();
    char block[4096];
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
            // Checked before seeking: not every device can seek past its end.
            if (qint64(dataLen) > size - pak.pos() || !pak.seek(pak.pos() + dataLen)) {
                res.truncated = true;
                break;
            }
            continue;
        }
        ++res.entries;
        sink.begin(fromCp1251(rawName));
        quint32 left = dataLen;
        while (left > 0) {
            const qint64 want = std::min<quint32>(left, sizeof block);
            const qint64 got = pak.read(block, want);
            if (got <= 0) {
                res.truncated = true;
                break;
            }
            sink.write(block, got);
            left -= quint32(got);
        }
        sink.end(!res.truncated);
        if (res.truncated)
            break;
    }
    return res;
}

namespace {
// The program's sink: each entry goes through the scratch file into the cache folder.
class CacheSink : public PakSink {
  public:
    CacheSink(const QString& cacheDir, const QString& scratchPath, bool changed,
              const std::function<void(const QString&)>& onPage, UnpackResult& res)
        : cacheDir(cacheDir), scratchPath(scratchPath), changed(changed), onPage(onPage), res(res),
          scratch(scratchPath) {}

    void begin(const QString& name) override {
        entryName = name;
        onPage(pageNameOf(entryName));
        if (!scratch.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("Cannot create file \"" + scratchPath.toStdString() + "\". " +
                                     scratch.errorString().toStdString());
    }
    void write(const char* data, qint64 size) override {
        if (scratch.write(data, size) != size)
            throw std::runtime_error("Cannot write \"" + scratchPath.toStdString() + "\". " +
                                     scratch.errorString().toStdString());
    }
    void end(bool complete) override {
        scratch.close();
        // Half a page must never reach the cache: a cached file is never replaced, so a
        // repaired archive could not bring the whole page back.
        if (!complete) {
            QFile::remove(scratchPath);
            return;
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
    void report(const std::string& why) {
        if (res.error.isEmpty())
            res.error = QString::fromStdString(why);
    }

  private:
    const QString& cacheDir;
    const QString& scratchPath;
    const bool changed;
    const std::function<void(const QString&)>& onPage;
    UnpackResult& res;
    QFile scratch;
    QString entryName;
    QSet<QString> written; // the first of two entries of one name stays, as it always did
};
} // namespace

UnpackResult unpackArchive(const QString& pakPath, const QString& cacheDir,
                           const QString& scratchPath,
                           const std::function<void(const QString&)>& onPage) {
    QFile pak(pakPath);
    if (!pak.open(QIODevice::ReadOnly))
        throw std::runtime_error("Cannot open " + pakPath.toStdString());
    // Taken before reading: an archive changed meanwhile is unpacked again next time.
    const QByteArray stamp = archiveStamp(pakPath);
    const QString stampFile = stampPath(cacheDir, pakPath);
    const bool changed = stamp.isEmpty() || keptStamp(stampFile) != stamp;
    UnpackResult res;
    CacheSink sink(cacheDir, scratchPath, changed, onPage, res);
    const UnpackResult walked = walkArchive(pak, sink);
    res.entries = walked.entries;
    res.truncated = walked.truncated;
    res.steps = walked.steps;
    if (res.truncated)
        sink.report("The page archive \"" + pakPath.toStdString() +
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
