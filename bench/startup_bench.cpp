// Start-up with the bundled pages, from an empty page cache to the window shown: without
// page pictures (the catalogue as it was) and with them, made on a worker thread. A third
// case waits until every picture is in the catalogue. The last cases start the program itself
// on an X display (a private Xvfb) and time from the process's start to the first screen that
// shows the page, with an empty page cache and warm.
#include "app/mainwindow.h"
#include "app/thumbnails.h"
#include "library/picturestore.h"
#include "quietqt.h"
#include "support/windowprobe.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>

namespace {
enum class Mode { NoPictures, Pictures, PicturesAllShown };

void startUp(benchmark::State& state, Mode mode) {
    CatalogueThumbnails::enabled = mode != Mode::NoPictures;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString prog = dir.path() + QStringLiteral("/prog");
        QDir().mkpath(prog + QStringLiteral("/pak"));
        for (const QString& pak : QDir(QStringLiteral(PICTARO_PAK_DIR)).entryList({"*.pak"}))
            QFile::copy(QStringLiteral(PICTARO_PAK_DIR "/") + pak, prog + "/pak/" + pak);
        QDir().mkpath(dir.path() + QStringLiteral("/tmp"));
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(prog);
        state.ResumeTiming();
        auto form = std::make_unique<MainWindow>(
            Platform{}, ProgramPaths{prog, dir.path() + "/tmp/", QString(), QString(), QString()});
        form->resize(1366, 768);
        form->show();
        QApplication::processEvents();
        if (mode == Mode::PicturesAllShown)
            probe::thumbnails(*form)->waitForAll();
        state.PauseTiming();
        form.reset();
        QDir::setCurrent(cwd);
        state.ResumeTiming();
    }
}
// A private X server for the run; none when Xvfb is missing.
struct XServer {
    XServer() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return;
        for (int n = 90; n < 120 && !display; ++n) {
            const QString name = QStringLiteral(":%1").arg(n);
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                continue;
            server.start(xvfb, {name, QStringLiteral("-screen"), QStringLiteral("0"),
                                QStringLiteral("1366x768x24"), QStringLiteral("-nolisten"),
                                QStringLiteral("tcp"), QStringLiteral("-br")});
            for (int i = 0; i < 100 && !display; ++i) {
                QThread::msleep(50);
                display = XOpenDisplay(name.toUtf8().constData());
            }
            if (display)
                this->name = name;
            else
                stop();
        }
    }
    ~XServer() {
        if (display)
            XCloseDisplay(display);
        stop();
    }
    void stop() {
        if (server.state() == QProcess::NotRunning)
            return;
        server.terminate();
        if (!server.waitForFinished(3000))
            server.kill();
        server.waitForFinished(1000);
    }
    // The screen where the page lies (the drawing area of a window at the top left).
    std::vector<unsigned long> sample() {
        const QRect r(400, 300, 300, 200);
        XImage* img = XGetImage(display, DefaultRootWindow(display), r.x(), r.y(),
                                unsigned(r.width()), unsigned(r.height()), AllPlanes, ZPixmap);
        std::vector<unsigned long> out;
        if (!img)
            return out;
        out.reserve(std::size_t(r.width() * r.height()));
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x)
                out.push_back(XGetPixel(img, x, y));
        XDestroyImage(img);
        return out;
    }
    QProcess server;
    Display* display = nullptr;
    QString name;
};

// One page of fine stripes: whatever else is on the screen never looks like it.
QByteArray stripedPak() {
    QImage page(800, 600, QImage::Format_RGB888);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setPen(QPen(Qt::black, 3));
    for (int x = -600; x < 800; x += 17)
        p.drawLine(x, 0, x + 600, 600);
    p.end();
    QByteArray bmp;
    QBuffer b(&bmp);
    b.open(QIODevice::WriteOnly);
    page.save(&b, "BMP");
    const QByteArray name("stripes.bmp");
    QByteArray pak;
    const quint16 nl = quint16(name.size());
    const quint32 dl = quint32(bmp.size());
    pak.append(char(nl & 0xFF)).append(char(nl >> 8)).append(name);
    for (int k = 0; k < 4; ++k)
        pak.append(char((dl >> (8 * k)) & 0xFF));
    return pak + bmp;
}

// A store of n kept pictures, as a family has after months: their names and times differ,
// their thumbnails too.
bool fillPictureStore(const QString& folder, int n) {
    PictureStore store(folder);
    QImage picture(960, 540, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i) {
        picture.fill(QColor::fromHsv(i * 37 % 360, 160, 230));
        QPainter(&picture).fillRect(i % 800, i % 400, 160, 140, Qt::black);
        store.keep(QStringLiteral("page:kept%1").arg(i), QStringLiteral("kept%1").arg(i),
                   picture.copy());
        if (i % 50 == 49)
            store.flush(); // bounded memory while they are written
    }
    store.flush();
    return int(store.list().size()) == n;
}

// Process start to the first screen where the page is as it is once the program is idle;
// with a store of kept pictures, the shelf is read off the window thread meanwhile.
void firstPageOnX(benchmark::State& state, bool warm, int keptPictures) {
    static XServer x;
    if (!x.display) {
        state.SkipWithError("Xvfb is missing or did not start (scripts/deps.sh --test installs "
                            "it): no measurement on an X display");
        return;
    }
    QTemporaryDir dir;
    const QString prog = dir.path() + QStringLiteral("/prog");
    QDir().mkpath(prog + QStringLiteral("/pak"));
    QDir().mkpath(prog + QStringLiteral("/save"));
    QFile::copy(QStringLiteral(PICTARO_EXE), prog + QStringLiteral("/pictaro"));
    {
        QFile pak(prog + QStringLiteral("/pak/stripes.pak"));
        if (!pak.open(QIODevice::WriteOnly) || pak.write(stripedPak()) < 0) {
            state.SkipWithError("cannot write the page archive");
            return;
        }
    }
    // Every run shares the one store: a run that is only watched adds nothing to it.
    const QString keptData = dir.path() + QStringLiteral("/kept");
    if (keptPictures > 0 &&
        !fillPictureStore(keptData + QStringLiteral("/pictaro/pictures"), keptPictures)) {
        state.SkipWithError("cannot fill the pictures store");
        return;
    }
    int run = 0;
    auto start = [&](QProcess& app) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), x.name);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("HOME"), dir.path());
        // Warm runs share the page cache; every run starts without an autosave.
        env.insert(QStringLiteral("XDG_CACHE_HOME"),
                   dir.path() +
                       (warm ? QStringLiteral("/cache") : QStringLiteral("/cache%1").arg(run)));
        env.insert(QStringLiteral("XDG_DATA_HOME"),
                   keptPictures > 0 ? keptData : dir.path() + QStringLiteral("/data%1").arg(run));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path() + QStringLiteral("/config"));
        ++run;
        app.setProcessEnvironment(env);
        app.setWorkingDirectory(prog);
        app.start(prog + QStringLiteral("/pictaro"), {});
    };
    auto stop = [](QProcess& app) {
        app.kill();
        app.waitForFinished(3000);
    };
    // The page as the idle program shows it; the first run also fills the warm cache.
    std::vector<unsigned long> shown;
    {
        QProcess app;
        start(app);
        QThread::msleep(3000);
        shown = x.sample();
        stop(app);
    }
    // The stripes: a screen of one color there means the page is not where it is looked for.
    if (std::count(shown.begin(), shown.end(), shown.empty() ? 0 : shown.front()) * 10 >
        std::ptrdiff_t(shown.size()) * 9) {
        state.SkipWithError("no page where the drawing area should be");
        return;
    }
    auto alike = [&](const std::vector<unsigned long>& now) {
        if (now.size() != shown.size() || shown.empty())
            return false;
        std::size_t same = 0;
        for (std::size_t i = 0; i < now.size(); ++i)
            same += now[i] == shown[i];
        return same * 100 >= now.size() * 98;
    };
    for (auto _ : state) {
        QProcess app;
        QElapsedTimer t;
        t.start();
        start(app);
        bool seen = false;
        while (!seen && t.elapsed() < 10000) {
            seen = alike(x.sample());
            if (!seen)
                QThread::msleep(2);
        }
        state.SetIterationTime(double(t.nsecsElapsed()) * 1e-9);
        stop(app);
        if (!seen) {
            state.SkipWithError("the page never showed");
            return;
        }
    }
}
} // namespace

BENCHMARK_CAPTURE(firstPageOnX, empty_page_cache, false, 0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(firstPageOnX, warm, true, 0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(firstPageOnX, warm_500_kept_pictures, true, 500)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(startUp, baseline_no_pictures, Mode::NoPictures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(startUp, with_pictures, Mode::Pictures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(startUp, with_pictures_all_shown, Mode::PicturesAllShown)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quietqt::install();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
