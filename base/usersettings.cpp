#include "base/usersettings.h"

#include <QByteArrayView>
#include <QIODevice>

namespace {
// A value as QSettings writes a plain one: bare up to a comment, or quoted. Nothing for a
// stored object (@Variant, @ByteArray...) or a quote left open.
std::optional<QByteArrayView> plainValue(QByteArrayView v) {
    v = v.trimmed();
    if (v.startsWith('"')) {
        const qsizetype close = v.indexOf('"', 1);
        if (close < 0)
            return std::nullopt;
        v = v.sliced(1, close - 1);
    } else if (const qsizetype comment = v.indexOf(';'); comment >= 0) {
        v = v.first(comment).trimmed();
    }
    if (v.startsWith('@'))
        return std::nullopt;
    return v;
}
} // namespace

std::optional<QString> readUserSettingText(QIODevice& in, const QString& key) {
    // Keys of the top level sit before any section or under [General], as QSettings writes
    // them. Lines of up to kLongest - 1 bytes are looked at where they were read, without a
    // copy: a file of many short lines would otherwise cost an allocation or three a line.
    constexpr qint64 kLongest = 1024;
    char buf[kLongest];
    char rest[kLongest];
    const QByteArray wanted = key.toUtf8();
    std::optional<QString> found;
    bool topLevel = true;
    while (!in.atEnd()) {
        const qint64 n = in.readLine(buf, kLongest);
        if (n <= 0)
            break; // a read error: what was found so far stands
        QByteArrayView line(buf, n);
        // Whole when it ends, or when the file does before the buffer is full: the last line
        // is allowed no more than the others.
        const bool whole = line.endsWith('\n') || (in.atEnd() && n < kLongest - 1);
        // The rest of a line too long to be one of ours is passed over, not kept.
        for (qint64 m = 0; !whole && !in.atEnd();) {
            m = in.readLine(rest, kLongest);
            if (m <= 0 || rest[m - 1] == '\n')
                break;
        }
        line = line.trimmed();
        if (whole && line.startsWith('[') && line.endsWith(']')) {
            topLevel = QByteArrayView(line.sliced(1, line.size() - 2))
                           .compare("general", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!topLevel || eq < 0 || line.first(eq).trimmed() != wanted)
            continue;
        const std::optional<QByteArrayView> value =
            whole ? plainValue(line.sliced(eq + 1)) : std::nullopt;
        found = value ? std::optional(QString::fromUtf8(*value)) : std::nullopt;
    }
    return found;
}

std::optional<bool> switchValue(const QString& text) {
    for (const char* on : {"true", "on", "yes", "1"})
        if (text.compare(QLatin1String(on), Qt::CaseInsensitive) == 0)
            return true;
    for (const char* off : {"false", "off", "no", "0"})
        if (text.compare(QLatin1String(off), Qt::CaseInsensitive) == 0)
            return false;
    return std::nullopt;
}
