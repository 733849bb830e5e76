<?php
// The upload of an announced picture: one multipart part, field "filename", a JPEG. The
// part's file name (its last path element) must be the announced name; the picture is
// stored under that name in the data folder and nowhere else.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('POST');
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
$tmp = $part['tmp_name'];
$size = filesize($tmp);
if ($size === false || $size >= MAX_UPLOAD_BYTES) {
    fail(413, 'The picture is too large.');
}
$file = valid_file_name($part['name']);
if ($file === null) {
    fail(400, 'Bad file name.');
}

// A real JPEG: the start-of-image marker and a header PHP can read as one.
$head = (string)file_get_contents($tmp, false, null, 0, 3);
$info = @getimagesize($tmp);
if ($head !== "\xFF\xD8\xFF" || $info === false || $info[2] !== IMAGETYPE_JPEG
    || $info[0] < 1 || $info[1] < 1 || $info[0] > MAX_PICTURE_SIDE || $info[1] > MAX_PICTURE_SIDE) {
    fail(415, 'Only JPEG pictures are taken.');
}

$pdo = db();
$pdo->exec('BEGIN IMMEDIATE');
$row = $pdo->prepare('SELECT id, uploaded_at FROM pictures WHERE filename = ?');
$row->execute([$file]);
$picture = $row->fetch();
if ($picture === false) {
    $pdo->exec('ROLLBACK');
    fail(403, 'This picture was not announced.');
}
if ($picture['uploaded_at'] !== null) {
    $pdo->exec('ROLLBACK');
    fail(409, 'This picture is in the gallery already.');
}
$target = pictures_dir() . '/' . $file;
if (file_exists($target) || !move_uploaded_file($tmp, $target)) {
    $pdo->exec('ROLLBACK');
    fail(500, 'The picture could not be stored.');
}
chmod($target, 0640);
$pdo->prepare('UPDATE pictures SET uploaded_at = ? WHERE id = ?')->execute([time(), $picture['id']]);
$pdo->exec('COMMIT');
header('Content-Type: text/plain; charset=utf-8');
echo "OK\n";
