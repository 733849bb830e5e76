#include "paint/magnifier.h"

#include "library/pageload.h"

#include <QPainter>

QImage magnifierView(const QImage& page, QPoint at) {
    const QRect square(at.x() - 49, at.y() - 49, kMagnifierSource, kMagnifierSource);
    QImage src(square.size(), QImage::Format_RGB32);
    src.fill(Qt::white);
    const QRect onPage = square.intersected(page.rect());
    if (!onPage.isEmpty()) {
        QPainter p(&src);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(onPage.topLeft() - square.topLeft(), page, onPage);
    }
    QImage out(kMagnifierSize, kMagnifierSize, QImage::Format_RGB32);
    stretchPick(src, out, out.rect());
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    const QPoint frame[] = {{0, 0}, {199, 0}, {199, 199}, {0, 199}, {0, 0}};
    p.drawPolyline(frame, 5);
    return out;
}
