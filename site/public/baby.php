<?php
// The gallery: the uploaded pictures, newest first, each with the child's first name and age.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$page = filter_var($_GET['page'] ?? 1, FILTER_VALIDATE_INT, ['options' => ['min_range' => 1, 'max_range' => 100000]]);
if ($page === false) {
    $page = 1;
}
$pdo = db();
$total = (int)$pdo->query('SELECT COUNT(*) FROM pictures WHERE uploaded_at IS NOT NULL')->fetchColumn();
$rows = $pdo->prepare('SELECT filename, child, age FROM pictures WHERE uploaded_at IS NOT NULL
                       ORDER BY uploaded_at DESC, id DESC LIMIT ? OFFSET ?');
$rows->execute([PAGE_SIZE, ($page - 1) * PAGE_SIZE]);
$pictures = $rows->fetchAll();

page_start("Children's works");
echo "<h1>Children&#39;s works</h1>\n";
if (!$pictures) {
    echo "<p>No pictures yet.</p>\n";
} else {
    echo "<ul class=\"gallery\">\n";
    foreach ($pictures as $p) {
        $name = first_name($p['child']);
        echo '<li><figure><a href="/picture.php?f=', h($p['filename']), '">',
            '<img src="/picture.php?f=', h($p['filename']), '" alt="', h($name), '" loading="lazy"></a>',
            '<figcaption><span class="child">', h($name), '</span>, <span class="age">', h($p['age']),
            "</span></figcaption></figure></li>\n";
    }
    echo "</ul>\n";
}
echo '<nav class="pages">';
if ($page > 1) {
    echo '<a href="/baby.php?page=', $page - 1, '">&larr; Newer</a> ';
}
if ($page * PAGE_SIZE < $total) {
    echo '<a href="/baby.php?page=', $page + 1, '">Older &rarr;</a>';
}
echo "</nav>\n";
page_end();
