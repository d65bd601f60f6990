# Sourced first thing by the GUI test scripts, without arguments (so that it sees the script's
# own): runs the script again on a private virtual display of its own (never the user's
# screen), and gives the steps that the scripts share.
if [ -z "${FENNOCK_ON_PRIVATE_DISPLAY:-}" ]; then
  exec bash "$(dirname "$0")/../support/with-xvfb" env FENNOCK_ON_PRIVATE_DISPLAY=1 bash "$0" "$@"
fi

# Skips the test (exit 77) when one of the tools is missing.
require_tools() {  # tool...
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

# A scratch folder, removed at the end (kept, with a screenshot of a failure, when KEEP_WORK is
# set); the programs whose ids the script keeps in app_pid and merger_pid are ended.
work=$(mktemp -d)
# The programs start from the default settings and save theirs here, never in the user's.
export XDG_CONFIG_HOME="$work/config"
app_pid=""
merger_pid=""
cleanup() {
  [ -n "$merger_pid" ] && kill "$merger_pid" 2>/dev/null
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
fail() {
  [ -n "${KEEP_WORK:-}" ] && timeout 3 import -window root "$work/failed.png" 2>/dev/null
  echo "FAIL: $*"
  exit 1
}

. "$(dirname "${BASH_SOURCE[0]}")/gui-helpers.sh"

# Windows programs under Wine, in a prefix of its own: made on first use (the slow part),
# removed with the scratch folder; the prefix's server ends with the script.
use_private_wine() {
  require_tools wine wineserver
  export WINEPREFIX="$work/wine" WINEDEBUG=-all
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  # Names beyond ASCII reach Wine as UTF-8.
  export LC_ALL=C.UTF-8
  trap 'wineserver -k 2>/dev/null; cleanup' EXIT
}
# A path as a Windows program sees it: Wine's drive Z: is the root folder.
win() { local path=${1//\//\\}; echo "Z:$path"; }

# Waits for the program whose id the named variable holds (app_pid, merger_pid) to end and fails
# unless it ends with status 0; the variable is cleared, so that the clean-up leaves it be.
expect_clean_exit() {  # variable name, failure text when it does not end
  local pid=${!1} status
  timeout 30 tail --pid="$pid" -f /dev/null || fail "$2"
  wait "$pid"
  status=$?
  printf -v "$1" '%s' ""
  [ "$status" = 0 ] || fail "exit status $status"
}

# FLTK's own chooser under a new home folder.
use_fltk_chooser() {  # home folder
  export HOME="$1"
  use_fltk_file_chooser
}

# Starts the program in the background and sets app_pid and main, the id of its window.
start_main_window() {  # program
  "$1" >"$work/app.log" 2>&1 &
  app_pid=$!
  main=$(wait_window '^Fennock! 1\.0$' 100) || fail "no main window: $(cat "$work/app.log")"
  sleep 0.5
}

# Presses the input group's "Change" of the main window (352, 16 in the group at 8, 0, below
# the 20-pixel menu bar) and picks a file of the chooser's folder by its name.
choose_input() {  # main window id, file name
  local chooser=""
  xdotool mousemove --window "$1" 397 48 click 1
  for _ in $(seq 100); do
    chooser=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -v "^$1\$" | tail -n 1)
    [ -n "$chooser" ] && break
    sleep 0.1
  done
  [ -n "$chooser" ] || return 1
  sleep 1
  # No window manager gives it the focus.
  xdotool windowfocus "$chooser"
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 30 "$2"
  sleep 0.3
  xdotool key Return
  sleep 1
}

# Turns "Browse destination folder" off, so that the end of the job opens nothing (16, 72 in
# the group at 8, 176), presses the split button "Fennock!" (192, 280) and prints the id of the
# progress dialog once it shows.
split_quietly() {  # main window id
  xdotool mousemove --window "$1" 30 276 click 1
  sleep 0.3
  xdotool mousemove --window "$1" 229 312 click 1
  wait_window '^Processing\.\.\.$' 50
}
