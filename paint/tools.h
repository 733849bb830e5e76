#pragma once
// The drawing tools, without widgets. Each works press to release (one change to the page)
// on the page canvas and the window's tool state, and returns the rectangle of the page it
// changed; an empty one when nothing changed. The window repaints, plays and counts.
#include "base/tcolor.h"
#include "paint/pagebitmap.h"
#include "paint/toolkind.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// The window's tool state, by reference: tools change it as they always have.
struct ToolState {
    TColor& color;      // the chosen colour; multicolour tools pick a new one
    bool multicolor;    // the rainbow swatch is chosen
    int penSize;        // brush width, eraser half side, spray radius
    QString& fillStyle; // a texture makes the fill "special"
    int fillTexture;    // 0: plain paint
    std::function<QImage(int)> texturePattern; // the tile of a texture
    const std::vector<QImage>* stamps;         // the chosen stamp set, or none
    QString shapeKind;                         // the chosen shape
    QPoint& shapeStart;                        // where the shape's drag began
    QRect& shapeOutline;                       // the outline of the last drag step
    std::unique_ptr<QImage>& shapeSnapshot;    // the page before the drag
};

class Tool {
  public:
    virtual ~Tool() = default;
    virtual QRect press(PageBitmapCanvas& page, ToolState& s, QPoint p) = 0;
    virtual QRect move(PageBitmapCanvas&, ToolState&, QPoint) { return {}; }
    virtual QRect release(PageBitmapCanvas&, ToolState&, QPoint) { return {}; }
};

// Floods the area under the pointer up to the black lines, or a same-coloured area.
class FillTool : public Tool {
  public:
    QRect press(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
};

// A line of the pen's width from point to point; a press alone leaves no mark.
class BrushTool : public Tool {
  public:
    QRect press(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
    QRect move(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
};

// White squares of 2 x penSize around the pointer, at press, every move and release.
class EraserTool : public Tool {
  public:
    QRect press(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
    QRect move(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
    QRect release(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
    // The square press and move erase, for the frame drawn around it.
    static QRect square(QPoint p, int penSize);
};

// One burst of dots at press, two at every move.
class SprayTool : public Tool {
  public:
    QRect press(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
    QRect move(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
};

// A random picture of the chosen set at the pointer.
class StampTool : public Tool {
  public:
    QRect press(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
};

// A rubber-band outline from the press to the pointer.
class ShapesTool : public Tool {
  public:
    QRect press(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
    QRect move(PageBitmapCanvas& page, ToolState& s, QPoint p) override;
};

// The one tool of each kind (they keep no state of their own); null for ToolKind::None.
Tool* toolFor(ToolKind kind);
