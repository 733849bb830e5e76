#pragma once
// The picture kept safe between runs: one file, written whole in the background.
#include <QImage>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

struct AutosaveData {
    QImage picture;   // the page as painted
    QString pageName; // the catalogue page it came from; empty for none
};

// The file: a fixed magic, then the page name and the PNG of the picture, each with its
// length, and a SHA-1 of everything before it. Anything else decodes to nothing.
QByteArray EncodeAutosave(const AutosaveData& data);
std::optional<AutosaveData> DecodeAutosave(const QByteArray& bytes);
std::optional<AutosaveData> ReadAutosave(const QString& path);

// Encodes and writes on its own thread. submit() only hands over a shared reference to the
// picture: the worker takes its own copy at once, so the window thread never copies it.
// A submit while the worker is busy replaces the one still waiting.
class AutosaveWriter {
  public:
    explicit AutosaveWriter(QString path);
    ~AutosaveWriter(); // finishes what was submitted
    void submit(const AutosaveData& data);
    // Waits until everything submitted is on disk; the last write's error, if any.
    QString flush();

  private:
    void run();
    const QString path;
    std::mutex m;
    std::condition_variable cv;
    std::optional<AutosaveData> pending;
    bool busy = false;
    bool stopping = false;
    QString lastError;
    std::thread worker;
};
