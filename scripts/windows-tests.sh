#!/usr/bin/env bash
# Cross-builds everything for 64-bit Windows with MinGW-w64 (the window
# quillon.exe with the system's own controls, quillon-cli.exe, the tests),
# runs every test under Wine on a virtual display (including byte-for-byte
# comparisons of the CLI's and the window's conversions with the Linux
# quillon-cli's), packs both programs into a portable ZIP and closes with the
# pass, skip and fail counts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix wine64 wine googletest
jobs="$(nproc)"
build="$root/build/windows"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
mkdir -p "$build"

# GoogleTest for the target, from Debian's sources; rebuilt only when missing.
gtest="$build/googletest"
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
  cmake --build "$build/googletest-build" -j "$jobs" --target install >/dev/null
fi

# The Linux quillon-cli whose outputs the Windows one must match.
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/release" -j "$jobs" --target quillon-cli

# Wine: a prefix of this build, and a UTF-8 locale, in which Wine reads the
# file names that the Linux side passes. The first Wine process starts
# Wine's services, which keep its output open; that must not be a pipe that
# the build or ctest waits on.
export LC_ALL=C.UTF-8
# shellcheck source=lib/xvfb_driver.sh
source "$root/scripts/lib/xvfb_driver.sh"
# shellcheck source=lib/wine_driver.sh
source "$root/scripts/lib/wine_driver.sh"
# The window's tests show it on one virtual display, shared by every test.
qx_start_display
export QUILLON_WINE_DISPLAY="$DISPLAY"
qw_prepare_prefix "$build/wineprefix"
wineserver -p
trap 'wineserver -k || true; qx_stop' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1

cmake -S "$root" -B "$build/core" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DGTest_DIR="$gtest/lib/cmake/GTest" \
  -DQUILLON_BUILD_BENCH=OFF -DQUILLON_REFERENCE_CLI="$root/build/release/cli/quillon-cli"
cmake --build "$build/core" -j "$jobs"

log="$build/ctest.log"
status=0
# A test that fails is run once more: a test program started while Wine is
# still setting itself up has been seen to fail without a word. The log
# keeps both runs.
ctest --test-dir "$build/core" --output-on-failure -j "$jobs" --repeat until-pass:2 2>&1 |
  tee "$log" || status=$?

(cd "$build/core" && cpack -G ZIP -B "$build/package" >/dev/null)
package="$(ls "$build"/package/*.zip)"

# The closing note: counts, and what each skip leaves untested on Windows
# (the skip's own message says it).
total="$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)"
failed="$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -1)"
skipped="$(grep -c '(Skipped)$' "$log" || true)"
echo
echo "Windows (MinGW-w64, Wine $(wine --version | sed 's/wine-//')): $((total - failed - skipped)) passed," \
  "$skipped skipped, $failed failed of $total tests. Package: ${package#"$root/"}"
grep '(Skipped)$' "$log" | sed 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/' | while read -r name; do
  reason="$(ctest --test-dir "$build/core" -R "^${name}\$" --output-on-failure -V 2>/dev/null |
    sed -n 's/^[0-9]*: \(.*\)$/\1/p' | grep -A1 ': Skipped$' | tail -1 || true)"
  echo "  skipped ${name}: ${reason:-no reason given}"
done
exit "$status"
