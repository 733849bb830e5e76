#pragma once
// Names and addresses of a picture sent to the gallery site.
#include <QByteArray>
#include <QString>

// The characters of an upload name, in the order the draw indexes them.
inline constexpr char kUploadAlphabet[] =
    "ABCDEFGHIJKLMabcdefghijklm0123456789NOPQRSTUVWXYZnopqrstuvwxyz";

// length distinct characters of the alphabet drawn with rng::Random (one less than the
// alphabet's size when more are asked for than it has). The caller seeds the generator.
QString RandomFileName(int length);

// The announce request: base + "/write_image.php?filename=..&rebenok=..&vozrast=..".
// Name and age go as percent-encoded UTF-8, so a blank, "&" or "#" in them stays part of
// the value instead of ending it.
QByteArray AnnounceUrl(const QString& base, const QString& fileName, const QString& childName,
                       const QString& age);

// The upload, gallery and home addresses.
QByteArray UploadUrl(const QString& base);
QString GalleryUrl(const QString& base);
