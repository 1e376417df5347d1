#!/usr/bin/env bash
# Takes the README's screenshots of quillon.exe under Wine on Xvfb: the main
# window at its first start, with a folder listed (memos visible), after the
# splitter was dragged far right and back, the settings dialog, the preview
# of a real drawing with the texts that settings would retype marked, zoomed
# in by the wheel, and the failure list at 192 dpi, into docs/windows-*.png.
#
# Usage: scripts/take-windows-screenshots.sh [QUILLON_EXE [WINDOW_PROBE_EXE]]
#        (default: the cross-build of scripts/windows-tests.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/windows/core"
quillon="${1:-$build/app/win32/quillon.exe}"
QW_PROBE="${2:-$build/tests/window_probe.exe}"
for program in "$quillon" "$QW_PROBE"; do
  [ -f "$program" ] || { echo "no $program: run scripts/windows-tests.sh first" >&2; exit 2; }
done
# shellcheck source=lib/xvfb_driver.sh
source "$root/scripts/lib/xvfb_driver.sh"
# shellcheck source=lib/wine_driver.sh
source "$root/scripts/lib/wine_driver.sh"
# shellcheck source=../bench/corpus_lib.sh
source "$root/bench/corpus_lib.sh"
export LC_ALL=C.UTF-8

# A fixed place, so that the paths shown are the same on every run.
work="${TMPDIR:-/tmp}/quillon-windows-demo"
rm -rf "$work"
trap 'qx_stop; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/drawings/図面" "$work/out"
cp "$quillon" "$work/program/quillon.exe"
cp "$root/examples/PLAN.jww" "$work/drawings/図面/"
samples="${QUILLON_SAMPLES:-$root/../shared/jww-samples}"
if [ -d "$samples" ]; then cp "$samples"/*.jww "$work/drawings/図面/"; fi
cat >"$work/program/quillon.ini" <<'INI'
[Form]
F1_X=0
F1_Y=0
F1_W=1180
F1_H=560
F2_X=0
F2_Y=0
F2_W=748
F2_H=502
[Comp]
F1P1=200
F1P2=300
F1S0=190
F1S1=72
F1S2=44
F1S3=320
F1S4=150
F1S5=40
[Set]
FTYP=2
[JWW]
C1=0.5
C2=0.5
C3=0.5
C4=0.5
C21=0.2
C22=0.2
C41=1
C42=1
[JWC]
C1=1
C11=1
INI

qw_prepare_prefix "${WINEPREFIX:-$root/build/windows/wineprefix}"
# The display of scripts/windows-tests.sh when it runs this, else one of its own.
if [ -n "${QUILLON_WINE_DISPLAY:-}" ]; then export DISPLAY="$QUILLON_WINE_DISPLAY"; else qx_start_display; fi
qw_start_quillon "$work/program/quillon.exe"
mkdir -p "$root/docs"
import -window "$QX_MAIN" "$root/docs/windows-first-start.png"
qx_keys "$QX_MAIN" alt+f s
chooser="$(qx_wait_window '^検索フォルダの指定$')"
qx_type "$chooser" "$(winepath -w "$work/drawings")"
qx_keys "$chooser" Return
sleep 2
qw_click_control TreeView1 60 27   # the folder 図面 below the root
sleep 1
qx_keys "$QX_MAIN" alt+f h
chooser="$(qx_wait_window '^保存先フォルダの指定$')"
qx_type "$chooser" "$(winepath -w "$work/out")"
qx_keys "$chooser" Return
sleep 1
qw_click_control StringGrid1 300 32   # rows 1 to 3 of the list
sleep 1
xdotool keydown shift
qw_click_control StringGrid1 300 80
xdotool keyup shift
sleep 2   # the first row's preview painted
import -window "$QX_MAIN" "$root/docs/windows-main-window.png"
qx_keys "$QX_MAIN" alt+s 1
dialog="$(qx_wait_window '^変換設定$')"
sleep 1
import -window "$dialog" "$root/docs/windows-settings-dialog.png"
qx_keys "$dialog" Escape
wait_gone() { while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do sleep 0.3; done; }
wait_gone '^変換設定$'

# The splitter dragged far right and back.
read -r sx sy _ _ < <(wine "$QW_PROBE" rect Splitter1 2>/dev/null | tr -d '\r')
xdotool mousemove "$((sx + 1))" "$((sy + 100))" mousedown 1
for x in 300 500 700 900 700 500 300; do xdotool mousemove "$((sx + x - 200))" "$((sy + 100))"; sleep 0.1; done
xdotool mousemove "$((sx + 1))" "$((sy + 100))" mouseup 1
sleep 1
import -window "$QX_MAIN" "$root/docs/windows-splitter-drag.png"
kill "$QX_APP_PID" 2>/dev/null || true
wait "$QX_APP_PID" 2>/dev/null || true
wait_gone '^Quillon Ver'  # else the probe may find the old window

# The preview of a real drawing under settings that retype texts: the
# drawing highlighted, its picture painted, the part with the marked texts
# zoomed in by the wheel at the pointer. Without the real drawings, the
# example drawing, fitted.
cp "$work/program/quillon.ini" "$work/program/quillon.ini.first"
{
  printf '[Form]\nF1_X=0\nF1_Y=0\nF1_W=1270\nF1_H=640\n[Comp]\nF1P1=140\nF1P2=520\n'
  printf 'F1S0=140\nF1S1=60\nF1S2=40\nF1S3=90\nF1S4=136\nF1S5=30\nF1S6=72\n[Set]\nFTYP=2\n'
  # The folder listed last time is listed again at the start.
  printf 'FLD1=%s\\\nFLD3=%s\\\n' "$(winepath -w "$work/drawings")" "$(winepath -w "$work/drawings/図面")"
  retyping_settings
} >"$work/program/quillon.ini"
qw_start_quillon "$work/program/quillon.exe"
shown=PLAN.jww
[ -f "$work/drawings/図面/Test5.jww" ] && shown=Test5.jww
row=
for _ in $(seq 50); do
  row="$(wine "$QW_PROBE" rows 2>/dev/null | tr -d '\r' | cut -f1 | grep -nx "$shown" | cut -d: -f1 || true)"
  [ -n "$row" ] && break
  sleep 0.3
done
[ -n "$row" ] || { echo "the folder of $shown was not listed" >&2; exit 1; }
sleep 2  # the "変換対象" column filled
qw_click_control StringGrid1 60 $((20 + 24 * (row - 1) + 12))
for _ in $(seq 100); do wine "$QW_PROBE" painted >/dev/null 2>&1 && break; sleep 0.3; done
if [ "$shown" = Test5.jww ]; then
  # The right-hand building, where the retyped texts are.
  read -r px py pw ph < <(wine "$QW_PROBE" rect Preview1 2>/dev/null | tr -d '\r')
  xdotool mousemove "$((px + pw * 71 / 100))" "$((py + ph * 42 / 100))"
  sleep 0.3
  for _ in 1 2 3 4 5 6 7 8; do xdotool click 4; sleep 0.3; done
fi
sleep 1
import -window "$QX_MAIN" "$root/docs/windows-preview.png"
kill "$QX_APP_PID" 2>/dev/null || true
wait "$QX_APP_PID" 2>/dev/null || true
wait_gone '^Quillon Ver'
mv "$work/program/quillon.ini.first" "$work/program/quillon.ini"

# The failure list at 192 dpi: a damaged drawing, a drawing that is not
# one, and a file of another kind, all highlighted and converted.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
sleep 1
trap 'wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1;
  qx_stop; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/broken"
cp "$root/examples/PLAN.jww" "$work/broken/"
head -c 3000 "$root/examples/PLAN.jww" >"$work/broken/途中で切れた図面.jww"
echo "not a drawing" >"$work/broken/メモ.jww"
echo "notes" >"$work/broken/readme.txt"
sed -i "s/^FTYP=2\$/FTYP=0\nFLD2=$(winepath -w "$work/out" | sed 's/\\/\\\\/g')\\\\/" "$work/program/quillon.ini"
qw_start_quillon "$work/program/quillon.exe"
qx_keys "$QX_MAIN" alt+f s
chooser="$(qx_wait_window '^検索フォルダの指定$')"
qx_type "$chooser" "$(winepath -w "$work/broken")"
qx_keys "$chooser" Return
sleep 2
qw_click_control TreeView1 60 16
sleep 1
qw_click_control StringGrid1 100 60
qx_keys "$QX_MAIN" ctrl+a
qx_keys "$QX_MAIN" ctrl+Return
qx_keys "$(qx_wait_window '^Quillon$')" Return
failures="$(qx_wait_window '^変換できなかったファイル$')"
sleep 1
import -window "$failures" "$root/docs/windows-failures-192dpi.png"
qx_keys "$failures" Escape
echo "Screenshots in $root/docs: windows-first-start.png, windows-main-window.png," \
  "windows-settings-dialog.png, windows-splitter-drag.png, windows-preview.png," \
  "windows-failures-192dpi.png"
