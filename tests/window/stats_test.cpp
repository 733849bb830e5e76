#include "base/cp1251.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
const QString kLongPage = QStringLiteral("Ёжик и медвежонок в тумане"); // 26 characters

QString statPath(const Harness& h) {
    return h.dir.filePath(QStringLiteral("stat.dat"));
}

std::vector<TStatRecord> history(const Harness& h) {
    std::vector<TStatRecord> out;
    readStatFile(statPath(h), out);
    return out;
}

// The grid's rows below its header, cell by cell.
std::vector<QStringList> gridRows(const MainWindow& f) {
    std::vector<QStringList> rows;
    for (int r = 0; r < probe::ui(f).historyTable->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < probe::ui(f).historyTable->columnCount(); ++c) {
            const QTableWidgetItem* it = probe::ui(f).historyTable->item(r, c);
            cells << (it ? it->text() : QStringLiteral("<none>"));
        }
        rows.push_back(cells);
    }
    return rows;
}

void click(MainWindow& f, TColor color, int times) {
    probe::tools(f).currentColor = color;
    for (int i = 0; i < times; ++i)
        f.countClick();
}

void choosePage(MainWindow& f, int node) {
    probe::ui(f).catalogueTree->setCurrentItem(probe::catalogue(f).catalogueNodes[size_t(node)]);
    f.onCatalogueItemClicked();
}

void addPages(Harness& h, const QStringList& names) {
    std::vector<std::pair<QByteArray, QByteArray>> entries;
    for (const QString& n : names)
        entries.emplace_back(toCp1251(n + QStringLiteral(".bmp")), bmpBytes(outlinePage(60, 40)));
    h.addArchive(QStringLiteral("book.pak"), entries);
}

void appendRun(const Harness& h, int clicks) {
    TStatRecord r;
    r.Clicks = clicks;
    r.Date = QStringLiteral("day %1").arg(clicks);
    r.FavoriteColor = QStringLiteral("Green");
    r.FavoriteBook = QStringLiteral("page %1").arg(clicks);
    appendStatRecord(statPath(h), r);
}
} // namespace

TEST(Statistics, RunWithoutClicksSavesZeroTheDateAndNoFavorites) {
    Harness h;
    MainWindow& f = h.make();
    const QString before = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    f.close();
    const QString after = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const auto runs = history(h);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Clicks, 0);
    EXPECT_FALSE(runs[0].Date.isEmpty());
    EXPECT_TRUE(runs[0].Date == before.left(20) || runs[0].Date == after.left(20))
        << runs[0].Date.toStdString();
    EXPECT_EQ(runs[0].FavoriteColor, QString());
    EXPECT_EQ(runs[0].FavoriteBook, QString());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(Statistics, FavoriteColorTiesGoToTheEarlierColor) {
    Harness h;
    MainWindow& f = h.make();
    click(f, clYellow, 3); // yellow first, yet red comes first in the table
    click(f, clRed, 3);
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(probe::ui(f).favoriteColorLabel->text(), QStringLiteral("Favorite color: Red"));
    click(f, clYellow, 1);
    EXPECT_EQ(probe::ui(f).clicksLabel->text(), QStringLiteral("Clicks counter: 7"));
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(probe::ui(f).favoriteColorLabel->text(), QStringLiteral("Favorite color: Yellow"));
    f.close();
    ASSERT_EQ(history(h).size(), 1u);
    EXPECT_EQ(history(h)[0].FavoriteColor, QStringLiteral("Yellow"));
    EXPECT_EQ(history(h)[0].Clicks, 7);
}

TEST(Statistics, OnlyTheEightPaletteValuesCountTowardAColor) {
    Harness h;
    MainWindow& f = h.make(false);
    // Near misses of red and of the palette's black, the outline black, the multicolor marker.
    for (TColor c : {TColor(0x000000FE), TColor(0x001A1A1B), clBlack, MulticolorMarker})
        click(f, c, 2);
    EXPECT_EQ(probe::stats(f).clickCount, 8);
    probe::ui(f).statisticsButton->click();
    EXPECT_TRUE(probe::ui(f).favoriteColorLabel->isHidden()); // no label without a value
    EXPECT_EQ(probe::stats(f).favoriteColorText, QString());

    // A chart cell equal to a palette value counts toward that color, white included.
    click(f, clWhite, 1);
    click(f, clPaintBlack, 2);
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(probe::ui(f).favoriteColorLabel->text(), QStringLiteral("Favorite color: Black"));
    EXPECT_FALSE(probe::ui(f).favoriteColorLabel->isHidden());
    EXPECT_EQ(probe::stats(f).colorCounts[7].Count, 1);
}

TEST(Statistics, LongPageNameIsWholeOnTheLabelAndCutInTheRecord) {
    Harness h;
    addPages(h, {kLongPage});
    MainWindow& f = h.make(); // the first show picks the only page
    ASSERT_EQ(probe::catalogue(f).currentPageIndex, 1);
    click(f, clBlue, 2);
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(probe::ui(f).favoritePageLabel->text(),
              QStringLiteral("Favorite coloring book: ") + kLongPage);
    EXPECT_GE(probe::ui(f).favoritePageLabel->width(),
              probe::ui(f).favoritePageLabel->sizeHint().width());
    ASSERT_EQ(probe::ui(f).historyTable->rowCount(), 1);
    EXPECT_EQ(gridRows(f)[0],
              (QStringList{QStringLiteral("->"), QStringLiteral("Now"), kLongPage.left(20),
                           QStringLiteral("Blue"), QStringLiteral("2")}));
    f.close();
    ASSERT_EQ(history(h).size(), 1u);
    EXPECT_EQ(history(h)[0].FavoriteBook, kLongPage.left(20));
}

TEST(Statistics, FavoritePageTiesGoToTheLowestIndex) {
    Harness h;
    addPages(h, {QStringLiteral("Cat"), QStringLiteral("Dog"), QStringLiteral("Owl")});
    MainWindow& f = h.make(false); // nodes: 0 the archive, 1..3 the pages
    ASSERT_EQ(f.catalogueNodeCount(), 4);

    // Before any page is chosen the clicks count toward none.
    click(f, clRed, 4);
    probe::ui(f).statisticsButton->click();
    EXPECT_TRUE(probe::ui(f).favoritePageLabel->isHidden());
    EXPECT_EQ(probe::stats(f).favoritePageText, QString());

    choosePage(f, 3);
    click(f, clRed, 2);
    choosePage(f, 2);
    click(f, clRed, 2);
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(probe::ui(f).favoritePageLabel->text(),
              QStringLiteral("Favorite coloring book: Dog"));
    EXPECT_FALSE(probe::ui(f).favoritePageLabel->isHidden());

    choosePage(f, 3);
    click(f, clRed, 1);
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(probe::ui(f).favoritePageLabel->text(),
              QStringLiteral("Favorite coloring book: Owl"));

    // An index past the table is never written.
    probe::catalogue(f).currentPageIndex = 5000;
    click(f, clRed, 1);
    EXPECT_EQ(probe::stats(f).clickCount, 10);
    EXPECT_EQ(probe::stats(f).pageCounts.size(), 5u);
    EXPECT_EQ(probe::stats(f).pageCounts[0].Count, 0);
}

TEST(Statistics, MissingAndEmptyHistoryShowOnlyTheCurrentRun) {
    for (bool empty : {false, true}) {
        Harness h;
        if (empty) {
            QFile file(statPath(h));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        MainWindow& f = h.make();
        click(f, clGreen, 3);
        probe::ui(f).statisticsButton->click();
        EXPECT_EQ(probe::ui(f).historyTable->horizontalHeaderItem(4)->text(),
                  QStringLiteral("Number of clicks"));
        ASSERT_EQ(probe::ui(f).historyTable->rowCount(), 1) << "empty file: " << empty;
        EXPECT_EQ(gridRows(f)[0],
                  (QStringList{QStringLiteral("->"), QStringLiteral("Now"), QString(),
                               QStringLiteral("Green"), QStringLiteral("3")}));
        EXPECT_TRUE(probe::ui(f).historyTable->isVisible());
        EXPECT_FALSE(probe::ui(f).statisticsPanel->isHidden());
        EXPECT_TRUE(probe::ui(f).cataloguePanel->isHidden());
        QApplication::processEvents();
        EXPECT_EQ(probe::ui(f).rightPanel->width(), 605);
        EXPECT_EQ(probe::ui(f).statisticsPanel->width(), 472);
    }
}

TEST(Statistics, SavedRunsAreListedOldestFirst) {
    Harness h;
    for (int run = 1; run <= 3; ++run) {
        MainWindow& f = h.make(false);
        click(f, clOrange, run);
        probe::ui(f).statisticsButton->click(); // favorites are saved only once computed
        f.close();
    }
    MainWindow& f = h.make(false);
    probe::ui(f).statisticsButton->click();
    const auto rows = gridRows(f);
    ASSERT_EQ(rows.size(), 4u); // the header is the table's own, above these
    EXPECT_EQ(rows[0][0], QStringLiteral("->"));
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(rows[size_t(k)][0], QString::number(k));
        EXPECT_EQ(rows[size_t(k)][3], QStringLiteral("Orange"));
        EXPECT_EQ(rows[size_t(k)][4], QString::number(k));
    }
}

TEST(Statistics, PartialTrailingRecordIsDroppedAndOverwritten) {
    Harness h;
    appendRun(h, 11);
    appendRun(h, 12);
    {
        QFile file(statPath(h));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray(41, '\x7f'));
    }
    MainWindow& f = h.make(false);
    probe::ui(f).statisticsButton->click();
    const auto rows = gridRows(f);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1],
              (QStringList{QStringLiteral("1"), QStringLiteral("day 11"), QStringLiteral("page 11"),
                           QStringLiteral("Green"), QStringLiteral("11")}));
    EXPECT_EQ(rows[2][4], QStringLiteral("12"));
    click(f, clRed, 5);
    f.close();
    EXPECT_EQ(QFileInfo(statPath(h)).size(), 3 * 68);
    const auto runs = history(h);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].Clicks, 12);
    EXPECT_EQ(runs[2].Clicks, 5);
}

TEST(Statistics, SecondClickRefreshesOnlyTheLabels) {
    Harness h;
    MainWindow& f = h.make();
    probe::ui(f).statisticsButton->click();
    ASSERT_EQ(probe::ui(f).historyTable->rowCount(), 1);

    appendRun(h, 4);
    click(f, clRed, 2);
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(probe::ui(f).favoriteColorLabel->text(), QStringLiteral("Favorite color: Red"));
    EXPECT_EQ(probe::ui(f).clicksLabel->text(), QStringLiteral("Clicks counter: 2"));
    ASSERT_EQ(probe::ui(f).historyTable->rowCount(), 1);
    EXPECT_EQ(gridRows(f)[0][4], QStringLiteral("0"));

    // Opening it again after the catalogue closed it reads the file anew.
    probe::ui(f).catalogueButton->click();
    EXPECT_TRUE(probe::ui(f).statisticsPanel->isHidden());
    probe::ui(f).statisticsButton->click();
    const auto rows = gridRows(f);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][4], QStringLiteral("2"));
    EXPECT_EQ(rows[1][4], QStringLiteral("4"));
}

TEST(Statistics, UnopenableHistoryKeepsTheGridAndFailsTheSaveAloud) {
    Harness h;
    appendRun(h, 8);
    MainWindow& f = h.make();
    probe::ui(f).statisticsButton->click();
    const auto shown = gridRows(f);
    ASSERT_EQ(shown.size(), 2u);

    probe::ui(f).catalogueButton->click();
    ASSERT_TRUE(QFile::remove(statPath(h)));
    ASSERT_TRUE(QDir().mkpath(statPath(h))); // present, but no file to open
    click(f, clBlue, 3);
    probe::ui(f).statisticsButton->click();
    EXPECT_EQ(gridRows(f), shown);
    EXPECT_EQ(probe::ui(f).favoriteColorLabel->text(), QStringLiteral("Favorite color: Blue"));
    EXPECT_TRUE(h.messages.shown.empty());

    // Closing reports the failed save and still writes the settings.
    f.close();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].text.contains(QStringLiteral("stat.dat")));
    EXPECT_TRUE(QFileInfo::exists(h.programDir() + QStringLiteral("/config.ini")));
}
