#!/bin/sh
# Converts the sample drawings (those with Japanese names among them) with
# the Windows quillon-cli (under the emulator) and with the Linux one, and
# compares what each wrote, names and bytes. Exit 77: nothing to compare.
set -eu
emulator=$1 windows_cli=$2 linux_cli=$3 samples=$4 work=$5
[ -d "$samples" ] || { echo "no sample drawings"; exit 77; }
set --
japanese=0
for f in "$samples"/*.jww; do
  [ -f "$f" ] || continue
  set -- "$@" "$f"
  case "${f##*/}" in
    *[!A-Za-z0-9._-]*) japanese=$((japanese + 1)) ;;
  esac
done
[ "$japanese" -gt 0 ] || { echo "no sample drawing with a Japanese name"; exit 77; }
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
# Ranges wide enough, and every colour accepted, so that texts are retyped
# at the top level, in dimensions and in block definitions.
{
  echo "[JWW]"
  n=1
  while [ $n -le 60 ]; do echo "C$n=50"; n=$((n + 1)); done
  echo "[JWC]"
  n=1
  while [ $n -le 12 ]; do echo "C$n=1"; n=$((n + 1)); done
} >"$work/quillon.ini"
"$linux_cli" convert --settings "$work/quillon.ini" --dest "$work/linux" "$@" >"$work/linux.txt"
"$emulator" "$windows_cli" convert --settings "$work/quillon.ini" --dest "$work/windows" "$@" \
  >"$work/windows.txt"
converted=$(grep -c '^converted ' "$work/windows.txt" || true)
if [ "$converted" -ne $# ]; then
  echo "the Windows build converted $converted of $# drawings:"
  cat "$work/windows.txt"
  exit 1
fi
diff -r "$work/linux" "$work/windows"
tail -1 "$work/windows.txt"
echo "the same bytes on both systems"
