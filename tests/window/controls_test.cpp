// The main window's controls: each one exists under its name in its place, every picture
// button shows a picture that fits, and the captions and menus read as designed.
#include "app/widgets.h"
#include "support/fakes.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <climits>
#include <gtest/gtest.h>

namespace {
bool isInside(const QObject* o, const QObject* ancestor) {
    for (const QObject* p = o; p; p = p->parent())
        if (p == ancestor)
            return true;
    return false;
}

// Qt's own buttons (tab scroll arrows, the menu bar's overflow) are not ours.
bool isQtInternal(const QToolButton* b) {
    return qobject_cast<QTabBar*>(b->parent()) || qobject_cast<QMenuBar*>(b->parent());
}

// A menu's items in order, separators as "-".
std::string menuTexts(const QMenu* m) {
    QStringList out;
    for (const QAction* a : m->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out.join(QLatin1Char('|')).toStdString();
}

// Painted pixels of an icon at the size the button shows it, and how many distinct colors.
std::pair<int, int> inkOf(const QIcon& icon, QSize size) {
    const QImage img = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    int ink = 0;
    QSet<QRgb> colors;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 0) {
                ++ink;
                colors.insert(img.pixel(x, y));
            }
    return {ink, int(colors.size())};
}

// Opaque dark pixels: the dot of a pen-size picture, whatever card it sits on.
int darkPixels(const QIcon& icon, QSize size) {
    const QImage img = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += qAlpha(p) > 128 && qGray(p) < 100;
        }
    return n;
}

const QStringList kPictureButtons = {
    "shapesButton",         "brushButton",        "eraserButton",     "fillButton",
    "statisticsButton",     "catalogueButton",    "stampsButton",     "sprayButton",
    "rotateButton",         "undoButton",         "redoButton",       "fillToLinesButton",
    "texturesBackButton",   "texturesNextButton", "hugePenButton",    "bigPenButton",
    "mediumPenButton",      "littlePenButton",    "tinyPenButton",    "snowflakesButton",
    "leavesButton",         "flowersButton",      "heartsButton",     "circleButton",
    "rectangleButton",      "triangleButton",     "lineButton",       "diamondButton",
    "hexagonButton",        "trapeziumButton",    "randomPageButton", "clearButton",
    "kidsRandomPageButton", "kidsClearButton"};
} // namespace

TEST(Controls, EveryNamedControlExistsOnceInItsPlace) {
    Harness h;
    MainWindow& f = h.make();
    struct Expect {
        const char* name;
        QObject* member;
        QObject* inside; // the panel or page the layout puts it on
    };
    const Expect controls[] = {
        {"centralPanel", probe::ui(f).centralPanel, &f},
        {"palettePanel", probe::ui(f).palettePanel, probe::ui(f).centralPanel},
        {"paletteTabs", probe::ui(f).paletteTabs, probe::ui(f).palettePanel},
        {"toddlerTab", probe::ui(f).toddlerTab, probe::ui(f).paletteTabs},
        {"kidsTab", probe::ui(f).kidsTab, probe::ui(f).paletteTabs},
        {"redBlot", probe::ui(f).redBlot, probe::ui(f).toddlerTab},
        {"yellowBlot", probe::ui(f).yellowBlot, probe::ui(f).toddlerTab},
        {"orangeBlot", probe::ui(f).orangeBlot, probe::ui(f).toddlerTab},
        {"greenBlot", probe::ui(f).greenBlot, probe::ui(f).toddlerTab},
        {"blueBlot", probe::ui(f).blueBlot, probe::ui(f).toddlerTab},
        {"lightBlueBlot", probe::ui(f).lightBlueBlot, probe::ui(f).toddlerTab},
        {"whiteBlot", probe::ui(f).whiteBlot, probe::ui(f).toddlerTab},
        {"blackBlot", probe::ui(f).blackBlot, probe::ui(f).toddlerTab},
        {"rainbowBlot", probe::ui(f).rainbowBlot, probe::ui(f).toddlerTab},
        {"randomPageButton", probe::ui(f).randomPageButton, probe::ui(f).toddlerTab},
        {"clearButton", probe::ui(f).clearButton, probe::ui(f).toddlerTab},
        {"chartFrame", probe::ui(f).chartFrame, probe::ui(f).kidsTab},
        {"colorChart", probe::ui(f).colorChart, probe::ui(f).chartFrame},
        {"kidsRainbowBlot", probe::ui(f).kidsRainbowBlot, probe::ui(f).kidsTab},
        {"kidsRandomPageButton", probe::ui(f).kidsRandomPageButton, probe::ui(f).kidsTab},
        {"kidsClearButton", probe::ui(f).kidsClearButton, probe::ui(f).kidsTab},
        {"toolColumn", probe::ui(f).toolColumn, probe::ui(f).centralPanel},
        {"shapesButton", probe::ui(f).shapesButton, probe::ui(f).toolColumn},
        {"brushButton", probe::ui(f).brushButton, probe::ui(f).toolColumn},
        {"eraserButton", probe::ui(f).eraserButton, probe::ui(f).toolColumn},
        {"fillButton", probe::ui(f).fillButton, probe::ui(f).toolColumn},
        {"rightPanel", probe::ui(f).rightPanel, probe::ui(f).centralPanel},
        {"rightButtonColumn", probe::ui(f).rightButtonColumn, probe::ui(f).rightPanel},
        {"statisticsButton", probe::ui(f).statisticsButton, probe::ui(f).rightButtonColumn},
        {"catalogueButton", probe::ui(f).catalogueButton, probe::ui(f).rightButtonColumn},
        {"stampsButton", probe::ui(f).stampsButton, probe::ui(f).rightButtonColumn},
        {"sprayButton", probe::ui(f).sprayButton, probe::ui(f).rightButtonColumn},
        {"cataloguePanel", probe::ui(f).cataloguePanel, probe::ui(f).rightPanel},
        {"catalogueTree", probe::ui(f).catalogueTree, probe::ui(f).cataloguePanel},
        {"statisticsPanel", probe::ui(f).statisticsPanel, probe::ui(f).rightPanel},
        {"statisticsTitle", probe::ui(f).statisticsTitle, probe::ui(f).statisticsPanel},
        {"clicksLabel", probe::ui(f).clicksLabel, probe::ui(f).statisticsPanel},
        {"favoriteColorLabel", probe::ui(f).favoriteColorLabel, probe::ui(f).statisticsPanel},
        {"favoritePageLabel", probe::ui(f).favoritePageLabel, probe::ui(f).statisticsPanel},
        {"historyTitle", probe::ui(f).historyTitle, probe::ui(f).statisticsPanel},
        {"historyTable", probe::ui(f).historyTable, probe::ui(f).statisticsPanel},
        {"centrePanel", probe::ui(f).centrePanel, probe::ui(f).centralPanel},
        {"pageColumn", probe::ui(f).pageColumn, probe::ui(f).centrePanel},
        {"optionStrip", probe::ui(f).optionStrip, probe::ui(f).pageColumn},
        {"toolOptionPages", probe::ui(f).toolOptionPages, probe::ui(f).optionStrip},
        {"fillOptions", probe::ui(f).fillOptions, probe::ui(f).toolOptionPages},
        {"penSizeOptions", probe::ui(f).penSizeOptions, probe::ui(f).toolOptionPages},
        {"stampOptions", probe::ui(f).stampOptions, probe::ui(f).toolOptionPages},
        {"shapeOptions", probe::ui(f).shapeOptions, probe::ui(f).toolOptionPages},
        {"pageActionsPanel", probe::ui(f).pageActionsPanel, probe::ui(f).optionStrip},
        {"rotateButton", probe::ui(f).rotateButton, probe::ui(f).pageActionsPanel},
        {"undoButton", probe::ui(f).undoButton, probe::ui(f).pageActionsPanel},
        {"redoButton", probe::ui(f).redoButton, probe::ui(f).pageActionsPanel},
        {"drawingArea", probe::ui(f).drawingArea, probe::ui(f).pageColumn},
        {"loadingLabel", probe::ui(f).loadingLabel, probe::ui(f).drawingArea},
        {"noPagesLabel", probe::ui(f).noPagesLabel, probe::ui(f).drawingArea},
        {"siteLinkLabel", probe::ui(f).siteLinkLabel, probe::ui(f).drawingArea},
        {"magnifierLens", probe::ui(f).magnifierLens, probe::ui(f).pageColumn},
        {"fillToLinesButton", probe::ui(f).fillToLinesButton, probe::ui(f).fillOptions},
        {"texturesBackButton", probe::ui(f).texturesBackButton, probe::ui(f).fillOptions},
        {"texturesNextButton", probe::ui(f).texturesNextButton, probe::ui(f).fillOptions},
        {"texturePreviewsButton", probe::ui(f).texturePreviewsButton, probe::ui(f).fillOptions},
        {"textureStrip", probe::ui(f).textureStrip, probe::ui(f).fillOptions},
        {"textureBox1", probe::ui(f).textureBoxes[0], probe::ui(f).textureStrip},
        {"textureBox2", probe::ui(f).textureBoxes[1], probe::ui(f).textureStrip},
        {"textureBox3", probe::ui(f).textureBoxes[2], probe::ui(f).textureStrip},
        {"textureBox4", probe::ui(f).textureBoxes[3], probe::ui(f).textureStrip},
        {"textureBox5", probe::ui(f).textureBoxes[4], probe::ui(f).textureStrip},
        {"textureBox6", probe::ui(f).textureBoxes[5], probe::ui(f).textureStrip},
        {"hugePenButton", probe::ui(f).hugePenButton, probe::ui(f).penSizeOptions},
        {"bigPenButton", probe::ui(f).bigPenButton, probe::ui(f).penSizeOptions},
        {"mediumPenButton", probe::ui(f).mediumPenButton, probe::ui(f).penSizeOptions},
        {"littlePenButton", probe::ui(f).littlePenButton, probe::ui(f).penSizeOptions},
        {"tinyPenButton", probe::ui(f).tinyPenButton, probe::ui(f).penSizeOptions},
        {"snowflakesButton", probe::ui(f).snowflakesButton, probe::ui(f).stampOptions},
        {"leavesButton", probe::ui(f).leavesButton, probe::ui(f).stampOptions},
        {"flowersButton", probe::ui(f).flowersButton, probe::ui(f).stampOptions},
        {"heartsButton", probe::ui(f).heartsButton, probe::ui(f).stampOptions},
        {"circleButton", probe::ui(f).circleButton, probe::ui(f).shapeOptions},
        {"rectangleButton", probe::ui(f).rectangleButton, probe::ui(f).shapeOptions},
        {"triangleButton", probe::ui(f).triangleButton, probe::ui(f).shapeOptions},
        {"lineButton", probe::ui(f).lineButton, probe::ui(f).shapeOptions},
        {"diamondButton", probe::ui(f).diamondButton, probe::ui(f).shapeOptions},
        {"hexagonButton", probe::ui(f).hexagonButton, probe::ui(f).shapeOptions},
        {"trapeziumButton", probe::ui(f).trapeziumButton, probe::ui(f).shapeOptions},
        {"loadingBlinkTimer", probe::ui(f).loadingBlinkTimer, &f},
        {"openAction", probe::ui(f).openAction, f.menuBar()},
        {"saveAction", probe::ui(f).saveAction, f.menuBar()},
        {"openFolderAction", probe::ui(f).openFolderAction, f.menuBar()},
        {"optionsAction", probe::ui(f).optionsAction, f.menuBar()},
        {"printAction", probe::ui(f).printAction, f.menuBar()},
        {"exitAction", probe::ui(f).exitAction, f.menuBar()},
        {"sendAction", probe::ui(f).sendAction, f.menuBar()},
        {"viewGalleryAction", probe::ui(f).viewGalleryAction, f.menuBar()},
        {"writeToUsAction", probe::ui(f).writeToUsAction, f.menuBar()},
        {"undoAction", probe::ui(f).undoAction, f.menuBar()},
        {"redoAction", probe::ui(f).redoAction, f.menuBar()},
    };
    for (const Expect& c : controls) {
        SCOPED_TRACE(c.name);
        const QList<QObject*> found = f.findChildren<QObject*>(QString::fromLatin1(c.name));
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found.front(), c.member);
        EXPECT_TRUE(isInside(found.front(), c.inside))
            << "not on " << c.inside->objectName().toStdString();
    }
    // The kinds the handlers rely on.
    EXPECT_TRUE(f.findChild<QTreeWidget*>(QStringLiteral("catalogueTree")));
    EXPECT_TRUE(f.findChild<QTableWidget*>(QStringLiteral("historyTable")));
    EXPECT_TRUE(f.findChild<DrawingArea*>(QStringLiteral("drawingArea")));
    EXPECT_TRUE(f.findChild<QStackedWidget*>(QStringLiteral("toolOptionPages")));
    EXPECT_TRUE(f.findChild<QTabWidget*>(QStringLiteral("paletteTabs")));
    for (const char* n :
         {"redBlot", "blackBlot", "rainbowBlot", "colorChart", "kidsRainbowBlot", "textureBox6"})
        EXPECT_TRUE(f.findChild<PictureBox*>(QString::fromLatin1(n))) << n;
    EXPECT_EQ(probe::ui(f).paletteTabs->count(), 2);
    EXPECT_EQ(probe::ui(f).toolOptionPages->count(), 4);
}

TEST(Controls, EveryPictureButtonShowsAPictureThatFits) {
    Harness h;
    MainWindow& f = h.make();
    // Exactly these buttons and the hidden texture refresh: a new button must get a picture.
    QStringList all;
    for (const QToolButton* b : f.findChildren<QToolButton*>())
        if (!isQtInternal(b))
            all << b->objectName();
    QStringList expected = kPictureButtons;
    expected << QStringLiteral("texturePreviewsButton");
    all.sort();
    expected.sort();
    EXPECT_EQ(all.join(QLatin1Char(' ')).toStdString(),
              expected.join(QLatin1Char(' ')).toStdString());
    EXPECT_FALSE(probe::ui(f).texturePreviewsButton->isVisibleTo(&f));

    for (const QString& name : kPictureButtons) {
        SCOPED_TRACE(name.toStdString());
        const auto* b = f.findChild<QToolButton*>(name);
        ASSERT_TRUE(b);
        ASSERT_FALSE(b->icon().isNull());
        const QSize is = b->iconSize();
        // A picture, not a blank or a flat square: a good part is painted, in several colors.
        const auto [ink, colors] = inkOf(b->icon(), is);
        EXPECT_GT(ink, is.width() * is.height() / 10);
        EXPECT_GE(colors, 3);
        // Picture and caption fit inside the button: nothing is cut off or shortened.
        EXPECT_LE(is.width(), b->width());
        EXPECT_LE(is.height(), b->height());
        EXPECT_LE(b->sizeHint().height(), b->height());
        if (!b->text().isEmpty())
            EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->text()) + 6, b->width());
        else
            EXPECT_LE(b->sizeHint().width(), b->width());
        // A caption goes under its picture; a button without one shows the picture alone.
        EXPECT_EQ(b->toolButtonStyle(),
                  b->text().isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    }
    // Pen sizes read from a huge dot down to a tiny one, in the order of their widths.
    int last = INT_MAX;
    for (QToolButton* b :
         {probe::ui(f).hugePenButton, probe::ui(f).bigPenButton, probe::ui(f).mediumPenButton,
          probe::ui(f).littlePenButton, probe::ui(f).tinyPenButton}) {
        const int dot = darkPixels(b->icon(), b->iconSize());
        EXPECT_LT(dot, last) << b->objectName().toStdString();
        EXPECT_GT(dot, 0) << b->objectName().toStdString();
        last = dot;
    }
}

TEST(Controls, TitleCaptionsAndMenusReadAsDesigned) {
    Harness h;
    MainWindow& f = h.make();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Pictaro"));
    const std::pair<QToolButton*, const char*> captions[] = {
        {probe::ui(f).randomPageButton, "Random"},
        {probe::ui(f).kidsRandomPageButton, "Random"},
        {probe::ui(f).clearButton, "Clear"},
        {probe::ui(f).kidsClearButton, "Clear"},
        {probe::ui(f).statisticsButton, "Statistics"},
        {probe::ui(f).catalogueButton, "Coloring book"},
        {probe::ui(f).rotateButton, "Rotate"},
        {probe::ui(f).undoButton, "Undo"},
        {probe::ui(f).redoButton, "Redo"}};
    for (const auto& [b, text] : captions)
        EXPECT_EQ(b->text(), QString::fromLatin1(text)) << b->objectName().toStdString();
    EXPECT_EQ(probe::ui(f).paletteTabs->tabText(0), QStringLiteral("Toddler"));
    EXPECT_EQ(probe::ui(f).paletteTabs->tabText(1), QStringLiteral("Kids"));
    EXPECT_EQ(probe::ui(f).paletteTabs->widget(0), probe::ui(f).toddlerTab);

    const QList<QAction*> top = f.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->text(), QStringLiteral("File"));
    EXPECT_EQ(
        menuTexts(top[0]->menu()),
        "Open coloring book...|Add pages...|Save coloring book...|Open folder coloring book|-|"
        "Options...|Print coloring book...|-|Exit");
    EXPECT_EQ(top[0]->menu()->actions().first(), probe::ui(f).openAction);
    EXPECT_EQ(top[0]->menu()->actions().last(), probe::ui(f).exitAction);
    EXPECT_EQ(top[1]->text(), QStringLiteral("Edit"));
    EXPECT_EQ(menuTexts(top[1]->menu()), "Undo|Redo");
    EXPECT_EQ(probe::ui(f).undoAction->shortcuts(),
              QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
    EXPECT_EQ(probe::ui(f).redoAction->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                                   QKeySequence(QStringLiteral("Ctrl+Y"))}));
    EXPECT_EQ(top[2]->text(), QStringLiteral("Children's works"));
    EXPECT_EQ(menuTexts(top[2]->menu()), "Send my coloring book|View works of children");
    EXPECT_EQ(top[2]->menu()->actions().first(), probe::ui(f).sendAction);
    const QList<QAction*> third = top[3]->menu()->actions();
    ASSERT_FALSE(third.isEmpty());
    EXPECT_EQ(third.first(), probe::ui(f).writeToUsAction);
    EXPECT_EQ(third.first()->text(), QStringLiteral("Write to us"));
}
