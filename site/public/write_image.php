<?php
// The program announces a picture before uploading it: its file name, the child's name
// ("rebenok") and age ("vozrast").
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$file = valid_file_name($_GET['filename'] ?? null);
$child = valid_text($_GET['rebenok'] ?? null, MAX_NAME_CHARS);
$age = valid_text($_GET['vozrast'] ?? null, MAX_AGE_CHARS);
if ($file === null) {
    fail(400, 'Bad file name.');
}
if ($child === null) {
    fail(400, 'Bad name.');
}
if ($age === null) {
    fail(400, 'Bad age.');
}

$pdo = db();
$now = time();
$pdo->prepare('DELETE FROM pictures WHERE uploaded_at IS NULL AND announced_at < ?')
    ->execute([$now - PENDING_HOURS * 3600]);
try {
    $pdo->prepare('INSERT INTO pictures (filename, child, age, announced_at) VALUES (?, ?, ?, ?)')
        ->execute([$file, $child, $age, $now]);
} catch (PDOException $e) {
    if ($e->getCode() === '23000') { // the name is taken
        fail(409, 'This picture was announced already.');
    }
    throw $e;
}
header('Content-Type: text/plain; charset=utf-8');
echo "OK\n";
