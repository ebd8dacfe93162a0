#!/usr/bin/env bash
# Set-up for a Debian 12 machine, safe to run again and again:
#   scripts/setup.sh run    install what running needs, build, start Scenora
#   scripts/setup.sh test   install what testing needs, build, run the whole test suite
#   scripts/setup.sh build  install what building needs and build only
# Environment: BUILD_DIR (default build), SCENORA_SANITIZE (empty, address or thread),
# SCENORA_TESTS (a CTest name pattern: test builds and runs only the matching tests).
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

build_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libvlc-dev libgl-dev libxcb1-dev libpng-dev zlib1g-dev
    libavformat-dev libavcodec-dev libswscale-dev libavutil-dev)
run_packages=(libvlc5 vlc-plugin-base vlc-plugin-video-output libqt6svg6 ffmpeg)
# The install and package tests: the desktop's validators, dpkg-dev and file for
# CPack's Debian packages, lintian for their checks, xprop (x11-utils) to read the window.
# The Wayland tests: weston with Xwayland, and Qt's Wayland platform, which a
# Wayland desktop has and which the program must not end up on.
# The screenshot sharing tests: xclip to read the clipboard as another program
# does, and dbus-daemon for a session bus of the test's own (dbus-run-session).
test_packages=(xvfb xauth xdotool x11-apps x11-utils imagemagick desktop-file-utils appstream dpkg-dev file lintian
    weston xwayland qt6-wayland xclip dbus-daemon)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S "$root" -B "$build_dir" -G Ninja \
        -DSCENORA_SANITIZE="${SCENORA_SANITIZE:-}" >/dev/null
    if [ -n "${SCENORA_TESTS:-}" ]; then
        # Each test program is named after its test.
        local targets
        mapfile -t targets < <(cd "$build_dir" && ctest -N -R "$SCENORA_TESTS" | sed -n 's/^ *Test *#[0-9]*: //p')
        [ ${#targets[@]} -gt 0 ] || { echo "no test matches $SCENORA_TESTS" >&2; exit 2; }
        cmake --build "$build_dir" --target "${targets[@]}"
    else
        cmake --build "$build_dir"
    fi
}

case "$mode" in
    build)
        install_missing "${build_packages[@]}" "${run_packages[@]}"
        build
        ;;
    run)
        install_missing "${build_packages[@]}" "${run_packages[@]}"
        build
        "$root/scripts/make-samples.sh" "$build_dir/bin"
        exec "$build_dir/bin/scenora"
        ;;
    test)
        install_missing "${build_packages[@]}" "${run_packages[@]}" "${test_packages[@]}"
        build
        cd "$build_dir"
        ctest_args=(--output-on-failure)
        [ -z "${SCENORA_TESTS:-}" ] || ctest_args+=(-R "$SCENORA_TESTS")
        if [ -z "${DISPLAY:-}" ]; then
            exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest "${ctest_args[@]}"
        fi
        exec ctest "${ctest_args[@]}"
        ;;
    *)
        echo "usage: $0 run|test|build" >&2
        exit 2
        ;;
esac
