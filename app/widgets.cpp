#include "app/widgets.h"

#include "app/mainwindow.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setPicture(const QImage& img) {
    picture_ = img;
    if (img.isNull()) { // a texture preview missing from the program folder: an empty box
        setPixmap(QPixmap());
        return;
    }
    setPixmap(
        QPixmap::fromImage(img.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void PictureBox::mousePressEvent(QMouseEvent* e) {
    if (onMouseDown)
        onMouseDown(e->button(), e->position().toPoint());
    QLabel::mousePressEvent(e);
}

DrawingArea::DrawingArea(MainWindow* form, QWidget* parent) : QWidget(parent), form_(form) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void DrawingArea::setOverlayFrame(const QRect& r) {
    const QRect old = overlay_;
    overlay_ = r;
    if (!old.isNull())
        update(old.adjusted(-1, -1, 1, 1));
    update(r.adjusted(-1, -1, 1, 1));
}

void DrawingArea::clearOverlay() {
    if (overlay_.isNull())
        return;
    update(overlay_.adjusted(-1, -1, 1, 1));
    overlay_ = QRect();
}

void DrawingArea::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    const PageBitmapCanvas* page = form_->session.canvas();
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

void DrawingArea::mousePressEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    form_->runGuarded([&] { form_->onAreaPress(e->button(), pt.x(), pt.y()); });
}

void DrawingArea::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    form_->runGuarded([&] { form_->onAreaMove(pt.x(), pt.y()); });
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    form_->runGuarded([&] { form_->onAreaRelease(e->button(), pt.x(), pt.y()); });
}
