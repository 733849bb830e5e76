#include "stats/statrecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
// "Ёжик в тумане" in Windows-1251.
const std::vector<unsigned char> kHedgehog = {0xA8, 0xE6, 0xE8, 0xEA, 0x20, 0xE2, 0x20,
                                              0xF2, 0xF3, 0xEC, 0xE0, 0xED, 0xE5};

void put(std::vector<unsigned char>& rec, size_t at, const std::vector<unsigned char>& bytes) {
    std::copy(bytes.begin(), bytes.end(), rec.begin() + long(at));
}

std::vector<unsigned char> ascii(const char* s) {
    return {s, s + strlen(s)};
}

TStatRecord record(int clicks, const QString& date, const QString& color, const QString& book) {
    TStatRecord r;
    r.Clicks = clicks;
    r.Date = date;
    r.FavoriteColor = color;
    r.FavoriteBook = book;
    return r;
}

void expectSame(const TStatRecord& a, const TStatRecord& b) {
    EXPECT_EQ(a.Clicks, b.Clicks);
    EXPECT_EQ(a.Date, b.Date);
    EXPECT_EQ(a.FavoriteColor, b.FavoriteColor);
    EXPECT_EQ(a.FavoriteBook, b.FavoriteBook);
}
} // namespace

TEST(StatRecord, EncodesByteForByte) {
    std::vector<unsigned char> expected(68, 0);
    put(expected, 0, {0x70, 0x11, 0x01, 0x00}); // 70000, little-endian
    expected[4] = 10;
    put(expected, 5, ascii("05.01.2024"));
    expected[25] = 10;
    put(expected, 26, ascii("Light blue"));
    expected[46] = 13;
    put(expected, 47, kHedgehog);

    const QByteArray got =
        encodeStatRecord(record(70000, QStringLiteral("05.01.2024"), QStringLiteral("Light blue"),
                                QStringLiteral("Ёжик в тумане")));
    ASSERT_EQ(got.size(), 68);
    EXPECT_EQ(std::vector<unsigned char>(got.begin(), got.end()), expected);
}

TEST(StatRecord, DecodesIgnoringBytesBeyondEachLength) {
    // Junk everywhere a length byte does not reach, a negative click count.
    std::vector<unsigned char> rec(68, 0xCC);
    put(rec, 0, {0xFE, 0xFF, 0xFF, 0xFF});
    rec[4] = 8;
    put(rec, 5, ascii("1/5/2024"));
    rec[25] = 0;
    rec[46] = 13;
    put(rec, 47, kHedgehog);
    const TStatRecord r = decodeStatRecord(reinterpret_cast<const char*>(rec.data()));
    expectSame(r,
               record(-2, QStringLiteral("1/5/2024"), QString(), QStringLiteral("Ёжик в тумане")));
}

TEST(StatRecord, LengthByteAboveTwentyReadsTwentyAndStaysInItsField) {
    std::vector<unsigned char> rec(68, 0);
    rec[25] = 0xFF;
    put(rec, 26, ascii("ABCDEFGHIJKLMNOPQRST"));
    rec[46] = 0xFF; // the last field: the padding byte and what lies beyond are never read
    put(rec, 47, ascii("abcdefghijklmnopqrst"));
    rec[67] = 'X';
    const std::vector<char> exact(rec.begin(), rec.end()); // nothing after byte 67
    const TStatRecord r = decodeStatRecord(exact.data());
    EXPECT_EQ(r.FavoriteColor, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(r.FavoriteBook, QStringLiteral("abcdefghijklmnopqrst"));
}

struct StatFile : ::testing::Test {
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("stat.dat")); }
};

TEST_F(StatFile, UnopenableFileKeepsTheHistoryAndFailsTheSave) {
    ASSERT_TRUE(QDir().mkpath(path())); // a folder where the file should be
    std::vector<TStatRecord> got{record(9, QStringLiteral("kept"), QString(), QString())};
    EXPECT_EQ(readStatFile(path(), got), StatReadResult::Unopenable);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].Date, QStringLiteral("kept"));
    EXPECT_THROW(appendStatRecord(path(), got[0]), std::runtime_error);
}

namespace {
// Runs fn as an ordinary user: root opens any file, whatever its permission bits. Returns
// fn's result, or false when it could not be run.
bool asUnprivileged(const QString& dir, const std::function<bool()>& fn) {
    if (::geteuid() != 0)
        return fn();
    ::chmod(QFile::encodeName(dir).constData(), 0777);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && fn() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
} // namespace

// A history that exists but cannot be opened for reading and writing is never emptied: the
// save fails with the error and every byte stays.
TEST_F(StatFile, WriteOnlyHistoryIsKeptAndTheSaveFails) {
    QByteArray history = encodeStatRecord(record(1, QStringLiteral("01.02.2025"), "a", "b")) +
                         encodeStatRecord(record(2, QStringLiteral("02.02.2025"), "c", "d"));
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(history);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0222), 0);
    const QString p = path();
    EXPECT_TRUE(asUnprivileged(dir.path(), [p] {
        try {
            appendStatRecord(p, record(3, QStringLiteral("03.02.2025"), "e", "f"));
            return false;
        } catch (const std::runtime_error& e) {
            return QByteArray(e.what()).startsWith("I/O error");
        }
    }));
    ::chmod(QFile::encodeName(path()).constData(), 0644);
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), history);
}

TEST_F(StatFile, MissingHistoryIsCreatedWithTheRecord) {
    appendStatRecord(path(), record(5, QStringLiteral("x"), "c", "b"));
    appendStatRecord(path(), record(6, QStringLiteral("y"), "c", "b"));
    std::vector<TStatRecord> got;
    ASSERT_EQ(readStatFile(path(), got), StatReadResult::Ok);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].Clicks, 6);
}
