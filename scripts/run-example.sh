#!/usr/bin/env bash
# Builds the command-line tool and runs it on the bundled example drawings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target quillon-cli
"$root/build/release/cli/quillon-cli" info "$root"/examples/*.jww
