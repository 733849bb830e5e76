// Tool choice: buttons, pen sizes, option pages, and the tinted tool cursor.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "base/rng.h"
#include "paint/cursorkeys.h"

#include <QApplication>
#include <QFileInfo>
#include <QPixmap>
#include <QStackedWidget>

void TForm1::ShowPage(const QRect& dirty, bool putLinesBack) {
    // Every tool step shows what it changed through here: the one place to put lines back.
    History.touch(dirty);
    if (putLinesBack && !dirty.isNull() && PageBitmap && OutlinesStay())
        Outline.restore(PageBitmap->image, dirty);
    if (PageBitmap)
        AutosaveChanged(dirty);
    PaintBox1->clearOverlay();
    if (dirty.isNull())
        PaintBox1->update();
    else
        PaintBox1->update(dirty);
}

namespace {
struct CursorSpec {
    const char* image;
    std::vector<QPoint> seeds;
    QRgb key;
    QPoint hot;
};

const CursorSpec* cursorFor(ToolKind tool) {
    static const CursorSpec fill{"cursor_leika", {{90, 20}, {6, 8}}, kKeyPink, {1, 7}};
    static const CursorSpec brush{"cursor_kist", {{20, 21}}, kKeyGrey, {0, 0}};
    static const CursorSpec spray{"cursor_bolon", {{60, 84}}, kKeyPink, {5, 10}};
    static const CursorSpec eraser{"cursor_sterka", {}, 0, {0, 0}};
    static const CursorSpec wand{"cur_palka", {}, 0, {5, 5}};
    if (tool == ToolKind::Fill)
        return &fill;
    if (tool == ToolKind::Brush || tool == ToolKind::Shapes)
        return &brush;
    if (tool == ToolKind::Spray)
        return &spray;
    if (tool == ToolKind::Eraser)
        return &eraser;
    if (tool == ToolKind::Stamp)
        return &wand;
    return nullptr;
}

// Diagonal rainbow stripes: how the cursor looks while the multicolor swatch is chosen.
QImage rainbowPattern() {
    static const QRgb bands[] = {qRgb(255, 0, 0),   qRgb(255, 128, 0), qRgb(255, 230, 0),
                                 qRgb(0, 190, 0),   qRgb(0, 160, 255), qRgb(90, 60, 255),
                                 qRgb(200, 40, 220)};
    QImage img(28, 28, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, bands[((x + y) / 4) % 7]);
    return img;
}

// The cursor picture: the tinted color image where the mask marks the picture, see-through
// elsewhere. Pixels that a platform cursor would combine with the screen by exclusive or
// (white mask, color not black) have no counterpart in a Qt cursor; they stay see-through.
QImage composeCursorImage(const QImage& color, const QImage& mask) {
    QImage out(color.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < color.height(); ++y) {
        const auto* c = reinterpret_cast<const QRgb*>(color.constScanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < color.width(); ++x)
            if ((m[x] & 0xFFFFFF) != 0xFFFFFF)
                o[x] = c[x] | 0xFF000000u;
    }
    return out;
}
} // namespace

void TForm1::NewCursor(const QString& name, TColor color, int speak) {
    CurrentColor = color;
    if (PageBitmap)
        PageBitmap->pen.color = color;
    ColorMode =
        (name == kMulticolorMode || color == MulticolorMarker) ? kMulticolorMode : QString();

    QWidget* page = nullptr;
    if (currentTool() == ToolKind::Shapes)
        page = Tab_Effect;
    else if (currentTool() == ToolKind::Stamp)
        page = Tab_Shtamp;
    else if (currentTool() == ToolKind::Spray || currentTool() == ToolKind::Brush ||
             currentTool() == ToolKind::Eraser)
        page = Tab_PenSize;
    else if (currentTool() == ToolKind::Fill)
        page = Tab_Zalivka;
    if (page) {
        PageControl_Dop->setCurrentWidget(page);
        const CursorSpec* look = cursorFor(currentTool());
        const QString base = QStringLiteral(":/cursors/") + QString::fromLatin1(look->image);
        QImage img(base + QStringLiteral(".png"));
        QImage mask(base + QStringLiteral("_mask.png"));
        if (!img.isNull() && !mask.isNull() && img.size() == mask.size()) {
            img = img.convertToFormat(QImage::Format_RGB32);
            mask = mask.convertToFormat(QImage::Format_RGB32);
            FillPaint tint;
            QImage rainbow;
            if (ColorMode == kMulticolorMode) {
                rainbow = rainbowPattern();
                tint.pattern = &rainbow;
            } else {
                tint.color = toQRgb(CurrentColor);
            }
            for (const QPoint& seed : look->seeds)
                floodFill(img, seed, FloodMode::Surface, look->key, tint);
            const QCursor cursor(QPixmap::fromImage(composeCursorImage(img, mask)), look->hot.x(),
                                 look->hot.y());
            if (QGuiApplication::overrideCursor())
                QGuiApplication::changeOverrideCursor(cursor);
            else
                QGuiApplication::setOverrideCursor(cursor);
        }
    }

    if (!speak)
        return;
    static const std::pair<QString, const char*> prompts[] = {
        {QStringLiteral("Черный"), "en_black"},
        {QStringLiteral("Зеленый"), "en_green"},
        {QStringLiteral("Синий"), "en_blue"},
        {QStringLiteral("Голубой"), "en_bluelight"},
        {QStringLiteral("Белый"), "en_white"},
        {QStringLiteral("Оранжевый"), "en_orange"},
        {QStringLiteral("Желтый"), "en_yellow"},
        {QStringLiteral("Красный"), "en_red"},
        {QStringLiteral("Цветной"), "en_random"},
        {tool::Eraser, "en_erase"},
        {tool::Brush, "en_draw"},
        {tool::Fill, "en_paint"},
        {tool::Spray, "en_spray"},
        {tool::Stamp, "en_magic"},
    };
    for (const auto& [word, prompt] : prompts)
        if (name == word)
            PlayPrompt(QString::fromLatin1(prompt));
    if (currentTool() == ToolKind::Shapes)
        PlayPrompt(QStringLiteral("en_figures"));
}

namespace {
TColor toolColor(const TForm1& f) {
    return f.ColorMode == kMulticolorMode ? MulticolorMarker : f.CurrentColor;
}
} // namespace

void TForm1::But_PipetkaClick() {
    CurrentTool = tool::Shapes;
    ShapeKind = shape::Circle;
    NewCursor(tool::Shapes, toolColor(*this), 1);
}

void TForm1::But_kistClick() {
    FillStyle = fillstyle::Normal;
    CurrentTool = tool::Brush;
    NewCursor(tool::Brush, toolColor(*this), 1);
}

void TForm1::But_EraseClick() {
    CurrentTool = tool::Eraser;
    NewCursor(tool::Eraser, toolColor(*this), 1);
}

void TForm1::But_KrasClick() {
    CurrentTool = tool::Fill;
    NewCursor(tool::Fill, toolColor(*this), 1);
}

void TForm1::But_SnegClick() {
    CurrentTool = tool::Stamp;
    if (ColorMode == kMulticolorMode)
        StampKind = stampkind::Flowers;
    NewCursor(tool::Stamp, toolColor(*this), 1);
}

void TForm1::But_BolonchikClick() {
    CurrentTool = tool::Spray;
    NewCursor(tool::Spray, toolColor(*this), 1);
}

void TForm1::BitBtn5Click() {
    PenSize = 70;
    PlayPrompt(QStringLiteral("en_huge"));
}
void TForm1::BitBtn7Click() {
    PenSize = 70;
    PlayPrompt(QStringLiteral("en_big"));
}
void TForm1::BitBtn8Click() {
    PenSize = 50;
    PlayPrompt(QStringLiteral("en_midel"));
}
void TForm1::BitBtn20Click() {
    PenSize = 25;
    PlayPrompt(QStringLiteral("en_litel"));
}
void TForm1::BitBtn21Click() {
    PenSize = 10;
    PlayPrompt(QStringLiteral("en_tainy"));
}

void TForm1::BitBtn17Click() {
    FillStyle = fillstyle::Special;
    FillTexture = 0;
    if (PageBitmap)
        PageBitmap->brush.style = BrushStyle::Solid;
}

void TForm1::BitBtn18Click() {
    StampKind = stampkind::Snow;
    PlayPrompt(QStringLiteral("en_snow"));
}
void TForm1::btn5Click() {
    StampKind = stampkind::Leaves;
    PlayPrompt(QStringLiteral("en_listochek"));
}
void TForm1::BitBtn12Click() {
    StampKind = stampkind::Flowers;
    PlayPrompt(QStringLiteral("en_flower"));
}
void TForm1::BitBtn16Click() {
    StampKind = stampkind::Hearts;
    PlayPrompt(QStringLiteral("en_hard"));
}

namespace {
void chooseShape(TForm1& f, const QString& kind, const char* prompt) {
    f.CurrentTool = tool::Shapes;
    f.ShapeKind = kind;
    f.PlayPrompt(QString::fromLatin1(prompt));
}
} // namespace

void TForm1::btn1Click() {
    chooseShape(*this, shape::Square, "en_square");
}
void TForm1::btn2Click() {
    chooseShape(*this, shape::Circle, "en_circle");
}
void TForm1::btn3Click() {
    chooseShape(*this, shape::Line, "en_line");
}
void TForm1::btn4Click() {
    chooseShape(*this, shape::Triangle, "en_triangle");
}
void TForm1::btn7Click() {
    chooseShape(*this, shape::Polygon, "en_polygon");
}
void TForm1::btn8Click() {
    chooseShape(*this, shape::Trapezoid, "en_trapecia");
}
void TForm1::btn13Click() {
    chooseShape(*this, shape::Diamond, "en_romb");
}
