#pragma once
// stat.dat: headerless 68-byte records, one per run, oldest first.
#include <QByteArray>
#include <QString>
#include <vector>

class QIODevice;

struct TStatRecord {
    int Clicks = 0;
    QString Date;
    QString FavoriteColor;
    QString FavoriteBook;
};

constexpr int kStatRecordSize = 68;
constexpr int kShortStringCapacity = 20;

// Cuts to the 20 characters a record field can hold.
QString cutShortString(const QString& s);

QByteArray encodeStatRecord(const TStatRecord& r);
// rec must hold 68 bytes. A length byte above 20 reads as 20.
TStatRecord decodeStatRecord(const char* rec);

// Appends at record position (file size div 68); a missing file is created. A file that
// exists but cannot be opened for reading and writing is left as it is.
// Throws std::runtime_error on an input/output error.
void appendStatRecord(const QString& path, const TStatRecord& r);
// The same on an open history; false when it cannot be positioned or written.
bool appendStatRecord(QIODevice& f, const TStatRecord& r);

enum class StatReadResult { Missing, Unopenable, Ok };
// Reads every whole record; a trailing partial record is no part of the history. When the
// file exists but cannot be opened, out is left as it was. Throws std::runtime_error on a
// read error after opening.
StatReadResult readStatFile(const QString& path, std::vector<TStatRecord>& out);
// Every whole record of an open history; false on a read error, out then left as it was.
bool readStatRecords(QIODevice& in, std::vector<TStatRecord>& out);
