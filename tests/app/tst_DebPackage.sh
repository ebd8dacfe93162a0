#!/usr/bin/env bash
# Builds the Debian package from the existing build with CPack in a temporary
# folder and checks its fields, its Depends line and its contents with
# dpkg-deb, then lets lintian look for errors when lintian is installed.
# Usage: tst_DebPackage.sh BUILD_DIR DESKTOP_ID VERSION
set -euo pipefail
build=$1 id=$2 version=$3

work=$(mktemp -d)
manifest=$build/install_manifest.txt
[ -e "$manifest" ] && keep_manifest=1 || keep_manifest=0
cleanup() {
    [ "$keep_manifest" = 1 ] || rm -f "$manifest"
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack -G DEB"; }
deb=$work/scenora_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work"; fail "no package $(basename "$deb")"; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = scenora ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
grep -q '^.\+ <.\+@.\+>$' <<<"$(field Maintainer)" || fail "Maintainer is '$(field Maintainer)'"
[ "$(field Description | wc -l)" -ge 2 ] || fail "Description has no long text: $(field Description)"

# Depends: what dpkg-shlibdeps found in the program, plus what it opens at run time.
depends=$(field Depends)
tr ',' '\n' <<<"$depends" | sed 's/^ *//' >"$work/depends"
for p in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6dbus6 \
         libvlc5 vlc-plugin-base vlc-plugin-video-output qt6-qpa-plugins; do
    grep -q "^$p\( (\|\$\)" "$work/depends" || fail "Depends lacks $p: $depends"
done
# The engine is never linked: nothing but the run-time list names it.
[ "$(grep -c '^libvlc' "$work/depends")" = 1 ] || fail "Depends names the engine more than once: $depends"

dpkg-deb --contents "$deb" | awk '{print $6}' >"$work/contents"
for f in ./usr/bin/scenora ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/icons/hicolor/48x48/apps/$id.png \
         ./usr/share/icons/hicolor/256x256/apps/$id.png \
         ./usr/share/man/man1/scenora.1.gz ./usr/share/doc/scenora/copyright ./usr/share/doc/scenora/changelog.gz; do
    grep -qxF "$f" "$work/contents" || fail "package lacks $f"
done
grep -v '^\./usr/' "$work/contents" | grep -vx '\./' && fail "package holds files outside /usr"
# Nothing of the build or the tests comes along.
grep -E 'tst_|bench_|FakeLibVlc|icon_render' "$work/contents" && fail "package holds build or test files"

if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian reports errors"; }
    cat "$work/lintian.log"
else
    echo "lintian is not installed: its check is skipped"
fi
echo "package $(basename "$deb") checked"
