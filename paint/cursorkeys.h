#pragma once
// Key colours in the cursor pictures: areas painted in them take the chosen colour. The art
// generators in tools/art read these two lines, so keep their form.
#include <QRgb>

inline constexpr QRgb kKeyPink = qRgb(248, 72, 112);
inline constexpr QRgb kKeyGrey = qRgb(216, 216, 216);
