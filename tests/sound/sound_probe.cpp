// Drives the real sound player against whatever PulseAudio server the environment names and
// records the server's output with parec around each step. The calling script judges the
// recordings.
#include "app/qtplatform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {
void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// One parec run into a WAV file, started and ended around a step.
class Recording {
  public:
    explicit Recording(const QString& file) {
        proc_.start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("null.monitor"),
                                              QStringLiteral("--file-format=wav"),
                                              QStringLiteral("--latency-msec=20"), file});
        if (!proc_.waitForStarted(5000))
            throw std::runtime_error("parec did not start");
        wait(300); // connected before anything plays
    }
    ~Recording() {
        // parec finishes the file's header on an interrupt, not on a terminate.
        if (proc_.state() == QProcess::Running && proc_.processId() > 0)
            ::kill(pid_t(proc_.processId()), SIGINT);
        if (!proc_.waitForFinished(5000))
            proc_.kill();
    }

  private:
    QProcess proc_;
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: sound_probe <output folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    try {
        std::optional<Recording> first(out + QStringLiteral("prompt.wav"));
        // The player loads its sounds in the background; the first prompt is asked for
        // before the event loop has run once, while they are still loading.
        QtSound sound;
        std::fprintf(stderr, "en_red was %s when asked for\n",
                     sound.isLoaded(QStringLiteral("en_red")) ? "ready" : "loading");
        sound.play(QStringLiteral("en_red"), false);
        wait(1200);
        first.reset();
        {
            // The other languages' prompts live in a folder of their own in the resource.
            Recording r(out + QStringLiteral("prompt_ru.wav"));
            sound.play(QStringLiteral("ru/red"), false);
            wait(1500);
        }

        sound.play(QStringLiteral("sndfuse"), true);
        wait(1800); // past the end of the sample: only a loop still sounds
        {
            Recording r(out + QStringLiteral("loop.wav"));
            wait(1000);
        }
        sound.stop();
        wait(400);
        {
            Recording r(out + QStringLiteral("after_stop.wav"));
            wait(1000);
        }
        sound.play(QStringLiteral("sndstir"), true);
        wait(700);
        sound.play(QStringLiteral("s1"), false); // cuts the loop off
        wait(800);
        {
            Recording r(out + QStringLiteral("after_cut.wav"));
            wait(1000);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sound_probe: %s\n", e.what());
        return 1;
    }
    return 0;
}
