#pragma once
// Turning a bitmap by an angle in degrees (positive = clockwise on screen, y down).
// 90, 270 and 180 are exact pixel permutations; every other angle (including -90, -180
// and -270) goes through a nearest-neighbour rotation that grows the bitmap to the turned
// corners' bounding box and paints what no source pixel covers with the background.
#include "base/tcolor.h"

#include <QImage>

// The bitmap is turned in place and comes back in Format_RGB32; its size may change.
// A non-finite angle throws std::invalid_argument and leaves the bitmap alone.
void RotateBitmap(QImage& bitmap, TColor background, double angle);

// The general path on its own: snapshot is the picture on entry, bitmap receives the result.
void RotateAnyAngle(QImage& bitmap, const QImage& snapshot, TColor background, double angle);
