#!/usr/bin/env bash
# Serves the gallery with PHP's built-in web server (packages: php-cli php-sqlite3).
# Usage: site/serve.sh [port]   (default 8080; HOST defaults to 127.0.0.1)
# PICTARO_GALLERY_DATA chooses the data folder (default: site/data).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
port="${1:-8080}"
data="${PICTARO_GALLERY_DATA:-$here/data}"
mkdir -p "$data/tmp"
export PICTARO_GALLERY_DATA="$data"
# Uploads up to 5 MB get through PHP; the site itself refuses anything from 5 MB up.
# PHP's temporary upload files stay inside the data folder too.
exec php -d upload_max_filesize=5M -d post_max_size=6M -d max_file_uploads=1 \
    -d upload_tmp_dir="$data/tmp" -d display_errors=0 -d log_errors=1 -d expose_php=0 \
    -S "${HOST:-127.0.0.1}:$port" -t "$here/public"
