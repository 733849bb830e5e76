<?php
// One stored picture, or its thumbnail ("thumb=1"), by its file name.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$file = valid_file_name($_GET['f'] ?? null);
if ($file === null) {
    fail(404, 'No such picture.');
}
$row = run(db(), 'SELECT 1 FROM pictures WHERE filename = ? AND uploaded_at IS NOT NULL', [$file]);
$path = (($_GET['thumb'] ?? '') === '1' ? thumbs_dir() : pictures_dir()) . '/' . $file;
$size = @filesize($path);
if ($row->fetch() === false || $size === false) {
    fail(404, 'No such picture.');
}
header('Content-Type: image/jpeg');
header('X-Content-Type-Options: nosniff');
header("Content-Security-Policy: default-src 'none'");
header('Cache-Control: public, max-age=86400');
header('Content-Length: ' . $size);
if ($_SERVER['REQUEST_METHOD'] !== 'HEAD') {
    readfile($path);
}
