#include "base/cp1251.h"
#include "library/pak.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Entry {
    QByteArray name;
    QByteArray data;
};

QByteArray pakBytes(const std::vector<Entry>& entries) {
    QByteArray out;
    for (const Entry& e : entries) {
        const quint16 nl = quint16(e.name.size());
        const quint32 dl = quint32(e.data.size());
        out.append(char(nl & 0xFF)).append(char(nl >> 8));
        out.append(e.name);
        for (int i = 0; i < 4; ++i)
            out.append(char((dl >> (8 * i)) & 0xFF));
        out.append(e.data);
    }
    return out;
}

struct PakFixture : ::testing::Test {
    QTemporaryDir tmp;
    QString cache() const { return tmp.path() + QStringLiteral("/cache"); }
    QString scratch() const { return cache() + QStringLiteral("/Bitmap.tmp"); }
    void SetUp() override { QDir().mkpath(cache()); }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString p = tmp.path() + QLatin1Char('/') + name;
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return p;
    }
    UnpackResult unpack(const QString& pak, QStringList* pages) {
        return unpackArchive(pak, cache(), scratch(), [&](const QString& p) { pages->append(p); });
    }
    QByteArray cached(const QString& name) {
        QFile f(cache() + QLatin1Char('/') + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};
} // namespace

TEST_F(PakFixture, UnpacksEveryEntryIntoTheCacheInOrder) {
    const QString pak = write(
        "animals.pak",
        pakBytes({{"cat.bmp", "CAT"}, {"dog.bmp", "DOGDOG"}, {"sun.bmp", QByteArray(10000, 'S')}}));
    QStringList pages;
    const UnpackResult r = unpack(pak, &pages);
    EXPECT_EQ(r.entries, 3);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(pages, QStringList({"cat", "dog", "sun"}));
    EXPECT_EQ(cached("cat.bmp"), QByteArray("CAT"));
    EXPECT_EQ(cached("dog.bmp"), QByteArray("DOGDOG"));
    EXPECT_EQ(cached("sun.bmp"), QByteArray(10000, 'S')); // crosses the 4 KB copy blocks
}

TEST_F(PakFixture, EmptyArchiveHasNoPages) {
    QStringList pages;
    EXPECT_EQ(unpack(write("empty.pak", {}), &pages).entries, 0);
    EXPECT_TRUE(pages.isEmpty());
}

// While its archive is unchanged a cached page is never written again; of two entries of
// one name the first stays.
TEST_F(PakFixture, AnUnchangedArchiveLeavesItsCachedPagesAlone) {
    QStringList pages;
    const QString pak = write("a.pak", pakBytes({{"cat.bmp", "FIRST"}, {"cat.bmp", "SECOND"}}));
    unpack(pak, &pages);
    EXPECT_EQ(pages, QStringList({"cat", "cat"}));
    EXPECT_EQ(cached("cat.bmp"), QByteArray("FIRST"));
    QFile mark(cache() + "/cat.bmp");
    ASSERT_TRUE(mark.open(QIODevice::WriteOnly));
    mark.write("MARKED");
    mark.close();
    unpack(pak, &pages);
    EXPECT_EQ(cached("cat.bmp"), QByteArray("MARKED"));
}

// An upgrade brings a new copy of an archive: its pages are unpacked again and their
// thumbnails dropped, even when the new copy kept the old one's size and time.
TEST_F(PakFixture, AChangedArchiveReplacesItsPagesAndTheirThumbnails) {
    QStringList pages;
    const QString pak = write("a.pak", pakBytes({{"cat.bmp", "OLD"}, {"dog.bmp", "DOG"}}));
    const QDateTime time = QFileInfo(pak).lastModified();
    unpack(pak, &pages);
    EXPECT_EQ(cached("cat.bmp"), QByteArray("OLD"));
    QDir().mkpath(cache() + "/thumbs");
    for (const char* thumb : {"/thumbs/cat.png", "/thumbs/dog.png", "/thumbs/owl.png"})
        write("cache" + QLatin1String(thumb), "picture");

    QFile::remove(pak); // a new file, as an installer writes it
    write("a.pak", pakBytes({{"cat.bmp", "NEW"}, {"dog.bmp", "DOG"}}));
    QFile same(pak);
    ASSERT_TRUE(same.open(QIODevice::ReadWrite));
    ASSERT_TRUE(same.setFileTime(time, QFileDevice::FileModificationTime));
    same.close();
    ASSERT_EQ(QFileInfo(pak).size(), pakBytes({{"cat.bmp", "OLD"}, {"dog.bmp", "DOG"}}).size());

    const UnpackResult r = unpack(pak, &pages);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(cached("cat.bmp"), QByteArray("NEW"));
    EXPECT_FALSE(QFile::exists(cache() + "/thumbs/cat.png"));
    EXPECT_FALSE(QFile::exists(cache() + "/thumbs/dog.png"));
    EXPECT_TRUE(QFile::exists(cache() + "/thumbs/owl.png")) << "another archive's page";
    EXPECT_FALSE(QFile::exists(scratch()));
}

TEST_F(PakFixture, CyrillicNamesAreWindows1251) {
    QStringList pages;
    unpack(write("ru.pak", pakBytes({{toCp1251(QStringLiteral("кот.bmp")), "K"}})), &pages);
    EXPECT_EQ(pages, QStringList({QStringLiteral("кот")}));
    EXPECT_EQ(cached(QStringLiteral("кот.bmp")), QByteArray("K"));
}

TEST_F(PakFixture, HostileNamesAreSkippedAndStayInsideTheCache) {
    const QString pak = write("evil.pak", pakBytes({{"../escape.bmp", "X"},
                                                    {"", "X"},
                                                    {".", "X"},
                                                    {"..", "X"},
                                                    {"a\\b.bmp", "X"},
                                                    {"c:d.bmp", "X"},
                                                    {"/etc/x.bmp", "X"},
                                                    {"fine.bmp", "OK"}}));
    QStringList pages;
    const UnpackResult r = unpack(pak, &pages);
    EXPECT_EQ(r.entries, 1);
    EXPECT_EQ(pages, QStringList({"fine"}));
    EXPECT_EQ(cached("fine.bmp"), QByteArray("OK"));
    EXPECT_FALSE(QFile::exists(tmp.path() + QStringLiteral("/escape.bmp")));
    EXPECT_EQ(QDir(cache()).entryList(QDir::Files), QStringList({"fine.bmp"}));
}

TEST_F(PakFixture, TruncatedArchiveStopsAtTheEnd) {
    QByteArray bytes = pakBytes({{"one.bmp", "11111"}, {"two.bmp", QByteArray(5000, '2')}});
    bytes.chop(1000); // the last entry's data is cut
    QStringList pages;
    const UnpackResult r = unpack(write("cut.pak", bytes), &pages);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(pages, QStringList({"one", "two"}));
    EXPECT_EQ(cached("one.bmp"), QByteArray("11111"));
    // Half a page never reaches the cache, and the report names the archive.
    EXPECT_EQ(cached("two.bmp"), QByteArray("<missing>"));
    EXPECT_TRUE(r.error.contains(QStringLiteral("cut.pak"))) << r.error.toStdString();
    EXPECT_FALSE(QFile::exists(scratch()));

    // Cut inside a name or a length field: no page for it, and no endless loop.
    for (int cut : {1, 3, 9, 12}) {
        QByteArray b = pakBytes({{"ok.bmp", "1"}, {"abc.bmp", "2"}});
        b.chop(b.size() - (pakBytes({{"ok.bmp", "1"}}).size() + cut));
        QStringList p2;
        QDir(cache()).removeRecursively();
        QDir().mkpath(cache());
        const UnpackResult r2 = unpack(write("cut2.pak", b), &p2);
        EXPECT_TRUE(r2.truncated) << cut;
        EXPECT_EQ(p2, QStringList({"ok"})) << cut;
    }
}

// The page a cut archive held in part comes back whole once the archive is repaired.
TEST_F(PakFixture, RepairedArchiveBringsTheWholePageBack) {
    const QByteArray whole = pakBytes({{"cat.bmp", QByteArray(9000, 'C')}});
    QStringList pages;
    unpack(write("cat.pak", whole.left(whole.size() / 2)), &pages);
    const UnpackResult r = unpack(write("cat.pak", whole), &pages);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(cached("cat.bmp"), QByteArray(9000, 'C'));
}

// Megabytes of zeros are millions of empty entries: read as runs, and whatever follows a
// run is read exactly as one entry at a time would read it.
TEST_F(PakFixture, RunsOfEmptyEntriesAreSkippedTogether) {
    const QByteArray after = pakBytes({{"after.bmp", "A"}});
    QStringList pages;
    const UnpackResult r =
        unpack(write("zeros.pak", QByteArray(20 * 1024 * 1024 - 2, '\0') + after), &pages);
    EXPECT_EQ(pages, QStringList({"after"}));
    EXPECT_EQ(cached("after.bmp"), QByteArray("A"));
    EXPECT_LE(r.steps, 3);
    EXPECT_FALSE(r.truncated);

    // Two zeros over whole empty entries start the next entry: a name length of 0, then a
    // data length read from the next four bytes (3 here), which skips "abc".
    QStringList p2;
    const QByteArray odd = QByteArray(6 * 1000 + 2, '\0') + QByteArray("\x03\0\0\0abc", 7) +
                           pakBytes({{"next.bmp", "N"}});
    const UnpackResult r2 = unpack(write("odd.pak", odd), &p2);
    EXPECT_EQ(p2, QStringList({"next"}));
    EXPECT_EQ(r2.entries, 1);
}

// A name the file system refuses (65,535 bytes): listed, never cached, reported; the
// entries after it are unpacked as usual.
TEST_F(PakFixture, NameTheFileSystemRefusesIsReported) {
    const QByteArray longName = QByteArray(65531, 'n') + ".bmp";
    QStringList pages;
    const UnpackResult r =
        unpack(write("long.pak", pakBytes({{longName, "L"}, {"fine.bmp", "F"}})), &pages);
    EXPECT_EQ(r.entries, 2);
    EXPECT_EQ(pages.size(), 2);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("Cannot create file"))) << r.error.toStdString();
    EXPECT_LT(r.error.size(), 1000);
    EXPECT_EQ(cached("fine.bmp"), QByteArray("F"));
    EXPECT_EQ(QDir(cache()).entryList(QDir::Files), QStringList({"fine.bmp"}));
}

// Found by fuzz_pak: a skipped entry whose data runs past the end is a truncated archive too.
TEST_F(PakFixture, SkippedEntryRunningPastTheEndIsTruncated) {
    const QByteArray bytes("\x07\x00"
                           "dog.b\x08\x00"
                           "long.$b%p\xa0\x0f\x00\x00"
                           "only part",
                           31);
    QStringList pages;
    const UnpackResult r = unpack(write("fuzzed.pak", bytes), &pages);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(r.entries, 0);
    EXPECT_TRUE(pages.isEmpty());
    EXPECT_EQ(QDir(cache()).entryList(QDir::Files), QStringList());
}

TEST(PakNames, PageNameDropsTheLastFourCharacters) {
    EXPECT_EQ(pageNameOf("fire engine.bmp"), QString("fire engine"));
    EXPECT_EQ(pageNameOf("abc"), QString());
    EXPECT_EQ(pageNameOf("x.bm"), QString());
}

TEST(PakNames, MoveNeverReplaces) {
    QTemporaryDir tmp;
    const QString a = tmp.filePath("a"), b = tmp.filePath("b");
    QFile fa(a), fb(b);
    ASSERT_TRUE(fa.open(QIODevice::WriteOnly));
    fa.write("A");
    fa.close();
    ASSERT_TRUE(fb.open(QIODevice::WriteOnly));
    fb.write("B");
    fb.close();
    EXPECT_FALSE(moveNoReplace(a, b));
    QFile check(b);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("B"));
    EXPECT_TRUE(moveNoReplace(a, tmp.filePath("c")));
    EXPECT_FALSE(QFile::exists(a));
}
