<?php
// Uploads are checked segment by segment before anything decodes them, then decoded whole
// by libjpeg-turbo. What is stored is the upload's own picture data without its metadata or
// anything after its end: only what the decoder read as a JPEG is ever stored or served.
declare(strict_types=1);

if (!class_exists('JpegDecoder', false)) { // PHP-FPM has it preloaded
    require __DIR__ . '/jpegdecoder.php';
}

const THUMB_QUALITY = 75;
// The program writes one baseline scan. A sequential JPEG codes each of its (at most four)
// components once, so more scans than that are no picture, only work for the decoder.
const MAX_SCANS = 4;

// The upload's JPEG rebuilt from the segments a baseline decoder needs (tables, frame,
// scans), or null when it holds anything else: a progressive, arithmetic, lossless or
// hierarchical frame, too many scans, a segment running past the end, no end marker.
// Metadata (APPn, comments) and bytes after the end are dropped.
function clean_jpeg(string $bytes): ?string
{
    $n = strlen($bytes);
    if ($n < 4 || substr($bytes, 0, 2) !== "\xFF\xD8") {
        return null;
    }
    $out = ["\xFF\xD8"];
    $pos = 2;
    $scans = 0;
    $frame = false;
    while (true) {
        if ($pos >= $n || $bytes[$pos] !== "\xFF") {
            return null;
        }
        // Fill bytes (0xFF) may come before any marker.
        while ($pos < $n && $bytes[$pos] === "\xFF") {
            $pos++;
        }
        if ($pos >= $n) {
            return null;
        }
        $marker = ord($bytes[$pos]);
        $pos++;
        if ($marker === 0xD9) { // the end: nothing after it is kept
            $out[] = "\xFF\xD9";
            return $frame && $scans > 0 ? implode('', $out) : null;
        }
        if ($pos + 2 > $n) {
            return null;
        }
        $length = unpack('n', $bytes, $pos)[1];
        if ($length < 2 || $pos + $length > $n) {
            return null;
        }
        $segment = "\xFF" . chr($marker) . substr($bytes, $pos, $length);
        $pos += $length;
        if (($marker >= 0xE0 && $marker <= 0xEF) || $marker === 0xFE) {
            continue; // metadata
        }
        if ($marker === 0xC0 || $marker === 0xC1) { // baseline or extended sequential, Huffman
            // Grey or colour: four components (CMYK) would need the Adobe segment dropped here.
            if ($frame || $length < 8 || !in_array(ord($segment[9]), [1, 3], true)) {
                return null;
            }
            $frame = true;
        } elseif ($marker === 0xDA) {
            if (!$frame || ++$scans > MAX_SCANS) {
                return null;
            }
            // The coded data runs to the next marker other than a stuffed 0xFF00 or a restart.
            if (preg_match('/\xFF+[^\x00\xD0-\xD7\xFF]/', $bytes, $m, PREG_OFFSET_CAPTURE, $pos) !== 1) {
                return null;
            }
            $end = $m[0][1] + strlen($m[0][0]) - 2; // the marker's own 0xFF
            $segment .= substr($bytes, $pos, $end - $pos);
            $pos = $end;
        } elseif ($marker !== 0xC4 && $marker !== 0xDB && $marker !== 0xDD) {
            return null; // anything but Huffman and quantisation tables and restart intervals
        }
        $out[] = $segment;
    }
}

// GD's encoding without the comment GD signs every file with.
function encode_jpeg(GdImage $picture, int $quality): string
{
    ob_start();
    $ok = imagejpeg($picture, null, $quality);
    $bytes = (string)ob_get_clean();
    $clean = $ok ? clean_jpeg($bytes) : null;
    if ($clean === null) {
        throw new RuntimeException('GD could not encode a JPEG');
    }
    return $clean;
}
