#pragma once
// The child's pictures, one per page: kept in a folder of their own, written whole in the
// background, read back exactly.
//
// An entry is one file, named by a hash of its key (any string: "file:<path>", an archive and
// page name), holding the key, the display name, when the picture last changed, a 96 x 96 PNG
// thumbnail and the picture's pixels (RGB32, zstd). Files are replaced by rename, so a kill at
// any moment leaves the old entry or the new one; a damaged or foreign file is skipped and
// reported, never shown.
#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRegion>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct PictureEntry {
    QString key;
    QString name;         // what the shelf shows under the thumbnail
    qint64 changedMs = 0; // when the picture last changed, ms since the epoch (UTC)
    QByteArray thumbnailPng;
    QImage picture; // only from decodePictureEntry(withPicture) or a write still pending
    QString file;   // the entry's file; empty for a write still pending
    qint64 bytes = 0;

    // The 96 x 96 thumbnail, decoded here (cheap, but do it off the window thread for a
    // whole shelf); made from the picture for a write still pending.
    QImage thumbnail() const;
};

struct PictureLoad {
    QImage picture; // Format_RGB32; null on error
    QString name;
    qint64 changedMs = 0;
    QString error; // why there is no picture
    bool ok() const { return !picture.isNull(); }
};

// The file format, for the store and the fuzz target. decode checks every length against
// the bounds and the bytes at hand before allocating; withPicture = false reads only the
// header and thumbnail (the pixels' length is still checked against the file's size).
QByteArray encodePictureEntry(const PictureEntry& entry); // entry.picture must not be null
std::optional<PictureEntry> decodePictureEntry(QByteArrayView bytes, bool withPicture,
                                               QString* why = nullptr);

class PictureStore {
  public:
    static constexpr int kDefaultMaxEntries = 500;
    static constexpr std::size_t kRecentPictures = 2; // kept in memory once written
    static constexpr qint64 kDefaultMaxBytes = qint64(1) << 30;
    using Log = std::function<void(const QString&)>;

    // The folder is made when first written. log gets every damaged or foreign file and
    // every failed write, from whichever thread met it; by default qWarning.
    explicit PictureStore(QString folder, Log log = {});
    ~PictureStore(); // finishes every write asked for
    PictureStore(const PictureStore&) = delete;
    PictureStore& operator=(const PictureStore&) = delete;

    // Keeps the picture under key, changed now. Returns at once: the picture is shared (no
    // copy here), and converted, encoded and written on the store's thread. A write into the
    // caller's image before that thread is done with it makes Qt copy it on the caller's side,
    // so hand over a picture that is about to be replaced (leaving a page) rather than one
    // about to be drawn on. A keep of a key still waiting replaces the waiting one.
    void keep(const QString& key, const QString& name, const QImage& picture);
    // The picture on screen, kept again and again while the child draws (once a second, so
    // that a kill loses at most that): only what changed since the last call is copied here,
    // into a copy of the store's own, and the caller's image is never shared, so the next
    // stroke never waits for Qt to copy it. The first call for a key, or for a new size,
    // copies the whole picture.
    void keepChanged(const QString& key, const QString& name, const QImage& picture,
                     const QRegion& changed);
    // Drops the entry (and any write of it still waiting).
    void remove(const QString& key);
    // Waits until everything asked so far is on disk.
    void flush();

    // The picture on screen, brought back at the next start; empty for none. Written on the
    // store's thread, after the keeps asked before it.
    void setCurrent(const QString& key);
    QString current() const;

    // Every entry, newest change first, without their pictures; entries still waiting to be
    // written are included (with their picture, for the thumbnail: let it go soon, as one
    // of keepChanged() is the store's own copy, which the next keepChanged() would then copy).
    // Reads each file's header and thumbnail: about 10 ms for 500 entries.
    std::vector<PictureEntry> list() const;
    // The picture kept under key, the newest one even if it is still waiting to be written.
    PictureLoad load(const QString& key) const;
    bool contains(const QString& key) const;

    // Takes over an autosave file of an earlier version: stores its picture under the key
    // keyForPage gives its page name (or "autosave:" + the name when it gives none), changed
    // when the file was, makes it current and removes the file once the entry is on disk
    // and reads back the same. False, with the file left alone, when it is missing or
    // unreadable. Blocks until written.
    bool adoptAutosave(const QString& path,
                       const std::function<QString(const QString& pageName)>& keyForPage = {});

    // The bounds: past them the oldest-changed entries go, never the current one.
    void setLimits(int maxEntries, qint64 maxBytes);

    QString folder() const { return folder_; }
    QString fileFor(const QString& key) const;

  private:
    struct Op {
        enum Kind { Keep, Remove, SetCurrent } kind = Keep;
        QString key, name;
        QImage picture;
        qint64 changedMs = 0;
        int mirror = -1;          // keepChanged(): which of the copies holds the picture
        std::uint64_t ticket = 0; // windowidle: handed over after this many idle turns
    };
    void enqueue(Op op);
    void enqueueLocked(Op op);
    Op resolved(Op op) const;
    void run();
    void perform(const Op& op);
    void remember(const Op& op); // with the lock held
    void write(const Op& op);
    void trim();
    void sweepLeftovers();
    std::optional<Op> waiting(const QString& key) const; // the newest not yet on disk
    std::vector<PictureEntry> scan(bool report) const;
    void report(const QString& what) const;
    qint64 nextTime();

    const QString folder_;
    const Log log_;
    mutable std::mutex m;
    std::condition_variable cv;
    std::deque<Op> ops;
    std::optional<Op> writing; // the op the thread is performing
    // The last pictures keep() wrote, newest last: a child going back to the page just left
    // gets it without decoding a 4K file (60-120 ms for a textured page).
    std::deque<Op> recent;
    // keepChanged()'s two copies of the picture: the caller brings the one the thread is not
    // encoding up to date with what each still lacks.
    QImage mirrors[2];
    QRegion stale[2];
    QString mirrorKey;
    int mirrorWriting = -1;
    mutable QString current_;
    mutable bool currentRead = false;
    int maxEntries = kDefaultMaxEntries;
    qint64 maxBytes = kDefaultMaxBytes;
    qint64 lastTime = 0;
    bool swept = false;
    bool stopping = false;
    std::thread worker;
};
