// The per-user settings file on any bytes, for each key the program reads: a value is found
// only where the file holds the key, on one line; a line of the key added at the end under
// [General] wins whatever comes before it, and one under another section or too long to be
// ours hides nothing and reads as nothing. Input: a byte choosing the key, then the file.
#include "fuzz_support.h"

#include "base/usersettings.h"

#include <QBuffer>
#include <algorithm>
#include <cstring>

namespace {
// The file in memory, read a line at a time as QFile reads one, from a buffer of its own.
// Opened unbuffered, without the 16 KB buffer a device allocates for each file it opens; a
// plain QBuffer would then read lines a byte at a time.
class Lines : public QBuffer {
  protected:
    qint64 readLineData(char* out, qint64 max) override {
        const qint64 at = pos();
        const char* from = buffer().constData() + at;
        qint64 n = std::min(max, buffer().size() - at);
        if (const void* nl = std::memchr(from, '\n', size_t(n)))
            n = static_cast<const char*>(nl) - from + 1;
        std::memcpy(out, from, size_t(n));
        return n;
    }
};

std::optional<QString> read(const QByteArray& file, const QString& key) {
    Lines in;
    in.setData(file);
    FUZZ_CHECK(in.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    return readUserSettingText(in, key);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const QString keys[] = {QStringLiteral("OutlinesStay"), QStringLiteral("saveType"),
                                   QStringLiteral("childMode")};
    const QString& key = keys[data[0] % 3];
    const QByteArray k = key.toUtf8();
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const std::optional<QString> found = read(file, key);
    if (found) {
        FUZZ_CHECK(file.contains(k));
        FUZZ_CHECK(!found->contains(QLatin1Char('\n')) && found->size() < 1024);
    }
    // The last line of the key wins: bare (up to a comment) or quoted.
    FUZZ_CHECK(read(file + "\n[General]\n" + k + " = off ; last\n", key) == QStringLiteral("off"));
    FUZZ_CHECK(read(file + "\r\n[general]\r\n" + k + "=\" a;b \"", key) == QStringLiteral(" a;b "));
    // Under another section, the key is another setting.
    FUZZ_CHECK(read(file + "\n[Other]\n" + k + "=on\n", key) == found);
    // A line too long to be one of ours reads as nothing, and the lines after it as they are.
    const QByteArray tooLong = "\n" + k + "=" + QByteArray(1100, 'x') + "\n";
    FUZZ_CHECK(!read(file + "\n[General]" + tooLong, key));
    FUZZ_CHECK(read(file + "\n[General]" + tooLong + k + "=yes", key) == QStringLiteral("yes"));
    // A first line of the key counts only when the file says nothing of the key itself.
    const std::optional<QString> after = read(k + "=1\n" + file, key);
    FUZZ_CHECK(found ? after == found : (!after || after == QStringLiteral("1")));
    return 0;
}
