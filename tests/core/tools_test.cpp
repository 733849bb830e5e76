// The drawing tools without a window: what each step changes and says it changed.
#include "paint/tools.h"

#include <gtest/gtest.h>

namespace {
struct Fixture {
    TColor color = clRed;
    QString fillStyle = fillstyle::Normal;
    QPoint shapeStart;
    QRect shapeOutline;
    std::unique_ptr<QImage> snapshot;
    ToolState state(int penSize = 5, int texture = 0) {
        return ToolState{
            color,   false,         penSize,    fillStyle,    texture, [](int) { return QImage(); },
            nullptr, shape::Square, shapeStart, shapeOutline, snapshot};
    }
};

// Every pixel that differs from white lies inside the rectangle.
bool changesInside(const PageBitmapCanvas& page, const QRect& r) {
    for (int y = 0; y < page.image.height(); ++y)
        for (int x = 0; x < page.image.width(); ++x)
            if (page.pixel(x, y) != clWhite && !r.contains(x, y))
                return false;
    return true;
}
} // namespace

TEST(Tools, EachKindHasItsToolAndNoneHasNone) {
    EXPECT_EQ(toolFor(ToolKind::None), nullptr);
    EXPECT_EQ(toolKind(QStringLiteral("nothing")), ToolKind::None);
    for (ToolKind k : {ToolKind::Fill, ToolKind::Brush, ToolKind::Eraser, ToolKind::Spray,
                       ToolKind::Stamp, ToolKind::Shapes})
        EXPECT_NE(toolFor(k), nullptr);
    EXPECT_EQ(toolKind(tool::Spray), ToolKind::Spray);
    EXPECT_NE(toolFor(ToolKind::Brush), toolFor(ToolKind::Eraser));
}

TEST(Tools, BrushPressLeavesNoMarkAndAMoveDrawsWithinWhatItReports) {
    PageBitmapCanvas page(60, 60);
    Fixture f;
    ToolState s = f.state();
    Tool* brush = toolFor(ToolKind::Brush);
    EXPECT_TRUE(brush->press(page, s, {10, 10}).isEmpty());
    EXPECT_TRUE(changesInside(page, QRect()));
    const QRect changed = brush->move(page, s, {40, 30});
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_EQ(page.pixel(25, 20), clRed);
    EXPECT_TRUE(changesInside(page, changed));
}

TEST(Tools, EraserWhitensItsSquareAtEveryStep) {
    PageBitmapCanvas page(60, 60);
    page.fillRect(page.image.rect(), clBlue);
    Fixture f;
    ToolState s = f.state(4);
    Tool* eraser = toolFor(ToolKind::Eraser);
    for (QRect r : {eraser->press(page, s, {10, 10}), eraser->move(page, s, {30, 30}),
                    eraser->release(page, s, {50, 50})})
        EXPECT_FALSE(r.isEmpty());
    for (QPoint p : {QPoint(10, 10), QPoint(30, 30), QPoint(50, 50), QPoint(47, 47)})
        EXPECT_EQ(page.pixel(p.x(), p.y()), clWhite) << p.x();
    EXPECT_EQ(page.pixel(20, 20), clBlue);
    EXPECT_EQ(EraserTool::square({10, 10}, 4), QRect(6, 6, 8, 8));
}

TEST(Tools, FillStopsAtLinesAndATextureMakesItSpecial) {
    PageBitmapCanvas page(40, 40);
    page.fillRect(QRect(20, 0, 1, 40), clBlack);
    Fixture f;
    ToolState s = f.state();
    const QRect changed = toolFor(ToolKind::Fill)->press(page, s, {5, 5});
    EXPECT_EQ(page.pixel(5, 5), clRed);
    EXPECT_EQ(page.pixel(30, 5), clWhite);
    EXPECT_TRUE(changesInside(page, changed | QRect(20, 0, 1, 40)));
    EXPECT_EQ(f.fillStyle, fillstyle::Normal);

    ToolState textured = f.state(5, 3);
    toolFor(ToolKind::Fill)->press(page, textured, {30, 5});
    EXPECT_EQ(f.fillStyle, fillstyle::Special);
    EXPECT_EQ(page.pixel(30, 5), clRed); // no tile: plain paint up to the lines
}

TEST(Tools, ShapeDragIsARubberBandOverThePageAtThePress) {
    PageBitmapCanvas page(80, 80);
    Fixture f;
    ToolState s = f.state();
    Tool* shapes = toolFor(ToolKind::Shapes);
    EXPECT_TRUE(shapes->move(page, s, {50, 50}).isEmpty()); // no press: nothing
    f.shapeStart = {10, 10};
    shapes->press(page, s, {10, 10});
    const QRect first = shapes->move(page, s, {60, 60});
    EXPECT_FALSE(first.isEmpty());
    const QRect second = shapes->move(page, s, {30, 30});
    EXPECT_TRUE(second.contains(first)); // the wiped outline is repainted too
    EXPECT_TRUE(changesInside(page, f.shapeOutline));
    EXPECT_EQ(page.pixel(60, 35), clWhite); // the first outline is gone
}
