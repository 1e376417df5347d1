#!/usr/bin/env bash
# Times `quillon-cli convert` on a corpus of about 1,000 drawings (about
# 90 MB) against `cp -r` of the same corpus, in the same run, and prints the
# ratio. Aim: converting takes at most 1.5 times as long as copying and
# syncing.
#
#   bench/convert_corpus.sh [BUILD_DIR]
#
# BUILD_DIR holds cli/quillon-cli and bench/bench_drawing (default:
# build/release under the repository). The corpus is made of copies of the
# real drawings (QUILLON_SAMPLES, default ../shared/jww-samples beside the
# repository; optional) cycled under distinct names, filled up with
# synthetic drawings of 50 KB to 500 KB. Everything is made in a scratch
# folder under ${TMPDIR:-/tmp} that is removed at the end.
# Options through the environment: CORPUS_FILES (1000), CORPUS_MB (90),
# ROUNDS (3, the median is reported), QUILLON_SETTINGS (a settings file for
# --settings), JOBS (passed as --jobs; default: the program's own choice).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$repo/build/release}"
cli="$build/cli/quillon-cli"
generator="$build/bench/bench_drawing"
samples="${QUILLON_SAMPLES:-$repo/../shared/jww-samples}"
files="${CORPUS_FILES:-1000}"
total_mb="${CORPUS_MB:-90}"
rounds="${ROUNDS:-3}"

if [[ ! -x "$cli" ]]; then
  echo "convert_corpus: no quillon-cli at $cli (build the quillon-cli target, or pass BUILD_DIR)" >&2
  exit 2
fi
if ! "$cli" convert --help >/dev/null 2>&1; then
  echo "convert_corpus: $cli has no working 'convert' subcommand yet ('quillon-cli convert --help' fails); nothing to measure" >&2
  exit 3
fi
if [[ ! -x "$generator" ]]; then
  echo "convert_corpus: no bench_drawing at $generator (build with -DQUILLON_BUILD_BENCH=ON)" >&2
  exit 2
fi

# shellcheck source=corpus_lib.sh
source "$repo/bench/corpus_lib.sh"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/quillon-convert-corpus-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
corpus="$scratch/corpus"
mkdir -p "$corpus"

make_corpus "$corpus" "$files" "$total_mb" "$samples" "$generator"
count=$corpus_count
((corpus_real > 0)) || echo "convert_corpus: no real drawings at $samples; the corpus is all synthetic"

settings=()
if [[ -n "${QUILLON_SETTINGS:-}" ]]; then settings=(--settings "$QUILLON_SETTINGS"); fi
if [[ -n "${JOBS:-}" ]]; then settings+=(--jobs "$JOBS"); fi

cat "$corpus"/* >/dev/null # both runs start from a warm cache

seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }

copy_times=()
synced_times=()
convert_times=()
round_ratios=()
for ((r = 1; r <= rounds; r++)); do
  rm -rf "$scratch/copy" "$scratch/converted"
  mkdir "$scratch/converted"
  sync
  t0=$(now)
  cp -r "$corpus" "$scratch/copy"
  t1=$(now)
  sync
  t2=$(now)
  status=0
  "$cli" convert --dest "$scratch/converted" "${settings[@]}" "$corpus" \
    >"$scratch/convert.log" 2>&1 || status=$?
  t3=$(now)
  if ((status != 0)); then
    echo "convert_corpus: quillon-cli convert exited with $status; last lines:" >&2
    tail -n 5 "$scratch/convert.log" >&2
    exit 1
  fi
  out=$(find "$scratch/converted" -type f -iname '*.jww' | wc -l)
  if ((out != count)); then
    echo "convert_corpus: $out converted files for $count drawings" >&2
    exit 1
  fi
  copy_times+=($((t1 - t0)))
  synced_times+=($((t2 - t0)))
  convert_times+=($((t3 - t2)))
  round_ratios+=("$(awk -v a=$((t3 - t2)) -v b=$((t2 - t0)) 'BEGIN { printf "%.4f", a / b }')")
  echo "round $r: cp -r $(seconds $((t1 - t0))) s (with sync $(seconds $((t2 - t0))) s)," \
    "convert $(seconds $((t3 - t2))) s"
done

copy_ns=$(median "${copy_times[@]}")
synced_ns=$(median "${synced_times[@]}")
convert_ns=$(median "${convert_times[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "convert's last line: $(tail -n 1 "$scratch/convert.log")"
echo "median of $rounds rounds:"
echo "  cp -r                $(seconds "$copy_ns") s"
echo "  cp -r, then sync     $(seconds "$synced_ns") s"
echo "  quillon-cli convert  $(seconds "$convert_ns") s"
echo "  ratio convert / cp -r: $(ratio "$convert_ns" "$copy_ns")x;" \
  "against cp -r + sync: $(ratio "$convert_ns" "$synced_ns")x (aim: at most 1.5x)"
# Each round times the copy and the conversion one after the other, so the
# ratio within a round is less moved by the machine's slower and faster spells.
echo "  median of the rounds' ratios against cp -r + sync:" \
  "$(awk -v r="$(median "${round_ratios[@]}")" 'BEGIN { printf "%.2f", r }')x"
