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

int nodeIndexOf(TForm1& f, const QString& text) {
    for (size_t i = 0; i < f.TreeNodes.size(); ++i)
        if (f.TreeNodes[i]->text(0) == text)
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
    TForm1& f = h.make();
    EXPECT_EQ(f.CurrentTool, tool::Fill);
    EXPECT_EQ(f.CurrentColor, clBlue);
    EXPECT_TRUE(f.ColorMode.isEmpty());
    EXPECT_EQ(f.PenSize, 25);
    EXPECT_EQ(f.StampKind, stampkind::Snow);
    EXPECT_EQ(f.FillStyle, fillstyle::Normal);
    EXPECT_EQ(f.PageControl_Dop->currentWidget(), f.Tab_Zalivka);
    EXPECT_FALSE(f.Label_Load->isVisible());
    EXPECT_FALSE(f.Timer_Color->isActive());
    EXPECT_EQ(f.ColorCounts[5].Name, QStringLiteral("Light blue"));
    // Sound is off by default, so nothing at all was played.
    EXPECT_TRUE(h.sound.played().empty());
    // The one page was drawn by Random: CurrentPageIndex is its node.
    EXPECT_EQ(f.CurrentPageIndex, 1);
    ASSERT_TRUE(f.PageBitmap);
    EXPECT_EQ(f.PageBitmap->image.size(), f.PaintBox1->size());
}

TEST(Startup, MissingConfigGivesDefaultsAndCloseWritesAllFourKeys) {
    Harness h;
    TForm1& f = h.make();
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    EXPECT_TRUE(f.Fm_Options->CheckBox_ScreenAll->isChecked());
    EXPECT_TRUE(f.Fm_Options->CheckBox_Sound->isChecked());
    EXPECT_FALSE(f.Fm_Options->CheckBox_MouseOut->isChecked());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    f.PageControl1->setCurrentIndex(1);
    f.Fm_Options->CheckBox_Sound->setChecked(false);
    f.close();
    EXPECT_EQ(readAll(h.programDir() + "/config.ini"),
              toCp1251(QStringLiteral(
                  "[Настройки]\r\nИнтерфейс=Детский\r\nМышка=0\r\nЭкран=1\r\nЗвук=0\r\n")));
    EXPECT_FALSE(f.PageBitmap);
}

TEST(Startup, StoredSettingsAreAppliedAndOtherSectionsDropped) {
    Harness h;
    writeFile(
        h.programDir() + "/config.ini",
        toCp1251(QStringLiteral("[Extra]\r\nx=1\r\n[Настройки]\r\nИнтерфейс=МАЛЫШ\r\nМышка=1\r\n"
                                "Экран=abc\r\nЗвук=0\r\n")));
    TForm1& f = h.make();
    EXPECT_EQ(f.PageControl1->currentIndex(), 1); // case differs: Kids
    EXPECT_TRUE(f.Fm_Options->CheckBox_MouseOut->isChecked());
    EXPECT_TRUE(f.Fm_Options->CheckBox_ScreenAll->isChecked()); // not a number: default on
    EXPECT_FALSE(f.Fm_Options->CheckBox_Sound->isChecked());
    // Sound on: the first page load said "S1".
    EXPECT_EQ(h.sound.played(), std::vector<QString>({"S1"}));
    // Checking "Disable sound" silences the very next prompt.
    f.Fm_Options->CheckBox_Sound->setChecked(true);
    f.BitBtn21Click();
    EXPECT_EQ(h.sound.played().size(), 1u);
    f.close();
    const QString text = fromCp1251(readAll(h.programDir() + "/config.ini"));
    EXPECT_FALSE(text.contains("Extra"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Настройки]\r\nИнтерфейс=Детский")));
}

TEST(Startup, UnreadableConfigIsReportedAndStartupGoesOn) {
    Harness h;
    QDir().mkpath(h.programDir() + "/config.ini");
    TForm1& f = h.make();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text,
              QStringLiteral("Error loading to configuration file config.ini!"));
    EXPECT_EQ(h.messages.shown[0].title, QStringLiteral("Error"));
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(f.PageControl1->currentIndex(), 1); // as designed
    EXPECT_FALSE(f.Fm_Options->CheckBox_Sound->isChecked());
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
    TForm1& f = h.make(false);
    ASSERT_EQ(f.TreeNodeCount(), 5);
    QStringList texts;
    for (auto* n : f.TreeNodes)
        texts << n->text(0);
    // Directory order is the file system's; check each archive's own block.
    // Archives read as words; the file name stays in the tooltip for the grown-ups.
    const int a = nodeIndexOf(f, "Animals (3)");
    ASSERT_GE(a, 0);
    EXPECT_EQ(f.TreeNodes[a]->toolTip(0), QString("animals.pak"));
    EXPECT_EQ(f.TreeNodes[a + 1]->text(0), QString("cat"));
    EXPECT_EQ(f.TreeNodes[a + 3]->text(0), QString("sun"));
    EXPECT_GE(nodeIndexOf(f, "Empty (0)"), 0);
    EXPECT_TRUE(QFile::exists(h.tempDir() + "raskraska/dog.bmp"));
    EXPECT_FALSE(f.TreeNodes[a]->isExpanded());
}

TEST(Catalogue, RandomNeverRepeatsThePageNorDrawsAnArchive) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}, {"p2.bmp", dotPage(20, 20)}});
    h.addArchive("b.pak", {{"p3.bmp", dotPage(20, 20)}});
    TForm1& f = h.make();
    std::set<int> seen;
    for (int i = 0; i < 60; ++i) {
        const int before = f.CurrentPageIndex;
        f.FillTexture = 3;
        f.Button_RndRaskraskaClick();
        EXPECT_NE(f.CurrentPageIndex, before);
        EXPECT_EQ(f.TreeNodes[f.CurrentPageIndex]->data(0, Qt::UserRole).toInt(), 2);
        EXPECT_EQ(f.PageCounts[f.CurrentPageIndex].Name, f.TreeNodes[f.CurrentPageIndex]->text(0));
        EXPECT_EQ(f.FillTexture, 0);
        seen.insert(f.CurrentPageIndex);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(Catalogue, RandomWithNothingNewKeepsThePageOrShowsTheNoPagesLabels) {
    Harness h;
    h.addArchive("one.pak", {{"only.bmp", dotPage(20, 20)}});
    TForm1& f = h.make();
    EXPECT_EQ(f.CurrentPageIndex, 1);
    f.Button_RndRaskraskaClick(); // must not loop
    EXPECT_EQ(f.CurrentPageIndex, 1);

    Harness empty;
    TForm1& g = empty.make();
    EXPECT_TRUE(g.Label_Error->isVisible());
    EXPECT_TRUE(g.Label_Error2->isVisible());
    EXPECT_EQ(g.Label_Error->y(), 115);
    EXPECT_EQ(g.CurrentPageIndex, 0);
    ASSERT_TRUE(g.PageBitmap);
    EXPECT_EQ(g.PageBitmap->image.pixel(g.PageBitmap->width() / 2, g.PageBitmap->height() / 2),
              qRgb(255, 255, 255));

    Harness archivesOnly;
    archivesOnly.addArchive("e.pak", {});
    TForm1& e = archivesOnly.make();
    EXPECT_EQ(e.CurrentPageIndex, 0);
    EXPECT_FALSE(e.Label_Error->isVisible());
}

TEST(Catalogue, TreeClickLoadsPageNodesOnly) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}, {"p2.bmp", dotPage(20, 20)}});
    TForm1& f = h.make();
    f.TreeView1->setCurrentItem(f.TreeNodes[0]);
    const int before = f.CurrentPageIndex;
    f.FillTexture = 4;
    f.TreeView1Click();
    EXPECT_EQ(f.CurrentPageIndex, before);
    const int target = before == 1 ? 2 : 1;
    f.TreeView1->setCurrentItem(f.TreeNodes[target]);
    f.TreeView1Click();
    EXPECT_EQ(f.CurrentPageIndex, target);
    EXPECT_EQ(f.FillTexture, 4); // a tree click keeps the texture
}

TEST(Catalogue, CatalogueButtonOpensTheTreePanel) {
    Harness h;
    TForm1& f = h.make();
    f.Button_FolderClick();
    EXPECT_TRUE(f.Panel_Tree->isVisible());
    EXPECT_FALSE(f.Panel_Stat->isVisible());
    EXPECT_EQ(f.Panel_Right->width(), 430);
}

TEST(Catalogue, OpenFolderCommand) {
    Harness h;
    TForm1& f = h.make();
    f.menu_openfolderClick();
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_EQ(QDir(h.shell.opened[0]).canonicalPath(),
              QDir(h.programDir() + "/save").canonicalPath());
    QDir(h.programDir() + "/save").removeRecursively();
    f.menu_openfolderClick();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, QStringLiteral("No coloring book!"));
    EXPECT_EQ(h.messages.shown[0].title, QStringLiteral("Information"));
}

TEST(Loading, PageIsFittedWithMarginsAndKeepsItsColors) {
    Harness h;
    QImage src(60, 80, QImage::Format_RGB32);
    src.fill(qRgb(10, 200, 30));
    h.addArchive("a.pak", {{"green.bmp", bmpBytes(src)}});
    TForm1& f = h.make(true, QSize(900, 500));
    ASSERT_EQ(f.PageBitmap->image.size(), QSize(900, 500));
    const QImage& img = f.PageBitmap->image;
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
    TForm1& f = h.make();
    f.TreeView1->setCurrentItem(f.TreeNodes[1]);
    f.TreeView1Click();
    h.messages.shown.clear(); // Random at start may have drawn the bad page
    const QImage before = f.PageBitmap->image;
    f.TreeView1->setCurrentItem(f.TreeNodes[2]);
    reportErrors(&h.messages, [&] { f.TreeView1Click(); });
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(f.PageBitmap->image == before);
}

TEST(Loading, OpenCommandLoadsAnyFileAndSaysWhyOneCannotBeOpened) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}});
    TForm1& f = h.make();
    const int page = f.CurrentPageIndex;
    // A name that does not exist gives the white sheet.
    h.dialogs.openAnswer = h.dir.path() + "/nothing.bmp";
    f.menu_openClick();
    for (const char* pattern : {"*.png", "*.jpg", "*.bmp", "*.gif", "*.webp", "*.svg"})
        EXPECT_TRUE(h.dialogs.opened.back().filter.contains(QLatin1String(pattern))) << pattern;
    EXPECT_EQ(QDir(h.dialogs.opened.back().initialDir).canonicalPath(),
              QDir(h.programDir() + "/save").canonicalPath());
    const QImage& img = f.PageBitmap->image;
    EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), qRgb(255, 255, 255));
    EXPECT_TRUE(h.messages.shown.empty());
    // Garbage: the picture stays, and the parent is told which file could not be opened.
    writeFile(h.dir.path() + "/junk.bmp", "BM garbage");
    h.dialogs.openAnswer = h.dir.path() + "/junk.bmp";
    const QImage before = f.PageBitmap->image;
    f.menu_openClick();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].text.startsWith("junk.bmp\n"));
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(f.PageBitmap->image, before);
    EXPECT_EQ(f.CurrentPageIndex, page);
}

TEST(Loading, ClearRestoresThePageThenGivesAWhiteSheet) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", dotPage(20, 20)}});
    TForm1& f = h.make();
    auto centre = [&] {
        return f.PageBitmap->image.pixel(f.PageBitmap->width() / 2, f.PageBitmap->height() / 2);
    };
    ASSERT_EQ(centre(), qRgb(0, 0, 0));
    // A press happened: the first Clear brings the page back, colored or not.
    f.StrokeSinceClear = 0;
    f.PageBitmap->fillRect(f.PageBitmap->rect(), clRed);
    f.FillStyle = fillstyle::Special;
    f.FillTexture = 2;
    f.Button_SterkaClick();
    EXPECT_EQ(centre(), qRgb(0, 0, 0));
    EXPECT_EQ(f.FillStyle, fillstyle::Normal);
    EXPECT_EQ(f.FillTexture, 0);
    // The second, with no press between: white sheet; and it stays white.
    f.Button_SterkaClick();
    EXPECT_EQ(centre(), qRgb(255, 255, 255));
    f.Button_SterkaClick();
    EXPECT_EQ(centre(), qRgb(255, 255, 255));
    // A picture opened by hand comes back clean from its own file, not the last catalogue
    // page, and still after undo and redo have gone past it.
    QImage other(20, 20, QImage::Format_RGB32);
    other.fill(qRgb(0, 0, 200));
    writeFile(h.dir.path() + "/other.bmp", bmpBytes(other));
    h.dialogs.openAnswer = h.dir.path() + "/other.bmp";
    f.menu_openClick();
    ASSERT_EQ(centre(), qRgb(0, 0, 200));
    QTest::mouseClick(f.PaintBox1, Qt::LeftButton, {}, QPoint(5, 5)); // a blue fill over it
    f.Button_UndoClick();
    f.Button_UndoClick(); // back to the white sheet
    f.Button_RedoClick();
    f.Button_RedoClick();
    f.StrokeSinceClear = 0;
    f.PageBitmap->fillRect(f.PageBitmap->rect(), clRed);
    f.Button_SterkaClick();
    EXPECT_EQ(centre(), qRgb(0, 0, 200));
    // Once a catalogue page is picked, Clear is the catalogue's again.
    f.TreeView1->setCurrentItem(f.TreeNodes[1]);
    f.TreeView1Click();
    f.StrokeSinceClear = 0;
    f.PageBitmap->fillRect(f.PageBitmap->rect(), clRed);
    f.Button_SterkaClick();
    EXPECT_EQ(centre(), qRgb(0, 0, 0));
}

TEST(Loading, WithNoCataloguePageTheFirstClearIsAlreadyWhite) {
    Harness h;
    TForm1& f = h.make();
    h.dialogs.openAnswer = QString();
    f.PageBitmap->fillRect(f.PageBitmap->rect(), clRed);
    f.Button_SterkaClick();
    EXPECT_EQ(f.PageBitmap->image.pixel(5, 5), qRgb(255, 255, 255));
}
