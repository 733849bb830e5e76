#!/usr/bin/env bash
# Installs the Debian 12 packages the build (and, with --test, the tests) need, when missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ ccache qt6-base-dev qt6-multimedia-dev qt6-svg-dev
      gstreamer1.0-plugins-base gstreamer1.0-plugins-good libjpeg62-turbo-dev
      libcurl4-openssl-dev libzstd-dev libcups2-dev libgtest-dev libbenchmark-dev xvfb xauth
      libqt6svg6 qt6-image-formats-plugins) # File > Open reads SVG and WebP through Qt's plugins
if [ "${1:-}" = "--test" ]; then
    pkgs+=(xdotool imagemagick pulseaudio pulseaudio-utils sox cups printer-driver-cups-pdf
           php-cli php-sqlite3 poppler-utils curl openbox python3 python3-xlib python3-pil
           valgrind clang-format desktop-file-utils dpkg-dev)
    # The gallery site as it is served, on SQLite and PostgreSQL, seen in a real browser.
    pkgs+=(nginx php-fpm php-gd php-pgsql postgresql chromium fonts-dejavu-core iproute2 util-linux)
    pkgs+=(clang libclang-rt-14-dev) # the sanitized build and the fuzz targets
    pkgs+=(x11-utils) # xwininfo: where a window sits on the screen
fi
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
