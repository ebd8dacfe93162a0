#!/usr/bin/env bash
# Installs Scenora into a temporary DESTDIR, checks the installed desktop entry,
# icon and AppStream metadata (with the desktop's own validators among others),
# then starts the installed program on the X server with a temporary HOME and
# looks at its window.
# Usage: tst_Install.sh BUILD_DIR DESKTOP_ID VERSION
set -euo pipefail
build=$1 id=$2 version=$3

work=$(mktemp -d)
manifest=$build/install_manifest.txt
[ -e "$manifest" ] && keep_manifest=1 || keep_manifest=0
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    [ "$keep_manifest" = 1 ] || rm -f "$manifest"
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" \
    || { cat "$work/install.log"; fail "cmake --install"; }
usr=$work/root/usr
desktop=$usr/share/applications/$id.desktop
metainfo=$usr/share/metainfo/$id.metainfo.xml

# Everything lands below the prefix, and these files are there.
outside=$(cd "$work/root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "installed outside /usr: $outside"
[ -x "$usr/bin/scenora" ] || fail "no executable bin/scenora"
for f in "$desktop" "$metainfo" "$usr/share/icons/hicolor/scalable/apps/$id.svg" \
         "$usr/share/icons/hicolor/48x48/apps/$id.png" "$usr/share/icons/hicolor/256x256/apps/$id.png"; do
    [ -f "$f" ] || fail "not installed: ${f#"$work/root"}"
done

# The validators pass without a single remark.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate remarks: $out"
appstreamcli validate --no-net --pedantic "$metainfo" >"$work/validate.log" 2>&1 \
    || { cat "$work/validate.log"; fail "appstreamcli validate"; }

# The desktop entry starts the installed program without arguments under the
# desktop id's icon, in the video categories, and claims no file types.
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = scenora ] || fail "Exec is '$(key Exec)'"
[ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)'"
[ "$(key Categories)" = "AudioVideo;Video;Player;" ] || fail "Categories are '$(key Categories)'"
[ -n "$(key GenericName)" ] && [ -n "$(key Comment)" ] || fail "GenericName or Comment missing"
grep -q '^MimeType=' "$desktop" && fail "the entry claims file types"

# The metadata names the same id and desktop entry, and this release.
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launchable"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

# The fixed-size icons have their sizes and show the film strip's amber.
amber_pixels() { convert "$1" -alpha off -fuzz 2% -fill black +opaque '#F2B134' -fill white -opaque '#F2B134' \
                     -format '%[fx:round(mean*w*h)]' info:; }
for size in 48 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "$size icon is $(identify -format '%wx%h' "$png")"
    # The mark covers about a third of the square.
    amber=$(amber_pixels "$png")
    [ "$amber" -gt $((size * size / 5)) ] || fail "$size icon shows $amber amber pixels"
done

# The installed program starts on the X server with a fresh home and needs
# nothing but what was installed.
[ -n "${DISPLAY:-}" ] || fail "no X server (DISPLAY is not set)"
home=$work/home
mkdir -p "$home"
(cd "$work" && exec env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_CACHE_HOME="$home/.cache" "$usr/bin/scenora" >"$work/run.log" 2>&1) &
pid=$!
title="Scenora V$version"
win=
for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || { cat "$work/run.log"; fail "the installed program ended"; }
    win=$(xdotool search --onlyvisible --pid "$pid" --name "^$title\$" 2>/dev/null | head -n 1) || true
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || fail "no window named '$title' within 60 s"

# Window managers match the window to the entry by its class.
wm_class=$(xprop -id "$win" WM_CLASS)
grep -q "\"$(key StartupWMClass)\"" <<<"$wm_class" || fail "window class $wm_class, entry says $(key StartupWMClass)"
# The window carries the program's icon: its 64-pixel picture (a list of
# width, height and ARGB pixels per size) shows the film strip's amber.
icon_amber=$(xprop -id "$win" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= *//' | tr ',' '\n' | awk '
    BEGIN { state = 0 }
    { v = $1 + 0
      if (state == 0) { w = v; state = 1; next }
      if (state == 1) { n = w * v; state = 2; next }
      if (w == 64 && v % 16777216 == 15905076) amber++
      if (--n == 0) state = 0 }
    END { print amber + 0 }')
[ "$icon_amber" -gt $((64 * 64 / 5)) ] || fail "the window's icon shows $icon_amber amber pixels"

# The banner at the top of the window shows its film strip, once painted.
banner_amber() {
    import -window "$win" "$work/window.png" 2>/dev/null || { echo 0; return; }
    convert "$work/window.png" -crop x40+0+0 +repage "$work/banner.png"
    amber_pixels "$work/banner.png"
}
for _ in $(seq 300); do
    [ "$(banner_amber)" -gt 500 ] && break
    sleep 0.2
done
[ "$(banner_amber)" -gt 500 ] || fail "the window shows no banner"

# The installed program made its folders in the temporary home only.
[ -d "$home/.local/share/Brivant/Scenora" ] || fail "no application folder in the temporary home"
echo "installed files valid; installed program shows window $win"
