#!/usr/bin/env bash
# Runs a Windows program under Wine: quiet, headless, in a Wine prefix of
# Korvel's own ($KORVEL_WINEPREFIX, default beside the Windows libraries in
# the cache), made on first use. CTest runs the Windows tests through it.
#   scripts/wine-run.sh build-windows/tests/text_tests.exe --gtest_brief=1
set -euo pipefail

cache=${KORVEL_MINGW_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/korvel-mingw}
export WINEPREFIX=${KORVEL_WINEPREFIX:-$cache/wineprefix}
export WINEDEBUG=-all
# No browser engine or .NET runtime to offer installing; no window to show.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

wine=$(command -v wine64 || true)
if [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64
fi
if [ -z "$wine" ]; then
    echo "wine-run: wine64 is not installed (./scripts/install-deps.sh installs it)" >&2
    exit 127
fi

# Two tests starting at once must not both make the prefix.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$wine" wineboot --init >/dev/null 2>&1 || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
