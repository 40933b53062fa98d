#!/usr/bin/env bash
# Installs what is needed, builds Korvel and the local marketplace simulator,
# starts the simulator in the background and then Korvel pointed at it. The
# simulator stops when Korvel closes.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target korvel marketplace-sim

./build/tools/marketplace-sim/marketplace-sim &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: no display found; running Korvel inside a virtual X server (xvfb-run)"
    xvfb-run -a -s "-screen 0 1280x800x24" ./build/src/app/korvel
else
    ./build/src/app/korvel
fi
