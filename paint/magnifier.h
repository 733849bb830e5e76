#pragma once
// The magnifier's picture: the square around the pointer, about twice enlarged.
#include <QImage>
#include <QPoint>

constexpr int kMagnifierSize = 200;  // the picture, with its black frame
constexpr int kMagnifierSource = 99; // the page square it shows

// The page square from (at.x - 49, at.y - 49), 99 x 99 pixels, scaled by picking pixels into
// a 200 x 200 picture framed by a black line. Parts of the square off the page are white.
QImage magnifierView(const QImage& page, QPoint at);
