// File > Open with the program's own saved pictures.
#include "app/widgets.h"
#include "support/fakes.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
MainWindow& withPage(Harness& h) {
    h.addArchive(QStringLiteral("pages.pak"), {{"page.bmp", bmpBytes(outlinePage(400, 300))}});
    return h.make();
}

void expectSamePixels(const QImage& a, const QImage& b) {
    ASSERT_EQ(a.size(), b.size());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            ASSERT_EQ(a.pixel(x, y) | 0xFF000000u, b.pixel(x, y) | 0xFF000000u) << x << "," << y;
}
} // namespace

// Saving as PNG and opening again gives back the very picture, however often it is done.
TEST(OpenPicture, ASavedPngOpensAgainAtItsSize) {
    Harness h;
    MainWindow& f = withPage(h);
    probe::session(f).canvas()->fillRect(QRect(10, 20, 30, 40), clRed);
    probe::session(f).canvas()->fillRect(QRect(probe::session(f).canvas()->width() - 30, 5, 20, 20),
                                         clBlue);
    const QImage painted = probe::session(f).canvas()->image.copy();
    for (int cycle = 1; cycle <= 3; ++cycle) {
        const QString png = h.programDir() + QStringLiteral("/save/baby%1.png").arg(cycle);
        h.dialogs.saveAnswer = png;
        f.onSaveClicked();
        ASSERT_TRUE(QFile::exists(png));
        f.loadPage(QString()); // something else on the area meanwhile
        h.dialogs.openAnswer = png;
        f.onOpenClicked();
        expectSamePixels(probe::session(f).canvas()->image, painted);
    }
    EXPECT_TRUE(h.messages.shown.empty());
}
