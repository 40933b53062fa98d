#!/usr/bin/env bash
# Installs every Debian package Korvel needs to build, run and test.
# Idempotent: packages already present are skipped, and the package lists are
# refreshed at most once per run (only when something is missing).
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config clang-format
    qt6-base-dev qt6-webengine-dev libqt6webenginewidgets6 qt6-translations-l10n
    libcurl4-openssl-dev libssl-dev libicu-dev libpcre2-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
    libcli11-dev libsqlite3-dev sqlite3
    fonts-wqy-microhei xvfb xauth
    desktop-file-utils lintian
)

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

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "install-deps: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
