// The stat.dat history on any bytes: every whole record is read, a record written back
// keeps all it meant, and a record appended to the damaged file lands after the whole
// records without losing one of them.
#include "fuzz_support.h"

#include "base/cp1251.h"
#include "stats/statrecord.h"

#include <QBuffer>
#include <cstring>

namespace {
bool same(const TStatRecord& x, const TStatRecord& y) {
    return x.Clicks == y.Clicks && x.Date == y.Date && x.FavoriteColor == y.FavoriteColor &&
           x.FavoriteBook == y.FavoriteBook;
}

// The bytes of a short string that carry meaning, as a writer gives them back: the byte
// Windows-1251 leaves undefined cannot be written and becomes '?'.
QByteArray meaningful(const uint8_t* field) {
    QByteArray b(reinterpret_cast<const char*>(field + 1), qMin<int>(field[0], 20));
    b.replace('\x98', '?');
    return b;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The file in memory: reading and appending are the same code the file versions run.
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    FUZZ_CHECK(file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
    std::vector<TStatRecord> history(1); // a reader must replace, not add to, what it is given
    FUZZ_CHECK(readStatRecords(file, history));
    const size_t whole = size / kStatRecordSize;
    FUZZ_CHECK(history.size() == whole);

    for (size_t i = 0; i < whole; ++i) {
        const uint8_t* rec = data + i * kStatRecordSize;
        const QByteArray again = encodeStatRecord(history[i]);
        FUZZ_CHECK(again.size() == kStatRecordSize);
        FUZZ_CHECK(std::memcmp(again.constData(), rec, 4) == 0);
        for (int offset : {4, 25, 46}) {
            const auto* field = reinterpret_cast<const uint8_t*>(again.constData()) + offset;
            FUZZ_CHECK(meaningful(field) == meaningful(rec + offset));
        }
    }

    const TStatRecord added{-7, QStringLiteral("09.12.2026"), QStringLiteral("Light blue"),
                            QStringLiteral("Дельфин и кораблик!!")};
    FUZZ_CHECK(appendStatRecord(file, added));
    FUZZ_CHECK(file.size() == qint64(whole + 1) * kStatRecordSize);
    std::vector<TStatRecord> after;
    FUZZ_CHECK(file.seek(0) && readStatRecords(file, after));
    FUZZ_CHECK(after.size() == whole + 1);
    for (size_t i = 0; i < whole; ++i)
        FUZZ_CHECK(same(after[i], history[i]));
    FUZZ_CHECK(same(after.back(), added));
    return 0;
}
