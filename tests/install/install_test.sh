#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it from there the way a
# user would: settings only in a temporary XDG_CONFIG_HOME, the history in a
# temporary XDG_DATA_HOME, one check against the installed simulator.
#   install_test.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
sim_pid=
korvel_pid=
cleanup() {
    [ -n "$korvel_pid" ] && kill "$korvel_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "install test: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

for f in bin/korvel bin/korvel-check libexec/korvel/korvel-deleter libexec/korvel/marketplace-sim \
         share/applications/korvel.desktop share/icons/hicolor/scalable/apps/korvel.svg \
         share/icons/hicolor/256x256/apps/korvel.png share/doc/korvel/README.md \
         lib/systemd/user/korvel-check@.service lib/systemd/user/korvel-check@.timer \
         lib/systemd/user/korvel-serve.service; do
    [ -e "$prefix/$f" ] || fail "$f not installed"
done
grep -qx "ExecStart=$prefix/bin/korvel-check --board %I" "$prefix/lib/systemd/user/korvel-check@.service" \
    || fail "the service does not start the installed korvel-check"
grep -qx "ExecStart=$prefix/bin/korvel-check --serve" "$prefix/lib/systemd/user/korvel-serve.service" \
    || fail "korvel-serve.service does not start the installed korvel-check"
desktop-file-validate "$prefix/share/applications/korvel.desktop" || fail "desktop entry refused"

# Nothing of the user's own: a home, settings and data of this test only.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$HOME" "$XDG_CONFIG_HOME/korvel"

"$prefix/libexec/korvel/marketplace-sim" --port 0 > "$work/sim.out" &
sim_pid=$!
for _ in $(seq 100); do grep -q listening "$work/sim.out" && break; sleep 0.1; done
host=$(sed -n 's|.*listening on http://||p' "$work/sim.out")
[ -n "$host" ] || fail "the simulator did not start"
settings=$XDG_CONFIG_HOME/korvel/korvel.ini
printf '[hosts]\ngoods_page=%s\nsearch_api=%s\noperations_api=%s\nvendor_info=%s\n[board]\npages_per_second=20\n' \
    "$host" "$host" "$host" "$host" > "$settings"

version=$("$prefix/bin/korvel-check" --version)
[ "$version" = "korvel-check 2.0
settings: $settings" ] || fail "korvel-check --version said: $version"

# The window, offscreen: it names the settings file it found, opens the
# history in XDG_DATA_HOME and ends with 0 on SIGTERM.
QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 "$prefix/bin/korvel" 2> "$work/korvel.err" &
korvel_pid=$!
for _ in $(seq 600); do
    [ -e "$XDG_DATA_HOME/korvel/history.sqlite" ] && break
    sleep 0.1
done
grep -qx "korvel: settings: $settings" "$work/korvel.err" \
    || fail "korvel did not use $settings: $(cat "$work/korvel.err")"
[ -e "$XDG_DATA_HOME/korvel/history.sqlite" ] || fail "korvel kept no history in XDG_DATA_HOME"
kill -TERM "$korvel_pid"
status=0
wait "$korvel_pid" || status=$?
korvel_pid=
[ "$status" -eq 0 ] || fail "korvel ended with $status on SIGTERM"

out=$("$prefix/bin/korvel-check" --goods 4033138 --keyword 辣条大礼包 --format csv)
[ "$out" = "goods_id,listing,key,sort,status,rank,reason
4033138,keyword,辣条大礼包,default,found,37," ] || fail "the check gave: $out"
checks=$("$prefix/bin/korvel-check" --history --format csv | grep -c 辣条大礼包 || true)
[ "$checks" -ge 1 ] || fail "the check is not in the history of XDG_DATA_HOME"
echo "install test: passed"
