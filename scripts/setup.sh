#!/usr/bin/env bash
# Set-up for a Debian 12 machine, safe to run again and again:
#   scripts/setup.sh run    install what running needs, build, start Scenora
#   scripts/setup.sh test   install what testing needs, build, run the whole test suite
#   scripts/setup.sh build  install what building needs and build only
# Environment: BUILD_DIR (default build), SCENORA_SANITIZE (empty, address or thread).
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

build_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libvlc-dev libgl-dev libxcb1-dev libpng-dev zlib1g-dev)
run_packages=(libvlc5 vlc-plugin-base vlc-plugin-video-output libqt6svg6 ffmpeg)
# The install and package tests: the desktop's validators, dpkg-dev and file for
# CPack's Debian packages, lintian for their checks, xprop (x11-utils) to read the window.
test_packages=(xvfb xauth xdotool x11-apps x11-utils imagemagick desktop-file-utils appstream dpkg-dev file lintian)

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
    cmake --build "$build_dir"
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
        if [ -z "${DISPLAY:-}" ]; then
            exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure
        fi
        exec ctest --output-on-failure
        ;;
    *)
        echo "usage: $0 run|test|build" >&2
        exit 2
        ;;
esac
