#!/usr/bin/env bash
# Builds the command-line tool and converts the bundled example drawings into
# a fresh output folder, printing the report.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target quillon-cli
out="$root/build/example-output"
rm -rf "$out"
"$root/build/release/cli/quillon-cli" convert --dest "$out" "$root/examples"
echo "Converted drawings are in $out"
