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
        probe::optionsDialog(*form)->silentCheck->setChecked(false); // without config.ini it is on
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
        if (probe::toolSoundThread(*form)) {
            ASSERT_TRUE(probe::toolSoundThread(*form)->wait(5000));
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
        {probe::ui(*form).blackBlot, {q("en_black")}},
        {probe::ui(*form).greenBlot, {q("en_green")}},
        {probe::ui(*form).blueBlot, {q("en_blue")}},
        {probe::ui(*form).lightBlueBlot, {q("en_bluelight")}},
        {probe::ui(*form).whiteBlot, {q("en_white")}},
        {probe::ui(*form).orangeBlot, {q("en_orange")}},
        {probe::ui(*form).yellowBlot, {q("en_yellow")}},
        {probe::ui(*form).redBlot, {q("en_red")}},
        {probe::ui(*form).rainbowBlot, {q("en_random")}},
        {probe::ui(*form).eraserButton, {q("en_erase")}},
        {probe::ui(*form).brushButton, {q("en_draw")}},
        {probe::ui(*form).fillButton, {q("en_paint")}},
        {probe::ui(*form).sprayButton, {q("en_spray")}},
        {probe::ui(*form).stampsButton, {q("en_magic")}},
        // The shape tool has no name of its own: only the last check, on the current tool.
        {probe::ui(*form).shapesButton, {q("en_figures")}},
        // With the shape tool current, every choice ends in the shapes prompt, which cuts
        // the color's name off.
        {probe::ui(*form).redBlot, {q("en_red"), q("en_figures")}},
        {probe::ui(*form).rainbowBlot, {q("en_random"), q("en_figures")}},
    };
    for (const Case& c : cases) {
        click(c.control);
        EXPECT_EQ(heard(), c.expected) << c.control->objectName().toStdString();
    }
}

TEST_F(Voice, TheChartNamesNoColor) {
    probe::ui(*form).paletteTabs->setCurrentWidget(probe::ui(*form).kidsTab);
    QTest::mouseClick(probe::ui(*form).colorChart, Qt::LeftButton, {}, QPoint(15, 15));
    ASSERT_NE(probe::tools(*form).currentColor, clBlue) << "the chart click did not arrive";
    EXPECT_TRUE(heard().empty());
    click(probe::ui(*form).shapesButton);
    heard();
    QTest::mouseClick(probe::ui(*form).colorChart, Qt::LeftButton, {}, QPoint(43, 15));
    EXPECT_EQ(heard(), Names{q("en_figures")});
}

TEST_F(Voice, StartUpNamesNoColor) {
    Harness fresh;
    MainWindow& f = fresh.make(false, QSize(600, 400));
    probe::optionsDialog(f)->silentCheck->setChecked(false);
    f.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(probe::tools(f).currentColor, clBlue) << "the first show has not run";
    EXPECT_EQ(fresh.sound.played(), Names{q("S1")}) << "only the page's sound";
}

TEST_F(Voice, ButtonPromptsFollowTheButtonsWork) {
    struct Case {
        QToolButton* button;
        const char* prompt;
    } cases[] = {
        {probe::ui(*form).hugePenButton, "en_huge"},
        {probe::ui(*form).bigPenButton, "en_big"},
        {probe::ui(*form).mediumPenButton, "en_midel"},
        {probe::ui(*form).littlePenButton, "en_litel"},
        {probe::ui(*form).tinyPenButton, "en_tainy"},
        {probe::ui(*form).flowersButton, "en_flower"},
        {probe::ui(*form).heartsButton, "en_hard"},
        {probe::ui(*form).snowflakesButton, "en_snow"},
        {probe::ui(*form).leavesButton, "en_listochek"},
        {probe::ui(*form).rectangleButton, "en_square"},
        {probe::ui(*form).circleButton, "en_circle"},
        {probe::ui(*form).lineButton, "en_line"},
        {probe::ui(*form).triangleButton, "en_triangle"},
        {probe::ui(*form).hexagonButton, "en_polygon"},
        {probe::ui(*form).trapeziumButton, "en_trapecia"},
        {probe::ui(*form).diamondButton, "en_romb"},
    };
    for (const Case& c : cases) {
        c.button->click();
        EXPECT_EQ(heard(), Names{q(c.prompt)}) << c.button->objectName().toStdString();
    }
}

TEST_F(Voice, SoundOffSilencesEveryPromptButNotTheToolLoops) {
    probe::optionsDialog(*form)->silentCheck->setChecked(true);
    for (QToolButton* b : {probe::ui(*form).hugePenButton, probe::ui(*form).tinyPenButton,
                           probe::ui(*form).leavesButton, probe::ui(*form).heartsButton,
                           probe::ui(*form).diamondButton, probe::ui(*form).randomPageButton})
        b->click();
    for (QWidget* w : std::initializer_list<QWidget*>{
             probe::ui(*form).redBlot, probe::ui(*form).rainbowBlot, probe::ui(*form).whiteBlot,
             probe::ui(*form).eraserButton, probe::ui(*form).brushButton,
             probe::ui(*form).fillButton, probe::ui(*form).stampsButton,
             probe::ui(*form).shapesButton, probe::ui(*form).sprayButton})
        click(w);
    EXPECT_EQ(probe::tools(*form).currentColor, clWhite) << "choices still take effect";
    EXPECT_TRUE(heard().empty());

    probe::tools(*form).strokeActive = true; // the spray press
    form->startToolSound();
    settleToolSound();
    ASSERT_EQ(h.sound.events.size(), 1u);
    EXPECT_EQ(h.sound.events[0].name, q("sndfuse"));
    EXPECT_TRUE(h.sound.events[0].loop);

    // Read at every play: switched back on, the next choice speaks.
    probe::optionsDialog(*form)->silentCheck->setChecked(false);
    h.sound.events.clear();
    click(probe::ui(*form).yellowBlot);
    EXPECT_EQ(heard(), Names{q("en_yellow")});
}

TEST_F(Voice, EachToolStartsItsOwnLoopFromTheWorker) {
    struct Case {
        QToolButton* tool;
        const char* loop; // null: none
    } cases[] = {{probe::ui(*form).sprayButton, "sndfuse"},
                 {probe::ui(*form).eraserButton, "sndstir"},
                 {probe::ui(*form).brushButton, nullptr},
                 {probe::ui(*form).fillButton, nullptr}};
    for (const Case& c : cases) {
        c.tool->click();
        h.sound.events.clear();
        probe::tools(*form).strokeActive = true;
        form->startToolSound();
        EXPECT_TRUE(probe::toolSoundStarted(*form));
        settleToolSound();
        if (c.loop) {
            ASSERT_EQ(h.sound.events.size(), 1u) << c.loop;
            EXPECT_EQ(h.sound.events[0].name, q(c.loop));
            EXPECT_TRUE(h.sound.events[0].loop);
        } else {
            EXPECT_TRUE(h.sound.events.empty()) << c.tool->objectName().toStdString();
        }
        probe::tools(*form).strokeActive = false;
    }
    // The worker deletes itself once done.
    QTRY_VERIFY(probe::toolSoundThread(*form).isNull());
}

TEST_F(Voice, ALoopThatArrivesAfterTheReleaseIsDropped) {
    probe::ui(*form).eraserButton->click();
    h.sound.events.clear();
    probe::tools(*form).strokeActive = true;
    form->startToolSound();
    probe::toolSoundThread(*form)->wait(5000);
    probe::tools(*form).strokeActive = false; // released before the window thread took the start
    h.sound.stop();
    QCoreApplication::processEvents();
    ASSERT_EQ(h.sound.events.size(), 1u);
    EXPECT_TRUE(h.sound.events[0].name.isEmpty()) << "a loop was left playing";
}

TEST_F(Voice, TheWindowOutlivesItsWorker) {
    // Closing right after a press: the worker may still be reading the tool state.
    probe::ui(*form).sprayButton->click();
    probe::tools(*form).strokeActive = true;
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
    probe::setPage(*form, std::make_unique<PageBitmapCanvas>(page));
    probe::catalogue(*form).currentPageIndex = 1;
    auto pressRelease = [&](Qt::MouseButton b) {
        QTest::mousePress(probe::ui(*form).drawingArea, b, {}, QPoint(100, 100));
        settleToolSound();
        auto events = h.sound.events;
        QTest::mouseRelease(probe::ui(*form).drawingArea, b, {}, QPoint(100, 100));
        return events;
    };
    probe::ui(*form).sprayButton->click();
    h.sound.events.clear();
    EXPECT_TRUE(pressRelease(Qt::RightButton).empty());
    probe::ui(*form).eraserButton->click();
    h.sound.events.clear();
    EXPECT_TRUE(pressRelease(Qt::MiddleButton).empty());

    probe::optionsDialog(*form)->silentCheck->setChecked(true);
    h.sound.events.clear();
    const auto during = pressRelease(Qt::LeftButton);
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0].name, q("sndstir"));
    EXPECT_TRUE(during[0].loop);
    ASSERT_FALSE(h.sound.events.empty());
    EXPECT_TRUE(h.sound.events.back().name.isEmpty()) << "the release did not stop the loop";

    h.sound.events.clear();
    probe::ui(*form).fillButton->click();
    QTest::mouseClick(probe::ui(*form).drawingArea, Qt::LeftButton, {}, QPoint(300, 200));
    probe::ui(*form).rotateButton->click();
    EXPECT_TRUE(heard().empty());
    probe::optionsDialog(*form)->silentCheck->setChecked(false);
    QTest::mouseClick(probe::ui(*form).drawingArea, Qt::LeftButton, {}, QPoint(300, 200));
    probe::ui(*form).rotateButton->click();
    EXPECT_EQ(heard(), (Names{q("S3"), q("en_rotate")}));
}
