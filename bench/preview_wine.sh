#!/usr/bin/env bash
# Times the preview of quillon.exe under Wine on Xvfb, as a drafter meets
# it: the largest real drawing of ../shared/jww-samples listed beside a
# small one, the small one highlighted, then the large one; from the list's
# notice of the highlight to the large one's picture painted in the pane
# (loaded off the window's thread, its retyped texts marked, drawn through
# GDI and copied to the screen). The window measures this itself (the
# pane's record, read by window_probe painted): a probe started per poll
# would add its own start to every figure. Aim: within 100 ms.
#
#   bench/preview_wine.sh [WINDOWS_BUILD_DIR]
#
# WINDOWS_BUILD_DIR holds app/win32/quillon.exe and tests/window_probe.exe
# (default: build/windows/core, as scripts/windows-tests.sh builds it).
# Options through the environment: ROUNDS (7, the median and the largest
# are reported), QUILLON_SAMPLES, WINEPREFIX (default:
# build/windows/wineprefix).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
wbuild="${1:-$repo/build/windows/core}"
quillon="$wbuild/app/win32/quillon.exe"
QW_PROBE="$wbuild/tests/window_probe.exe"
samples="${QUILLON_SAMPLES:-$repo/../shared/jww-samples}"
rounds="${ROUNDS:-7}"
mapfile -t drawings < <(ls -S "$samples"/*.[jJ][wW][wW] 2>/dev/null || true)
if ((${#drawings[@]} < 2)); then
  echo "preview_wine: skipped, no real drawings in $samples"
  exit 0
fi
largest="${drawings[0]}" small="${drawings[-1]}"
# shellcheck source=../scripts/lib/xvfb_driver.sh
source "$repo/scripts/lib/xvfb_driver.sh"
# shellcheck source=../scripts/lib/wine_driver.sh
source "$repo/scripts/lib/wine_driver.sh"
# shellcheck source=corpus_lib.sh
source "$repo/bench/corpus_lib.sh"
require_built preview_wine "$quillon" "$QW_PROBE"
export LC_ALL=C.UTF-8

scratch="$(mktemp -d "${TMPDIR:-/tmp}/quillon-preview-wine-XXXXXX")"
trap 'kill "$QX_APP_PID" 2>/dev/null || true; qx_stop; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/program" "$scratch/drawings"
cp "$quillon" "$scratch/program/quillon.exe"
cp "$largest" "$scratch/drawings/1-$(basename "$largest")"
cp "$small" "$scratch/drawings/2-$(basename "$small")"
{
  printf '[Form]\nF1_X=0\nF1_Y=0\nF1_W=1200\nF1_H=800\n[Comp]\nF1P2=560\n[Set]\nFTYP=2\n'
  retyping_settings
} >"$scratch/program/quillon.ini"

qw_prepare_prefix "${WINEPREFIX:-$repo/build/windows/wineprefix}"
if [ -n "${QUILLON_WINE_DISPLAY:-}" ]; then export DISPLAY="$QUILLON_WINE_DISPLAY"; else qx_start_display; fi
wine cmd /c exit </dev/null >/dev/null 2>&1
cat "$scratch"/drawings/* >/dev/null # from a warm cache, as a drawing once listed is

qw_start_quillon "$scratch/program/quillon.exe"
qx_keys "$QX_MAIN" alt+f s
chooser="$(qx_wait_window '^検索フォルダの指定$')"
qx_type "$chooser" "$(winepath -w "$scratch/drawings")"
qx_keys "$chooser" Return
deadline=$((SECONDS + 60)) clicked=0
until [[ "$(qw_text StatusBar1)" == *" Files  パス名「"* ]]; do
  if ((SECONDS >= clicked + 5)); then
    qw_click_control TreeView1 40 9
    clicked=$SECONDS
  fi
  ((SECONDS < deadline)) || { echo "preview_wine: the folder was never listed" >&2; exit 1; }
  sleep 0.5
done

# Rows 24 pixels high under the header: the large drawing is the first row.
row_y() { echo $((20 + 24 * ($1 - 1) + 12)); }
painted() {  # waits for the picture of the last highlight; prints its milliseconds
  local deadline=$((SECONDS + 30)) ms
  until ms="$(wine "$QW_PROBE" painted 2>/dev/null | tr -d '\r')" && [ -n "$ms" ]; do
    ((SECONDS < deadline)) || { echo "preview_wine: no picture painted" >&2; exit 1; }
    sleep 0.2
  done
  echo "$ms"
}
times=()
for ((r = 1; r <= rounds; r++)); do
  qw_click_control StringGrid1 60 "$(row_y 2)"
  painted >/dev/null
  qw_click_control StringGrid1 60 "$(row_y 1)"
  times+=("$(painted)")
done
sorted="$(printf '%s\n' "${times[@]}" | sort -g)"
echo "preview_wine: $(basename "$largest") ($(stat -c %s "$largest") bytes), pane 560 px wide:" \
  "highlight to picture painted, median $(median "${times[@]}") ms, largest $(tail -1 <<<"$sorted") ms" \
  "of $rounds rounds ($(tr '\n' ' ' <<<"$sorted" | sed 's/ $//')) [aim: within 100 ms]"
