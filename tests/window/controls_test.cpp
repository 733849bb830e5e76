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

const QStringList kPictureButtons = {"BitBtn6",
                                     "But_kist",
                                     "But_Erase",
                                     "But_Kras",
                                     "Button_Stat",
                                     "Button_Folder",
                                     "But_Sneg",
                                     "But_Bolonchik",
                                     "Button_Rotate",
                                     "Button_Undo",
                                     "Button_Redo",
                                     "BitBtn17",
                                     "Button_1",
                                     "Button_2",
                                     "BitBtn5",
                                     "BitBtn7",
                                     "BitBtn8",
                                     "BitBtn20",
                                     "BitBtn21",
                                     "BitBtn18",
                                     "btn5",
                                     "BitBtn12",
                                     "BitBtn16",
                                     "btn2",
                                     "btn1",
                                     "btn4",
                                     "btn3",
                                     "btn13",
                                     "btn7",
                                     "btn8",
                                     "Button_RndRaskraska",
                                     "Button_Sterka",
                                     "Button_RndRaskraska2",
                                     "Button_Sterka2"};
} // namespace

TEST(Controls, EveryNamedControlExistsOnceInItsPlace) {
    Harness h;
    TForm1& f = h.make();
    struct Expect {
        const char* name;
        QObject* member;
        QObject* inside; // the panel or page the layout puts it on
    };
    const Expect controls[] = {
        {"Panel1", f.Panel1, &f},
        {"Panel_Color", f.Panel_Color, f.Panel1},
        {"PageControl1", f.PageControl1, f.Panel_Color},
        {"TabSheet1", f.TabSheet1, f.PageControl1},
        {"TabSheet2", f.TabSheet2, f.PageControl1},
        {"Image1_Color", f.Image1_Color, f.TabSheet1},
        {"Image2_Color", f.Image2_Color, f.TabSheet1},
        {"Image3_Color", f.Image3_Color, f.TabSheet1},
        {"Image4_Color", f.Image4_Color, f.TabSheet1},
        {"Image5_Color", f.Image5_Color, f.TabSheet1},
        {"Image6_Color", f.Image6_Color, f.TabSheet1},
        {"Image7_Color", f.Image7_Color, f.TabSheet1},
        {"Image8_Color", f.Image8_Color, f.TabSheet1},
        {"Image10_Color", f.Image10_Color, f.TabSheet1},
        {"Button_RndRaskraska", f.Button_RndRaskraska, f.TabSheet1},
        {"Button_Sterka", f.Button_Sterka, f.TabSheet1},
        {"Panel7", f.Panel7, f.TabSheet2},
        {"Image2", f.Image2, f.Panel7},
        {"Image3", f.Image3, f.TabSheet2},
        {"Button_RndRaskraska2", f.Button_RndRaskraska2, f.TabSheet2},
        {"Button_Sterka2", f.Button_Sterka2, f.TabSheet2},
        {"Panel_left", f.Panel_left, f.Panel1},
        {"BitBtn6", f.BitBtn6, f.Panel_left},
        {"But_kist", f.But_kist, f.Panel_left},
        {"But_Erase", f.But_Erase, f.Panel_left},
        {"But_Kras", f.But_Kras, f.Panel_left},
        {"Panel_Right", f.Panel_Right, f.Panel1},
        {"Panel_Buttons_Right", f.Panel_Buttons_Right, f.Panel_Right},
        {"Button_Stat", f.Button_Stat, f.Panel_Buttons_Right},
        {"Button_Folder", f.Button_Folder, f.Panel_Buttons_Right},
        {"But_Sneg", f.But_Sneg, f.Panel_Buttons_Right},
        {"But_Bolonchik", f.But_Bolonchik, f.Panel_Buttons_Right},
        {"Panel_Tree", f.Panel_Tree, f.Panel_Right},
        {"TreeView1", f.TreeView1, f.Panel_Tree},
        {"Panel_Stat", f.Panel_Stat, f.Panel_Right},
        {"Label1", f.Label1, f.Panel_Stat},
        {"Label_Clicks", f.Label_Clicks, f.Panel_Stat},
        {"Label_Color", f.Label_Color, f.Panel_Stat},
        {"Label_Raskraska", f.Label_Raskraska, f.Panel_Stat},
        {"Label2", f.Label2, f.Panel_Stat},
        {"StringGrid1", f.StringGrid1, f.Panel_Stat},
        {"Panel_PaintBox", f.Panel_PaintBox, f.Panel1},
        {"Panel2", f.Panel2, f.Panel_PaintBox},
        {"Panel3", f.Panel3, f.Panel2},
        {"PageControl_Dop", f.PageControl_Dop, f.Panel3},
        {"Tab_Zalivka", f.Tab_Zalivka, f.PageControl_Dop},
        {"Tab_PenSize", f.Tab_PenSize, f.PageControl_Dop},
        {"Tab_Shtamp", f.Tab_Shtamp, f.PageControl_Dop},
        {"Tab_Effect", f.Tab_Effect, f.PageControl_Dop},
        {"Panel4", f.Panel4, f.Panel3},
        {"Button_Rotate", f.Button_Rotate, f.Panel4},
        {"Button_Undo", f.Button_Undo, f.Panel4},
        {"Button_Redo", f.Button_Redo, f.Panel4},
        {"PaintBox1", f.PaintBox1, f.Panel2},
        {"Label_Load", f.Label_Load, f.PaintBox1},
        {"Label_Error", f.Label_Error, f.PaintBox1},
        {"Label_Error2", f.Label_Error2, f.PaintBox1},
        {"img4", f.img4, f.Panel2},
        {"BitBtn17", f.BitBtn17, f.Tab_Zalivka},
        {"Button_1", f.Button_1, f.Tab_Zalivka},
        {"Button_2", f.Button_2, f.Tab_Zalivka},
        {"Button_3", f.Button_3, f.Tab_Zalivka},
        {"pnl2", f.pnl2, f.Tab_Zalivka},
        {"box_img1", f.box_img[0], f.pnl2},
        {"box_img2", f.box_img[1], f.pnl2},
        {"box_img3", f.box_img[2], f.pnl2},
        {"box_img4", f.box_img[3], f.pnl2},
        {"box_img5", f.box_img[4], f.pnl2},
        {"box_img6", f.box_img[5], f.pnl2},
        {"BitBtn5", f.BitBtn5, f.Tab_PenSize},
        {"BitBtn7", f.BitBtn7, f.Tab_PenSize},
        {"BitBtn8", f.BitBtn8, f.Tab_PenSize},
        {"BitBtn20", f.BitBtn20, f.Tab_PenSize},
        {"BitBtn21", f.BitBtn21, f.Tab_PenSize},
        {"BitBtn18", f.BitBtn18, f.Tab_Shtamp},
        {"btn5", f.btn5, f.Tab_Shtamp},
        {"BitBtn12", f.BitBtn12, f.Tab_Shtamp},
        {"BitBtn16", f.BitBtn16, f.Tab_Shtamp},
        {"btn2", f.btn2, f.Tab_Effect},
        {"btn1", f.btn1, f.Tab_Effect},
        {"btn4", f.btn4, f.Tab_Effect},
        {"btn3", f.btn3, f.Tab_Effect},
        {"btn13", f.btn13, f.Tab_Effect},
        {"btn7", f.btn7, f.Tab_Effect},
        {"btn8", f.btn8, f.Tab_Effect},
        {"Timer_Color", f.Timer_Color, &f},
        {"menu_open", f.menu_open, f.menuBar()},
        {"menu_Save", f.menu_Save, f.menuBar()},
        {"menu_openfolder", f.menu_openfolder, f.menuBar()},
        {"menu_options", f.menu_options, f.menuBar()},
        {"menu_print", f.menu_print, f.menuBar()},
        {"menu_exit", f.menu_exit, f.menuBar()},
        {"menu_ColroingSend", f.menu_ColroingSend, f.menuBar()},
        {"menu_ColoringView", f.menu_ColoringView, f.menuBar()},
        {"menu_Mail", f.menu_Mail, f.menuBar()},
        {"menu_undo", f.menu_undo, f.menuBar()},
        {"menu_redo", f.menu_redo, f.menuBar()},
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
    EXPECT_TRUE(f.findChild<QTreeWidget*>(QStringLiteral("TreeView1")));
    EXPECT_TRUE(f.findChild<QTableWidget*>(QStringLiteral("StringGrid1")));
    EXPECT_TRUE(f.findChild<TPaintBox*>(QStringLiteral("PaintBox1")));
    EXPECT_TRUE(f.findChild<QStackedWidget*>(QStringLiteral("PageControl_Dop")));
    EXPECT_TRUE(f.findChild<QTabWidget*>(QStringLiteral("PageControl1")));
    for (const char* n :
         {"Image1_Color", "Image8_Color", "Image10_Color", "Image2", "Image3", "box_img6"})
        EXPECT_TRUE(f.findChild<TImage*>(QString::fromLatin1(n))) << n;
    EXPECT_EQ(f.PageControl1->count(), 2);
    EXPECT_EQ(f.PageControl_Dop->count(), 4);
}

TEST(Controls, EveryPictureButtonShowsAPictureThatFits) {
    Harness h;
    TForm1& f = h.make();
    // Exactly these buttons and the hidden texture refresh: a new button must get a picture.
    QStringList all;
    for (const QToolButton* b : f.findChildren<QToolButton*>())
        if (!isQtInternal(b))
            all << b->objectName();
    QStringList expected = kPictureButtons;
    expected << QStringLiteral("Button_3");
    all.sort();
    expected.sort();
    EXPECT_EQ(all.join(QLatin1Char(' ')).toStdString(),
              expected.join(QLatin1Char(' ')).toStdString());
    EXPECT_FALSE(f.Button_3->isVisibleTo(&f));

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
    for (QToolButton* b : {f.BitBtn5, f.BitBtn7, f.BitBtn8, f.BitBtn20, f.BitBtn21}) {
        const int dot = darkPixels(b->icon(), b->iconSize());
        EXPECT_LT(dot, last) << b->objectName().toStdString();
        EXPECT_GT(dot, 0) << b->objectName().toStdString();
        last = dot;
    }
}

TEST(Controls, TitleCaptionsAndMenusReadAsDesigned) {
    Harness h;
    TForm1& f = h.make();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Pictaro"));
    const std::pair<QToolButton*, const char*> captions[] = {{f.Button_RndRaskraska, "Random"},
                                                             {f.Button_RndRaskraska2, "Random"},
                                                             {f.Button_Sterka, "Clear"},
                                                             {f.Button_Sterka2, "Clear"},
                                                             {f.Button_Stat, "Statistics"},
                                                             {f.Button_Folder, "Coloring book"},
                                                             {f.Button_Rotate, "Rotate"},
                                                             {f.Button_Undo, "Undo"},
                                                             {f.Button_Redo, "Redo"}};
    for (const auto& [b, text] : captions)
        EXPECT_EQ(b->text(), QString::fromLatin1(text)) << b->objectName().toStdString();
    EXPECT_EQ(f.PageControl1->tabText(0), QStringLiteral("Toddler"));
    EXPECT_EQ(f.PageControl1->tabText(1), QStringLiteral("Kids"));
    EXPECT_EQ(f.PageControl1->widget(0), f.TabSheet1);

    const QList<QAction*> top = f.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->text(), QStringLiteral("File"));
    EXPECT_EQ(
        menuTexts(top[0]->menu()),
        "Open coloring book...|Add pages...|Save coloring book...|Open folder coloring book|-|"
        "Options...|Print coloring book...|-|Exit");
    EXPECT_EQ(top[0]->menu()->actions().first(), f.menu_open);
    EXPECT_EQ(top[0]->menu()->actions().last(), f.menu_exit);
    EXPECT_EQ(top[1]->text(), QStringLiteral("Edit"));
    EXPECT_EQ(menuTexts(top[1]->menu()), "Undo|Redo");
    EXPECT_EQ(f.menu_undo->shortcuts(),
              QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
    EXPECT_EQ(f.menu_redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                                   QKeySequence(QStringLiteral("Ctrl+Y"))}));
    EXPECT_EQ(top[2]->text(), QStringLiteral("Children's works "));
    EXPECT_EQ(menuTexts(top[2]->menu()), "Send my coloring book|View works of children");
    EXPECT_EQ(top[2]->menu()->actions().first(), f.menu_ColroingSend);
    const QList<QAction*> third = top[3]->menu()->actions();
    ASSERT_FALSE(third.isEmpty());
    EXPECT_EQ(third.first(), f.menu_Mail);
    EXPECT_EQ(third.first()->text(), QStringLiteral("Write to us"));
}
