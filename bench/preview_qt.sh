#!/usr/bin/env bash
# Times the Qt window's preview pane, shown under Xvfb: each drawing of a
# folder highlighted by a click on its row, until its whole picture is
# painted (aim: within 100 ms for every real drawing), and the paint of the
# display list of the largest ones into an offscreen image.
#
#   bench/preview_qt.sh [BUILD_DIR]
#
# BUILD_DIR holds bench/bench_preview_qt (default: build/release under the
# repository). The folder holds copies of the real drawings (QUILLON_SAMPLES,
# default ../shared/jww-samples beside the repository; optional) and a
# synthetic drawing of ENTITIES top-level entities (1000000). The settings
# retype texts, as bench/corpus_lib.sh makes them. ROUNDS: 5 (medians).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$repo/build/release}"
bench="$build/bench/bench_preview_qt"
samples="${QUILLON_SAMPLES:-$repo/../shared/jww-samples}"
entities="${ENTITIES:-1000000}"
rounds="${ROUNDS:-5}"
[[ -x "$bench" ]] || { echo "preview_qt: no $bench (build it first)" >&2; exit 2; }

# shellcheck source=../scripts/lib/xvfb_driver.sh
source "$repo/scripts/lib/xvfb_driver.sh"
# shellcheck source=corpus_lib.sh
source "$repo/bench/corpus_lib.sh"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/quillon-preview-XXXXXX")"
trap 'qx_stop; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/program" "$scratch/drawings"
if [[ -d "$samples" ]]; then
  find "$samples" -maxdepth 1 -type f -iname '*.jww' -exec cp {} "$scratch/drawings/" \;
  chmod -R u+w "$scratch/drawings"
fi
"$bench" make-synthetic "$scratch/drawings/synthetic-1m.jww" "$entities"
retyping_settings >"$scratch/program/quillon.ini"
cat "$scratch/drawings"/* >/dev/null # a warm cache, as for a folder just listed
qx_start_display
"$bench" "$scratch/program" "$scratch/drawings" "$rounds"
