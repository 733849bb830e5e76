#include "share/autosave.h"

#include "base/atomicfile.h"
#include "paint/pagebitmap.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <stdexcept>

namespace {
const QByteArray kMagic = QByteArrayLiteral("PICTARO-AUTOSAVE-1\n");
constexpr qint64 kMaxFile = qint64(512) << 20;

constexpr int kSumSize = 20;

QByteArray sumOf(QByteArrayView data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1);
}
} // namespace

QByteArray EncodeAutosave(const AutosaveData& data) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Light compression: this runs after every change, and a page is mostly flat colour.
    if (!data.picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG", 80))
        throw std::runtime_error("The picture could not be encoded.");
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_0);
    s.writeRawData(kMagic.constData(), int(kMagic.size()));
    s << data.pageName.toUtf8() << png;
    return out + sumOf(out);
}

std::optional<AutosaveData> DecodeAutosave(const QByteArray& bytes) {
    if (bytes.size() < kMagic.size() + kSumSize || !bytes.startsWith(kMagic))
        return std::nullopt;
    const qint64 body = bytes.size() - kSumSize;
    if (bytes.mid(body) != sumOf(QByteArrayView(bytes).first(body)))
        return std::nullopt;
    QDataStream s(bytes.left(body).mid(kMagic.size()));
    s.setVersion(QDataStream::Qt_6_0);
    QByteArray name, png;
    s >> name >> png;
    if (s.status() != QDataStream::Ok || !s.atEnd())
        return std::nullopt;
    AutosaveData d;
    if (!d.picture.loadFromData(png, "PNG") || d.picture.isNull())
        return std::nullopt;
    d.picture = d.picture.convertToFormat(QImage::Format_RGB32);
    d.pageName = QString::fromUtf8(name);
    return d;
}

std::optional<AutosaveData> ReadAutosave(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFile)
        return std::nullopt;
    return DecodeAutosave(f.readAll());
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
    cv.wait(l, [this] { return pending < 0 && encoding < 0 && !removing; });
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
