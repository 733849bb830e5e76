#include "library/thumbnail.h"

#include "library/pagefit.h"
#include "library/pageload.h"

#include <QImageReader>

QImage makeThumbnail(const QImage& page, int side) {
    if (page.isNull() || side <= 0)
        return {};
    QImage out(side, side, QImage::Format_RGB32);
    out.fill(Qt::white);
    // The drawing area's layout keeps a margin; the thumbnail uses the whole square.
    constexpr int kMargin = 20;
    const QRect r = layoutPage(page.size(), QSize(side + 2 * kMargin, side + 2 * kMargin))
                        .translated(-kMargin, -kMargin);
    stretchKeepingInk(page, out, r);
    return out;
}

QString thumbnailPath(const QString& cacheFolder, const QString& pageName) {
    return cacheFolder + QStringLiteral("/thumbs/") + pageName + QStringLiteral(".png");
}

QImage readThumbnailFile(const QString& path, int side) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(1);
    if (!reader.canRead() || reader.size() != QSize(side, side))
        return {};
    QImage img;
    if (!reader.read(&img) || img.size() != QSize(side, side))
        return {};
    return img.convertToFormat(QImage::Format_RGB32);
}

QString friendlyArchiveName(const QString& fileName) {
    QString name = fileName;
    if (name.endsWith(QStringLiteral(".pak"), Qt::CaseInsensitive))
        name.chop(4);
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    name.replace(QLatin1Char('-'), QLatin1Char(' '));
    name = name.simplified();
    if (name.isEmpty())
        return fileName;
    name[0] = name[0].toUpper();
    return name;
}
