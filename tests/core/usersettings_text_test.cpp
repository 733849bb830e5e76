// The per-user settings text on its own: where lines end, and a file that fails mid-read.
#include "base/usersettings.h"

#include <QBuffer>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace {
std::optional<QString> textOf(const QByteArray& file, const QString& key) {
    QBuffer in;
    in.setData(file);
    in.open(QIODevice::ReadOnly);
    return readUserSettingText(in, key);
}

// Gives its bytes, then fails every read without ever reaching its end, as a file on a
// failing disk does.
class FailingFile : public QIODevice {
  public:
    explicit FailingFile(QByteArray bytes) : bytes(std::move(bytes)) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }

  protected:
    qint64 readData(char* out, qint64 max) override {
        if (given >= bytes.size())
            return -1;
        const qint64 n = std::min<qint64>(max, bytes.size() - given);
        std::memcpy(out, bytes.constData() + given, size_t(n));
        given += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray bytes;
    qint64 given = 0;
};
} // namespace

TEST(UserSettingText, LinesUpTo1023BytesAreReadAndLongerOnesPassedOver) {
    const QString key = QStringLiteral("saveType");
    const auto line = [](int size) { // "saveType=bmp", padded to size bytes before its newline
        return "saveType=" + QByteArray(size - 12, ' ') + "bmp\n";
    };
    EXPECT_EQ(textOf(line(1022), key), QStringLiteral("bmp"));
    EXPECT_EQ(textOf(line(1023), key), std::nullopt);
    // The file's last line, without its newline, is allowed no more.
    EXPECT_EQ(textOf(line(1022).chopped(1), key), QStringLiteral("bmp"));
    EXPECT_EQ(textOf(line(1023).chopped(1), key), std::nullopt);
    // The rest of a long line is not taken for a line of its own.
    EXPECT_EQ(textOf("saveType=" + QByteArray(1500, ' ') + "\nsaveType=jpg\r\n", key),
              QStringLiteral("jpg"));
    EXPECT_EQ(textOf(QByteArray(2000, ' ') + "saveType=png\n", key), std::nullopt);
    // Keys are compared as the UTF-8 they are written in.
    EXPECT_EQ(textOf("ключ = да\r\n", QStringLiteral("ключ")), QStringLiteral("да"));
}

TEST(UserSettingText, AReadErrorEndsTheReadingWithWhatWasFound) {
    FailingFile whole("saveType=png\n");
    EXPECT_EQ(readUserSettingText(whole, QStringLiteral("saveType")), QStringLiteral("png"));
    FailingFile cut("saveType=" + QByteArray(1100, 'x'));
    EXPECT_EQ(readUserSettingText(cut, QStringLiteral("saveType")), std::nullopt);
}

TEST(SwitchValue, TakesTheFourPairsInAnyCaseAndNothingElse) {
    for (const char* on : {"true", "On", "YES", "1"})
        EXPECT_EQ(switchValue(QString::fromLatin1(on)), true) << on;
    for (const char* off : {"false", "OFF", "No", "0"})
        EXPECT_EQ(switchValue(QString::fromLatin1(off)), false) << off;
    for (const char* neither : {"", "2", "tru", "yes ", "-1"})
        EXPECT_EQ(switchValue(QString::fromLatin1(neither)), std::nullopt) << neither;
}
