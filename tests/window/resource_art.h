#pragma once
// The program's own pictures as the tests read them. Nothing stands in for a missing one:
// a resource the program names but does not carry fails the test that reads it.
#include "paint/cursorkeys.h"

#include <QImage>
#include <QString>

// The resource as RGB32, or a null image when it is missing.
inline QImage resourceImage(const QString& path) {
    QImage img(path);
    return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
}
