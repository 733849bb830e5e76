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

// Line art: a page's lines are black ink on a base colour (white paper, or the paint of a
// filled part). Antialiasing and JPEG leave mixes of the two: greys, darker tints.

constexpr int kNoMix = -1000;
constexpr int kInkLine = 128;   // ink from which a pixel is part of a line
constexpr int kPaperNoise = 32; // JPEG noise on paper stays under this much ink
constexpr int kGreyTol = 24;    // how far a grey of the page strays from neutral

// How much ink p holds as base mixed with black: 0 (the base) to 255 (black), negative when
// lighter than the base; kNoMix when p is no such mix to within tol on every channel.
constexpr int inkOver(QRgb p, QRgb base, int tol) {
    const int pr = qRed(p), pg = qGreen(p), pb = qBlue(p);
    const int br = qRed(base), bg = qGreen(base), bb = qBlue(base);
    const int n = br * br + bg * bg + bb * bb;
    if (n == 0)
        return (p & 0xFFFFFFu) == 0 ? 255 : kNoMix;
    const int s = pr * br + pg * bg + pb * bb; // p = (s / n) * base at best
    const int t = tol * n;
    auto off = [&](int pc, int bc) {
        const int d = pc * n - bc * s;
        return d > t || d < -t;
    };
    if (off(pr, br) || off(pg, bg) || off(pb, bb))
        return kNoMix;
    return 255 - (255 * s + n / 2) / n;
}

// The color of a page's lines: at least half ink on white paper, antialiased greys
// included. The palette's black is such a color too; isLine() (paint/floodfill.h) tells it
// from the lines.
constexpr bool isInk(QRgb p) {
    p &= 0xFFFFFFu;
    if (qRed(p) >= kInkLine + kGreyTol || qGreen(p) >= kInkLine + kGreyTol ||
        qBlue(p) >= kInkLine + kGreyTol)
        return false;
    return inkOver(p, 0xFFFFFFu, kGreyTol) >= kInkLine;
}
