// Undo and redo in the window, driven by the mouse and the keyboard as a child and a parent
// would.
#include "app/childmode.h"
#include "app/options.h"
#include "app/widgets.h"
#include "base/parentgate.h"
#include "share/autosave.h"
#include "support/fakes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {
QImage boxesPage(int variant) {
    QImage img = outlinePage(600, 400);
    // Other pages differ in a way every layout keeps.
    if (variant > 0)
        for (int y = 300; y < 340; ++y)
            for (int x = 200 * variant; x < 200 * variant + 40; ++x)
                img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

class Undo : public ::testing::Test {
  protected:
    void SetUp() override {
        h.addArchive("book.pak",
                     {{"one.bmp", bmpBytes(boxesPage(0))}, {"two.bmp", bmpBytes(boxesPage(1))}});
        f = &h.make(true, QSize(900, 500));
        probe::optionsDialog(*f)->silentCheck->setChecked(false); // "no sound" off: prompts heard
        ASSERT_TRUE(probe::session(*f).canvas());
        ASSERT_GT(probe::catalogue(*f).currentPageIndex, 0);
    }
    QImage page() const { return probe::session(*f).canvas()->image.copy(); }
    void click(QToolButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void clickPage(QPoint p) {
        QTest::mousePress(probe::ui(*f).drawingArea, Qt::LeftButton, {}, p);
        QTest::mouseRelease(probe::ui(*f).drawingArea, Qt::LeftButton, {}, p);
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(probe::ui(*f).drawingArea, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 10; ++i)
            QTest::mouseMove(probe::ui(*f).drawingArea, from + (to - from) * i / 10);
        QTest::mouseRelease(probe::ui(*f).drawingArea, Qt::LeftButton, {}, to);
    }
    void fill(QPoint p) {
        click(probe::ui(*f).fillButton);
        clickPage(p);
    }
    int played(const QString& name) const {
        int n = 0;
        for (const QString& p : h.sound.played())
            n += p == name;
        return n;
    }
    Harness h;
    MainWindow* f = nullptr;
};

TEST_F(Undo, EveryKindOfChangeGoesBackAndForwardExactly) {
    const QString other = h.tempDir() + QStringLiteral("opened.bmp");
    {
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bmpBytes(boxesPage(2)));
    }
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"fill",
         [&] {
             fill({200, 150});
         }},
        {"brush",
         [&] {
             click(probe::ui(*f).brushButton);
             drag({100, 100}, {700, 400});
         }},
        {"eraser",
         [&] {
             click(probe::ui(*f).eraserButton);
             drag({150, 150}, {600, 300});
         }},
        {"spray",
         [&] {
             click(probe::ui(*f).sprayButton);
             drag({300, 100}, {500, 350});
         }},
        {"stamp",
         [&] {
             click(probe::ui(*f).stampsButton);
             clickPage({450, 250});
         }},
        {"shape",
         [&] {
             click(probe::ui(*f).shapesButton);
             click(probe::ui(*f).circleButton);
             drag({200, 200}, {420, 380});
         }},
        {"rotate", [&] { click(probe::ui(*f).rotateButton); }},
        {"clear", [&] { click(probe::ui(*f).clearButton); }},
        {"random", [&] { click(probe::ui(*f).randomPageButton); }},
        {"textured fill",
         [&] {
             click(probe::ui(*f).fillButton);
             QTest::mouseClick(probe::ui(*f).textureBoxes[2], Qt::LeftButton);
             clickPage({120, 420});
         }},
        {"catalogue",
         [&] {
             click(probe::ui(*f).catalogueButton);
             QTreeWidgetItem* target = nullptr;
             for (size_t i = 1; i < probe::catalogue(*f).catalogueNodes.size(); ++i)
                 if (int(i) != probe::catalogue(*f).currentPageIndex &&
                     probe::catalogue(*f).catalogueNodes[i]->data(0, Qt::UserRole).toInt() ==
                         catalogue::PageNode)
                     target = probe::catalogue(*f).catalogueNodes[i];
             ASSERT_TRUE(target);
             probe::ui(*f).catalogueTree->scrollToItem(target);
             QTest::mouseClick(probe::ui(*f).catalogueTree->viewport(), Qt::LeftButton, {},
                               probe::ui(*f).catalogueTree->visualItemRect(target).center());
             // Back on the page: laid out again at the wider area, still one step.
             QTest::mouseMove(probe::ui(*f).drawingArea, {450, 250});
         }},
        {"open",
         [&] {
             h.dialogs.openAnswer = other;
             probe::ui(*f).openAction->trigger();
         }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        const QImage before = page();
        const int pageBefore = probe::catalogue(*f).currentPageIndex;
        change();
        const QImage after = page();
        const int pageAfter = probe::catalogue(*f).currentPageIndex;
        ASSERT_NE(after, before) << "the change changed nothing";
        ASSERT_TRUE(probe::ui(*f).undoButton->isEnabled());
        EXPECT_FALSE(probe::ui(*f).redoButton->isEnabled());

        click(probe::ui(*f).undoButton);
        EXPECT_EQ(page(), before);
        EXPECT_EQ(probe::catalogue(*f).currentPageIndex, pageBefore);
        EXPECT_TRUE(probe::ui(*f).redoButton->isEnabled());
        click(probe::ui(*f).redoButton);
        EXPECT_EQ(page(), after);
        EXPECT_EQ(probe::catalogue(*f).currentPageIndex, pageAfter);
        EXPECT_FALSE(probe::ui(*f).redoButton->isEnabled());
    }
}

TEST_F(Undo, AHundredStepsGoBackAndForward) {
    click(probe::ui(*f).brushButton);
    click(probe::ui(*f).tinyPenButton); // tiny
    const QImage start = page();
    QImage half;
    for (int i = 0; i < 100; ++i) {
        const int y = 40 + i * 4;
        drag({60 + i, y}, {840 - i, y + 30});
        if (i == 49)
            half = page();
    }
    const QImage end = page();
    ASSERT_EQ(probe::session(*f).history().undoCount(), 100u);
    for (int i = 0; i < 50; ++i)
        click(probe::ui(*f).undoButton);
    EXPECT_EQ(page(), half);
    for (int i = 0; i < 50; ++i)
        click(probe::ui(*f).undoButton);
    EXPECT_EQ(page(), start);
    EXPECT_FALSE(probe::ui(*f).undoButton->isEnabled());
    for (int i = 0; i < 100; ++i)
        click(probe::ui(*f).redoButton);
    EXPECT_EQ(page(), end);
}

TEST_F(Undo, KeysMenuAndPromptsAndTheClickCount) {
    EXPECT_FALSE(probe::ui(*f).undoButton->isEnabled());
    EXPECT_FALSE(probe::ui(*f).undoAction->isEnabled());
    EXPECT_FALSE(probe::ui(*f).redoButton->isEnabled());
    // Clear on an untouched page changes nothing: nothing to undo either.
    click(probe::ui(*f).clearButton);
    EXPECT_FALSE(probe::ui(*f).undoButton->isEnabled());
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    const QImage start = page();
    fill({200, 150});
    const QImage filled = page();
    const int clicks = probe::stats(*f).clickCount;

    QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page(), start);
    EXPECT_EQ(played(QStringLiteral("en_undo")), 1);
    QTest::keyClick(f, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(page(), filled);
    EXPECT_EQ(played(QStringLiteral("en_redo")), 1);
    QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(page(), filled);
    probe::ui(*f).undoAction->trigger();
    EXPECT_EQ(page(), start);
    // Nothing left to undo: no sound, no change.
    QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page(), start);
    EXPECT_EQ(played(QStringLiteral("en_undo")), 3);
    // The names played are the program's own recordings.
    for (const char* name : {"en_undo", "en_redo"})
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(name))))
            << name;
    // Going back and forth is not coloring: the statistics count presses on the page only.
    EXPECT_EQ(probe::stats(*f).clickCount, clicks);
}

TEST_F(Undo, ANewChangeAfterUndoClearsRedo) {
    fill({200, 150});
    fill({700, 150});
    click(probe::ui(*f).undoButton);
    ASSERT_TRUE(probe::ui(*f).redoButton->isEnabled());
    click(probe::ui(*f).brushButton);
    drag({100, 450}, {800, 450});
    const QImage drawn = page();
    EXPECT_FALSE(probe::ui(*f).redoButton->isEnabled());
    click(probe::ui(*f).redoButton);
    EXPECT_EQ(page(), drawn);
    // A press that changes nothing (the same fill again) is not a step.
    const size_t steps = probe::session(*f).history().undoCount();
    fill({700, 150});
    fill({700, 150});
    EXPECT_EQ(probe::session(*f).history().undoCount(), steps + 1);
}

TEST_F(Undo, TheBudgetDropsTheOldestAndKeepsTheNewest) {
    // A budget that holds about three whole-page fills of this small page.
    const QImage start = page();
    fill({450, 30});
    const size_t one = probe::session(*f).history().bytes();
    probe::session(*f).history() = PageHistory(one * 3 + one / 2);
    probe::session(*f).origin().pageIndex = probe::catalogue(*f).currentPageIndex;
    std::vector<QImage> states{page()};
    const TColor colors[] = {clRed,       clYellow, clGreen,  clBlue,
                             clLightBlue, clRed,    clYellow, clGreen};
    for (TColor c : colors) {
        probe::tools(*f).currentColor = c;
        clickPage({450, 30});
        states.push_back(page());
    }
    EXPECT_LE(probe::session(*f).history().bytes(), one * 3 + one / 2);
    const size_t kept = probe::session(*f).history().undoCount();
    EXPECT_GE(kept, 2u);
    EXPECT_LT(kept, 8u);
    for (size_t i = 0; i < kept; ++i)
        click(probe::ui(*f).undoButton);
    EXPECT_EQ(page(), states[states.size() - 1 - kept]);
    EXPECT_NE(page(), start);
    for (size_t i = 0; i < kept; ++i)
        click(probe::ui(*f).redoButton);
    EXPECT_EQ(page(), states.back());
}

TEST_F(Undo, AStrokeUnderTheFingerEndsBeforeUndoAndGoesWhole) {
    click(probe::ui(*f).brushButton);
    const QImage start = page();
    QTest::mousePress(probe::ui(*f).drawingArea, Qt::LeftButton, {}, {100, 100});
    QTest::mouseMove(probe::ui(*f).drawingArea, {400, 300});
    // Undo while the button is held does nothing; the stroke is one step once released.
    f->onUndoClicked();
    EXPECT_NE(page(), start);
    QTest::mouseMove(probe::ui(*f).drawingArea, {600, 300});
    QTest::mouseRelease(probe::ui(*f).drawingArea, Qt::LeftButton, {}, {600, 300});
    click(probe::ui(*f).undoButton);
    EXPECT_EQ(page(), start);
}
} // namespace

// Undo is the child's own: in child mode, with the parents' controls locked, the keys and the
// button still take a change back, and no grown-ups' question is asked.
TEST_F(Undo, WorksInLockedChildModeWithoutTheGate) {
    // The option is written to a settings folder of this test's own.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    struct Back {
        ~Back() {
            QSettings::setPath(
                QSettings::IniFormat, QSettings::UserScope,
                QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        }
    } back;
    probe::childMode(*f)->setEnabled(true);
    probe::childMode(*f)->lock.close();
    int asked = 0;
    probe::childMode(*f)->askGate = [&](const GateQuestion&) {
        ++asked;
        return false;
    };
    ASSERT_TRUE(probe::childMode(*f)->locked());
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    const QImage start = page();
    fill({200, 150});
    const QImage filled = page();
    QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page(), start);
    click(probe::ui(*f).redoButton);
    EXPECT_EQ(page(), filled);
    click(probe::ui(*f).undoButton);
    EXPECT_EQ(page(), start);
    EXPECT_EQ(asked, 0);
}

// The history packs a step behind the window: undo at once after a big change is still
// exact, and closing the window while a big step is packed loses neither the picture the
// autosave keeps nor memory (the sanitizer build).
TEST(UndoBehindTheWindow, ABigStepIsExactAtOnceAndClosingLosesNothing) {
    Harness h;
    h.dataFolder = h.dir.path() + QStringLiteral("/data/");
    QDir().mkpath(h.dataFolder);
    h.addArchive("book.pak", {{"one.bmp", bmpBytes(outlinePage(1920, 1080))}});
    MainWindow* f = &h.make(true, QSize(1920, 1080));
    ASSERT_GT(probe::catalogue(*f).currentPageIndex, 0);
    const QString path = f->autosavePath();
    QTest::mouseClick(probe::ui(*f).fillButton, Qt::LeftButton);
    QTest::mouseClick(probe::ui(*f).textureBoxes[2], Qt::LeftButton);
    const QImage start = probe::session(*f).canvas()->image.copy();
    // The margin round the boxes: most of the page, in a texture that packs worst.
    QTest::mouseClick(probe::ui(*f).drawingArea, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage textured = probe::session(*f).canvas()->image.copy();
    ASSERT_NE(textured, start);
    f->onUndoClicked();
    EXPECT_EQ(probe::session(*f).canvas()->image, start);
    f->onRedoClicked();
    EXPECT_EQ(probe::session(*f).canvas()->image, textured);

    // Another texture in the big box, and the window closed at once.
    QTest::mouseClick(probe::ui(*f).textureBoxes[4], Qt::LeftButton);
    QTest::mouseClick(probe::ui(*f).drawingArea, Qt::LeftButton, {}, QPoint(960, 800));
    const QImage last = probe::session(*f).canvas()->image.copy();
    ASSERT_NE(last, textured);
    f->close();
    h.form.reset();
    const auto saved = ReadAutosave(path);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->picture.convertToFormat(QImage::Format_RGB32), last);
}

// Clear hands back the page as it was laid out from a copy taken on a worker thread: strokes
// made while the copy is taken, and after, never reach it, and the page keeps its lines.
TEST_F(Undo, ClearPutsBackThePageAsLaidOutHoweverSoonTheChildPaints) {
    probe::optionsDialog(*f)->outlinesStayCheck->setChecked(true);
    const QImage laidOut = page();
    const auto brushAcross = [&] {
        click(probe::ui(*f).brushButton);
        drag({20, 250}, {880, 250});
        click(probe::ui(*f).fillButton);
    };
    brushAcross();
    const QImage stroked = page();
    ASSERT_NE(stroked, laidOut);
    QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier);
    click(probe::ui(*f).clearButton);
    EXPECT_EQ(page(), laidOut);
    for (int round = 0; round < 3; ++round) {
        // The first round paints at once, before the page is copied; the others once it is.
        if (round > 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return WindowProbe::cleanPageReady(*f); }, 5000));
        }
        fill({200, 150});
        drag({50, 50}, {800, 450});
        // Undo lets Clear go back to the page rather than to the white sheet.
        QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier);
        fill({450, 250});
        click(probe::ui(*f).clearButton);
        EXPECT_EQ(page(), laidOut) << "round " << round;
    }
    // Its lines came back with it: a stroke across them leaves them as it did.
    brushAcross();
    EXPECT_EQ(page(), stroked);
}
