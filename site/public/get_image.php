<?php
// The upload of an announced picture: one multipart part, field "filename", a JPEG. The
// part's file name (its last path element) must be the announced name. What is stored is
// the picture without its metadata, once it has been decoded whole, with its thumbnail, under
// that name in the data folder and nowhere else.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';
require __DIR__ . '/../lib/picture.php';

require_method('POST');
// CPU time, well inside the web server's wait for an answer: no upload holds a worker long.
set_time_limit(UPLOAD_CPU_SECONDS);
$others = sweep_tmp();
$part = $_FILES['filename'] ?? null;
if (!is_array($part) || !is_string($part['name'] ?? null) || !is_int($part['error'] ?? null)) {
    // PHP drops a body over post_max_size altogether.
    $length = (int)($_SERVER['CONTENT_LENGTH'] ?? 0);
    fail($length >= MAX_UPLOAD_BYTES ? 413 : 400, 'Expected one file in the field "filename".');
}

$log = getenv('PICTARO_GALLERY_DEBUG_LOG');
if ($log !== false && $log !== '') {
    // For tests: what the part looked like when it arrived.
    file_put_contents($log, json_encode([
        'name' => $part['name'],
        'full_path' => $part['full_path'] ?? null,
        'type' => $part['type'] ?? null,
        'size' => $part['size'] ?? null,
        'user_agent' => $_SERVER['HTTP_USER_AGENT'] ?? null,
        'accept_language' => $_SERVER['HTTP_ACCEPT_LANGUAGE'] ?? null,
    ], JSON_UNESCAPED_SLASHES | JSON_UNESCAPED_UNICODE) . "\n", FILE_APPEND | LOCK_EX);
}

if ($part['error'] === UPLOAD_ERR_INI_SIZE || $part['error'] === UPLOAD_ERR_FORM_SIZE) {
    fail(413, 'The picture is too large.');
}
if ($part['error'] !== UPLOAD_ERR_OK || !is_uploaded_file($part['tmp_name'])) {
    fail(400, 'The upload did not arrive whole.');
}
$size = filesize($part['tmp_name']);
if ($size === false || $size >= MAX_UPLOAD_BYTES) {
    fail(413, 'The picture is too large.');
}
$file = valid_file_name($part['name']);
if ($file === null) {
    fail(400, 'Bad file name.');
}
$bytes = (string)file_get_contents($part['tmp_name']);
if (!str_starts_with($bytes, "\xFF\xD8\xFF")) {
    fail(415, 'Only JPEG pictures are taken.');
}
// Decoding costs far more than a look at the row: none is spent on pictures never
// announced, and an announcement buys a few tries only.
$pdo = db();
$tried = in_transaction($pdo, fn() => run($pdo, 'UPDATE pictures SET tries = tries + 1
    WHERE filename = ? AND uploaded_at IS NULL AND tries < ?', [$file, UPLOAD_TRIES])->rowCount());
if ($tried !== 1) {
    $known = run($pdo, 'SELECT uploaded_at FROM pictures WHERE filename = ?', [$file])->fetch();
    if ($known === false) {
        fail(403, 'This picture was not announced.');
    }
    if ($known['uploaded_at'] !== null) {
        fail(409, 'This picture is in the gallery already.');
    }
    fail(429, 'This picture was tried too many times; announce it again under another name.');
}
$picture = clean_jpeg($bytes);
unset($bytes);
$decoded = $picture === null ? null
    : JpegDecoder::thumbnail($picture, THUMB_WIDTH, THUMB_HEIGHT, MAX_PICTURE_SIDE, MAX_PICTURE_PIXELS);
if ($decoded === null) {
    fail(415, 'Only baseline JPEG pictures up to ' . MAX_PICTURE_PIXELS / 1000000 . ' million pixels are taken.');
}
[$width, $height, $small] = $decoded;
$sides = [$width, $height];
$thumb = encode_jpeg($small, THUMB_QUALITY);
unset($decoded, $small);

$status = store_picture($file, $part['tmp_name'], $picture, $thumb, $sides, max(0, $others - $size));
match ($status) {
    200 => null,
    403 => fail(403, 'This picture was not announced.'),
    409 => fail(409, 'This picture is in the gallery already.'),
    507 => fail(507, 'The gallery has no room for the picture.'),
    default => fail(500, 'The picture could not be stored.'),
};
header('Content-Type: text/plain; charset=utf-8');
echo "OK\n";

// Both files are written beside their places first; they are renamed into place while the
// row is locked and removed again if the row's update or the commit fails, so a retry
// finds nothing in its way and no file is ever kept without its row. The picture is
// written over the upload's own file, which is then moved, so an upload creates one file
// besides its thumbnail and deletes none: on ext4 without a journal every new file walks
// past the files deleted in the last half minute. Returns the status.
function store_picture(string $file, string $upload, string $picture, string $thumb, array $sides, int $pending): int
{
    $pdo = db();
    $tmp = data_subdir('tmp');
    $bytes = strlen($picture) + strlen($thumb);
    $state = moderation() === 'hold' ? 'held' : 'shown';
    $free = @disk_free_space($tmp);
    if ($free === false || $free < $bytes + FREE_DISK_RESERVE) {
        return 507;
    }
    $stage = [
        pictures_dir() . '/' . $file => [$upload, $picture],
        thumbs_dir() . '/' . $file => [$tmp . '/' . bin2hex(random_bytes(8)) . '.jpg', $thumb],
    ];
    $placed = [];
    try {
        foreach ($stage as [$path, $content]) {
            if (@file_put_contents($path, $content) !== strlen($content)) {
                return 507;
            }
            chmod($path, 0600);
        }
        return in_transaction($pdo, function () use ($pdo, $file, $upload, $bytes, $stage, $state, $sides, $pending, &$placed): int {
            $found = run($pdo, 'SELECT id, uploaded_at FROM pictures WHERE filename = ?'
                . (is_sqlite($pdo) ? '' : ' FOR UPDATE'), [$file])->fetch();
            if ($found === false) {
                return 403;
            }
            if ($found['uploaded_at'] !== null) {
                return 409;
            }
            // Uploads under way elsewhere count too, up to what they may still store.
            $room = run($pdo, 'UPDATE storage SET bytes = bytes + ? WHERE id = 1 AND bytes + ? <= ?',
                [$bytes, $bytes + $pending, storage_cap()]);
            if ($room->rowCount() !== 1) {
                return 507;
            }
            foreach ($stage as $target => [$path]) {
                // PHP forgets a moved upload, so it does not delete it again at the end.
                if (!($path === $upload ? move_uploaded_file($path, $target) : rename($path, $target))) {
                    throw new RuntimeException("could not move the picture to $target");
                }
                $placed[] = $target;
            }
            run($pdo, 'UPDATE pictures SET uploaded_at = ?, bytes = ?, state = ?, width = ?, height = ? WHERE id = ?',
                [time(), $bytes, $state, $sides[0], $sides[1], (int)$found['id']]);
            return 200;
        });
    } catch (Throwable $e) {
        foreach ($placed as $target) {
            @unlink($target);
        }
        error_log('upload of ' . $file . ' failed: ' . strtr($e->getMessage(), "\n", ' '));
        return 500;
    } finally {
        foreach ($stage as [$path]) {
            if ($path !== $upload) { // PHP deletes an upload left unmoved
                @unlink($path);
            }
        }
    }
}
