#!/usr/bin/env bash
# The Windows korvel-check.exe under Wine against the native simulator on a
# free loopback port: the settings file it names, the sample keywords' ranks,
# and the checks kept in a history of this test only.
#   under_wine_test.sh KORVEL_CHECK_EXE NATIVE_SIMULATOR WINE_RUN
# Ends with 77 (skipped) when the native simulator has not been built.
set -euo pipefail

exe=$1 sim=$2 wine_run=$3
if [ ! -x "$sim" ]; then
    echo "skipped: no native simulator at $sim (build the default preset first)"
    exit 77
fi
work=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "korvel-check under Wine: $*" >&2; exit 1; }

"$sim" --port 0 > "$work/sim.out" &
sim_pid=$!
for _ in $(seq 100); do grep -q listening "$work/sim.out" && break; sleep 0.1; done
host=$(sed -n 's|.*listening on http://||p' "$work/sim.out")
[ -n "$host" ] || fail "the simulator did not start"
printf '[hosts]\ngoods_page=%s\nsearch_api=%s\noperations_api=%s\nvendor_info=%s\n[board]\npages_per_second=20\n' \
    "$host" "$host" "$host" "$host" > "$work/korvel.ini"

# Wine's drive Z: is the root of the file system.
config="Z:$work/korvel.ini"
db="Z:$work/history.sqlite"
korvel_check() { "$wine_run" "$exe" "$@"; }
check() { korvel_check --config "$config" --db "$db" "$@"; }

version=$(check --version)
case "$version" in
    "korvel-check 2.0"*"korvel.ini") ;;
    *) fail "--version said: $version" ;;
esac

out=$(check --goods 4033138 --keyword 辣条大礼包 --keyword 辣条 --keyword 辣条礼包 --format csv)
[ "$out" = "goods_id,listing,key,sort,status,rank,reason
4033138,keyword,辣条大礼包,default,found,37,
4033138,keyword,辣条,default,found,618,
4033138,keyword,辣条礼包,default,not_in_top_1000,," ] || fail "the check gave: $out"

checks=$(korvel_check --db "$db" --history --format csv | grep -c 4033138 || true)
[ "$checks" -eq 3 ] || fail "the history holds $checks checks of the sample, not 3"
echo "korvel-check under Wine: passed"
