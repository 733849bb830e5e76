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
    TForm1& f = h.make();
    f.Image10_ColorMouseDown(); // multicolor swatch
    EXPECT_EQ(f.ColorMode, kMulticolorMode);
    QTest::mouseClick(f.But_kist, Qt::LeftButton);
    EXPECT_EQ(f.CurrentTool, tool::Brush);
    EXPECT_EQ(f.ColorMode, kMulticolorMode);
    EXPECT_EQ(f.CurrentColor, MulticolorMarker);
    EXPECT_EQ(f.PageControl_Dop->currentWidget(), f.Tab_PenSize);
    // In multicolor mode the stamp button switches to flowers; otherwise it keeps the set.
    QTest::mouseClick(f.But_Sneg, Qt::LeftButton);
    EXPECT_EQ(f.StampKind, stampkind::Flowers);
    EXPECT_EQ(f.PageControl_Dop->currentWidget(), f.Tab_Shtamp);
    f.Image1_ColorMouseDown();
    f.StampKind = stampkind::Hearts;
    QTest::mouseClick(f.But_Sneg, Qt::LeftButton);
    EXPECT_EQ(f.StampKind, stampkind::Hearts);
    QTest::mouseClick(f.BitBtn6, Qt::LeftButton);
    EXPECT_EQ(f.CurrentTool, tool::Shapes);
    EXPECT_EQ(f.ShapeKind, shape::Circle);
    EXPECT_EQ(f.PageControl_Dop->currentWidget(), f.Tab_Effect);
    QTest::mouseClick(f.But_Bolonchik, Qt::LeftButton);
    EXPECT_EQ(f.PageControl_Dop->currentWidget(), f.Tab_PenSize);
    QTest::mouseClick(f.But_Erase, Qt::LeftButton);
    EXPECT_EQ(f.CurrentTool, tool::Eraser);
    QTest::mouseClick(f.But_Kras, Qt::LeftButton);
    EXPECT_EQ(f.PageControl_Dop->currentWidget(), f.Tab_Zalivka);
}

TEST(ToolState, BrushButtonResetsTheFillStyleAndTheFillButtonDoesNot) {
    Harness h;
    TForm1& f = h.make();
    QTest::mouseClick(f.BitBtn17, Qt::LeftButton);
    EXPECT_EQ(f.FillStyle, fillstyle::Special);
    QTest::mouseClick(f.But_Kras, Qt::LeftButton);
    EXPECT_EQ(f.FillStyle, fillstyle::Special);
    QTest::mouseClick(f.But_kist, Qt::LeftButton);
    EXPECT_EQ(f.FillStyle, fillstyle::Normal);
}

TEST(ToolState, PenSizeButtonsSetTheWidthAndSpeak) {
    Harness h;
    TForm1& f = h.make();
    f.Fm_Options->CheckBox_Sound->setChecked(false);
    const std::pair<QToolButton*, int> sizes[] = {
        {f.BitBtn5, 70}, {f.BitBtn7, 70}, {f.BitBtn8, 50}, {f.BitBtn20, 25}, {f.BitBtn21, 10}};
    QTest::mouseClick(f.But_kist, Qt::LeftButton);
    h.sound.events.clear();
    for (const auto& [b, size] : sizes) {
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(f.PenSize, size) << b->objectName().toStdString();
    }
    EXPECT_EQ(h.sound.played(),
              std::vector<QString>({"en_huge", "en_big", "en_midel", "en_litel", "en_tainy"}));
    EXPECT_EQ(f.CurrentTool, tool::Brush); // the tool stays
}

TEST(ToolState, SpecialFillButtonClearsTheTexture) {
    Harness h;
    TForm1& f = h.make();
    f.FillTexture = 7;
    const TColor color = f.CurrentColor;
    const QString toolBefore = f.CurrentTool;
    f.BitBtn17Click();
    EXPECT_EQ(f.FillTexture, 0);
    EXPECT_EQ(f.FillStyle, fillstyle::Special);
    EXPECT_EQ(f.CurrentTool, toolBefore);
    EXPECT_EQ(f.CurrentColor, color);
    EXPECT_TRUE(h.sound.events.empty());
}

TEST(Window, SizeLimitsFollowTheScreenAndTheWorkArea) {
    Harness h;
    TForm1& f = h.make(false);
    f.show();
    QScreen* s = f.screen();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(f.maximumSize(), s->geometry().size());
    TForm1 fresh(
        Platform{&h.messages, &h.input, &h.dialogs, &h.shell, &h.network, &h.printer, &h.sound},
        ProgramPaths{h.programDir(), h.tempDir(), QString(), QString()});
    const QRect work = s->availableGeometry();
    EXPECT_EQ(fresh.width(), work.x() + work.width());
}

TEST(Window, AnExceptionInAHandlerIsReportedAndTheProgramGoesOn) {
    Harness h;
    h.addArchive("a.pak", {{"fine.bmp", bmpBytes(outlinePage(40, 40))}, {"broken.bmp", "garbage"}});
    TForm1& f = h.make();
    h.messages.shown.clear();
    f.Button_FolderClick();
    QApplication::processEvents();
    f.TreeView1->expandAll();
    QApplication::processEvents();
    const QRect r = f.TreeView1->visualItemRect(f.TreeNodes[2]);
    ASSERT_FALSE(r.isEmpty());
    QTest::mouseClick(f.TreeView1->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_FALSE(h.messages.shown[0].text.isEmpty());
    // The window still works.
    QTest::mouseClick(f.BitBtn21, Qt::LeftButton);
    EXPECT_EQ(f.PenSize, 10);
}
