<?php
// One shown picture, or its thumbnail ("thumb=1"), by its file name.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$file = valid_file_name($_GET['f'] ?? null);
if ($file === null) {
    fail(404, 'No such picture.');
}
$row = run(db(), "SELECT 1 FROM pictures WHERE filename = ? AND uploaded_at IS NOT NULL AND state = 'shown'", [$file]);
if ($row->fetch() === false) {
    fail(404, 'No such picture.');
}
// Kept a while, not for long: a picture a moderator hides should soon be gone everywhere.
send_jpeg((($_GET['thumb'] ?? '') === '1' ? thumbs_dir() : pictures_dir()) . '/' . $file,
    'public, max-age=600');
