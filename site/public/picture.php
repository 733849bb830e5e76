<?php
// One stored picture, by its file name.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$file = valid_file_name($_GET['f'] ?? null);
if ($file === null) {
    fail(404, 'No such picture.');
}
$row = db()->prepare('SELECT 1 FROM pictures WHERE filename = ? AND uploaded_at IS NOT NULL');
$row->execute([$file]);
$path = pictures_dir() . '/' . $file;
if ($row->fetch() === false || !is_file($path)) {
    fail(404, 'No such picture.');
}
header('Content-Type: image/jpeg');
header('X-Content-Type-Options: nosniff');
header("Content-Security-Policy: default-src 'none'");
header('Cache-Control: public, max-age=86400');
header('Content-Length: ' . filesize($path));
readfile($path);
