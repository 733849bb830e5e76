#pragma once
// The name proposed for a saved picture.
#include <QString>

// Counts the "*.bmp" files in folder (any bitmap, not only earlier saves) as n and returns
// the full path of the first of baby(n+1).bmp, baby(n+2).bmp, ... that does not exist.
// A gap in an earlier numbering is therefore never refilled.
QString NextSaveName(const QString& folder);
// The same numbering for a PNG: the pictures of both kinds are counted, and a number either
// kind already has is passed over, so baby3.png never sits beside an unrelated baby3.bmp.
QString NextPngSaveName(const QString& folder);
