// Every page keeps its coloring: leaving a page keeps it, coming back resumes it, and the
// "My pictures" shelf lists what is kept, newest first, across a restart.
#include "app/childmode.h"
#include "app/options.h"
#include "library/picturestore.h"
#include "share/autosave.h"
#include "support/fakes.h"

#include <QCheckBox>
#include <QDir>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
struct MyPictures : ::testing::Test {
    MyPictures() {
        h.picturesFolder = h.dir.path() + QStringLiteral("/pictures");
        h.addArchive(QStringLiteral("book.pak"), {{"one.bmp", bmpBytes(outlinePage(200, 150))},
                                                  {"two.bmp", bmpBytes(outlinePage(180, 160))}});
    }
    MainWindow& start() { return h.make(true, QSize(500, 300)); }
    static void pick(MainWindow& f, int node) {
        probe::ui(f).catalogueTree->setCurrentItem(
            probe::catalogue(f).catalogueNodes[size_t(node)]);
        f.onCatalogueItemClicked();
    }
    static QImage paint(MainWindow& f, const QRect& r, TColor c) {
        probe::session(f).canvas()->fillRect(r, c);
        f.showPage(r);
        f.onAreaRelease(Qt::LeftButton, r.x(), r.y()); // the gesture ends: one step
        return probe::session(f).canvas()->image.copy();
    }
    static QImage shown(MainWindow& f) { return probe::session(f).canvas()->image; }
    // The shelf's entries, top to bottom, once the store has been read.
    static QStringList shelf(MainWindow& f, int expected) {
        QTreeWidget* tree = probe::ui(f).catalogueTree;
        QStringList names;
        for (int tries = 0; tries < 200 && names.size() < expected; ++tries) {
            QTest::qWait(10);
            names.clear();
            QTreeWidgetItem* top = tree->topLevelItemCount() ? tree->topLevelItem(0) : nullptr;
            if (top && top->text(0).startsWith(QStringLiteral("My pictures")))
                for (int i = 0; i < top->childCount(); ++i)
                    names << top->child(i)->text(0);
        }
        return names;
    }
    Harness h;
};
} // namespace

TEST_F(MyPictures, EachPageComesBackColoredAndTheShelfSurvivesARestart) {
    MainWindow& f = start();
    pick(f, 1);
    const QImage one = paint(f, QRect(20, 20, 60, 40), clRed);
    pick(f, 2);
    EXPECT_NE(shown(f), one);
    const QImage two = paint(f, QRect(100, 50, 30, 30), clBlue);
    pick(f, 1);
    EXPECT_EQ(shown(f), one); // A's coloring, exactly
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, 1);

    // Clear gives the blank page; Undo brings the kept coloring back.
    f.onClearClicked();
    EXPECT_EQ(shown(f).pixel(30, 30), qRgb(255, 255, 255));
    f.onUndoClicked();
    EXPECT_EQ(shown(f), one);
    // The random page lands on a kept page with its coloring too.
    f.onRandomPageClicked();
    EXPECT_EQ(probe::catalogue(f).currentPageIndex, 2);
    EXPECT_EQ(shown(f), two);
    ASSERT_TRUE(f.close());

    // Page two was only looked at since it was kept: page one, cleared and brought back, is
    // the newer of the two.
    MainWindow& g = start();
    EXPECT_EQ(shelf(g, 2), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(probe::ui(g).catalogueTree->topLevelItem(0)->text(0),
              QStringLiteral("My pictures (2)"));
    QTreeWidgetItem* oldest = probe::ui(g).catalogueTree->topLevelItem(0)->child(1);
    EXPECT_FALSE(oldest->icon(0).isNull());
    probe::ui(g).catalogueTree->setCurrentItem(oldest);
    g.onCatalogueItemClicked();
    EXPECT_EQ(shown(g), two);
    EXPECT_EQ(probe::catalogue(g).currentPageIndex, 2);
    // A tap on the resumed picture counts for its page.
    const int before = probe::stats(g).pageCounts[2].Count;
    g.onAreaPress(Qt::LeftButton, 5, 5);
    g.onAreaRelease(Qt::LeftButton, 5, 5);
    EXPECT_EQ(probe::stats(g).pageCounts[2].Count, before + 1);
    EXPECT_EQ(probe::stats(g).pageCounts[2].Name, QStringLiteral("two"));
    // The shelf sits above the bundled shelves: the nodes the statistics count do not move.
    EXPECT_EQ(probe::catalogue(g).catalogueNodes[1]->text(0), QStringLiteral("one"));
}

TEST_F(MyPictures, AnUntouchedPageIsNotKeptAndTheOptionOffGivesBlankPages) {
    MainWindow& f = start();
    pick(f, 1);
    pick(f, 2); // page one never touched
    PictureStore store(h.picturesFolder);
    EXPECT_FALSE(store.contains(f.pageKey(1, QString())));

    const QImage two = paint(f, QRect(100, 50, 30, 30), clBlue);
    QCheckBox* remember = probe::optionsDialog(f)->findChild<QCheckBox*>("rememberColoringCheck");
    ASSERT_NE(remember, nullptr);
    EXPECT_TRUE(remember->isChecked());
    remember->setChecked(false);
    pick(f, 1);
    pick(f, 2);
    EXPECT_EQ(shown(f).pixel(110, 60), qRgb(255, 255, 255)); // blank, as before the option
    remember->setChecked(true);
    pick(f, 1);
    pick(f, 2);
    EXPECT_EQ(shown(f), two);
}

TEST_F(MyPictures, DeletingAPictureInChildModeAsksTheGate) {
    MainWindow& f = start();
    pick(f, 1);
    paint(f, QRect(20, 20, 60, 40), clRed);
    pick(f, 2);
    const QString key = f.pageKey(1, QString());
    ASSERT_TRUE(f.pictureStore()->contains(key));

    ChildMode& cm = *probe::childMode(f);
    int asked = 0;
    bool pass = false;
    cm.askGate = [&](const GateQuestion&) { return ++asked, pass; };
    probe::optionsDialog(f)->show();
    probe::optionsDialog(f)->findChild<QCheckBox*>("childModeCheck")->setChecked(true);
    probe::optionsDialog(f)->reject();
    ASSERT_TRUE(cm.locked());
    f.deleteKeptPicture(key);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(f.pictureStore()->contains(key));
    pass = true;
    f.deleteKeptPicture(key);
    EXPECT_FALSE(f.pictureStore()->contains(key));
    EXPECT_EQ(probe::ui(f).catalogueTree->topLevelItem(0)->childCount(), 0);
    cm.setEnabled(false);
}

// The shelf is filled off the window thread, a batch at a time (that it waits for the first
// screen is measured by the start-up benchmark); a window closed while it is read waits for
// no more than the picture in hand.
TEST_F(MyPictures, AFullShelfArrivesInOrderAndClosingMeanwhileLosesNothing) {
    {
        PictureStore store(h.picturesFolder);
        QImage picture(64, 48, QImage::Format_RGB32);
        for (int i = 0; i < 60; ++i) {
            picture.fill(qRgb(i * 4, 100, 200));
            store.keep(QStringLiteral("page:kept%1").arg(i), QStringLiteral("kept%1").arg(i),
                       picture.copy());
        }
        store.flush();
    }
    MainWindow& f = start();
    const QStringList names = shelf(f, 60);
    ASSERT_EQ(names.size(), 60);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(names[i], QStringLiteral("kept%1").arg(59 - i)); // newest first
    ASSERT_TRUE(f.close());

    // Closed as the reader starts: it stops, and the store is whole for the next run.
    MainWindow& g = start();
    QTest::qWait(300);
    ASSERT_TRUE(g.close());
    EXPECT_EQ(PictureStore(h.picturesFolder).list().size(), 60u);
}

// A picture opened by hand, painted, and the program killed: it comes back as that picture,
// kept under its file, and the page the catalogue was left on keeps its own coloring.
TEST_F(MyPictures, AKillOnAPictureOpenedByHandBringsItBackAsItselfAndNoPageLosesItsColoring) {
    h.dataFolder = h.dir.path() + QStringLiteral("/data/");
    QDir().mkpath(h.dataFolder);
    MainWindow* f = &start();
    pick(*f, 1);
    const QImage one = paint(*f, QRect(20, 20, 60, 40), clRed);
    const QString file = h.dir.path() + QStringLiteral("/rings.png");
    ASSERT_TRUE(outlinePage(220, 140).save(file));
    h.dialogs.openAnswer = file;
    f->onOpenClicked();
    const QImage opened = paint(*f, QRect(60, 60, 30, 30), clBlue);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto d = ReadAutosave(f->autosavePath());
        return d && d->picture == opened;
    }));

    h.form.reset(); // killed: nothing kept on the way out
    f = &start();
    EXPECT_EQ(shown(*f), opened);
    EXPECT_EQ(probe::session(*f).origin().openedFile, file);
    EXPECT_EQ(shelf(*f, 2), (QStringList{QStringLiteral("rings"), QStringLiteral("one")}));
    pick(*f, 1);
    EXPECT_EQ(shown(*f), one);
}
