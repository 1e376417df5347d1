#!/usr/bin/env bash
# Times the Qt window's "変換対象" column, shown under Xvfb: from the listing
# of a folder of drawings to every row's count filled in, against
# `quillon-cli convert --dry-run` of the same folder with the same settings,
# and checks both count the same texts. Aim: at most 2 times the command.
#
#   bench/retype_column_qt.sh [BUILD_DIR]
#
# BUILD_DIR holds cli/quillon-cli, bench/bench_drawing and
# bench/bench_preview_qt (default: build/release under the repository). The
# corpus is bench/convert_corpus.sh's. CORPUS_FILES (2000), CORPUS_MB (160),
# ROUNDS (3, medians).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$repo/build/release}"
cli="$build/cli/quillon-cli"
generator="$build/bench/bench_drawing"
window="$build/bench/bench_preview_qt"
samples="${QUILLON_SAMPLES:-$repo/../shared/jww-samples}"
files="${CORPUS_FILES:-2000}"
total_mb="${CORPUS_MB:-160}"
rounds="${ROUNDS:-3}"

# shellcheck source=../scripts/lib/xvfb_driver.sh
source "$repo/scripts/lib/xvfb_driver.sh"
# shellcheck source=corpus_lib.sh
source "$repo/bench/corpus_lib.sh"
require_built retype_column_qt "$cli" "$generator" "$window"
scratch_with_display column
qx_start_display
make_corpus "$corpus" "$files" "$total_mb" "$samples" "$generator"
retyping_settings >"$scratch/program/quillon.ini"
cat "$corpus"/* >/dev/null # both start from a warm cache

cli_times=() window_times=()
for ((r = 1; r <= rounds; r++)); do
  t0=$(now)
  "$cli" convert --dry-run --json --dest "$scratch/out" --settings "$scratch/program/quillon.ini" \
    "$corpus" >"$scratch/dry.json"
  t1=$(now)
  cli_times+=($((t1 - t0)))
  "$window" column "$scratch/program" "$corpus" >"$scratch/column.log"
  window_times+=("$(awk '{ printf "%.0f", $1 * 1e9 }' "$scratch/column.log")")
done
cli_texts=$(grep '"summary": true' "$scratch/dry.json" | grep -o '"retyped": *[0-9]*' | grep -o '[0-9]*$')
window_texts=$(awk '{ print $5 }' "$scratch/column.log")
[[ "$cli_texts" == "$window_texts" ]] ||
  { echo "retype_column_qt: the column counts $window_texts texts, the dry run $cli_texts" >&2; exit 1; }
cli_ns=$(median "${cli_times[@]}")
window_ns=$(median "${window_times[@]}")
echo "texts counted by both: $cli_texts"
echo "quillon-cli convert --dry-run: $(seconds "$cli_ns") s; column filled: $(seconds "$window_ns") s;" \
  "ratio $(awk -v w="$window_ns" -v c="$cli_ns" 'BEGIN { printf "%.2f", w / c }')× (aim: 2×), median of $rounds"
