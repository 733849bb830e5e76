#pragma once

// Qt's AVX2 memfill (QImage::fill, solid QPainter fills) returns without VZEROUPPER. Until
// something clears the upper halves of the vector registers, every SSE instruction after it
// waits on them: a fill of a 4K page measured 2.7 times slower. Pixel loops that follow Qt's
// drawing call this first; it costs nothing where the processor has no AVX.
void clearUpperVectorState();
