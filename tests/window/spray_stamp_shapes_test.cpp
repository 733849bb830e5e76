#include "app/options.h"
#include "base/rng.h"
#include "paint/shapes.h"
#include "paint/spray.h"
#include "paint/stamp.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QToolButton>
#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace {
QImage numbered(QSize s) {
    QImage img(s, QImage::Format_RGB32);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            img.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 0x40 | (x >> 8)));
    return img;
}

std::vector<QPoint> changed(const QImage& before, const QImage& after) {
    std::vector<QPoint> out;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                out.emplace_back(x, y);
    return out;
}

struct ToolWindow : ::testing::Test {
    Harness h;
    MainWindow* f = nullptr;
    void SetUp() override {
        f = &h.make(true, QSize(300, 200));
        ASSERT_TRUE(probe::session(*f).canvas());
        h.sound.events.clear();
    }
    void TearDown() override {
        rng::SetClockForTest([] {
            return std::uint64_t(
                std::chrono::high_resolution_clock::now().time_since_epoch().count());
        });
    }
    QImage& page() { return probe::session(*f).canvas()->image; }
    int rotatePrompts() const {
        const auto p = h.sound.played();
        return int(std::count(p.begin(), p.end(), QStringLiteral("en_rotate")));
    }
};
} // namespace

TEST_F(ToolWindow, RotateTurnsThePageHalfRoundAndTwiceRestoresIt) {
    const QImage start = numbered(page().size());
    page() = start;
    probe::tools(*f).toolValue = tool::Brush;
    probe::optionsDialog(*f)->silentCheck->setChecked(false); // no config.ini means silent
    probe::ui(*f).rotateButton->click();
    EXPECT_EQ(page(), start.mirrored(true, true)); // (x, y) <- (W - 1 - x, H - 1 - y)
    probe::ui(*f).rotateButton->click();
    EXPECT_EQ(page(), start);
    EXPECT_EQ(rotatePrompts(), 2);
    EXPECT_EQ(probe::tools(*f).toolValue, tool::Brush);
    probe::optionsDialog(*f)->silentCheck->setChecked(true);
    probe::ui(*f).rotateButton->click();
    EXPECT_EQ(rotatePrompts(), 2);
}

TEST_F(ToolWindow, SprayPressIsOneBurstWithinThePenSize) {
    probe::tools(*f).toolValue = tool::Spray;
    probe::tools(*f).penSize = 10;
    probe::tools(*f).currentColor = clGreen;
    const QImage before = page();
    f->sprayPress(Qt::LeftButton, 150, 100);
    const auto dots = changed(before, page());
    EXPECT_FALSE(dots.empty());
    EXPECT_LE(dots.size(), size_t(kSprayDots));
    for (const QPoint& d : dots) {
        EXPECT_LE(std::abs(d.x() - 150), 10);
        EXPECT_LE(std::abs(d.y() - 100), 10);
        EXPECT_EQ(fromQRgb(page().pixel(d)), clGreen);
    }
    EXPECT_TRUE(probe::tools(*f).strokeActive);

    // The right button, other tools and moves without a stroke leave the page alone.
    const QImage after = page();
    probe::tools(*f).strokeActive = false;
    f->sprayPress(Qt::RightButton, 50, 50);
    f->sprayMove(50, 50);
    EXPECT_FALSE(probe::tools(*f).strokeActive);
    probe::tools(*f).toolValue = tool::Fill;
    f->sprayPress(Qt::LeftButton, 50, 50);
    probe::tools(*f).strokeActive = true;
    f->sprayMove(50, 50);
    EXPECT_EQ(page(), after);
}

TEST_F(ToolWindow, SprayMoveAddsTwoBursts) {
    probe::tools(*f).toolValue = tool::Spray;
    probe::tools(*f).penSize = 25;
    probe::tools(*f).currentColor = clBlue;
    probe::tools(*f).strokeActive = true;
    PageBitmapCanvas one(page()), two(page());
    rng::Seed(42);
    f->sprayMove(150, 100);
    rng::Seed(42);
    sprayBurst(one, 150, 100, 25, clBlue);
    two.image = one.image;
    sprayBurst(two, 150, 100, 25, clBlue);
    EXPECT_EQ(page(), two.image);
    EXPECT_NE(page(), one.image);
}

TEST_F(ToolWindow, MulticolorSprayPressIsRedThenEveryMoveAnyColor) {
    std::uint64_t tick = 1;
    rng::SetClockForTest([&tick] { return tick += 104729; });
    probe::tools(*f).toolValue = tool::Spray;
    probe::tools(*f).penSize = 10;
    probe::tools(*f).colorMode = kMulticolorMode;
    probe::tools(*f).currentColor = MulticolorMarker;
    const QImage before = page();
    f->sprayPress(Qt::LeftButton, 150, 100);
    EXPECT_GE(probe::tools(*f).currentColor, 0);
    EXPECT_LE(probe::tools(*f).currentColor, 255);
    for (const QPoint& d : changed(before, page()))
        EXPECT_EQ(fromQRgb(page().pixel(d)), probe::tools(*f).currentColor);

    std::set<TColor> colors;
    bool greenOrBlue = false;
    for (int i = 0; i < 6; ++i) {
        const QImage prev = page();
        f->sprayMove(100, 100);
        colors.insert(probe::tools(*f).currentColor);
        greenOrBlue = greenOrBlue || (probe::tools(*f).currentColor & 0xFFFF00) != 0;
        for (const QPoint& d : changed(prev, page()))
            EXPECT_EQ(fromQRgb(page().pixel(d)), probe::tools(*f).currentColor);
    }
    EXPECT_EQ(colors.size(), 6u);
    EXPECT_TRUE(greenOrBlue);
}

TEST_F(ToolWindow, ShapeRubberBandLeavesOnlyTheLastOutline) {
    page().fill(Qt::white);
    page().setPixel(5, 5, qRgb(0, 200, 0)); // earlier coloring survives the drag
    const QImage start = page();
    probe::tools(*f).toolValue = tool::Shapes;
    probe::tools(*f).shapeKind = shape::Line;
    probe::session(*f).canvas()->pen.width =
        9; // whatever the last tool left: outlines are 2 px black
    f->shapePress(20, 20);
    EXPECT_TRUE(probe::tools(*f).strokeActive);
    EXPECT_EQ(page(), start); // nothing is drawn at the press
    f->shapeDrag(200, 20);
    f->shapeDrag(120, 150);
    f->shapeDrag(20, 150);
    f->onAreaRelease(Qt::LeftButton, 20, 150);
    EXPECT_FALSE(probe::tools(*f).strokeActive);
    const auto ink = changed(start, page());
    ASSERT_FALSE(ink.empty());
    for (const QPoint& p : ink) {
        EXPECT_EQ(page().pixel(p), qRgb(0, 0, 0));
        EXPECT_LE(std::abs(p.x() - 20), 1) << p.x() << "," << p.y(); // the last, vertical line
    }
}

TEST_F(ToolWindow, EachShapeWordDrawsItsOutlineAndAClickAloneDrawsNothing) {
    const std::pair<QString, ShapeOutline> words[] = {
        {shape::Circle, ShapeOutline::Circle},      {shape::Square, ShapeOutline::Rectangle},
        {shape::Triangle, ShapeOutline::Triangle},  {shape::Line, ShapeOutline::Line},
        {shape::Diamond, ShapeOutline::Diamond},    {shape::Polygon, ShapeOutline::Hexagon},
        {shape::Trapezoid, ShapeOutline::Trapezoid}};
    const QImage start = numbered(page().size());
    probe::tools(*f).toolValue = tool::Shapes;
    for (const auto& [word, kind] : words) {
        page() = start;
        probe::tools(*f).shapeKind = word;
        f->shapePress(40, 40);
        f->onAreaRelease(Qt::LeftButton, 40, 40);
        EXPECT_EQ(page(), start) << qPrintable(word);

        f->shapePress(130, 110);
        f->shapeDrag(30, 30);
        f->onAreaRelease(Qt::LeftButton, 30, 30);
        PageBitmapCanvas expected(start);
        useOutlinePen(expected);
        drawShapeOutline(expected, kind, {130, 110}, {30, 30});
        EXPECT_EQ(page(), expected.image) << qPrintable(word);
    }
    // The shape steps are the shape tool's only.
    page() = start;
    probe::tools(*f).toolValue = tool::Brush;
    f->shapePress(10, 10);
    probe::tools(*f).strokeActive = true;
    f->shapeDrag(90, 90);
    EXPECT_EQ(page(), start);
}

TEST_F(ToolWindow, StampPressDropsOneStampOfTheChosenSet) {
    f->loadStampSets();
    QImage pic(kStampWidth, kStampHeight, QImage::Format_ARGB32);
    pic.fill(qRgb(250, 120, 0));
    pic.setPixel(1, 1, qRgba(0, 0, 0, 0));
    probe::tools(*f).heartStamps = {pic};
    probe::tools(*f).snowflakeStamps.clear();
    probe::tools(*f).toolValue = tool::Stamp;
    page().fill(Qt::white);
    const QImage start = page();

    probe::tools(*f).stampKind = stampkind::Snow; // an empty set draws nothing
    f->stampPress(Qt::LeftButton, 100, 100);
    probe::tools(*f).stampKind = stampkind::Hearts;
    f->stampPress(Qt::RightButton, 100, 100);
    EXPECT_EQ(page(), start);
    f->stampPress(Qt::LeftButton, 100, 100);
    QRect box;
    for (const QPoint& p : changed(start, page())) {
        EXPECT_EQ(page().pixel(p), qRgb(250, 120, 0));
        box |= QRect(p, QSize(1, 1));
    }
    // Whatever the angle, the turned picture touches the top and left of its bitmap,
    // whose corner is 20 left of and 70 above the pointer.
    EXPECT_NEAR(box.left(), 80, 2);
    EXPECT_NEAR(box.top(), 30, 2);
    EXPECT_LE(box.width(), 156);
    EXPECT_LE(box.height(), 156);
    EXPECT_FALSE(probe::tools(*f).strokeActive);
    EXPECT_TRUE(h.sound.events.empty());
}

TEST_F(ToolWindow, StampArtLoadsInFullSets) {
    ASSERT_TRUE(QFileInfo::exists(QStringLiteral(":/stamps/flower_0.png")))
        << "stamp pictures missing from the resources";
    f->loadStampSets();
    EXPECT_EQ(probe::tools(*f).flowerStamps.size(), 6u);
    EXPECT_EQ(probe::tools(*f).heartStamps.size(), 9u);
    EXPECT_EQ(probe::tools(*f).snowflakeStamps.size(), 8u);
    EXPECT_EQ(probe::tools(*f).leafStamps.size(), 11u);
    for (const auto* list : {&probe::tools(*f).flowerStamps, &probe::tools(*f).heartStamps,
                             &probe::tools(*f).snowflakeStamps, &probe::tools(*f).leafStamps})
        for (const QImage& img : *list) {
            EXPECT_EQ(img.size(), QSize(kStampWidth, kStampHeight));
            // A see-through corner makes white the key; anything else would frame the
            // stamp in white on the page.
            EXPECT_EQ(composeStamp(img).pixel(1, 1), qRgb(255, 255, 255));
        }
}
