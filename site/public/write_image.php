<?php
// The program announces a picture before uploading it: its file name, the child's name
// ("rebenok") and age ("vozrast").
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

// A GET records the announcement, so HEAD may not stand in for it.
if (($_SERVER['REQUEST_METHOD'] ?? '') !== 'GET') {
    header('Allow: GET');
    fail(405, 'Method not allowed.');
}
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
$client = client_key();
try {
    $status = in_transaction($pdo, function () use ($pdo, $file, $child, $age, $now, $client): int {
        // A bounded batch of stale announcements goes, found through their index, so an
        // announce costs the same however many are waiting; so do files an upload that died
        // before its commit may have left under their names.
        $gone = run($pdo, 'DELETE FROM pictures WHERE uploaded_at IS NULL AND id IN (SELECT id FROM pictures
                           WHERE uploaded_at IS NULL AND announced_at < ? LIMIT ?) RETURNING filename',
            [$now - PENDING_HOURS * 3600, PURGE_BATCH])->fetchAll(PDO::FETCH_COLUMN);
        foreach (array_filter(array_map('valid_file_name', $gone)) as $name) {
            @unlink(pictures_dir() . '/' . $name);
            @unlink(thumbs_dir() . '/' . $name);
        }
        $waiting = run($pdo, 'SELECT COUNT(*) FROM (SELECT 1 FROM pictures
                              WHERE uploaded_at IS NULL AND client = ? LIMIT ?) w', [$client, PENDING_PER_CLIENT]);
        if ((int)$waiting->fetchColumn() >= PENDING_PER_CLIENT) {
            return 429;
        }
        run($pdo, 'INSERT INTO pictures (filename, child, age, client, announced_at) VALUES (?, ?, ?, ?, ?)',
            [$file, $child, $age, $client, $now]);
        return 200;
    });
} catch (PDOException $e) {
    if (in_array($e->getCode(), ['23000', '23505'], true)) { // the name is taken
        fail(409, 'This picture was announced already.');
    }
    throw $e;
}
if ($status === 429) {
    header('Retry-After: 3600');
    fail(429, 'Too many pictures are waiting for their upload from this address.');
}
header('Content-Type: text/plain; charset=utf-8');
echo "OK\n";
