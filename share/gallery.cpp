#include "share/gallery.h"

#include "base/rng.h"

#include <QUrl>

QString RandomFileName(int length) {
    const int size = int(sizeof(kUploadAlphabet)) - 1;
    if (size < length)
        length = size - 1;
    QString out;
    out.reserve(length);
    while (out.size() < length) {
        const QChar c = QLatin1Char(kUploadAlphabet[rng::Random(size)]);
        if (!out.contains(c))
            out.append(c);
    }
    return out;
}

QByteArray AnnounceUrl(const QString& base, const QString& fileName, const QString& childName,
                       const QString& age) {
    return base.toUtf8() + "/write_image.php?filename=" + QUrl::toPercentEncoding(fileName) +
           "&rebenok=" + QUrl::toPercentEncoding(childName) +
           "&vozrast=" + QUrl::toPercentEncoding(age);
}

QByteArray UploadUrl(const QString& base) {
    return base.toUtf8() + "/get_image.php";
}

QString GalleryUrl(const QString& base) {
    return base + QStringLiteral("/baby.php");
}
