// Start-up with the bundled pages, from an empty page cache to the window shown: without
// page pictures (the catalogue as it was) and with them, made on a worker thread. A third
// case waits until every picture is in the catalogue.
#include "app/mainwindow.h"
#include "app/thumbnails.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
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
        auto form = std::make_unique<TForm1>(
            Platform{}, ProgramPaths{prog, dir.path() + "/tmp/", QString(), QString()});
        form->resize(1366, 768);
        form->show();
        QApplication::processEvents();
        if (mode == Mode::PicturesAllShown)
            form->thumbnails->waitForAll();
        state.PauseTiming();
        form.reset();
        QDir::setCurrent(cwd);
        state.ResumeTiming();
    }
}
} // namespace

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
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
