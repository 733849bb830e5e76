// The texture strip on the fill tool's page and textured fills.
#include "app/options.h"
#include "app/widgets.h"
#include "support/fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
PictureBox* box(MainWindow& f, int n) {
    return probe::ui(f).textureBoxes[size_t(n - 1)];
}

void pick(MainWindow& f, int n) {
    QTest::mouseClick(box(f, n), Qt::LeftButton);
}

bool framed(const QImage& pic) {
    return !pic.isNull() && pic.pixel(1, 1) == qRgb(255, 0, 0) &&
           pic.pixel(78, 40) == qRgb(255, 0, 0);
}
} // namespace

TEST(TextureStrip, BoxesPickTexturesByOffset) {
    Harness h;
    MainWindow& f = h.make(true, QSize(1000, 300)); // room for the whole strip
    EXPECT_EQ(probe::tools(f).textureCount, 10);
    EXPECT_EQ(probe::tools(f).textureOffset, 0);
    probe::tools(f).toolValue = tool::Brush;
    pick(f, 6);
    EXPECT_EQ(probe::tools(f).fillTexture, 6);
    EXPECT_EQ(probe::tools(f).toolValue, tool::Fill);

    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(probe::ui(f).texturesNextButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).textureOffset, 4);
    EXPECT_EQ(probe::tools(f).fillTexture, 6); // scrolling keeps the choice
    pick(f, 6);
    EXPECT_EQ(probe::tools(f).fillTexture, 10);
    pick(f, 1);
    EXPECT_EQ(probe::tools(f).fillTexture, 5);
    QTest::mouseClick(probe::ui(f).texturesNextButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).textureOffset, 4);

    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(probe::ui(f).texturesBackButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).textureOffset, 0);
    QTest::mouseClick(probe::ui(f).texturesBackButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).textureOffset, 0);
    pick(f, 1);
    EXPECT_EQ(probe::tools(f).fillTexture, 1);

    // With no more textures than boxes the arrows do nothing.
    probe::tools(f).textureCount = 6;
    QTest::mouseClick(probe::ui(f).texturesNextButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).textureOffset, 0);
}

// The frame is drawn into the chosen box's picture; choosing another box or scrolling puts
// the plain previews back. Choosing plays nothing.
TEST(TextureStrip, SelectionFrame) {
    Harness h;
    MainWindow& f = h.make(true, QSize(1000, 300)); // room for the whole strip
    probe::optionsDialog(f)->silentCheck->setChecked(false);
    h.sound.events.clear();
    pick(f, 2);
    EXPECT_TRUE(framed(box(f, 2)->picture()));
    if (!probe::tools(f).texturePreviews[1].isNull()) {
        EXPECT_EQ(box(f, 2)->picture().pixel(40, 40),
                  probe::tools(f).texturePreviews[1].pixel(40, 40));
    }
    pick(f, 3);
    EXPECT_TRUE(framed(box(f, 3)->picture()));
    EXPECT_FALSE(framed(box(f, 2)->picture()));
    EXPECT_EQ(box(f, 2)->picture(), probe::tools(f).texturePreviews[1]);
    EXPECT_TRUE(h.sound.events.empty());

    QTest::mouseClick(probe::ui(f).texturesBackButton,
                      Qt::LeftButton); // at offset 0: nothing moves, but refilled
    EXPECT_EQ(probe::tools(f).textureOffset, 0);
    EXPECT_FALSE(framed(box(f, 3)->picture()));
    EXPECT_EQ(probe::tools(f).fillTexture, 3);
}

TEST(TextureStrip, PatternsComeFromTheirTiles) {
    Harness h;
    MainWindow& f = h.make(true, QSize(500, 300));
    ASSERT_TRUE(QFileInfo::exists(QStringLiteral(":/textures/tex11.png")))
        << "texture art missing from the resources";
    const QSize sizes[] = {{16, 16},   {16, 16},   {16, 16},   {15, 15}, {96, 96},
                           {237, 244}, {163, 155}, {141, 140}, {80, 80}, {80, 80}};
    for (int t = 1; t <= 10; ++t)
        EXPECT_EQ(f.texturePattern(t).size(), sizes[t - 1]) << t;
    EXPECT_EQ(f.texturePattern(9), probe::tools(f).texturePreviews[8]);
    EXPECT_TRUE(f.texturePattern(0).isNull());
    EXPECT_TRUE(f.texturePattern(11).isNull());
}

// A textured fill is a special fill with the tile repeated from the page's origin; the plain
// special fill button brings back solid paint.
TEST(TextureStrip, TexturedFillAndBackToPlain) {
    Harness h;
    MainWindow& f = h.make(true, QSize(500, 300));
    const QImage tile = f.texturePattern(5).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(tile.isNull()) << "texture art missing from the resources";
    QImage img(500, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < 500; ++x)
        img.setPixel(x, 150, qRgb(0, 0, 0));
    img.setPixel(100, 100, qRgb(255, 0, 0)); // another color inside: painted over
    probe::setPage(f, std::make_unique<PageBitmapCanvas>(img));
    probe::catalogue(f).currentPageIndex = 1;

    pick(f, 5);
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {}, QPoint(250, 50));
    EXPECT_EQ(probe::tools(f).fillStyle, fillstyle::Special);
    const QImage& page = probe::session(f).canvas()->image;
    for (QPoint p :
         {QPoint(0, 0), QPoint(100, 100), QPoint(250, 50), QPoint(499, 149), QPoint(97, 123)})
        EXPECT_EQ(page.pixel(p), tile.pixel(p.x() % tile.width(), p.y() % tile.height()))
            << p.x() << "," << p.y();
    EXPECT_EQ(page.pixel(10, 200), qRgb(255, 255, 255));

    QTest::mouseClick(probe::ui(f).fillToLinesButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).fillTexture, 0);
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {}, QPoint(250, 250));
    EXPECT_EQ(page.pixel(10, 200), toQRgb(probe::tools(f).currentColor));
    EXPECT_EQ(page.pixel(499, 299), toQRgb(probe::tools(f).currentColor));
}

// The grey stone is the program's own paint, not a line's grey edge: a region textured with
// it takes another texture from any pixel of it, also after the page was turned half round.
TEST(TextureStrip, TheGreyStoneTakesAnotherTextureWhereverItIsTapped) {
    Harness h;
    MainWindow& f = h.make(true, QSize(500, 300));
    const QImage stone = f.texturePattern(1).convertToFormat(QImage::Format_RGB32);
    const QImage dots = f.texturePattern(3).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(stone.isNull() || dots.isNull()) << "texture art missing from the resources";
    QImage img(500, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < 500; ++x)
        img.setPixel(x, 150, qRgb(0, 0, 0));
    probe::setPage(f, std::make_unique<PageBitmapCanvas>(img));
    probe::catalogue(f).currentPageIndex = 1;
    const QImage& page = probe::session(f).canvas()->image;
    const auto holds = [&](const QImage& tile, bool turned) {
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 500; ++x) {
                const int ty = turned ? 299 - y : y, tx = turned ? 499 - x : x;
                if (page.pixel(tx, ty) != tile.pixel(x % tile.width(), y % tile.height()))
                    return false;
            }
        return true;
    };

    pick(f, 1);
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {}, QPoint(250, 50));
    ASSERT_TRUE(holds(stone, false));
    // Its darkest grey, which alone would pass for a line's.
    QPoint dark(0, 0);
    for (int y = 0; y < stone.height(); ++y)
        for (int x = 0; x < stone.width(); ++x)
            if (qGray(stone.pixel(x, y)) < qGray(stone.pixel(dark)))
                dark = QPoint(x, y);
    pick(f, 3);
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {}, dark + QPoint(32, 64));
    EXPECT_TRUE(holds(dots, false));
    EXPECT_EQ(page.pixel(10, 200), qRgb(255, 255, 255));

    pick(f, 1);
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {}, QPoint(250, 50));
    QTest::mouseClick(probe::ui(f).rotateButton, Qt::LeftButton);
    ASSERT_TRUE(holds(stone, true));
    pick(f, 3);
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {},
                      QPoint(499 - 32 - dark.x(), 299 - 64 - dark.y()));
    // Tiles lie from the page's origin: the new one upright, where the stone was.
    for (int y = 150 + 1; y < 300; ++y)
        for (int x = 0; x < 500; ++x)
            ASSERT_EQ(page.pixel(x, y), dots.pixel(x % dots.width(), y % dots.height()))
                << x << "," << y;
}

// A colour picked after a texture is the colour painted: the red blot shows as chosen, so the
// next fill must not lay orange tiles. The chart ends the texture too.
TEST(TextureStrip, PickingAColourEndsTheTexture) {
    Harness h;
    MainWindow& f = h.make(true, QSize(1000, 300)); // room for the whole strip
    QImage img(1000, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    probe::setPage(f, std::make_unique<PageBitmapCanvas>(img));
    probe::catalogue(f).currentPageIndex = 1; // a page is shown: the fill works

    pick(f, 5);
    ASSERT_EQ(probe::tools(f).fillTexture, 5);
    QTest::mouseClick(probe::ui(f).redBlot, Qt::LeftButton);
    QApplication::processEvents(); // the chosen looks follow the press
    EXPECT_EQ(probe::tools(f).fillTexture, 0);
    EXPECT_FALSE(framed(box(f, 5)->picture()));
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {}, QPoint(250, 50));
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(10, 10), toQRgb(clRed));
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(997, 297), toQRgb(clRed));

    pick(f, 2);
    ASSERT_EQ(probe::tools(f).fillTexture, 2);
    QTest::mouseClick(probe::ui(f).colorChart, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(probe::tools(f).fillTexture, 0);
}

// At 1366 pixels an open side panel leaves the strip little room: it shows fewer boxes, both
// arrows stay on the screen, and every texture can still be reached.
TEST(TextureStrip, FitsTheRoomAnOpenPanelLeaves) {
    Harness h;
    MainWindow& f = h.make(true, QSize(1366 - 135 - 145, 400));
    ASSERT_EQ(f.width(), 1366);
    const auto arrowsShow = [&] {
        const QRect room = probe::ui(f).fillOptions->rect();
        return room.contains(probe::ui(f).texturesNextButton->geometry()) &&
               room.contains(probe::ui(f).texturesBackButton->geometry()) &&
               probe::ui(f).texturesNextButton->geometry().left() >=
                   probe::ui(f).textureStrip->geometry().right();
    };
    EXPECT_TRUE(arrowsShow());
    EXPECT_EQ(probe::tools(f).stripSize, 6);
    for (auto open : {&MainWindow::onCatalogueButtonClicked, &MainWindow::onStatisticsClicked}) {
        (f.*open)();
        QApplication::processEvents();
        EXPECT_TRUE(arrowsShow());
        EXPECT_LT(probe::tools(f).stripSize, 6);
        EXPECT_FALSE(box(f, 1)->isHidden());
        for (int i = 0; i < 10; ++i)
            QTest::mouseClick(probe::ui(f).texturesNextButton, Qt::LeftButton);
        pick(f, probe::tools(f).stripSize);
        EXPECT_EQ(probe::tools(f).fillTexture, 10);
        EXPECT_TRUE(framed(box(f, probe::tools(f).stripSize)->picture()));
        f.onAreaMove(5, 5); // back on the page
        QApplication::processEvents();
        EXPECT_EQ(probe::tools(f).stripSize, 6);
        EXPECT_TRUE(framed(box(f, 10 - probe::tools(f).textureOffset)->picture()))
            << "the frame stays";
    }
}
