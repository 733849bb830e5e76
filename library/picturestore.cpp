#include "library/picturestore.h"

#include "base/atomicfile.h"
#include "base/windowidle.h"
#include "library/thumbnail.h"
#include "paint/pagebitmap.h"
#include "share/autosave.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <zstd.h>

namespace {
const QByteArray kMagic = QByteArrayLiteral("PICTARO-PICTURE-1\n");
const QByteArray kCurrentMagic = QByteArrayLiteral("PICTARO-CURRENT-1\n");
const QString kSuffix = QStringLiteral(".pic");
const QString kCurrentFile = QStringLiteral("current");
// After the magic: changed (8), width, height, key, name and thumbnail lengths (4 each),
// the pixels' length (8).
const qsizetype kFixed = kMagic.size() + 8 + 5 * 4 + 8;
constexpr qsizetype kSumSize = 20;
// The picture is the drawing area, which never outgrows an 8K screen.
constexpr qint64 kMaxAreaPixels = qint64(7680) * 4320;
constexpr quint32 kMaxText = 64 * 1024;    // a key or a name, in UTF-8
constexpr quint32 kMaxThumb = 1024 * 1024; // a 96 x 96 PNG is far less
// Fast to write, and a page of flat colours still packs to a small part of its pixels.
constexpr int kZstdLevel = 1;
constexpr int kBands = 8;
// A temporary file older than this is a leftover even if its writer's pid is in use again.
constexpr qint64 kLeftoverSecs = 24 * 3600;

QByteArray sumOf(QByteArrayView data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1);
}

template <typename T> void put(QByteArray& out, T v) {
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    out.append(b, sizeof(T));
}

template <typename T> T get(const char* p) {
    return qFromLittleEndian<T>(p);
}

void fail(QString* why, const QString& text) {
    if (why)
        *why = text;
}

// The lengths the fixed part claims, checked against the bounds; nullopt if out of them.
struct Head {
    qint64 changedMs;
    quint32 width, height, keyLen, nameLen, thumbLen;
    quint64 pixelsLen;
    qsizetype size() const { return kFixed + keyLen + nameLen + thumbLen + kSumSize; }
};

std::optional<Head> readFixed(QByteArrayView b, QString* why) {
    if (b.size() < kFixed || b.first(kMagic.size()) != QByteArrayView(kMagic)) {
        fail(why, QStringLiteral("not a picture of this program"));
        return std::nullopt;
    }
    const char* p = b.data() + kMagic.size();
    Head h{get<qint64>(p),       get<quint32>(p + 8),  get<quint32>(p + 12), get<quint32>(p + 16),
           get<quint32>(p + 20), get<quint32>(p + 24), get<quint64>(p + 28)};
    const quint64 area = quint64(h.width) * h.height; // both 32-bit: no overflow
    if (h.width == 0 || h.height == 0 || area > quint64(kMaxAreaPixels) || h.keyLen == 0 ||
        h.keyLen > kMaxText || h.nameLen > kMaxText || h.thumbLen > kMaxThumb ||
        h.pixelsLen > ZSTD_compressBound(size_t(area) * 4) + kBands * 64) {
        fail(why, QStringLiteral("sizes out of bounds"));
        return std::nullopt;
    }
    return h;
}

// The header and thumbnail of an entry whose file has total bytes; head holds at least the
// header's bytes.
std::optional<PictureEntry> readHead(QByteArrayView b, qint64 total, QString* why,
                                     Head* headOut = nullptr) {
    const std::optional<Head> h = readFixed(b, why);
    if (!h)
        return std::nullopt;
    if (b.size() < h->size() || total != h->size() + qint64(h->pixelsLen)) {
        fail(why, QStringLiteral("cut short or with bytes past its end"));
        return std::nullopt;
    }
    const qsizetype sumAt = h->size() - kSumSize;
    if (b.sliced(sumAt, kSumSize) != QByteArrayView(sumOf(b.first(sumAt)))) {
        fail(why, QStringLiteral("its header is damaged"));
        return std::nullopt;
    }
    const char* p = b.data() + kFixed;
    PictureEntry e;
    e.key = QString::fromUtf8(p, h->keyLen);
    e.name = QString::fromUtf8(p + h->keyLen, h->nameLen);
    e.thumbnailPng = QByteArray(p + h->keyLen + h->nameLen, h->thumbLen);
    e.changedMs = h->changedMs;
    e.bytes = total;
    if (headOut)
        *headOut = *h;
    return e;
}

// The pixels are bands of rows, each a zstd frame with its checksum, so that they unpack on
// several cores at once: a 4K picture with noise all over comes back in half the time on two.
QImage unpackPixels(QByteArrayView packed, const Head& h, QString* why) {
    const size_t rowBytes = size_t(h.width) * 4;
    const size_t want = rowBytes * h.height;
    struct Band {
        QByteArrayView frame;
        size_t at, size;
    };
    std::vector<Band> bands;
    size_t at = 0;
    // Checksum: bit 2 of the frame's descriptor, after its 4-byte magic.
    constexpr uchar kChecksumFlag = 0x04;
    while (!packed.isEmpty()) {
        const size_t n = ZSTD_findFrameCompressedSize(packed.data(), size_t(packed.size()));
        const unsigned long long content =
            ZSTD_getFrameContentSize(packed.data(), size_t(packed.size()));
        if (ZSTD_isError(n) || n < 5 || !(uchar(packed[4]) & kChecksumFlag) || content == 0 ||
            content > want - at || content % rowBytes != 0) {
            fail(why, QStringLiteral("its pixels are damaged"));
            return {};
        }
        bands.push_back({packed.first(qsizetype(n)), at, size_t(content)});
        at += size_t(content);
        packed = packed.sliced(qsizetype(n));
    }
    if (at != want) {
        fail(why, QStringLiteral("its pixels are cut short"));
        return {};
    }
    QImage img(int(h.width), int(h.height), QImage::Format_RGB32);
    if (img.isNull() || size_t(img.sizeInBytes()) != want) {
        fail(why, QStringLiteral("no memory for the picture"));
        return {};
    }
    std::atomic<size_t> next{0};
    std::atomic<bool> damaged{false};
    uchar* const bits = img.bits();
    const auto work = [&] {
        ZSTD_DCtx* d = ZSTD_createDCtx();
        for (size_t b; d && (b = next++) < bands.size();) {
            const Band& band = bands[b];
            // The frame's checksum is checked as it unpacks.
            const size_t n = ZSTD_decompressDCtx(d, bits + band.at, band.size, band.frame.data(),
                                                 size_t(band.frame.size()));
            if (ZSTD_isError(n) || n != band.size)
                damaged = true;
        }
        if (!d)
            damaged = true;
        ZSTD_freeDCtx(d);
    };
    const size_t helpers =
        std::min<size_t>(std::max(std::thread::hardware_concurrency(), 1u), 4) - 1;
    std::vector<std::thread> threads;
    for (size_t t = 0; t < std::min(helpers, bands.size() - 1); ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    if (damaged) {
        fail(why, QStringLiteral("its pixels are damaged"));
        return {};
    }
    return img;
}

QByteArray packPixels(const QImage& rgb32) {
    ZSTD_CCtx* c = ZSTD_createCCtx();
    if (!c)
        throw std::runtime_error("No memory to pack the picture.");
    ZSTD_CCtx_setParameter(c, ZSTD_c_compressionLevel, kZstdLevel);
    ZSTD_CCtx_setParameter(c, ZSTD_c_checksumFlag, 1);
    const size_t rowBytes = size_t(rgb32.bytesPerLine());
    const int bandRows = std::max(1, (rgb32.height() + kBands - 1) / kBands);
    QByteArray out(qsizetype(ZSTD_compressBound(size_t(rgb32.sizeInBytes())) + kBands * 64),
                   Qt::Uninitialized);
    size_t used = 0;
    for (int y = 0; y < rgb32.height(); y += bandRows) {
        const size_t size = rowBytes * size_t(std::min(bandRows, rgb32.height() - y));
        const size_t n = ZSTD_compress2(c, out.data() + used, size_t(out.size()) - used,
                                        rgb32.constScanLine(y), size);
        if (ZSTD_isError(n)) {
            ZSTD_freeCCtx(c);
            throw std::runtime_error("The picture could not be packed.");
        }
        used += n;
    }
    ZSTD_freeCCtx(c);
    out.truncate(qsizetype(used));
    return out;
}

// The picture as the entry keeps it: RGB32, rows without padding.
QImage asStored(const QImage& picture) {
    QImage img = picture.convertToFormat(QImage::Format_RGB32);
    if (img.bytesPerLine() != qsizetype(img.width()) * 4)
        img = img.copy();
    return img;
}

QByteArray encodeThumbnail(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    makeThumbnail(picture).save(&buffer, "PNG");
    return png;
}

// An entry file, its header checked before the pixels are read: a huge foreign file under
// an entry's name is never read whole.
std::optional<PictureEntry> readEntryFile(const QString& path, bool withPicture, QString* why) {
    QFile f(path);
    // Read in three pieces of known size: no 16 KB buffer to fill in between.
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        fail(why, f.errorString());
        return std::nullopt;
    }
    const qint64 size = f.size();
    QByteArray b = f.read(kFixed);
    std::optional<Head> h = readFixed(b, why);
    if (!h)
        return std::nullopt;
    if (h->size() <= size)
        b += f.read(h->size() - kFixed);
    std::optional<PictureEntry> e = readHead(b, size, why, &*h);
    if (!e || !withPicture)
        return e;
    const QByteArray pixels = f.read(qint64(h->pixelsLen));
    e->picture = unpackPixels(pixels, *h, why);
    if (e->picture.isNull())
        return std::nullopt;
    return e;
}

bool processGone(qint64 pid) {
    return pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
}
} // namespace

QImage PictureEntry::thumbnail() const {
    if (thumbnailPng.isEmpty())
        return picture.isNull() ? QImage() : makeThumbnail(picture);
    QBuffer buffer;
    buffer.setData(thumbnailPng);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    const QSize side(kThumbnailSide, kThumbnailSide);
    QImage img;
    if (reader.size() != side || !reader.read(&img) || img.size() != side)
        return {};
    return img.convertToFormat(QImage::Format_RGB32);
}

QByteArray encodePictureEntry(const PictureEntry& e) {
    const QImage img = asStored(e.picture);
    const QByteArray key = e.key.toUtf8(), name = e.name.toUtf8();
    const QByteArray thumb = e.thumbnailPng.isEmpty() ? encodeThumbnail(img) : e.thumbnailPng;
    if (img.isNull() || qint64(img.width()) * img.height() > kMaxAreaPixels || key.isEmpty() ||
        key.size() > kMaxText || name.size() > kMaxText || thumb.size() > kMaxThumb)
        throw std::runtime_error("The picture or its names are out of bounds.");
    const QByteArray pixels = packPixels(img);
    QByteArray out;
    out.reserve(kFixed + key.size() + name.size() + thumb.size() + kSumSize + pixels.size());
    out += kMagic;
    put<qint64>(out, e.changedMs);
    put<quint32>(out, quint32(img.width()));
    put<quint32>(out, quint32(img.height()));
    put<quint32>(out, quint32(key.size()));
    put<quint32>(out, quint32(name.size()));
    put<quint32>(out, quint32(thumb.size()));
    put<quint64>(out, quint64(pixels.size()));
    out += key + name + thumb;
    out += sumOf(out);
    return out + pixels;
}

std::optional<PictureEntry> decodePictureEntry(QByteArrayView bytes, bool withPicture,
                                               QString* why) {
    Head h{};
    std::optional<PictureEntry> e = readHead(bytes, bytes.size(), why, &h);
    if (!e || !withPicture)
        return e;
    e->picture = unpackPixels(bytes.sliced(h.size()), h, why);
    if (e->picture.isNull())
        return std::nullopt;
    return e;
}

PictureStore::PictureStore(QString folder, Log log)
    : folder_(QDir::cleanPath(folder)), log_(std::move(log)) {
    worker = std::thread([this] { run(); });
}

PictureStore::~PictureStore() {
    {
        std::lock_guard<std::mutex> l(m);
        stopping = true;
    }
    cv.notify_all();
    windowidle::markIdle();
    worker.join();
}

namespace {
QString fileNameFor(const QString& key) {
    return QString::fromLatin1(sumOf(key.toUtf8()).toHex()) + kSuffix;
}
} // namespace

QString PictureStore::fileFor(const QString& key) const {
    return folder_ + QLatin1Char('/') + fileNameFor(key);
}

void PictureStore::report(const QString& what) const {
    if (log_)
        log_(what);
    else
        qWarning().noquote() << "Pictures:" << what;
}

qint64 PictureStore::nextTime() {
    // Strictly increasing, so that two keeps in one millisecond still have an order.
    lastTime = std::max(QDateTime::currentMSecsSinceEpoch(), lastTime + 1);
    return lastTime;
}

void PictureStore::keep(const QString& key, const QString& name, const QImage& picture) {
    if (picture.isNull() || key.isEmpty())
        return;
    {
        // The time is taken with the lock held, so that the order of the times is the
        // order of the keeps.
        std::lock_guard<std::mutex> l(m);
        enqueueLocked({Op::Keep, key, name, picture, nextTime()});
    }
    cv.notify_all();
}

void PictureStore::remove(const QString& key) {
    if (current() == key)
        setCurrent(QString());
    enqueue({Op::Remove, key, {}, {}, 0});
}

void PictureStore::setCurrent(const QString& key) {
    {
        std::lock_guard<std::mutex> l(m);
        current_ = key;
        currentRead = true;
    }
    enqueue({Op::SetCurrent, key, {}, {}, 0});
}

void PictureStore::keepChanged(const QString& key, const QString& name, const QImage& picture,
                               const QRegion& changed) {
    if (picture.isNull() || key.isEmpty())
        return;
    {
        std::lock_guard<std::mutex> l(m);
        if (key != mirrorKey) {
            mirrorKey = key;
            stale[0] = stale[1] = picture.rect();
        } else {
            for (QRegion& s : stale)
                s |= changed & picture.rect();
        }
        const int t = mirrorWriting == 0 ? 1 : 0;
        QImage& copy = mirrors[t];
        if (copy.size() != picture.size() || picture.format() != QImage::Format_RGB32) {
            copy = asStored(picture).copy();
        } else {
            for (const QRect& r : stale[t])
                copyPixels(copy, picture, r);
        }
        stale[t] = QRegion();
        enqueueLocked({Op::Keep, key, name, {}, nextTime(), t});
    }
    cv.notify_all();
}

void PictureStore::enqueue(Op op) {
    {
        std::lock_guard<std::mutex> l(m);
        enqueueLocked(std::move(op));
    }
    cv.notify_all();
}

void PictureStore::enqueueLocked(Op op) {
    op.ticket = windowidle::ticket();
    const auto waitingKeep = [&](const Op& o) { return o.kind == Op::Keep && o.key == op.key; };
    const auto it = std::find_if(ops.begin(), ops.end(), waitingKeep);
    if (op.kind == Op::Keep && it != ops.end()) {
        // At most one keep a key waits: the newer takes its place.
        *it = std::move(op);
        return;
    }
    if (op.kind == Op::Remove) {
        std::erase_if(ops, waitingKeep);
        std::erase_if(recent, [&](const Op& o) { return o.key == op.key; });
        if (op.key == mirrorKey)
            mirrorKey.clear(); // a later keepChanged() starts from the whole picture
    } else if (op.kind == Op::SetCurrent) {
        std::erase_if(ops, [](const Op& o) { return o.kind == Op::SetCurrent; });
    }
    ops.push_back(std::move(op));
}

// The op with its picture in hand; a copy of keepChanged() is shared, so the caller's next
// change to it copies it first.
PictureStore::Op PictureStore::resolved(Op op) const {
    if (op.mirror >= 0 && op.picture.isNull())
        op.picture = mirrors[op.mirror];
    return op;
}

void PictureStore::flush() {
    std::unique_lock<std::mutex> l(m);
    windowidle::waitForWorker(l, cv, [this] { return ops.empty() && !writing; });
}

void PictureStore::remember(const Op& op) {
    // Only keep()'s pictures: one of keepChanged()'s copies held here would make the caller
    // copy it again.
    if (op.kind != Op::Keep || op.mirror >= 0 || op.picture.isNull())
        return;
    std::erase_if(recent, [&](const Op& o) { return o.key == op.key; });
    recent.push_back(op);
    while (recent.size() > kRecentPictures)
        recent.pop_front();
}

void PictureStore::run() {
    std::unique_lock<std::mutex> l(m);
    for (;;) {
        cv.wait(l, [this] { return stopping || !ops.empty(); });
        if (ops.empty())
            return;
        writing = resolved(std::move(ops.front()));
        ops.pop_front();
        mirrorWriting = writing->mirror;
        const Op& op = *writing;
        l.unlock();
        // A picture is encoded after the repaint of the tap that left it.
        if (op.kind == Op::Keep)
            windowidle::waitAfter(op.ticket);
        bool done = false;
        try {
            perform(op);
            done = true;
        } catch (const std::exception& e) {
            report(QString::fromLocal8Bit(e.what()));
        }
        l.lock();
        if (done)
            remember(op);
        const int other = 1 - mirrorWriting;
        if (mirrorWriting >= 0 && mirrors[other].size() != op.picture.size()) {
            // The caller's other copy is made here, from this one, which the caller leaves
            // alone meanwhile: it then lacks what this one lacks, and no keep on the caller's
            // side copies the whole page but the first of a page.
            l.unlock();
            QImage twin = op.picture.copy();
            l.lock();
            if (mirrors[other].size() != twin.size() && mirrorKey == op.key) {
                mirrors[other] = std::move(twin);
                stale[other] = stale[mirrorWriting];
            }
        }
        writing.reset(); // its share of a copy goes before the copy is handed back
        mirrorWriting = -1;
        cv.notify_all();
    }
}

void PictureStore::perform(const Op& op) {
    if (!swept) {
        swept = true;
        sweepLeftovers();
    }
    switch (op.kind) {
    case Op::Keep:
        write(op);
        trim();
        break;
    case Op::Remove:
        if (!QFile::remove(fileFor(op.key)) && QFile::exists(fileFor(op.key)))
            report(QStringLiteral("Cannot remove the picture \"%1\".").arg(op.key));
        break;
    case Op::SetCurrent:
        QDir().mkpath(folder_);
        if (op.key.isEmpty())
            QFile::remove(folder_ + QLatin1Char('/') + kCurrentFile);
        else
            writeFileAtomically(folder_ + QLatin1Char('/') + kCurrentFile,
                                kCurrentMagic + op.key.toUtf8());
        break;
    }
}

void PictureStore::write(const Op& op) {
    if (!QDir().mkpath(folder_))
        throw std::runtime_error(
            QStringLiteral("Cannot make the folder \"%1\".").arg(folder_).toStdString());
    PictureEntry e;
    e.key = op.key;
    e.name = op.name.left(int(kMaxText / 3));
    e.changedMs = op.changedMs;
    e.picture = op.picture;
    writeFileAtomically(fileFor(op.key), encodePictureEntry(e));
}

void PictureStore::trim() {
    int most;
    qint64 room;
    {
        std::lock_guard<std::mutex> l(m);
        most = maxEntries;
        room = maxBytes;
    }
    std::vector<PictureEntry> all = scan(false); // newest first
    const QString keepShown = current();
    qint64 total = 0;
    for (const PictureEntry& e : all)
        total += e.bytes;
    qsizetype count = qsizetype(all.size());
    for (auto it = all.rbegin(); it != all.rend() && (count > most || total > room); ++it) {
        if (it->key == keepShown)
            continue;
        if (QFile::remove(it->file)) {
            --count;
            total -= it->bytes;
        }
    }
}

void PictureStore::sweepLeftovers() {
    // What a write cut short by a kill left: ".<name>.<pid>-<n>.tmp" of a writer now gone.
    static const QRegularExpression tmp(
        QStringLiteral("^\\.(?:[0-9a-f]{40}\\.pic|current)\\.(\\d+)-\\d+\\.tmp$"));
    const QDir dir(folder_);
    const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-kLeftoverSecs);
    for (const QFileInfo& fi : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto match = tmp.match(fi.fileName());
        if (match.hasMatch() &&
            (processGone(match.captured(1).toLongLong()) || fi.lastModified() < old))
            QFile::remove(fi.absoluteFilePath());
    }
}

void PictureStore::setLimits(int entries, qint64 bytes) {
    std::lock_guard<std::mutex> l(m);
    maxEntries = std::max(entries, 1);
    maxBytes = std::max<qint64>(bytes, 0);
}

QString PictureStore::current() const {
    std::unique_lock<std::mutex> l(m);
    if (!currentRead) {
        currentRead = true;
        const QString path = folder_ + QLatin1Char('/') + kCurrentFile;
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray b = f.read(kCurrentMagic.size() + kMaxText + 1);
            if (b.startsWith(kCurrentMagic) && b.size() <= kCurrentMagic.size() + kMaxText) {
                current_ = QString::fromUtf8(b.mid(kCurrentMagic.size()));
            } else {
                l.unlock();
                report(QStringLiteral("\"%1\" is not a marker of this program.").arg(path));
                return {};
            }
        }
    }
    return current_;
}

std::optional<PictureStore::Op> PictureStore::waiting(const QString& key) const {
    std::lock_guard<std::mutex> l(m);
    for (auto it = ops.rbegin(); it != ops.rend(); ++it)
        if (it->key == key && it->kind != Op::SetCurrent)
            return resolved(*it);
    if (writing && writing->key == key && writing->kind != Op::SetCurrent)
        return writing;
    return std::nullopt;
}

std::vector<PictureEntry> PictureStore::scan(bool reportDamage) const {
    static const QRegularExpression ours(QStringLiteral("^[0-9a-f]{40}\\.pic$"));
    std::vector<PictureEntry> out;
    const QDir dir(folder_);
    for (const QFileInfo& fi : dir.entryInfoList(QDir::Files, QDir::Name)) {
        const QString path = fi.absoluteFilePath();
        if (fi.fileName() == kCurrentFile)
            continue;
        QString why;
        std::optional<PictureEntry> e;
        if (!ours.match(fi.fileName()).hasMatch()) {
            why = QStringLiteral("not a picture of this program");
        } else {
            e = readEntryFile(path, false, &why);
            if (e && fileNameFor(e->key) != fi.fileName()) {
                e.reset();
                why = QStringLiteral("a picture kept under another name");
            }
        }
        if (!e) {
            if (reportDamage)
                report(QStringLiteral("Skipped \"%1\": %2.").arg(path, why));
            continue;
        }
        e->file = path;
        out.push_back(std::move(*e));
    }
    std::sort(out.begin(), out.end(), [](const PictureEntry& a, const PictureEntry& b) {
        return a.changedMs != b.changedMs ? a.changedMs > b.changedMs : a.key < b.key;
    });
    return out;
}

std::vector<PictureEntry> PictureStore::list() const {
    std::vector<Op> pending;
    {
        std::lock_guard<std::mutex> l(m);
        if (writing)
            pending.push_back(*writing);
        for (const Op& op : ops)
            pending.push_back(resolved(op));
    }
    std::vector<PictureEntry> all = scan(true);
    // What is still waiting overrides what is on disk: the newest word on each key.
    for (const Op& op : pending) {
        if (op.kind == Op::SetCurrent)
            continue;
        std::erase_if(all, [&](const PictureEntry& e) { return e.key == op.key; });
        if (op.kind == Op::Keep) {
            PictureEntry e;
            e.key = op.key;
            e.name = op.name;
            e.changedMs = op.changedMs;
            e.picture = op.picture;
            all.insert(std::upper_bound(all.begin(), all.end(), e,
                                        [](const PictureEntry& a, const PictureEntry& b) {
                                            return a.changedMs > b.changedMs;
                                        }),
                       std::move(e));
        }
    }
    return all;
}

PictureLoad PictureStore::load(const QString& key) const {
    PictureLoad out;
    if (const std::optional<Op> op = waiting(key)) {
        if (op->kind == Op::Remove) {
            out.error = QStringLiteral("removed");
            return out;
        }
        out.picture = op->picture.convertToFormat(QImage::Format_RGB32);
        out.name = op->name;
        out.changedMs = op->changedMs;
        return out;
    }
    const QString path = fileFor(key);
    if (!QFileInfo::exists(path)) {
        out.error = QStringLiteral("no picture kept");
        return out;
    }
    {
        // Written, and still on disk (the bounds may have taken it since).
        std::lock_guard<std::mutex> l(m);
        for (const Op& r : recent)
            if (r.key == key) {
                out.picture = r.picture.convertToFormat(QImage::Format_RGB32);
                out.name = r.name;
                out.changedMs = r.changedMs;
                return out;
            }
    }
    std::optional<PictureEntry> e = readEntryFile(path, true, &out.error);
    if (e && e->key != key) {
        e.reset();
        out.error = QStringLiteral("a picture kept under another name");
    }
    if (!e) {
        report(QStringLiteral("Cannot read \"%1\": %2.").arg(path, out.error));
        return out;
    }
    out.picture = std::move(e->picture);
    out.name = e->name;
    out.changedMs = e->changedMs;
    return out;
}

bool PictureStore::contains(const QString& key) const {
    if (const std::optional<Op> op = waiting(key))
        return op->kind == Op::Keep;
    return QFileInfo::exists(fileFor(key));
}

bool PictureStore::adoptAutosave(const QString& path,
                                 const std::function<QString(const QString&)>& keyForPage) {
    if (!QFileInfo::exists(path))
        return false;
    const std::optional<AutosaveData> d = ReadAutosave(path);
    if (!d) {
        report(QStringLiteral("Left \"%1\" where it is: not a picture it can read.").arg(path));
        return false;
    }
    QString key = keyForPage ? keyForPage(d->pageName) : QString();
    if (key.isEmpty())
        key = QStringLiteral("autosave:") + d->pageName;
    qint64 changed = QFileInfo(path).lastModified().toMSecsSinceEpoch();
    {
        std::lock_guard<std::mutex> l(m);
        lastTime = std::max(lastTime, changed);
    }
    enqueue({Op::Keep, key, d->pageName, d->picture, changed});
    setCurrent(key);
    flush();
    // The old file goes only once the entry on disk gives back the same picture.
    const PictureLoad back = load(key);
    if (!back.ok() || back.picture != d->picture) {
        report(QStringLiteral("Left \"%1\" where it is: its picture could not be kept.").arg(path));
        return false;
    }
    QFile::remove(path);
    return true;
}
