# Driving the quillon window under Xvfb as a user would, with xdotool.
# Sourced by the real-run test and the screenshot script.
#
#   qx_start_display            starts Xvfb on a free display and exports DISPLAY
#   qx_start_quillon PROGRAM    starts the window; sets QX_APP_PID, QX_MAIN
#   qx_wait_window REGEX        prints the id of a window whose name matches
#   qx_keys WINDOW KEY...       focuses the window and sends keys
#   qx_type WINDOW TEXT         focuses the window and types text
#   qx_click WINDOW X Y [KEY]   clicks at X, Y of the window (holding KEY)
#   qx_choose_folder TITLE DIR  answers a folder chooser
#   qx_stop                     ends what was started
QX_TIMEOUT=${QX_TIMEOUT:-20}
QX_XVFB_PID=""
QX_APP_PID=""

qx_start_display() {
  local fifo
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  # -noreset: the server would otherwise reset whenever its last client (an
  # xdotool call) goes, and refuse the window connecting at that moment.
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  QX_XVFB_PID=$!
  local display
  read -r -t "$QX_TIMEOUT" display <"$fifo" || { echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$display"
  # No desktop theme: the window looks the same everywhere.
  unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
  export QT_QPA_PLATFORM=xcb
}

qx_wait_window() {
  local deadline=$((SECONDS + QX_TIMEOUT)) id
  while ((SECONDS < deadline)); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  echo "no window named $1" >&2
  return 1
}

qx_focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
}

qx_keys() {
  local window="$1"
  shift
  qx_focus "$window"
  xdotool key --delay 80 "$@"
  sleep 0.4
}

qx_type() {
  qx_focus "$1"
  xdotool type --delay 15 "$2"
  sleep 0.2
}

qx_click() {
  local window="$1" x="$2" y="$3" hold="${4:-}"
  xdotool mousemove --window "$window" "$x" "$y"
  sleep 0.2
  if [ -n "$hold" ]; then xdotool keydown "$hold"; fi
  xdotool click 1
  if [ -n "$hold" ]; then xdotool keyup "$hold"; fi
  sleep 0.5
}

qx_start_quillon() {
  local log
  log="$(mktemp)"
  "$1" >"$log" 2>&1 &
  QX_APP_PID=$!
  if ! QX_MAIN="$(qx_wait_window '^Quillon Ver')"; then
    echo "the window did not show; it printed:" >&2
    tail -n 20 "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

# Types the folder into the chooser's name field and confirms.
qx_choose_folder() {
  local chooser
  chooser="$(qx_wait_window "$1")"
  qx_type "$chooser" "$2"
  qx_keys "$chooser" Return
}

qx_stop() {
  if [ -n "$QX_APP_PID" ] && kill -0 "$QX_APP_PID" 2>/dev/null; then kill "$QX_APP_PID"; fi
  if [ -n "$QX_XVFB_PID" ]; then kill "$QX_XVFB_PID" 2>/dev/null || true; fi
  QX_APP_PID=""
  QX_XVFB_PID=""
}
