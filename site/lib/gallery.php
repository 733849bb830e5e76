<?php
// Shared by every page of the gallery: where the data lives, the database, the checks
// every request value goes through, and the page frame. Nothing here keeps state between
// requests: the database and the data folder hold everything, so any number of workers
// (on any number of hosts sharing both) can serve the site.
declare(strict_types=1);

ini_set('display_errors', '0');

const MAX_UPLOAD_BYTES = 5 * 1024 * 1024; // an upload must be smaller than this
const MAX_NAME_CHARS = 40;
const MAX_AGE_CHARS = 20;
const MAX_PICTURE_SIDE = 6000;
const MAX_PICTURE_PIXELS = 12000000; // about 48 MB once decoded, in GD and in a browser
const THUMB_WIDTH = 200;
const THUMB_HEIGHT = 150;
const PAGE_SIZE = 60;
const PENDING_HOURS = 24; // announcements never followed by their upload are dropped after this
const PENDING_PER_CLIENT = 20; // announcements one address may have waiting for their upload
const PURGE_BATCH = 200; // stale announcements dropped by one announce, so none takes long
const DEFAULT_MAX_BYTES = 10 * 1024 * 1024 * 1024; // all stored pictures and thumbnails
const FREE_DISK_RESERVE = 64 * 1024 * 1024; // never fill the disk past this
const UPLOAD_CPU_SECONDS = 5; // a 12-million-pixel picture takes well under one
const UPLOAD_TRIES = 5; // uploads one announcement may take before it is used up
// A file in tmp/ older than this outlived the longest request (PHP-FPM ends one at 60 s).
const TMP_MAX_AGE = 120;

function setting(string $name, string $default): string
{
    $value = getenv($name);
    return ($value === false || $value === '') ? $default : $value;
}

function data_dir(): string
{
    return rtrim(setting('PICTARO_GALLERY_DATA', dirname(__DIR__) . '/data'), '/');
}

// A folder inside the data folder, made private to the site's user when missing.
function data_subdir(string $name): string
{
    $dir = data_dir() . '/' . $name;
    if (!is_dir($dir) && !@mkdir($dir, 0700, true) && !is_dir($dir)) {
        fail(500, 'The gallery cannot store pictures.');
    }
    return $dir;
}

function pictures_dir(): string
{
    return data_subdir('pictures');
}

function thumbs_dir(): string
{
    return data_subdir('thumbs');
}

// Files a killed upload left in tmp/ go; returns the bytes of those still under way, which
// count against the storage cap as what they may soon store.
function sweep_tmp(): int
{
    $dir = data_subdir('tmp');
    $old = time() - TMP_MAX_AGE;
    $total = 0;
    foreach (scandir($dir) ?: [] as $name) {
        $path = $dir . '/' . $name;
        $stat = $name[0] === '.' ? false : @stat($path);
        if ($stat === false) {
            continue; // gone meanwhile: its upload has ended
        }
        if ($stat['mtime'] < $old) {
            @unlink($path);
        } else {
            $total += $stat['size'];
        }
    }
    return $total;
}

// "hold": new pictures wait for a moderator; "show": they appear at once.
function moderation(): string
{
    return setting('PICTARO_GALLERY_MODERATION', 'hold') === 'show' ? 'show' : 'hold';
}

function database_dsn(): string
{
    return setting('PICTARO_GALLERY_DSN', 'sqlite:' . data_dir() . '/gallery.sqlite');
}

function storage_cap(): int
{
    $cap = filter_var(setting('PICTARO_GALLERY_MAX_BYTES', (string)DEFAULT_MAX_BYTES), FILTER_VALIDATE_INT);
    return $cap === false ? DEFAULT_MAX_BYTES : $cap;
}

function is_sqlite(PDO $pdo): bool
{
    return $pdo->getAttribute(PDO::ATTR_DRIVER_NAME) === 'sqlite';
}

// The connection. The schema is made by migrate.php, not here: a request only opens it.
function db(): PDO
{
    static $pdo = null;
    if ($pdo !== null) {
        return $pdo;
    }
    $dsn = database_dsn();
    $sqlite = str_starts_with($dsn, 'sqlite:');
    if ($sqlite && !is_file(substr($dsn, 7))) {
        fail(503, 'The gallery is not set up yet.');
    }
    $pdo = new PDO($dsn, null, null, [
        PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
        PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
        PDO::ATTR_EMULATE_PREPARES => false,
        // One connection per worker: a server connection costs a process on the database
        // host, and closing the last SQLite connection writes the whole log back each time.
        PDO::ATTR_PERSISTENT => true,
    ]);
    if ($sqlite) {
        $pdo->exec('PRAGMA busy_timeout = 10000');
        $pdo->exec('PRAGMA synchronous = NORMAL'); // safe with the write-ahead log
    }
    return $pdo;
}

// Runs one statement; numbers are bound as numbers, which SQLite needs in arithmetic.
function run(PDO $pdo, string $sql, array $params = []): PDOStatement
{
    $statement = $pdo->prepare($sql);
    foreach (array_values($params) as $i => $value) {
        $statement->bindValue($i + 1, $value, is_int($value) ? PDO::PARAM_INT : PDO::PARAM_STR);
    }
    $statement->execute();
    return $statement;
}

// Runs $work inside a write transaction. SQLite has one writer at a time and makes the
// others poll with growing sleeps; waiting on a file lock instead wakes the next writer
// the moment the last one is done.
function in_transaction(PDO $pdo, callable $work): mixed
{
    $sqlite = is_sqlite($pdo);
    $lock = null;
    $open = false;
    // A request that dies inside (a fatal error, a timeout) must not leave the transaction
    // open on the connection its worker keeps.
    register_shutdown_function(function () use ($pdo, $sqlite, &$open): void {
        if ($open) {
            $sqlite ? $pdo->exec('ROLLBACK') : $pdo->rollBack();
        }
    });
    if ($sqlite) {
        $lock = fopen(data_dir() . '/gallery.lock', 'c');
        if ($lock === false || !flock($lock, LOCK_EX)) {
            throw new RuntimeException('cannot lock the database');
        }
        $pdo->exec('BEGIN IMMEDIATE');
    } else {
        $pdo->beginTransaction();
    }
    $open = true;
    try {
        $result = $work();
        $sqlite ? $pdo->exec('COMMIT') : $pdo->commit();
        return $result;
    } catch (Throwable $e) {
        try {
            $sqlite ? $pdo->exec('ROLLBACK') : $pdo->rollBack();
        } catch (Throwable) {
            // the failed COMMIT ended it already
        }
        throw $e;
    } finally {
        $open = false;
        if ($lock !== null) {
            fclose($lock);
        }
    }
}

// The address a request counts against: IPv6 clients get a whole /64, as one host has.
function client_key(): string
{
    $addr = (string)($_SERVER['REMOTE_ADDR'] ?? '');
    $bin = @inet_pton($addr);
    if ($bin !== false && strlen($bin) === 16 && !str_starts_with($bin, str_repeat("\0", 10) . "\xFF\xFF")) {
        return inet_ntop(substr($bin, 0, 8) . str_repeat("\0", 8)) . '/64';
    }
    return $addr;
}

// Ends the request with a status and a one-line plain-text reason.
function fail(int $status, string $reason): never
{
    http_response_code($status);
    header('Content-Type: text/plain; charset=utf-8');
    header('X-Content-Type-Options: nosniff');
    echo $reason, "\n";
    exit;
}

// HEAD is answered as GET (the server drops the body) where a GET changes nothing; anything
// else not allowed is 405.
function require_method(string ...$methods): void
{
    $got = $_SERVER['REQUEST_METHOD'] ?? '';
    if (in_array('GET', $methods, true) && !in_array('HEAD', $methods, true)) {
        $methods[] = 'HEAD';
    }
    if (!in_array($got, $methods, true)) {
        header('Allow: ' . implode(', ', $methods));
        fail(405, 'Method not allowed.');
    }
}

// A picture's file name: ten letters or digits and ".jpg", nothing else, so that no
// request can name any other path.
function valid_file_name(mixed $name): ?string
{
    if (!is_string($name) || preg_match('/\A[A-Za-z0-9]{10}\.jpg\z/', $name) !== 1) {
        return null;
    }
    return $name;
}

// A short line of text: valid UTF-8 without control characters (C0, C1) or direction
// controls, with something visible in it, at most $max characters. Returns it with
// surrounding blanks removed, or null.
function valid_text(mixed $text, int $max): ?string
{
    if (!is_string($text) || preg_match('//u', $text) !== 1) {
        return null;
    }
    if (preg_match('/[\x{0}-\x{1F}\x{7F}-\x{9F}\x{61C}\x{200E}\x{200F}\x{202A}-\x{202E}\x{2066}-\x{2069}\x{2028}\x{2029}]/u', $text) === 1) {
        return null;
    }
    $text = (string)preg_replace('/\A[\s\p{Z}\p{Cf}]+|[\s\p{Z}\p{Cf}]+\z/u', '', $text);
    // Blanks, format characters, marks alone and the letters that draw nothing do not count.
    $visible = preg_replace('/[\s\p{Z}\p{Cf}\p{M}\x{115F}\x{1160}\x{3164}\x{FFA0}\x{2800}]/u', '', $text);
    $length = iconv_strlen($text, 'UTF-8');
    if ($visible === '' || $visible === null || $length === false || $length > $max) {
        return null;
    }
    return $text;
}

function h(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML5, 'UTF-8');
}

function first_name(string $name): string
{
    $parts = preg_split('/[\s\p{Z}]+/u', $name, -1, PREG_SPLIT_NO_EMPTY);
    return $parts ? $parts[0] : $name;
}

function page_start(string $title, string $formAction = "'none'"): void
{
    header('Content-Type: text/html; charset=utf-8');
    header('X-Content-Type-Options: nosniff');
    header('Referrer-Policy: no-referrer');
    header("Content-Security-Policy: default-src 'none'; img-src 'self'; style-src 'self'; "
        . "base-uri 'none'; form-action $formAction; frame-ancestors 'none'");
    echo "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n",
        '<meta name="viewport" content="width=device-width, initial-scale=1">', "\n",
        '<title>', h($title), "</title>\n",
        '<link rel="stylesheet" href="/style.css">', "\n</head>\n<body>\n",
        '<header><a class="home" href="/">Pictaro</a> <a href="/baby.php">Children&#39;s works</a></header>',
        "\n<main>\n";
}

function page_end(): void
{
    echo "</main>\n</body>\n</html>\n";
}

// A picture's tile: its thumbnail (the picture itself for dense screens), the child's first
// name and age. Names are isolated, so a right-to-left one keeps its age after it.
function picture_tile(array $p, string $href, string $thumb, string $full, string $extra = ''): string
{
    $name = first_name($p['child']);
    $width = (int)($p['width'] ?? 0);
    $srcset = $width > THUMB_WIDTH ? ' srcset="' . h($thumb) . ' ' . THUMB_WIDTH . 'w, ' . h($full) . ' ' . $width . 'w"'
        . ' sizes="(max-width: 40em) 46vw, ' . THUMB_WIDTH . 'px"' : '';
    return '<li><figure><a href="' . h($href) . '"><img src="' . h($thumb) . '"' . $srcset
        . ' alt="' . h($name) . '" width="' . THUMB_WIDTH . '" height="' . THUMB_HEIGHT
        . '" loading="lazy" decoding="async"></a><figcaption><bdi class="child">' . h($name)
        . '</bdi><span class="age">, <bdi>' . h($p['age']) . '</bdi></span></figcaption>' . $extra . "</figure></li>\n";
}

// Sends a stored JPEG with what lets a browser keep it: an entity tag and its time, and
// 304 when the browser has it already.
function send_jpeg(string $path, string $cache): never
{
    $stat = @stat($path);
    if ($stat === false) {
        fail(404, 'No such picture.');
    }
    $etag = sprintf('"%x-%x"', $stat['mtime'], $stat['size']);
    $modified = gmdate('D, d M Y H:i:s', $stat['mtime']) . ' GMT';
    header('X-Content-Type-Options: nosniff');
    header("Content-Security-Policy: default-src 'none'");
    header('Cache-Control: ' . $cache);
    header('ETag: ' . $etag);
    header('Last-Modified: ' . $modified);
    $match = $_SERVER['HTTP_IF_NONE_MATCH'] ?? null;
    $since = $_SERVER['HTTP_IF_MODIFIED_SINCE'] ?? null;
    if ($match !== null ? in_array($etag, array_map('trim', explode(',', $match)), true)
        : ($since !== null && strtotime($since) >= $stat['mtime'])) {
        http_response_code(304);
        exit;
    }
    header('Content-Type: image/jpeg');
    header('Content-Length: ' . $stat['size']);
    if ($_SERVER['REQUEST_METHOD'] !== 'HEAD') {
        readfile($path);
    }
    exit;
}
