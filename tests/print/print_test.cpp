// Printing on real print paths: a private CUPS server with a cups-pdf queue, and Qt's PDF
// output. Each places the picture at three device pixels per picture pixel from the
// printable area's top-left corner.
#include "app/application.h"
#include "app/qtplatform.h"
#include "support/childproc.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {
// A print server of our own: its own folders and socket, no network, gone with the tests.
// Every printer lookup of this process goes to it, so it must run before Qt asks for one.
class PrivateCups : public ::testing::Environment {
  public:
    void SetUp() override {
        const QString cupsd =
            QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
        if (cupsd.isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {"/usr/sbin"}).isEmpty()) {
            why = "cupsd or lpadmin is not installed";
            return;
        }
        const QString r = dir.path();
        socket = r + QStringLiteral("/cups.sock");
        for (const char* d : {"spool", "cache", "state", "log", "tmp", "ppd"})
            QDir().mkpath(r + QLatin1Char('/') + QLatin1String(d));
        QFile::setPermissions(r + QStringLiteral("/tmp"), QFileDevice::Permissions(0x7777));
        writeFile(
            r + QStringLiteral("/cupsd.conf"),
            "Listen " + socket.toUtf8() +
                "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n");
        const QByteArray root = r.toUtf8();
        writeFile(r + QStringLiteral("/cups-files.conf"),
                  "ServerRoot " + root + "\nRequestRoot " + root + "/spool\nCacheDir " + root +
                      "/cache\nStateDir " + root + "/state\nTempDir " + root + "/tmp\nErrorLog " +
                      root + "/log/error_log\nAccessLog " + root + "/log/access_log\nPageLog " +
                      root + "/log/page_log\nSystemGroup root\nFileDevice No\n");
        qputenv("CUPS_SERVER", socket.toUtf8());
        if (!startChild(server, cupsd,
                        {"-f", "-c", r + "/cupsd.conf", "-s", r + "/cups-files.conf"})) {
            why = "cupsd did not start";
            return;
        }
        for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i)
            QThread::msleep(50);
        if (!QFileInfo::exists(socket) || runTool("lpstat", {"-h", socket, "-r"}).isNull()) {
            why = "cupsd did not answer: " + server.readAll().toStdString();
            return;
        }
        running = true;
    }
    void TearDown() override { stopChild(server); }

    bool lpadmin(const QStringList& args) const {
        return !runTool(QStringLiteral("lpadmin"), QStringList{"-h", socket} + args).isNull();
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    QTemporaryDir dir{QStringLiteral("/tmp/pictaro-cups-XXXXXX")}; // short: a socket path
    QString socket;
    QProcess server;
    bool running = false;
    std::string why;
};

PrivateCups* cups = static_cast<PrivateCups*>(::testing::AddGlobalTestEnvironment(new PrivateCups));

// A picture with no white at its edges, so its extent on the page can be measured.
QImage testPicture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(200, 40, 40));
    for (int i = 0; i < qMin(w, h); ++i)
        img.setPixel(i, i, qRgb(0, 0, 0));
    return img;
}

// The bounding box of the non-white pixels of page 1 of a PDF rendered at dpi.
QRect inkBox(const QString& pdf, int dpi, QSize* pageSize = nullptr) {
    QTemporaryDir out;
    const QString base = out.path() + QStringLiteral("/page");
    if (runTool(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-f", "1", "-l", "1",
                                             "-singlefile", "-png", pdf, base})
            .isNull())
        return {};
    const QImage page(base + QStringLiteral(".png"));
    if (pageSize)
        *pageSize = page.size();
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 235)
                box |= QRect(x, y, 1, 1);
    return box;
}

void expectNear(const QRect& got, const QRect& want, int slack, const char* what) {
    EXPECT_NEAR(got.left(), want.left(), slack) << what;
    EXPECT_NEAR(got.top(), want.top(), slack) << what;
    EXPECT_NEAR(got.width(), want.width(), slack) << what;
    EXPECT_NEAR(got.height(), want.height(), slack) << what;
}

QString homeFolder() {
    const passwd* pw = getpwuid(getuid());
    return pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath();
}

// Waits until the job has left the queue and its PDF is there; returns the PDF's path.
QString waitForPdf(const QString& title) {
    const QDir out(homeFolder() + QStringLiteral("/PDF"));
    for (int i = 0; i < 600; ++i) {
        const QByteArray queue = runTool(QStringLiteral("lpstat"), {"-h", cups->socket, "-o"});
        const QStringList found = out.entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
        if (queue.trimmed().isEmpty() && !found.isEmpty())
            return out.filePath(found.front());
        QThread::msleep(100);
    }
    return {};
}
} // namespace

// The same placement on Qt's own PDF output, which needs no print server: a picture of
// w x h lands as 3w x 3h device pixels at the corner of the printable area, margins apart.
TEST(Printing, PdfOutputGetsThreeDevicePixelsPerPicturePixelFromThePrintableCorner) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 20, 10, 10), QPageLayout::Millimeter);
    printer.setFullPage(false);
    const QImage picture = testPicture(300, 200);
    QtPrinter::printOn(printer, picture, 3);

    // Rendered at a third of the device resolution, one picture pixel is one pixel again.
    QSize page;
    const QRect box = inkBox(pdf, 100, &page);
    ASSERT_FALSE(box.isNull()) << "pdftoppm (poppler-utils) could not render the output";
    EXPECT_NEAR(page.width(), 827, 1); // A4 at 100 dpi
    const QRect want(qRound(15 / 25.4 * 100), qRound(20 / 25.4 * 100), 300, 200);
    expectNear(box, want, 1, "picture on the PDF page");
}

// The printer's pixels are those of its own resolution (600 dpi set on the queue here), not
// the 1200 dpi Qt would lay a page out at.
TEST(Printing, RealPrinterGetsThePictureTripledInItsOwnPixelsAtThePrintableCorner) {
    if (!cups->running)
        GTEST_SKIP() << "no private print server: " << cups->why;
    ASSERT_TRUE(cups->lpadmin({"-p", "PictaroPDF", "-E", "-v", "cups-pdf:/", "-m",
                               "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd", "-o", "Resolution=600dpi"}));
    ASSERT_TRUE(cups->lpadmin({"-d", "PictaroPDF"}));
    ASSERT_FALSE(QPrinterInfo::defaultPrinter().isNull());

    const QString title =
        QStringLiteral("pictaro-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QImage picture = testPicture(240, 160);
    QtPrinter printer(title);
    ASSERT_NO_THROW(printer.print(picture, 3));
    const QString pdf = waitForPdf(title);
    ASSERT_FALSE(pdf.isEmpty()) << "cups-pdf wrote no file for " << title.toStdString();

    // Three printer pixels per picture pixel: the image is placed at 600 / 3 = 200 ppi.
    const QByteArray list = runTool(QStringLiteral("pdfimages"), {"-list", pdf});
    const QList<QByteArray> rows = list.split('\n');
    ASSERT_GE(rows.size(), 3) << list.toStdString();
    const QList<QByteArray> cols = rows[2].simplified().split(' ');
    ASSERT_GE(cols.size(), 14) << list.toStdString();
    EXPECT_EQ(cols[3].toInt(), 240);
    EXPECT_EQ(cols[4].toInt(), 160);
    EXPECT_NEAR(cols[12].toInt(), 200, 1) << list.toStdString();
    EXPECT_NEAR(cols[13].toInt(), 200, 1) << list.toStdString();

    // Rendered at 200 dpi, one picture pixel is one pixel, placed at the printable corner.
    QPrinter info(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    const QRect paint = info.pageLayout().paintRectPixels(200);
    const QRect box = inkBox(pdf, 200);
    expectNear(box, QRect(paint.topLeft(), QSize(240, 160)), 1, "picture on the page");
    QFile::remove(pdf);
    cups->lpadmin({"-x", "PictaroPDF"});
}

// With no queue at all the window shows the standard error report, never nothing.
TEST(Printing, NoPrinterShowsTheErrorReport) {
    if (!cups->running)
        GTEST_SKIP() << "no private print server: " << cups->why;
    cups->lpadmin({"-x", "PictaroPDF"}); // whatever an earlier test left
    Harness h;
    QtPrinter real;
    MainWindow& form = h.make();
    probe::platform(form).printer = &real;
    ASSERT_TRUE(probe::session(form).canvas());
    reportErrors(&h.messages, [&] { form.onPrintClicked(); });
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, QStringLiteral("No printer is installed."));
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
}
// A queue that turns jobs away is reported too, with the print server's reason.
TEST(Printing, RefusingPrinterShowsTheErrorReport) {
    if (!cups->running)
        GTEST_SKIP() << "no private print server: " << cups->why;
    ASSERT_TRUE(cups->lpadmin(
        {"-p", "PictaroPDF", "-E", "-v", "cups-pdf:/", "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"}));
    ASSERT_TRUE(cups->lpadmin({"-d", "PictaroPDF"}));
    ASSERT_FALSE(
        runTool(QStringLiteral("cupsreject"), {"-h", cups->socket, "PictaroPDF"}).isNull());
    Harness h;
    QtPrinter real;
    MainWindow& form = h.make();
    probe::platform(form).printer = &real;
    reportErrors(&h.messages, [&] { form.onPrintClicked(); });
    cups->lpadmin({"-x", "PictaroPDF"});
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].text.startsWith(
        QStringLiteral("The printer \"PictaroPDF\" refused the job: ")))
        << h.messages.shown[0].text.toStdString();
}
