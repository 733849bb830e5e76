#pragma once
// Fake desktop services: they record what the window asked for.
#include "app/mainwindow.h"
#include "app/platform.h"
#include "support/windowprobe.h"

#include <QTemporaryDir>
#include <deque>
#include <memory>

struct ShownMessage {
    QString title, text;
    MessageIcon icon;
};

struct FakeMessageBox : IMessageBox {
    std::vector<ShownMessage> shown;
    void show(const QString& t, const QString& x, MessageIcon i) override {
        shown.push_back({t, x, i});
    }
};

struct FakeInputBox : IInputBox {
    std::deque<QString> answers; // empty: Cancel
    std::vector<QString> prompts;
    QString ask(const QString&, const QString& prompt, const QString&) override {
        prompts.push_back(prompt);
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

struct FakeDialogs : IFileDialogs {
    std::optional<QString> openAnswer, saveAnswer;
    std::vector<OpenDialogOptions> opened, saved;
    std::optional<QString> openFile(const OpenDialogOptions& o) override {
        opened.push_back(o);
        return openAnswer;
    }
    std::optional<QString> saveFile(const OpenDialogOptions& o) override {
        saved.push_back(o);
        return saveAnswer;
    }
    QStringList openManyAnswer; // what a dialog of several files answers
    QStringList openFiles(const OpenDialogOptions& o) override {
        opened.push_back(o);
        return openManyAnswer;
    }
};

struct FakeShell : IShell {
    std::vector<QString> opened;
    bool starts = true; // false: no program can be started
    bool open(const QString& u) override {
        opened.push_back(u);
        return starts;
    }
};

struct FakeNetwork : INetwork {
    bool online = true;
    bool isOnline() override { return online; }
};

struct FakePrinter : IPrinter {
    std::vector<std::pair<QImage, int>> jobs;
    bool fail = false;
    void print(const QImage& img, int scale) override;
};

struct SoundEvent {
    QString name; // empty for a stop
    bool loop;
};

struct FakeSound : ISound {
    std::vector<SoundEvent> events;
    void play(const QString& n, bool loop) override { events.push_back({n, loop}); }
    void stop() override { events.push_back({QString(), false}); }
    std::vector<QString> played() const;
};

// A program folder in a temporary directory with its own page cache and per-user settings
// (a test that needs others points QSettings elsewhere after this), and a window built on
// fakes. Pages go in with addArchive before the window is made.
struct Harness {
    Harness();
    ~Harness();
    void addArchive(const QString& name,
                    const std::vector<std::pair<QByteArray, QByteArray>>& entries);
    // Builds the window; show() runs the first-show steps unless skipShow.
    MainWindow& make(bool show = true, QSize area = QSize(900, 500));
    QString programDir() const { return dir.path() + QStringLiteral("/prog"); }
    QString tempDir() const { return dir.path() + QStringLiteral("/tmp/"); }

    QTemporaryDir dir;
    QString dataFolder;     // where the window keeps its picture between runs; empty: nowhere
    QString picturesFolder; // "My pictures"; empty: no page is kept
    QString pagesFolder = dir.path() + QStringLiteral("/mypages"); // the parents' own pages
    FakeMessageBox messages;
    FakeInputBox input;
    FakeDialogs dialogs;
    FakeShell shell;
    FakeNetwork network;
    FakePrinter printer;
    FakeSound sound;
    std::unique_ptr<MainWindow> form;
    QString oldCwd;
};

// A BMP file's bytes for an image.
QByteArray bmpBytes(const QImage& img);
// A page: white with black rectangles outlining three boxes.
QImage outlinePage(int w, int h);
