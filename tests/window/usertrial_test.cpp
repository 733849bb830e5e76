// Faults found by using the program as a family would: start-up and close, pages with odd
// files, the rainbow, the magnifier, the chart, captions and the desktop.
#include "app/application.h"
#include "app/options.h"
#include "app/qtplatform.h"
#include "app/widgets.h"
#include "base/cp1251.h"
#include "base/rng.h"
#include "library/pageload.h"
#include "support/fakes.h"
#include "support/filelimit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <chrono>
#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& p, const QByteArray& b) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
}

// The smallest rectangle holding every black pixel, or an empty one.
QRect inkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

// A page whose whole edge is a black frame: its ink box is where the page was laid out.
QByteArray framePage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < w; ++x)
        img.setPixel(x, 0, 0), img.setPixel(x, h - 1, 0);
    for (int y = 0; y < h; ++y)
        img.setPixel(0, y, 0), img.setPixel(w - 1, y, 0);
    return bmpBytes(img);
}

void pressOnPage(MainWindow& f, QPoint p) {
    QTest::mousePress(probe::ui(f).drawingArea, Qt::LeftButton, {}, p);
    QTest::mouseRelease(probe::ui(f).drawingArea, Qt::LeftButton, {}, p);
}

bool reported(const FakeMessageBox& box, const QString& text) {
    for (const ShownMessage& m : box.shown)
        if (m.text == text)
            return true;
    return false;
}
} // namespace

// The window manager sizes the window after its first show: the first page is laid out
// again at the final size, until the child touches it.
TEST(UserTrial, StartPageIsLaidOutAtTheAreasFinalSizeUntilTouched) {
    Harness h;
    h.addArchive("a.pak", {{"frame.bmp", framePage(300, 200)}});
    MainWindow& f = h.make(true, QSize(900, 500));
    ASSERT_TRUE(probe::session(f).canvas());
    // A title bar takes 41 rows off the window.
    f.resize(f.width(), f.height() - 41);
    QApplication::processEvents();
    const QSize area = probe::ui(f).drawingArea->size();
    ASSERT_EQ(area, QSize(900, 459));
    EXPECT_EQ(probe::session(f).canvas()->image.size(), area);
    EXPECT_EQ(inkBox(probe::session(f).canvas()->image), layoutPage({300, 200}, area));

    // Once painted, the page keeps its size: the coloring is never thrown away.
    pressOnPage(f, {450, 230});
    const QImage colored = probe::session(f).canvas()->image;
    EXPECT_NE(colored.pixel(450, 230), qRgb(255, 255, 255));
    f.resize(f.width(), f.height() + 41);
    QApplication::processEvents();
    EXPECT_EQ(probe::session(f).canvas()->image, colored);
}

// A close request that arrives while the first show runs: the close sequence runs once,
// after the show, and the window goes; a second request appends nothing more.
TEST(UserTrial, CloseDuringTheFirstShowEndsTheRunWithOneRecord) {
    Harness h;
    h.addArchive("a.pak", {{"frame.bmp", framePage(300, 200)}});
    MainWindow& f = h.make(false);
    QTimer::singleShot(0, &f, &QWidget::close); // served inside the first show's pump
    f.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(readAll(h.dir.path() + "/stat.dat").size(), 68);
    EXPECT_TRUE(QFile::exists(h.programDir() + "/config.ini"));
    f.close();
    QApplication::processEvents();
    EXPECT_EQ(readAll(h.dir.path() + "/stat.dat").size(), 68);
}

TEST(UserTrial, AFailedSettingsWriteLeavesThePreviousConfigWhole) {
    Harness h;
    QDir().mkpath(h.programDir());
    const QByteArray before = toCp1251(
        QStringLiteral("[Настройки]\r\nИнтерфейс=Детский\r\nМышка=1\r\nЭкран=0\r\nЗвук=0\r\n"));
    writeFile(h.programDir() + "/config.ini", before);
    MainWindow& f = h.make();
    probe::ui(f).paletteTabs->setCurrentIndex(0);
    {
        FileSizeLimit full(20); // the disk fills up while the file is written
        f.close();
    }
    EXPECT_TRUE(
        reported(h.messages, QStringLiteral("Error writing to configuration file config.ini!")));
    EXPECT_EQ(readAll(h.programDir() + "/config.ini"), before);
    EXPECT_EQ(QDir(h.programDir()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("config.ini")});
}

TEST(UserTrial, PagesAreFoundWhateverTheCaseOfTheirExtension) {
    Harness h;
    h.addArchive("a.pak", {{"CAT.BMP", framePage(300, 200)}, {"dog.Bmp", framePage(200, 300)}});
    MainWindow& f = h.make();
    ASSERT_EQ(probe::catalogue(f).catalogueNodes.size(), 3u);
    for (int node : {1, 2}) {
        probe::ui(f).catalogueTree->setCurrentItem(
            probe::catalogue(f).catalogueNodes[size_t(node)]);
        f.onCatalogueItemClicked();
        EXPECT_FALSE(inkBox(probe::session(f).canvas()->image).isEmpty())
            << probe::catalogue(f).catalogueNodes[size_t(node)]->text(0).toStdString()
            << " loaded a white sheet";
    }
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(UserTrial, PageCountersFitTheTreeAfterTheCatalogueStoppedOnAnError) {
    Harness h;
    h.addArchive("a.pak", {{"cat.bmp", framePage(300, 200)}});
    // The scratch file cannot be made: a folder is in its way.
    QDir().mkpath(h.tempDir() + "raskraska/Bitmap.tmp");
    MainWindow& f = h.make();
    ASSERT_FALSE(h.messages.shown.empty());
    ASSERT_EQ(probe::catalogue(f).catalogueNodes.size(), 2u);
    ASSERT_EQ(probe::stats(f).pageCounts.size(), probe::catalogue(f).catalogueNodes.size() + 1);
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[1]);
    f.onCatalogueItemClicked();
    pressOnPage(f, {100, 100});
    pressOnPage(f, {200, 100});
    EXPECT_EQ(probe::stats(f).pageCounts[1].Count, 2);
}

TEST(UserTrial, ABitmapWithoutPixelsGivesTheWhiteSheetLikeAMissingFile) {
    QByteArray zeroWide = framePage(30, 20);
    for (int i = 18; i < 22; ++i)
        zeroWide[i] = 0;
    QByteArray zeroHigh = framePage(30, 20);
    for (int i = 22; i < 26; ++i)
        zeroHigh[i] = 0;
    Harness h;
    h.addArchive("a.pak", {{"wide.bmp", zeroWide}, {"high.bmp", zeroHigh}, {"none.bmp", ""}});
    MainWindow& f = h.make();
    for (int node : {1, 2, 3}) {
        ASSERT_TRUE(probe::session(f).canvas());
        probe::session(f).canvas()->fillRect(QRect(0, 0, 10, 10), clRed);
        probe::ui(f).catalogueTree->setCurrentItem(
            probe::catalogue(f).catalogueNodes[size_t(node)]);
        reportErrors(&h.messages, [&] { f.onCatalogueItemClicked(); });
        EXPECT_EQ(probe::session(f).canvas()->image.pixel(5, 5), qRgb(255, 255, 255)) << node;
        EXPECT_TRUE(inkBox(probe::session(f).canvas()->image).isEmpty()) << node;
    }
    for (const ShownMessage& m : h.messages.shown)
        ADD_FAILURE() << m.text.toStdString();
    EXPECT_TRUE(isEmptyBitmapFile(h.tempDir() + "raskraska/none.bmp"));
    EXPECT_FALSE(isEmptyBitmapFile(h.tempDir() + "raskraska/nothere.bmp"));
}

// The rainbow blot paints every hue with the fill and the brush, as the spray does.
TEST(UserTrial, RainbowFillAndBrushReachEveryComponent) {
    std::uint64_t tick = 1;
    rng::SetClockForTest([&] { return tick += 7919; });
    Harness h;
    MainWindow& f = h.make(true, QSize(500, 300));
    probe::setPage(f, std::make_unique<PageBitmapCanvas>(500, 300));
    probe::catalogue(f).currentPageIndex = 1;
    f.onRainbowClicked();
    int maxComponent[3] = {0, 0, 0};
    auto note = [&](TColor c) {
        for (int i = 0; i < 3; ++i)
            maxComponent[i] = std::max(maxComponent[i], int((c >> (8 * i)) & 0xFF));
    };
    for (int i = 0; i < 40; ++i) {
        pressOnPage(f, {250, 150});
        note(probe::tools(f).currentColor);
    }
    EXPECT_GE(maxComponent[2], 128) << "the fill never paints blue";
    EXPECT_GE(maxComponent[1], 128);
    EXPECT_GE(maxComponent[0], 128);

    QTest::mouseClick(probe::ui(f).brushButton, Qt::LeftButton);
    f.onRainbowClicked();
    int brushBlue = 0;
    QTest::mousePress(probe::ui(f).drawingArea, Qt::LeftButton, {}, {10, 10});
    for (int i = 0; i < 40; ++i) {
        QTest::mouseMove(probe::ui(f).drawingArea, {10 + i * 10, 10 + i * 5});
        brushBlue = std::max(brushBlue, int((probe::tools(f).currentColor >> 16) & 0xFF));
    }
    QTest::mouseRelease(probe::ui(f).drawingArea, Qt::LeftButton, {}, {400, 210});
    EXPECT_GE(brushBlue, 128) << "the brush never paints blue";
    rng::SetClockForTest([] {
        return std::uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    });
}

TEST(UserTrial, TheMagnifierShowsAFillAtOnce) {
    Harness h;
    MainWindow& f = h.make(true, QSize(500, 300));
    probe::setPage(f, std::make_unique<PageBitmapCanvas>(500, 300));
    probe::catalogue(f).currentPageIndex = 1;
    QTest::mousePress(probe::ui(f).drawingArea, Qt::RightButton, {}, {250, 150});
    QTest::mouseRelease(probe::ui(f).drawingArea, Qt::RightButton, {}, {250, 150});
    QTest::mouseMove(probe::ui(f).drawingArea, {30, 50});
    QTest::mouseMove(probe::ui(f).drawingArea, {250, 150});
    ASSERT_TRUE(probe::tools(f).magnifierOn);
    ASSERT_FALSE(probe::ui(f).magnifierLens->isHidden());
    ASSERT_FALSE(probe::ui(f).magnifierLens->pixmap().isNull());
    auto centre = [&] {
        return probe::ui(f)
            .magnifierLens->pixmap()
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .pixel(100, 100);
    };
    EXPECT_EQ(centre(), qRgb(255, 255, 255));
    pressOnPage(f, {250, 150});
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(250, 150), toQRgb(clBlue));
    EXPECT_EQ(centre(), toQRgb(clBlue));
}

TEST(UserTrial, CaptionsReadAsEnglishWithoutSlips) {
    Harness h;
    MainWindow& f = h.make();
    EXPECT_EQ(probe::optionsDialog(f)->windowTitle(), QStringLiteral("Program options"));
    h.dialogs.saveAnswer.reset();
    f.onSaveClicked();
    ASSERT_EQ(h.dialogs.saved.size(), 1u);
    EXPECT_EQ(h.dialogs.saved[0].title, QStringLiteral("Save coloring book"));
    h.input.answers = {QStringLiteral("Ann"), QStringLiteral("4")};
    h.network.online = true;
    reportErrors(&h.messages, [&] { f.onSendClicked(); });
    ASSERT_EQ(h.input.prompts.size(), 2u);
    EXPECT_EQ(h.input.prompts[0], QStringLiteral("Child's name"));
    EXPECT_EQ(h.input.prompts[1], QStringLiteral("Child's age"));
}

// No browser or file manager: the standard error report says so, whether nothing could be
// started or the desktop's opener gave up later.
TEST(UserTrial, AnAddressNothingCanOpenIsReported) {
    Harness h;
    MainWindow& f = h.make();
    h.shell.starts = false;
    f.onWriteToUsClicked();
    f.onViewGalleryClicked();
    f.onOpenFolderClicked();
    QTest::mouseClick(probe::ui(f).siteLinkLabel, Qt::LeftButton);
    ASSERT_EQ(h.messages.shown.size(), 4u);
    ASSERT_EQ(h.shell.opened.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(h.messages.shown[i].text.contains(h.shell.opened[i]))
            << h.messages.shown[i].text.toStdString();
        EXPECT_EQ(h.messages.shown[i].icon, MessageIcon::Error);
    }
    EXPECT_TRUE(h.messages.shown[0].text.contains(QStringLiteral("web browser")));
    EXPECT_TRUE(h.messages.shown[2].text.contains(QStringLiteral("file manager")));
    ASSERT_TRUE(h.shell.failed);
    h.shell.failed(QStringLiteral("http://example.org"));
    EXPECT_EQ(h.messages.shown.size(), 5u);
}

// The desktop's opener: missing, failing, or working.
TEST(UserTrial, TheDesktopOpenerReportsWhenItCannotOpen) {
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    QtShell shell;
    std::vector<QString> failures;
    shell.failed = [&](const QString& u) { failures.push_back(u); };
    EXPECT_FALSE(shell.open(QStringLiteral("http://127.0.0.1:1/"))); // no opener at all

    auto opener = [&](const char* body) {
        const QString p = bin.path() + "/xdg-open";
        QFile::remove(p);
        writeFile(p, QByteArray("#!/bin/sh\n") + body + "\n");
        QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    opener("exit 3"); // "no method available"
    EXPECT_TRUE(shell.open(QStringLiteral("http://127.0.0.1:1/")));
    for (int i = 0; i < 1000 && failures.empty(); ++i)
        QTest::qWait(10);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], QStringLiteral("http://127.0.0.1:1/"));
    opener("exit 0");
    EXPECT_TRUE(shell.open(bin.path()));
    QTest::qWait(300);
    EXPECT_EQ(failures.size(), 1u);
    qputenv("PATH", oldPath);
}

// With the fill tool, the chosen color shows on the watering can's body and on its drops.
TEST(UserTrial, TheWateringCanCursorCarriesTheColorOnItsBodyAndDrops) {
    Harness h;
    MainWindow& f = h.make();
    ASSERT_EQ(probe::tools(f).toolValue, tool::Fill);
    QTest::mouseClick(probe::ui(f).redBlot, Qt::LeftButton); // red
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    const QImage cursor = QGuiApplication::overrideCursor()->pixmap().toImage().convertToFormat(
        QImage::Format_ARGB32);
    ASSERT_EQ(cursor.size(), QSize(144, 102));
    const QPoint body[] = {{86, 50}, {100, 70}, {75, 30}};
    const QPoint drops[] = {{5, 23}, {11, 34}, {4, 45}, {17, 48}};
    for (QPoint p : body)
        EXPECT_EQ(cursor.pixel(p), 0xFFFF0000u) << "body at " << p.x() << "," << p.y();
    for (QPoint p : drops)
        EXPECT_EQ(cursor.pixel(p), 0xFFFF0000u) << "drop at " << p.x() << "," << p.y();
}

// However a side panel closes, the whole drawing area takes paint: an untouched page is laid
// out again at the full area, a touched one grows to it with new paper (one step back).
TEST(UserTrial, TheWholeAreaTakesPaintAfterASidePanelCloses) {
    Harness h;
    h.addArchive("a.pak", {{"frame.bmp", framePage(300, 200)}, {"tall.bmp", framePage(200, 300)}});
    MainWindow& f = h.make(true, QSize(900, 500));
    const QSize area = probe::ui(f).drawingArea->size();
    f.onCatalogueButtonClicked();
    QApplication::processEvents();
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[2]);
    f.onCatalogueItemClicked();
    ASSERT_LT(probe::session(f).canvas()->image.width(),
              area.width());      // laid out beside the open panel
    f.onCatalogueButtonClicked(); // "Coloring book" pressed again
    QApplication::processEvents();
    // A fill at the far right, where the narrow layout ended.
    const QPoint farRight(area.width() - 3, 3);
    pressOnPage(f, farRight);
    EXPECT_TRUE(probe::ui(f).cataloguePanel->isHidden());
    ASSERT_EQ(probe::session(f).canvas()->image.size(), area);
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(farRight),
              toQRgb(probe::tools(f).currentColor));
    EXPECT_EQ(inkBox(probe::session(f).canvas()->image), layoutPage({200, 300}, area));

    // Touched, then the area grows (full screen): a press anywhere gives the new strip paper,
    // and the fill reaches it; undo takes the fill back, then the paper.
    const QImage touched = probe::session(f).canvas()->image.copy();
    f.resize(f.width() + 120, f.height());
    QApplication::processEvents();
    ASSERT_EQ(probe::ui(f).drawingArea->width(), area.width() + 120);
    EXPECT_EQ(probe::session(f).canvas()->image, touched);
    f.applyChoice(QStringLiteral("Красный"), clRed, 0);
    const QPoint strip(area.width() + 60, 10);
    pressOnPage(f, strip);
    ASSERT_EQ(probe::session(f).canvas()->image.size(), probe::ui(f).drawingArea->size());
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(strip), toQRgb(clRed));
    f.onUndoClicked();
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(strip), qRgb(255, 255, 255));
    f.onUndoClicked();
    EXPECT_EQ(probe::session(f).canvas()->image, touched);
    f.onRedoClicked();
    f.onRedoClicked();
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(strip), toQRgb(clRed));
}
