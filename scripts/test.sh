#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite:
# the normal build (all tests, UI and end-to-end included), then the core
# libraries again under AddressSanitizer + UndefinedBehaviorSanitizer, then
# the core and korvel-check built for Windows with their tests under Wine,
# then the formatting check. When a library of the Windows build cannot be
# built, the closing note says which and why, and the rest still runs. A
# PostgreSQL server of its own runs meanwhile (on a Unix socket in a
# temporary directory), so the history's tests run against both engines; it
# is stopped however the run ends.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1

pg_dir=$(mktemp -d /tmp/korvel-pg.XXXXXX)
trap './scripts/pg-test-server.sh stop "$pg_dir"' EXIT
echo "== PostgreSQL for the history's tests =="
KORVEL_TEST_PG_URL=$(./scripts/pg-test-server.sh start "$pg_dir")
export KORVEL_TEST_PG_URL

echo "== build =="
cmake --preset default >/dev/null
cmake --build --preset default -j 2
echo "== tests =="
ctest --preset default

echo "== sanitizer build of the core libraries =="
cmake --preset asan >/dev/null
cmake --build --preset asan -j 2
ctest --preset asan

echo "== Windows build of the core (mingw-w64), tests under Wine =="
windows_note=
if ./scripts/build-windows-deps.sh; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j 2
    ctest --preset windows
else
    windows_note="the Windows build and its tests were left out: a library it needs could not be
built from Debian's sources (named with the reason above, under windows-deps); the normal and the
sanitizer suites ran in full"
fi

echo "== format =="
./scripts/check-format.sh
if [ -n "$windows_note" ]; then
    echo "test: note: $windows_note" >&2
fi
