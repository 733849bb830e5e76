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

const QStringList kPictureButtons = {"shapesButton",
                                     "brushButton",
                                     "eraserButton",
                                     "fillButton",
                                     "statisticsButton",
                                     "catalogueButton",
                                     "stampsButton",
                                     "sprayButton",
                                     "rotateButton",
                                     "undoButton",
                                     "redoButton",
                                     "fillToLinesButton",
                                     "texturesBackButton",
                                     "texturesNextButton",
                                     "hugePenButton",
                                     "bigPenButton",
                                     "mediumPenButton",
                                     "littlePenButton",
                                     "tinyPenButton",
                                     "snowflakesButton",
                                     "leavesButton",
                                     "flowersButton",
                                     "heartsButton",
                                     "circleButton",
                                     "rectangleButton",
                                     "triangleButton",
                                     "lineButton",
                                     "diamondButton",
                                     "hexagonButton",
                                     "trapeziumButton",
                                     "randomPageButton",
                                     "clearButton",
                                     "kidsRandomPageButton",
                                     "kidsClearButton"};
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
        {"centralPanel", f.centralPanel, &f},
        {"palettePanel", f.palettePanel, f.centralPanel},
        {"paletteTabs", f.paletteTabs, f.palettePanel},
        {"toddlerTab", f.toddlerTab, f.paletteTabs},
        {"kidsTab", f.kidsTab, f.paletteTabs},
        {"redBlot", f.redBlot, f.toddlerTab},
        {"yellowBlot", f.yellowBlot, f.toddlerTab},
        {"orangeBlot", f.orangeBlot, f.toddlerTab},
        {"greenBlot", f.greenBlot, f.toddlerTab},
        {"blueBlot", f.blueBlot, f.toddlerTab},
        {"lightBlueBlot", f.lightBlueBlot, f.toddlerTab},
        {"whiteBlot", f.whiteBlot, f.toddlerTab},
        {"blackBlot", f.blackBlot, f.toddlerTab},
        {"rainbowBlot", f.rainbowBlot, f.toddlerTab},
        {"randomPageButton", f.randomPageButton, f.toddlerTab},
        {"clearButton", f.clearButton, f.toddlerTab},
        {"chartFrame", f.chartFrame, f.kidsTab},
        {"colorChart", f.colorChart, f.chartFrame},
        {"kidsRainbowBlot", f.kidsRainbowBlot, f.kidsTab},
        {"kidsRandomPageButton", f.kidsRandomPageButton, f.kidsTab},
        {"kidsClearButton", f.kidsClearButton, f.kidsTab},
        {"toolColumn", f.toolColumn, f.centralPanel},
        {"shapesButton", f.shapesButton, f.toolColumn},
        {"brushButton", f.brushButton, f.toolColumn},
        {"eraserButton", f.eraserButton, f.toolColumn},
        {"fillButton", f.fillButton, f.toolColumn},
        {"rightPanel", f.rightPanel, f.centralPanel},
        {"rightButtonColumn", f.rightButtonColumn, f.rightPanel},
        {"statisticsButton", f.statisticsButton, f.rightButtonColumn},
        {"catalogueButton", f.catalogueButton, f.rightButtonColumn},
        {"stampsButton", f.stampsButton, f.rightButtonColumn},
        {"sprayButton", f.sprayButton, f.rightButtonColumn},
        {"cataloguePanel", f.cataloguePanel, f.rightPanel},
        {"catalogueTree", f.catalogueTree, f.cataloguePanel},
        {"statisticsPanel", f.statisticsPanel, f.rightPanel},
        {"statisticsTitle", f.statisticsTitle, f.statisticsPanel},
        {"clicksLabel", f.clicksLabel, f.statisticsPanel},
        {"favoriteColorLabel", f.favoriteColorLabel, f.statisticsPanel},
        {"favoritePageLabel", f.favoritePageLabel, f.statisticsPanel},
        {"historyTitle", f.historyTitle, f.statisticsPanel},
        {"historyTable", f.historyTable, f.statisticsPanel},
        {"centrePanel", f.centrePanel, f.centralPanel},
        {"pageColumn", f.pageColumn, f.centrePanel},
        {"optionStrip", f.optionStrip, f.pageColumn},
        {"toolOptionPages", f.toolOptionPages, f.optionStrip},
        {"fillOptions", f.fillOptions, f.toolOptionPages},
        {"penSizeOptions", f.penSizeOptions, f.toolOptionPages},
        {"stampOptions", f.stampOptions, f.toolOptionPages},
        {"shapeOptions", f.shapeOptions, f.toolOptionPages},
        {"pageActionsPanel", f.pageActionsPanel, f.optionStrip},
        {"rotateButton", f.rotateButton, f.pageActionsPanel},
        {"undoButton", f.undoButton, f.pageActionsPanel},
        {"redoButton", f.redoButton, f.pageActionsPanel},
        {"drawingArea", f.drawingArea, f.pageColumn},
        {"loadingLabel", f.loadingLabel, f.drawingArea},
        {"noPagesLabel", f.noPagesLabel, f.drawingArea},
        {"siteLinkLabel", f.siteLinkLabel, f.drawingArea},
        {"magnifierLens", f.magnifierLens, f.pageColumn},
        {"fillToLinesButton", f.fillToLinesButton, f.fillOptions},
        {"texturesBackButton", f.texturesBackButton, f.fillOptions},
        {"texturesNextButton", f.texturesNextButton, f.fillOptions},
        {"texturePreviewsButton", f.texturePreviewsButton, f.fillOptions},
        {"textureStrip", f.textureStrip, f.fillOptions},
        {"box_img1", f.textureBoxes[0], f.textureStrip},
        {"box_img2", f.textureBoxes[1], f.textureStrip},
        {"box_img3", f.textureBoxes[2], f.textureStrip},
        {"box_img4", f.textureBoxes[3], f.textureStrip},
        {"box_img5", f.textureBoxes[4], f.textureStrip},
        {"textureBox6", f.textureBoxes[5], f.textureStrip},
        {"hugePenButton", f.hugePenButton, f.penSizeOptions},
        {"bigPenButton", f.bigPenButton, f.penSizeOptions},
        {"mediumPenButton", f.mediumPenButton, f.penSizeOptions},
        {"littlePenButton", f.littlePenButton, f.penSizeOptions},
        {"tinyPenButton", f.tinyPenButton, f.penSizeOptions},
        {"snowflakesButton", f.snowflakesButton, f.stampOptions},
        {"leavesButton", f.leavesButton, f.stampOptions},
        {"flowersButton", f.flowersButton, f.stampOptions},
        {"heartsButton", f.heartsButton, f.stampOptions},
        {"circleButton", f.circleButton, f.shapeOptions},
        {"rectangleButton", f.rectangleButton, f.shapeOptions},
        {"triangleButton", f.triangleButton, f.shapeOptions},
        {"lineButton", f.lineButton, f.shapeOptions},
        {"diamondButton", f.diamondButton, f.shapeOptions},
        {"hexagonButton", f.hexagonButton, f.shapeOptions},
        {"trapeziumButton", f.trapeziumButton, f.shapeOptions},
        {"loadingBlinkTimer", f.loadingBlinkTimer, &f},
        {"openAction", f.openAction, f.menuBar()},
        {"saveAction", f.saveAction, f.menuBar()},
        {"openFolderAction", f.openFolderAction, f.menuBar()},
        {"optionsAction", f.optionsAction, f.menuBar()},
        {"printAction", f.printAction, f.menuBar()},
        {"exitAction", f.exitAction, f.menuBar()},
        {"sendAction", f.sendAction, f.menuBar()},
        {"viewGalleryAction", f.viewGalleryAction, f.menuBar()},
        {"writeToUsAction", f.writeToUsAction, f.menuBar()},
        {"undoAction", f.undoAction, f.menuBar()},
        {"redoAction", f.redoAction, f.menuBar()},
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
    EXPECT_EQ(f.paletteTabs->count(), 2);
    EXPECT_EQ(f.toolOptionPages->count(), 4);
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
    EXPECT_FALSE(f.texturePreviewsButton->isVisibleTo(&f));

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
    for (QToolButton* b : {f.hugePenButton, f.bigPenButton, f.mediumPenButton, f.littlePenButton, f.tinyPenButton}) {
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
    const std::pair<QToolButton*, const char*> captions[] = {{f.randomPageButton, "Random"},
                                                             {f.kidsRandomPageButton, "Random"},
                                                             {f.clearButton, "Clear"},
                                                             {f.kidsClearButton, "Clear"},
                                                             {f.statisticsButton, "Statistics"},
                                                             {f.catalogueButton, "Coloring book"},
                                                             {f.rotateButton, "Rotate"},
                                                             {f.undoButton, "Undo"},
                                                             {f.redoButton, "Redo"}};
    for (const auto& [b, text] : captions)
        EXPECT_EQ(b->text(), QString::fromLatin1(text)) << b->objectName().toStdString();
    EXPECT_EQ(f.paletteTabs->tabText(0), QStringLiteral("Toddler"));
    EXPECT_EQ(f.paletteTabs->tabText(1), QStringLiteral("Kids"));
    EXPECT_EQ(f.paletteTabs->widget(0), f.toddlerTab);

    const QList<QAction*> top = f.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->text(), QStringLiteral("File"));
    EXPECT_EQ(
        menuTexts(top[0]->menu()),
        "Open coloring book...|Add pages...|Save coloring book...|Open folder coloring book|-|"
        "Options...|Print coloring book...|-|Exit");
    EXPECT_EQ(top[0]->menu()->actions().first(), f.openAction);
    EXPECT_EQ(top[0]->menu()->actions().last(), f.exitAction);
    EXPECT_EQ(top[1]->text(), QStringLiteral("Edit"));
    EXPECT_EQ(menuTexts(top[1]->menu()), "Undo|Redo");
    EXPECT_EQ(f.undoAction->shortcuts(),
              QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
    EXPECT_EQ(f.redoAction->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                                   QKeySequence(QStringLiteral("Ctrl+Y"))}));
    EXPECT_EQ(top[2]->text(), QStringLiteral("Children's works "));
    EXPECT_EQ(menuTexts(top[2]->menu()), "Send my coloring book|View works of children");
    EXPECT_EQ(top[2]->menu()->actions().first(), f.sendAction);
    const QList<QAction*> third = top[3]->menu()->actions();
    ASSERT_FALSE(third.isEmpty());
    EXPECT_EQ(third.first(), f.writeToUsAction);
    EXPECT_EQ(third.first()->text(), QStringLiteral("Write to us"));
}
