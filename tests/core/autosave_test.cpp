// The autosave file: exact round trip, and anything damaged or foreign reads as nothing.
#include "share/autosave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QImage picture() {
    QImage img(97, 61, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb((x * 37) & 255, (y * 11) & 255, (x ^ y) & 255));
    return img;
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

// A file written by this version (kept as a fuzz seed) must stay readable by later ones.
TEST(Autosave, AFileOfThisFormatStaysReadable) {
    const auto d =
        ReadAutosave(QStringLiteral(PICTARO_SOURCE_DIR "/tests/fuzz/corpus/autosave/whole.sav"));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->pageName, QStringLiteral("кот"));
    ASSERT_EQ(d->picture.size(), QSize(8, 6));
    EXPECT_EQ(d->picture.pixel(7, 5), qRgb(0, 0, 255));
}
