#!/usr/bin/env bash
# Runs a command in a Wayland session of its own, as a desktop's Wayland
# session starts programs: weston on its headless backend (drawing with
# pixman), with Xwayland unless --no-xwayland, in a runtime folder of its own.
# The command gets WAYLAND_DISPLAY, XDG_SESSION_TYPE=wayland and, with
# Xwayland, DISPLAY; QT_QPA_PLATFORM is unset, so that the program chooses
# its platform itself. weston runs with --debug, so that the command may read
# its output with weston-screenshooter and its windows with weston-debug.
# WESTON_LOG names weston's log, which the command may read.
# Usage: WaylandSession.sh [--no-xwayland] COMMAND [ARGUMENTS...]
set -euo pipefail

xwayland=(--xwayland)
if [ "${1:-}" = --no-xwayland ]; then
    xwayland=()
    shift
fi
[ $# -gt 0 ] || { echo "usage: $0 [--no-xwayland] COMMAND [ARGUMENTS...]" >&2; exit 2; }

session=$(mktemp -d)
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$session"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$session/weston.log" ] && cat "$session/weston.log" >&2; exit 1; }

export XDG_RUNTIME_DIR=$session/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WESTON_LOG=$session/weston.log
socket=scenora-test
# weston would take an X display or a Wayland display of the caller's for a
# backend of its own; the headless one needs neither.
env -u DISPLAY -u WAYLAND_DISPLAY weston --backend=headless-backend.so --use-pixman "${xwayland[@]}" \
    --socket="$socket" --width=1280 --height=1024 --idle-time=0 --no-config --debug \
    --log="$WESTON_LOG" >"$session/weston.out" 2>&1 &
weston_pid=$!

for _ in $(seq 300); do
    kill -0 "$weston_pid" 2>/dev/null || { cat "$session/weston.out" >&2; fail "weston ended"; }
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston made no socket within 30 s"

unset QT_QPA_PLATFORM DISPLAY XAUTHORITY
export WAYLAND_DISPLAY=$socket XDG_SESSION_TYPE=wayland
if [ ${#xwayland[@]} -gt 0 ]; then
    # weston starts Xwayland on the first X client, on the display it names.
    for _ in $(seq 300); do
        DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WESTON_LOG" 2>/dev/null | tail -n 1 || true)
        [ -n "$DISPLAY" ] && break
        sleep 0.1
    done
    [ -n "$DISPLAY" ] || fail "weston names no X display within 30 s"
    export DISPLAY
fi

rc=0
"$@" || rc=$?
exit "$rc"
