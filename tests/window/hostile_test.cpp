// The window fed broken pages, damaged archives and a gallery server that never answers.
#include "app/application.h"
#include "app/widgets.h"
#include "support/endless_server.h"
#include "support/fakes.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
QByteArray encoded(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return bytes;
}

QRgb centre(const MainWindow& f) {
    return probe::session(f).canvas()->image.pixel(probe::session(f).canvas()->width() / 2,
                                                   probe::session(f).canvas()->height() / 2);
}
} // namespace

// Other picture formats under a page's name, drawn at start: the error is shown once, and
// the child still has a white sheet to draw on; Clear keeps to the white sheet.
TEST(Loading, BrokenFirstPageLeavesAWhiteSheetToDrawOn) {
    for (const char* format : {"PNG", "JPEG"}) {
        SCOPED_TRACE(format);
        Harness h;
        h.addArchive("a.pak", {{"broken.bmp", encoded(outlinePage(200, 150), format)}});
        MainWindow& f = h.make(true, QSize(500, 300));
        ASSERT_EQ(h.messages.shown.size(), 1u);
        ASSERT_TRUE(probe::session(f).canvas());
        EXPECT_EQ(probe::session(f).canvas()->image.size(), QSize(500, 300));
        EXPECT_EQ(centre(f), qRgb(255, 255, 255));

        // The fill tool of the start colors the whole sheet.
        QTest::mousePress(probe::ui(f).drawingArea, Qt::LeftButton, {}, QPoint(250, 150));
        QTest::mouseRelease(probe::ui(f).drawingArea, Qt::LeftButton, {}, QPoint(250, 150));
        EXPECT_NE(centre(f), qRgb(255, 255, 255));

        // Clear cannot bring the page back: it says so and starts a white sheet; the next
        // Clear has nothing to report.
        reportErrors(&h.messages, [&] { f.onClearClicked(); });
        EXPECT_EQ(h.messages.shown.size(), 2u);
        EXPECT_EQ(centre(f), qRgb(255, 255, 255));
        reportErrors(&h.messages, [&] { f.onClearClicked(); });
        EXPECT_EQ(h.messages.shown.size(), 2u);
        EXPECT_EQ(centre(f), qRgb(255, 255, 255));
    }
}

// A cut archive and a name too long for the file system: the pages that are whole stay in
// the catalogue, and one error report names what was lost.
TEST(Catalogue, DamagedArchivesAreReportedOnceAndTheirWholePagesStay) {
    Harness h;
    h.addArchive("long.pak", {{QByteArray(65531, 'n') + ".bmp", bmpBytes(outlinePage(40, 30))},
                              {"ok.bmp", bmpBytes(outlinePage(40, 30))}});
    h.addArchive("cut.pak", {{"whole.bmp", bmpBytes(outlinePage(40, 30))}});
    {
        QFile cut(h.programDir() + QStringLiteral("/pak/cut.pak"));
        ASSERT_TRUE(cut.open(QIODevice::Append));
        const QByteArray name = "half.bmp";
        const QByteArray page = bmpBytes(outlinePage(40, 30));
        const quint32 len = quint32(page.size());
        cut.write(QByteArray(1, char(name.size())) + '\0' + name);
        cut.write(QByteArray::fromRawData(reinterpret_cast<const char*>(&len), 4));
        cut.write(page.left(page.size() / 2));
    }
    MainWindow& f = h.make(false);
    ASSERT_GE(h.messages.shown.size(), 1u);
    const QString report = h.messages.shown[0].text;
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(report.contains(QStringLiteral("cut.pak"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Cannot create file"))) << report.toStdString();
    ASSERT_EQ(probe::catalogue(f).catalogueNodes.size(), 6u); // two archives, two pages each
    EXPECT_TRUE(QFile::exists(probe::folders(f).cacheFolder + QStringLiteral("/ok.bmp")));
    EXPECT_TRUE(QFile::exists(probe::folders(f).cacheFolder + QStringLiteral("/whole.bmp")));
    EXPECT_FALSE(QFile::exists(probe::folders(f).cacheFolder + QStringLiteral("/half.bmp")));
    EXPECT_GE(probe::stats(f).pageCounts.size(), probe::catalogue(f).catalogueNodes.size());
}

// A gallery that trickles an endless answer: the send gives up at the time limit with the
// standard error report, and meanwhile the window keeps running its timers under a busy
// cursor.
TEST(Send, EndlessAnswerEndsInTimeWhileTheWindowKeepsRunning) {
    EndlessServer server(EndlessServer::Pace::Trickle);
    ASSERT_NE(server.port(), 0);
    Harness h;
    h.addArchive(QStringLiteral("pages.pak"), {{"page.bmp", bmpBytes(outlinePage(400, 300))}});
    MainWindow& form = h.make();
    probe::siteBase(form) = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    probe::httpTimeLimitMs(form) = 1500;
    h.input.answers = {QStringLiteral("Маша"), QStringLiteral("4")};

    int ticks = 0, busy = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        const QCursor* c = QGuiApplication::overrideCursor();
        busy += c && c->shape() == Qt::WaitCursor;
    });
    timer.start(50);
    QElapsedTimer t;
    t.start();
    reportErrors(&h.messages, [&] { form.onSendClicked(); });
    const qint64 took = t.elapsed();
    timer.stop();

    EXPECT_LT(took, 1500 + 4000);
    EXPECT_EQ(server.requests(), 1); // the announce failed, so nothing was uploaded
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(h.messages.shown[0].text.contains(QStringLiteral("timed out")))
        << h.messages.shown[0].text.toStdString();
    EXPECT_GT(ticks, 5);
    EXPECT_EQ(busy, ticks);
    const QCursor* after = QGuiApplication::overrideCursor();
    EXPECT_TRUE(!after || after->shape() != Qt::WaitCursor);
    EXPECT_EQ(QDir(probe::folders(form).uploadFolder)
                  .entryList({QStringLiteral("*.jpg")}, QDir::Files)
                  .size(),
              1);
}

// Tens of thousands of pages must not each carry an icon of their own.
TEST(Catalogue, NodesOfAKindShareOneIcon) {
    Harness h;
    h.addArchive("a.pak", {{"p1.bmp", "1"}, {"p2.bmp", "2"}});
    h.addArchive("b.pak", {{"p3.bmp", "3"}});
    MainWindow& f = h.make(false);
    ASSERT_EQ(probe::catalogue(f).catalogueNodes.size(), 5u);
    const QIcon archive = probe::catalogue(f).catalogueNodes[0]->icon(0),
                page = probe::catalogue(f).catalogueNodes[1]->icon(0);
    ASSERT_FALSE(archive.isNull());
    ASSERT_FALSE(page.isNull());
    EXPECT_NE(archive.cacheKey(), page.cacheKey());
    EXPECT_EQ(probe::catalogue(f).catalogueNodes[3]->icon(0).cacheKey(), archive.cacheKey());
    EXPECT_EQ(probe::catalogue(f).catalogueNodes[2]->icon(0).cacheKey(), page.cacheKey());
    EXPECT_EQ(probe::catalogue(f).catalogueNodes[4]->icon(0).cacheKey(), page.cacheKey());
}
