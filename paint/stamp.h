#pragma once
// Stamps: a little picture, turned by a random whole angle, dropped on the page.
#include "paint/pagebitmap.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

constexpr int kStampWidth = 116;
constexpr int kStampHeight = 103;
// Where the turned stamp's top-left corner goes, relative to the pointer.
constexpr QPoint kStampOffset(-20, -70);

// The stamp bitmap before turning: white, kStampWidth x kStampHeight, with the picture drawn
// where its alpha channel marks it (the picture's mask).
QImage composeStamp(const QImage& picture);

// Turns the composed stamp by angle degrees (white where the turn uncovers) and draws it
// with its top-left corner at pointer + kStampOffset, leaving out the color of the composed
// stamp's pixel (1, 1). Returns the changed area of the page.
QRect placeStamp(PageBitmapCanvas& page, const QImage& picture, int angle, QPoint pointer);

// The stamp tool's press: reseeds, picks a random picture of the set, reseeds again, takes a
// random whole angle 0..359 and places the stamp. An empty set draws nothing.
QRect dropRandomStamp(PageBitmapCanvas& page, const std::vector<QImage>& pictures, QPoint pointer);
