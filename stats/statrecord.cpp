#include "stats/statrecord.h"

#include "base/cp1251.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <stdexcept>

QString cutShortString(const QString& s) {
    return s.left(kShortStringCapacity);
}

namespace {
void putShortString(QByteArray& rec, int offset, const QString& s) {
    const QByteArray b = toCp1251(cutShortString(s)).left(kShortStringCapacity);
    rec[offset] = char(b.size());
    std::copy(b.begin(), b.end(), rec.begin() + offset + 1);
}

QString getShortString(const char* rec, int offset) {
    const int len = std::min<int>(static_cast<unsigned char>(rec[offset]), kShortStringCapacity);
    return fromCp1251(QByteArray(rec + offset + 1, len));
}
} // namespace

QByteArray encodeStatRecord(const TStatRecord& r) {
    QByteArray rec(kStatRecordSize, '\0');
    const auto c = static_cast<quint32>(r.Clicks);
    for (int i = 0; i < 4; ++i)
        rec[i] = char((c >> (8 * i)) & 0xFF);
    putShortString(rec, 4, r.Date);
    putShortString(rec, 25, r.FavoriteColor);
    putShortString(rec, 46, r.FavoriteBook);
    return rec;
}

TStatRecord decodeStatRecord(const char* rec) {
    TStatRecord r;
    quint32 c = 0;
    for (int i = 0; i < 4; ++i)
        c |= quint32(static_cast<unsigned char>(rec[i])) << (8 * i);
    r.Clicks = static_cast<qint32>(c);
    r.Date = getShortString(rec, 4);
    r.FavoriteColor = getShortString(rec, 25);
    r.FavoriteBook = getShortString(rec, 46);
    return r;
}

bool appendStatRecord(QIODevice& f, const TStatRecord& r) {
    // A trailing partial record is overwritten: the record goes at the whole-record count.
    const QByteArray rec = encodeStatRecord(r);
    return f.seek((f.size() / kStatRecordSize) * kStatRecordSize) && f.write(rec) == rec.size();
}

void appendStatRecord(const QString& path, const TStatRecord& r) {
    QFile f(path);
    // Open the history where it is. Only a missing file is started anew: one that exists
    // but cannot be opened or positioned holds the child's history and stays untouched.
    const bool existed = QFileInfo::exists(path);
    if (!f.open(existed ? QIODevice::ReadWrite : QIODevice::ReadWrite | QIODevice::NewOnly))
        throw std::runtime_error("I/O error: cannot " + std::string(existed ? "open" : "create") +
                                 " the statistics file \"" + path.toStdString() +
                                 "\": " + f.errorString().toStdString());
    if (!appendStatRecord(f, r) || !f.flush())
        throw std::runtime_error("I/O error: cannot write the statistics file \"" +
                                 path.toStdString() + "\": " + f.errorString().toStdString());
}

bool readStatRecords(QIODevice& in, std::vector<TStatRecord>& out) {
    const qint64 n = in.size() / kStatRecordSize;
    std::vector<TStatRecord> records;
    records.reserve(size_t(n));
    char rec[kStatRecordSize];
    for (qint64 i = 0; i < n; ++i) {
        if (in.read(rec, kStatRecordSize) != kStatRecordSize)
            return false;
        records.push_back(decodeStatRecord(rec));
    }
    out = std::move(records);
    return true;
}

StatReadResult readStatFile(const QString& path, std::vector<TStatRecord>& out) {
    if (!QFileInfo::exists(path)) {
        out.clear();
        return StatReadResult::Missing;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return StatReadResult::Unopenable; // out keeps what it held
    if (!readStatRecords(f, out))
        throw std::runtime_error("I/O error: read beyond end of file \"" + path.toStdString() +
                                 "\"");
    return StatReadResult::Ok;
}
