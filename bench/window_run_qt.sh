#!/usr/bin/env bash
# Times a real run of the Qt window, shown under Xvfb and painting (list the
# folder, Ctrl+A, "変換", the confirmation answered Yes) against
# `quillon-cli convert` of the same folder with the same settings file, and
# checks that both write the same bytes. Aim: the window's run takes at most
# 1.1 times as long as the command's.
#
#   bench/window_run_qt.sh [BUILD_DIR]
#
# BUILD_DIR holds cli/quillon-cli, bench/bench_drawing and
# bench/bench_window_run_qt (default: build/release under the repository). The
# corpus is made as bench/convert_corpus.sh makes it: copies of the real
# drawings (QUILLON_SAMPLES, default ../shared/jww-samples beside the
# repository; optional) cycled under distinct names, filled up with
# synthetic drawings. Options through the environment: CORPUS_FILES (2000),
# CORPUS_MB (160), ROUNDS (3, the median is reported).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$repo/build/release}"
cli="$build/cli/quillon-cli"
generator="$build/bench/bench_drawing"
window="$build/bench/bench_window_run_qt"
samples="${QUILLON_SAMPLES:-$repo/../shared/jww-samples}"
files="${CORPUS_FILES:-2000}"
total_mb="${CORPUS_MB:-160}"
rounds="${ROUNDS:-3}"

# shellcheck source=../scripts/lib/xvfb_driver.sh
source "$repo/scripts/lib/xvfb_driver.sh"
# shellcheck source=corpus_lib.sh
source "$repo/bench/corpus_lib.sh"
require_built window_run_qt "$cli" "$generator" "$window"
scratch_with_display window-run
qx_start_display

make_corpus "$corpus" "$files" "$total_mb" "$samples" "$generator"

# Settings that retype texts, the same file for both.
retyping_settings >"$scratch/program/quillon.ini"
cp "$scratch/program/quillon.ini" "$scratch/settings.ini"
cat "$corpus"/* >/dev/null # both runs start from a warm cache

command_run() {
  "$cli" convert --dest "$scratch/cli-out" --settings "$scratch/settings.ini" "$corpus"
}
# The window's own figure: from the confirmation to the completion text
# painted (its first line; the completion text is its last).
window_run() {
  "$window" "$scratch/program" "$corpus" "$scratch/window-out" >"$scratch/window.log"
  run_ns=$(awk 'NR == 1 { printf "%.0f", $1 * 1e9 }' "$scratch/window.log")
}
time_rounds "$rounds" window_run_qt "quillon-cli convert" "window run"
