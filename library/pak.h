#pragma once
// Page archives: a headerless run of entries, each a 2-byte name length, the name
// (Windows-1251), a 4-byte data length and the page file's bytes.
#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

// Entry names become file names in the page cache: nothing may leave that folder.
bool isSafeEntryName(const QByteArray& name);

// The text of a page's catalogue node: the entry name without its last four characters.
QString pageNameOf(const QString& entryName);

// Moves a file without ever replacing an existing target. False when the target exists;
// throws std::runtime_error when the move fails otherwise (a name the file system refuses).
bool moveNoReplace(const QString& from, const QString& to);

struct UnpackResult {
    int entries = 0;        // entries listed in the catalogue
    bool truncated = false; // the archive ended inside an entry
    QString error;          // the first entry that could not be unpacked, for the error report
    int steps = 0;          // entry headers read; a run of empty entries is read as one
};

// Where the entries of an archive go as it is walked. Each listed entry comes as begin(), its
// bytes in blocks of at most 4,096 through write(), then end(), whose complete is false for
// the entry the archive's end cut short. Entries with unsafe names are skipped, not listed.
class PakSink {
  public:
    virtual ~PakSink() = default;
    virtual void begin(const QString& entryName) = 0;
    virtual void write(const char* data, qint64 size) = 0;
    virtual void end(bool complete) = 0;
};

// Reads the archive from the device's current position to its end; entries and truncated
// of the result are set, error is left to the sink.
UnpackResult walkArchive(QIODevice& pak, PakSink& sink);

// Unpacks every entry of one archive into cacheDir through the scratch file, copying in
// blocks of at most 4,096 bytes. The cache keeps a stamp of each archive (its size, times and
// inode, in "stamps/<archive>"): while the archive is unchanged a file already in the cache
// keeps its content; once it has changed (or has no stamp yet) its entries replace the cached
// pages, whose thumbnails are dropped, and the new stamp is kept. onPage gets
// each listed page's name in archive order. Errors creating the scratch file or writing it
// throw std::runtime_error. An entry cut short by the archive's end, or whose name the file
// system refuses, is listed but never cached, and is named in error.
UnpackResult unpackArchive(const QString& pakPath, const QString& cacheDir,
                           const QString& scratchPath,
                           const std::function<void(const QString& pageName)>& onPage);
