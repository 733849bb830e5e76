#include "share/autosave.h"

#include "base/atomicfile.h"
#include "base/windowidle.h"
#include "paint/pagebitmap.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <cstring>
#include <stdexcept>
#include <vector>
#include <zlib.h>

namespace {
const QByteArray kMagic = QByteArrayLiteral("PICTARO-AUTOSAVE-1\n");
constexpr int kSumSize = 20;
constexpr int kLengthSize = 4; // QDataStream's length before each byte array

// The picture is the drawing area, which never outgrows the screen; no screen has more
// pixels than 8K (7680 x 4320), and Qt's logical pixels never outnumber the device's.
constexpr qint64 kMaxAreaPixels = qint64(7680) * 4320;
// Its PNG at worst: three bytes a pixel and a filter byte a row (at most one a pixel), with
// deflate's stored blocks (5 bytes in 65535), the IDAT chunks (12 bytes in 8192) and the
// fixed chunks on top.
constexpr qint64 kMaxPng = 4 * kMaxAreaPixels + 4 * kMaxAreaPixels / 512 + (qint64(64) << 10);
// A page name is an archive entry's name: at most 65535 bytes, each at most three in UTF-8.
constexpr qint64 kMaxName = 3 * 65535;
const qint64 kMaxFile = kMagic.size() + 2 * kLengthSize + kMaxName + kMaxPng + kSumSize;

QByteArray sumOf(QByteArrayView data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1);
}

// The fields straight from the device: every length is checked against the bounds and the
// file's own size before anything is allocated, and the PNG lands in one buffer.
class FieldReader {
  public:
    explicit FieldReader(QIODevice& in) : in(in), left(in.size()) {}
    bool bytes(char* to, qint64 n) {
        if (n > left || in.read(to, n) != n)
            return false;
        sum.addData(QByteArrayView(to, n));
        left -= n;
        return true;
    }
    // A QDataStream byte array of at most max bytes; a null one reads as empty.
    std::optional<QByteArray> array(qint64 max) {
        uchar be[kLengthSize];
        if (!bytes(reinterpret_cast<char*>(be), kLengthSize))
            return std::nullopt;
        const quint32 n = qFromBigEndian<quint32>(be);
        if (n == 0xffffffffu)
            return QByteArray();
        if (n > max || n > left - kSumSize)
            return std::nullopt;
        QByteArray out(qsizetype(n), Qt::Uninitialized);
        if (!bytes(out.data(), n))
            return std::nullopt;
        return out;
    }
    // Whether the file's last bytes are the checksum of everything before them.
    bool sumMatches() {
        QByteArray stored(kSumSize, Qt::Uninitialized);
        return left == kSumSize && in.read(stored.data(), kSumSize) == kSumSize &&
               stored == sum.result();
    }

  private:
    QIODevice& in;
    qint64 left;
    QCryptographicHash sum{QCryptographicHash::Sha1};
};

std::optional<AutosaveData> readAutosave(QIODevice& in) {
    if (in.size() > kMaxFile)
        return std::nullopt;
    FieldReader r(in);
    QByteArray magic(kMagic.size(), Qt::Uninitialized);
    if (!r.bytes(magic.data(), magic.size()) || magic != kMagic)
        return std::nullopt;
    const std::optional<QByteArray> name = r.array(kMaxName);
    const std::optional<QByteArray> png = name ? r.array(kMaxPng) : std::nullopt;
    if (!png || !r.sumMatches())
        return std::nullopt;
    // The picture's own header is checked before its pixels are allocated.
    QBuffer buffer;
    buffer.setData(*png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    const QSize size = reader.size();
    if (size.isEmpty() || qint64(size.width()) * size.height() > kMaxAreaPixels)
        return std::nullopt;
    AutosaveData d;
    if (!reader.read(&d.picture) || d.picture.isNull())
        return std::nullopt;
    d.picture = d.picture.convertToFormat(QImage::Format_RGB32);
    d.pageName = QString::fromUtf8(*name);
    return d;
}
} // namespace

namespace {
void putChunk(QByteArray& out, const char* type, const char* data, std::size_t n) {
    char word[4];
    qToBigEndian<quint32>(quint32(n), word);
    out.append(word, 4);
    const qsizetype at = out.size();
    out.append(type, 4);
    out.append(data, qsizetype(n));
    qToBigEndian<quint32>(
        quint32(crc32(0, reinterpret_cast<const Bytef*>(out.constData() + at), uInt(n + 4))), word);
    out.append(word, 4);
}

// The picture as an RGB PNG, encoded here a row at a time rather than by Qt's writer: three
// times as fast at the same size (each row stored as its difference from the one above,
// light compression), and between rows the encoding steps aside while the window works on a
// tap.
QByteArray encodePng(const QImage& picture) {
    const QImage img = picture.format() == QImage::Format_RGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    char header[13];
    qToBigEndian<quint32>(quint32(w), header);
    qToBigEndian<quint32>(quint32(h), header + 4);
    const char rest[5] = {8, 2, 0, 0, 0}; // 8 bits a channel, RGB, deflate, no interlace
    std::memcpy(header + 8, rest, 5);
    putChunk(out, "IHDR", header, 13);

    z_stream z{};
    if (img.isNull() || deflateInit2(&z, 2, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("The picture could not be encoded.");
    const std::size_t rowBytes = std::size_t(w) * 3;
    std::vector<unsigned char> above(rowBytes, 0), here(rowBytes), line(rowBytes + 1);
    std::vector<unsigned char> chunk(std::size_t(1) << 16);
    z.next_out = chunk.data();
    z.avail_out = uInt(chunk.size());
    const auto drain = [&](int flush) {
        int r = Z_OK;
        do {
            r = deflate(&z, flush);
            if (r == Z_STREAM_ERROR)
                break;
            if (z.avail_out == 0 || (flush == Z_FINISH && z.avail_out < chunk.size())) {
                putChunk(out, "IDAT", reinterpret_cast<const char*>(chunk.data()),
                         chunk.size() - z.avail_out);
                z.next_out = chunk.data();
                z.avail_out = uInt(chunk.size());
            }
        } while (flush == Z_FINISH ? r != Z_STREAM_END : z.avail_in > 0);
        return r != Z_STREAM_ERROR;
    };
    bool ok = true;
    for (int y = 0; y < h && ok; ++y) {
        if (y % 32 == 0)
            windowidle::stepAside();
        const auto* from = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            here[3 * std::size_t(x)] = static_cast<unsigned char>(qRed(from[x]));
            here[3 * std::size_t(x) + 1] = static_cast<unsigned char>(qGreen(from[x]));
            here[3 * std::size_t(x) + 2] = static_cast<unsigned char>(qBlue(from[x]));
        }
        line[0] = 2; // "up": each byte less the one above it
        for (std::size_t i = 0; i < rowBytes; ++i)
            line[i + 1] = static_cast<unsigned char>(here[i] - above[i]);
        std::swap(above, here);
        z.next_in = line.data();
        z.avail_in = uInt(line.size());
        ok = drain(Z_NO_FLUSH);
    }
    ok = ok && drain(Z_FINISH);
    deflateEnd(&z);
    if (!ok)
        throw std::runtime_error("The picture could not be encoded.");
    putChunk(out, "IEND", nullptr, 0);
    return out;
}
} // namespace

QByteArray EncodeAutosave(const AutosaveData& data) {
    // Light compression: this runs after every change, and a page is mostly flat colour.
    const QByteArray png = encodePng(data.picture);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_0);
    s.writeRawData(kMagic.constData(), int(kMagic.size()));
    s << data.pageName.toUtf8() << png;
    return out + sumOf(out);
}

std::optional<AutosaveData> DecodeAutosave(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readAutosave(buffer);
}

std::optional<AutosaveData> ReadAutosave(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readAutosave(f);
}

AutosaveWriter::AutosaveWriter(QString path_) : path(std::move(path_)) {
    worker = std::thread([this] { run(); });
}

AutosaveWriter::~AutosaveWriter() {
    {
        std::lock_guard<std::mutex> l(m);
        stopping = true;
    }
    cv.notify_all();
    windowidle::markIdle(); // the window waits for the write: it need not wait for the window
    worker.join();
}

void AutosaveWriter::submit(const QImage& picture, const QRegion& changed, const QString& name) {
    if (picture.isNull())
        return;
    {
        std::lock_guard<std::mutex> l(m);
        const QRegion r = changed & picture.rect();
        for (QRegion& s : stale)
            s |= r;
        const int t = encoding == 0 ? 1 : 0;
        QImage& copy = copies[t];
        if (copy.size() != picture.size() || picture.format() != QImage::Format_RGB32) {
            copy = picture.convertToFormat(QImage::Format_RGB32).copy();
        } else {
            for (const QRect& todo : stale[t])
                copyPixels(copy, picture, todo);
        }
        stale[t] = QRegion();
        pending = t;
        pendingName = name;
        removing = false;
    }
    cv.notify_all();
}

void AutosaveWriter::discard() {
    {
        std::lock_guard<std::mutex> l(m);
        pending = -1;
        removing = true;
    }
    cv.notify_all();
}

QString AutosaveWriter::flush() {
    std::unique_lock<std::mutex> l(m);
    windowidle::waitForWorker(l, cv, [this] { return pending < 0 && encoding < 0 && !removing; });
    return lastError;
}

void AutosaveWriter::run() {
    std::unique_lock<std::mutex> l(m);
    for (;;) {
        cv.wait(l, [this] { return stopping || pending >= 0 || removing; });
        if (removing) {
            removing = false;
            QFile::remove(path);
            cv.notify_all();
            continue;
        }
        if (pending < 0)
            return;
        encoding = pending;
        pending = -1;
        QString error;
        {
            // The window only writes into the other copy meanwhile; the shared reference
            // goes before the copy is handed back.
            const AutosaveData job{copies[encoding], pendingName};
            l.unlock();
            try {
                writeFileAtomically(path, EncodeAutosave(job));
            } catch (const std::exception& e) {
                error = QString::fromLocal8Bit(e.what());
            }
        }
        l.lock();
        encoding = -1;
        lastError = error;
        cv.notify_all();
    }
}
