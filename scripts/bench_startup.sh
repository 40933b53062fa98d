#!/usr/bin/env bash
# Start-up time: from launching korvel to its window on screen, with the
# simulator on loopback publishing our own version (no update), inside a
# virtual X server. To tell how much of it is the browser engine, two probe
# programs are timed the same way: one shows an empty window (Qt Widgets
# only), the other first creates a browser view and a page, as the main
# window does. Their difference is the engine's share: loading its libraries,
# starting it and creating its two browser objects.
#
#   scripts/bench_startup.sh [BUILD_DIR] [RUNS]     (defaults: build, 7)
#
# Prints the median and the fastest run of each, in milliseconds.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
runs=${2:-7}

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target korvel marketplace-sim -j 2 >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# --- the probes -------------------------------------------------------------
cat >"$work/probe.cpp" <<'EOF'
#include <QApplication>
#include <QWidget>
#ifdef WITH_ENGINE
#include <QWebEnginePage>
#include <QWebEngineView>
#endif
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("probe");
    window.resize(456, 480);
#ifdef WITH_ENGINE
    auto* view = new QWebEngineView(&window);
    view->setGeometry(7, 32, 416, 296);
    auto* page = new QWebEnginePage(&window);
    page->load(QUrl("about:blank"));
    view->setUrl(QUrl("about:blank"));
#endif
    window.show();
    return app.exec();
}
EOF
flags="-std=c++20 -O2 -fPIC"
# shellcheck disable=SC2046,SC2086
g++ $flags "$work/probe.cpp" -o "$work/probe-plain" $(pkg-config --cflags --libs Qt6Widgets)
# shellcheck disable=SC2046,SC2086
g++ $flags -DWITH_ENGINE "$work/probe.cpp" -o "$work/probe-engine" \
    $(pkg-config --cflags --libs Qt6Widgets Qt6WebEngineWidgets)

# --- the simulator and the program directory ---------------------------------
"$build_dir/tools/marketplace-sim/marketplace-sim" --port 0 >"$work/sim.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do
    grep -q "listening on" "$work/sim.log" && break
    sleep 0.05
done
host=$(sed -n 's|.*listening on http://||p' "$work/sim.log")
[ -n "$host" ] || { echo "bench_startup: the simulator did not start" >&2; exit 1; }

mkdir "$work/program"
cp "$build_dir/src/app/korvel" "$work/program/korvel"
cat >"$work/program/korvel.ini" <<EOF
[hosts]
goods_page = $host
search_api = $host
operations_api = $host
vendor_info = $host
EOF

# --- the virtual screen -------------------------------------------------------
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
display=":$(head -n 1 "$work/display")"

export QT_QPA_PLATFORM=xcb QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Milliseconds from launching "$2..." until a window titled "$1" is viewable,
# or -1 when the program ends or a minute passes first. Each look at the
# screen takes a few tens of milliseconds: that is the resolution.
time_to_window() {
    local title=$1
    shift
    local start pid elapsed=-1
    start=$(now_ms)
    DISPLAY=$display "$@" >/dev/null 2>&1 &
    pid=$!
    while [ $(($(now_ms) - start)) -lt 60000 ] && kill -0 "$pid" 2>/dev/null; do
        if xwininfo -display "$display" -name "$title" 2>/dev/null | grep -q IsViewable; then
            elapsed=$(($(now_ms) - start))
            break
        fi
        sleep 0.005
    done
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "$elapsed"
}

# Median and fastest of the runs, after one warm-up launch; runs that never
# showed a window are counted apart.
measure() {
    local label=$1
    shift
    local values=() failed=0 value
    time_to_window "$@" >/dev/null
    for _ in $(seq "$runs"); do
        value=$(time_to_window "$@")
        if [ "$value" -ge 0 ]; then values+=("$value"); else failed=$((failed + 1)); fi
    done
    [ "${#values[@]}" -gt 0 ] || { echo "$label: no window in $runs runs" >&2; exit 1; }
    printf '%s\n' "${values[@]}" | sort -n >"$work/values"
    local median fastest
    median=$(sed -n "$(((${#values[@]} + 1) / 2))p" "$work/values")
    fastest=$(head -n 1 "$work/values")
    printf '%-14s median %5d ms   fastest %5d ms   (%s)%s\n' "$label" "$median" "$fastest" \
        "$(tr '\n' ' ' <"$work/values")" "$([ "$failed" -eq 0 ] || echo "  $failed without window")"
    echo "$median" >"$work/median-$label"
}

echo "launch to window on screen, $runs runs each (simulator at $host, no update)"
measure korvel Korvel "$work/program/korvel"
measure probe-plain probe "$work/probe-plain"
measure probe-engine probe "$work/probe-engine"

korvel=$(cat "$work/median-korvel")
plain=$(cat "$work/median-probe-plain")
engine=$(cat "$work/median-probe-engine")
share=$((engine - plain))
echo "browser engine (probe-engine - probe-plain): $share ms of korvel's $korvel ms" \
    "($((100 * share / (korvel > 0 ? korvel : 1)))%)"
echo "korvel without the engine's share: $((korvel - share)) ms (target: whole launch <= 1500 ms)"
