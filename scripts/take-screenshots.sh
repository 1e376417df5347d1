#!/usr/bin/env bash
# Takes the README's screenshots of the window under Xvfb: the main window
# with a folder listed (memos visible) and the settings dialog, into docs/.
#
# Usage: scripts/take-screenshots.sh [QUILLON]   (default: build/release/app/quillon)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
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
echo "Screenshots in $root/docs: main-window.png, settings-dialog.png"
