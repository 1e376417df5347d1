#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz, writes their synthetic seeds and
# runs each target in turn. Fails when a target finds a crash, a leak, a hang
# or a broken round trip; the input is kept in build/fuzz/crashes/.
#
#   scripts/run-fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (or FUZZ_SECONDS; default 60; 0 = no time limit).
# TARGET: jww_loader jww_probe jwc_probe jwk_probe private_profile
# number_texts (default all). FUZZ_RUNS stops each target after that many
# executions instead. Inputs that find new code stay in build/fuzz/corpus/
# and seed the next run; the drawing readers also start from the real
# drawings in ../shared/jww-samples/ when that folder is there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-${FUZZ_SECONDS:-60}}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] &&
  targets=(jww_loader jww_probe jwc_probe jwk_probe private_profile number_texts)

# Clang's libFuzzer runtime is in libclang-rt-14-dev.
"$root/scripts/install-deps.sh" clang libclang-rt-14-dev

build="$root/build/fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUILLON_FUZZ=ON \
  -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF -DQUILLON_WINDOW=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target quillon_fuzz

# Fresh seeds beside the old ones, swapped in whole: a run that is already
# going has read its seeds at its start.
next_seeds="$build/seeds.$$"
"$build/fuzz/make_fuzz_seeds" "$next_seeds"
rm -rf "$build/seeds"
mv "$next_seeds" "$build/seeds"

samples="$root/../shared/jww-samples"
mkdir -p "$build/crashes" "$build/logs" "$build/tmp"
failed=()
for target in "${targets[@]}"; do
  binary="$build/fuzz/fuzz_$target"
  [ -x "$binary" ] || { echo "no fuzz target $target" >&2; exit 2; }
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  inputs=("$corpus" "$build/seeds/$target")
  options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$build/crashes/$target-")
  [ -n "${FUZZ_RUNS:-}" ] && options+=(-runs="$FUZZ_RUNS")
  case "$target" in
    jww_loader | jww_probe | jwc_probe | jwk_probe)
      [ -d "$samples" ] && inputs+=("$samples")
      ;;
  esac
  [ "$target" = jww_loader ] && options+=(-max_len=300000)
  log="$build/logs/$target.log"
  # Readers that take a path get each input through a file: in memory where
  # the system has a memory file system.
  scratch_base="$build/tmp"
  [ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
  scratch="$(mktemp -d "$scratch_base/quillon-fuzz-$target.XXXXXX")"
  echo "fuzz_$target: ${seconds}s${FUZZ_RUNS:+ or $FUZZ_RUNS runs} (log: $log)"
  if TMPDIR="$scratch" nice -n 19 "$binary" "${options[@]}" "${inputs[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/  /" || true
  else
    echo "fuzz_$target FAILED:" >&2
    # The report and the frames of the project's own code.
    grep -E "ERROR|SUMMARY|Test unit written|^    #[0-9]+ .* $root/[^ ]+:[0-9]+" "$log" |
      head -30 >&2 || true
    failed+=("$target")
  fi
  rm -rf "$scratch"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]}" >&2
  exit 1
fi
echo "Fuzzing passed: ${targets[*]}"
