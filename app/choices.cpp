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

#define T(text) QT_TRANSLATE_NOOP("Choices", text)

const std::vector<Choice>& MainWindow::choices() {
    using W = MainWindow;
    using C = WindowControls;
    static const std::vector<Choice> rows = {
        // The tools, left and right of the page.
        {&C::shapesButton, "shapesButton", Shelf::Tools, {14, 5, 110, 108}, "tool_shapes", nullptr,
         T("Shapes"), "en_figures", tool::Shapes, Marker::Tool, &W::onShapesToolClicked, nullptr,
         &kBrushCursor, &C::shapeOptions},
        {&C::brushButton, "brushButton", Shelf::Tools, {14, 116, 110, 139}, "tool_brush", nullptr,
         T("Brush"), "en_draw", tool::Brush, Marker::Tool, &W::onBrushToolClicked, nullptr,
         &kBrushCursor, &C::penSizeOptions},
        {&C::eraserButton, "eraserButton", Shelf::Tools, {14, 260, 110, 98}, "tool_eraser",
         nullptr, T("Eraser"), "en_erase", tool::Eraser, Marker::Tool, &W::onEraserToolClicked,
         nullptr, &kEraserCursor, &C::penSizeOptions},
        {&C::fillButton, "fillButton", Shelf::Tools, {14, 363, 110, 95}, "tool_fill", nullptr,
         T("Paint bucket"), "en_paint", tool::Fill, Marker::Tool, &W::onFillToolClicked, nullptr,
         &kFillCursor, &C::fillOptions},
        {&C::stampsButton, "stampsButton", Shelf::RightColumn, {10, 176, 110, 124}, "tool_stamps",
         nullptr, T("Magic wand"), "en_magic", tool::Stamp, Marker::Tool, &W::onStampToolClicked,
         nullptr, &kWandCursor, &C::stampOptions},
        {&C::sprayButton, "sprayButton", Shelf::RightColumn, {10, 306, 110, 115}, "tool_spray",
         nullptr, T("Spray can"), "en_spray", tool::Spray, Marker::Tool, &W::onSprayToolClicked,
         nullptr, &kSprayCursor, &C::penSizeOptions},
        // Side panels.
        {&C::statisticsButton, "statisticsButton", Shelf::RightColumn, {10, 6, 110, 78},
         "statistics", T("Statistics"), T("The child's statistics"), nullptr, {}, Marker::None,
         nullptr, &W::onStatisticsClicked},
        {&C::catalogueButton, "catalogueButton", Shelf::RightColumn, {10, 90, 110, 80},
         "catalogue", T("Coloring book"), T("Choose a page"), nullptr, {}, Marker::None, nullptr,
         &W::onCatalogueButtonClicked},
        // Pen sizes: brush, eraser and spray. Huge and big draw alike.
        {&C::hugePenButton, "hugePenButton", Shelf::PenSizes, {0, 12, 89, 80}, "pen_huge",
         nullptr, T("Huge"), "en_huge", QStringLiteral("70"), Marker::Pen, &W::onPenSizeClicked},
        {&C::bigPenButton, "bigPenButton", Shelf::PenSizes, {94, 12, 89, 80}, "pen_big", nullptr,
         T("Big"), "en_big", QStringLiteral("70"), Marker::Pen, &W::onPenSizeClicked},
        {&C::mediumPenButton, "mediumPenButton", Shelf::PenSizes, {190, 12, 89, 80},
         "pen_medium", nullptr, T("Medium"), "en_midel", QStringLiteral("50"), Marker::Pen,
         &W::onPenSizeClicked},
        {&C::littlePenButton, "littlePenButton", Shelf::PenSizes, {284, 12, 89, 80},
         "pen_little", nullptr, T("Little"), "en_litel", QStringLiteral("25"), Marker::Pen,
         &W::onPenSizeClicked},
        {&C::tinyPenButton, "tinyPenButton", Shelf::PenSizes, {378, 12, 89, 80}, "pen_tiny",
         nullptr, T("Tiny"), "en_tainy", QStringLiteral("10"), Marker::Pen, &W::onPenSizeClicked},
        // Stamp sets.
        {&C::snowflakesButton, "snowflakesButton", Shelf::Stamps, {4, 9, 85, 85},
         "stamps_snowflakes", nullptr, T("Snowflakes"), "en_snow", stampkind::Snow, Marker::Stamp,
         &W::onStampSetClicked},
        {&C::leavesButton, "leavesButton", Shelf::Stamps, {94, 9, 85, 85}, "stamps_leaves",
         nullptr, T("Leaves"), "en_listochek", stampkind::Leaves, Marker::Stamp,
         &W::onStampSetClicked},
        {&C::flowersButton, "flowersButton", Shelf::Stamps, {184, 9, 85, 85}, "stamps_flowers",
         nullptr, T("Flowers"), "en_flower", stampkind::Flowers, Marker::Stamp,
         &W::onStampSetClicked},
        {&C::heartsButton, "heartsButton", Shelf::Stamps, {274, 9, 85, 85}, "stamps_hearts",
         nullptr, T("Hearts"), "en_hard", stampkind::Hearts, Marker::Stamp, &W::onStampSetClicked},
        // Shapes.
        {&C::circleButton, "circleButton", Shelf::Shapes, {0, 11, 90, 82}, "shape_circle",
         nullptr, T("Circle"), "en_circle", shape::Circle, Marker::Shape, &W::onShapeClicked},
        {&C::rectangleButton, "rectangleButton", Shelf::Shapes, {96, 11, 90, 82},
         "shape_rectangle", nullptr, T("Rectangle"), "en_square", shape::Square, Marker::Shape,
         &W::onShapeClicked},
        {&C::triangleButton, "triangleButton", Shelf::Shapes, {192, 11, 90, 82},
         "shape_triangle", nullptr, T("Triangle"), "en_triangle", shape::Triangle, Marker::Shape,
         &W::onShapeClicked},
        {&C::lineButton, "lineButton", Shelf::Shapes, {288, 11, 90, 82}, "shape_line", nullptr,
         T("Line"), "en_line", shape::Line, Marker::Shape, &W::onShapeClicked},
        {&C::diamondButton, "diamondButton", Shelf::Shapes, {384, 11, 90, 82}, "shape_diamond",
         nullptr, T("Diamond"), "en_romb", shape::Diamond, Marker::Shape, &W::onShapeClicked},
        {&C::hexagonButton, "hexagonButton", Shelf::Shapes, {480, 11, 90, 82}, "shape_hexagon",
         nullptr, T("Hexagon"), "en_polygon", shape::Polygon, Marker::Shape, &W::onShapeClicked},
        {&C::trapeziumButton, "trapeziumButton", Shelf::Shapes, {576, 11, 90, 82},
         "shape_trapezium", nullptr, T("Trapezoid"), "en_trapecia", shape::Trapezoid,
         Marker::Shape, &W::onShapeClicked},
        // Fill style and the texture strip's arrows.
        {&C::fillToLinesButton, "fillToLinesButton", Shelf::FillOptions, {8, 9, 85, 85},
         "fill_to_lines", nullptr, T("Fill up to the lines"), nullptr, fillstyle::Special,
         Marker::FillStyle, nullptr, &W::onFillToLinesClicked},
        {&C::texturesBackButton, "texturesBackButton", Shelf::FillOptions, {104, 11, 60, 81},
         "strip_back", nullptr, T("More textures"), nullptr, {}, Marker::None, nullptr,
         &W::onTexturesBackClicked},
        {&C::texturesNextButton, "texturesNextButton", Shelf::FillOptions, {639, 9, 60, 84},
         "strip_next", nullptr, T("More textures"), nullptr, {}, Marker::None, nullptr,
         &W::onTexturesNextClicked},
        // What is done to the page itself, whatever the tool.
        {&C::undoButton, "undoButton", Shelf::PageActions, {6, 7, 83, 90}, "undo", T("Undo"),
         T("Undo (Ctrl+Z)"), "en_undo", {}, Marker::None, nullptr, &W::onUndoClicked},
        {&C::redoButton, "redoButton", Shelf::PageActions, {95, 7, 83, 90}, "redo", T("Redo"),
         T("Redo (Ctrl+Shift+Z)"), "en_redo", {}, Marker::None, nullptr, &W::onRedoClicked},
        {&C::rotateButton, "rotateButton", Shelf::PageActions, {184, 7, 83, 90}, "rotate",
         T("Rotate"), T("Turn the page around"), "en_rotate", {}, Marker::None, nullptr,
         &W::onRotateClicked},
        // Another page, or this one blank again: on both palette tabs.
        {&C::randomPageButton, "randomPageButton", Shelf::ToddlerTab, {10, 4, 110, 110}, "random",
         T("Random"), T("Another page"), nullptr, {}, Marker::None, nullptr,
         &W::onRandomPageClicked},
        {&C::clearButton, "clearButton", Shelf::ToddlerTab, {128, 4, 110, 110}, "clear",
         T("Clear"), T("Start the page again"), nullptr, {}, Marker::None, nullptr,
         &W::onClearClicked},
        {&C::kidsRandomPageButton, "kidsRandomPageButton", Shelf::KidsTab, {10, 4, 110, 110},
         "random", T("Random"), T("Another page"), nullptr, {}, Marker::None, nullptr,
         &W::onRandomPageClicked},
        {&C::kidsClearButton, "kidsClearButton", Shelf::KidsTab, {128, 4, 110, 110}, "clear",
         T("Clear"), T("Start the page again"), nullptr, {}, Marker::None, nullptr,
         &W::onClearClicked},
    };
    return rows;
}

const std::vector<ColorChoice>& MainWindow::colorChoices() {
    using C = WindowControls;
    // Black is the palette's 0x1A1A1A, not the outline black.
    static const std::vector<ColorChoice> rows = {
        {&C::redBlot, "redBlot", 259, clRed, QStringLiteral("Красный"), "RED", T("Red"), "en_red"},
        {&C::yellowBlot, "yellowBlot", 369, clYellow, QStringLiteral("Желтый"), "YELLOW",
         T("Yellow"), "en_yellow"},
        {&C::orangeBlot, "orangeBlot", 479, clOrange, QStringLiteral("Оранжевый"), "ORANGE",
         T("Orange"), "en_orange"},
        {&C::greenBlot, "greenBlot", 588, clGreen, QStringLiteral("Зеленый"), "GREEN", T("Green"),
         "en_green"},
        {&C::blueBlot, "blueBlot", 697, clBlue, QStringLiteral("Синий"), "BLUE", T("Blue"),
         "en_blue"},
        {&C::lightBlueBlot, "lightBlueBlot", 807, clLightBlue, QStringLiteral("Голубой"), "SKY",
         T("Light blue"), "en_bluelight"},
        {&C::blackBlot, "blackBlot", 921, clPaintBlack, QStringLiteral("Черный"), "BLACK",
         T("Black"), "en_black"},
        {&C::whiteBlot, "whiteBlot", 1033, clWhite, QStringLiteral("Белый"), "WHITE", T("White"),
         "en_white"},
        {&C::rainbowBlot, "rainbowBlot", 1153, MulticolorMarker, kMulticolorMode, "RAINBOW",
         T("Rainbow colors"), "en_random"},
    };
    return rows;
}

const Choice& MainWindow::choiceOf(QToolButton* WindowControls::*button) {
    for (const Choice& c : choices())
        if (c.button == button)
            return c;
    std::abort(); // every button named in the code has a row
}
