// A pictures-store entry on any bytes: as bytes in memory, as a file the store lists and loads,
// and as any key, name, thumbnail and pixels behind a valid header (its checksum would
// otherwise stop almost every input before the pixels are read). Whatever decodes is a real
// RGB32 picture of the size the header gives, and survives a write and a read unchanged.
#include "fuzz_support.h"

#include "library/picturestore.h"

#include <QCryptographicHash>
#include <QImageReader>
#include <QtEndian>

namespace {
void checkDecoded(const std::optional<PictureEntry>& e, bool withPicture) {
    if (!e)
        return;
    FUZZ_CHECK(!e->key.isEmpty());
    // Any PNG under the name: a thumbnail or nothing. A kept PNG is the same with the picture
    // or without, so it is decoded once, from the header alone; one made from the picture
    // only with it.
    if (!withPicture || e->thumbnailPng.isEmpty())
        (void)e->thumbnail();
    if (!withPicture)
        return;
    FUZZ_CHECK(!e->picture.isNull());
    FUZZ_CHECK(e->picture.format() == QImage::Format_RGB32);
    const std::optional<PictureEntry> again = decodePictureEntry(encodePictureEntry(*e), true);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->key == e->key && again->name == e->name);
    FUZZ_CHECK(again->changedMs == e->changedMs);
    // An entry without a thumbnail is given one.
    FUZZ_CHECK(again->thumbnailPng == e->thumbnailPng || e->thumbnailPng.isEmpty());
    FUZZ_CHECK(again->picture == e->picture);
}

template <typename T> void put(QByteArray& out, T v) {
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    out.append(b, sizeof(T));
}

// The input inside a well-formed header: its first four bytes give the width and height (1 to
// 16 each) and the lengths of the key and thumbnail; then come the key, the thumbnail and the
// pixels' zstd frames.
QByteArray envelope(const uint8_t* data, size_t size) {
    if (size < 4)
        return {};
    const QByteArray rest(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));
    const qsizetype keyLen = std::min<qsizetype>(data[2], rest.size());
    const qsizetype thumbLen = std::min<qsizetype>(data[3] * 4, rest.size() - keyLen);
    QByteArray out("PICTARO-PICTURE-1\n");
    put<qint64>(out, 1);
    put<quint32>(out, 1 + data[0] % 16);
    put<quint32>(out, 1 + data[1] % 16);
    put<quint32>(out, quint32(keyLen));
    put<quint32>(out, 0);
    put<quint32>(out, quint32(thumbLen));
    put<quint64>(out, quint64(rest.size() - keyLen - thumbLen));
    out += rest.left(keyLen + thumbLen);
    out += QCryptographicHash::hash(out, QCryptographicHash::Sha1);
    return out + rest.mid(keyLen + thumbLen);
}

// One store over the scratch folder, for the whole run; its problems are expected.
PictureStore& store() {
    static PictureStore s(fuzz::scratchDir() + QStringLiteral("/store"), [](const QString&) {});
    static const bool made = QDir().mkpath(s.folder());
    FUZZ_CHECK(made);
    return s;
}
} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
    return fuzz::mutateKeepingPngChecksums(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QImageReader::setAllocationLimit(8);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<PictureEntry> decoded = decodePictureEntry(bytes, true);
    checkDecoded(decodePictureEntry(bytes, false), false);
    checkDecoded(decoded, true);
    const QByteArray wrapped = envelope(data, size);
    for (bool withPicture : {false, true})
        checkDecoded(decodePictureEntry(wrapped, withPicture), withPicture);
    // The same bytes as the file of a key: the shelf skips it or lists it, and the load
    // agrees with the decoder. Listing the folder and reading the file back cost two thirds
    // of an input's time, so of the inputs the decoder refuses (most of them) one in four
    // takes this way, chosen by length so that a replay takes the same way.
    if (!decoded && size % 4 != 0)
        return 0;
    const QString key = QStringLiteral("zoo.pak/cat");
    QFile f(store().fileFor(key));
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
    f.close();
    const std::vector<PictureEntry> listed = store().list();
    FUZZ_CHECK(listed.size() <= 1);
    const PictureLoad loaded = store().load(key);
    FUZZ_CHECK(loaded.ok() == (decoded && decoded->key == key));
    if (loaded.ok()) {
        FUZZ_CHECK(listed.size() == 1 && listed[0].key == key);
        FUZZ_CHECK(loaded.picture == decoded->picture);
    }
    return 0;
}
