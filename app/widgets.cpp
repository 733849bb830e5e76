#include "app/widgets.h"

#include "app/mainwindow.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::setPicture(const QImage& img) {
    picture_ = img;
    setPixmap(
        QPixmap::fromImage(img.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void TImage::mousePressEvent(QMouseEvent* e) {
    if (onMouseDown)
        onMouseDown(e->button(), e->position().toPoint());
    QLabel::mousePressEvent(e);
}

TPaintBox::TPaintBox(TForm1* form, QWidget* parent) : QWidget(parent), form_(form) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void TPaintBox::setOverlayFrame(const QRect& r) {
    const QRect old = overlay_;
    overlay_ = r;
    if (!old.isNull())
        update(old.adjusted(-1, -1, 1, 1));
    update(r.adjusted(-1, -1, 1, 1));
}

void TPaintBox::clearOverlay() {
    if (overlay_.isNull())
        return;
    update(overlay_.adjusted(-1, -1, 1, 1));
    overlay_ = QRect();
}

void TPaintBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    const PageBitmapCanvas* page = form_->PageBitmap.get();
    if (page) {
        const QRect pageRect = r.intersected(page->rect());
        if (!pageRect.isEmpty())
            p.drawImage(pageRect.topLeft(), page->image, pageRect);
        // Where the area outgrew the page, the white panel behind shows.
        const QRegion rest = QRegion(r).subtracted(QRegion(page->rect()));
        for (const QRect& q : rest)
            p.fillRect(q, Qt::white);
    } else {
        p.fillRect(r, Qt::white);
    }
    if (!overlay_.isNull()) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(overlay_.adjusted(0, 0, -1, -1));
    }
}

void TPaintBox::mousePressEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    form_->runGuarded([&] { form_->PaintBox1MouseDown(e->button(), pt.x(), pt.y()); });
}

void TPaintBox::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    form_->runGuarded([&] { form_->PaintBox1MouseMove(pt.x(), pt.y()); });
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    form_->runGuarded([&] { form_->PaintBox1MouseUp(e->button(), pt.x(), pt.y()); });
}
