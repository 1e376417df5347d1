#!/usr/bin/env bash
# Times quillon-cli render over the real drawings (each folder of them in one
# run, with and without --mark) against convert --dry-run of the same
# drawings with the same settings: the median of ROUNDS rounds of each, and
# the SVG bytes written.
#
#   bench/render_samples.sh [BUILD_DIR]     (default build/release)
#   QUILLON_SAMPLES=DIR ROUNDS=N bench/render_samples.sh build/release
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=bench/corpus_lib.sh
source "$here/corpus_lib.sh"
build="${1:-build/release}"
cli="$build/cli/quillon-cli"
samples="${QUILLON_SAMPLES:-$here/../../shared/jww-samples}"
rounds="${ROUNDS:-5}"
[[ -x "$cli" ]] || { echo "no $cli: build the quillon-cli target first" >&2; exit 1; }
[[ -d "$samples" ]] || { echo "no samples at $samples: nothing to time"; exit 0; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
retyping_settings >"$scratch/settings.ini"
mapfile -d '' folders < <(find "$samples" -type f -iname '*.jww' -printf '%h\0' | sort -zu)
count=$(find "$samples" -type f -iname '*.jww' | wc -l)

# run_all COMMAND_WORDS...: the command once per folder of drawings.
run_all() {
  local folder i=0
  for folder in "${folders[@]}"; do
    "$cli" "$@" "$scratch/out/$i" "$folder" >/dev/null
    i=$((i + 1))
  done
}

# time_it LABEL COMMAND_WORDS...: the median of the rounds.
time_it() {
  local label="$1" r t0 times=()
  shift
  for ((r = 1; r <= rounds; r++)); do
    rm -rf "$scratch/out"
    t0=$(now)
    run_all "$@"
    times+=($(($(now) - t0)))
  done
  printf '%-32s %s s\n' "$label" "$(seconds "$(median "${times[@]}")")"
}

echo "$count drawings in ${#folders[@]} folders, $rounds rounds, median"
time_it "render" render --settings "$scratch/settings.ini" --out
time_it "render --mark" render --mark --settings "$scratch/settings.ini" --out
echo "SVG written: $(du -sb "$scratch/out" | awk '{ printf "%.2f", $1 / 1e6 }') MB"
time_it "convert --dry-run" convert --dry-run --settings "$scratch/settings.ini" --dest
