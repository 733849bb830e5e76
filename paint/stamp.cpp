#include "paint/stamp.h"

#include "base/rng.h"
#include "paint/rotate.h"

#include <algorithm>

QImage composeStamp(const QImage& picture) {
    QImage stamp(kStampWidth, kStampHeight, QImage::Format_RGB32);
    stamp.fill(toQRgb(clWhite));
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = std::min(kStampWidth, src.width());
    const int h = std::min(kStampHeight, src.height());
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(stamp.scanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(in[x]) >= 128)
                out[x] = in[x] | 0xFF000000u;
    }
    return stamp;
}

QRect placeStamp(PageBitmapCanvas& page, const QImage& picture, int angle, QPoint pointer) {
    QImage stamp = composeStamp(picture);
    const TColor key = fromQRgb(stamp.pixel(1, 1));
    RotateBitmap(stamp, clWhite, static_cast<double>(angle));
    const QPoint at = pointer + kStampOffset;
    return page.drawTransparent(at.x(), at.y(), stamp, key);
}

QRect dropRandomStamp(PageBitmapCanvas& page, const std::vector<QImage>& pictures, QPoint pointer) {
    rng::Randomize();
    if (pictures.empty())
        return {};
    const QImage& picture = pictures[size_t(rng::Random(int(pictures.size())))];
    rng::Randomize();
    const int angle = rng::Random(360);
    return placeStamp(page, picture, angle, pointer);
}
