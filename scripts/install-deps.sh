#!/usr/bin/env bash
# Installs every Debian package Korvel needs to build, run and test, the
# Windows cross build included (mingw-w64, Wine, and what
# scripts/build-windows-deps.sh needs to build libraries from Debian's source
# packages, for which the apt sources get deb-src lines when they have none).
# Idempotent: packages already present are skipped, and the package lists are
# refreshed at most once per run (only when something is missing).
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config clang-format
    qt6-base-dev qt6-webengine-dev libqt6webenginewidgets6 qt6-translations-l10n
    libcurl4-openssl-dev libssl-dev libicu-dev libpcre2-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
    libcli11-dev libsqlite3-dev sqlite3 libpq-dev postgresql
    fonts-wqy-microhei xvfb xauth
    desktop-file-utils lintian
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine64 dpkg-dev make tcl
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
updated=
update_once() {
    if [ -z "$updated" ]; then
        "${sudo_cmd[@]}" apt-get update -qq
        updated=1
    fi
}

# Source packages: the same archives as the binary ones, as deb-src.
if ! apt-cache showsrc pcre2 2>/dev/null | grep -q '^Package:'; then
    source_list=/etc/apt/sources.list.d/korvel-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ] && [ ! -f "$source_list" ]; then
        echo "install-deps: adding deb-src lines ($source_list)"
        sed -n 's/^Types:.*\bdeb\b.*/Types: deb-src/;p' /etc/apt/sources.list.d/debian.sources |
            "${sudo_cmd[@]}" tee "$source_list" >/dev/null
    elif [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list; then
        echo "install-deps: adding deb-src lines (/etc/apt/sources.list.d/korvel-deb-src.list)"
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
            "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/korvel-deb-src.list >/dev/null
    fi
    update_once
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all ${#packages[@]} packages present"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
update_once
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
