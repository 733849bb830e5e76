#pragma once
// The palette's eight paint colours, in the order the statistics count them.
#include "base/tcolor.h"

#include <array>

struct PaletteColor {
    TColor color;         // currentColor once it is picked
    const char* statName; // as the statistics name it
    const char* control;  // its swatch on the Toddler tab
    const char* picture;  // :/swatches/<picture>1.png, and <picture>2.png under the pointer
};

// Black is the palette's 0x1A1A1A, not the outline black.
inline constexpr std::array<PaletteColor, 8> kPaletteColors = {{
    {clRed, "Red", "redBlot", "RED"},
    {clYellow, "Yellow", "yellowBlot", "YELLOW"},
    {clOrange, "Orange", "orangeBlot", "ORANGE"},
    {clGreen, "Green", "greenBlot", "GREEN"},
    {clBlue, "Blue", "blueBlot", "BLUE"},
    {clLightBlue, "Light blue", "lightBlueBlot", "SKY"},
    {clPaintBlack, "Black", "blackBlot", "BLACK"},
    {clWhite, "White", "whiteBlot", "WHITE"},
}};
