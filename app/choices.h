#pragma once
// What the child can choose, one row each: a tool, a pen size, a shape, a stamp set, the fill
// style, a paint blot. A row names its control, picture, tooltip, spoken prompt, cursor,
// options page and the frame that marks it chosen; the window makes its buttons, tooltips,
// prompts, cursors and selected looks from these rows. A new tool is one row plus its handler.
#include "app/windowcontrols.h"
#include "base/tcolor.h"

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>
#include <vector>

class MainWindow;
class PictureBox;
class QToolButton;
class QWidget;

// The panel a choice's button sits on.
enum class Shelf {
    Tools,
    RightColumn,
    FillOptions,
    PenSizes,
    Stamps,
    Shapes,
    PageActions,
    ToddlerTab,
    KidsTab
};

// Which selection frame marks a choice while it is the current one.
enum class Marker { None, Tool, Pen, Shape, Stamp, FillStyle };

// A tool's cursor: its picture (and "<picture>_mask") under :/cursors/, the seeds of the areas
// tinted with the chosen paint, the key colour those areas have, and the hot spot.
struct CursorLook {
    const char* picture;
    std::vector<QPoint> seeds;
    QRgb key;
    QPoint hot;
};

struct Choice {
    QToolButton* WindowControls::*button;
    const char* objectName;
    Shelf shelf;
    QRect geometry;
    const char* picture; // :/buttons/<picture>.png
    const char* caption; // shown under the picture, translated; nullptr: the picture only
    const char* tooltip; // for the grown-ups, translated
    const char* prompt;  // spoken when it is chosen; nullptr: silent
    QString value;       // what it chooses, as stored: a tool, shape or stamp set, a pen size
    Marker marker;
    // What a press does: a choice is handed its own row; an action just runs.
    void (MainWindow::*onChosen)(const Choice&) = nullptr;
    void (MainWindow::*onClicked)() = nullptr;
    // Tools only: the cursor and the options page shown with them.
    const CursorLook* cursor = nullptr;
    QWidget* WindowControls::*optionPage = nullptr;
};

// A paint blot on the Toddler tab, in the palette's order.
struct ColorChoice {
    PictureBox* WindowControls::*blot;
    const char* objectName;
    int left;
    TColor color;
    QString value;       // the colour's name as the window's choice keeps it
    const char* picture; // :/swatches/<picture>1.png, <picture>2.png under the pointer
    const char* tooltip;
    const char* prompt;
};

// Translation context of every text in the rows.
inline constexpr char kChoiceContext[] = "Choices";
QString choiceText(const char* text);
