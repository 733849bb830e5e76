// Every page file goes through readBitmapFile: good files load with their colors, damaged
// ones load partly or are refused, and none shows memory the file did not define.
#include "library/pageload.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <gtest/gtest.h>

namespace {
QString corpus() {
    return QStringLiteral(PICTARO_CORPUS_DIR "/bmpsuite");
}

std::map<QString, QString> referenceMap() {
    std::map<QString, QString> m;
    QFile f(corpus() + QStringLiteral("/refmap.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return m;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().simplified().split(QLatin1Char(' '));
        if (parts.size() >= 2)
            m[parts[0]] = parts[1];
    }
    return m;
}
} // namespace

TEST(BmpSuite, GoodFilesMatchTheirReferences) {
    ASSERT_TRUE(QDir(corpus()).exists()) << "the bitmap corpus is missing";
    const auto refs = referenceMap();
    const QStringList files = QDir(corpus() + "/g").entryList({"*.bmp"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    std::printf("checked %lld good bitmap files\n", static_cast<long long>(files.size()));
    for (const QString& name : files) {
        const QImage img = readBitmapFile(corpus() + "/g/" + name);
        ASSERT_FALSE(img.isNull()) << name.toStdString();
        const auto it = refs.find(QStringLiteral("g/") + name);
        if (it == refs.end())
            continue;
        const QImage ref =
            QImage(corpus() + QLatin1Char('/') + it->second).convertToFormat(QImage::Format_RGB32);
        if (name.contains(QStringLiteral("nonsquare")))
            continue; // its reference is drawn at the pixel aspect, not the pixel grid
        ASSERT_EQ(img.size(), ref.size()) << name.toStdString();
        int worst = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb a = img.pixel(x, y), b = ref.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(worst, 8) << name.toStdString();
    }
}

// Reading a file twice must give the same pixels: leftover memory would differ between the
// two reads (and valgrind's memcheck reports it).
TEST(BmpSuite, DamagedFilesNeverCrashAndAreDeterministic) {
    ASSERT_TRUE(QDir(corpus()).exists()) << "the bitmap corpus is missing";
    int loaded = 0, refused = 0;
    for (const char* folder : {"q", "b"}) {
        const QString dir = corpus() + QLatin1Char('/') + QLatin1String(folder);
        for (const QString& name : QDir(dir).entryList({"*.bmp"}, QDir::Files)) {
            const QImage a = readBitmapFile(dir + QLatin1Char('/') + name);
            // Scribble over freed memory between the reads.
            std::vector<unsigned char> junk(1 << 20, 0xA5);
            (void)junk;
            const QImage b = readBitmapFile(dir + QLatin1Char('/') + name);
            EXPECT_EQ(a.isNull(), b.isNull()) << name.toStdString();
            if (a.isNull()) {
                ++refused;
                continue;
            }
            ++loaded;
            EXPECT_EQ(a.format(), QImage::Format_RGB32);
            EXPECT_TRUE(a == b) << name.toStdString();
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
    std::printf("checked %d damaged bitmap files\n", loaded + refused);
}

TEST(BmpSuite, TruncatedPageShowsWhiteWhereTheFileEnds) {
    // A 1-bit page cut in half: the rows the file still holds are black, the rest white.
    QImage page(64, 64, QImage::Format_Mono);
    page.setColor(0, qRgb(0, 0, 0));
    page.setColor(1, qRgb(255, 255, 255));
    page.fill(0);
    QByteArray bytes;
    {
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(page.save(&buf, "BMP"));
    }
    bytes.chop(64 * 8 / 2); // half of the 8-byte rows (bottom-up: the top half is gone)
    QTemporaryDir dir;
    QFile f(dir.filePath("cut.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    const QImage img = readBitmapFile(dir.filePath("cut.bmp"));
    ASSERT_FALSE(img.isNull()) << "a truncated page loads as far as it goes";
    EXPECT_EQ(img.pixel(10, 63), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(10, 0), qRgb(255, 255, 255));
}

TEST(BmpSuite, MissingAndEmptyFilesAreRefused) {
    QTemporaryDir dir;
    EXPECT_TRUE(readBitmapFile(dir.filePath("none.bmp")).isNull());
    QFile f(dir.filePath("empty.bmp"));
    f.open(QIODevice::WriteOnly);
    f.close();
    EXPECT_TRUE(readBitmapFile(dir.filePath("empty.bmp")).isNull());
}

namespace {
// A bitmap header alone: the declared size, and not one byte of pixel data.
QByteArray headerOnly(qint32 w, qint32 h, int bpp, int headerSize) {
    QByteArray b(14 + headerSize, '\0');
    auto put = [&](int at, quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, quint32(b.size()), 4);
    put(10, quint32(b.size()), 4);
    put(14, quint32(headerSize), 4);
    if (headerSize == 12) {
        put(18, quint32(w), 2);
        put(20, quint32(h), 2);
        put(22, 1, 2);
        put(24, quint32(bpp), 2);
    } else {
        put(18, quint32(w), 4);
        put(22, quint32(h), 4);
        put(26, 1, 2);
        put(28, quint32(bpp), 2);
    }
    return b;
}
} // namespace

// A few hundred bytes that declare a huge picture are refused before anything is allocated
// for it; a modest page cut short still loads (see the truncated page above).
TEST(BmpSuite, HeaderFarLargerThanItsFileIsRefused) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"info.bmp", headerOnly(8000, 8000, 24, 40) + QByteArray(314, '\0')},
                 {"topdown.bmp", headerOnly(9000, -9000, 1, 40)},
                 {"os2.bmp", headerOnly(9000, 9000, 24, 12)}};
    for (const auto& c : cases) {
        const QString p = dir.filePath(QString::fromLatin1(c.name));
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        QString error;
        EXPECT_TRUE(readBitmapFile(p, &error).isNull()) << c.name;
        EXPECT_TRUE(error.contains(QStringLiteral("damaged")))
            << c.name << ": " << error.toStdString();
    }
}

// The reader starts the pixels after the header even where the header's offset points
// into it, and makes an image of its own when the pixels turn out to carry alpha: the
// rows a cut file lacks are white all the same, the last half row too.
TEST(BmpSuite, CutPageWithAlphaAndAnOffsetIntoItsHeaderShowsWhiteWhereTheFileEnds) {
    constexpr int kSide = 256, kRows = 100;
    for (const int sign : {-1, 1}) {
        QByteArray bytes = headerOnly(kSide, sign * kSide, 32, 108);
        auto put = [&](int at, quint32 v) {
            for (int i = 0; i < 4; ++i)
                bytes[at + i] = char((v >> (8 * i)) & 0xFF);
        };
        put(10, 54); // inside the 108-byte header
        put(54, 0x00FF0000u);
        put(58, 0x0000FF00u);
        put(62, 0x000000FFu);
        put(66, 0xFF000000u);
        for (int i = 0; i < kSide * kRows; ++i)
            bytes += QByteArray("\0\0\0\xFF", 4);  // opaque black
        bytes += QByteArray(kSide * 4 - 24, '\0'); // a row cut short
        const QImage img = readBitmapData(bytes, QStringLiteral("cut.bmp"));
        ASSERT_EQ(img.size(), QSize(kSide, kSide)) << sign;
        int wrong = 0;
        for (int y = 0; y < kSide; ++y) {
            const bool inFile = sign < 0 ? y < kRows : y >= kSide - kRows;
            for (int x = 0; x < kSide; ++x)
                wrong += img.pixel(x, y) != (inFile ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
        EXPECT_EQ(wrong, 0) << (sign < 0 ? "top-down" : "bottom-up");
    }
}

TEST(BmpSuite, ByteLimitCanBeLoweredButNeverRaised) {
    QTemporaryDir dir;
    QImage page(5, 3, QImage::Format_RGB32);
    page.fill(Qt::white);
    ASSERT_TRUE(page.save(dir.filePath("small.bmp"), "BMP"));
    QString error;
    EXPECT_TRUE(readBitmapFile(dir.filePath("small.bmp"), &error, 15 * 4 - 1).isNull());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    EXPECT_EQ(readBitmapFile(dir.filePath("small.bmp"), nullptr, 15 * 4).size(), QSize(5, 3));

    // A header alone declaring 10,001 x 10,000 pixels: refused whatever limit is asked for.
    QByteArray header = QByteArray("BM") + QByteArray(52, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = char(v >> (8 * i));
    };
    put32(10, 54);
    put32(14, 40);
    put32(18, 10001);
    put32(22, 10000);
    header[26] = 1;
    header[28] = 24;
    QFile f(dir.filePath("huge.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(header);
    f.close();
    error.clear();
    EXPECT_TRUE(readBitmapFile(dir.filePath("huge.bmp"), &error, qint64(1) << 40).isNull());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
}

// Found by fuzz_page: a GIF file loaded as a page through Qt's GIF plugin.
TEST(BmpSuite, OnlyBitmapsAreRead) {
    const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x02, 0x00, 0xf0,
                                 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04,
                                 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x03,
                                 0x00, 0x02, 0x00, 0x00, 0x02, 0x02, 0x84, 0x5f, 0x00, 0x3b};
    QTemporaryDir dir;
    QFile f(dir.filePath("red.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(gif), sizeof gif);
    f.close();
    ASSERT_FALSE(QImage(dir.filePath("red.bmp")).isNull());        // a readable picture...
    EXPECT_TRUE(readBitmapFile(dir.filePath("red.bmp")).isNull()); // ...but not a page
}
