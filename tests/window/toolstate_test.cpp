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
    EXPECT_EQ(probe::tools(f).colorMode, kMulticolorMode);
    QTest::mouseClick(probe::ui(f).brushButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).toolValue, tool::Brush);
    EXPECT_EQ(probe::tools(f).colorMode, kMulticolorMode);
    EXPECT_EQ(probe::tools(f).currentColor, MulticolorMarker);
    EXPECT_EQ(probe::ui(f).toolOptionPages->currentWidget(), probe::ui(f).penSizeOptions);
    // In multicolor mode the stamp button switches to flowers; otherwise it keeps the set.
    QTest::mouseClick(probe::ui(f).stampsButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).stampKind, stampkind::Flowers);
    EXPECT_EQ(probe::ui(f).toolOptionPages->currentWidget(), probe::ui(f).stampOptions);
    QTest::mouseClick(probe::ui(f).redBlot, Qt::LeftButton);
    probe::tools(f).stampKind = stampkind::Hearts;
    QTest::mouseClick(probe::ui(f).stampsButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).stampKind, stampkind::Hearts);
    QTest::mouseClick(probe::ui(f).shapesButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).toolValue, tool::Shapes);
    EXPECT_EQ(probe::tools(f).shapeKind, shape::Circle);
    EXPECT_EQ(probe::ui(f).toolOptionPages->currentWidget(), probe::ui(f).shapeOptions);
    QTest::mouseClick(probe::ui(f).sprayButton, Qt::LeftButton);
    EXPECT_EQ(probe::ui(f).toolOptionPages->currentWidget(), probe::ui(f).penSizeOptions);
    QTest::mouseClick(probe::ui(f).eraserButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).toolValue, tool::Eraser);
    QTest::mouseClick(probe::ui(f).fillButton, Qt::LeftButton);
    EXPECT_EQ(probe::ui(f).toolOptionPages->currentWidget(), probe::ui(f).fillOptions);
}

TEST(ToolState, BrushButtonResetsTheFillStyleAndTheFillButtonDoesNot) {
    Harness h;
    MainWindow& f = h.make();
    QTest::mouseClick(probe::ui(f).fillToLinesButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).fillStyle, fillstyle::Special);
    QTest::mouseClick(probe::ui(f).fillButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).fillStyle, fillstyle::Special);
    QTest::mouseClick(probe::ui(f).brushButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).fillStyle, fillstyle::Normal);
}

TEST(ToolState, PenSizeButtonsSetTheWidthAndSpeak) {
    Harness h;
    MainWindow& f = h.make();
    probe::optionsDialog(f)->silentCheck->setChecked(false);
    const std::pair<QToolButton*, int> sizes[] = {{probe::ui(f).hugePenButton, 70},
                                                  {probe::ui(f).bigPenButton, 70},
                                                  {probe::ui(f).mediumPenButton, 50},
                                                  {probe::ui(f).littlePenButton, 25},
                                                  {probe::ui(f).tinyPenButton, 10}};
    QTest::mouseClick(probe::ui(f).brushButton, Qt::LeftButton);
    h.sound.events.clear();
    for (const auto& [b, size] : sizes) {
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(probe::tools(f).penSize, size) << b->objectName().toStdString();
    }
    EXPECT_EQ(h.sound.played(),
              std::vector<QString>({"en_huge", "en_big", "en_midel", "en_litel", "en_tainy"}));
    EXPECT_EQ(probe::tools(f).toolValue, tool::Brush); // the tool stays
}

TEST(ToolState, SpecialFillButtonClearsTheTexture) {
    Harness h;
    MainWindow& f = h.make();
    probe::tools(f).fillTexture = 7;
    const TColor color = probe::tools(f).currentColor;
    const QString toolBefore = probe::tools(f).toolValue;
    f.onFillToLinesClicked();
    EXPECT_EQ(probe::tools(f).fillTexture, 0);
    EXPECT_EQ(probe::tools(f).fillStyle, fillstyle::Special);
    EXPECT_EQ(probe::tools(f).toolValue, toolBefore);
    EXPECT_EQ(probe::tools(f).currentColor, color);
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
        ProgramPaths{h.programDir(), h.tempDir(), QString(), QString(), QString()});
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
    probe::ui(f).catalogueTree->expandAll();
    QApplication::processEvents();
    const QRect r =
        probe::ui(f).catalogueTree->visualItemRect(probe::catalogue(f).catalogueNodes[2]);
    ASSERT_FALSE(r.isEmpty());
    QTest::mouseClick(probe::ui(f).catalogueTree->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_FALSE(h.messages.shown[0].text.isEmpty());
    // The window still works.
    QTest::mouseClick(probe::ui(f).tinyPenButton, Qt::LeftButton);
    EXPECT_EQ(probe::tools(f).penSize, 10);
}
