<?php
// Creates or updates the gallery's database and data folder; run once before serving
// (serve.sh does) and after every update of the site. Safe to run again at any time.
// Usage: php site/migrate.php   (PICTARO_GALLERY_DATA and PICTARO_GALLERY_DSN as for the site)
declare(strict_types=1);
require __DIR__ . '/lib/gallery.php';
require __DIR__ . '/lib/picture.php';

if (PHP_SAPI !== 'cli') {
    exit(1);
}
umask(077);
$data = data_dir();
foreach (['', '/pictures', '/thumbs', '/tmp'] as $sub) {
    if (!is_dir($data . $sub) && !mkdir($data . $sub, 0700, true)) {
        fwrite(STDERR, "Cannot create $data$sub\n");
        exit(1);
    }
    chmod($data . $sub, 0700); // children's names and pictures: the site's user only
}

$dsn = database_dsn();
$sqlite = str_starts_with($dsn, 'sqlite:');
$pdo = new PDO($dsn, null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
if ($sqlite) {
    $pdo->exec('PRAGMA busy_timeout = 10000');
    $pdo->exec('PRAGMA journal_mode = WAL'); // readers never wait for the writer
    foreach (glob($data . '/gallery.sqlite*') ?: [] as $file) {
        chmod($file, 0600);
    }
}
$id = $sqlite ? 'INTEGER PRIMARY KEY AUTOINCREMENT' : 'BIGSERIAL PRIMARY KEY';

// Each step runs once, in order; the number of steps done is kept in the database.
$steps = [
    // The first site made this table itself on every request.
    ["CREATE TABLE IF NOT EXISTS pictures (
        id $id,
        filename TEXT NOT NULL UNIQUE,
        child TEXT NOT NULL,
        age TEXT NOT NULL,
        announced_at BIGINT NOT NULL,
        uploaded_at BIGINT
    )"],
    ["ALTER TABLE pictures ADD COLUMN client TEXT NOT NULL DEFAULT ''",
     'ALTER TABLE pictures ADD COLUMN bytes BIGINT NOT NULL DEFAULT 0',
     'DROP INDEX IF EXISTS pictures_uploaded',
     'CREATE INDEX pictures_shown ON pictures (uploaded_at, id) WHERE uploaded_at IS NOT NULL',
     'CREATE INDEX pictures_pending ON pictures (announced_at) WHERE uploaded_at IS NULL',
     'CREATE INDEX pictures_pending_client ON pictures (client) WHERE uploaded_at IS NULL',
     'CREATE TABLE storage (id INTEGER PRIMARY KEY, bytes BIGINT NOT NULL)',
     'INSERT INTO storage (id, bytes) VALUES (1, 0)'],
    // Moderation: a picture is held, shown or hidden; pictures stored before stay shown.
    // Its size for the page, and the tries its announcement has had.
    ["ALTER TABLE pictures ADD COLUMN state TEXT NOT NULL DEFAULT 'shown'",
     'ALTER TABLE pictures ADD COLUMN width INTEGER NOT NULL DEFAULT 0',
     'ALTER TABLE pictures ADD COLUMN height INTEGER NOT NULL DEFAULT 0',
     'ALTER TABLE pictures ADD COLUMN tries INTEGER NOT NULL DEFAULT 0',
     'DROP INDEX pictures_shown',
     "CREATE INDEX pictures_shown ON pictures (uploaded_at, id) WHERE uploaded_at IS NOT NULL AND state = 'shown'",
     'CREATE INDEX pictures_state ON pictures (state, uploaded_at, id) WHERE uploaded_at IS NOT NULL',
     "CREATE INDEX pictures_held_client ON pictures (client) WHERE uploaded_at IS NOT NULL AND state = 'held'"],
];

$pdo->exec('CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)');
$done = $pdo->query('SELECT MAX(version) FROM schema_version')->fetchColumn();
$done = $done === null || $done === false ? 0 : (int)$done;
foreach ($steps as $n => $statements) {
    if ($n < $done) {
        continue;
    }
    $pdo->beginTransaction();
    foreach ($statements as $sql) {
        $pdo->exec($sql);
    }
    $pdo->prepare('INSERT INTO schema_version (version) VALUES (?)')->execute([$n + 1]);
    $pdo->commit();
    echo 'schema step ', $n + 1, " done\n";
}

// Pictures stored before thumbnails existed get theirs, and their size is counted; those
// stored before their sides were kept get them.
$rows = $pdo->query("SELECT id, filename, bytes FROM pictures WHERE uploaded_at IS NOT NULL AND (bytes = 0 OR width = 0)")->fetchAll();
foreach ($rows as $row) {
    $file = valid_file_name($row['filename']);
    $path = $data . '/pictures/' . $file;
    if ($file === null || !is_file($path)) {
        continue;
    }
    $sides = @getimagesize($path) ?: [0, 0];
    run($pdo, 'UPDATE pictures SET width = ?, height = ? WHERE id = ?', [$sides[0], $sides[1], (int)$row['id']]);
    if ((int)$row['bytes'] !== 0) {
        continue;
    }
    $decoded = JpegDecoder::thumbnail((string)file_get_contents($path), THUMB_WIDTH, THUMB_HEIGHT,
        MAX_PICTURE_SIDE, MAX_PICTURE_PIXELS);
    $thumb = $data . '/thumbs/' . $file;
    if ($decoded !== null && !is_file($thumb)) {
        file_put_contents($thumb, encode_jpeg($decoded[2], THUMB_QUALITY));
    }
    chmod($path, 0600);
    $bytes = filesize($path) + (is_file($thumb) ? filesize($thumb) : 0);
    $pdo->beginTransaction();
    run($pdo, 'UPDATE pictures SET bytes = ? WHERE id = ?', [$bytes, (int)$row['id']]);
    run($pdo, 'UPDATE storage SET bytes = bytes + ? WHERE id = 1', [$bytes]);
    $pdo->commit();
}
echo "the gallery is ready\n";
