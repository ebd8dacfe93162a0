#!/usr/bin/env bash
# Starts the built program, as a menu entry or a terminal starts it, with a
# temporary HOME, in the Wayland session this test runs in
# (tests/support/WaylandSession.sh makes one).
# With Xwayland (DISPLAY set): the program's window is an X window on
# Xwayland's display, and the only window on weston's output.
# Without Xwayland: the program shows no main window but a message, on its
# standard error and in a box that is then its only window, that names what
# to install; with no display at all it says so on its standard error and
# ends with a failure.
# Usage: tst_Wayland.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -n "${WAYLAND_DISPLAY:-}" ] || fail "not in a Wayland session (tests/support/WaylandSession.sh)"

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

home=$work/home
mkdir -p "$home"
run_program() {
    (cd "$work" && exec env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
        XDG_CACHE_HOME="$home/.cache" "$@" "$build/bin/scenora" >"$work/out.log" 2>"$work/err.log")
}
# The titles of the top-level windows on weston's output, one a line.
output_windows() { weston-debug scene-graph | sed -n "s/.*top-level window '\([^']*\)'.*/\1/p"; }
# Waits up to 60 s for a condition, while the program runs.
wait_for() {
    for _ in $(seq 600); do
        kill -0 "$pid" 2>/dev/null || { cat "$work/err.log" >&2; fail "the program ended"; }
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

title="Scenora V$version"
if [ -n "${DISPLAY:-}" ]; then
    run_program &
    pid=$!
    # The window the window manager manages; Qt names some of its native
    # child windows after it too.
    x_window() {
        local w
        for w in $(xdotool search --pid "$pid" --name "^$title\$" 2>/dev/null); do
            xprop -id "$w" WM_STATE 2>/dev/null | grep -q 'window state' && { echo "$w"; return 0; }
        done
        return 1
    }
    wait_for x_window >/dev/null \
        || fail "no X window named '$title' on Xwayland's display $DISPLAY within 60 s; windows on the output: $(output_windows | paste -sd,)"
    only_main_window() { [ "$(output_windows)" = "$title" ]; }
    wait_for only_main_window || fail "windows on the output: $(output_windows | paste -sd,)"
    echo "the program's window is X window $(x_window) on Xwayland's display $DISPLAY"
    exit 0
fi

run_program &
pid=$!
said_on_stderr() { grep -qs xwayland "$work/err.log"; }
wait_for said_on_stderr \
    || fail "the program said nothing of xwayland within 60 s; windows on the output: $(output_windows | paste -sd,)"
# The box is the program's only window.
one_window() { [ "$(output_windows | wc -l)" -eq 1 ]; }
wait_for one_window || fail "windows on the output: $(output_windows | paste -sd,)"
[ "$(output_windows)" != "$title" ] || fail "the program shows its main window"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=

# No display at all: the message, and a failure at once.
rc=0
run_program timeout 60 env -u WAYLAND_DISPLAY || rc=$?
[ "$rc" -ne 0 ] && [ "$rc" -ne 124 ] || fail "with no display the program ended with $rc"
grep -q xwayland "$work/err.log" || fail "with no display the program said: $(cat "$work/err.log")"
echo "without an X display the program says: $(head -n 1 "$work/err.log")"
