#include "app/selection.h"

#include "app/mainwindow.h"
#include "app/widgets.h"

#include <QEvent>
#include <QFrame>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {
// A calm deep blue, darker than every panel, thick enough to see from a child's distance.
const QString kMarkerStyle =
    QStringLiteral("QFrame { border: 5px solid #2b5fa8; border-radius: 8px; background: "
                   "transparent; }");

QFrame* makeMarker(QWidget* parent, const QString& group) {
    auto* f = new QFrame(parent);
    f->setObjectName(QStringLiteral("Selected_") + group);
    f->setStyleSheet(kMarkerStyle);
    f->setAttribute(Qt::WA_TransparentForMouseEvents);
    f->hide();
    return f;
}
} // namespace

SelectionLook::SelectionLook(MainWindow* form) : QObject(form), form_(form) {
    setObjectName(QStringLiteral("SelectionLook"));
    blot_ = makeMarker(form, QStringLiteral("Blot"));
    chart_ = makeMarker(form, QStringLiteral("Chart"));
    tool_ = makeMarker(form, QStringLiteral("Tool"));
    pen_ = makeMarker(form, QStringLiteral("Pen"));
    shape_ = makeMarker(form, QStringLiteral("Shape"));
    stamp_ = makeMarker(form, QStringLiteral("Stamp"));
    fillStyle_ = makeMarker(form, QStringLiteral("FillStyle"));
    form->ui.fillToLinesButton->setCheckable(true);
    // Every press anywhere a choice can be made is followed by a look at the state.
    for (QToolButton* b : form->findChildren<QToolButton*>())
        b->installEventFilter(this);
    for (PictureBox* i : form->findChildren<PictureBox*>())
        i->installEventFilter(this);
    form->ui.catalogueTree->viewport()->installEventFilter(this);
    form->installEventFilter(this);
}

bool SelectionLook::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (t == QEvent::MouseButtonPress) {
        // Two pen sizes draw alike: the one pressed is the one marked.
        for (const Choice& c : MainWindow::choices())
            if (c.marker == Marker::Pen && watched == form_->ui.*c.button)
                lastPen_ = form_->ui.*c.button;
    }
    if ((t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
         (t == QEvent::Show && watched == form_)) &&
        !pending_) {
        pending_ = true;
        schedule();
    }
    return false;
}

void SelectionLook::schedule() {
    // After the press has been handled: the handlers run behind this filter. The first show
    // sets the starting choices and lets events through meanwhile: wait for it to end.
    QTimer::singleShot(0, this, [this] {
        if (form_->inFirstShow)
            return schedule();
        pending_ = false;
        refresh();
    });
}

void SelectionLook::place(QFrame* marker, QWidget* target, const QRect& within) {
    if (!target) {
        marker->hide();
        return;
    }
    if (marker->parentWidget() != target)
        marker->setParent(target);
    marker->setGeometry(within.isNull() ? target->rect() : within);
    marker->show();
    marker->raise();
}

QWidget* SelectionLook::chosenBlot() const {
    const MainWindow& f = *form_;
    for (const ColorChoice& c : MainWindow::colorChoices()) {
        const bool rainbow = c.color == MulticolorMarker;
        if (rainbow ? f.tools.colorMode == kMulticolorMode
                    : f.tools.colorMode != kMulticolorMode && c.color == f.tools.currentColor)
            return f.ui.*c.blot;
    }
    return nullptr;
}

QWidget* SelectionLook::chosenChartTarget(QRect* cell) const {
    const MainWindow& f = *form_;
    if (f.tools.colorMode == kMulticolorMode)
        return f.ui.kidsRainbowBlot;
    // The chart's cells, 30 by 4, read at their middles as a press on the chart reads them.
    const QImage chart = f.ui.colorChart->picture();
    if (chart.isNull())
        return nullptr;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 30; ++column) {
            const QPoint middle((2 * column + 1) * chart.width() / 60,
                                (2 * row + 1) * chart.height() / 8);
            if (fromQRgb(chart.pixel(middle)) != f.tools.currentColor)
                continue;
            const int x0 = column * chart.width() / 30, x1 = (column + 1) * chart.width() / 30;
            const int y0 = row * chart.height() / 4, y1 = (row + 1) * chart.height() / 4;
            *cell = QRect(x0, y0, x1 - x0, y1 - y0);
            return f.ui.colorChart;
        }
    return nullptr;
}

void SelectionLook::clearStaleTextureFrame() {
    MainWindow& f = *form_;
    if (f.tools.fillTexture != 0 || f.tools.texturePreviews.empty())
        return;
    // The frame is drawn into a box's picture: put the plain previews back.
    for (int n = 1; n <= 6; ++n) {
        PictureBox* box = f.ui.textureStrip->findChild<PictureBox*>(QStringLiteral("textureBox") +
                                                                    QString::number(n));
        const int i = f.tools.textureOffset + n - 1;
        if (!box || i < 0 || i >= int(f.tools.texturePreviews.size()))
            continue;
        if (box->picture() != f.tools.texturePreviews[size_t(i)])
            box->setPicture(f.tools.texturePreviews[size_t(i)]);
    }
}

void SelectionLook::refresh() {
    MainWindow& f = *form_;
    place(blot_, chosenBlot());
    QRect cell;
    QWidget* chartTarget = chosenChartTarget(&cell);
    place(chart_, chartTarget,
          chartTarget == f.ui.colorChart ? cell.adjusted(-3, -3, 3, 3) : QRect());

    // Each marker frames the row of its kind whose value is the one chosen.
    // Two pen sizes draw alike: the one pressed last is marked, else the smaller of the two.
    const auto chosen = [&f, this](Marker kind, const QString& value) -> QWidget* {
        QWidget* found = nullptr;
        for (const Choice& c : MainWindow::choices()) {
            if (c.marker != kind || c.value != value)
                continue;
            if (f.ui.*c.button == lastPen_)
                return lastPen_;
            found = f.ui.*c.button;
        }
        return found;
    };
    place(tool_, chosen(Marker::Tool, f.tools.toolValue));
    place(pen_, chosen(Marker::Pen, QString::number(f.tools.penSize)));
    place(shape_, chosen(Marker::Shape, f.tools.shapeKind));
    place(stamp_, chosen(Marker::Stamp, f.tools.stampKind));

    const bool special = f.tools.fillStyle == fillstyle::Special && f.tools.fillTexture == 0;
    f.ui.fillToLinesButton->setChecked(special);
    place(fillStyle_, special ? f.ui.fillToLinesButton : nullptr);
    clearStaleTextureFrame();
}

QFrame* SelectionLook::marker(const QString& group) const {
    for (QFrame* m : {blot_, chart_, tool_, pen_, shape_, stamp_, fillStyle_})
        if (m->objectName() == QStringLiteral("Selected_") + group)
            return m;
    return nullptr;
}

QWidget* SelectionLook::marked(const QString& group) const {
    QFrame* m = marker(group);
    return m && !m->isHidden() ? m->parentWidget() : nullptr;
}
