// The autosave file: exact round trip, and anything damaged or foreign reads as nothing.
#include "share/autosave.h"

#include "base/windowidle.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace {
QImage picture() {
    QImage img(97, 61, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb((x * 37) & 255, (y * 11) & 255, (x ^ y) & 255));
    return img;
}

// Bytes this process has read from files so far.
qint64 bytesRead() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

// An autosave file of size bytes (sparse past its header) whose header claims a page name of
// nameLen bytes and a picture of the rest.
void writeClaim(const QString& path, qint64 size, quint32 nameLen) {
    QByteArray head("PICTARO-AUTOSAVE-1\n");
    QDataStream s(&head, QIODevice::WriteOnly | QIODevice::Append);
    s << nameLen << quint32(size - head.size() - 8 - nameLen - 20);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(head);
    ASSERT_TRUE(f.resize(size));
}
} // namespace

TEST(Autosave, RoundTripsExactlyAndRejectsDamagedOrForeignBytes) {
    const QByteArray bytes = EncodeAutosave({picture(), QStringLiteral("Мишка")});
    const auto back = DecodeAutosave(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->picture, picture());
    EXPECT_EQ(back->pageName, QStringLiteral("Мишка"));

    for (qsizetype n : {qsizetype(0), qsizetype(5), bytes.size() / 2, bytes.size() - 1})
        EXPECT_FALSE(DecodeAutosave(bytes.left(n))) << n;
    for (qsizetype at : {qsizetype(3), qsizetype(30), bytes.size() / 2, bytes.size() - 2}) {
        QByteArray bad = bytes;
        bad[at] = char(bad[at] ^ 0x40);
        EXPECT_FALSE(DecodeAutosave(bad)) << at;
    }
    EXPECT_FALSE(DecodeAutosave(QByteArrayLiteral("BM6\0\0\0 not ours")));
    EXPECT_FALSE(ReadAutosave(QStringLiteral("/nonexistent/autosave.dat")));
}

TEST(Autosave, WriterPutsTheLastSubmittedPictureOnDiskAndReportsFailures) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/autosave.dat");
    {
        AutosaveWriter w(path);
        QImage img = picture();
        for (int i = 0; i < 5; ++i) {
            img.setPixel(i, 0, qRgb(1, 2, 3)); // the window keeps drawing meanwhile
            w.submit({img, QString::number(i)});
        }
        EXPECT_TRUE(w.flush().isEmpty());
        const auto back = ReadAutosave(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->pageName, QStringLiteral("4"));
        EXPECT_EQ(back->picture, img);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"autosave.dat"});
    }
    AutosaveWriter nowhere(dir.path() + QStringLiteral("/missing/autosave.dat"));
    nowhere.submit({picture(), QString()});
    EXPECT_FALSE(nowhere.flush().isEmpty());
}

// A write under way makes way for the window's tap, and a window that waits for the write
// itself (as it does when it closes) is never kept waiting on its own account.
TEST(Autosave, AWriteStepsAsideForATapAndAWindowWaitingForItIsNotHeldUp) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/autosave.dat");
    QImage page(1600, 1200, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            page.setPixel(x, y, (x / 40 + y / 30) % 5 ? qRgb(250, 250, 250) : rng.generate());
    windowidle::enable(true); // this thread is the window's
    const std::uint64_t timeouts = windowidle::timeouts();
    {
        AutosaveWriter w(path);
        windowidle::markBusy();
        w.submit({page, QStringLiteral("tap")});
        // The encoding waits at its next row band while the window is at work.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (windowidle::steppingAside() == 0 && std::chrono::steady_clock::now() < until) {
            windowidle::markBusy(); // still at work, however slow the machine
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_GT(windowidle::steppingAside(), 0);
        EXPECT_TRUE(w.flush().isEmpty());
    }
    EXPECT_EQ(windowidle::timeouts(), timeouts);
    windowidle::enable(false);
    const auto back = ReadAutosave(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->picture, page);
    EXPECT_EQ(back->pageName, QStringLiteral("tap"));
}

// A file written by this version (kept as a fuzz seed) must stay readable by later ones.
TEST(Autosave, AFileOfThisFormatStaysReadable) {
    const auto d =
        ReadAutosave(QStringLiteral(PICTARO_SOURCE_DIR "/tests/fuzz/corpus/autosave/whole.sav"));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->pageName, QStringLiteral("кот"));
    ASSERT_EQ(d->picture.size(), QSize(8, 6));
    EXPECT_EQ(d->picture.pixel(7, 5), qRgb(0, 0, 255));
}

// The reader never takes in more than the largest picture can need, and checks the lengths its
// header claims before it allocates them.
TEST(Autosave, AFileClaimingMoreThanAPictureCanNeedIsRefusedUnread) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/autosave.dat");
    struct Claim {
        qint64 size;
        quint32 nameLen;
    };
    for (const Claim& c :
         {Claim{qint64(300) << 20, 0}, Claim{qint64(4) << 30, 0}, Claim{qint64(1) << 20, 900 << 10},
          Claim{qint64(1) << 20, 0xfffffff0u}}) {
        writeClaim(path, c.size, c.nameLen);
        const qint64 before = bytesRead();
        ASSERT_GE(before, 0);
        EXPECT_FALSE(ReadAutosave(path)) << c.size << " " << c.nameLen;
        EXPECT_LT(bytesRead() - before, 64 << 10) << c.size << " " << c.nameLen;
    }
}

// The worst picture for PNG, noise over the largest drawing area, still fits and comes back.
TEST(Autosave, NoiseOverTheLargestAreaRoundTrips) {
#ifdef PICTARO_SANITIZED
    GTEST_SKIP() << "a 100 MB PNG each way: the bound is measured in the normal build";
#endif
    QImage noise(7680, 4320, QImage::Format_RGB32);
    QRandomGenerator rng(24);
    for (int y = 0; y < noise.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(noise.scanLine(y));
        rng.fillRange(row, noise.width());
        for (int x = 0; x < noise.width(); ++x)
            row[x] |= 0xff000000u;
    }
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/autosave.dat");
    {
        AutosaveWriter w(path);
        w.submit({noise, QStringLiteral("шум")});
        ASSERT_TRUE(w.flush().isEmpty());
    }
    const auto back = ReadAutosave(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->picture, noise);
    // One column more than the largest area is refused.
    QImage over(7681, 4320, QImage::Format_RGB32);
    over.fill(Qt::white);
    EXPECT_FALSE(DecodeAutosave(EncodeAutosave({over, {}})));
}
