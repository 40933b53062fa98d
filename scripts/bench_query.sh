#!/usr/bin/env bash
# Times a three-keyword query (the window's sample goods and keywords) in the
# real window against the simulator on loopback, and compares the wall time
# with its floor: the query's fixed pauses plus the time its fetches take,
# measured in the same run. Exits 1 when the query takes more than 5 % over
# its floor.
#
#   scripts/bench_query.sh [build-dir]      (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target bench_query -j2 >/dev/null
program=$(find "$build" -type f -name bench_query -perm -u+x | head -n 1)

out=$(mktemp)
trap 'rm -f "$out"' EXIT
QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
    "$program" --benchmark_format=json >"$out" 2>/dev/null

python3 - "$out" <<'PY'
import json, sys
run = json.load(open(sys.argv[1]))["benchmarks"][0]
wall, floor = run["wall_ms"], run["floor_ms"]
pct = run["overhead_pct"]
print(f"three-keyword query: wall {wall:.1f} ms, floor {floor:.1f} ms "
      f"(pauses {run['pause_ms']:.0f} ms + fetches {run['fetch_ms']:.1f} ms), "
      f"over floor {pct:.2f} % (target <= 5 %), result {run.get('label', '')}")
sys.exit(0 if pct <= 5.0 else 1)
PY
