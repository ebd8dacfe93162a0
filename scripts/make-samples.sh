#!/usr/bin/env bash
# Gives a first run something to show: when the default media folder (../../MP4/
# beside the executable) holds no AVI file, writes three short sample videos there.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
media_dir=$(realpath -m "$bin_dir/../../MP4")
mkdir -p "$media_dir"
shopt -s nullglob nocaseglob
existing=("$media_dir"/*.avi)
[ ${#existing[@]} -gt 0 ] && exit 0
command -v ffmpeg >/dev/null || { echo "ffmpeg missing: no sample videos written" >&2; exit 0; }
make() { ffmpeg -hide_banner -loglevel error -y -f lavfi -i "$1" -c:v mjpeg -q:v 3 "$media_dir/$2"; }
make "testsrc2=size=640x360:rate=25:duration=12" "Sample testcard.avi"
make "smptebars=size=320x240:rate=25:duration=6" "bars.avi"
make "mandelbrot=size=480x270:rate=25,trim=duration=20" "Zoom café.avi"
echo "Sample videos written to $media_dir"
