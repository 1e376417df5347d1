#!/usr/bin/env bash
# A real run of quillon.exe under Wine on Xvfb, as a drafter does it: choose
# the search folder, list it, highlight every row, choose the destination,
# change a range in the settings dialog, convert, confirm, read the
# completion text, leave by "終了 (&X)". The files it writes must be byte for
# byte what the Linux quillon-cli writes for the same files and the settings
# the window saved, and "quillon.ini" must hold every key.
#
# Then a second start, by keyboard alone: a destination of 300 Japanese
# characters kept from the settings file, Tab to the tree, arrows down a
# folder chain beyond 260 characters (listed after the pause), Tab to the
# list, two rows highlighted by keys, a sort by the name column, Enter,
# Yes: exactly the two highlighted drawings are converted, as quillon-cli
# converts them, and the destination is saved whole again.
#
# Usage: real_run.sh QUILLON_EXE WINDOW_PROBE_EXE LINUX_QUILLON_CLI EXAMPLES_FOLDER
set -euo pipefail
quillon="$1" QW_PROBE="$2" cli="$3" examples="$4"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../../scripts/lib/xvfb_driver.sh
source "$here/../../scripts/lib/xvfb_driver.sh"
# shellcheck source=../../scripts/lib/wine_driver.sh
source "$here/../../scripts/lib/wine_driver.sh"
export LC_ALL=C.UTF-8

work="$(mktemp -d)"
trap 'qx_stop; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/src" "$work/gui-out" "$work/cli-out"
cp "$quillon" "$work/program/quillon.exe"
cp "$examples"/*.jww "$work/src/"
samples="${QUILLON_SAMPLES:-$here/../../../shared/jww-samples}"
if [ -d "$samples" ]; then cp "$samples"/*.jww "$work/src/" && chmod u+w "$work/src"/*; fi
echo "not a drawing" >"$work/src/notes.txt"
# A JWC drawing and a JWK figure whose memos (at byte 40) are Japanese.
header() {  # FILE SIZE START MEMO
  head -c "$2" /dev/zero | tr '\0' '.' >"$1"
  printf '%s' "$3" | dd of="$1" conv=notrunc status=none
  printf '%-32s' "$(printf '%s' "$4" | iconv -f UTF-8 -t CP932)" |
    dd of="$1" bs=1 seek=40 conv=notrunc status=none
}
header "$work/src/平面.JWC" 800 "jw_cad(c)data......." "一階平面図"
header "$work/src/部品.JWK" 400 "" "建具部品"
for out in gui-out cli-out; do echo "older" >"$work/$out/PLAN.jww"; done
{
  printf '[Form]\nF1_X=0\nF1_Y=0\nF1_W=900\nF1_H=600\n[Comp]\nF1P1=160\n'
  printf '[JWW]\n'
  for n in $(seq 1 60); do printf 'C%d=%s\n' "$n" "$(((n % 3) == 0 ? 1 : 0)).5"; done
  printf '[JWC]\n'
  for n in $(seq 1 12); do printf 'C%d=%d\n' "$n" $((n % 2)); done
} >"$work/program/quillon.ini"

fail() {
  echo "FAIL: $*" >&2
  # QUILLON_FAILURE_SHOT=FILE keeps a picture of the screen at the failure.
  if [ -n "${QUILLON_FAILURE_SHOT:-}" ]; then import -window root "$QUILLON_FAILURE_SHOT" || true; fi
  exit 1
}
wait_for_text() {  # CONTROL TEXT
  local deadline=$((SECONDS + 60))
  until [[ "$(qw_text "$1")" == *"$2"* ]]; do
    ((SECONDS < deadline)) || fail "$1 never showed \"$2\" (it shows \"$(qw_text "$1")\")"
    sleep 0.3
  done
}
wait_gone() {  # REGEX: Wine unmaps a hidden window a moment later
  local deadline=$((SECONDS + 10))
  while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.3
  done
}
choose_folder() {  # TITLE FOLDER
  local chooser
  chooser="$(qx_wait_window "^$1\$")"
  qx_type "$chooser" "$(winepath -w "$2")"
  qx_keys "$chooser" Return
}

qw_prepare_prefix "${WINEPREFIX:-$HOME/.wine-quillon}"
# The display of scripts/windows-tests.sh when it runs this, else one of its own.
if [ -n "${QUILLON_WINE_DISPLAY:-}" ]; then export DISPLAY="$QUILLON_WINE_DISPLAY"; else qx_start_display; fi
qw_start_quillon "$work/program/quillon.exe"
wait_for_text StatusBar1 "検索フォルダを指定して下さい。"
qx_keys "$QX_MAIN" alt+f s
choose_folder "検索フォルダの指定" "$work/src"
wait_for_text Edit1 "$(winepath -w "$work/src")"
sleep 1
qw_click_control TreeView1 40 9     # the root node: lists the folder
wait_for_text StatusBar1 " Files  パス名「"
rows="$(wine "$QW_PROBE" rows 2>/dev/null | tr -d '\r')"
for memo in "一階平面図" "建具部品"; do
  grep -q "$memo" <<<"$rows" || fail "the list shows no memo \"$memo\": $rows"
done

qw_click_control StringGrid1 60 30  # the first row
qx_keys "$QX_MAIN" ctrl+a           # every row
qx_keys "$QX_MAIN" alt+f h
choose_folder "保存先フォルダの指定" "$work/gui-out"
wait_for_text Edit2 "$(winepath -w "$work/gui-out")"

qx_keys "$QX_MAIN" alt+s 1
dialog="$(qx_wait_window '^変換設定$')"
qx_keys "$dialog" End shift+Home    # Edit1, the first box, holds 0.5
qx_type "$dialog" "0.75"
qx_keys "$dialog" Return            # ＯＫ
wait_gone '^変換設定$' || fail "OK left the dialog open"

qw_click_control Button4 37 22      # 変換
qx_keys "$(qx_wait_window '^Quillon$')" Return   # 変換を開始します。よろしいですか？ Yes
wait_for_text StatusBar1 "変換作業を完了しました。"
sleep 0.5
if xdotool search --onlyvisible --name '^Quillon$' >/dev/null 2>&1; then fail "the run reported failed files"; fi
completion="$(qw_text StatusBar1)"

qx_keys "$QX_MAIN" alt+f x
qx_keys "$(qx_wait_window '^Quillon$')" Return   # 終了します。よろしいですか？ Yes
for _ in $(seq 1 50); do kill -0 "$QX_APP_PID" 2>/dev/null || break; sleep 0.2; done
kill -0 "$QX_APP_PID" 2>/dev/null && fail "the window did not close"

ini="$(tr -d '\r' <"$work/program/quillon.ini")"
keys=(F1_X F1_Y F1_W F1_H F2_X F2_Y F2_W F2_H F1_MAX F1P1 F1P2 F1S0 F1S1 F1S2 F1S3 F1S4 F1S5 F1S6 FLD1 FLD2 FTYP FLD3)
for key in "${keys[@]}"; do grep -q "^$key=" <<<"$ini" || fail "quillon.ini lacks $key"; done
[ "$(grep -c '^C[0-9]*=' <<<"$ini")" -eq 72 ] || fail "quillon.ini lacks some of C1..C60, C1..C12"
grep -q '^C1=0.75$' <<<"$ini" || fail "the value typed in the dialog was not saved"
grep -q "^FLD2=$(winepath -w "$work/gui-out" | sed 's/\\/\\\\/g')" <<<"$ini" ||
  fail "quillon.ini does not hold the destination folder"

printf '%s\n' "$ini" >"$work/settings.ini"
summary="$("$cli" convert --dest "$work/cli-out" --settings "$work/settings.ini" "$work/src" | tail -1)"
diff -r "$work/gui-out" "$work/cli-out" || fail "the window's output differs from quillon-cli's"
expected=$(find "$work/src" -iname '*.jww' | wc -l)
[ "$(find "$work/gui-out" -iname '*.jww' | wc -l)" -eq "$expected" ] || fail "not every drawing was written"

# The second start. The chain's folders are 100 characters each: the folder
# listed is about 330 characters long in Windows' terms.
a=$(printf 'a%.0s' $(seq 1 100)) b=$(printf 'b%.0s' $(seq 1 100)) c=$(printf 'c%.0s' $(seq 1 100))
deep="$work/long/$a/$b/$c"
mkdir -p "$deep" "$work/cli-out2"
drawings=("$examples"/*.jww)
for name in 3.jww 1.jww 2.jww; do cp "${drawings[0]}" "$deep/$name"; done
part=$(printf '図%.0s' $(seq 1 75))  # 225 bytes: four of them make 300 characters
jdest="$work/$part/$part/$part/$part"
mkdir -p "$jdest"
# winepath cuts what it prints at 260 bytes: the drive Z: maps "/" itself.
jdest_win="Z:${jdest//\//\\}\\"
sed -i "s|^FLD2=.*|FLD2=$(printf '%s' "$jdest_win" | sed 's/[\\&|]/\\&/g')|" "$work/program/quillon.ini"
qw_start_quillon "$work/program/quillon.exe"
# The second start brings back the tree and the folder listed at close.
wait_for_text StatusBar1 "Files  パス名「$(winepath -w "$work/src")"
[ "$(qw_text Edit2)" = "$jdest_win" ] ||
  fail "the 300-character destination came back as \"$(qw_text Edit2)\""
qx_keys "$QX_MAIN" alt+f s
choose_folder "検索フォルダの指定" "$work/long"
wait_for_text Edit1 "$(winepath -w "$work/long")"
sleep 1
qx_keys "$QX_MAIN" Tab Home Down Right Down Right Down   # the tree, down to the deepest folder
wait_for_text StatusBar1 "3 Files  パス名「"                # only the deepest folder holds files
mapfile -t listed < <(wine "$QW_PROBE" rows 2>/dev/null | tr -d '\r' | cut -f1)
qx_keys "$QX_MAIN" Tab Home shift+Down                    # the list, its first two rows
# Sorted by name so that the highlighted files leave the first two rows:
# ascending, or descending (a second click) when they are 1 and 2.
qw_click_control StringGrid1 30 8
if [ "$(printf '%s\n' "${listed[0]}" "${listed[1]}" | sort | tr '\n' ' ')" = "1.jww 2.jww " ]; then
  qw_click_control StringGrid1 30 8
fi
qx_keys "$QX_MAIN" Return                                  # 変換 by Enter on the list
qx_keys "$(qx_wait_window '^Quillon$')" Return             # 変換を開始します。よろしいですか？ Yes
wait_for_text StatusBar1 "変換作業を完了しました。"
converted="$(cd "$jdest" && ls | sort | tr '\n' ' ')"
expected_names="$(printf '%s\n' "${listed[0]}" "${listed[1]}" | sort | tr '\n' ' ')"
[ "$converted" = "$expected_names" ] ||
  fail "converted \"$converted\", but the highlighted files were \"$expected_names\""
mkdir -p "$work/gui-out2"
cp "$jdest"/* "$work/gui-out2/"
# The run taken back: the destination held nothing before it.
qx_keys "$QX_MAIN" alt+f u                                 # 変換を元に戻す
qx_keys "$(qx_wait_window '^Quillon$')" Return             # N 件の図面を変換前に戻します。よろしいですか？ Yes
wait_for_text StatusBar1 "変換を元に戻しました。（復元 0 件、削除 2 件、そのまま 0 件）"
[ -z "$(ls -A "$jdest")" ] || fail "the undo left \"$(ls -A "$jdest" | tr '\n' ' ')\" behind"
qx_keys "$QX_MAIN" alt+f x
qx_keys "$(qx_wait_window '^Quillon$')" Return
for _ in $(seq 1 50); do kill -0 "$QX_APP_PID" 2>/dev/null || break; sleep 0.2; done
grep -qxF "FLD2=$jdest_win" <(tr -d '\r' <"$work/program/quillon.ini") ||
  fail "quillon.ini does not hold the 300-character destination whole"
tr -d '\r' <"$work/program/quillon.ini" >"$work/settings.ini"
"$cli" convert --dest "$work/cli-out2" --settings "$work/settings.ini" "$deep" >/dev/null
for name in "${listed[0]}" "${listed[1]}"; do
  cmp -s "$work/gui-out2/$name" "$work/cli-out2/$name" || fail "$name differs from quillon-cli's output"
done

echo "PASS: $expected drawings converted by quillon.exe, identical to quillon-cli's output"
echo "  window: $completion"
echo "  cli:    $summary"
echo "PASS: by keyboard, 2 highlighted drawings of a folder beyond 260 characters converted after a" \
  "sort, then taken back; the 300-character destination kept whole across restarts"
