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
        form->optionsDialog->silentCheck->setChecked(false); // without config.ini it is on
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
        if (form->toolSoundThread) {
            ASSERT_TRUE(form->toolSoundThread->wait(5000));
        }
        QCoreApplication::processEvents();
    }

    Harness h;
    MainWindow* form = nullptr;
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
        {form->blackBlot, {q("en_black")}},
        {form->greenBlot, {q("en_green")}},
        {form->blueBlot, {q("en_blue")}},
        {form->lightBlueBlot, {q("en_bluelight")}},
        {form->whiteBlot, {q("en_white")}},
        {form->orangeBlot, {q("en_orange")}},
        {form->yellowBlot, {q("en_yellow")}},
        {form->redBlot, {q("en_red")}},
        {form->rainbowBlot, {q("en_random")}},
        {form->eraserButton, {q("en_erase")}},
        {form->brushButton, {q("en_draw")}},
        {form->fillButton, {q("en_paint")}},
        {form->sprayButton, {q("en_spray")}},
        {form->stampsButton, {q("en_magic")}},
        // The shape tool has no name of its own: only the last check, on the current tool.
        {form->shapesButton, {q("en_figures")}},
        // With the shape tool current, every choice ends in the shapes prompt, which cuts
        // the color's name off.
        {form->redBlot, {q("en_red"), q("en_figures")}},
        {form->rainbowBlot, {q("en_random"), q("en_figures")}},
    };
    for (const Case& c : cases) {
        click(c.control);
        EXPECT_EQ(heard(), c.expected) << c.control->objectName().toStdString();
    }
}

TEST_F(Voice, TheChartNamesNoColor) {
    form->paletteTabs->setCurrentWidget(form->kidsTab);
    QTest::mouseClick(form->colorChart, Qt::LeftButton, {}, QPoint(15, 15));
    ASSERT_NE(form->currentColor, clBlue) << "the chart click did not arrive";
    EXPECT_TRUE(heard().empty());
    click(form->shapesButton);
    heard();
    QTest::mouseClick(form->colorChart, Qt::LeftButton, {}, QPoint(43, 15));
    EXPECT_EQ(heard(), Names{q("en_figures")});
}

TEST_F(Voice, StartUpNamesNoColor) {
    Harness fresh;
    MainWindow& f = fresh.make(false, QSize(600, 400));
    f.optionsDialog->silentCheck->setChecked(false);
    f.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(f.currentColor, clBlue) << "the first show has not run";
    EXPECT_EQ(fresh.sound.played(), Names{q("S1")}) << "only the page's sound";
}

TEST_F(Voice, ButtonPromptsFollowTheButtonsWork) {
    struct Case {
        QToolButton* button;
        const char* prompt;
    } cases[] = {
        {form->hugePenButton, "en_huge"},   {form->bigPenButton, "en_big"},    {form->mediumPenButton, "en_midel"},
        {form->littlePenButton, "en_litel"}, {form->tinyPenButton, "en_tainy"}, {form->flowersButton, "en_flower"},
        {form->heartsButton, "en_hard"},  {form->snowflakesButton, "en_snow"},  {form->leavesButton, "en_listochek"},
        {form->rectangleButton, "en_square"},    {form->circleButton, "en_circle"},    {form->lineButton, "en_line"},
        {form->triangleButton, "en_triangle"},  {form->hexagonButton, "en_polygon"},   {form->trapeziumButton, "en_trapecia"},
        {form->diamondButton, "en_romb"},
    };
    for (const Case& c : cases) {
        c.button->click();
        EXPECT_EQ(heard(), Names{q(c.prompt)}) << c.button->objectName().toStdString();
    }
}

TEST_F(Voice, SoundOffSilencesEveryPromptButNotTheToolLoops) {
    form->optionsDialog->silentCheck->setChecked(true);
    for (QToolButton* b : {form->hugePenButton, form->tinyPenButton, form->leavesButton, form->heartsButton, form->diamondButton,
                           form->randomPageButton})
        b->click();
    for (QWidget* w : std::initializer_list<QWidget*>{
             form->redBlot, form->rainbowBlot, form->whiteBlot, form->eraserButton,
             form->brushButton, form->fillButton, form->stampsButton, form->shapesButton, form->sprayButton})
        click(w);
    EXPECT_EQ(form->currentColor, clWhite) << "choices still take effect";
    EXPECT_TRUE(heard().empty());

    form->strokeActive = true; // the spray press
    form->startToolSound();
    settleToolSound();
    ASSERT_EQ(h.sound.events.size(), 1u);
    EXPECT_EQ(h.sound.events[0].name, q("sndfuse"));
    EXPECT_TRUE(h.sound.events[0].loop);

    // Read at every play: switched back on, the next choice speaks.
    form->optionsDialog->silentCheck->setChecked(false);
    h.sound.events.clear();
    click(form->yellowBlot);
    EXPECT_EQ(heard(), Names{q("en_yellow")});
}

TEST_F(Voice, EachToolStartsItsOwnLoopFromTheWorker) {
    struct Case {
        QToolButton* tool;
        const char* loop; // null: none
    } cases[] = {{form->sprayButton, "sndfuse"},
                 {form->eraserButton, "sndstir"},
                 {form->brushButton, nullptr},
                 {form->fillButton, nullptr}};
    for (const Case& c : cases) {
        c.tool->click();
        h.sound.events.clear();
        form->strokeActive = true;
        form->startToolSound();
        EXPECT_TRUE(form->toolSoundStarted);
        settleToolSound();
        if (c.loop) {
            ASSERT_EQ(h.sound.events.size(), 1u) << c.loop;
            EXPECT_EQ(h.sound.events[0].name, q(c.loop));
            EXPECT_TRUE(h.sound.events[0].loop);
        } else {
            EXPECT_TRUE(h.sound.events.empty()) << c.tool->objectName().toStdString();
        }
        form->strokeActive = false;
    }
    // The worker deletes itself once done.
    QTRY_VERIFY(form->toolSoundThread.isNull());
}

TEST_F(Voice, ALoopThatArrivesAfterTheReleaseIsDropped) {
    form->eraserButton->click();
    h.sound.events.clear();
    form->strokeActive = true;
    form->startToolSound();
    form->toolSoundThread->wait(5000);
    form->strokeActive = false; // released before the window thread took the start
    h.sound.stop();
    QCoreApplication::processEvents();
    ASSERT_EQ(h.sound.events.size(), 1u);
    EXPECT_TRUE(h.sound.events[0].name.isEmpty()) << "a loop was left playing";
}

TEST_F(Voice, TheWindowOutlivesItsWorker) {
    // Closing right after a press: the worker may still be reading the tool state.
    form->sprayButton->click();
    form->strokeActive = true;
    form->startToolSound();
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
    form->pageBitmap = std::make_unique<PageBitmapCanvas>(page);
    form->currentPageIndex = 1;
    auto pressRelease = [&](Qt::MouseButton b) {
        QTest::mousePress(form->drawingArea, b, {}, QPoint(100, 100));
        settleToolSound();
        auto events = h.sound.events;
        QTest::mouseRelease(form->drawingArea, b, {}, QPoint(100, 100));
        return events;
    };
    form->sprayButton->click();
    h.sound.events.clear();
    EXPECT_TRUE(pressRelease(Qt::RightButton).empty());
    form->eraserButton->click();
    h.sound.events.clear();
    EXPECT_TRUE(pressRelease(Qt::MiddleButton).empty());

    form->optionsDialog->silentCheck->setChecked(true);
    h.sound.events.clear();
    const auto during = pressRelease(Qt::LeftButton);
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0].name, q("sndstir"));
    EXPECT_TRUE(during[0].loop);
    ASSERT_FALSE(h.sound.events.empty());
    EXPECT_TRUE(h.sound.events.back().name.isEmpty()) << "the release did not stop the loop";

    h.sound.events.clear();
    form->fillButton->click();
    QTest::mouseClick(form->drawingArea, Qt::LeftButton, {}, QPoint(300, 200));
    form->rotateButton->click();
    EXPECT_TRUE(heard().empty());
    form->optionsDialog->silentCheck->setChecked(false);
    QTest::mouseClick(form->drawingArea, Qt::LeftButton, {}, QPoint(300, 200));
    form->rotateButton->click();
    EXPECT_EQ(heard(), (Names{q("S3"), q("en_rotate")}));
}
