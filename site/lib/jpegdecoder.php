<?php
// libjpeg-turbo through its TurboJPEG interface. PHP-FPM preloads this file and the
// decoder's declarations at its start (site/serve.sh): only preloaded code may call into C
// there, so no request can declare or reach any other foreign function. A class, because
// preloading keeps classes (and their constants) but not a file's own constants.
declare(strict_types=1);

final class JpegDecoder
{
    private const PIXELS_RGB = 0;
    private const STOP_ON_WARNING = 8192; // a damaged or truncated picture is an error, not grey
    private const LIMIT_SCANS = 32768;

    // The picture's sides and its thumbnail (at most $maxWidth x $maxHeight, its proportions
    // kept) as [width, height, GdImage], or null when the decoder cannot read it whole or it
    // is bigger than $maxSide a side or $maxPixels. Every coded block of the picture is
    // decoded, which is what proves it whole, but the decoder's own scaling computes only as
    // many pixels as the thumbnail needs: a quarter of a 1024 x 640 picture's sides.
    public static function thumbnail(string $jpeg, int $maxWidth, int $maxHeight, int $maxSide, int $maxPixels): ?array
    {
        $tj = self::library();
        $handle = $tj->tjInitDecompress();
        if ($handle === null) {
            throw new RuntimeException('the JPEG decoder could not start');
        }
        try {
            [$width, $height, $subsampling, $colours] = [$tj->new('int'), $tj->new('int'), $tj->new('int'), $tj->new('int')];
            if ($tj->tjDecompressHeader3($handle, $jpeg, strlen($jpeg), FFI::addr($width), FFI::addr($height),
                FFI::addr($subsampling), FFI::addr($colours)) !== 0) {
                return null;
            }
            [$w, $h] = [$width->cdata, $height->cdata];
            if ($w < 1 || $h < 1 || $w > $maxSide || $h > $maxSide || $w * $h > $maxPixels) {
                return null;
            }
            $scale = min(1.0, $maxWidth / $w, $maxHeight / $h);
            $tw = max(1, (int)round($w * $scale));
            $th = max(1, (int)round($h * $scale));
            // The smallest of the decoder's scales (eighths) that still covers the thumbnail.
            $eighths = 1;
            while ($eighths < 8 && (intdiv($w * $eighths + 7, 8) < $tw || intdiv($h * $eighths + 7, 8) < $th)) {
                $eighths++;
            }
            $sw = intdiv($w * $eighths + 7, 8);
            $sh = intdiv($h * $eighths + 7, 8);
            // Decoded straight into the rows of an uncompressed PNG, each after its filter byte:
            // GD reads that five times faster than a BMP.
            $pitch = 1 + 3 * $sw;
            $rows = $tj->new('unsigned char[' . $pitch * $sh . ']');
            $first = $tj->cast('unsigned char *', FFI::addr($rows)) + 1;
            if ($tj->tjDecompress2($handle, $jpeg, strlen($jpeg), $first, $sw, $pitch, $sh, self::PIXELS_RGB,
                self::STOP_ON_WARNING | self::LIMIT_SCANS) !== 0) {
                return null;
            }
            $png = "\x89PNG\r\n\x1A\n" . self::chunk('IHDR', pack('NNC5', $sw, $sh, 8, 2, 0, 0, 0))
                . self::chunk('IDAT', (string)gzcompress(FFI::string($rows, $pitch * $sh), 0)) . self::chunk('IEND', '');
        } finally {
            $tj->tjDestroy($handle);
        }
        $small = imagecreatefromstring($png);
        if ($small === false) {
            throw new RuntimeException('GD could not read the decoded picture');
        }
        if ($sw === $tw && $sh === $th) {
            return [$w, $h, $small];
        }
        // GD's two-pass box filter averages every pixel, so no outline is lost, however thin.
        $thumb = imagescale($small, $tw, $th, IMG_BOX);
        if ($thumb === false) {
            throw new RuntimeException('GD could not scale the picture');
        }
        return [$w, $h, $thumb];
    }

    private static function library(): FFI
    {
        static $tj = null;
        if ($tj === null) {
            try {
                $tj = FFI::scope('pictaro_turbojpeg'); // PHP-FPM: declared at its start
            } catch (FFI\Exception) {
                $tj = @FFI::load(__DIR__ . '/turbojpeg.h') // the command line (migrate.php)
                    ?? throw new RuntimeException('libturbojpeg.so.0 (package libturbojpeg0) cannot be loaded');
            }
        }
        return $tj;
    }

    private static function chunk(string $type, string $data): string
    {
        return pack('N', strlen($data)) . $type . $data . pack('N', crc32($type . $data));
    }
}
