// The page archive walker on any bytes, in memory: it lists exactly the entries the layout
// holds whose names cannot leave the cache folder, hands each one's bytes over whole and in
// order, and says which one the archive's end cut short.
#include "fuzz_support.h"

#include "base/cp1251.h"
#include "library/pak.h"

#include <QBuffer>
#include <vector>

namespace {
struct Entry {
    QString name;
    QByteArray bytes;
    bool complete = false;
    bool operator==(const Entry&) const = default;
};

quint32 le(const uint8_t* p, int n) {
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v |= quint32(p[i]) << (8 * i);
    return v;
}

// The archive layout, walked independently of the reader.
std::vector<Entry> model(const uint8_t* data, size_t size, bool& truncated) {
    std::vector<Entry> entries;
    truncated = false;
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < 2) {
            truncated = true;
            break;
        }
        const size_t nameLen = le(data + pos, 2);
        pos += 2;
        if (size - pos < nameLen + 4) {
            truncated = true;
            break;
        }
        const QByteArray raw(reinterpret_cast<const char*>(data + pos), qsizetype(nameLen));
        pos += nameLen;
        const size_t dataLen = le(data + pos, 4);
        pos += 4;
        const bool complete = size - pos >= dataLen;
        if (!complete)
            truncated = true;
        if (isSafeEntryName(raw))
            entries.push_back({fromCp1251(raw),
                               QByteArray(reinterpret_cast<const char*>(data + pos),
                                          qsizetype(complete ? dataLen : size - pos)),
                               complete});
        if (!complete)
            break;
        pos += dataLen;
    }
    return entries;
}

class Collect : public PakSink {
  public:
    std::vector<Entry> entries;
    bool open = false;
    void begin(const QString& name) override {
        FUZZ_CHECK(!open);
        open = true;
        entries.push_back({name, {}, false});
    }
    void write(const char* data, qint64 size) override {
        FUZZ_CHECK(open && size > 0 && size <= 4096);
        entries.back().bytes.append(data, qsizetype(size));
    }
    void end(bool complete) override {
        FUZZ_CHECK(open);
        open = false;
        entries.back().complete = complete;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer pak;
    pak.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    FUZZ_CHECK(pak.open(QIODevice::ReadOnly));
    Collect sink;
    const UnpackResult r = walkArchive(pak, sink);
    bool truncated = false;
    const std::vector<Entry> expected = model(data, size, truncated);
    FUZZ_CHECK(!sink.open);
    FUZZ_CHECK(r.entries == int(sink.entries.size()));
    FUZZ_CHECK(r.truncated == truncated);
    FUZZ_CHECK(sink.entries == expected);
    // Only the last entry may be cut short, and only in an archive that ends inside it.
    for (size_t i = 0; i < sink.entries.size(); ++i)
        FUZZ_CHECK(sink.entries[i].complete || (i + 1 == sink.entries.size() && truncated));
    // No name a cache file could be stored under outside the cache folder.
    for (const Entry& e : sink.entries)
        FUZZ_CHECK(!e.name.isEmpty() && e.name != QStringLiteral(".") &&
                   e.name != QStringLiteral("..") && !e.name.contains(QLatin1Char('/')) &&
                   !e.name.contains(QLatin1Char('\\')) && !e.name.contains(QLatin1Char(':')) &&
                   !e.name.contains(QChar(0)));
    return 0;
}
