<?php
// Shared by every page of the gallery: where the data lives, the database, the checks
// every request value goes through, and the page frame.
declare(strict_types=1);

ini_set('display_errors', '0');

const MAX_UPLOAD_BYTES = 5 * 1024 * 1024; // an upload must be smaller than this
const MAX_NAME_CHARS = 40;
const MAX_AGE_CHARS = 20;
const MAX_PICTURE_SIDE = 8000;
const PAGE_SIZE = 60;
const PENDING_HOURS = 24; // announcements never followed by their upload are dropped after this

function data_dir(): string
{
    $dir = getenv('PICTARO_GALLERY_DATA');
    if ($dir === false || $dir === '') {
        $dir = dirname(__DIR__) . '/data';
    }
    return rtrim($dir, '/');
}

function pictures_dir(): string
{
    $dir = data_dir() . '/pictures';
    if (!is_dir($dir) && !mkdir($dir, 0750, true) && !is_dir($dir)) {
        fail(500, 'The gallery cannot store pictures.');
    }
    return $dir;
}

function db(): PDO
{
    static $pdo = null;
    if ($pdo !== null) {
        return $pdo;
    }
    $dir = data_dir();
    if (!is_dir($dir) && !mkdir($dir, 0750, true) && !is_dir($dir)) {
        fail(500, 'The gallery has no data folder.');
    }
    $pdo = new PDO('sqlite:' . $dir . '/gallery.sqlite', null, null, [
        PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
        PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
        PDO::ATTR_EMULATE_PREPARES => false,
    ]);
    $pdo->exec('PRAGMA busy_timeout = 5000');
    $pdo->exec('CREATE TABLE IF NOT EXISTS pictures (
        id INTEGER PRIMARY KEY AUTOINCREMENT,
        filename TEXT NOT NULL UNIQUE,
        child TEXT NOT NULL,
        age TEXT NOT NULL,
        announced_at INTEGER NOT NULL,
        uploaded_at INTEGER
    )');
    $pdo->exec('CREATE INDEX IF NOT EXISTS pictures_uploaded ON pictures (uploaded_at)');
    return $pdo;
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

function require_method(string $method): void
{
    if (($_SERVER['REQUEST_METHOD'] ?? '') !== $method) {
        header('Allow: ' . $method);
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

// A short line of text: valid UTF-8, no control characters, not blank, at most $max
// characters. Returns it with surrounding blanks removed, or null.
function valid_text(mixed $text, int $max): ?string
{
    if (!is_string($text) || preg_match('//u', $text) !== 1) {
        return null;
    }
    if (preg_match('/[\x00-\x1F\x7F]/', $text) === 1) {
        return null;
    }
    $text = trim($text);
    $length = iconv_strlen($text, 'UTF-8');
    if ($text === '' || $length === false || $length > $max) {
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
    $parts = preg_split('/\s+/u', $name, -1, PREG_SPLIT_NO_EMPTY);
    return $parts ? $parts[0] : $name;
}

function page_start(string $title): void
{
    header('Content-Type: text/html; charset=utf-8');
    header('X-Content-Type-Options: nosniff');
    header('Referrer-Policy: no-referrer');
    header("Content-Security-Policy: default-src 'none'; img-src 'self'; style-src 'self'; "
        . "base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
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
