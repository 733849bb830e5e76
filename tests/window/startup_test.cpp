// Start-up, settings, catalogue, page loading and Clear, driven through the real window.
#include "app/application.h"
#include "app/options.h"
#include "app/widgets.h"
#include "base/cp1251.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
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

int nodeIndexOf(MainWindow& f, const QString& text) {
    for (size_t i = 0; i < probe::catalogue(f).catalogueNodes.size(); ++i)
        if (probe::catalogue(f).catalogueNodes[i]->text(0) == text)
            return int(i);
    return -1;
}

// A page whose pixel at its centre is black, everything else white.
QByteArray dotPage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(w / 2, h / 2, qRgb(0, 0, 0));
    return bmpBytes(img);
}
} // namespace

TEST(Startup, FirstShowSetsTheInitialToolStateSilently) {
    Harness h;
    h.addArchive("animals.pak", {{"cat.bmp", bmpBytes(outlinePage(200, 150))}});
    MainWindow& f = h.make();
    EXPECT_EQ(probe::tools(f).toolValue, tool::Fill);
    EXPECT_EQ(probe::tools(f).currentColor, clBlue);
    EXPECT_TRUE(probe::tools(f).colorMode.isEmpty());
    EXPECT_EQ(probe::tools(f).penSize, 25);
    EXPECT_EQ(probe::tools(f).stampKind, stampkind::Snow);
    EXPECT_EQ(probe::tools(f).fillStyle, fillstyle::Normal);
    EXPECT_EQ(probe::ui(f).toolOptionPages->currentWidget(), probe::ui(f).fillOptions);
    EXPECT_FALSE(probe::ui(f).loadingLabel->isVisible());
    EXPECT_FALSE(probe::ui(f).loadingBlinkTimer->isActive());
    EXPECT_EQ(probe::stats(f).colorCounts[5].Name, QStringLiteral("Light blue"));
    // Sound is off by default, so nothing at all was played.
    EXPECT_TRUE(h.sound.played().empty());
    // The one page was drawn by Random: currentPageIndex is its node.
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, 1);
    ASSERT_TRUE(probe::session(f).canvas());
    EXPECT_EQ(probe::session(f).canvas()->image.size(), probe::ui(f).drawingArea->size());
}

TEST(Startup, MissingConfigGivesDefaultsAndCloseWritesAllFourKeys) {
    Harness h;
    MainWindow& f = h.make();
    EXPECT_EQ(probe::ui(f).paletteTabs->currentIndex(), 0);
    EXPECT_TRUE(probe::optionsDialog(f)->fullScreenCheck->isChecked());
    EXPECT_TRUE(probe::optionsDialog(f)->silentCheck->isChecked());
    EXPECT_FALSE(probe::optionsDialog(f)->mouseOutCheck->isChecked());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    probe::ui(f).paletteTabs->setCurrentIndex(1);
    probe::optionsDialog(f)->silentCheck->setChecked(false);
    f.close();
    EXPECT_EQ(readAll(h.programDir() + "/config.ini"),
              toCp1251(QStringLiteral(
                  "[Настройки]\r\nИнтерфейс=Детский\r\nМышка=0\r\nЭкран=1\r\nЗвук=0\r\n")));
    EXPECT_FALSE(probe::session(f).canvas());
}

TEST(Startup, StoredSettingsAreAppliedAndOtherSectionsDropped) {
    Harness h;
    writeFile(
        h.programDir() + "/config.ini",
        toCp1251(QStringLiteral("[Extra]\r\nx=1\r\n[Настройки]\r\nИнтерфейс=МАЛЫШ\r\nМышка=1\r\n"
                                "Экран=abc\r\nЗвук=0\r\n")));
    MainWindow& f = h.make();
    EXPECT_EQ(probe::ui(f).paletteTabs->currentIndex(), 1); // case differs: Kids
    EXPECT_TRUE(probe::optionsDialog(f)->mouseOutCheck->isChecked());
    EXPECT_TRUE(probe::optionsDialog(f)->fullScreenCheck->isChecked()); // not a number: default on
    EXPECT_FALSE(probe::optionsDialog(f)->silentCheck->isChecked());
    // Sound on: the first page load said "S1".
    EXPECT_EQ(h.sound.played(), std::vector<QString>({"S1"}));
    // Checking "Disable sound" silences the very next prompt.
    probe::optionsDialog(f)->silentCheck->setChecked(true);
    probe::ui(f).tinyPenButton->click();
    EXPECT_EQ(h.sound.played().size(), 1u);
    f.close();
    const QString text = fromCp1251(readAll(h.programDir() + "/config.ini"));
    EXPECT_FALSE(text.contains("Extra"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Настройки]\r\nИнтерфейс=Детский")));
}

TEST(Startup, UnreadableConfigIsReportedAndStartupGoesOn) {
    Harness h;
    QDir().mkpath(h.programDir() + "/config.ini");
    MainWindow& f = h.make();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text,
              QStringLiteral("Error loading to configuration file config.ini!"));
    EXPECT_EQ(h.messages.shown[0].title, QStringLiteral("Error"));
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(probe::ui(f).paletteTabs->currentIndex(), 1); // as designed
    EXPECT_FALSE(probe::optionsDialog(f)->silentCheck->isChecked());
    f.close();
    ASSERT_EQ(h.messages.shown.size(), 2u);
    EXPECT_EQ(h.messages.shown[1].text,
              QStringLiteral("Error writing to configuration file config.ini!"));
}

TEST(Startup, StaleTempFileIsDeletedButAFolderIsKept) {
    Harness h;
    writeFile(h.programDir() + "/temp", "x");
    h.make(false);
    EXPECT_FALSE(QFile::exists(h.programDir() + "/temp"));
    Harness h2;
    QDir().mkpath(h2.programDir() + "/temp");
    h2.make(false);
    EXPECT_TRUE(QFileInfo(h2.programDir() + "/temp").isDir());
}

TEST(Catalogue, TreeListsArchivesAndPagesInOrder) {
    Harness h;
    h.addArchive(
        "animals.pak",
        {{"cat.bmp", dotPage(40, 40)}, {"dog.bmp", dotPage(40, 40)}, {"sun.bmp", dotPage(40, 40)}});
    h.addArchive("empty.pak", {});
    MainWindow& f = h.make(false);
    ASSERT_EQ(f.catalogueNodeCount(), 5);
    QStringList texts;
    for (auto* n : probe::catalogue(f).catalogueNodes)
        texts << n->text(0);
    // Directory order is the file system's; check each archive's own block.
    // Archives read as words; the file name stays in the tooltip for the grown-ups.
    const int a = nodeIndexOf(f, "Animals (3)");
    ASSERT_GE(a, 0);
    EXPECT_EQ(probe::catalogue(f).catalogueNodes[a]->toolTip(0), QString("animals.pak"));
    EXPECT_EQ(probe::catalogue(f).catalogueNodes[a + 1]->text(0), QString("cat"));
    EXPECT_EQ(probe::catalogue(f).catalogueNodes[a + 3]->text(0), QString("sun"));
    EXPECT_GE(nodeIndexOf(f, "Empty (0)"), 0);
    EXPECT_TRUE(QFile::exists(h.tempDir() + "raskraska/dog.bmp"));
    EXPECT_FALSE(probe::catalogue(f).catalogueNodes[a]->isExpanded());
}

TEST(Catalogue, RandomNeverRepeatsThePageNorDrawsAnArchive) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}, {"p2.bmp", dotPage(20, 20)}});
    h.addArchive("b.pak", {{"p3.bmp", dotPage(20, 20)}});
    MainWindow& f = h.make();
    std::set<int> seen;
    for (int i = 0; i < 60; ++i) {
        const int before = probe::catalogue(f).currentPageIndex;
        probe::tools(f).fillTexture = 3;
        f.onRandomPageClicked();
        EXPECT_NE(probe::catalogue(f).currentPageIndex, before);
        EXPECT_EQ(probe::catalogue(f)
                      .catalogueNodes[probe::catalogue(f).currentPageIndex]
                      ->data(0, Qt::UserRole)
                      .toInt(),
                  2);
        EXPECT_EQ(
            probe::stats(f).pageCounts[probe::catalogue(f).currentPageIndex].Name,
            probe::catalogue(f).catalogueNodes[probe::catalogue(f).currentPageIndex]->text(0));
        EXPECT_EQ(probe::tools(f).fillTexture, 0);
        seen.insert(probe::catalogue(f).currentPageIndex);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(Catalogue, RandomWithNothingNewKeepsThePageOrShowsTheNoPagesLabels) {
    Harness h;
    h.addArchive("one.pak", {{"only.bmp", dotPage(20, 20)}});
    MainWindow& f = h.make();
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, 1);
    f.onRandomPageClicked(); // must not loop
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, 1);

    Harness empty;
    MainWindow& g = empty.make();
    EXPECT_TRUE(probe::ui(g).noPagesLabel->isVisible());
    EXPECT_TRUE(probe::ui(g).siteLinkLabel->isVisible());
    EXPECT_EQ(probe::ui(g).noPagesLabel->y(), 115);
    EXPECT_EQ(probe::catalogue(g).currentPageIndex, 0);
    ASSERT_TRUE(probe::session(g).canvas());
    EXPECT_EQ(probe::session(g).canvas()->image.pixel(probe::session(g).canvas()->width() / 2,
                                                      probe::session(g).canvas()->height() / 2),
              qRgb(255, 255, 255));

    Harness archivesOnly;
    archivesOnly.addArchive("e.pak", {});
    MainWindow& e = archivesOnly.make();
    EXPECT_EQ(probe::catalogue(e).currentPageIndex, 0);
    EXPECT_FALSE(probe::ui(e).noPagesLabel->isVisible());
}

TEST(Catalogue, TreeClickLoadsPageNodesOnly) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}, {"p2.bmp", dotPage(20, 20)}});
    MainWindow& f = h.make();
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[0]);
    const int before = probe::catalogue(f).currentPageIndex;
    probe::tools(f).fillTexture = 4;
    f.onCatalogueItemClicked();
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, before);
    const int target = before == 1 ? 2 : 1;
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[target]);
    f.onCatalogueItemClicked();
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, target);
    EXPECT_EQ(probe::tools(f).fillTexture, 4); // a tree click keeps the texture
}

TEST(Catalogue, CatalogueButtonOpensTheTreePanel) {
    Harness h;
    MainWindow& f = h.make();
    f.onCatalogueButtonClicked();
    EXPECT_TRUE(probe::ui(f).cataloguePanel->isVisible());
    EXPECT_FALSE(probe::ui(f).statisticsPanel->isVisible());
    EXPECT_EQ(probe::ui(f).rightPanel->width(), 430);
}

TEST(Catalogue, OpenFolderCommand) {
    Harness h;
    MainWindow& f = h.make();
    f.onOpenFolderClicked();
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_EQ(QDir(h.shell.opened[0]).canonicalPath(),
              QDir(h.programDir() + "/save").canonicalPath());
    QDir(h.programDir() + "/save").removeRecursively();
    f.onOpenFolderClicked();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, QStringLiteral("No coloring book!"));
    EXPECT_EQ(h.messages.shown[0].title, QStringLiteral("Information"));
}

TEST(Loading, PageIsFittedWithMarginsAndKeepsItsColors) {
    Harness h;
    QImage src(60, 80, QImage::Format_RGB32);
    src.fill(qRgb(10, 200, 30));
    h.addArchive("a.pak", {{"green.bmp", bmpBytes(src)}});
    MainWindow& f = h.make(true, QSize(900, 500));
    ASSERT_EQ(probe::session(f).canvas()->image.size(), QSize(900, 500));
    const QImage& img = probe::session(f).canvas()->image;
    // 60 x 80 into 860 x 460: 345 x 460 at (277, 20).
    EXPECT_EQ(img.pixel(277, 20), qRgb(10, 200, 30));
    EXPECT_EQ(img.pixel(621, 479), qRgb(10, 200, 30));
    EXPECT_EQ(img.pixel(276, 250), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(622, 250), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(450, 19), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(450, 480), qRgb(255, 255, 255));
}

TEST(Loading, DamagedCataloguePageIsReportedAndThePictureStays) {
    Harness h;
    h.addArchive("a.pak", {{"good.bmp", dotPage(20, 20)}, {"bad.bmp", "not a bitmap at all"}});
    MainWindow& f = h.make();
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[1]);
    f.onCatalogueItemClicked();
    h.messages.shown.clear(); // Random at start may have drawn the bad page
    const QImage before = probe::session(f).canvas()->image;
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[2]);
    reportErrors(&h.messages, [&] { f.onCatalogueItemClicked(); });
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(probe::session(f).canvas()->image == before);
}

TEST(Loading, OpenCommandLoadsAnyFileAndSaysWhyOneCannotBeOpened) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}});
    MainWindow& f = h.make();
    const int page = probe::catalogue(f).currentPageIndex;
    // A name that does not exist gives the white sheet.
    h.dialogs.openAnswer = h.dir.path() + "/nothing.bmp";
    f.onOpenClicked();
    for (const char* pattern : {"*.png", "*.jpg", "*.bmp", "*.gif", "*.webp", "*.svg"})
        EXPECT_TRUE(h.dialogs.opened.back().filter.contains(QLatin1String(pattern))) << pattern;
    EXPECT_EQ(QDir(h.dialogs.opened.back().initialDir).canonicalPath(),
              QDir(h.programDir() + "/save").canonicalPath());
    const QImage& img = probe::session(f).canvas()->image;
    EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), qRgb(255, 255, 255));
    EXPECT_TRUE(h.messages.shown.empty());
    // Garbage: the picture stays, and the parent is told which file could not be opened.
    writeFile(h.dir.path() + "/junk.bmp", "BM garbage");
    h.dialogs.openAnswer = h.dir.path() + "/junk.bmp";
    const QImage before = probe::session(f).canvas()->image;
    f.onOpenClicked();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].text.startsWith("junk.bmp\n"));
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(probe::session(f).canvas()->image, before);
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, page);
}

TEST(Loading, ClearRestoresThePageThenGivesAWhiteSheet) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}});
    MainWindow& f = h.make();
    auto centre = [&] {
        return probe::session(f).canvas()->image.pixel(probe::session(f).canvas()->width() / 2,
                                                       probe::session(f).canvas()->height() / 2);
    };
    ASSERT_EQ(centre(), qRgb(0, 0, 0));
    // A press happened: the first Clear brings the page back, colored or not.
    probe::catalogue(f).pageIndexAtLastClear = 0;
    probe::session(f).canvas()->fillRect(probe::session(f).canvas()->rect(), clRed);
    probe::tools(f).fillStyle = fillstyle::Special;
    probe::tools(f).fillTexture = 2;
    f.onClearClicked();
    EXPECT_EQ(centre(), qRgb(0, 0, 0));
    EXPECT_EQ(probe::tools(f).fillStyle, fillstyle::Normal);
    EXPECT_EQ(probe::tools(f).fillTexture, 0);
    // The second, with no press between: white sheet; and it stays white.
    f.onClearClicked();
    EXPECT_EQ(centre(), qRgb(255, 255, 255));
    f.onClearClicked();
    EXPECT_EQ(centre(), qRgb(255, 255, 255));
    // A picture opened by hand comes back clean from its own file, not the last catalogue
    // page, and still after undo and redo have gone past it.
    QImage other(20, 20, QImage::Format_RGB32);
    other.fill(qRgb(0, 0, 200));
    writeFile(h.dir.path() + "/other.bmp", bmpBytes(other));
    h.dialogs.openAnswer = h.dir.path() + "/other.bmp";
    f.onOpenClicked();
    ASSERT_EQ(centre(), qRgb(0, 0, 200));
    QTest::mouseClick(probe::ui(f).drawingArea, Qt::LeftButton, {},
                      QPoint(5, 5)); // a blue fill over it
    f.onUndoClicked();
    f.onUndoClicked(); // back to the white sheet
    f.onRedoClicked();
    f.onRedoClicked();
    probe::catalogue(f).pageIndexAtLastClear = 0;
    probe::session(f).canvas()->fillRect(probe::session(f).canvas()->rect(), clRed);
    f.onClearClicked();
    EXPECT_EQ(centre(), qRgb(0, 0, 200));
    // Once a catalogue page is picked, Clear is the catalogue's again.
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[1]);
    f.onCatalogueItemClicked();
    probe::catalogue(f).pageIndexAtLastClear = 0;
    probe::session(f).canvas()->fillRect(probe::session(f).canvas()->rect(), clRed);
    f.onClearClicked();
    EXPECT_EQ(centre(), qRgb(0, 0, 0));
}

TEST(Loading, WithNoCataloguePageTheFirstClearIsAlreadyWhite) {
    Harness h;
    MainWindow& f = h.make();
    h.dialogs.openAnswer = QString();
    probe::session(f).canvas()->fillRect(probe::session(f).canvas()->rect(), clRed);
    f.onClearClicked();
    EXPECT_EQ(probe::session(f).canvas()->image.pixel(5, 5), qRgb(255, 255, 255));
}
