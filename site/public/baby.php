<?php
// The gallery: the shown pictures' thumbnails, newest first, each with the child's first
// name and age and leading to the picture's own page.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$page = filter_var($_GET['page'] ?? 1, FILTER_VALIDATE_INT, ['options' => ['min_range' => 1, 'max_range' => 100000]]);
if ($page === false) {
    $page = 1;
}
$pdo = db();
// One row more than a page tells whether an older page exists, without counting them all.
$pictures = run($pdo, "SELECT filename, child, age, width FROM pictures
                       WHERE uploaded_at IS NOT NULL AND state = 'shown'
                       ORDER BY uploaded_at DESC, id DESC LIMIT ? OFFSET ?",
    [PAGE_SIZE + 1, ($page - 1) * PAGE_SIZE])->fetchAll();
$older = count($pictures) > PAGE_SIZE;
$pictures = array_slice($pictures, 0, PAGE_SIZE);
// The family that just sent a picture learns it arrived, not what others sent.
$waiting = (int)run($pdo, "SELECT COUNT(*) FROM (SELECT 1 FROM pictures WHERE client = ?
                           AND uploaded_at IS NOT NULL AND state = 'held' LIMIT 100) w", [client_key()])->fetchColumn();

page_start("Children's works");
echo "<h1>Children&#39;s works</h1>\n";
if ($waiting > 0) {
    echo '<p class="waiting">', $waiting === 1 ? 'A picture sent from here has' : "$waiting pictures sent from here have",
        " arrived. A grown-up looks at every picture before it is shown; it will appear here once approved.</p>\n";
}
if (!$pictures) {
    echo "<p>No pictures yet.</p>\n";
} else {
    echo "<ul class=\"gallery\">\n";
    foreach ($pictures as $p) {
        $f = $p['filename'];
        echo picture_tile($p, "/view.php?f=$f", "/picture.php?f=$f&thumb=1", "/picture.php?f=$f");
    }
    echo "</ul>\n";
}
echo '<nav class="pages">';
if ($page > 1) {
    echo '<a href="/baby.php?page=', $page - 1, '">&larr; Newer</a> ';
}
if ($older) {
    echo '<a href="/baby.php?page=', $page + 1, '">Older &rarr;</a>';
}
echo "</nav>\n";
page_end();
