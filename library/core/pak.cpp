#include "library/core/pak.h"

#include "app/core/cp1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
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

bool moveNoReplace(const QString& from, const QString& to) {
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing target too.
    if (::link(f.constData(), t.constData()) == 0) {
        ::unlink(f.constData());
        return true;
    }
    return false;
}

namespace {
template <typename T> bool readLE(QFile& f, T& out) {
    unsigned char buf[sizeof(T)];
    if (f.read(reinterpret_cast<char*>(buf), sizeof(T)) != qint64(sizeof(T)))
        return false;
    out = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        out |= T(buf[i]) << (8 * i);
    return true;
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
    char block[4096];
    while (pak.pos() < size) {
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
        moveNoReplace(scratchPath, QDir(cacheDir).filePath(entryName));
        if (res.truncated)
            break;
    }
    return res;
}
