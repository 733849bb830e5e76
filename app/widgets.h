#pragma once
// Small controls the window is built from.
#include <QLabel>
#include <QWidget>
#include <functional>

class MainWindow;

// A picture control: shows a picture and reports presses of any button.
class PictureBox : public QLabel {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);
    void setPicture(const QImage& img);
    QImage picture() const { return picture_; }
    std::function<void(Qt::MouseButton, QPoint)> onMouseDown;

  protected:
    void mousePressEvent(QMouseEvent* e) override;

  private:
    QImage picture_;
};

// The drawing area. It has no pixels of its own: it shows the window's page bitmap one to
// one at (0, 0) and hands pointer events to the window's handlers.
class DrawingArea : public QWidget {
    Q_OBJECT
  public:
    DrawingArea(MainWindow* form, QWidget* parent);
    // The eraser's dashed frame, drawn over the page until the next show.
    void setOverlayFrame(const QRect& r);
    void clearOverlay();
    QRect overlayFrame() const { return overlay_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    MainWindow* form_;
    QRect overlay_;
};
