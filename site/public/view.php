<?php
// One shown picture on a page of its own, with the child's first name and age and the way
// back to the gallery.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
$file = valid_file_name($_GET['f'] ?? null);
$p = $file === null ? false : run(db(), "SELECT child, age, width, height FROM pictures
    WHERE filename = ? AND uploaded_at IS NOT NULL AND state = 'shown'", [$file])->fetch();
if ($p === false) {
    fail(404, 'No such picture.');
}
$name = first_name($p['child']);
page_start($name);
echo '<p class="back"><a href="/baby.php">&larr; All pictures</a></p>', "\n",
    '<figure class="picture"><img src="/picture.php?f=', h($file), '" alt="', h($name), '"';
if ((int)$p['width'] > 0 && (int)$p['height'] > 0) {
    echo ' width="', (int)$p['width'], '" height="', (int)$p['height'], '"';
}
echo '><figcaption><bdi class="child">', h($name), '</bdi><span class="age">, <bdi>', h($p['age']),
    "</bdi></span></figcaption></figure>\n";
page_end();
