#pragma once
// The spray can's burst: single pixels scattered in a disc around the pointer.
#include "base/tcolor.h"
#include "paint/pagebitmap.h"

#include <QRect>

constexpr int kSprayDots = 101;

// Sets kSprayDots pixels of the page to c, each at a random angle and a random distance
// 0 .. radius from (x, y): the distance, not the area, is uniform, so dots crowd the
// centre. Dots off the page are skipped. Returns the square the burst can reach, clipped
// to the page.
QRect sprayBurst(PageBitmapCanvas& page, int x, int y, int radius, TColor c);
