#include "share/savename.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString nextName(const QString& folder, const QStringList& counted, const QString& suffix) {
    QDir dir(folder);
    // The wildcard matches regardless of case, as the desktop's own file search does.
    const qsizetype n = dir.entryList(counted, QDir::Files | QDir::Hidden | QDir::System).size();
    for (qsizetype k = n + 1;; ++k) {
        const QString path = dir.filePath(QStringLiteral("baby%1.%2").arg(k).arg(suffix));
        bool taken = false;
        for (const QString& pattern : counted)
            taken = taken || QFileInfo::exists(
                                 dir.filePath(QStringLiteral("baby%1.").arg(k) + pattern.mid(2)));
        if (!taken)
            return path;
    }
}
} // namespace

QString NextSaveName(const QString& folder) {
    return nextName(folder, {QStringLiteral("*.bmp")}, QStringLiteral("bmp"));
}

QString NextPngSaveName(const QString& folder) {
    return nextName(folder, {QStringLiteral("*.bmp"), QStringLiteral("*.png")},
                    QStringLiteral("png"));
}
