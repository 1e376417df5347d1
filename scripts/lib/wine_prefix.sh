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
  if [ -f "$WINEPREFIX/.quillon-fonts" ]; then return 0; fi
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
  touch "$WINEPREFIX/.quillon-fonts"
}
