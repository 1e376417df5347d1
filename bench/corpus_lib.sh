# Sourced by the benchmark scripts: the corpus of drawings they time, the
# settings that retype texts, and the figures they print.

# make_corpus FOLDER FILES TOTAL_MB SAMPLES GENERATOR: copies of the real
# drawings in SAMPLES (about 70% of the files; none when it is absent),
# cycled under distinct names, filled up to FILES drawings and TOTAL_MB MB
# with synthetic ones. Sets corpus_count, corpus_copies and corpus_real.
make_corpus() {
  local folder="$1" files="$2" total_mb="$3" samples="$4" generator="$5"
  local sample_list=() f i src
  if [[ -d "$samples" ]]; then
    while IFS= read -r -d '' f; do sample_list+=("$f"); done \
      < <(find "$samples" -type f -iname '*.jww' -print0 | sort -z)
  fi
  corpus_copies=0
  corpus_real=${#sample_list[@]}
  if ((corpus_real > 0)); then
    corpus_copies=$((files * 7 / 10))
    for ((i = 0; i < corpus_copies; i++)); do
      src="${sample_list[i % corpus_real]}"
      cp "$src" "$folder/$(printf '%04d' $((i + 1)))-$(basename "$src")"
    done
  fi
  local have_bytes want_bytes left_bytes
  have_bytes=$(du -sb "$folder" | cut -f1)
  want_bytes=$((total_mb * 1000 * 1000))
  left_bytes=$((want_bytes > have_bytes ? want_bytes - have_bytes : 0))
  "$generator" make-corpus "$folder" "$((files - corpus_copies))" "$left_bytes" >/dev/null
  chmod -R u+w "$folder"
  corpus_count=$(find "$folder" -type f | wc -l)
  echo "corpus: $corpus_count drawings ($corpus_copies copies of" \
    "$corpus_real real ones), $(du -sb "$folder" | awk '{ printf "%.1f", $1 / 1e6 }') MB"
}

# require_built NAME FILE...: each FILE must exist; else NAME says which to
# build, and the script ends.
require_built() {
  local name="$1" file
  shift
  for file in "$@"; do
    [[ -f "$file" ]] || { echo "$name: no $file (build it first)" >&2; exit 2; }
  done
}

# scratch_with_display NAME: a scratch folder ($scratch, removed at exit
# together with the virtual display) holding program/ and corpus/ ($corpus).
scratch_with_display() {
  scratch="$(mktemp -d "${TMPDIR:-/tmp}/quillon-$1-XXXXXX")"
  trap 'qx_stop; rm -rf "$scratch"' EXIT
  corpus="$scratch/corpus"
  mkdir -p "$corpus" "$scratch/program"
}

# Conversion settings that retype texts, on stdout.
retyping_settings() {
  local n
  printf '[JWW]\n'
  for n in $(seq 1 60); do printf 'C%d=%s\n' "$n" "$(((n % 3) == 0 ? 1 : 0)).5"; done
  printf '[JWC]\n'
  for n in $(seq 1 12); do printf 'C%d=%d\n' "$n" $((n % 2)); done
}

now() { date +%s%N; }
median() { printf '%s\n' "$@" | sort -g | sed -n "$((($# + 1) / 2))p"; }
seconds() { awk -v n="$1" 'BEGIN { printf "%.3f", n / 1e9 }'; }

# time_rounds ROUNDS NAME COMMAND_LABEL WINDOW_LABEL: ROUNDS rounds of the
# caller's command_run (the command into $scratch/cli-out) and window_run
# (the window into $scratch/window-out; sets run_ns, its own figure), each
# round checked for the same bytes written, then the medians and their ratio.
time_rounds() {
  local rounds="$1" name="$2" command_label="$3" window_label="$4"
  local r t0 t1 cli_ns window_ns cli_times=() window_times=()
  for ((r = 1; r <= rounds; r++)); do
    rm -rf "$scratch/cli-out" "$scratch/window-out"
    mkdir "$scratch/cli-out" "$scratch/window-out"
    sync
    t0=$(now)
    command_run >"$scratch/cli.log" 2>&1 </dev/null || { tail -n 5 "$scratch/cli.log" >&2; exit 1; }
    t1=$(now)
    sync
    window_run
    if ! diff -r "$scratch/cli-out" "$scratch/window-out" >/dev/null; then
      echo "$name: the window's output differs from the command's" >&2
      exit 1
    fi
    cli_times+=($((t1 - t0)))
    window_times+=("$run_ns")
    echo "round $r: $command_label $(seconds $((t1 - t0))) s, $window_label $(seconds "$run_ns") s"
  done
  cli_ns=$(median "${cli_times[@]}")
  window_ns=$(median "${window_times[@]}")
  echo "command: $(tr -d '\r' <"$scratch/cli.log" | tail -n 1)"
  echo "window:  $(tr -d '\r' <"$scratch/window.log" | tail -n 1)"
  echo "same bytes written: yes"
  echo "median of $rounds rounds: $command_label $(seconds "$cli_ns") s," \
    "$window_label $(seconds "$window_ns") s," \
    "ratio $(awk -v a="$window_ns" -v b="$cli_ns" 'BEGIN { printf "%.2f", a / b }')x (aim: at most 1.1x)"
}
