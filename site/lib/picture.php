<?php
// Pictures are decoded and encoded again, so that only what GD reads as a JPEG is ever
// stored or served: anything appended to it, its metadata and any other file's bytes are gone.
declare(strict_types=1);

const PICTURE_QUALITY = 80;
const THUMB_QUALITY = 75;

// The decoded picture, or null when the file is no JPEG GD can read whole, or too big.
function decode_jpeg(string $path): ?GdImage
{
    $info = @getimagesize($path); // reads the header only, before any pixel is decoded
    if ($info === false || $info[2] !== IMAGETYPE_JPEG || $info[0] < 1 || $info[1] < 1
        || $info[0] > MAX_PICTURE_SIDE || $info[1] > MAX_PICTURE_SIDE
        || $info[0] * $info[1] > MAX_PICTURE_PIXELS) {
        return null;
    }
    // A truncated or damaged JPEG is only a warning to GD, which fills the rest with grey:
    // refuse it too.
    $old = ini_set('gd.jpeg_ignore_warning', '0');
    error_clear_last();
    $picture = @imagecreatefromjpeg($path);
    ini_set('gd.jpeg_ignore_warning', (string)$old);
    if ($picture === false || error_get_last() !== null
        || imagesx($picture) !== $info[0] || imagesy($picture) !== $info[1]) {
        return null;
    }
    return $picture;
}

function encode_jpeg(GdImage $picture, int $quality): string
{
    ob_start();
    $ok = imagejpeg($picture, null, $quality);
    $bytes = (string)ob_get_clean();
    if (!$ok || $bytes === '') {
        throw new RuntimeException('GD could not encode a JPEG');
    }
    return $bytes;
}

// At most THUMB_WIDTH x THUMB_HEIGHT, the proportions kept. Averaging every pixel of a big
// picture costs several times its decoding, so it is first halved by keeping every other
// pixel (an outline two pixels wide or more always keeps a pixel), then averaged.
function thumbnail_of(GdImage $picture): GdImage
{
    $w = imagesx($picture);
    $h = imagesy($picture);
    $scale = min(1.0, THUMB_WIDTH / $w, THUMB_HEIGHT / $h);
    $tw = max(1, (int)round($w * $scale));
    $th = max(1, (int)round($h * $scale));
    $source = $picture;
    if ($w >= 4 * $tw && $h >= 4 * $th) {
        $hw = intdiv($w + 1, 2);
        $hh = intdiv($h + 1, 2);
        $source = imagecreatetruecolor($hw, $hh);
        imagecopyresized($source, $picture, 0, 0, 0, 0, $hw, $hh, 2 * $hw, 2 * $hh);
        $w = $hw;
        $h = $hh;
    }
    $thumb = imagecreatetruecolor($tw, $th);
    imagecopyresampled($thumb, $source, 0, 0, 0, 0, $tw, $th, $w, $h);
    return $thumb;
}
