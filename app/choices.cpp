// The rows every choice of the window is made from.
#include "app/choices.h"

#include "app/mainwindow.h"
#include "paint/cursorkeys.h"
#include "paint/toolkind.h"

#include <QCoreApplication>

QString choiceText(const char* text) {
    return text ? QCoreApplication::translate(kChoiceContext, text) : QString();
}

namespace {
const CursorLook kFillCursor{"cursor_fill", {{90, 20}, {6, 8}}, kKeyPink, {1, 7}};
const CursorLook kBrushCursor{"cursor_brush", {{20, 21}}, kKeyGrey, {0, 0}};
const CursorLook kSprayCursor{"cursor_spray", {{60, 84}}, kKeyPink, {5, 10}};
const CursorLook kEraserCursor{"cursor_eraser", {}, 0, {0, 0}};
const CursorLook kWandCursor{"cursor_wand", {}, 0, {5, 5}};
} // namespace

namespace {
using W = MainWindow;
using C = WindowControls;

// clang-format off
const Choice kToolRows[] = {
    // The tools, left and right of the page.
    {&C::shapesButton, "shapesButton", Shelf::Tools, {14, 5, 110, 108}, "tool_shapes", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Shapes"), "en_figures", tool::Shapes, Marker::Tool,
     &W::onShapesToolClicked, nullptr, &kBrushCursor, &C::shapeOptions},
    {&C::brushButton, "brushButton", Shelf::Tools, {14, 116, 110, 139}, "tool_brush", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Brush"), "en_draw", tool::Brush, Marker::Tool,
     &W::onBrushToolClicked, nullptr, &kBrushCursor, &C::penSizeOptions},
    {&C::eraserButton, "eraserButton", Shelf::Tools, {14, 260, 110, 98}, "tool_eraser", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Eraser"), "en_erase", tool::Eraser, Marker::Tool,
     &W::onEraserToolClicked, nullptr, &kEraserCursor, &C::penSizeOptions},
    {&C::fillButton, "fillButton", Shelf::Tools, {14, 363, 110, 95}, "tool_fill", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Paint bucket"), "en_paint", tool::Fill, Marker::Tool,
     &W::onFillToolClicked, nullptr, &kFillCursor, &C::fillOptions},
    {&C::stampsButton, "stampsButton", Shelf::RightColumn, {10, 176, 110, 124}, "tool_stamps",
     nullptr, QT_TRANSLATE_NOOP("Choices", "Magic wand"), "en_magic", tool::Stamp, Marker::Tool,
     &W::onStampToolClicked, nullptr, &kWandCursor, &C::stampOptions},
    {&C::sprayButton, "sprayButton", Shelf::RightColumn, {10, 306, 110, 115}, "tool_spray", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Spray can"), "en_spray", tool::Spray, Marker::Tool,
     &W::onSprayToolClicked, nullptr, &kSprayCursor, &C::penSizeOptions},
    // Side panels.
    {&C::statisticsButton, "statisticsButton", Shelf::RightColumn, {10, 6, 110, 78}, "statistics",
     QT_TRANSLATE_NOOP("Choices", "Statistics"),
     QT_TRANSLATE_NOOP("Choices", "The child's statistics"), nullptr, {}, Marker::None, nullptr,
     &W::onStatisticsClicked},
    {&C::catalogueButton, "catalogueButton", Shelf::RightColumn, {10, 90, 110, 80}, "catalogue",
     QT_TRANSLATE_NOOP("Choices", "Coloring book"), QT_TRANSLATE_NOOP("Choices", "Choose a page"),
     nullptr, {}, Marker::None, nullptr, &W::onCatalogueButtonClicked},
};
// clang-format on

// clang-format off
const Choice kOptionRows[] = {
    // Pen sizes: brush, eraser and spray. Huge and big draw alike.
    {&C::hugePenButton, "hugePenButton", Shelf::PenSizes, {0, 12, 89, 80}, "pen_huge", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Huge"), "en_huge", QStringLiteral("70"), Marker::Pen,
     &W::onPenSizeClicked},
    {&C::bigPenButton, "bigPenButton", Shelf::PenSizes, {94, 12, 89, 80}, "pen_big", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Big"), "en_big", QStringLiteral("70"), Marker::Pen,
     &W::onPenSizeClicked},
    {&C::mediumPenButton, "mediumPenButton", Shelf::PenSizes, {190, 12, 89, 80}, "pen_medium",
     nullptr, QT_TRANSLATE_NOOP("Choices", "Medium"), "en_midel", QStringLiteral("50"), Marker::Pen,
     &W::onPenSizeClicked},
    {&C::littlePenButton, "littlePenButton", Shelf::PenSizes, {284, 12, 89, 80}, "pen_little",
     nullptr, QT_TRANSLATE_NOOP("Choices", "Little"), "en_litel", QStringLiteral("25"), Marker::Pen,
     &W::onPenSizeClicked},
    {&C::tinyPenButton, "tinyPenButton", Shelf::PenSizes, {378, 12, 89, 80}, "pen_tiny", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Tiny"), "en_tainy", QStringLiteral("10"), Marker::Pen,
     &W::onPenSizeClicked},
    // Stamp sets.
    {&C::snowflakesButton, "snowflakesButton", Shelf::Stamps, {4, 9, 85, 85}, "stamps_snowflakes",
     nullptr, QT_TRANSLATE_NOOP("Choices", "Snowflakes"), "en_snow", stampkind::Snow, Marker::Stamp,
     &W::onStampSetClicked},
    {&C::leavesButton, "leavesButton", Shelf::Stamps, {94, 9, 85, 85}, "stamps_leaves", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Leaves"), "en_listochek", stampkind::Leaves, Marker::Stamp,
     &W::onStampSetClicked},
    {&C::flowersButton, "flowersButton", Shelf::Stamps, {184, 9, 85, 85}, "stamps_flowers", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Flowers"), "en_flower", stampkind::Flowers, Marker::Stamp,
     &W::onStampSetClicked},
    {&C::heartsButton, "heartsButton", Shelf::Stamps, {274, 9, 85, 85}, "stamps_hearts", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Hearts"), "en_hard", stampkind::Hearts, Marker::Stamp,
     &W::onStampSetClicked},
    // Shapes.
    {&C::circleButton, "circleButton", Shelf::Shapes, {0, 11, 90, 82}, "shape_circle", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Circle"), "en_circle", shape::Circle, Marker::Shape,
     &W::onShapeClicked},
    {&C::rectangleButton, "rectangleButton", Shelf::Shapes, {96, 11, 90, 82}, "shape_rectangle",
     nullptr, QT_TRANSLATE_NOOP("Choices", "Rectangle"), "en_square", shape::Square, Marker::Shape,
     &W::onShapeClicked},
    {&C::triangleButton, "triangleButton", Shelf::Shapes, {192, 11, 90, 82}, "shape_triangle",
     nullptr, QT_TRANSLATE_NOOP("Choices", "Triangle"), "en_triangle", shape::Triangle,
     Marker::Shape, &W::onShapeClicked},
    {&C::lineButton, "lineButton", Shelf::Shapes, {288, 11, 90, 82}, "shape_line", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Line"), "en_line", shape::Line, Marker::Shape,
     &W::onShapeClicked},
    {&C::diamondButton, "diamondButton", Shelf::Shapes, {384, 11, 90, 82}, "shape_diamond", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Diamond"), "en_romb", shape::Diamond, Marker::Shape,
     &W::onShapeClicked},
    {&C::hexagonButton, "hexagonButton", Shelf::Shapes, {480, 11, 90, 82}, "shape_hexagon", nullptr,
     QT_TRANSLATE_NOOP("Choices", "Hexagon"), "en_polygon", shape::Polygon, Marker::Shape,
     &W::onShapeClicked},
    {&C::trapeziumButton, "trapeziumButton", Shelf::Shapes, {576, 11, 90, 82}, "shape_trapezium",
     nullptr, QT_TRANSLATE_NOOP("Choices", "Trapezoid"), "en_trapecia", shape::Trapezoid,
     Marker::Shape, &W::onShapeClicked},
    // Fill style and the texture strip's arrows.
    {&C::fillToLinesButton, "fillToLinesButton", Shelf::FillOptions, {8, 9, 85, 85},
     "fill_to_lines", nullptr, QT_TRANSLATE_NOOP("Choices", "Fill up to the lines"), nullptr,
     fillstyle::Special, Marker::FillStyle, nullptr, &W::onFillToLinesClicked},
    {&C::texturesBackButton, "texturesBackButton", Shelf::FillOptions, {104, 11, 60, 81},
     "strip_back", nullptr, QT_TRANSLATE_NOOP("Choices", "More textures"), nullptr, {},
     Marker::None, nullptr, &W::onTexturesBackClicked},
    {&C::texturesNextButton, "texturesNextButton", Shelf::FillOptions, {639, 9, 60, 84},
     "strip_next", nullptr, QT_TRANSLATE_NOOP("Choices", "More textures"), nullptr, {},
     Marker::None, nullptr, &W::onTexturesNextClicked},
};
// clang-format on

// clang-format off
const Choice kPageRows[] = {
    // What is done to the page itself, whatever the tool.
    {&C::undoButton, "undoButton", Shelf::PageActions, {6, 7, 83, 90}, "undo",
     QT_TRANSLATE_NOOP("Choices", "Undo"), QT_TRANSLATE_NOOP("Choices", "Undo (Ctrl+Z)"), "en_undo",
     {}, Marker::None, nullptr, &W::onUndoClicked},
    {&C::redoButton, "redoButton", Shelf::PageActions, {95, 7, 83, 90}, "redo",
     QT_TRANSLATE_NOOP("Choices", "Redo"), QT_TRANSLATE_NOOP("Choices", "Redo (Ctrl+Shift+Z)"),
     "en_redo", {}, Marker::None, nullptr, &W::onRedoClicked},
    {&C::rotateButton, "rotateButton", Shelf::PageActions, {184, 7, 83, 90}, "rotate",
     QT_TRANSLATE_NOOP("Choices", "Rotate"), QT_TRANSLATE_NOOP("Choices", "Turn the page around"),
     "en_rotate", {}, Marker::None, nullptr, &W::onRotateClicked},
    // Another page, or this one blank again: on both palette tabs.
    {&C::randomPageButton, "randomPageButton", Shelf::ToddlerTab, {10, 4, 110, 110}, "random",
     QT_TRANSLATE_NOOP("Choices", "Random"), QT_TRANSLATE_NOOP("Choices", "Another page"), nullptr,
     {}, Marker::None, nullptr, &W::onRandomPageClicked},
    {&C::clearButton, "clearButton", Shelf::ToddlerTab, {128, 4, 110, 110}, "clear",
     QT_TRANSLATE_NOOP("Choices", "Clear"), QT_TRANSLATE_NOOP("Choices", "Start the page again"),
     nullptr, {}, Marker::None, nullptr, &W::onClearClicked},
    {&C::kidsRandomPageButton, "kidsRandomPageButton", Shelf::KidsTab, {10, 4, 110, 110}, "random",
     QT_TRANSLATE_NOOP("Choices", "Random"), QT_TRANSLATE_NOOP("Choices", "Another page"), nullptr,
     {}, Marker::None, nullptr, &W::onRandomPageClicked},
    {&C::kidsClearButton, "kidsClearButton", Shelf::KidsTab, {128, 4, 110, 110}, "clear",
     QT_TRANSLATE_NOOP("Choices", "Clear"), QT_TRANSLATE_NOOP("Choices", "Start the page again"),
     nullptr, {}, Marker::None, nullptr, &W::onClearClicked},
};
// clang-format on
} // namespace

const std::vector<Choice>& MainWindow::choices() {
    static const std::vector<Choice> rows = [] {
        std::vector<Choice> all(std::begin(kToolRows), std::end(kToolRows));
        all.insert(all.end(), std::begin(kOptionRows), std::end(kOptionRows));
        all.insert(all.end(), std::begin(kPageRows), std::end(kPageRows));
        return all;
    }();
    return rows;
}

const std::vector<ColorChoice>& MainWindow::colorChoices() {
    // Black is the palette's 0x1A1A1A, not the outline black.
    static const std::vector<ColorChoice> rows = {
        {&C::redBlot, "redBlot", 259, clRed, QStringLiteral("Красный"), "RED",
         QT_TRANSLATE_NOOP("Choices", "Red"), "en_red"},
        {&C::yellowBlot, "yellowBlot", 369, clYellow, QStringLiteral("Желтый"), "YELLOW",
         QT_TRANSLATE_NOOP("Choices", "Yellow"), "en_yellow"},
        {&C::orangeBlot, "orangeBlot", 479, clOrange, QStringLiteral("Оранжевый"), "ORANGE",
         QT_TRANSLATE_NOOP("Choices", "Orange"), "en_orange"},
        {&C::greenBlot, "greenBlot", 588, clGreen, QStringLiteral("Зеленый"), "GREEN",
         QT_TRANSLATE_NOOP("Choices", "Green"), "en_green"},
        {&C::blueBlot, "blueBlot", 697, clBlue, QStringLiteral("Синий"), "BLUE",
         QT_TRANSLATE_NOOP("Choices", "Blue"), "en_blue"},
        {&C::lightBlueBlot, "lightBlueBlot", 807, clLightBlue, QStringLiteral("Голубой"), "SKY",
         QT_TRANSLATE_NOOP("Choices", "Light blue"), "en_bluelight"},
        {&C::blackBlot, "blackBlot", 921, clPaintBlack, QStringLiteral("Черный"), "BLACK",
         QT_TRANSLATE_NOOP("Choices", "Black"), "en_black"},
        {&C::whiteBlot, "whiteBlot", 1033, clWhite, QStringLiteral("Белый"), "WHITE",
         QT_TRANSLATE_NOOP("Choices", "White"), "en_white"},
        {&C::rainbowBlot, "rainbowBlot", 1153, MulticolorMarker, kMulticolorMode, "RAINBOW",
         QT_TRANSLATE_NOOP("Choices", "Rainbow colors"), "en_random"},
    };
    return rows;
}

const Choice& MainWindow::choiceOf(QToolButton* WindowControls::*button) {
    for (const Choice& c : choices())
        if (c.button == button)
            return c;
    std::abort(); // every button named in the code has a row
}
