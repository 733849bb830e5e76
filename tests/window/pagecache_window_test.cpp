// The page cache follows its archives: a new copy of an archive shows its new pages.
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(PageCache, AChangedArchiveShowsItsNewPageAtTheNextStart) {
    Harness h;
    QImage page(40, 30, QImage::Format_RGB32);
    page.fill(qRgb(0, 0, 200));
    h.addArchive("pages.pak", {{"sea.bmp", bmpBytes(page)}});
    auto centre = [&](MainWindow& f) {
        return probe::session(f).canvas()->image.pixel(probe::session(f).canvas()->width() / 2,
                                                       probe::session(f).canvas()->height() / 2);
    };
    ASSERT_EQ(centre(h.make()), qRgb(0, 0, 200));
    h.form.reset();

    page.fill(qRgb(0, 160, 0)); // the upgrade brings another drawing under the same name
    h.addArchive("pages.pak", {{"sea.bmp", bmpBytes(page)}});
    MainWindow& f = h.make();
    EXPECT_EQ(centre(f), qRgb(0, 160, 0));
    EXPECT_TRUE(h.messages.shown.empty());
}
