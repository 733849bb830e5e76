#pragma once
// The picture kept safe between runs: one file, written whole in the background.
#include <QImage>
#include <QRegion>
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

// Encodes and writes on its own thread. The writer keeps two copies of the picture of its own:
// a submit brings the one the worker is not encoding up to date by copying only what changed
// since that copy was last brought up to date, so the window thread never copies the whole
// page for a small change, and never shares pixels the tools are about to draw into.
// A submit while the worker is busy replaces the one still waiting.
class AutosaveWriter {
  public:
    explicit AutosaveWriter(QString path);
    ~AutosaveWriter(); // finishes what was submitted
    // changed: where the picture differs from the last one submitted.
    void submit(const QImage& picture, const QRegion& changed, const QString& pageName);
    void submit(const AutosaveData& data) {
        submit(data.picture, data.picture.rect(), data.pageName);
    }
    // Nothing worth keeping now (a page the child has not touched): the file goes, after any
    // write under way; a later submit writes it again.
    void discard();
    // Waits until everything submitted is on disk; the last write's error, if any.
    QString flush();

  private:
    void run();
    const QString path;
    std::mutex m;
    std::condition_variable cv;
    QImage copies[2];
    QRegion stale[2];  // what each copy still lacks of the last submitted picture
    int pending = -1;  // the copy waiting to be written
    int encoding = -1; // the copy being written
    QString pendingName;
    bool removing = false; // discard() asked for the file to go
    bool stopping = false;
    QString lastError;
    std::thread worker;
};
