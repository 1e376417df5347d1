#!/usr/bin/env bash
# Times a real run of quillon.exe under Wine on Xvfb, as a drafter does it:
# list the folder, highlight every row (Ctrl+A), "変換", answer the
# confirmation; from that answer to the last converted file in place.
# Against it: `quillon-cli.exe convert` under Wine of the same folder with
# the same settings (the whole command, Wine's start included). Both must
# write the same bytes. Aim: the window's run at most 1.1 times the command's.
#
#   bench/window_run_wine.sh [WINDOWS_BUILD_DIR [LINUX_BUILD_DIR]]
#
# WINDOWS_BUILD_DIR holds app/win32/quillon.exe, cli/quillon-cli.exe and
# tests/window_probe.exe (default: build/windows/core, as
# scripts/windows-tests.sh builds it); LINUX_BUILD_DIR holds
# bench/bench_drawing, which makes the corpus (default: build/release). The
# corpus is made as bench/convert_corpus.sh makes it. Options through the
# environment: CORPUS_FILES (2000), CORPUS_MB (160), ROUNDS (3, the median
# is reported), WINEPREFIX (default: build/windows/wineprefix).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
wbuild="${1:-$repo/build/windows/core}"
lbuild="${2:-$repo/build/release}"
quillon="$wbuild/app/win32/quillon.exe"
cli="$wbuild/cli/quillon-cli.exe"
QW_PROBE="$wbuild/tests/window_probe.exe"
generator="$lbuild/bench/bench_drawing"
samples="${QUILLON_SAMPLES:-$repo/../shared/jww-samples}"
files="${CORPUS_FILES:-2000}"
total_mb="${CORPUS_MB:-160}"
rounds="${ROUNDS:-3}"
# shellcheck source=../scripts/lib/xvfb_driver.sh
source "$repo/scripts/lib/xvfb_driver.sh"
# shellcheck source=../scripts/lib/wine_driver.sh
source "$repo/scripts/lib/wine_driver.sh"
# shellcheck source=corpus_lib.sh
source "$repo/bench/corpus_lib.sh"
require_built window_run_wine "$quillon" "$cli" "$QW_PROBE" "$generator"
export LC_ALL=C.UTF-8

scratch_with_display window-run-wine
cp "$quillon" "$scratch/program/quillon.exe"

make_corpus "$corpus" "$files" "$total_mb" "$samples" "$generator"
count=$corpus_count

qw_prepare_prefix "${WINEPREFIX:-$repo/build/windows/wineprefix}"
if [ -n "${QUILLON_WINE_DISPLAY:-}" ]; then export DISPLAY="$QUILLON_WINE_DISPLAY"; else qx_start_display; fi
wine cmd /c exit </dev/null >/dev/null 2>&1

# Settings that retype texts, the same for both; the window's file also
# names the destination folder, which the run recreates each round.
retyping_settings >"$scratch/settings.ini"
cat "$corpus"/* >/dev/null # every run starts from a warm cache

# Counted without starting a process, which would take the run's processor.
in_place() {  # sets placed
  local files=("$scratch"/window-out/*.[jJ][wW][wW])
  placed=${#files[@]}
  [[ -e "${files[0]}" ]] || placed=0
}
window_run() {  # sets run_ns: the nanoseconds from the confirmation to the last file in place
  {
    printf '[Form]\nF1_X=0\nF1_Y=0\nF1_W=1000\nF1_H=700\n[Set]\nFLD2=%s\\\n' \
      "$(winepath -w "$scratch/window-out")"
    retyping_settings
  } >"$scratch/program/quillon.ini"
  qw_start_quillon "$scratch/program/quillon.exe"
  until [[ "$(qw_text StatusBar1)" == *"検索フォルダを指定して下さい。"* ]]; do sleep 0.3; done
  xdotool mousemove 1270 890 # off the menu, which would open what lies under the pointer
  qx_keys "$QX_MAIN" alt+f s
  local chooser
  chooser="$(qx_wait_window '^検索フォルダの指定$')"
  qx_type "$chooser" "$(winepath -w "$corpus")"
  qx_keys "$chooser" Return
  sleep 1
  local deadline=$((SECONDS + ${RUN_TIMEOUT:-300})) clicked=0
  until [[ "$(qw_text StatusBar1)" == *" Files  パス名「"* ]]; do
    # The root lists the corpus; a click while the tree was still being
    # filled is made again.
    if ((SECONDS >= clicked + 5)); then
      qw_click_control TreeView1 40 9
      clicked=$SECONDS
    fi
    ((SECONDS < deadline)) || { echo "window_run_wine: the folder was never listed (status: $(qw_text StatusBar1))" >&2; [ -z "${QUILLON_FAILURE_SHOT:-}" ] || import -window root "$QUILLON_FAILURE_SHOT"; exit 1; }
    sleep 0.5
  done
  qw_click_control StringGrid1 60 30
  qx_keys "$QX_MAIN" ctrl+a
  qw_click_control Button4 37 22 # 変換
  local box
  box="$(qx_wait_window '^Quillon$')"
  qx_focus "$box"
  local t0 t1
  t0=$(now)
  xdotool key Return # 変換を開始します。よろしいですか？ Yes
  placed=0
  until ((placed >= count)); do
    in_place
    ((SECONDS < deadline)) || { echo "window_run_wine: only $placed of $count files" >&2; exit 1; }
    sleep 0.05
  done
  t1=$(now)
  until [[ "$(qw_text StatusBar1)" == *"変換作業を"* ]]; do sleep 0.3; done
  qw_text StatusBar1 >"$scratch/window.log"
  kill "$QX_APP_PID" 2>/dev/null || true
  wait "$QX_APP_PID" 2>/dev/null || true
  run_ns=$((t1 - t0))
}

command_run() {
  wine "$cli" convert --dest "$(winepath -w "$scratch/cli-out")" \
    --settings "$(winepath -w "$scratch/settings.ini")" "$(winepath -w "$corpus")"
}
time_rounds "$rounds" window_run_wine "quillon-cli.exe convert" "quillon.exe run"
