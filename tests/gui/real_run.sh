#!/usr/bin/env bash
# A real run of the window under Xvfb, as a user does it: start quillon,
# choose the search folder, list it, select every row, choose the
# destination, convert, leave by the exit command; then the same by keyboard
# alone (an arrow key lists the folder, Tab and Ctrl+A highlight every row,
# Ctrl+Enter converts); then the whole tree by "フォルダごと変換". The files
# written must be byte for byte what quillon-cli convert (with --recursive
# for the tree) writes for the same files and settings. Last, "変換を元に
# 戻す" takes the first run back: its folder is again what it was before.
#
# Usage: real_run.sh QUILLON QUILLON_CLI EXAMPLES_FOLDER
set -euo pipefail
quillon="$1" cli="$2" examples="$3"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../../scripts/lib/xvfb_driver.sh
source "$here/../../scripts/lib/xvfb_driver.sh"

work="$(mktemp -d)"
trap 'qx_stop; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/src" "$work/gui-out" "$work/keys-out" "$work/cli-out" \
  "$work/tree-out/plans" "$work/cli-tree-out/plans" "$work/src/plans/details"
cp "$quillon" "$work/program/quillon"
cp "$examples"/*.jww "$work/src/"
samples="$here/../../../shared/jww-samples"
if [ -d "$samples" ]; then cp "$samples"/*.jww "$work/src/" && chmod u+w "$work/src"/*; fi
echo "not a drawing" >"$work/src/notes.txt"
# A file already at the destination is kept as its backup, in both runs.
for out in gui-out keys-out cli-out tree-out/plans cli-tree-out/plans; do
  echo "older" >"$work/$out/PLAN.jww"
done

{
  printf '[Form]\nF1_X=0\nF1_Y=0\nF1_W=900\nF1_H=600\n[Comp]\nF1P1=160\n'
  printf '[JWW]\n'
  for n in $(seq 1 60); do printf 'C%d=%s\n' "$n" "$(((n % 3) == 0 ? 1 : 0)).5"; done
  printf '[JWC]\n'
  for n in $(seq 1 12); do printf 'C%d=%d\n' "$n" $((n % 2)); done
} >"$work/program/quillon.ini"
cp "$work/program/quillon.ini" "$work/settings.ini"

# The tree for "フォルダごと変換": three levels; the runs above take the top only.
top=$(find "$work/src" -maxdepth 1 -iname '*.jww' | wc -l)
cp "$examples/PLAN.jww" "$work/src/plans/"
cp "$examples/PLAN.jww" "$work/src/plans/details/DETAIL.JWW"

cp -a "$work/gui-out" "$work/gui-out-before"

qx_start_display
qx_start_quillon "$work/program/quillon"
qx_keys "$QX_MAIN" alt+f s
qx_choose_folder "検索フォルダ" "$work/src"
qx_click "$QX_MAIN" 60 46          # the root node of the tree: lists the folder
qx_click "$QX_MAIN" 400 94         # the first row of the list
qx_keys "$QX_MAIN" ctrl+a          # every row
qx_keys "$QX_MAIN" alt+f h
qx_choose_folder "保存先フォルダ" "$work/gui-out"
qx_click "$QX_MAIN" 859 41         # 変換
qx_keys "$(qx_wait_window '^Quillon$')" Return   # 変換を開始します。よろしいですか？ Yes

expected=$top
# Waits until the window has written every drawing into $1 ($2 of them, or
# $expected) and reported no failed file, then leaves it by the exit command.
finish_run() {
  local deadline=$((SECONDS + 60)) want="${2:-$expected}"
  until [ "$(find "$1" -iname '*.jww' | wc -l)" -eq "$want" ] &&
    [ -z "$(find "$1" -name '*.tmp')" ]; do
    if ((SECONDS > deadline)); then
      echo "FAIL: the window did not write every drawing into $1" >&2
      ls -la "$1" >&2
      exit 1
    fi
    sleep 0.3
  done
  sleep 1
  if xdotool search --onlyvisible --name '^Quillon$' >/dev/null 2>&1; then
    echo "FAIL: the run reported failed files" >&2
    exit 1
  fi
  qx_keys "$QX_MAIN" alt+f x
  qx_keys "$(qx_wait_window '^Quillon$')" Return   # 終了します。よろしいですか？ Yes
  for _ in $(seq 1 50); do kill -0 "$QX_APP_PID" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$QX_APP_PID" 2>/dev/null; then
    echo "FAIL: the window did not close" >&2
    exit 1
  fi
  grep -q "^FLD2=$1/" "$work/program/quillon.ini" || {
    echo "FAIL: the settings file does not hold the destination folder $1" >&2
    exit 1
  }
}
finish_run "$work/gui-out"

# By keyboard alone.
qx_start_quillon "$work/program/quillon"
qx_keys "$QX_MAIN" alt+f s
qx_choose_folder "検索フォルダ" "$work/src"
qx_keys "$QX_MAIN" Down            # the tree's root: listed once the highlight rests
sleep 1
qx_keys "$QX_MAIN" Tab ctrl+a      # into the list, every row
qx_keys "$QX_MAIN" alt+f h
qx_choose_folder "保存先フォルダ" "$work/keys-out"
qx_keys "$QX_MAIN" ctrl+Return     # 変換
qx_keys "$(qx_wait_window '^Quillon$')" Return   # 変換を開始します。よろしいですか？ Yes
finish_run "$work/keys-out"

# The whole tree, from the menu.
qx_start_quillon "$work/program/quillon"
qx_keys "$QX_MAIN" alt+f s
qx_choose_folder "検索フォルダ" "$work/src"
qx_click "$QX_MAIN" 60 46          # the root node of the tree: lists the folder
qx_keys "$QX_MAIN" alt+f h
qx_choose_folder "保存先フォルダ" "$work/tree-out"
qx_keys "$QX_MAIN" alt+f r         # フォルダごと変換
qx_keys "$(qx_wait_window '^Quillon$')" Return   # 変換を開始します。よろしいですか？ Yes
finish_run "$work/tree-out" "$(find "$work/src" -iname '*.jww' | wc -l)"

summary="$("$cli" convert --dest "$work/cli-out" --settings "$work/settings.ini" "$work/src" | tail -1)"
"$cli" convert --recursive --dest "$work/cli-tree-out" --settings "$work/settings.ini" "$work/src" \
  >/dev/null
if ! diff -r "$work/tree-out" "$work/cli-tree-out"; then
  echo "FAIL: the window's output of the tree differs from quillon-cli --recursive's" >&2
  exit 1
fi
case "$summary" in
  *"; 0 texts retyped") echo "FAIL: the settings retyped nothing: $summary" >&2; exit 1 ;;
esac
for out in gui-out keys-out; do
  if ! diff -r "$work/$out" "$work/cli-out"; then
    echo "FAIL: the window's output in $out differs from quillon-cli's" >&2
    exit 1
  fi
done

# The first run taken back from the menu.
qx_start_quillon "$work/program/quillon"
qx_keys "$QX_MAIN" alt+f h
qx_choose_folder "保存先フォルダ" "$work/gui-out"
qx_keys "$QX_MAIN" alt+f u         # 変換を元に戻す
qx_keys "$(qx_wait_window '^Quillon$')" Return   # N 件の図面を変換前に戻します。よろしいですか？ Yes
deadline=$((SECONDS + 60))
until diff -r "$work/gui-out-before" "$work/gui-out" >/dev/null 2>&1; do
  if ((SECONDS > deadline)); then
    echo "FAIL: the undo did not give back the folder as it was before the run" >&2
    diff -r "$work/gui-out-before" "$work/gui-out" >&2 || true
    exit 1
  fi
  sleep 0.3
done
finish_run "$work/gui-out" 1
echo "PASS: $expected drawings converted by the window, by mouse and by keyboard, and the tree of" \
  "three levels, identical to quillon-cli's output ($summary); the first run taken back"
