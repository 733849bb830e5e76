#pragma once
// The selected look of every choice: a thick frame over the chosen paint blot, chart color,
// tool, pen size, shape and stamp set, the special-fill button pressed while it is on, and
// no texture frame left on a texture that no longer applies. It follows the window's state
// after every press, however the choice was made.
#include <QObject>
#include <QPointer>
#include <QRect>

class QFrame;
class QToolButton;
class QWidget;
class MainWindow;

class SelectionLook : public QObject {
    Q_OBJECT
  public:
    explicit SelectionLook(MainWindow* form);
    void refresh();
    // The widget a marker frames now, null when that marker is hidden. Names: "Blot",
    // "Chart", "Tool", "Pen", "Shape", "Stamp", "FillStyle".
    QWidget* marked(const QString& group) const;
    QFrame* marker(const QString& group) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void schedule();
    void place(QFrame* marker, QWidget* target, const QRect& within = QRect());
    QWidget* chosenBlot() const;
    QWidget* chosenChartTarget(QRect* cell) const;
    void clearStaleTextureFrame();
    MainWindow* form_;
    QFrame* blot_;
    QFrame* chart_;
    QFrame* tool_;
    QFrame* pen_;
    QFrame* shape_;
    QFrame* stamp_;
    QFrame* fillStyle_;
    QPointer<QToolButton> lastPen_; // two pen sizes share a width: the one pressed is marked
    bool pending_ = false;
};
