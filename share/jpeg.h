#pragma once
// JPEG encoding through libjpeg.
#include <QByteArray>
#include <QImage>

// The picture as a baseline JPEG file of three 8-bit components at the given quality
// (1-100, libjpeg's scale with its baseline tables). Throws std::runtime_error with
// libjpeg's message when encoding fails.
QByteArray EncodeJpeg(const QImage& picture, int quality);
