#pragma once
// Drawing a page onto the drawing area without breaking its outlines.
#include <QImage>
#include <QRect>

// Copies the whole of src into dstRect of dst by picking source pixels (no blending), like
// stretchPick. Where the page is reduced, a destination pixel is black when any source pixel
// it covers is black, so a thin closed outline stays closed and a fill cannot leak through
// it; where it is enlarged, pixels are repeated as they are. Parts of dstRect outside dst
// are clipped.
void stretchKeepingInk(const QImage& src, QImage& dst, const QRect& dstRect);
