# A Wine prefix for running quillon.exe under Xvfb, sourced by the Windows
# window's tests and screenshot script.
#
#   qw_prepare_prefix DIR   creates (once) the prefix DIR and exports WINEPREFIX
#
# Wine has no Japanese user-interface fonts of its own: the fonts the window
# asks for, and those of menus, boxes and headers, are replaced by VL Gothic
# (Debian's fonts-vlgothic), else they show as "□".
qw_prepare_prefix() {
  export WINEPREFIX="$1" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -f "$WINEPREFIX/.quillon-prefix" ]; then return 0; fi
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  local reg="$WINEPREFIX/quillon-fonts.reg"
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    local face
    for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "Yu Gothic UI" "Meiryo UI" "MS Shell Dlg" \
                "MS Shell Dlg 2" "Tahoma" "Segoe UI" "MS Sans Serif"; do
      printf '"%s"="VL PGothic"\r\n' "$face"
    done
    for face in "ＭＳ ゴシック" "MS Gothic"; do printf '"%s"="VL Gothic"\r\n' "$face"; done
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  # regedit reads REGEDIT4 as ANSI; a UTF-16 file must say version 5.
  sed -i 's/R\x00E\x00G\x00E\x00D\x00I\x00T\x004\x00/W\x00i\x00n\x00d\x00o\x00w\x00s\x00 \x00R\x00e\x00g\x00i\x00s\x00t\x00r\x00y\x00 \x00E\x00d\x00i\x00t\x00o\x00r\x00 \x00V\x00e\x00r\x00s\x00i\x00o\x00n\x00 \x005\x00.\x000\x000\x00/' "$reg"
  wine regedit "$reg" </dev/null >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.quillon-prefix"
}

# quillon.exe under Wine on the display of qx_start_display (xvfb_driver.sh),
# with the probe of the test build reading what X cannot see.
#
#   qw_start_quillon EXE        starts it in its folder; sets QX_APP_PID, QX_MAIN
#   qw_text NAME                the text of the main window's control NAME ("StatusBar1")
#   qw_click_control NAME DX DY clicks at DX, DY inside the control
QW_PROBE=${QW_PROBE:-}

qw_start_quillon() {
  local log
  log="$(mktemp)"
  (cd "$(dirname "$1")" && exec wine "$(basename "$1")") >"${QW_LOG:-$log}" 2>&1 &
  QX_APP_PID=$!
  if ! QX_MAIN="$(QX_TIMEOUT=60 qx_wait_window '^Quillon Ver')"; then
    echo "the window did not show; Wine printed:" >&2
    tail -n 20 "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  sleep 1
}

qw_text() {
  wine "$QW_PROBE" text "$1" 2>/dev/null | tr -d '\r'
}

qw_click_control() {
  local x y w h
  read -r x y w h < <(wine "$QW_PROBE" rect "$1" 2>/dev/null | tr -d '\r')
  xdotool mousemove "$((x + $2))" "$((y + $3))"
  sleep 0.2
  xdotool click 1
  sleep 0.5
}
