// The tool cursor: the tool's picture over the whole program, its paint tinted with the color.
#include "support/fakes.h"
#include "window/resource_art.h"

#include "app/widgets.h"

#include <QApplication>
#include <QCursor>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <gtest/gtest.h>

namespace {
QImage shownCursor(QPoint* hot = nullptr) {
    const QCursor* c = QGuiApplication::overrideCursor();
    if (!c)
        return {};
    if (hot)
        *hot = c->hotSpot();
    return c->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The pixels 4-connected to seed that have the key color.
QImage keyArea(const QImage& img, QPoint seed, QRgb key) {
    QImage area(img.size(), QImage::Format_Mono);
    area.fill(0);
    if (img.pixel(seed) != key)
        return area;
    std::deque<QPoint> todo{seed};
    area.setPixel(seed, 1);
    while (!todo.empty()) {
        const QPoint p = todo.front();
        todo.pop_front();
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (img.rect().contains(q) && !area.pixelIndex(q) && img.pixel(q) == key) {
                area.setPixel(q, 1);
                todo.push_back(q);
            }
        }
    }
    return area;
}

struct CursorArt {
    QImage color, mask;
};

CursorArt art(const char* name) {
    const QString base = QStringLiteral(":/cursors/") + QLatin1String(name);
    return {resourceImage(base + QStringLiteral(".png")),
            resourceImage(base + QStringLiteral("_mask.png"))};
}

// Counts the pixels where the cursor does not show its art: see-through where the mask is
// white, the art's color elsewhere, and within `tinted` (when given) the tint.
int mismatches(const QImage& cursor, const CursorArt& a, const QImage& tinted, QRgb tint,
               QString* first) {
    int bad = 0;
    for (int y = 0; y < a.color.height(); ++y)
        for (int x = 0; x < a.color.width(); ++x) {
            const bool shown = (a.mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            QRgb want = a.color.pixel(x, y) | 0xFF000000u;
            if (!tinted.isNull() && tinted.pixelIndex(x, y))
                want = tint;
            const QRgb got = cursor.pixel(x, y);
            const bool ok = shown ? got == want : qAlpha(got) == 0;
            if (!ok && bad++ == 0 && first)
                *first = QStringLiteral("(%1, %2): %3").arg(x).arg(y).arg(got, 8, 16);
        }
    return bad;
}

class ToolCursor : public ::testing::Test {
  protected:
    void SetUp() override {
        form = &h.make(true, QSize(1200, 400));
        h.sound.events.clear();
    }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 30)); }

    Harness h;
    MainWindow* form = nullptr;
};
} // namespace

TEST_F(ToolCursor, RedWithTheFillToolTintsTheCanBodyAndDropsOnly) {
    click(probe::ui(*form).redBlot);
    QPoint hot;
    const QImage cursor = shownCursor(&hot);
    const CursorArt can = art("cursor_fill");
    ASSERT_FALSE(can.color.isNull());
    ASSERT_EQ(cursor.size(), QSize(144, 102));
    EXPECT_EQ(hot, QPoint(1, 7));
    EXPECT_EQ(cursor.pixel(90, 20), 0xFFFF0000u) << "body";
    EXPECT_EQ(cursor.pixel(6, 8), 0xFFFF0000u) << "drops";

    QImage tinted = keyArea(can.color, {90, 20}, kKeyPink);
    const QImage drops = keyArea(can.color, {6, 8}, kKeyPink);
    for (int y = 0; y < tinted.height(); ++y)
        for (int x = 0; x < tinted.width(); ++x)
            if (drops.pixelIndex(x, y))
                tinted.setPixel(x, y, 1);
    QString first;
    EXPECT_EQ(mismatches(cursor, can, tinted, 0xFFFF0000u, &first), 0)
        << "first at " << first.toStdString();
}

TEST_F(ToolCursor, TheEraserAfterRedIsUntintedAndTheColorStaysRed) {
    click(probe::ui(*form).redBlot);
    click(probe::ui(*form).eraserButton);
    EXPECT_EQ(probe::tools(*form).currentColor, clRed);
    EXPECT_EQ(probe::ui(*form).toolOptionPages->currentWidget(), probe::ui(*form).penSizeOptions);
    QPoint hot;
    const QImage cursor = shownCursor(&hot);
    ASSERT_EQ(cursor.size(), QSize(87, 69));
    EXPECT_EQ(hot, QPoint(0, 0));
    QString first;
    EXPECT_EQ(mismatches(cursor, art("cursor_eraser"), QImage(), 0, &first), 0)
        << "first at " << first.toStdString();
}

TEST_F(ToolCursor, EachToolShowsItsPictureAtItsHotSpotAndSize) {
    struct Case {
        QToolButton* button;
        const char* image;
        QPoint hot;
        QSize size;
        QWidget* page;
    } cases[] = {
        {probe::ui(*form).brushButton,
         "cursor_brush",
         {0, 0},
         {201, 230},
         probe::ui(*form).penSizeOptions},
        {probe::ui(*form).shapesButton,
         "cursor_brush",
         {0, 0},
         {201, 230},
         probe::ui(*form).shapeOptions},
        {probe::ui(*form).sprayButton,
         "cursor_spray",
         {5, 10},
         {110, 146},
         probe::ui(*form).penSizeOptions},
        {probe::ui(*form).eraserButton,
         "cursor_eraser",
         {0, 0},
         {87, 69},
         probe::ui(*form).penSizeOptions},
        {probe::ui(*form).stampsButton,
         "cursor_wand",
         {5, 5},
         {69, 105},
         probe::ui(*form).stampOptions},
        {probe::ui(*form).fillButton,
         "cursor_fill",
         {1, 7},
         {144, 102},
         probe::ui(*form).fillOptions},
    };
    for (const Case& c : cases) {
        click(c.button);
        QPoint hot;
        const QImage cursor = shownCursor(&hot);
        EXPECT_EQ(hot, c.hot) << c.image;
        EXPECT_EQ(cursor.size(), c.size) << c.image;
        EXPECT_EQ(cursor.size(), art(c.image).color.size()) << c.image;
        EXPECT_EQ(probe::ui(*form).toolOptionPages->currentWidget(), c.page) << c.image;
    }
}

TEST_F(ToolCursor, BrushAndSprayPaintTakeTheColor) {
    click(probe::ui(*form).greenBlot); // green 0x008000
    click(probe::ui(*form).brushButton);
    EXPECT_EQ(shownCursor().pixel(20, 21), 0xFF008000u);
    click(probe::ui(*form).sprayButton);
    EXPECT_EQ(shownCursor().pixel(60, 84), 0xFF008000u);
    // A color chosen while the shape tool is current rebuilds the brush in that color.
    click(probe::ui(*form).shapesButton);
    click(probe::ui(*form).yellowBlot);
    const QImage brush = shownCursor();
    EXPECT_EQ(brush.size(), QSize(201, 230));
    EXPECT_EQ(brush.pixel(20, 21), 0xFFFFFF00u);
}

TEST_F(ToolCursor, StartUpShowsTheBlueCanOverEveryWidget) {
    EXPECT_EQ(probe::tools(*form).currentColor, clBlue);
    QPoint hot;
    const QImage cursor = shownCursor(&hot);
    ASSERT_FALSE(cursor.isNull()) << "no application-wide cursor";
    EXPECT_EQ(hot, QPoint(1, 7));
    EXPECT_EQ(cursor.pixel(90, 20), 0xFF0000FFu);
    // Only one cursor is ever pushed: the next choice replaces it, it does not stack.
    click(probe::ui(*form).redBlot);
    click(probe::ui(*form).blueBlot);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ToolCursor, MulticolorPaintsTheAreaInManyColors) {
    click(probe::ui(*form).rainbowBlot);
    const QImage cursor = shownCursor();
    const QImage body = keyArea(art("cursor_fill").color, {90, 20}, kKeyPink);
    QSet<QRgb> colors;
    for (int y = 0; y < body.height(); ++y)
        for (int x = 0; x < body.width(); ++x)
            if (body.pixelIndex(x, y))
                colors.insert(cursor.pixel(x, y));
    EXPECT_GE(colors.size(), 3);
    EXPECT_FALSE(colors.contains(kKeyPink));
    EXPECT_FALSE(colors.contains(toQRgb(MulticolorMarker)));
}
