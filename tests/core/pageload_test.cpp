// Pictures opened by hand in every format a family brings, and files whose header asks for
// more memory than any page may take.
#include "library/pageload.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString writeBytes(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
}

QByteArray encoded(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, format, 100)) << format;
    return bytes;
}

// Qt writes no GIF: a red 3 x 2 one, its red made transparent when asked.
QByteArray redGif(bool transparent = false) {
    QByteArray gif = QByteArray::fromHex("47494638396103000200f00000ff000000000021f904000000"
                                         "00002c0000000003000200000202845f003b");
    gif[22] = char(transparent ? 1 : 0);
    return gif;
}

// A bitmap with a 40-byte header, a black and white palette and the given pixel data.
QByteArray bitmap(qint32 w, qint32 h, int bpp, int compression, const QByteArray& data) {
    QByteArray b(14 + 40 + 8, '\0');
    auto put = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(10, quint32(b.size()));
    put(14, 40);
    put(18, quint32(w));
    put(22, quint32(h));
    put(26, 1 | quint32(bpp) << 16);
    put(30, quint32(compression));
    put(46, 2);
    put(58, 0xFFFFFF);
    return b + data;
}

int difference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}
} // namespace

// A few bytes of run-length data, or a 1-bit file, can declare hundreds of megabytes of
// pixels: such a file is refused from its header, at once.
TEST(PageLimit, PagesDeclaringMoreThanAnyPageMayTakeAreRefusedAtOnce) {
    QTemporaryDir dir;
    const QByteArray end("\x00\x01", 2);
    QByteArray runs; // a pixel and the end of its line, 250 times: a 1 KB file
    for (int i = 0; i < 250; ++i)
        runs += QByteArray("\x01\x00\x00\x00", 4);
    const QByteArray cases[] = {
        bitmap(10000, 10000, 8, 1, end),
        bitmap(10000, 10000, 4, 2, end),
        bitmap(1, 100'000'000, 8, 1, runs + end),
        bitmap(1, 81'000'000, 8, 1, runs + end), // 81 million pixels, but rows of 4 bytes
        bitmap(100000, 1000, 1, 0, QByteArray(2'936'000, '\xFF')),
        bitmap(9001, -9000, 1, 0, QByteArray(10'200'000, '\0')), // whole, just over
    };
    for (const QByteArray& bytes : cases) {
        const QString path = writeBytes(dir, "page.bmp", bytes);
        QElapsedTimer timer;
        timer.start();
        QString error, opened;
        EXPECT_TRUE(readBitmapFile(path, &error).isNull());
        EXPECT_TRUE(readPictureFile(path, QSize(900, 500), &opened).isNull());
        EXPECT_LT(timer.elapsed(), 1000);
        EXPECT_TRUE(error.contains("too large")) << error.toStdString();
        EXPECT_EQ(opened, error);
    }
    // The same kind of file within the limit (lowered here to keep the test small) loads.
    const QString small = writeBytes(dir, "small.bmp", bitmap(300, 200, 8, 1, end));
    EXPECT_EQ(readBitmapFile(small, nullptr, 300 * 200 * 4).size(), QSize(300, 200));
    EXPECT_TRUE(readBitmapFile(small, nullptr, 300 * 200 * 4 - 1).isNull());
}

TEST(OpenedPicture, EveryCommonFormatOpensWhateverItsName) {
    QTemporaryDir dir;
    QImage art(60, 40, QImage::Format_RGB32);
    art.fill(Qt::white);
    QPainter(&art).fillRect(QRect(20, 15, 10, 10), Qt::red);
    for (const char* format : {"png", "bmp", "jpeg", "webp"}) {
        const QString path = writeBytes(dir, "page.picture", encoded(art, format));
        QString error;
        const QImage img = readPictureFile(path, QSize(900, 500), &error);
        ASSERT_EQ(img.size(), art.size()) << format << ": " << error.toStdString();
        EXPECT_EQ(img.format(), QImage::Format_RGB32);
        for (const QPoint p : {QPoint(1, 1), QPoint(25, 20)})
            EXPECT_LE(difference(img.pixel(p), art.pixel(p)), 8) << format;
    }
    const QImage gif = readPictureFile(writeBytes(dir, "red.png", redGif()), QSize(900, 500));
    ASSERT_EQ(gif.size(), QSize(3, 2));
    EXPECT_EQ(gif.pixel(2, 1), qRgb(255, 0, 0));

    // An SVG is drawn as large as a page of its shape is laid out, its background white.
    const QString svg =
        writeBytes(dir, "drawing.svg",
                   "<?xml version=\"1.0\"?>\n<!-- made by hand -->\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"50\">"
                   "<rect x=\"40\" y=\"20\" width=\"20\" height=\"10\" fill=\"#000\"/></svg>\n");
    const QImage drawn = readPictureFile(svg, QSize(900, 500));
    ASSERT_EQ(drawn.size(), QSize(860, 430));
    EXPECT_EQ(drawn.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(drawn.pixel(430, 215), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(330, 215), qRgb(255, 255, 255));
}

TEST(OpenedPicture, TransparencyIsFlattenedOntoWhite) {
    QTemporaryDir dir;
    QImage img(3, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(0, 0, 0, 0));
    img.setPixel(1, 0, qRgba(255, 0, 0, 128));
    img.setPixel(2, 0, qRgba(0, 0, 0, 255));
    for (const char* format : {"png", "webp"}) {
        const QString path = writeBytes(dir, "alpha", encoded(img, format));
        const QImage out = readPictureFile(path, QSize(900, 500));
        ASSERT_EQ(out.size(), img.size()) << format;
        EXPECT_EQ(out.pixel(0, 0), qRgb(255, 255, 255)) << format;
        EXPECT_LE(difference(out.pixel(1, 0), qRgb(255, 127, 127)), 2) << format;
        EXPECT_EQ(out.pixel(2, 0), qRgb(0, 0, 0)) << format;
    }
    const QString gif = writeBytes(dir, "clear.gif", redGif(true));
    EXPECT_EQ(readPictureFile(gif, QSize(900, 500)).pixel(1, 1), qRgb(255, 255, 255));
}

TEST(OpenedPicture, OversizedClaimsAndOtherKindsAreRefusedWithAReason) {
    QTemporaryDir dir;
    QImage huge(9001, 9000, QImage::Format_Mono); // small as a PNG, too large as a page
    huge.fill(1);
    QByteArray gif = redGif();
    gif[6] = gif[7] = gif[8] = gif[9] = char(0xFF); // a 65535 x 65535 screen
    const std::pair<QByteArray, const char*> cases[] = {
        {encoded(huge, "png"), "too large"},
        {gif, "too large"},
        {encoded(QImage(8, 8, QImage::Format_RGB32), "tiff"), "not a picture this program opens"},
        {"just some words", "not a picture this program opens"},
        {encoded(huge, "png").left(30), "not a valid PNG picture"},
    };
    for (const auto& [bytes, reason] : cases) {
        QString error;
        EXPECT_TRUE(readPictureFile(writeBytes(dir, "x.png", bytes), {900, 500}, &error).isNull());
        EXPECT_TRUE(error.contains(QLatin1String(reason))) << error.toStdString();
    }
    // A page of the catalogue is a bitmap and nothing else.
    EXPECT_TRUE(
        readBitmapFile(writeBytes(dir, "p.bmp", encoded(QImage(8, 8, QImage::Format_RGB32), "png")))
            .isNull());
}

// A picture the area holds whole keeps its size; others are laid out as pages.
TEST(OpenedPicture, ThePictureOfAWholeAreaKeepsItsSize) {
    const QSize area(900, 500);
    EXPECT_EQ(layoutOpenedPicture(area, area), QRect(QPoint(0, 0), area));
    EXPECT_EQ(layoutOpenedPicture(QSize(880, 470), area), QRect(10, 15, 880, 470));
    for (const QSize picture : {QSize(100, 50), QSize(860, 460), QSize(901, 500)})
        EXPECT_EQ(layoutOpenedPicture(picture, area), layoutPage(picture, area));
}
