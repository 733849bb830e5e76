// Tool buttons, pen sizes and the window's frame, through real clicks.
#include "app/options.h"
#include "app/widgets.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(ToolState, ToolButtonsSetToolPageAndKeepMulticolorMode) {
    Harness h;
    MainWindow& f = h.make();
    f.onRainbowClicked(); // multicolor swatch
    EXPECT_EQ(f.colorMode, kMulticolorMode);
    QTest::mouseClick(f.brushButton, Qt::LeftButton);
    EXPECT_EQ(f.toolValue, tool::Brush);
    EXPECT_EQ(f.colorMode, kMulticolorMode);
    EXPECT_EQ(f.currentColor, MulticolorMarker);
    EXPECT_EQ(f.toolOptionPages->currentWidget(), f.penSizeOptions);
    // In multicolor mode the stamp button switches to flowers; otherwise it keeps the set.
    QTest::mouseClick(f.stampsButton, Qt::LeftButton);
    EXPECT_EQ(f.stampKind, stampkind::Flowers);
    EXPECT_EQ(f.toolOptionPages->currentWidget(), f.stampOptions);
    f.onRedClicked();
    f.stampKind = stampkind::Hearts;
    QTest::mouseClick(f.stampsButton, Qt::LeftButton);
    EXPECT_EQ(f.stampKind, stampkind::Hearts);
    QTest::mouseClick(f.shapesButton, Qt::LeftButton);
    EXPECT_EQ(f.toolValue, tool::Shapes);
    EXPECT_EQ(f.shapeKind, shape::Circle);
    EXPECT_EQ(f.toolOptionPages->currentWidget(), f.shapeOptions);
    QTest::mouseClick(f.sprayButton, Qt::LeftButton);
    EXPECT_EQ(f.toolOptionPages->currentWidget(), f.penSizeOptions);
    QTest::mouseClick(f.eraserButton, Qt::LeftButton);
    EXPECT_EQ(f.toolValue, tool::Eraser);
    QTest::mouseClick(f.fillButton, Qt::LeftButton);
    EXPECT_EQ(f.toolOptionPages->currentWidget(), f.fillOptions);
}

TEST(ToolState, BrushButtonResetsTheFillStyleAndTheFillButtonDoesNot) {
    Harness h;
    MainWindow& f = h.make();
    QTest::mouseClick(f.fillToLinesButton, Qt::LeftButton);
    EXPECT_EQ(f.fillStyle, fillstyle::Special);
    QTest::mouseClick(f.fillButton, Qt::LeftButton);
    EXPECT_EQ(f.fillStyle, fillstyle::Special);
    QTest::mouseClick(f.brushButton, Qt::LeftButton);
    EXPECT_EQ(f.fillStyle, fillstyle::Normal);
}

TEST(ToolState, PenSizeButtonsSetTheWidthAndSpeak) {
    Harness h;
    MainWindow& f = h.make();
    f.optionsDialog->silentCheck->setChecked(false);
    const std::pair<QToolButton*, int> sizes[] = {
        {f.hugePenButton, 70}, {f.bigPenButton, 70}, {f.mediumPenButton, 50}, {f.littlePenButton, 25}, {f.tinyPenButton, 10}};
    QTest::mouseClick(f.brushButton, Qt::LeftButton);
    h.sound.events.clear();
    for (const auto& [b, size] : sizes) {
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(f.penSize, size) << b->objectName().toStdString();
    }
    EXPECT_EQ(h.sound.played(),
              std::vector<QString>({"en_huge", "en_big", "en_midel", "en_litel", "en_tainy"}));
    EXPECT_EQ(f.toolValue, tool::Brush); // the tool stays
}

TEST(ToolState, SpecialFillButtonClearsTheTexture) {
    Harness h;
    MainWindow& f = h.make();
    f.fillTexture = 7;
    const TColor color = f.currentColor;
    const QString toolBefore = f.toolValue;
    f.onFillToLinesClicked();
    EXPECT_EQ(f.fillTexture, 0);
    EXPECT_EQ(f.fillStyle, fillstyle::Special);
    EXPECT_EQ(f.toolValue, toolBefore);
    EXPECT_EQ(f.currentColor, color);
    EXPECT_TRUE(h.sound.events.empty());
}

TEST(Window, SizeLimitsFollowTheScreenAndTheWorkArea) {
    Harness h;
    MainWindow& f = h.make(false);
    f.show();
    QScreen* s = f.screen();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(f.maximumSize(), s->geometry().size());
    MainWindow fresh(
        Platform{&h.messages, &h.input, &h.dialogs, &h.shell, &h.network, &h.printer, &h.sound},
        ProgramPaths{h.programDir(), h.tempDir(), QString(), QString()});
    const QRect work = s->availableGeometry();
    EXPECT_EQ(fresh.width(), work.x() + work.width());
}

TEST(Window, AnExceptionInAHandlerIsReportedAndTheProgramGoesOn) {
    Harness h;
    h.addArchive("a.pak", {{"fine.bmp", bmpBytes(outlinePage(40, 40))}, {"broken.bmp", "garbage"}});
    MainWindow& f = h.make();
    h.messages.shown.clear();
    f.onCatalogueButtonClicked();
    QApplication::processEvents();
    f.catalogueTree->expandAll();
    QApplication::processEvents();
    const QRect r = f.catalogueTree->visualItemRect(f.catalogueNodes[2]);
    ASSERT_FALSE(r.isEmpty());
    QTest::mouseClick(f.catalogueTree->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_FALSE(h.messages.shown[0].text.isEmpty());
    // The window still works.
    QTest::mouseClick(f.tinyPenButton, Qt::LeftButton);
    EXPECT_EQ(f.penSize, 10);
}
