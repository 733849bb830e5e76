#pragma once
// The palette's eight paint colours, in the order the statistics count them.
#include "base/tcolor.h"

#include <array>

struct PaletteColor {
    TColor color;         // CurrentColor once it is picked
    const char* statName; // as the statistics name it
    const char* control;  // its swatch on the Toddler tab
    const char* picture;  // :/swatches/<picture>1.png, and <picture>2.png under the pointer
};

// Black is the palette's 0x1A1A1A, not the outline black.
inline constexpr std::array<PaletteColor, 8> kPaletteColors = {{
    {clRed, "Red", "Image1_Color", "RED"},
    {clYellow, "Yellow", "Image2_Color", "YELLOW"},
    {clOrange, "Orange", "Image3_Color", "ORANGE"},
    {clGreen, "Green", "Image4_Color", "GREEN"},
    {clBlue, "Blue", "Image5_Color", "BLUE"},
    {clLightBlue, "Light blue", "Image6_Color", "SKY"},
    {clPaintBlack, "Black", "Image8_Color", "BLACK"},
    {clWhite, "White", "Image7_Color", "WHITE"},
}};
