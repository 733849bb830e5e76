// The child's statistics: the run's counters, the stat.dat history and the statistics panel.
#include "app/choices.h"
#include "app/mainwindow.h"
#include "palette/swatches.h"

#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QTreeWidgetItem>
#include <iterator>
#include <optional>

namespace {
// The first entry whose count is strictly greater than every one before it and above 0:
// ties go to the earlier entry. -1 when every count is 0.
template <typename It> int strictFavorite(It first, It last) {
    int best = 0, chosen = -1;
    for (It it = first; it != last; ++it)
        if (it->Count > best) {
            best = it->Count;
            chosen = int(std::distance(first, it));
        }
    return chosen;
}

void setText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize(); // a long page name shows whole
}

// The statistics keep a colour's stored name; the reader sees it in their language. Records
// of older versions name it as the window's choice does (in Russian): those are read too.
const char* const kColorNames[] = {
    QT_TRANSLATE_NOOP("Colors", "Red"),    QT_TRANSLATE_NOOP("Colors", "Yellow"),
    QT_TRANSLATE_NOOP("Colors", "Orange"), QT_TRANSLATE_NOOP("Colors", "Green"),
    QT_TRANSLATE_NOOP("Colors", "Blue"),   QT_TRANSLATE_NOOP("Colors", "Light blue"),
    QT_TRANSLATE_NOOP("Colors", "Black"),  QT_TRANSLATE_NOOP("Colors", "White")};
static_assert(std::size(kColorNames) == kPaletteColors.size());

QString shownColor(const QString& stored) {
    std::optional<TColor> color;
    for (const ColorChoice& c : MainWindow::colorChoices())
        if (stored == c.value)
            color = c.color;
    for (size_t i = 0; i < kPaletteColors.size(); ++i)
        if (stored == QLatin1String(kPaletteColors[i].statName) || color == kPaletteColors[i].color)
            return QCoreApplication::translate("Colors", kColorNames[i]);
    return stored;
}

void setRow(QTableWidget* grid, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        grid->setItem(row, c, new QTableWidgetItem(cells[c]));
}
} // namespace

// The statistics keep each counted page under the name it has in the catalogue.
void MainWindow::nameInStatistics(int pageIndex) {
    if (pageIndex > 0 && size_t(pageIndex) < stats.pageCounts.size() &&
        size_t(pageIndex) < catalogue.catalogueNodes.size())
        stats.pageCounts[size_t(pageIndex)].Name =
            catalogue.catalogueNodes[size_t(pageIndex)]->text(0);
}

void MainWindow::countClick() {
    ++stats.clickCount;
    setText(ui.clicksLabel, tr("Clicks counter: %1").arg(stats.clickCount));
    for (size_t i = 0; i < stats.colorCounts.size(); ++i)
        if (tools.currentColor == kPaletteColors[i].color) {
            ++stats.colorCounts[i].Count;
            break;
        }
    // Index 0 is an archive node, the page before any was chosen from the catalogue.
    if (catalogue.currentPageIndex > 0 &&
        size_t(catalogue.currentPageIndex) < stats.pageCounts.size())
        ++stats.pageCounts[size_t(catalogue.currentPageIndex)].Count;
}

Favorites MainWindow::computeFavorites() {
    Favorites f;
    f.color = strictFavorite(stats.colorCounts.begin(), stats.colorCounts.end());
    if (f.color >= 0)
        stats.favoriteColorText = cutShortString(stats.colorCounts[size_t(f.color)].Name);
    if (stats.pageCounts.size() > 1) {
        const int p = strictFavorite(stats.pageCounts.begin() + 1, stats.pageCounts.end());
        if (p >= 0) {
            f.page = p + 1;
            stats.favoritePageText = cutShortString(stats.pageCounts[size_t(f.page)].Name);
        }
    }
    return f;
}

void MainWindow::saveStatistics() {
    TStatRecord r;
    r.Clicks = stats.clickCount;
    r.Date = cutShortString(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    r.FavoriteColor = cutShortString(stats.favoriteColorText);
    r.FavoriteBook = cutShortString(stats.favoritePageText);
    appendStatRecord(stats.statFilePath, r);
}

void MainWindow::loadStatistics() {
    // A history that exists but cannot be opened leaves the grid as it was.
    if (readStatFile(stats.statFilePath, stats.statHistory) == StatReadResult::Unopenable)
        return;
    // Row 0 of the grid is the table's header; the current run comes first below it.
    ui.historyTable->clearContents();
    ui.historyTable->setRowCount(int(stats.statHistory.size()) + 1);
    setRow(ui.historyTable, 0,
           {QStringLiteral("->"), tr("Now"), stats.favoritePageText,
            shownColor(stats.favoriteColorText), QString::number(stats.clickCount)});
    for (size_t k = 0; k < stats.statHistory.size(); ++k) {
        const TStatRecord& r = stats.statHistory[k];
        setRow(ui.historyTable, int(k) + 1,
               {QString::number(k + 1), r.Date, r.FavoriteBook, shownColor(r.FavoriteColor),
                QString::number(r.Clicks)});
    }
}

void MainWindow::showStatisticsTexts() {
    setText(ui.clicksLabel, tr("Clicks counter: %1").arg(stats.clickCount));
    const Favorites f = computeFavorites();
    // The same words as the table's columns; a label with no value yet stays hidden.
    if (f.color >= 0)
        setText(ui.favoriteColorLabel,
                tr("Favorite color: %1").arg(shownColor(stats.colorCounts[size_t(f.color)].Name)));
    ui.favoriteColorLabel->setVisible(f.color >= 0);
    if (f.page >= 0)
        setText(ui.favoritePageLabel,
                tr("Favorite coloring book: %1").arg(stats.pageCounts[size_t(f.page)].Name));
    ui.favoritePageLabel->setVisible(f.page >= 0);
}

void MainWindow::onStatisticsClicked() {
    showStatisticsTexts();
    // While the panel is shown a second click refreshes the labels only.
    if (!ui.statisticsPanel->isHidden())
        return;
    ui.cataloguePanel->setVisible(false);
    ui.statisticsPanel->setVisible(true);
    setRightPanelWidth(605);
    ui.statisticsPanel->setFixedWidth(472);
    loadStatistics();
    ui.historyTable->setVisible(true);
}
