// Sending pictures from the window to the real gallery site, served by PHP on 127.0.0.1.
#include "app/application.h"
#include "app/widgets.h"
#include "share/gallery.h"
#include "support/childproc.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
// The site on a free port with its data in a temporary folder; every upload's part is
// logged as PHP received it.
struct GallerySite {
    GallerySite() {
        port = freePort();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PICTARO_GALLERY_DATA"), dataDir());
        env.insert(QStringLiteral("PICTARO_GALLERY_DEBUG_LOG"), logFile());
        // Shown at once, as a site without moderation shows it: the gallery is checked below.
        env.insert(QStringLiteral("PICTARO_GALLERY_MODERATION"), QStringLiteral("show"));
        server.setProcessEnvironment(env);
        started = startChild(server, QStringLiteral("bash"),
                             {QStringLiteral(PICTARO_SOURCE_DIR "/site/serve.sh"),
                              QString::number(port)}) &&
                  waitForPort(port);
    }
    ~GallerySite() { stopChild(server); }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }
    QString dataDir() const { return dir.path() + QStringLiteral("/data"); }
    QString logFile() const { return dir.path() + QStringLiteral("/parts.log"); }
    QByteArray page(const QString& path) const {
        return runTool(QStringLiteral("curl"), {"-s", "-f", base() + path});
    }
    // The stored rows, read straight from the database.
    QByteArray rows() const {
        return runTool(QStringLiteral("php"),
                       {"-r",
                        "$p = new PDO('sqlite:' . $argv[1]);"
                        "foreach ($p->query('SELECT filename, child, age FROM pictures "
                        "ORDER BY id') as $r) echo $r[0], '|', $r[1], '|', $r[2], \"\\n\";",
                        dataDir() + QStringLiteral("/gallery.sqlite")});
    }

    QTemporaryDir dir;
    QProcess server;
    quint16 port = 0;
    bool started = false;
};

MainWindow& withPage(Harness& h) {
    h.addArchive(QStringLiteral("pages.pak"), {{"page.bmp", bmpBytes(outlinePage(400, 300))}});
    MainWindow& form = h.make();
    probe::session(form).canvas()->fillRect(QRect(30, 30, 80, 60), clRed);
    form.showPage();
    return form;
}

QStringList uploads(const MainWindow& form) {
    return QDir(probe::folders(form).uploadFolder)
        .entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Time);
}

const QRegularExpression kUploadName(QStringLiteral("^[A-Za-z0-9]{10}\\.jpg$"));

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(Send, PictureReachesTheGalleryWithTheChildsNameAndAge) {
    GallerySite site;
    ASSERT_TRUE(site.started) << site.server.readAll().toStdString();
    Harness h;
    MainWindow& form = withPage(h);
    probe::siteBase(form) = site.base();
    // Cancel twice on the name and once on the age: each box comes back until answered.
    h.input.answers = {QString(), QString(), QStringLiteral("Маша"), QString(),
                       QStringLiteral("4")};

    reportErrors(&h.messages, [&] { form.onSendClicked(); });

    EXPECT_EQ(h.input.prompts, (std::vector<QString>{"Child's name", "Child's name", "Child's name",
                                                     "Child's age", "Child's age"}));
    ASSERT_EQ(h.messages.shown.size(), 1u) << h.messages.shown[0].text.toStdString();
    EXPECT_EQ(h.messages.shown[0].title, QStringLiteral("Information"));
    EXPECT_EQ(h.messages.shown[0].text,
              QStringLiteral("The picture is successfully loaded on the site."));

    // The JPEG stays in the upload folder: the area's size, quality 60.
    const QStringList sent = uploads(form);
    ASSERT_EQ(sent.size(), 1);
    const QString name = sent[0];
    EXPECT_TRUE(kUploadName.match(name).hasMatch()) << name.toStdString();
    EXPECT_EQ(QSet<QChar>(name.begin(), name.begin() + 10).size(), 10);
    const QString local = probe::folders(form).uploadFolder + QLatin1Char('/') + name;
    const QImage jpeg(local, "JPEG");
    EXPECT_EQ(jpeg.size(), probe::ui(form).drawingArea->size());
    const QColor red = jpeg.pixelColor(70, 60);
    EXPECT_GT(red.red(), 220);
    EXPECT_LT(red.green(), 40);
    EXPECT_EQ(runTool(QStringLiteral("identify"), {"-format", "%Q", local}), "60");

    // The site holds the same picture (re-encoded by the site) under the announced name
    // and shows the child.
    const QImage stored(site.dataDir() + QStringLiteral("/pictures/") + name, "JPEG");
    EXPECT_EQ(stored.size(), jpeg.size());
    EXPECT_GT(stored.pixelColor(70, 60).red(), 220);
    EXPECT_LT(stored.pixelColor(70, 60).green(), 40);
    EXPECT_EQ(site.rows(), name.toUtf8() + "|Маша|4\n");
    const QString gallery = QString::fromUtf8(site.page(QStringLiteral("/baby.php")));
    EXPECT_TRUE(gallery.contains(
        QStringLiteral("<bdi class=\"child\">Маша</bdi><span class=\"age\">, <bdi>4</bdi></span>")))
        << gallery.toStdString();
    EXPECT_TRUE(gallery.contains(QStringLiteral("/picture.php?f=") + name));

    // What PHP saw of the part: the full local path as its file name, the JPEG type, and
    // the request headers of the program.
    const QList<QByteArray> lines = readAll(site.logFile()).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1);
    const QJsonObject part = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(part.value("full_path").toString(), local);
    EXPECT_EQ(part.value("name").toString(), name);
    EXPECT_EQ(part.value("type").toString(), QStringLiteral("image/jpeg"));
    EXPECT_EQ(part.value("user_agent").toString(),
              QStringLiteral("Mozilla/4.0 (compatible; MSIE 5.5; Windows 98)"));
    EXPECT_EQ(part.value("accept_language").toString(), QStringLiteral("ru"));
}

// A second send makes a new name; names and ages with "&", blanks and quotes arrive whole.
TEST(Send, EverySendHasItsOwnNameAndValuesArriveWhole) {
    GallerySite site;
    ASSERT_TRUE(site.started);
    Harness h;
    MainWindow& form = withPage(h);
    probe::siteBase(form) = site.base();
    h.input.answers = {QStringLiteral("Tom & Jerry"), QStringLiteral("3#4"),
                       QStringLiteral("Anna Maria"),  QStringLiteral("5 лет"),
                       QStringLiteral("O'Neil=1"),    QStringLiteral("+6")};
    for (int i = 0; i < 3; ++i)
        reportErrors(&h.messages, [&] { form.onSendClicked(); });
    ASSERT_EQ(h.messages.shown.size(), 3u);
    for (const ShownMessage& m : h.messages.shown)
        EXPECT_EQ(m.title, QStringLiteral("Information")) << m.text.toStdString();

    QStringList names = uploads(form);
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 3);
    const QStringList rows = QString::fromUtf8(site.rows()).trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("|Tom & Jerry|3#4"))) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].endsWith(QStringLiteral("|Anna Maria|5 лет"))) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral("|O'Neil=1|+6"))) << rows[2].toStdString();
    for (const QString& row : rows)
        EXPECT_TRUE(names.contains(row.section(QLatin1Char('|'), 0, 0))) << row.toStdString();
}

TEST(Send, OfflineDoesNothingAtAll) {
    Harness h;
    MainWindow& form = withPage(h);
    probe::siteBase(form) = QStringLiteral("http://127.0.0.1:9"); // never reached
    h.network.online = false;
    h.input.answers = {QStringLiteral("Маша"), QStringLiteral("4")};
    reportErrors(&h.messages, [&] { form.onSendClicked(); });
    EXPECT_FALSE(QFileInfo::exists(probe::folders(form).uploadFolder));
    EXPECT_TRUE(h.input.prompts.empty());
    EXPECT_TRUE(h.messages.shown.empty());
}

// No site: the client's error text in the standard error report; the JPEG stays.
TEST(Send, SiteDownShowsTheErrorAndKeepsTheJpeg) {
    Harness h;
    MainWindow& form = withPage(h);
    probe::siteBase(form) = QStringLiteral("http://127.0.0.1:%1").arg(freePort());
    h.input.answers = {QStringLiteral("Маша"), QStringLiteral("4")};
    reportErrors(&h.messages, [&] { form.onSendClicked(); });
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(h.messages.shown[0].text.contains(QStringLiteral("onnect")))
        << h.messages.shown[0].text.toStdString();
    const QStringList kept = uploads(form);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_GT(QFileInfo(probe::folders(form).uploadFolder + QLatin1Char('/') + kept[0]).size(), 0);
}

// The site refuses the announce (an age too long for it): the status is an error, and no
// success is claimed.
TEST(Send, ErrorStatusFromTheSiteIsReported) {
    GallerySite site;
    ASSERT_TRUE(site.started);
    Harness h;
    MainWindow& form = withPage(h);
    probe::siteBase(form) = site.base();
    h.input.answers = {QStringLiteral("Маша"), QString(30, QLatin1Char('4'))};
    reportErrors(&h.messages, [&] { form.onSendClicked(); });
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(h.messages.shown[0].text.contains(QStringLiteral("400")))
        << h.messages.shown[0].text.toStdString();
    EXPECT_EQ(uploads(form).size(), 1);
    EXPECT_TRUE(site.rows().isEmpty());
}

// The JPEG cannot be written: the warning, and nothing is asked or sent.
TEST(Send, PictureThatCannotBeWrittenGivesTheWarning) {
    Harness h;
    MainWindow& form = withPage(h);
    probe::siteBase(form) = QStringLiteral("http://127.0.0.1:9");
    // A folder no file can be created in, whoever runs the test.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self"), probe::folders(form).uploadFolder));
    h.input.answers = {QStringLiteral("Маша"), QStringLiteral("4")};
    reportErrors(&h.messages, [&] { form.onSendClicked(); });
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].title, QStringLiteral("Warning"));
    EXPECT_TRUE(
        h.messages.shown[0].text.startsWith(QStringLiteral("The picture could not be made.")));
    EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(h.input.prompts.empty());
}

TEST(Send, GalleryAndWriteToUsOpenTheSiteInTheBrowser) {
    Harness h;
    MainWindow& form = h.make();
    probe::siteBase(form) = QStringLiteral("http://gallery.test:8000");
    probe::ui(form).viewGalleryAction->trigger();
    probe::ui(form).writeToUsAction->trigger();
    EXPECT_EQ(h.shell.opened,
              (std::vector<QString>{QStringLiteral("http://gallery.test:8000/baby.php"),
                                    QStringLiteral("http://gallery.test:8000")}));
}
