// The child's statistics: the run's counters, the stat.dat history and the statistics panel.
#include "app/mainwindow.h"
#include "palette/swatches.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <iterator>

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

void setRow(QTableWidget* grid, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        grid->setItem(row, c, new QTableWidgetItem(cells[c]));
}
} // namespace

void TForm1::CountClick() {
    ++ClickCount;
    setText(Label_Clicks, QStringLiteral("Clicks counter: ") + QString::number(ClickCount));
    for (size_t i = 0; i < ColorCounts.size(); ++i)
        if (CurrentColor == kPaletteColors[i].color) {
            ++ColorCounts[i].Count;
            break;
        }
    // Index 0 is an archive node, the page before any was chosen from the catalogue.
    if (CurrentPageIndex > 0 && size_t(CurrentPageIndex) < PageCounts.size())
        ++PageCounts[size_t(CurrentPageIndex)].Count;
}

TFavorites TForm1::ComputeFavorites() {
    TFavorites f;
    f.color = strictFavorite(ColorCounts.begin(), ColorCounts.end());
    if (f.color >= 0)
        FavoriteColorText = cutShortString(ColorCounts[size_t(f.color)].Name);
    if (PageCounts.size() > 1) {
        const int p = strictFavorite(PageCounts.begin() + 1, PageCounts.end());
        if (p >= 0) {
            f.page = p + 1;
            FavoriteBookText = cutShortString(PageCounts[size_t(f.page)].Name);
        }
    }
    return f;
}

void TForm1::Statsave() {
    TStatRecord r;
    r.Clicks = ClickCount;
    r.Date = cutShortString(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    r.FavoriteColor = cutShortString(FavoriteColorText);
    r.FavoriteBook = cutShortString(FavoriteBookText);
    appendStatRecord(StatFilePath, r);
}

void TForm1::Statload() {
    // A history that exists but cannot be opened leaves the grid as it was.
    if (readStatFile(StatFilePath, StatHistory) == StatReadResult::Unopenable)
        return;
    // Row 0 of the grid is the table's header; the current run comes first below it.
    StringGrid1->clearContents();
    StringGrid1->setRowCount(int(StatHistory.size()) + 1);
    setRow(StringGrid1, 0,
           {QStringLiteral("->"), QStringLiteral("Now"), FavoriteBookText, FavoriteColorText,
            QString::number(ClickCount)});
    for (size_t k = 0; k < StatHistory.size(); ++k) {
        const TStatRecord& r = StatHistory[k];
        setRow(StringGrid1, int(k) + 1,
               {QString::number(k + 1), r.Date, r.FavoriteBook, r.FavoriteColor,
                QString::number(r.Clicks)});
    }
}

void TForm1::Button_StatClick() {
    const TFavorites f = ComputeFavorites();
    // The same words as the table's columns; a label with no value yet stays hidden.
    if (f.color >= 0)
        setText(Label_Color,
                QStringLiteral("Favorite color: ") + ColorCounts[size_t(f.color)].Name);
    Label_Color->setVisible(f.color >= 0);
    if (f.page >= 0)
        setText(Label_Raskraska,
                QStringLiteral("Favorite coloring book: ") + PageCounts[size_t(f.page)].Name);
    Label_Raskraska->setVisible(f.page >= 0);
    // While the panel is shown a second click refreshes the labels only.
    if (!Panel_Stat->isHidden())
        return;
    Panel_Tree->setVisible(false);
    Panel_Stat->setVisible(true);
    setRightPanelWidth(605);
    Panel_Stat->setFixedWidth(472);
    Statload();
    StringGrid1->setVisible(true);
}
