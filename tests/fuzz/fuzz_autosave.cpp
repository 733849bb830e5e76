// The autosave file on any bytes, and on any payload behind a valid envelope (the checksum
// would otherwise stop almost every input before the page name and the picture are read):
// whatever decodes is a real RGB32 picture that survives a write and a read unchanged.
#include "fuzz_support.h"

#include "share/autosave.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QImageReader>

namespace {
void checkDecoded(const std::optional<AutosaveData>& d) {
    if (!d)
        return;
    FUZZ_CHECK(!d->picture.isNull());
    FUZZ_CHECK(d->picture.format() == QImage::Format_RGB32);
    const std::optional<AutosaveData> again = DecodeAutosave(EncodeAutosave(*d));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->pageName == d->pageName);
    FUZZ_CHECK(again->picture == d->picture);
}

// The input as name and picture bytes inside a well-formed file: its first byte says how
// many of the following bytes are the page name.
QByteArray envelope(const uint8_t* data, size_t size) {
    const size_t nameLen = size ? std::min<size_t>(data[0], size - 1) : 0;
    const QByteArray name(reinterpret_cast<const char*>(data + 1), qsizetype(nameLen));
    const QByteArray png(reinterpret_cast<const char*>(data + 1 + nameLen),
                         qsizetype(size ? size - 1 - nameLen : 0));
    QByteArray out("PICTARO-AUTOSAVE-1\n");
    QDataStream s(&out, QIODevice::WriteOnly | QIODevice::Append);
    s.setVersion(QDataStream::Qt_6_0);
    s << name << png;
    return out + QCryptographicHash::hash(out, QCryptographicHash::Sha1);
}
} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
    return fuzz::mutateKeepingPngChecksums(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pictures of a few megabytes at most: a run should not spend its time allocating.
    QImageReader::setAllocationLimit(8);
    checkDecoded(DecodeAutosave(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))));
    checkDecoded(DecodeAutosave(envelope(data, size)));
    return 0;
}
