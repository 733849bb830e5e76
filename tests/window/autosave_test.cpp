// The picture comes back at the next start with its page; a damaged file is passed over.
#include "app/widgets.h"
#include "share/autosave.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

namespace {
QString pageName(const MainWindow& f) {
    return probe::catalogue(f).currentPageIndex > 0
               ? probe::catalogue(f)
                     .catalogueNodes[size_t(probe::catalogue(f).currentPageIndex)]
                     ->text(0)
               : QString();
}
} // namespace

TEST(Autosave, ThePictureAndItsPageComeBackAndADamagedFileIsPassedOver) {
    Harness h;
    h.dataFolder = h.dir.path() + QStringLiteral("/data/");
    QDir().mkpath(h.dataFolder);
    h.addArchive(QStringLiteral("pages.pak"), {{"cat.bmp", bmpBytes(outlinePage(400, 300))},
                                               {"dog.bmp", bmpBytes(outlinePage(300, 400))},
                                               {"owl.bmp", bmpBytes(outlinePage(350, 350))}});
    MainWindow* f = &h.make();
    ASSERT_GT(probe::catalogue(*f).currentPageIndex, 0);
    const QString path = f->autosavePath();
    QTest::mouseClick(probe::ui(*f).drawingArea, Qt::LeftButton, {},
                      QPoint(5, 5)); // fill the margin
    ASSERT_EQ(probe::session(*f).canvas()->image.pixel(5, 5), toQRgb(clBlue));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto d = ReadAutosave(path);
        return d && d->picture.pixel(5, 5) == toQRgb(clBlue);
    }));
    const QImage painted = probe::session(*f).canvas()->image.copy();
    const QString name = pageName(*f);

    // A run that ends without closing: the next start shows the painted page.
    h.form.reset();
    f = &h.make();
    EXPECT_EQ(probe::session(*f).canvas()->image, painted);
    EXPECT_EQ(pageName(*f), name);
    h.form.reset();

    // Half a file, or someone else's: the usual fresh start, and no message.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    ASSERT_TRUE(file.resize(whole.size() / 2));
    file.close();
    f = &h.make();
    EXPECT_NE(probe::session(*f).canvas()->image.pixel(5, 5), toQRgb(clBlue));
    EXPECT_TRUE(h.messages.shown.empty());
    h.form.reset();
}

// A picture saved at another size of the drawing area (another screen, or full screen) comes
// back whole on a page the size of the area: in the middle as it was, reduced only when it
// no longer fits, and still in the middle after the window manager sizes the window.
TEST(Autosave, APictureOfAnotherSizeComesBackWholeInTheMiddle) {
    Harness h;
    h.dataFolder = h.dir.path() + QStringLiteral("/data/");
    QDir().mkpath(h.dataFolder);
    h.addArchive(QStringLiteral("pages.pak"), {{"cat.bmp", bmpBytes(outlinePage(400, 300))}});
    const QString path = h.dataFolder + QStringLiteral("autosave.dat");
    QImage small = outlinePage(300, 200).convertToFormat(QImage::Format_RGB32);
    small.fill(qRgb(0, 0, 255));
    small.setPixel(0, 0, qRgb(255, 0, 0));
    auto save = [&](const QImage& picture) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(EncodeAutosave({picture, QStringLiteral("cat.bmp")}));
    };
    save(small);
    MainWindow* f = &h.make(true, QSize(900, 500));
    ASSERT_EQ(probe::session(*f).canvas()->image.size(), QSize(900, 500));
    EXPECT_EQ(probe::session(*f).canvas()->image.copy(300, 150, 300, 200), small);
    EXPECT_EQ(probe::session(*f).canvas()->image.pixel(299, 150), qRgb(255, 255, 255));
    // The window manager makes the area taller: the picture follows, still whole.
    f->resize(f->width(), f->height() + 40);
    QApplication::processEvents();
    ASSERT_EQ(probe::session(*f).canvas()->image.size(), QSize(900, 540));
    EXPECT_EQ(probe::session(*f).canvas()->image.copy(300, 170, 300, 200), small);
    h.form.reset();

    QImage big(1800, 1000, QImage::Format_RGB32);
    big.fill(qRgb(0, 128, 0));
    save(big);
    f = &h.make(true, QSize(900, 500));
    ASSERT_EQ(probe::session(*f).canvas()->image.size(), QSize(900, 500));
    EXPECT_EQ(probe::session(*f).canvas()->image.pixel(450, 250), qRgb(0, 128, 0));
    h.form.reset();
}

// Only a picture the child changed is kept: a page as its archive gave it (here a blank one,
// as a cut-off archive shows) is not, so a repaired or upgraded archive shows its new
// drawing at the next start. A picture brought back stays kept while this run leaves it be.
TEST(Autosave, AnUntouchedPageIsNeverKeptAndComesFreshFromItsArchive) {
    Harness h;
    h.dataFolder = h.dir.path() + QStringLiteral("/data/");
    QDir().mkpath(h.dataFolder);
    QImage blank(400, 300, QImage::Format_RGB32);
    blank.fill(Qt::white);
    h.addArchive(QStringLiteral("pages.pak"), {{"cat.bmp", bmpBytes(blank)}});
    MainWindow* f = &h.make();
    const QString path = f->autosavePath();
    f->close();
    EXPECT_FALSE(QFile::exists(path));
    h.form.reset();

    // The archive repaired (the page cache goes with the old drawing).
    QDir(h.tempDir()).removeRecursively();
    QDir().mkpath(h.tempDir());
    h.addArchive(QStringLiteral("pages.pak"), {{"cat.bmp", bmpBytes(outlinePage(400, 300))}});
    f = &h.make();
    const QImage fresh = probe::session(*f).canvas()->image.copy();
    EXPECT_TRUE(fresh.allGray() && fresh != QImage()) << "no page";
    int ink = 0;
    for (int y = 0; y < fresh.height(); y += 3)
        for (int x = 0; x < fresh.width(); x += 3)
            ink += qRed(fresh.pixel(x, y)) == 0;
    EXPECT_GT(ink, 100) << "the repaired drawing is not shown";

    // Touched: kept, and at the next start kept still, though nothing touches it then.
    QTest::mouseClick(probe::ui(*f).drawingArea, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage painted = probe::session(*f).canvas()->image.copy();
    f->close();
    h.form.reset();
    f = &h.make();
    EXPECT_EQ(probe::session(*f).canvas()->image, painted);
    f->close();
    ASSERT_TRUE(QFile::exists(path));
    h.form.reset();
    f = &h.make();
    EXPECT_EQ(probe::session(*f).canvas()->image, painted);

    // Another page, left untouched: nothing of it is kept.
    f->onClearClicked(); // the page again, as its file gives it
    f->close();
    EXPECT_FALSE(QFile::exists(path));
}
