#pragma once
// Colors as the program stores them: 0x00BBGGRR, red in the low byte.
#include <QColor>
#include <QRgb>
#include <cstdint>

using TColor = std::int32_t;

// Stands for the multicolor swatch; never painted.
constexpr TColor MulticolorMarker = 0x12345678;

constexpr TColor clRed = 0x000000FF;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clOrange = 0x000080FF;
constexpr TColor clGreen = 0x00008000;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clLightBlue = 0x00FFFF00;
constexpr TColor clPaintBlack = 0x001A1A1A; // palette black: never an outline
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clBlack = 0x00000000;

constexpr QRgb toQRgb(TColor c) {
    const auto u = static_cast<std::uint32_t>(c);
    return 0xFF000000u | ((u & 0xFFu) << 16) | (u & 0xFF00u) | ((u >> 16) & 0xFFu);
}

constexpr TColor fromQRgb(QRgb q) {
    return static_cast<TColor>(((q >> 16) & 0xFFu) | (q & 0xFF00u) | ((q & 0xFFu) << 16));
}

inline QColor toQColor(TColor c) {
    return QColor::fromRgb(toQRgb(c));
}
