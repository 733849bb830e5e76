#pragma once
// The 256-color halftone palette saved pictures are reduced to, and the 8-bit BMP writer.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// Entries 0-15: the sixteen basic colors; 16-231: the 6 x 6 x 6 color cube (levels 0, 51,
// ..., 255, blue fastest); 232-255: a grey ramp 8, 18, ..., 238 between the cube's greys.
const QList<QRgb>& HalftonePalette();

// Index of the palette entry nearest to c (squared RGB distance; the lowest index on a tie).
int NearestHalftone(QRgb c);

// The picture as Format_Indexed8 on the halftone palette, every pixel its nearest color,
// without dithering.
QImage ToHalftone(const QImage& picture);

// The bytes of an uncompressed 8-bit BMP file (BITMAPINFOHEADER, 256-entry palette, rows
// bottom-up, each padded to four bytes). indexed must be Format_Indexed8.
QByteArray EncodeBmp8(const QImage& indexed);

// Writes EncodeBmp8(indexed) to path. Throws std::runtime_error naming the file when it
// cannot be created or written.
void WriteBmp8(const QString& path, const QImage& indexed);
