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

SelectionLook::SelectionLook(TForm1* form) : QObject(form), form_(form) {
    setObjectName(QStringLiteral("SelectionLook"));
    blot_ = makeMarker(form, QStringLiteral("Blot"));
    chart_ = makeMarker(form, QStringLiteral("Chart"));
    tool_ = makeMarker(form, QStringLiteral("Tool"));
    pen_ = makeMarker(form, QStringLiteral("Pen"));
    shape_ = makeMarker(form, QStringLiteral("Shape"));
    stamp_ = makeMarker(form, QStringLiteral("Stamp"));
    fillStyle_ = makeMarker(form, QStringLiteral("FillStyle"));
    form->BitBtn17->setCheckable(true);
    // Every press anywhere a choice can be made is followed by a look at the state.
    for (QToolButton* b : form->findChildren<QToolButton*>())
        b->installEventFilter(this);
    for (TImage* i : form->findChildren<TImage*>())
        i->installEventFilter(this);
    form->TreeView1->viewport()->installEventFilter(this);
    form->installEventFilter(this);
}

bool SelectionLook::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (t == QEvent::MouseButtonPress) {
        for (QToolButton* b :
             {form_->BitBtn5, form_->BitBtn7, form_->BitBtn8, form_->BitBtn20, form_->BitBtn21})
            if (watched == b)
                lastPen_ = b;
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
        if (form_->InFormShow)
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
    const TForm1& f = *form_;
    if (f.ColorMode == kMulticolorMode)
        return f.Image10_Color;
    const std::pair<TColor, TImage*> blots[] = {
        {clRed, f.Image1_Color},   {clYellow, f.Image2_Color},    {clOrange, f.Image3_Color},
        {clGreen, f.Image4_Color}, {clBlue, f.Image5_Color},      {clLightBlue, f.Image6_Color},
        {clWhite, f.Image7_Color}, {clPaintBlack, f.Image8_Color}};
    for (const auto& [c, w] : blots)
        if (c == f.CurrentColor)
            return w;
    return nullptr;
}

QWidget* SelectionLook::chosenChartTarget(QRect* cell) const {
    const TForm1& f = *form_;
    if (f.ColorMode == kMulticolorMode)
        return f.Image3;
    // The chart's cells, 30 by 4, read at their middles as a press on the chart reads them.
    const QImage chart = f.Image2->picture();
    if (chart.isNull())
        return nullptr;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 30; ++column) {
            const QPoint middle((2 * column + 1) * chart.width() / 60,
                                (2 * row + 1) * chart.height() / 8);
            if (fromQRgb(chart.pixel(middle)) != f.CurrentColor)
                continue;
            const int x0 = column * chart.width() / 30, x1 = (column + 1) * chart.width() / 30;
            const int y0 = row * chart.height() / 4, y1 = (row + 1) * chart.height() / 4;
            *cell = QRect(x0, y0, x1 - x0, y1 - y0);
            return f.Image2;
        }
    return nullptr;
}

void SelectionLook::clearStaleTextureFrame() {
    TForm1& f = *form_;
    if (f.FillTexture != 0 || f.Imagelist_tex.empty())
        return;
    // The frame is drawn into a box's picture: put the plain previews back.
    for (int n = 1; n <= 6; ++n) {
        TImage* box = f.pnl2->findChild<TImage*>(QStringLiteral("box_img") + QString::number(n));
        const int i = f.TextureOffset + n - 1;
        if (!box || i < 0 || i >= int(f.Imagelist_tex.size()))
            continue;
        if (box->picture() != f.Imagelist_tex[size_t(i)])
            box->setPicture(f.Imagelist_tex[size_t(i)]);
    }
}

void SelectionLook::refresh() {
    TForm1& f = *form_;
    place(blot_, chosenBlot());
    QRect cell;
    QWidget* chartTarget = chosenChartTarget(&cell);
    place(chart_, chartTarget, chartTarget == f.Image2 ? cell.adjusted(-3, -3, 3, 3) : QRect());

    const std::pair<QString, QToolButton*> tools[] = {
        {tool::Shapes, f.BitBtn6}, {tool::Brush, f.But_kist}, {tool::Eraser, f.But_Erase},
        {tool::Fill, f.But_Kras},  {tool::Stamp, f.But_Sneg}, {tool::Spray, f.But_Bolonchik}};
    QWidget* toolButton = nullptr;
    for (const auto& [name, b] : tools)
        if (f.CurrentTool == name)
            toolButton = b;
    place(tool_, toolButton);

    const std::pair<int, QToolButton*> pens[] = {
        {70, f.BitBtn7}, {70, f.BitBtn5}, {50, f.BitBtn8}, {25, f.BitBtn20}, {10, f.BitBtn21}};
    QWidget* penButton = nullptr;
    for (const auto& [size, b] : pens)
        if (f.PenSize == size && (!penButton || b == lastPen_))
            penButton = b;
    place(pen_, penButton);

    const std::pair<QString, QToolButton*> shapes[] = {
        {shape::Circle, f.btn2},   {shape::Square, f.btn1},  {shape::Line, f.btn3},
        {shape::Triangle, f.btn4}, {shape::Polygon, f.btn7}, {shape::Trapezoid, f.btn8},
        {shape::Diamond, f.btn13}};
    QWidget* shapeButton = nullptr;
    for (const auto& [name, b] : shapes)
        if (f.ShapeKind == name)
            shapeButton = b;
    place(shape_, shapeButton);

    const std::pair<QString, QToolButton*> stamps[] = {{stampkind::Snow, f.BitBtn18},
                                                       {stampkind::Leaves, f.btn5},
                                                       {stampkind::Flowers, f.BitBtn12},
                                                       {stampkind::Hearts, f.BitBtn16}};
    QWidget* stampButton = nullptr;
    for (const auto& [name, b] : stamps)
        if (f.StampKind == name)
            stampButton = b;
    place(stamp_, stampButton);

    const bool special = f.FillStyle == fillstyle::Special && f.FillTexture == 0;
    f.BitBtn17->setChecked(special);
    place(fillStyle_, special ? f.BitBtn17 : nullptr);
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
