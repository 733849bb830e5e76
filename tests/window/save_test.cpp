// Saving, printing and capturing the picture from the window.
#include "app/application.h"
#include "app/widgets.h"
#include "share/halftone.h"
#include "support/fakes.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <gtest/gtest.h>

namespace {
MainWindow& withPage(Harness& h) {
    h.addArchive(QStringLiteral("pages.pak"), {{"page.bmp", bmpBytes(outlinePage(400, 300))}});
    MainWindow& form = h.make();
    EXPECT_TRUE(probe::session(form).canvas());
    EXPECT_FALSE(probe::ui(form).noPagesLabel->isVisible());
    return form;
}

QImage readBack(const QString& path) {
    QImageReader r(path);
    r.setDecideFormatFromContent(true);
    EXPECT_EQ(r.format(), "bmp");
    return r.read();
}

QStringList saveFolderFiles(const Harness& h) {
    return QDir(h.programDir() + QStringLiteral("/save")).entryList(QDir::Files, QDir::Name);
}
} // namespace

TEST(Save, ProposesTheNextNameAndWritesAHalftoneBitmapOfTheAreaWhateverTheExtension) {
    Harness h;
    for (const char* f : {"baby1.bmp", "baby2.bmp", "drawing.bmp"})
        QFile(h.programDir() + QStringLiteral("/save/") + QLatin1String(f))
            .open(QIODevice::WriteOnly);
    MainWindow& form = withPage(h);
    probe::session(form).canvas()->fillRect(QRect(10, 20, 30, 40), clRed);
    probe::session(form).canvas()->fillRect(QRect(100, 20, 30, 40), 0x001A1A1A); // black paint
    const QString target = h.programDir() + QStringLiteral("/save/mine.jpg");
    h.dialogs.saveAnswer = target;

    form.onSaveClicked();

    ASSERT_EQ(h.dialogs.saved.size(), 1u);
    const OpenDialogOptions& o = h.dialogs.saved[0];
    EXPECT_EQ(o.title, QStringLiteral("Save coloring book"));
    // A new user is offered PNG first, which keeps every colour.
    EXPECT_EQ(o.fileName, probe::folders(form).saveFolder + QStringLiteral("baby4.png"));
    EXPECT_EQ(o.initialDir, probe::folders(form).saveFolder);
    EXPECT_TRUE(o.filter.startsWith(QStringLiteral("PNG")));
    EXPECT_TRUE(o.filter.contains(QStringLiteral("*.bmp")));

    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), "BM");
    const QImage saved = readBack(target);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.format(), QImage::Format_Indexed8);
    EXPECT_EQ(saved.colorCount(), 256);
    EXPECT_EQ(saved.size(), probe::ui(form).drawingArea->size());
    EXPECT_EQ(saved.pixel(15, 25), qRgb(255, 0, 0));
    EXPECT_EQ(saved.pixel(105, 25), qRgb(28, 28, 28));
    // The page's pure black outlines and white paper come through as they are.
    const QImage& page = probe::session(form).canvas()->image;
    for (int y = 0; y < page.height(); y += 7)
        for (int x = 0; x < page.width(); x += 7) {
            const QRgb c = page.pixel(x, y) | 0xFF000000u;
            if (c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255)) {
                ASSERT_EQ(saved.pixel(x, y), c) << x << "," << y;
            }
        }
    EXPECT_TRUE(h.messages.shown.empty());

    // The bitmap chosen is offered first from now on, under the bitmap's own numbering.
    h.dialogs.saveAnswer.reset();
    form.onSaveClicked();
    ASSERT_EQ(h.dialogs.saved.size(), 2u);
    EXPECT_EQ(h.dialogs.saved[1].fileName,
              probe::folders(form).saveFolder + QStringLiteral("baby4.bmp"));
    EXPECT_TRUE(h.dialogs.saved[1].filter.startsWith(QStringLiteral("Bitmaps")));
    EXPECT_EQ(h.dialogs.saved[1].defaultSuffix, QStringLiteral("bmp"));
    // And a PNG chosen brings PNG back first.
    h.dialogs.saveAnswer = h.programDir() + QStringLiteral("/save/again.png");
    form.onSaveClicked();
    h.dialogs.saveAnswer.reset();
    form.onSaveClicked();
    ASSERT_EQ(h.dialogs.saved.size(), 4u);
    EXPECT_EQ(h.dialogs.saved[3].defaultSuffix, QStringLiteral("png"));
    EXPECT_EQ(h.dialogs.saved[3].fileName,
              probe::folders(form).saveFolder + QStringLiteral("baby5.png"));
}

// The area was resized after the page was loaded: the file takes the area's present size
// and the page is scaled into it by picking pixels.
TEST(Save, FollowsTheAreaSizeAtSavingTime) {
    Harness h;
    MainWindow& form = withPage(h);
    const QSize loaded = probe::session(form).canvas()->image.size();
    probe::session(form).canvas()->fillRect(QRect(0, 0, loaded.width() / 2, loaded.height()),
                                            clBlue);
    form.resize(form.size() - QSize(100, 60));
    form.layout()->activate();
    form.centralWidget()->layout()->activate();
    const QSize area = probe::ui(form).drawingArea->size();
    ASSERT_NE(area, loaded);
    h.dialogs.saveAnswer = h.programDir() + QStringLiteral("/save/big.bmp");
    form.onSaveClicked();
    const QImage saved = readBack(*h.dialogs.saveAnswer);
    EXPECT_EQ(saved.size(), area);
    EXPECT_EQ(saved.pixel(area.width() / 2 - 2, area.height() - 1), qRgb(0, 0, 255));
    EXPECT_NE(saved.pixel(area.width() / 2 + 2, area.height() / 2), qRgb(0, 0, 255));
    EXPECT_EQ(probe::session(form).canvas()->image.size(), loaded); // saving never touches the page
}

TEST(Save, CancelWritesNothingAndAnUnwritablePathIsReported) {
    Harness h;
    MainWindow& form = withPage(h);
    const QStringList before = saveFolderFiles(h);
    form.onSaveClicked(); // no answer: Cancel
    EXPECT_EQ(h.dialogs.saved.size(), 1u);
    EXPECT_EQ(saveFolderFiles(h), before);
    EXPECT_TRUE(h.messages.shown.empty());

    const QString bad = h.programDir() + QStringLiteral("/nowhere/baby1.bmp");
    h.dialogs.saveAnswer = bad;
    reportErrors(&h.messages, [&] { form.onSaveClicked(); });
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(h.messages.shown[0].text.contains(bad)) << h.messages.shown[0].text.toStdString();
}

// The menu's actions report their own failures: trigger() calls the slot directly, with no
// notify() around it, so an exception that escaped the slot would end the test.
TEST(Save, MenuActionsReportFailuresAtTheSlot) {
    Harness h;
    MainWindow& form = withPage(h);
    h.dialogs.saveAnswer = h.programDir() + QStringLiteral("/nowhere/baby1.bmp");
    probe::ui(form).saveAction->trigger();
    h.printer.fail = true;
    probe::ui(form).printAction->trigger();
    ASSERT_EQ(h.messages.shown.size(), 2u);
    EXPECT_TRUE(h.messages.shown[0].text.contains(QStringLiteral("nowhere")));
    EXPECT_EQ(h.messages.shown[1].text, QStringLiteral("No printer is installed."));
    for (const ShownMessage& m : h.messages.shown)
        EXPECT_EQ(m.icon, MessageIcon::Error);
}

TEST(Print, SendsThePageAtThreePrinterPixelsPerPixelAndReportsFailures) {
    Harness h;
    MainWindow& form = withPage(h);
    probe::session(form).canvas()->fillRect(QRect(5, 5, 20, 20), clGreen);
    const QImage before = probe::session(form).canvas()->image.copy();
    form.onPrintClicked();
    ASSERT_EQ(h.printer.jobs.size(), 1u);
    EXPECT_EQ(h.printer.jobs[0].first, before);
    EXPECT_EQ(h.printer.jobs[0].second, 3);
    EXPECT_EQ(probe::session(form).canvas()->image, before);

    h.printer.fail = true;
    reportErrors(&h.messages, [&] { form.onPrintClicked(); });
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, QStringLiteral("No printer is installed."));
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);

    // Without a page there is nothing to print and nothing to say.
    h.printer.fail = false;
    probe::session(form).drop();
    form.onPrintClicked();
    EXPECT_EQ(h.printer.jobs.size(), 1u);
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

// The copy sent to the gallery is what the screen shows, the magnifier over the page too.
TEST(Capture, TakesTheAreaAsShownWithTheMagnifier) {
    Harness h;
    MainWindow& form = withPage(h);
    probe::session(form).canvas()->fillRect(QRect(0, 0, 60, 60), clYellow);
    form.showPage();
    QPixmap lens(50, 40);
    lens.fill(QColor(255, 0, 255));
    probe::ui(form).magnifierLens->setPixmap(lens);
    probe::ui(form).magnifierLens->setFixedSize(50, 40);
    probe::ui(form).magnifierLens->move(probe::ui(form).drawingArea->x() + 200,
                                        probe::ui(form).drawingArea->y() + 100);
    probe::ui(form).magnifierLens->setVisible(true);
    probe::ui(form).magnifierLens->raise();

    const QImage shot = form.captureDrawingArea();
    ASSERT_EQ(shot.size(), probe::ui(form).drawingArea->size());
    EXPECT_EQ(shot.pixel(10, 10), qRgb(255, 255, 0));
    EXPECT_EQ(shot.pixel(225, 120), qRgb(255, 0, 255));
    const QPoint corner(probe::ui(form).drawingArea->width() - 3,
                        probe::ui(form).drawingArea->height() - 3);
    EXPECT_EQ(shot.pixel(corner), probe::session(form).canvas()->image.pixel(corner) | 0xFF000000u);

    probe::ui(form).magnifierLens->setVisible(false);
    EXPECT_EQ(form.captureDrawingArea().pixel(225, 120),
              probe::session(form).canvas()->image.pixel(225, 120) | 0xFF000000u);
}

// An open side panel narrows the area but never the saved picture; a PNG keeps every colour
// exactly, textures and palette orange included.
TEST(Save, StatisticsPanelOpenSavesTheFullAreaAndPngKeepsTheScreensColours) {
    Harness h;
    MainWindow& form = withPage(h);
    form.centralWidget()->layout()->activate();
    const QSize full = probe::ui(form).drawingArea->size();
    probe::session(form).canvas()->fillRect(QRect(10, 10, 40, 40), 0x000080FF); // palette orange
    QImage& page = probe::session(form).canvas()->image;
    for (int y = 60; y < 120; ++y)
        for (int x = 60; x < 200; ++x)
            page.setPixel(x, y, qRgb((x * 37) & 255, (y * 11) & 255, (x ^ y) & 255));
    form.showPage();
    const QImage screen = page.copy();

    form.onStatisticsClicked();
    form.layout()->activate();
    form.centralWidget()->layout()->activate();
    ASSERT_LT(probe::ui(form).drawingArea->width(), full.width());
    EXPECT_EQ(form.fullAreaSize(), full);

    h.dialogs.saveAnswer = h.programDir() + QStringLiteral("/save/open.bmp");
    form.onSaveClicked();
    EXPECT_EQ(h.dialogs.saved.back().defaultSuffix, QStringLiteral("png")); // a new user
    EXPECT_EQ(readBack(*h.dialogs.saveAnswer).size(), full);

    h.dialogs.saveAnswer = h.programDir() + QStringLiteral("/save/exact.PNG");
    form.onSaveClicked();
    EXPECT_TRUE(h.dialogs.saved.back().filter.contains(QStringLiteral("*.png")));
    QImageReader r(*h.dialogs.saveAnswer);
    r.setDecideFormatFromContent(true);
    EXPECT_EQ(r.format(), "png");
    const QImage png = r.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.size(), full);
    ASSERT_EQ(page.size(), full);
    for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x)
            ASSERT_EQ(png.pixel(x, y), screen.pixel(x, y) | 0xFF000000u) << x << "," << y;
    EXPECT_EQ(png.pixel(20, 20), qRgb(255, 128, 0));
    EXPECT_TRUE(h.messages.shown.empty());
}
