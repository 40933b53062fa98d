#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite:
# the normal build (all tests, UI and end-to-end included), then the core
# libraries again under AddressSanitizer + UndefinedBehaviorSanitizer, then
# the formatting check.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1

echo "== build =="
cmake --preset default >/dev/null
cmake --build --preset default -j 2
echo "== tests =="
ctest --preset default

echo "== sanitizer build of the core libraries =="
cmake --preset asan >/dev/null
cmake --build --preset asan -j 2
ctest --preset asan

echo "== format =="
./scripts/check-format.sh
