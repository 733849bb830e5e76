<?php
// The site's home page.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

require_method('GET');
// A server that hands every unknown path to this page: those are not found.
$path = parse_url($_SERVER['REQUEST_URI'] ?? '/', PHP_URL_PATH);
if ($path !== '/' && $path !== '/index.php') {
    fail(404, 'Not found.');
}
page_start('Pictaro');
?>
<h1>Pictaro</h1>
<p>Pictaro is a coloring book for small children: pick a page, fill it with big friendly
tools and hear every color named aloud.</p>
<p>A finished picture can be sent from the program's menu <em>Children's works &rarr; Send my
coloring book</em>. It then appears in the <a href="/baby.php">gallery of children's works</a>
with the child's first name and age<?= moderation() === 'hold' ? ', once a grown-up has looked at it' : '' ?>.</p>
<?php
page_end();
