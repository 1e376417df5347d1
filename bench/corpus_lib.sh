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
