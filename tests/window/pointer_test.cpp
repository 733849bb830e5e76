// Presses, moves and releases on the drawing area, as real mouse events.
#include "app/options.h"
#include "app/widgets.h"
#include "base/rng.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace {
const QRgb Black = qRgb(0, 0, 0);

// White with a pure black frame around (40, 40)-(199, 139) and a second one beside it.
QImage twoBoxes() {
    QImage img(500, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (QRect r : {QRect(40, 40, 160, 100), QRect(260, 40, 160, 100)})
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (x == r.left() || x == r.right() || y == r.top() || y == r.bottom())
                    img.setPixel(x, y, Black);
    return img;
}

QRect differing(const QImage& a, const QImage& b) {
    QRect r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

bool all(const QImage& img, const QRect& r, QRgb c) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixel(x, y) != c)
                return false;
    return true;
}

class Pointer : public ::testing::Test {
  protected:
    void SetUp() override {
        f = &h.make(true, QSize(500, 300));
        probe::optionsDialog(*f)->silentCheck->setChecked(false);
        setPage(twoBoxes());
    }
    void setPage(const QImage& img) {
        probe::setPage(*f, std::make_unique<PageBitmapCanvas>(img));
        probe::catalogue(*f).currentPageIndex = 1;
    }
    const QImage& page() const { return probe::session(*f).canvas()->image; }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(probe::ui(*f).drawingArea, b, {}, p);
    }
    void move(QPoint p) { QTest::mouseMove(probe::ui(*f).drawingArea, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(probe::ui(*f).drawingArea, b, {}, p);
    }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        press(p, b);
        release(p, b);
    }

    Harness h;
    MainWindow* f = nullptr;
};
} // namespace

TEST_F(Pointer, FillPaintsTheClickedRegionAndPlops) {
    h.sound.events.clear();
    click({100, 90});
    const QRgb blue = toQRgb(clBlue);
    EXPECT_EQ(differing(twoBoxes(), page()), QRect(41, 41, 158, 98));
    EXPECT_TRUE(all(page(), QRect(41, 41, 158, 98), blue));
    EXPECT_EQ(h.sound.played(), std::vector<QString>{QStringLiteral("S3")});

    // Silent while sound is off; the fill still happens.
    probe::optionsDialog(*f)->silentCheck->setChecked(true);
    h.sound.events.clear();
    click({300, 90});
    EXPECT_EQ(page().pixel(300, 90), blue);
    EXPECT_TRUE(h.sound.events.empty());
}

TEST_F(Pointer, NormalFillTakesOnlyTheClickedColor) {
    probe::session(*f).canvas()->fillRect(QRect(41, 41, 60, 98),
                                          clPaintBlack); // left part painted black
    const QImage before = page();
    click({40, 90}); // on the outline
    EXPECT_EQ(page(), before);
    click({60, 90}); // the painted black refills, the white beside it stays
    EXPECT_EQ(differing(before, page()), QRect(41, 41, 60, 98));
    EXPECT_TRUE(all(page(), QRect(41, 41, 60, 98), toQRgb(clBlue)));
}

TEST_F(Pointer, SpecialFillCoversEveryColorUpToTheOutline) {
    probe::session(*f).canvas()->fillRect(QRect(41, 41, 60, 98), clPaintBlack);
    probe::session(*f).canvas()->fillRect(QRect(120, 60, 20, 20), clRed);
    QTest::mouseClick(probe::ui(*f).fillToLinesButton, Qt::LeftButton);
    QTest::mouseClick(probe::ui(*f).greenBlot, Qt::LeftButton); // green
    const QImage before = page();
    click({40, 90});
    EXPECT_EQ(page(), before);
    click({150, 120});
    EXPECT_EQ(differing(before, page()), QRect(41, 41, 158, 98));
    EXPECT_TRUE(all(page(), QRect(41, 41, 158, 98), toQRgb(clGreen)));
    EXPECT_EQ(page().pixel(300, 90), qRgb(255, 255, 255));
}

TEST_F(Pointer, MulticolorFillTakesARandomColorEachTime) {
    f->onRainbowClicked();
    std::uint64_t tick = 7;
    rng::SetClockForTest([&] { return tick; });
    click({100, 90});
    const TColor first = probe::tools(*f).currentColor;
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 0xFFFFFF);
    EXPECT_EQ(page().pixel(100, 90), toQRgb(first));
    tick = 8; // the fill reseeds from the clock each time
    click({300, 90});
    EXPECT_EQ(page().pixel(300, 90), toQRgb(probe::tools(*f).currentColor));
    EXPECT_NE(probe::tools(*f).currentColor, first);
    rng::SetClockForTest(
        [] { return std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()); });
}

// Before a page has been chosen from the catalogue only the fill is off.
TEST_F(Pointer, NoCataloguePageDisablesOnlyTheFill) {
    probe::catalogue(*f).currentPageIndex = 0;
    const QImage before = page();
    click({100, 90});
    EXPECT_EQ(page(), before);
    EXPECT_TRUE(h.sound.events.empty());
    QTest::mouseClick(probe::ui(*f).brushButton, Qt::LeftButton);
    press({100, 200});
    move({150, 200});
    release({150, 200});
    EXPECT_EQ(page().pixel(125, 200), toQRgb(clBlue));
}

TEST_F(Pointer, RightButtonTogglesTheMagnifierAndDoesNotFill) {
    const QImage before = page();
    click({100, 90}, Qt::RightButton);
    EXPECT_TRUE(probe::tools(*f).magnifierOn);
    EXPECT_TRUE(probe::ui(*f).magnifierLens->isVisible());
    EXPECT_EQ(page(), before);

    // A red page with one black column at x = 40. At (30, 50) the square runs from x = -19:
    // its first 19 columns are off the page, and column 40 is its 59th, picked twice.
    probe::session(*f).canvas()->fillRect(QRect(0, 0, 500, 300), clRed);
    probe::session(*f).canvas()->fillRect(QRect(40, 0, 1, 300), clBlack);
    move({30, 50});
    EXPECT_EQ(probe::ui(*f).magnifierLens->pos(), QPoint(30 - 88, 50));
    const QImage shown =
        probe::ui(*f).magnifierLens->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(200, 200));
    const QRgb red = toQRgb(clRed), white = qRgb(255, 255, 255);
    for (QPoint frame : {QPoint(0, 0), QPoint(100, 0), QPoint(199, 100), QPoint(100, 199)})
        EXPECT_EQ(shown.pixel(frame), Black);
    EXPECT_EQ(shown.pixel(10, 100), white);
    EXPECT_EQ(shown.pixel(38, 100), white);
    EXPECT_EQ(shown.pixel(39, 100), red);
    EXPECT_EQ(shown.pixel(119, 100), red);
    EXPECT_EQ(shown.pixel(120, 100), Black);
    EXPECT_EQ(shown.pixel(121, 100), Black);
    EXPECT_EQ(shown.pixel(122, 100), red);

    click({100, 90}, Qt::RightButton);
    EXPECT_FALSE(probe::tools(*f).magnifierOn);
    EXPECT_FALSE(probe::ui(*f).magnifierLens->isVisible());
}

// The eraser paints white squares 2 x penSize wide, without the right and bottom edge: at the
// press, at every move and at the release.
TEST_F(Pointer, EraserSquaresAtPressMoveAndRelease) {
    probe::session(*f).canvas()->fillRect(QRect(0, 0, 500, 300), clRed);
    QTest::mouseClick(probe::ui(*f).eraserButton, Qt::LeftButton);
    QTest::mouseClick(probe::ui(*f).tinyPenButton, Qt::LeftButton); // penSize 10
    const QRgb white = qRgb(255, 255, 255);

    QImage before = page();
    press({100, 100});
    EXPECT_EQ(differing(before, page()), QRect(90, 90, 20, 20));
    EXPECT_TRUE(all(page(), QRect(90, 90, 20, 20), white));
    EXPECT_EQ(probe::ui(*f).drawingArea->overlayFrame(), QRect(90, 90, 20, 20));

    before = page();
    move({200, 150});
    EXPECT_EQ(differing(before, page()), QRect(190, 140, 20, 20));
    EXPECT_EQ(probe::ui(*f).drawingArea->overlayFrame(), QRect(190, 140, 20, 20));

    before = page();
    release({300, 200});
    EXPECT_EQ(differing(before, page()), QRect(290, 190, 20, 20));
    EXPECT_TRUE(all(page(), QRect(290, 190, 20, 20), white));
    EXPECT_FALSE(probe::tools(*f).strokeActive);
    before = page();
    move({350, 220}); // no stroke after the release
    EXPECT_EQ(page(), before);
}

TEST_F(Pointer, EraserButtons) {
    probe::session(*f).canvas()->fillRect(QRect(0, 0, 500, 300), clRed);
    QTest::mouseClick(probe::ui(*f).eraserButton, Qt::LeftButton);
    QImage before = page();
    press({100, 100}, Qt::RightButton); // right erases too, and turns the magnifier on
    EXPECT_EQ(differing(before, page()), QRect(75, 75, 50, 50));
    EXPECT_TRUE(probe::tools(*f).magnifierOn);
    release({100, 100}, Qt::RightButton);

    before = page();
    press({300, 150}, Qt::MiddleButton);
    EXPECT_EQ(page(), before);
    EXPECT_FALSE(probe::tools(*f).strokeActive);
    release({300, 150}, Qt::MiddleButton);
    EXPECT_EQ(differing(before, page()), QRect(275, 125, 50, 50));
    EXPECT_TRUE(all(page(), QRect(276, 126, 48, 48), qRgb(255, 255, 255)));
}

// A middle-button release is the eraser's first action after a brush stroke: the square is
// all white, not framed by the brush's wide colored pen.
TEST_F(Pointer, MiddleReleaseAfterTheBrushErasesCleanly) {
    probe::session(*f).canvas()->fillRect(QRect(0, 0, 500, 300), clRed);
    QTest::mouseClick(probe::ui(*f).brushButton, Qt::LeftButton);
    QTest::mouseClick(probe::ui(*f).greenBlot, Qt::LeftButton); // green
    press({50, 50});
    move({60, 60});
    release({60, 60});
    QTest::mouseClick(probe::ui(*f).eraserButton, Qt::LeftButton);
    press({300, 150}, Qt::MiddleButton);
    release({300, 150}, Qt::MiddleButton);
    EXPECT_TRUE(all(page(), QRect(275, 125, 50, 50), qRgb(255, 255, 255)));
    EXPECT_EQ(page().pixel(274, 150), qRgb(255, 0, 0));
}

// The release stops sound only with the spray or the eraser, and only once a tool sound has
// been started (the press starts it; here the flag is set by hand around the press).
TEST_F(Pointer, ReleaseStopsTheToolSoundOnceOneWasStarted) {
    auto stops = [&] {
        return std::count_if(h.sound.events.begin(), h.sound.events.end(),
                             [](const SoundEvent& e) { return e.name.isEmpty(); });
    };
    auto clickWithFlag = [&](bool started) {
        h.sound.events.clear();
        press({100, 100});
        probe::toolSoundStarted(*f) = started;
        release({100, 100});
        return stops();
    };
    QTest::mouseClick(probe::ui(*f).eraserButton, Qt::LeftButton);
    EXPECT_EQ(clickWithFlag(false), 0);
    EXPECT_EQ(clickWithFlag(true), 1);
    QTest::mouseClick(probe::ui(*f).sprayButton, Qt::LeftButton);
    EXPECT_EQ(clickWithFlag(true), 1);
    QTest::mouseClick(probe::ui(*f).brushButton, Qt::LeftButton);
    EXPECT_EQ(clickWithFlag(true), 0);
}

TEST_F(Pointer, BrushClickLeavesNoMarkAndDragDrawsRoundWideLines) {
    QTest::mouseClick(probe::ui(*f).brushButton, Qt::LeftButton);
    QTest::mouseClick(probe::ui(*f).mediumPenButton, Qt::LeftButton); // penSize 50
    const QImage before = page();
    click({250, 200});
    EXPECT_EQ(page(), before);

    press({100, 200});
    move({300, 200});
    release({300, 200});
    const QRgb blue = toQRgb(clBlue);
    EXPECT_TRUE(all(page(), QRect(100, 180, 201, 40), blue));
    // Round ends: straight out from the end the pen reaches 25, the corner of its square not.
    EXPECT_EQ(page().pixel(76, 200), blue);
    EXPECT_EQ(page().pixel(78, 178), qRgb(255, 255, 255));
    EXPECT_EQ(page().pixel(100, 240), qRgb(255, 255, 255));
}

TEST_F(Pointer, MulticolorBrushChangesColorEverySegment) {
    f->onRainbowClicked();
    QTest::mouseClick(probe::ui(*f).brushButton, Qt::LeftButton);
    QTest::mouseClick(probe::ui(*f).tinyPenButton, Qt::LeftButton); // penSize 10
    rng::Seed(99);
    press({50, 250});
    move({150, 250});
    move({250, 250});
    move({350, 250});
    release({350, 250});
    const QRgb a = page().pixel(100, 250), b = page().pixel(200, 250), c = page().pixel(300, 250);
    EXPECT_TRUE(a != b || b != c);
    for (QRgb p : {a, b, c}) // never the marker, always a real color
        EXPECT_LE(fromQRgb(p), 0xFFFFFF);
}

TEST_F(Pointer, PressClosesTheSidePanels) {
    QTest::mouseClick(probe::ui(*f).catalogueButton, Qt::LeftButton);
    ASSERT_TRUE(probe::ui(*f).cataloguePanel->isVisible());
    ASSERT_EQ(probe::ui(*f).rightPanel->width(), 430);
    click({5, 5}, Qt::MiddleButton);
    EXPECT_FALSE(probe::ui(*f).cataloguePanel->isVisible());
    EXPECT_FALSE(probe::ui(*f).statisticsPanel->isVisible());
    EXPECT_EQ(probe::ui(*f).rightPanel->width(), 145);
}

// Coming back to the page after picking one in the catalogue lays that page out again; a
// visit that picked nothing, or the statistics panel, never throws the coloring away.
TEST(PointerCatalogue, OnlyAPagePickedInTheCatalogueIsReloaded) {
    Harness h;
    h.addArchive(QStringLiteral("book.pak"), {{"one", bmpBytes(outlinePage(200, 150))}});
    MainWindow& f = h.make(true, QSize(500, 300));
    ASSERT_EQ(probe::catalogue(f).currentPageIndex, 1);
    probe::session(f).canvas()->fillRect(QRect(0, 0, 500, 300), clRed);

    QTest::mouseClick(probe::ui(f).catalogueButton, Qt::LeftButton);
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[1]);
    f.onCatalogueItemClicked(); // picked: loaded at the narrower size
    QTest::mouseMove(probe::ui(f).drawingArea, QPoint(20, 20));
    EXPECT_FALSE(probe::ui(f).cataloguePanel->isVisible());
    EXPECT_EQ(probe::session(f).canvas()->image.size(), probe::ui(f).drawingArea->size());
    EXPECT_EQ(probe::session(f).canvas()->pixel(250, 150), clWhite);

    probe::session(f).canvas()->fillRect(QRect(0, 0, 500, 300), clRed);
    QTest::mouseClick(probe::ui(f).catalogueButton, Qt::LeftButton); // a look, nothing picked
    QTest::mouseMove(probe::ui(f).drawingArea, QPoint(30, 30));
    EXPECT_EQ(probe::session(f).canvas()->pixel(250, 150), clRed);
    QTest::mouseClick(probe::ui(f).statisticsButton, Qt::LeftButton);
    QTest::mouseMove(probe::ui(f).drawingArea, QPoint(40, 40));
    EXPECT_FALSE(probe::ui(f).statisticsPanel->isVisible());
    EXPECT_EQ(probe::session(f).canvas()->pixel(250, 150), clRed);
}
