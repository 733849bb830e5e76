#include "share/autosave.h"

#include "base/atomicfile.h"

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

void AutosaveWriter::submit(const AutosaveData& data) {
    {
        std::lock_guard<std::mutex> l(m);
        pending = data; // shares the pixels; the worker detaches them
    }
    cv.notify_all();
}

QString AutosaveWriter::flush() {
    std::unique_lock<std::mutex> l(m);
    cv.wait(l, [this] { return !pending && !busy; });
    return lastError;
}

void AutosaveWriter::run() {
    std::unique_lock<std::mutex> l(m);
    for (;;) {
        cv.wait(l, [this] { return stopping || pending; });
        if (!pending)
            return;
        AutosaveData job = std::move(*pending);
        pending.reset();
        busy = true;
        // Our own pixels, copied here rather than on the window thread, and the shared
        // reference dropped before the window draws again.
        job.picture = job.picture.copy();
        l.unlock();
        QString error;
        try {
            writeFileAtomically(path, EncodeAutosave(job));
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
        l.lock();
        busy = false;
        lastError = error;
        cv.notify_all();
    }
}
