#!/usr/bin/env bash
# Builds everything twice (optimised with GCC, and with AddressSanitizer and
# UndefinedBehaviorSanitizer with Clang) and runs every test in both builds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLON_WINDOW=ON
cmake --build "$root/build/release" -j "$jobs"
ctest --test-dir "$root/build/release" --output-on-failure -j "$jobs"

# The sanitizer build uses Clang, so that the tree is built by both
# compilers under -Werror.
cmake -S "$root" -B "$root/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF -DQUILLON_WINDOW=ON
cmake --build "$root/build/asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build/asan" --output-on-failure -j "$jobs"
echo "All tests passed (optimised GCC and sanitizer Clang builds)."
