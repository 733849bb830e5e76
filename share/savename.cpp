#include "share/savename.h"

#include <QDir>
#include <QFileInfo>

QString NextSaveName(const QString& folder) {
    QDir dir(folder);
    // The wildcard matches regardless of case, as the desktop's own file search does.
    const qsizetype n =
        dir.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System).size();
    for (qsizetype k = n + 1;; ++k) {
        const QString path = dir.filePath(QStringLiteral("baby%1.bmp").arg(k));
        if (!QFileInfo::exists(path))
            return path;
    }
}
