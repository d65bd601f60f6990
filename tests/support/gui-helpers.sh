# Shell helpers of the GUI tests, sourced by them: finding windows and FLTK's file chooser.

# Prints the first visible window whose name matches the pattern; tries every 0.1 s.
wait_window() {  # name pattern, tries
  local id=""
  for _ in $(seq "$2"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# FLTK's own file chooser (not GTK's, whose start-up varies), through a private preferences file
# under $HOME. FLTK skips the three header lines, whatever they hold.
use_fltk_file_chooser() {
  mkdir -p "$HOME/.fltk/fltk.org"
  printf '%s\n' '; FLTK preferences file format 1.0' '; vendor: fltk.org' '; application: fltk' \
    '' '[./options]' 'FNFCUsesGTK:0' >"$HOME/.fltk/fltk.org/fltk.prefs"
}
