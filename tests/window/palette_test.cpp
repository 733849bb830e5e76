// The palette: swatches on both tabs, the color chart, hover pictures and the loading label.
#include "support/fakes.h"
#include "window/resource_art.h"

#include "app/widgets.h"
#include "palette/swatches.h"

#include <QEnterEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
class Palette : public ::testing::Test {
  protected:
    void SetUp() override { form = &h.make(true, QSize(1200, 400)); }
    Harness h;
    MainWindow* form = nullptr;
};

void hover(QWidget* w, bool enter) {
    if (enter) {
        QEnterEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), w->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(w, &e);
    } else {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }
}

QImage swatch(const QString& name) {
    return resourceImage(QStringLiteral(":/swatches/%1.png").arg(name));
}
} // namespace

TEST_F(Palette, EverySwatchSetsItsColorWithAnyButton) {
    struct Case {
        PictureBox* control;
        TColor color;
    } cases[] = {
        {probe::ui(*form).redBlot, 0x000000FF},    {probe::ui(*form).yellowBlot, 0x0000FFFF},
        {probe::ui(*form).orangeBlot, 0x000080FF}, {probe::ui(*form).greenBlot, 0x00008000},
        {probe::ui(*form).blueBlot, 0x00FF0000},   {probe::ui(*form).lightBlueBlot, 0x00FFFF00},
        {probe::ui(*form).blackBlot, 0x001A1A1A},  {probe::ui(*form).whiteBlot, 0x00FFFFFF},
    };
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    int n = 0;
    for (const Case& c : cases) {
        for (Qt::MouseButton b : buttons) {
            form->onRainbowClicked(); // multicolor in between: each choice must clear it
            QTest::mouseClick(c.control, b, {}, QPoint(50, 60));
            EXPECT_EQ(probe::tools(*form).currentColor, c.color)
                << c.control->objectName().toStdString() << " " << n;
            EXPECT_TRUE(probe::tools(*form).colorMode.isEmpty())
                << c.control->objectName().toStdString();
            EXPECT_EQ(probe::session(*form).canvas()->pen.color, c.color);
            ++n;
        }
    }
}

TEST_F(Palette, BothMulticolorSwatchesSetTheMarkerAndTheMode) {
    QTest::mouseClick(probe::ui(*form).rainbowBlot, Qt::RightButton, {}, QPoint(50, 60));
    EXPECT_EQ(probe::tools(*form).currentColor, MulticolorMarker);
    EXPECT_EQ(probe::tools(*form).colorMode, kMulticolorMode);
    QTest::mouseClick(probe::ui(*form).redBlot, Qt::LeftButton);
    probe::ui(*form).paletteTabs->setCurrentWidget(probe::ui(*form).kidsTab);
    QTest::mouseClick(probe::ui(*form).kidsRainbowBlot, Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_EQ(probe::tools(*form).currentColor, MulticolorMarker);
    EXPECT_EQ(probe::tools(*form).colorMode, kMulticolorMode);
}

TEST_F(Palette, AChartClickTakesTheCellsOwnColorWherePressed) {
    probe::ui(*form).paletteTabs->setCurrentWidget(probe::ui(*form).kidsTab);
    const QImage chart = probe::ui(*form).colorChart->picture();
    ASSERT_EQ(chart.size(), QSize(833, 112));
    // Two cells: the first of the top row (x 1..25, y 2..26) and the 15th of the bottom row
    // (x 390..414, y 86..110). Their lit and shaded bevels, their corners and the gap beside
    // them all give the color of the cell's middle.
    struct Cell {
        QPoint middle;
        std::vector<QPoint> presses;
    };
    const Cell cells[] = {
        {{13, 14}, {{13, 14}, {1, 2}, {2, 10}, {25, 26}, {24, 20}, {1, 26}, {12, 25}, {0, 1}}},
        {{402, 98}, {{402, 98}, {390, 86}, {414, 110}, {391, 100}, {413, 87}, {416, 111}}},
    };
    QSet<TColor> picked;
    for (const Cell& cell : cells) {
        const TColor want = fromQRgb(chart.pixel(cell.middle));
        for (QPoint p : cell.presses) {
            form->onRainbowClicked();
            QTest::mouseClick(probe::ui(*form).colorChart, Qt::LeftButton, {}, p);
            EXPECT_EQ(probe::tools(*form).currentColor, want) << p.x() << "," << p.y();
            EXPECT_TRUE(probe::tools(*form).colorMode.isEmpty());
            // The fill tool's cursor takes the picked color too.
            EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().toImage().pixel(90, 20),
                      toQRgb(want));
        }
        picked.insert(want);
    }
    EXPECT_EQ(picked.size(), 2) << "the two cells should differ";
}

TEST_F(Palette, FixedSwatchesLightUpWhileHovered) {
    const std::pair<PictureBox*, const char*> rows[] = {
        {probe::ui(*form).redBlot, "RED"},       {probe::ui(*form).yellowBlot, "YELLOW"},
        {probe::ui(*form).orangeBlot, "ORANGE"}, {probe::ui(*form).greenBlot, "GREEN"},
        {probe::ui(*form).blueBlot, "BLUE"},     {probe::ui(*form).lightBlueBlot, "SKY"},
        {probe::ui(*form).whiteBlot, "WHITE"},   {probe::ui(*form).blackBlot, "BLACK"}};
    for (const auto& [control, name] : rows) {
        const QImage normal = swatch(QLatin1String(name) + QLatin1Char('1'));
        const QImage lit = swatch(QLatin1String(name) + QLatin1Char('2'));
        ASSERT_NE(normal, lit) << name;
        EXPECT_EQ(control->picture().convertToFormat(QImage::Format_RGB32), normal) << name;
        hover(control, true);
        EXPECT_EQ(control->picture().convertToFormat(QImage::Format_RGB32), lit) << name;
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(50, 60));
        hover(control, false);
        EXPECT_EQ(control->picture().convertToFormat(QImage::Format_RGB32), normal) << name;
    }
}

TEST_F(Palette, TheMulticolorSwatchKeepsItsPicture) {
    const QImage before = probe::ui(*form).rainbowBlot->picture();
    ASSERT_FALSE(before.isNull());
    hover(probe::ui(*form).rainbowBlot, true);
    EXPECT_EQ(probe::ui(*form).rainbowBlot->picture(), before);
    hover(probe::ui(*form).rainbowBlot, false);
    EXPECT_EQ(probe::ui(*form).rainbowBlot->picture(), before);
}

TEST_F(Palette, TheLoadingLabelFlickersUntilTheFirstShow) {
    Harness fresh;
    MainWindow& f = fresh.make(false, QSize(800, 400));
    ASSERT_TRUE(probe::ui(f).loadingBlinkTimer->isActive());
    EXPECT_EQ(probe::ui(f).loadingBlinkTimer->interval(), 100);
    ASSERT_GT(probe::ui(f).drawingArea->width(), 8);
    QSet<TColor> colors;
    for (int i = 0; i < 5; ++i) {
        f.onLoadingBlink();
        EXPECT_EQ(probe::ui(f).loadingLabel->x(), probe::ui(f).drawingArea->width() / 4);
        EXPECT_EQ(probe::ui(f).loadingLabel->alignment(), Qt::AlignCenter);
        const QString sheet = probe::ui(f).loadingLabel->styleSheet();
        const QColor c(sheet.mid(sheet.indexOf(QLatin1Char('#')), 7));
        ASSERT_TRUE(c.isValid()) << sheet.toStdString();
        const TColor t = fromQRgb(c.rgb());
        EXPECT_GE(t, 1000);
        EXPECT_LE(t, 100999);
        colors.insert(t);
    }
    EXPECT_GT(colors.size(), 1) << "the color never changed";
    f.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(probe::ui(f).loadingBlinkTimer->isActive());
    EXPECT_FALSE(probe::ui(f).loadingLabel->isVisible());
}

// The pictures the palette and the tool cursors are drawn from are compiled in: the window
// quietly leaves out a missing one, so only this says when a resource list lost it.
TEST(Resources, EveryPaletteAndCursorPictureIsCompiledIn) {
    QStringList paths{QStringLiteral(":/swatches/RAINBOW.png"),
                      QStringLiteral(":/swatches/chart.png")};
    for (const PaletteColor& c : kPaletteColors)
        for (const char* face : {"1", "2"})
            paths << QStringLiteral(":/swatches/%1%2.png")
                         .arg(QLatin1String(c.picture), QLatin1String(face));
    for (const char* cursor :
         {"cursor_fill", "cursor_brush", "cursor_spray", "cursor_eraser", "cursor_wand"})
        for (const char* part : {"", "_mask"})
            paths << QStringLiteral(":/cursors/%1%2.png")
                         .arg(QLatin1String(cursor), QLatin1String(part));
    for (const QString& p : paths)
        EXPECT_FALSE(resourceImage(p).isNull()) << p.toStdString();
}
