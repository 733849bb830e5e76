#include "base/rng.h"
#include "share/gallery.h"
#include "share/halftone.h"
#include "share/jpeg.h"
#include "share/savename.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

QString nameIn(const QString& folder, const QStringList& files) {
    QDir().mkpath(folder);
    for (const QString& f : files)
        touch(folder + QLatin1Char('/') + f);
    return QFileInfo(NextSaveName(folder)).fileName();
}

quint32 le32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
} // namespace

// Every bitmap in the folder counts; the first free number from count + 1 is proposed.
TEST(SaveName, CountsEveryBitmapAndTakesTheFirstFreeNumberAfterTheCount) {
    QTemporaryDir dir;
    EXPECT_EQ(nameIn(dir.filePath("empty"), {}), "baby1.bmp");
    EXPECT_EQ(nameIn(dir.filePath("three"), {"baby1.bmp", "baby2.bmp", "drawing.bmp"}),
              "baby4.bmp");
    EXPECT_EQ(nameIn(dir.filePath("gap"), {"baby2.bmp"}), "baby3.bmp");
    // Other files are not counted; upper-case extensions are, as the desktop matches them.
    EXPECT_EQ(nameIn(dir.filePath("mixed"), {"notes.txt", "PIC.BMP", "baby1.jpg"}), "baby2.bmp");
    // A folder of that name is no bitmap file.
    QDir().mkpath(dir.filePath("dirs/old.bmp"));
    EXPECT_EQ(nameIn(dir.filePath("dirs"), {}), "baby1.bmp");
    EXPECT_EQ(NextSaveName(dir.filePath("empty")), dir.filePath("empty/baby1.bmp"));
}

// A PNG counts the pictures of both kinds and skips a number either kind holds.
TEST(SaveName, PngCountsBothKindsAndSkipsANumberEitherHolds) {
    QTemporaryDir dir;
    const auto png = [&](const char* sub, const QStringList& files) {
        const QString folder = dir.filePath(QLatin1String(sub));
        nameIn(folder, files);
        return QFileInfo(NextPngSaveName(folder)).fileName();
    };
    EXPECT_EQ(png("empty", {}), "baby1.png");
    EXPECT_EQ(png("both", {"baby1.bmp", "baby2.png"}), "baby3.png");
    EXPECT_EQ(png("taken", {"baby2.bmp"}), "baby3.png"); // count 1, baby2 is a bitmap
    EXPECT_EQ(png("upper", {"A.PNG", "baby2.png"}), "baby3.png");
    EXPECT_EQ(png("other", {"baby1.jpg", "notes.txt"}), "baby1.png");
}

TEST(Halftone, PaletteHoldsTheBasicColorsTheCubeAndAGreyRamp) {
    const QList<QRgb>& p = HalftonePalette();
    ASSERT_EQ(p.size(), 256);
    const QSet<QRgb> all(p.begin(), p.end());
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51)
                EXPECT_TRUE(all.contains(qRgb(r, g, b))) << r << "," << g << "," << b;
    for (QRgb c : {qRgb(128, 0, 0), qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128)})
        EXPECT_TRUE(all.contains(c));
    for (int v = 8; v <= 238; v += 10)
        EXPECT_TRUE(all.contains(qRgb(v, v, v))) << v;
}

TEST(Halftone, NearestColorIsExactForPaletteColorsAndClosestOtherwise) {
    const QList<QRgb>& p = HalftonePalette();
    for (int i = 0; i < p.size(); ++i)
        EXPECT_EQ(p[NearestHalftone(p[i])], p[i]) << i;
    EXPECT_EQ(p[NearestHalftone(qRgb(0x1A, 0x1A, 0x1A))], qRgb(28, 28, 28)); // black paint
    EXPECT_EQ(p[NearestHalftone(qRgb(250, 10, 5))], qRgb(255, 0, 0));
    EXPECT_EQ(p[NearestHalftone(qRgb(120, 130, 125))], qRgb(128, 128, 128));
    EXPECT_EQ(p[NearestHalftone(qRgb(60, 110, 190))], qRgb(51, 102, 204));
    // Black outlines stay black, white stays white, whatever the duplicates.
    EXPECT_EQ(p[NearestHalftone(qRgb(0, 0, 0))], qRgb(0, 0, 0));
    EXPECT_EQ(p[NearestHalftone(qRgb(255, 255, 255))], qRgb(255, 255, 255));
    // Against a brute-force search over a spread of colors.
    for (int c = 0; c < 0x1000000; c += 0x10307) {
        const QRgb q = 0xFF000000u | QRgb(c);
        int best = INT_MAX;
        for (QRgb e : p) {
            const int dr = qRed(e) - qRed(q), dg = qGreen(e) - qGreen(q), db = qBlue(e) - qBlue(q);
            best = std::min(best, dr * dr + dg * dg + db * db);
        }
        const QRgb got = p[NearestHalftone(q)];
        const int dr = qRed(got) - qRed(q), dg = qGreen(got) - qGreen(q),
                  db = qBlue(got) - qBlue(q);
        EXPECT_EQ(dr * dr + dg * dg + db * db, best) << std::hex << c;
    }
}

// Our own 8-bit writer, read back by the platform's reader, for widths that need every
// amount of row padding.
TEST(Bmp8, WrittenFileHasTheRightHeadersAndReadsBackPixelForPixel) {
    for (int w : {1, 2, 3, 4, 5, 7}) {
        QImage img(w, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, qRgb(x * 40, y * 100, (x + y) * 30));
        const QImage indexed = ToHalftone(img);
        const QByteArray b = EncodeBmp8(indexed);
        const int stride = (w + 3) & ~3;
        ASSERT_EQ(b.size(), 14 + 40 + 1024 + stride * 3);
        EXPECT_EQ(b.left(2), "BM");
        EXPECT_EQ(le32(b, 2), quint32(b.size()));
        EXPECT_EQ(le32(b, 10), 14u + 40u + 1024u);
        EXPECT_EQ(le32(b, 14), 40u);
        EXPECT_EQ(le32(b, 18), quint32(w));
        EXPECT_EQ(le32(b, 22), 3u); // bottom-up
        EXPECT_EQ(le16(b, 28), 8);
        EXPECT_EQ(le32(b, 30), 0u);
        EXPECT_EQ(le32(b, 46), 256u);

        QBuffer buf;
        buf.setData(b);
        QImageReader reader(&buf, "bmp");
        const QImage back = reader.read();
        ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(back.format(), QImage::Format_Indexed8);
        EXPECT_EQ(back.colorCount(), 256);
        EXPECT_EQ(back.colorTable(), HalftonePalette());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(back.pixelIndex(x, y), indexed.pixelIndex(x, y))
                    << w << ":" << x << "," << y;
    }
}

TEST(UploadName, TenDistinctCharactersOfTheAlphabetAndNoTwoAlike) {
    const QString alphabet = QString::fromLatin1(kUploadAlphabet);
    ASSERT_EQ(alphabet.size(), 62);
    rng::Randomize();
    QSet<QString> names;
    for (int n = 0; n < 200; ++n) {
        const QString name = RandomFileName(10);
        ASSERT_EQ(name.size(), 10);
        EXPECT_EQ(QSet<QChar>(name.begin(), name.end()).size(), 10) << name.toStdString();
        for (QChar c : name)
            EXPECT_TRUE(alphabet.contains(c)) << name.toStdString();
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 200);
    // More than the alphabet holds is cut to one less than its size.
    const QString all = RandomFileName(100);
    EXPECT_EQ(all.size(), 61);
    EXPECT_EQ(QSet<QChar>(all.begin(), all.end()).size(), 61);
}

TEST(AnnounceUrl, KeysInOrderAndValuesPercentEncodedAsUtf8) {
    EXPECT_EQ(AnnounceUrl("http://h:1", "AbC0123xyz.jpg", QStringLiteral("Маша"), "4"),
              "http://h:1/write_image.php?filename=AbC0123xyz.jpg&rebenok=%D0%9C%D0%B0%D1%88%D0%B0"
              "&vozrast=4");
    // A blank, "&", "=", "#" or "+" stays inside its value.
    EXPECT_EQ(AnnounceUrl("http://h", "a.jpg", "Tom & Jerry", "3+1=#4"),
              "http://h/write_image.php?filename=a.jpg&rebenok=Tom%20%26%20Jerry"
              "&vozrast=3%2B1%3D%234");
    EXPECT_EQ(UploadUrl("http://h"), "http://h/get_image.php");
    EXPECT_EQ(GalleryUrl("http://h"), "http://h/baby.php");
}

TEST(Jpeg, EncodesTheWholePictureInColor) {
    QImage img(33, 17, QImage::Format_RGB32);
    img.fill(qRgb(30, 140, 220));
    const QByteArray jpeg = EncodeJpeg(img, 60);
    QImage back;
    ASSERT_TRUE(back.loadFromData(jpeg, "JPEG"));
    EXPECT_EQ(back.size(), img.size());
    const QColor c = back.pixelColor(20, 8);
    EXPECT_NEAR(c.red(), 30, 12);
    EXPECT_NEAR(c.green(), 140, 12);
    EXPECT_NEAR(c.blue(), 220, 12);
    EXPECT_THROW(EncodeJpeg(QImage(), 60), std::runtime_error);
}
