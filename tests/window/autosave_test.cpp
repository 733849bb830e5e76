// The picture comes back at the next start with its page; a damaged file is passed over.
#include "app/widgets.h"
#include "share/autosave.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

namespace {
QString pageName(const TForm1& f) {
    return f.CurrentPageIndex > 0 ? f.TreeNodes[size_t(f.CurrentPageIndex)]->text(0) : QString();
}
} // namespace

TEST(Autosave, ThePictureAndItsPageComeBackAndADamagedFileIsPassedOver) {
    Harness h;
    h.dataFolder = h.dir.path() + QStringLiteral("/data/");
    QDir().mkpath(h.dataFolder);
    h.addArchive(QStringLiteral("pages.pak"), {{"cat.bmp", bmpBytes(outlinePage(400, 300))},
                                               {"dog.bmp", bmpBytes(outlinePage(300, 400))},
                                               {"owl.bmp", bmpBytes(outlinePage(350, 350))}});
    TForm1* f = &h.make();
    ASSERT_GT(f->CurrentPageIndex, 0);
    const QString path = f->AutosavePath();
    QTest::mouseClick(f->PaintBox1, Qt::LeftButton, {}, QPoint(5, 5)); // fill the margin
    ASSERT_EQ(f->PageBitmap->image.pixel(5, 5), toQRgb(clBlue));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto d = ReadAutosave(path);
        return d && d->picture.pixel(5, 5) == toQRgb(clBlue);
    }));
    const QImage painted = f->PageBitmap->image.copy();
    const QString name = pageName(*f);

    // A run that ends without closing: the next start shows the painted page.
    h.form.reset();
    f = &h.make();
    EXPECT_EQ(f->PageBitmap->image, painted);
    EXPECT_EQ(pageName(*f), name);
    h.form.reset();

    // Half a file, or someone else's: the usual fresh start, and no message.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    ASSERT_TRUE(file.resize(whole.size() / 2));
    file.close();
    f = &h.make();
    EXPECT_NE(f->PageBitmap->image.pixel(5, 5), toQRgb(clBlue));
    EXPECT_TRUE(h.messages.shown.empty());
    h.form.reset();
}
