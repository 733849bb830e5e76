<?php
// The gallery: the uploaded pictures' thumbnails, newest first, each with the child's first
// name and age and linking to the whole picture.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$page = filter_var($_GET['page'] ?? 1, FILTER_VALIDATE_INT, ['options' => ['min_range' => 1, 'max_range' => 100000]]);
if ($page === false) {
    $page = 1;
}
$pdo = db();
// One row more than a page tells whether an older page exists, without counting them all.
$pictures = run($pdo, 'SELECT filename, child, age FROM pictures WHERE uploaded_at IS NOT NULL
                      ORDER BY uploaded_at DESC, id DESC LIMIT ? OFFSET ?',
    [PAGE_SIZE + 1, ($page - 1) * PAGE_SIZE])->fetchAll();
$older = count($pictures) > PAGE_SIZE;
$pictures = array_slice($pictures, 0, PAGE_SIZE);

page_start("Children's works");
echo "<h1>Children&#39;s works</h1>\n";
if (!$pictures) {
    echo "<p>No pictures yet.</p>\n";
} else {
    echo "<ul class=\"gallery\">\n";
    foreach ($pictures as $p) {
        $name = first_name($p['child']);
        echo '<li><figure><a href="/picture.php?f=', h($p['filename']), '">',
            '<img src="/picture.php?f=', h($p['filename']), '&amp;thumb=1" alt="', h($name),
            '" width="', THUMB_WIDTH, '" height="', THUMB_HEIGHT, '"></a>',
            '<figcaption><span class="child">', h($name), '</span>, <span class="age">', h($p['age']),
            "</span></figcaption></figure></li>\n";
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
