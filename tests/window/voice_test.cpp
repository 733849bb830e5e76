// What the child hears: naming prompts, button prompts, the sound switch and the tool loops.
#include "support/fakes.h"
#include "window/resource_art.h"

#include "app/options.h"
#include "app/voice.h"
#include "app/widgets.h"

#include <QCheckBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {
class Voice : public ::testing::Test {
  protected:
    void SetUp() override {
        form = &h.make(true, QSize(1200, 400));
        form->Fm_Options->CheckBox_Sound->setChecked(false); // without config.ini it is on
        h.sound.events.clear();
    }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 30)); }
    std::vector<QString> heard() {
        auto p = h.sound.played();
        h.sound.events.clear();
        return p;
    }
    // Waits for the tool sound's worker and delivers what it handed to the window thread.
    void settleToolSound() {
        if (form->SpeakThread) {
            ASSERT_TRUE(form->SpeakThread->wait(5000));
        }
        QCoreApplication::processEvents();
    }

    Harness h;
    TForm1* form = nullptr;
};

using Names = std::vector<QString>;
QString q(const char* s) {
    return QString::fromUtf8(s);
}
} // namespace

TEST_F(Voice, EachChoiceIsNamedAndTheShapeToolHasTheLastWord) {
    struct Case {
        QWidget* control;
        Names expected;
    } cases[] = {
        {form->Image8_Color, {q("en_black")}},
        {form->Image4_Color, {q("en_green")}},
        {form->Image5_Color, {q("en_blue")}},
        {form->Image6_Color, {q("en_bluelight")}},
        {form->Image7_Color, {q("en_white")}},
        {form->Image3_Color, {q("en_orange")}},
        {form->Image2_Color, {q("en_yellow")}},
        {form->Image1_Color, {q("en_red")}},
        {form->Image10_Color, {q("en_random")}},
        {form->But_Erase, {q("en_erase")}},
        {form->But_kist, {q("en_draw")}},
        {form->But_Kras, {q("en_paint")}},
        {form->But_Bolonchik, {q("en_spray")}},
        {form->But_Sneg, {q("en_magic")}},
        // The shape tool has no name of its own: only the last check, on the current tool.
        {form->BitBtn6, {q("en_figures")}},
        // With the shape tool current, every choice ends in the shapes prompt, which cuts
        // the color's name off.
        {form->Image1_Color, {q("en_red"), q("en_figures")}},
        {form->Image10_Color, {q("en_random"), q("en_figures")}},
    };
    for (const Case& c : cases) {
        click(c.control);
        EXPECT_EQ(heard(), c.expected) << c.control->objectName().toStdString();
    }
}

TEST_F(Voice, TheChartNamesNoColor) {
    form->PageControl1->setCurrentWidget(form->TabSheet2);
    QTest::mouseClick(form->Image2, Qt::LeftButton, {}, QPoint(15, 15));
    ASSERT_NE(form->CurrentColor, clBlue) << "the chart click did not arrive";
    EXPECT_TRUE(heard().empty());
    click(form->BitBtn6);
    heard();
    QTest::mouseClick(form->Image2, Qt::LeftButton, {}, QPoint(43, 15));
    EXPECT_EQ(heard(), Names{q("en_figures")});
}

TEST_F(Voice, StartUpNamesNoColor) {
    Harness fresh;
    TForm1& f = fresh.make(false, QSize(600, 400));
    f.Fm_Options->CheckBox_Sound->setChecked(false);
    f.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(f.CurrentColor, clBlue) << "the first show has not run";
    EXPECT_EQ(fresh.sound.played(), Names{q("S1")}) << "only the page's sound";
}

TEST_F(Voice, ButtonPromptsFollowTheButtonsWork) {
    struct Case {
        QToolButton* button;
        const char* prompt;
    } cases[] = {
        {form->BitBtn5, "en_huge"},   {form->BitBtn7, "en_big"},    {form->BitBtn8, "en_midel"},
        {form->BitBtn20, "en_litel"}, {form->BitBtn21, "en_tainy"}, {form->BitBtn12, "en_flower"},
        {form->BitBtn16, "en_hard"},  {form->BitBtn18, "en_snow"},  {form->btn5, "en_listochek"},
        {form->btn1, "en_square"},    {form->btn2, "en_circle"},    {form->btn3, "en_line"},
        {form->btn4, "en_triangle"},  {form->btn7, "en_polygon"},   {form->btn8, "en_trapecia"},
        {form->btn13, "en_romb"},
    };
    for (const Case& c : cases) {
        c.button->click();
        EXPECT_EQ(heard(), Names{q(c.prompt)}) << c.button->objectName().toStdString();
    }
}

TEST_F(Voice, SoundOffSilencesEveryPromptButNotTheToolLoops) {
    form->Fm_Options->CheckBox_Sound->setChecked(true);
    for (QToolButton* b : {form->BitBtn5, form->BitBtn21, form->btn5, form->BitBtn16, form->btn13,
                           form->Button_RndRaskraska})
        b->click();
    for (QWidget* w : std::initializer_list<QWidget*>{
             form->Image1_Color, form->Image10_Color, form->Image7_Color, form->But_Erase,
             form->But_kist, form->But_Kras, form->But_Sneg, form->BitBtn6, form->But_Bolonchik})
        click(w);
    EXPECT_EQ(form->CurrentColor, clWhite) << "choices still take effect";
    EXPECT_TRUE(heard().empty());

    form->StrokeActive = true; // the spray press
    form->StartToolSound();
    settleToolSound();
    ASSERT_EQ(h.sound.events.size(), 1u);
    EXPECT_EQ(h.sound.events[0].name, q("sndfuse"));
    EXPECT_TRUE(h.sound.events[0].loop);

    // Read at every play: switched back on, the next choice speaks.
    form->Fm_Options->CheckBox_Sound->setChecked(false);
    h.sound.events.clear();
    click(form->Image2_Color);
    EXPECT_EQ(heard(), Names{q("en_yellow")});
}

TEST_F(Voice, EachToolStartsItsOwnLoopFromTheWorker) {
    struct Case {
        QToolButton* tool;
        const char* loop; // null: none
    } cases[] = {{form->But_Bolonchik, "sndfuse"},
                 {form->But_Erase, "sndstir"},
                 {form->But_kist, nullptr},
                 {form->But_Kras, nullptr}};
    for (const Case& c : cases) {
        c.tool->click();
        h.sound.events.clear();
        form->StrokeActive = true;
        form->StartToolSound();
        EXPECT_TRUE(form->SpeakThreadStarted);
        settleToolSound();
        if (c.loop) {
            ASSERT_EQ(h.sound.events.size(), 1u) << c.loop;
            EXPECT_EQ(h.sound.events[0].name, q(c.loop));
            EXPECT_TRUE(h.sound.events[0].loop);
        } else {
            EXPECT_TRUE(h.sound.events.empty()) << c.tool->objectName().toStdString();
        }
        form->StrokeActive = false;
    }
    // The worker deletes itself once done.
    QTRY_VERIFY(form->SpeakThread.isNull());
}

TEST_F(Voice, ALoopThatArrivesAfterTheReleaseIsDropped) {
    form->But_Erase->click();
    h.sound.events.clear();
    form->StrokeActive = true;
    form->StartToolSound();
    form->SpeakThread->wait(5000);
    form->StrokeActive = false; // released before the window thread took the start
    h.sound.stop();
    QCoreApplication::processEvents();
    ASSERT_EQ(h.sound.events.size(), 1u);
    EXPECT_TRUE(h.sound.events[0].name.isEmpty()) << "a loop was left playing";
}

TEST_F(Voice, TheWindowOutlivesItsWorker) {
    // Closing right after a press: the worker may still be reading the tool state.
    form->But_Bolonchik->click();
    form->StrokeActive = true;
    form->StartToolSound();
    h.sound.events.clear();
    h.form.reset();
    QCoreApplication::processEvents();
    // The start handed over by the worker went with the window.
    EXPECT_TRUE(h.sound.events.empty());
}

// Through real presses on the drawing area: the right button never starts the spray's noise
// and the middle never the eraser's; the left does, and its release stops it. With sound off
// the fill's splash and the Rotate prompt are silent, while the loop still sounds.
TEST_F(Voice, ToolLoopsFollowTheButtonsOnThePage) {
    QImage page(1200, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    form->PageBitmap = std::make_unique<PageBitmapCanvas>(page);
    form->CurrentPageIndex = 1;
    auto pressRelease = [&](Qt::MouseButton b) {
        QTest::mousePress(form->PaintBox1, b, {}, QPoint(100, 100));
        settleToolSound();
        auto events = h.sound.events;
        QTest::mouseRelease(form->PaintBox1, b, {}, QPoint(100, 100));
        return events;
    };
    form->But_Bolonchik->click();
    h.sound.events.clear();
    EXPECT_TRUE(pressRelease(Qt::RightButton).empty());
    form->But_Erase->click();
    h.sound.events.clear();
    EXPECT_TRUE(pressRelease(Qt::MiddleButton).empty());

    form->Fm_Options->CheckBox_Sound->setChecked(true);
    h.sound.events.clear();
    const auto during = pressRelease(Qt::LeftButton);
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0].name, q("sndstir"));
    EXPECT_TRUE(during[0].loop);
    ASSERT_FALSE(h.sound.events.empty());
    EXPECT_TRUE(h.sound.events.back().name.isEmpty()) << "the release did not stop the loop";

    h.sound.events.clear();
    form->But_Kras->click();
    QTest::mouseClick(form->PaintBox1, Qt::LeftButton, {}, QPoint(300, 200));
    form->Button_Rotate->click();
    EXPECT_TRUE(heard().empty());
    form->Fm_Options->CheckBox_Sound->setChecked(false);
    QTest::mouseClick(form->PaintBox1, Qt::LeftButton, {}, QPoint(300, 200));
    form->Button_Rotate->click();
    EXPECT_EQ(heard(), (Names{q("S3"), q("en_rotate")}));
}
