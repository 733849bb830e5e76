// The parents' own pages: added with File > Add pages..., kept in a folder of their own and
// shown on a "My pages" shelf after the bundled ones.
#include "app/thumbnails.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
QString write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QStringList texts(const MainWindow& f) {
    QStringList out;
    for (int i = 0; i < f.catalogueNodeCount(); ++i)
        out.append(probe::catalogue(f).catalogueNodes[size_t(i)]->text(0));
    return out;
}

int inkIn(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2)
            n += img.pixel(x, y) == qRgb(0, 0, 0);
    return n;
}
} // namespace

TEST(MyPages, AddedPagesComeAfterTheBundledOnesAndStayAcrossARestart) {
    Harness h;
    h.addArchive("a.pak", {{"cat.bmp", bmpBytes(outlinePage(300, 200))},
                           {"dog.bmp", bmpBytes(outlinePage(200, 300))}});
    MainWindow* f = &h.make();
    ASSERT_EQ(f->catalogueNodeCount(), 3);
    const QStringList bundled = texts(*f);

    // One good picture (named as a bundled page) and one that is no picture at all.
    const QString good = write(h.dir.path() + "/cat.bmp", bmpBytes(outlinePage(400, 300)));
    const QString junk = write(h.dir.path() + "/junk.bmp", "BM not a picture");
    h.dialogs.openManyAnswer = {good, junk};
    f->onAddPagesClicked();
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].text.contains("junk.bmp"));
    EXPECT_FALSE(h.messages.shown[0].text.contains("cat.bmp"));
    EXPECT_EQ(QDir(h.pagesFolder).entryList(QDir::Files), QStringList{"cat.bmp"});
    ASSERT_EQ(f->catalogueNodeCount(), 5);
    EXPECT_EQ(texts(*f).mid(0, 3), bundled); // the statistics' positions never move
    EXPECT_EQ(probe::catalogue(*f).catalogueNodes[3]->text(0), QStringLiteral("My pages (1)"));
    EXPECT_EQ(probe::catalogue(*f).catalogueNodes[4]->parent(),
              probe::catalogue(*f).catalogueNodes[3]);
    EXPECT_FALSE(probe::catalogue(*f).catalogueNodes[4]->icon(0).isNull())
        << "no picture on the shelf";
    EXPECT_FALSE(probe::ui(*f).cataloguePanel->isHidden()) << "the shelf is shown";

    // Picked like any page: it is laid out on the area.
    probe::ui(*f).catalogueTree->setCurrentItem(probe::catalogue(*f).catalogueNodes[4]);
    f->onCatalogueItemClicked();
    EXPECT_EQ(probe::catalogue(*f).currentPageIndex, 4);
    EXPECT_GT(inkIn(probe::session(*f).canvas()->image), 200);

    // The same name again is kept beside it, not over it.
    h.dialogs.openManyAnswer = {good};
    f->onAddPagesClicked();
    EXPECT_EQ(QDir(h.pagesFolder).entryList(QDir::Files, QDir::Name),
              (QStringList{"cat (2).bmp", "cat.bmp"}));

    // The next start has the same shelf, in the order the pages came, with pictures.
    h.form.reset();
    f = &h.make();
    ASSERT_EQ(f->catalogueNodeCount(), 6);
    EXPECT_EQ(texts(*f).mid(0, 3), bundled);
    EXPECT_EQ(probe::catalogue(*f).catalogueNodes[3]->text(0), QStringLiteral("My pages (2)"));
    EXPECT_EQ(probe::catalogue(*f).catalogueNodes[5]->text(0), QStringLiteral("cat (2)"));
    probe::thumbnails(*f)->waitForAll();
    EXPECT_FALSE(probe::catalogue(*f).catalogueNodes[5]->icon(0).isNull());
    EXPECT_TRUE(QFile::exists(
        CatalogueThumbnails::thumbnailPath(probe::folders(*f).cacheFolder, "my-cat.bmp")));
}
