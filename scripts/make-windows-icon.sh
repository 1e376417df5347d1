#!/usr/bin/env bash
# Draws the program's icon, a yellow folder, at 16, 32 and 48 pixels into
# app/win32/quillon.ico (committed; rerun only to change the picture).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for size in 16 32 48; do
  s=$((size))
  # The tab, then the body, in an outline a shade darker.
  convert -size "${s}x${s}" xc:none -stroke '#a07800' -strokewidth 1 \
    -fill '#f0c020' -draw "roundrectangle 1,$((s * 2 / 10)) $((s * 45 / 100)),$((s * 4 / 10)) 1,1" \
    -fill '#ffd84a' -draw "roundrectangle 1,$((s * 3 / 10)) $((s - 2)),$((s - 3)) 1,1" \
    "PNG32:$work/folder-$size.png"
done
convert "$work/folder-16.png" "$work/folder-32.png" "$work/folder-48.png" "$root/app/win32/quillon.ico"
echo "$root/app/win32/quillon.ico"
