// The page archive walker on any bytes: whatever the archive holds, every file lands in the
// cache folder and nowhere else, and each complete entry is stored byte for byte under its
// name unless an earlier entry took that name.
#include "fuzz_support.h"

#include "base/cp1251.h"
#include "library/pak.h"

#include <QDirIterator>
#include <QFileInfo>
#include <map>

namespace {
struct Expected {
    int entries = 0;
    bool truncated = false;
    std::map<QString, QByteArray> files; // complete entries, first of each name
};

quint32 le(const uint8_t* p, int n) {
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v |= quint32(p[i]) << (8 * i);
    return v;
}

// The archive layout, walked independently of the reader.
Expected model(const uint8_t* data, size_t size, const QString& scratchName) {
    Expected e;
    size_t pos = 0;
    std::map<QString, bool> taken;
    while (pos < size) {
        if (size - pos < 2) {
            e.truncated = true;
            break;
        }
        const size_t nameLen = le(data + pos, 2);
        pos += 2;
        if (size - pos < nameLen + 4) {
            e.truncated = true;
            break;
        }
        const QByteArray raw(reinterpret_cast<const char*>(data + pos), qsizetype(nameLen));
        pos += nameLen;
        const size_t dataLen = le(data + pos, 4);
        pos += 4;
        const bool complete = size - pos >= dataLen;
        const QByteArray bytes(reinterpret_cast<const char*>(data + pos),
                               qsizetype(complete ? dataLen : size - pos));
        pos = complete ? pos + dataLen : size;
        if (!complete)
            e.truncated = true;
        if (!isSafeEntryName(raw))
            continue;
        ++e.entries;
        const QString name = fromCp1251(raw);
        // Names the file system cannot hold are listed but never stored.
        const bool storable = QFile::encodeName(name).size() <= 255 && name != scratchName;
        // A truncated entry never reaches the cache: a repaired archive must bring it back whole.
        if (storable && !taken[name]) {
            taken[name] = true;
            if (complete)
                e.files[name] = bytes;
        }
    }
    return e;
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    return f.readAll();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString root = fuzz::scratchDir();
    const QString cache = root + QStringLiteral("/cache");
    const QString scratchName = QStringLiteral("Bitmap.tmp");
    QDir(cache).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(cache));
    const QString pak = fuzz::writeFile(QStringLiteral("pages.pak"), data, size);

    int listed = 0;
    const UnpackResult r =
        unpackArchive(pak, cache, cache + QLatin1Char('/') + scratchName, [&](const QString& page) {
            FUZZ_CHECK(page.size() <= 65535);
            ++listed;
        });
    const Expected e = model(data, size, scratchName);
    FUZZ_CHECK(listed == r.entries);
    FUZZ_CHECK(r.entries == e.entries);
    FUZZ_CHECK(r.truncated == e.truncated);

    // Nothing beside the archive and the cache folder, nothing below the cache but files.
    const QStringList top =
        QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    FUZZ_CHECK(top == QStringList({QStringLiteral("cache"), QStringLiteral("pages.pak")}));
    std::map<QString, QByteArray> found;
    QDirIterator it(cache, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        FUZZ_CHECK(info.isFile() && !info.isSymLink());
        if (info.fileName() != scratchName)
            found[info.fileName()] = contentOf(info.filePath());
    }
    FUZZ_CHECK(found == e.files);
    return 0;
}
