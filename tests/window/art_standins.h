#pragma once
// Plain stand-ins for cursor and swatch art that has not landed yet, registered under the
// real resource names. Real art always wins: only absent names are provided.
#include <QImage>
#include <QRgb>
#include <QStringList>

inline constexpr QRgb kKeyPink = 0xFFF84870; // RGB(248, 72, 112)
inline constexpr QRgb kKeyGrey = 0xFFD8D8D8; // RGB(216, 216, 216)

// Registers the stand-ins (once per process) and returns the names that are stand-ins.
QStringList provideStandInArt();

// The resource as RGB32, or a null image.
QImage resourceImage(const QString& path);
