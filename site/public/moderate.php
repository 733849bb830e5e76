<?php
// The moderator's page (/moderate): pictures held for approval, shown or hidden, each to be
// approved, hidden or deleted. Behind the password PICTARO_GALLERY_MODERATOR_PASSWORD.
declare(strict_types=1);
require __DIR__ . '/../lib/gallery.php';

const LISTS = ['held' => 'Waiting', 'shown' => 'Shown', 'hidden' => 'Hidden'];

require_method('GET', 'POST');
header('Cache-Control: private, no-store');
$password = setting('PICTARO_GALLERY_MODERATOR_PASSWORD', '');
if ($password === '') {
    fail(503, 'No moderator password is set (PICTARO_GALLERY_MODERATOR_PASSWORD).');
}
if (!hash_equals(hash('sha256', $password), hash('sha256', (string)($_SERVER['PHP_AUTH_PW'] ?? '')))) {
    header('WWW-Authenticate: Basic realm="Pictaro moderation", charset="UTF-8"');
    fail(401, 'The moderator password is needed.');
}
// The browser sends the password with any request to this page, a form on another site's
// page too: every change must carry this token, which only this page shows.
$token = hash_hmac('sha256', 'moderate', $password);

$pdo = db();
foreach (['thumb' => thumbs_dir(), 'picture' => pictures_dir()] as $key => $dir) {
    if (isset($_GET[$key])) {
        $file = valid_file_name($_GET[$key]);
        $row = $file === null ? false
            : run($pdo, 'SELECT 1 FROM pictures WHERE filename = ? AND uploaded_at IS NOT NULL', [$file])->fetch();
        if ($row === false) {
            fail(404, 'No such picture.');
        }
        send_jpeg("$dir/$file", 'private, no-cache');
    }
}

$list = is_string($_GET['show'] ?? null) && isset(LISTS[$_GET['show']]) ? $_GET['show'] : 'held';
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    if (!hash_equals($token, (string)($_POST['token'] ?? ''))) {
        fail(403, 'This form did not come from the moderator page.');
    }
    $file = valid_file_name($_POST['f'] ?? null);
    $action = $_POST['action'] ?? null;
    if ($file === null || !in_array($action, ['approve', 'hide', 'delete'], true)) {
        fail(400, 'Expected a picture and approve, hide or delete.');
    }
    if (!moderate($pdo, $file, $action)) {
        fail(404, 'No such picture.');
    }
    header('Location: /moderate?show=' . $list, true, 303);
    exit;
}

$page = filter_var($_GET['page'] ?? 1, FILTER_VALIDATE_INT, ['options' => ['min_range' => 1, 'max_range' => 100000]]) ?: 1;
$pictures = run($pdo, 'SELECT filename, child, age, width FROM pictures WHERE state = ? AND uploaded_at IS NOT NULL
                       ORDER BY uploaded_at DESC, id DESC LIMIT ? OFFSET ?',
    [$list, PAGE_SIZE + 1, ($page - 1) * PAGE_SIZE])->fetchAll();
$older = count($pictures) > PAGE_SIZE;
$pictures = array_slice($pictures, 0, PAGE_SIZE);

page_start('Moderation', "'self'");
echo '<h1>Moderation</h1>', "\n", '<nav class="tabs">';
foreach (LISTS as $key => $label) {
    echo '<a href="/moderate?show=', $key, '"', $key === $list ? ' aria-current="page"' : '', '>', $label, '</a> ';
}
echo "</nav>\n<p class=\"mode\">New pictures ", moderation() === 'hold' ? 'wait here until approved.' : 'are shown at once.',
    "</p>\n";
if (!$pictures) {
    echo '<p>No pictures here.</p>', "\n";
} else {
    echo "<ul class=\"gallery moderate\">\n";
    foreach ($pictures as $p) {
        $f = $p['filename'];
        $buttons = '<form method="post" action="/moderate?show=' . $list . '"><input type="hidden" name="token" value="'
            . $token . '"><input type="hidden" name="f" value="' . h($f) . '">'
            . ($list !== 'shown' ? '<button name="action" value="approve">Approve</button>' : '')
            . ($list !== 'hidden' ? '<button name="action" value="hide">Hide</button>' : '')
            . '<button name="action" value="delete" class="delete">Delete</button></form>';
        echo picture_tile($p, "/moderate?picture=$f", "/moderate?thumb=$f", "/moderate?picture=$f", $buttons);
    }
    echo "</ul>\n";
}
echo '<nav class="pages">';
if ($page > 1) {
    echo '<a href="/moderate?show=', $list, '&amp;page=', $page - 1, '">&larr; Newer</a> ';
}
if ($older) {
    echo '<a href="/moderate?show=', $list, '&amp;page=', $page + 1, '">Older &rarr;</a>';
}
echo "</nav>\n";
page_end();

// Approves, hides or deletes one stored picture; false when there is none by that name.
function moderate(PDO $pdo, string $file, string $action): bool
{
    if ($action !== 'delete') {
        return in_transaction($pdo, fn() => run($pdo, 'UPDATE pictures SET state = ? WHERE filename = ? AND uploaded_at IS NOT NULL',
            [$action === 'approve' ? 'shown' : 'hidden', $file])->rowCount() === 1);
    }
    // The row and its bytes go together; the files after the commit, so a failed one
    // leaves the picture whole.
    $gone = in_transaction($pdo, function () use ($pdo, $file): bool {
        $row = run($pdo, 'SELECT id, bytes FROM pictures WHERE filename = ? AND uploaded_at IS NOT NULL', [$file])->fetch();
        if ($row === false) {
            return false;
        }
        run($pdo, 'DELETE FROM pictures WHERE id = ?', [(int)$row['id']]);
        run($pdo, 'UPDATE storage SET bytes = bytes - ? WHERE id = 1', [(int)$row['bytes']]);
        return true;
    });
    if ($gone) {
        @unlink(pictures_dir() . '/' . $file);
        @unlink(thumbs_dir() . '/' . $file);
    }
    return $gone;
}
