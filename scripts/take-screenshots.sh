#!/usr/bin/env bash
# Takes the README's screenshots of the window under Xvfb: the main window
# with a folder listed (memos visible), the settings dialog and the question
# before a run is taken back, into docs/.
# With --review DIR it takes the shots to look at after a change of the
# window instead, into DIR: the first start (no settings file, built-in
# column widths), the window after its splitter was dragged far right and
# back, and the failure list at 192 DPI (QT_SCALE_FACTOR=2).
#
# Usage: scripts/take-screenshots.sh [--review DIR] [QUILLON]
#        (default QUILLON: build/release/app/quillon)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
review=""
if [ "${1:-}" = "--review" ]; then
  review="$2"
  shift 2
fi
quillon="${1:-$root/build/release/app/quillon}"
[ -x "$quillon" ] || { echo "no $quillon: build the window first (scripts/run-tests.sh)" >&2; exit 2; }
# shellcheck source=lib/xvfb_driver.sh
source "$root/scripts/lib/xvfb_driver.sh"

# A fixed place, so that the paths shown are the same on every run.
work="${TMPDIR:-/tmp}/quillon-demo"
rm -rf "$work"
trap 'qx_stop; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/drawings/図面" "$work/out"
cp "$quillon" "$work/program/quillon"
cp "$root/examples/PLAN.jww" "$work/drawings/図面/"
samples="$root/../shared/jww-samples"
if [ -d "$samples" ]; then cp "$samples"/*.jww "$work/drawings/図面/"; fi

if [ -n "$review" ]; then
  mkdir -p "$review"
  review="$(cd "$review" && pwd)"
  qx_start_display
  # The first start: no settings file, every size built in.
  qx_start_quillon "$work/program/quillon"
  qx_keys "$QX_MAIN" alt+f s
  qx_choose_folder "検索フォルダ" "$work/drawings"
  qx_click "$QX_MAIN" 70 64          # the folder 図面 below the root
  sleep 0.5
  import -window "$QX_MAIN" "$review/first-start.png"
  # The splitter dragged far right and back.
  xdotool mousemove --window "$QX_MAIN" 161 200 mousedown 1
  for x in 300 450 600 640 500 300 240; do
    xdotool mousemove --window "$QX_MAIN" "$x" 200
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.5
  import -window "$QX_MAIN" "$review/after-splitter-drag.png"
  kill "$QX_APP_PID"
  wait "$QX_APP_PID" 2>/dev/null || true

  # The failure list at 192 DPI: a damaged drawing and a file that is not one.
  head -c 3000 "$root/examples/PLAN.jww" >"$work/drawings/図面/DAMAGED.jww"
  echo "not a drawing" >"$work/drawings/図面/NOTES.jww"
  rm -f "$work/program/quillon.ini"
  QT_SCALE_FACTOR=2 qx_start_quillon "$work/program/quillon"
  qx_keys "$QX_MAIN" alt+f s
  qx_choose_folder "検索フォルダ" "$work/drawings"
  qx_click "$QX_MAIN" 140 128        # 図面, at twice the size
  qx_click "$QX_MAIN" 420 188        # the list's first row
  qx_keys "$QX_MAIN" ctrl+a
  qx_keys "$QX_MAIN" alt+f h
  qx_choose_folder "保存先フォルダ" "$work/out"
  qx_keys "$QX_MAIN" ctrl+Return
  qx_keys "$(qx_wait_window '^Quillon$')" Return   # the confirmation: Yes
  sleep 2
  import -window "$(qx_wait_window '^Quillon$')" "$review/failure-list-192dpi.png"
  echo "Screenshots in $review: first-start.png, after-splitter-drag.png, failure-list-192dpi.png"
  exit 0
fi
cat >"$work/program/quillon.ini" <<'INI'
[Form]
F1_X=0
F1_Y=0
F1_W=1040
F1_H=520
F2_X=0
F2_Y=0
F2_W=760
F2_H=520
[Comp]
F1P1=200
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

qx_start_display
qx_start_quillon "$work/program/quillon"
qx_keys "$QX_MAIN" alt+f s
qx_choose_folder "検索フォルダ" "$work/drawings"
qx_click "$QX_MAIN" 70 64          # the folder 図面 below the root
qx_keys "$QX_MAIN" alt+f h
qx_choose_folder "保存先フォルダ" "$work/out"
qx_click "$QX_MAIN" 300 94         # rows 1 to 3 of the list
qx_click "$QX_MAIN" 300 142 shift
sleep 0.5
mkdir -p "$root/docs"
import -window "$QX_MAIN" "$root/docs/main-window.png"
qx_keys "$QX_MAIN" alt+s 1
dialog="$(qx_wait_window '^変換設定$')"
sleep 0.5
import -window "$dialog" "$root/docs/settings-dialog.png"
qx_keys "$dialog" Escape
# The three rows converted, then the question of taking that run back.
qx_keys "$QX_MAIN" ctrl+Return
qx_keys "$(qx_wait_window '^Quillon$')" Return   # the confirmation: Yes
sleep 2
qx_keys "$QX_MAIN" alt+f u
box="$(qx_wait_window '^Quillon$')"
sleep 0.5
import -window "$box" "$root/docs/undo-question.png"
qx_keys "$box" Escape
kill "$QX_APP_PID"
wait "$QX_APP_PID" 2>/dev/null || true

# The preview of a real drawing with the texts that settings retyping some
# of them would change marked (bench/corpus_lib.sh's settings).
shots="main-window.png, settings-dialog.png, undo-question.png"
if [ -f "$work/drawings/図面/Test5.jww" ]; then
  # shellcheck source=../bench/corpus_lib.sh
  source "$root/bench/corpus_lib.sh"
  {
    printf '[Form]\nF1_X=0\nF1_Y=0\nF1_W=1270\nF1_H=640\n'
    printf '[Comp]\nF1P1=140\nF1P2=520\nF1S0=150\nF1S1=58\nF1S2=40\nF1S3=96\nF1S4=150\nF1S5=30\nF1S6=64\n'
    printf '[Set]\nFTYP=2\n'
    retyping_settings
  } >"$work/program/quillon.ini"
  qx_start_quillon "$work/program/quillon"
  qx_keys "$QX_MAIN" alt+f s
  qx_choose_folder "検索フォルダ" "$work/drawings"
  qx_click "$QX_MAIN" 70 64        # the folder 図面 below the root
  qx_click "$QX_MAIN" 220 82       # sorted by name: PLAN.jww, Test1 ... Test7, ...
  sleep 1                          # the "変換対象" column filled in
  qx_click "$QX_MAIN" 260 214      # Test5.jww, the sixth row
  sleep 1
  import -window "$QX_MAIN" "$root/docs/preview-window.png"
  # Zoomed in on the marked texts at a corner of the right-hand building.
  xdotool mousemove --window "$QX_MAIN" 1083 302 click --repeat 9 --delay 150 4
  sleep 1
  import -window "$QX_MAIN" "$root/docs/preview-zoomed.png"
  shots="$shots, preview-window.png, preview-zoomed.png"
fi
echo "Screenshots in $root/docs: $shots"
