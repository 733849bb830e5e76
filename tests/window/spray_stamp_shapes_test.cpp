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
    TForm1* f = nullptr;
    void SetUp() override {
        f = &h.make(true, QSize(300, 200));
        ASSERT_TRUE(f->PageBitmap);
        h.sound.events.clear();
    }
    void TearDown() override {
        rng::SetClockForTest([] {
            return std::uint64_t(
                std::chrono::high_resolution_clock::now().time_since_epoch().count());
        });
    }
    QImage& page() { return f->PageBitmap->image; }
    int rotatePrompts() const {
        const auto p = h.sound.played();
        return int(std::count(p.begin(), p.end(), QStringLiteral("en_rotate")));
    }
};
} // namespace

TEST_F(ToolWindow, RotateTurnsThePageHalfRoundAndTwiceRestoresIt) {
    const QImage start = numbered(page().size());
    page() = start;
    f->CurrentTool = tool::Brush;
    f->Fm_Options->CheckBox_Sound->setChecked(false); // no config.ini means silent
    f->Button_Rotate->click();
    EXPECT_EQ(page(), start.mirrored(true, true)); // (x, y) <- (W - 1 - x, H - 1 - y)
    f->Button_Rotate->click();
    EXPECT_EQ(page(), start);
    EXPECT_EQ(rotatePrompts(), 2);
    EXPECT_EQ(f->CurrentTool, tool::Brush);
    f->Fm_Options->CheckBox_Sound->setChecked(true);
    f->Button_Rotate->click();
    EXPECT_EQ(rotatePrompts(), 2);
}

TEST_F(ToolWindow, SprayPressIsOneBurstWithinThePenSize) {
    f->CurrentTool = tool::Spray;
    f->PenSize = 10;
    f->CurrentColor = clGreen;
    const QImage before = page();
    f->SprayPress(Qt::LeftButton, 150, 100);
    const auto dots = changed(before, page());
    EXPECT_FALSE(dots.empty());
    EXPECT_LE(dots.size(), size_t(kSprayDots));
    for (const QPoint& d : dots) {
        EXPECT_LE(std::abs(d.x() - 150), 10);
        EXPECT_LE(std::abs(d.y() - 100), 10);
        EXPECT_EQ(fromQRgb(page().pixel(d)), clGreen);
    }
    EXPECT_TRUE(f->StrokeActive);

    // The right button, other tools and moves without a stroke leave the page alone.
    const QImage after = page();
    f->StrokeActive = false;
    f->SprayPress(Qt::RightButton, 50, 50);
    f->SprayMove(50, 50);
    EXPECT_FALSE(f->StrokeActive);
    f->CurrentTool = tool::Fill;
    f->SprayPress(Qt::LeftButton, 50, 50);
    f->StrokeActive = true;
    f->SprayMove(50, 50);
    EXPECT_EQ(page(), after);
}

TEST_F(ToolWindow, SprayMoveAddsTwoBursts) {
    f->CurrentTool = tool::Spray;
    f->PenSize = 25;
    f->CurrentColor = clBlue;
    f->StrokeActive = true;
    PageBitmapCanvas one(page()), two(page());
    rng::Seed(42);
    f->SprayMove(150, 100);
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
    f->CurrentTool = tool::Spray;
    f->PenSize = 10;
    f->ColorMode = kMulticolorMode;
    f->CurrentColor = MulticolorMarker;
    const QImage before = page();
    f->SprayPress(Qt::LeftButton, 150, 100);
    EXPECT_GE(f->CurrentColor, 0);
    EXPECT_LE(f->CurrentColor, 255);
    for (const QPoint& d : changed(before, page()))
        EXPECT_EQ(fromQRgb(page().pixel(d)), f->CurrentColor);

    std::set<TColor> colors;
    bool greenOrBlue = false;
    for (int i = 0; i < 6; ++i) {
        const QImage prev = page();
        f->SprayMove(100, 100);
        colors.insert(f->CurrentColor);
        greenOrBlue = greenOrBlue || (f->CurrentColor & 0xFFFF00) != 0;
        for (const QPoint& d : changed(prev, page()))
            EXPECT_EQ(fromQRgb(page().pixel(d)), f->CurrentColor);
    }
    EXPECT_EQ(colors.size(), 6u);
    EXPECT_TRUE(greenOrBlue);
}

TEST_F(ToolWindow, ShapeRubberBandLeavesOnlyTheLastOutline) {
    page().fill(Qt::white);
    page().setPixel(5, 5, qRgb(0, 200, 0)); // earlier coloring survives the drag
    const QImage start = page();
    f->CurrentTool = tool::Shapes;
    f->ShapeKind = shape::Line;
    f->PageBitmap->pen.width = 9; // whatever the last tool left: outlines are 2 px black
    f->ShapePress(20, 20);
    EXPECT_TRUE(f->StrokeActive);
    EXPECT_EQ(page(), start); // nothing is drawn at the press
    f->ShapeDrag(200, 20);
    f->ShapeDrag(120, 150);
    f->ShapeDrag(20, 150);
    f->PaintBox1MouseUp(Qt::LeftButton, 20, 150);
    EXPECT_FALSE(f->StrokeActive);
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
    f->CurrentTool = tool::Shapes;
    for (const auto& [word, kind] : words) {
        page() = start;
        f->ShapeKind = word;
        f->ShapePress(40, 40);
        f->PaintBox1MouseUp(Qt::LeftButton, 40, 40);
        EXPECT_EQ(page(), start) << qPrintable(word);

        f->ShapePress(130, 110);
        f->ShapeDrag(30, 30);
        f->PaintBox1MouseUp(Qt::LeftButton, 30, 30);
        PageBitmapCanvas expected(start);
        useOutlinePen(expected);
        drawShapeOutline(expected, kind, {130, 110}, {30, 30});
        EXPECT_EQ(page(), expected.image) << qPrintable(word);
    }
    // The shape steps are the shape tool's only.
    page() = start;
    f->CurrentTool = tool::Brush;
    f->ShapePress(10, 10);
    f->StrokeActive = true;
    f->ShapeDrag(90, 90);
    EXPECT_EQ(page(), start);
}

TEST_F(ToolWindow, StampPressDropsOneStampOfTheChosenSet) {
    f->LoadStampLists();
    QImage pic(kStampWidth, kStampHeight, QImage::Format_ARGB32);
    pic.fill(qRgb(250, 120, 0));
    pic.setPixel(1, 1, qRgba(0, 0, 0, 0));
    f->ImageList_Serdce = {pic};
    f->ImageList_Sneg.clear();
    f->CurrentTool = tool::Stamp;
    page().fill(Qt::white);
    const QImage start = page();

    f->StampKind = stampkind::Snow; // an empty set draws nothing
    f->StampPress(Qt::LeftButton, 100, 100);
    f->StampKind = stampkind::Hearts;
    f->StampPress(Qt::RightButton, 100, 100);
    EXPECT_EQ(page(), start);
    f->StampPress(Qt::LeftButton, 100, 100);
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
    EXPECT_FALSE(f->StrokeActive);
    EXPECT_TRUE(h.sound.events.empty());
}

TEST_F(ToolWindow, StampArtLoadsInFullSets) {
    ASSERT_TRUE(QFileInfo::exists(QStringLiteral(":/stamps/cvet_0.png")))
        << "stamp pictures missing from the resources";
    f->LoadStampLists();
    EXPECT_EQ(f->ImageList_Cvet.size(), 6u);
    EXPECT_EQ(f->ImageList_Serdce.size(), 9u);
    EXPECT_EQ(f->ImageList_Sneg.size(), 8u);
    EXPECT_EQ(f->ImageList_Listik2.size(), 11u);
    for (const auto* list :
         {&f->ImageList_Cvet, &f->ImageList_Serdce, &f->ImageList_Sneg, &f->ImageList_Listik2})
        for (const QImage& img : *list) {
            EXPECT_EQ(img.size(), QSize(kStampWidth, kStampHeight));
            // A see-through corner makes white the key; anything else would frame the
            // stamp in white on the page.
            EXPECT_EQ(composeStamp(img).pixel(1, 1), qRgb(255, 255, 255));
        }
}
