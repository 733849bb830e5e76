// "Outlines stay": no tool covers the loaded page's lines, and the option off changes nothing.
#include "app/options.h"
#include "app/widgets.h"
#include "library/pageload.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
const QRgb Black = qRgb(0, 0, 0);

// Two pure black frames (5 pixels thick) side by side, and a dark grey line that is paint, not
// outline.
QImage boxes() {
    QImage img(500, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (QRect r : {QRect(40, 40, 160, 100), QRect(260, 40, 160, 100)})
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (x < r.left() + 5 || x > r.right() - 5 || y < r.top() + 5 || y > r.bottom() - 5)
                    img.setPixel(x, y, Black);
    for (int x = 40; x < 420; ++x)
        img.setPixel(x, 200, qRgb(26, 26, 26));
    return img;
}

class Outlines : public ::testing::Test {
  protected:
    void SetUp() override {
        f = &h.make(true, QSize(500, 300));
        probe::optionsDialog(*f)->silentCheck->setChecked(true);
        ASSERT_EQ(probe::ui(*f).drawingArea->size(), QSize(500, 300));
        probe::catalogue(*f).currentPageIndex = 1;
    }
    void load(bool on, bool byHand = false) {
        probe::optionsDialog(*f)->outlinesStayCheck->setChecked(on);
        const QString path = h.tempDir() + QStringLiteral("boxes.bmp");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bmpBytes(boxes()));
        file.close();
        openedByHand = byHand;
        if (byHand) {
            h.dialogs.openAnswer = path;
            f->onOpenClicked();
        } else {
            f->loadPage(path);
        }
        loaded = page().copy();
        ASSERT_EQ(loaded.pixel(at({197, 90})), Black);
    }
    // Where a point of the source picture landed on the page (fitted inside a margin, or
    // as it is when opened by hand and the area holds it whole).
    QPoint at(QPoint src) const {
        const QRect r = openedByHand
                            ? layoutOpenedPicture(boxes().size(), probe::ui(*f).drawingArea->size())
                            : layoutPage(boxes().size(), probe::ui(*f).drawingArea->size());
        return r.topLeft() + QPoint(src.x() * r.width() / 500, src.y() * r.height() / 300);
    }
    const QImage& page() const { return probe::session(*f).canvas()->image; }
    void stroke(QToolButton* tool, QPoint from, QPoint to) {
        from = at(from);
        to = at(to);
        QTest::mouseClick(tool, Qt::LeftButton);
        QTest::mousePress(probe::ui(*f).drawingArea, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 8; ++i)
            QTest::mouseMove(probe::ui(*f).drawingArea, from + (to - from) * i / 8);
        QTest::mouseRelease(probe::ui(*f).drawingArea, Qt::LeftButton, {}, to);
    }
    void fillAt(QPoint p) {
        QTest::mouseClick(probe::ui(*f).fillButton, Qt::LeftButton);
        QTest::mouseClick(probe::ui(*f).drawingArea, Qt::LeftButton, {}, at(p));
    }
    int blackOnFrames() const {
        int n = 0;
        for (int y = 0; y < loaded.height(); ++y)
            for (int x = 0; x < loaded.width(); ++x)
                n += loaded.pixel(x, y) == Black && page().pixel(x, y) == Black;
        return n;
    }

    Harness h;
    MainWindow* f = nullptr;
    QImage loaded;
    bool openedByHand = false;
};
} // namespace

// Erase across the left frame's right side, then fill inside: the paint stays in the frame.
// Without the option the same gestures open the line and the fill runs out.
TEST_F(Outlines, AnErasedLineStillHoldsTheFillAndOffBehavesAsBefore) {
    load(true);
    const int frames = blackOnFrames();
    QTest::mouseClick(probe::ui(*f).tinyPenButton, Qt::LeftButton); // small eraser
    stroke(probe::ui(*f).eraserButton, {170, 90}, {230, 90});
    EXPECT_EQ(blackOnFrames(), frames);
    fillAt({100, 90});
    EXPECT_EQ(page().pixel(at({100, 90})), toQRgb(clBlue));
    EXPECT_EQ(page().pixel(at({230, 90})), qRgb(255, 255, 255));
    EXPECT_EQ(page().pixel(at({197, 90})), Black);

    load(false);
    stroke(probe::ui(*f).eraserButton, {170, 90}, {230, 90});
    EXPECT_LT(blackOnFrames(), frames);
    fillAt({100, 90});
    EXPECT_EQ(page().pixel(at({230, 90})), toQRgb(clBlue));
}

TEST_F(Outlines, BrushSprayAndShapesLeaveTheLinesAndRotateTurnsThem) {
    load(true);
    const int frames = blackOnFrames();
    QTest::mouseClick(probe::ui(*f).mediumPenButton, Qt::LeftButton); // wide
    stroke(probe::ui(*f).brushButton, {20, 60}, {480, 120});
    stroke(probe::ui(*f).sprayButton, {30, 40}, {260, 140});
    stroke(probe::ui(*f).shapesButton, {20, 20}, {300, 150}); // a circle over both frames
    EXPECT_EQ(blackOnFrames(), frames);
    // The brush did paint: the interior it crossed is no longer white.
    EXPECT_NE(page().pixel(at({120, 82})), qRgb(255, 255, 255));

    // After a half turn the lines sit mirrored; the mask follows them there.
    load(true);
    QTest::mouseClick(probe::ui(*f).rotateButton, Qt::LeftButton);
    const QImage turned = loaded.mirrored(true, true);
    ASSERT_EQ(page(), turned);
    // The row the frames' source row 90 turned into.
    const int row = turned.height() - 1 - at({0, 90}).y();
    QTest::mouseClick(probe::ui(*f).brushButton, Qt::LeftButton);
    QTest::mousePress(probe::ui(*f).drawingArea, Qt::LeftButton, {}, QPoint(0, row));
    QTest::mouseMove(probe::ui(*f).drawingArea, QPoint(turned.width() - 1, row));
    QTest::mouseRelease(probe::ui(*f).drawingArea, Qt::LeftButton, {},
                        QPoint(turned.width() - 1, row));
    int lines = 0, painted = 0;
    for (int x = 0; x < turned.width(); ++x) {
        if (turned.pixel(x, row) == Black) {
            ++lines;
            ASSERT_EQ(page().pixel(x, row), Black) << x;
        }
        painted += page().pixel(x, row) == toQRgb(clBlue);
    }
    EXPECT_GE(lines, 12); // four edges, about five pixels each
    EXPECT_GT(painted, turned.width() / 2);
    // Where the unturned page had lines on that row, the paint now lies.
    for (int x = 0; x < turned.width(); ++x) {
        if (loaded.pixel(x, row) == Black && turned.pixel(x, row) != Black) {
            ASSERT_EQ(page().pixel(x, row), toQRgb(clBlue)) << x;
        }
    }
}

// A picture opened by hand keeps only its pure black: the palette's black is paint.
TEST_F(Outlines, OpenedPicturesKeepOnlyPureBlackAndTheOptionIsAUserSetting) {
    load(true, true);
    stroke(probe::ui(*f).brushButton, {20, 200}, {480, 200});
    EXPECT_NE(page().pixel(at({100, 200})), qRgb(26, 26, 26));
    stroke(probe::ui(*f).brushButton, {197, 20}, {197, 180});
    EXPECT_EQ(page().pixel(at({197, 90})), Black);

    probe::optionsDialog(*f)->outlinesStayCheck->setChecked(false);
    EXPECT_FALSE(UserSettings().value(QStringLiteral("OutlinesStay")).toBool());
    EXPECT_FALSE(OptionsDialog().outlinesStayCheck->isChecked());
    probe::optionsDialog(*f)->outlinesStayCheck->setChecked(true);
    EXPECT_TRUE(OptionsDialog().outlinesStayCheck->isChecked());
    EXPECT_FALSE(UserSettings().fileName().endsWith(QStringLiteral("config.ini")));
}
