# What the runs on a virtual X display share: the game started in the
# background, its window found, pictures taken and judged, bare taps, and a
# close through the window's button. Sourced by smoke.sh and taps.sh, with
# their own arguments: <quillimar> <xwin> <assets folder> <picture folder>.
# It empties the picture folder, goes to the game folder and gives the run
# an empty home folder (a first start; the player's own files untouched).
set -u
exe="$1"
xwin="$2"
assets="$3"
shots="$4"
rm -rf "$shots"
mkdir -p "$shots"
cd "$(dirname "$exe")"
game="$(pwd)"
HOME="$(mktemp -d)"
export HOME
prefs="$HOME/Library/Preferences/.Velmora"

# Generous waits: a sanitized build on a busy machine draws a few frames a
# second, and each look at the screen costs a second or more.
WAIT=${QUILL_SMOKE_WAIT:-90}

pid=""
hand=""
win=""
step=0
shot=""

fail() {
  echo "${0##*/}: $*"
  exit 1
}
say() { echo "${0##*/}: $*"; }

# Takes the window's picture as <n>-<name>.png.
look() {
  step=$((step + 1))
  shot="$shots/$(printf %02d "$step")-$1.png"
  "$xwin" shot "$win" "$shot" || fail "the window's picture cannot be read"
}
# How much of a picture (path in the game folder, optional x y w h) the last shot shows, 0..1.
like() { "$xwin" like "$shot" "$game/$1" "${@:2}"; }
# How much of the region x y w h the last shot shares with an earlier one, 0..1.
same() { "$xwin" same "$shot" "$@"; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# The game in the background, and its window.
start_game() {
  "$exe" &
  pid=$!
  win="$(timeout "$WAIT" xdotool search --sync --onlyvisible --name "Quillimar" | head -1)"
  [ -n "$win" ] || fail "no window appeared"
  xdotool windowfocus --sync "$win" 2>/dev/null || true
}

# The title goes to its credits and scores after a few idle seconds; a hand
# that never quite rests on the mouse keeps it on its menu.
hand_on() {
  xdotool mousemove --window "$win" "$1" "$2"
  ( while :; do xdotool mousemove_relative 1 0; sleep 0.7; xdotool mousemove_relative -- -1 0; sleep 0.7; done ) &
  hand=$!
}
hand_off() {
  [ -n "$hand" ] && kill "$hand" 2>/dev/null
  hand=""
}

# A bare tap as a touchpad gives it: the pointer comes to rest, then a press
# and release with no time between them.
tap() {
  xdotool mousemove --window "$win" "$1" "$2"
  sleep 0.5
  xdotool click 1
}

# Looks every second, as <name>, until the test (a command) holds; fails
# with <why> after WAIT seconds.
wait_for() {
  local name="$1" why="$2"
  shift 2
  local deadline=$((SECONDS + WAIT))
  while :; do
    kill -0 "$pid" 2>/dev/null || fail "the game ended: $why"
    look "$name"
    "$@" && return 0
    [ "$SECONDS" -lt "$deadline" ] || fail "$why"
    sleep 1
  done
}

# From the title's menu to the first level's board, as a first-time player:
# a tap on Play quest; the story page and the help page passed with Escape;
# the board's two hints each read and closed with a tap on its OK. Needs
# `assets` (the source folder, for the level's data file).
quest_to_board() {
  local title="gfx/title/velmora-title.jpg" help="gfx/gui/tutorial.jpg" board="gfx/bg/deski/deska-1.jpg"
  tap 401 289
  wait_for story "the Play quest tap did nothing" eval '! above "$(like "$title")" 0.3'
  say "the story page"
  xdotool key Escape
  wait_for help "no help page after the story" eval 'above "$(like "$help")" 0.5'
  say "the help page"
  # The first level's background, as its data file names it.
  local background
  background="$(grep -o 'BackgroundImage *= *"[^"]*"' "$assets/data/razod_levels/level_00.tsc" | sed 's/.*"\(.*\)"/\1/')"
  [ -n "$background" ] || fail "no background named in level_00.tsc"
  xdotool key Escape
  wait_for level "the first level did not show" \
    eval 'above "$(like "$background")" 0.3 && ! above "$(like "$help")" 0.3'
  say "the first level"
  # Its two hints lie over the board, each with its button at one place
  # (the hint centred on the board, the button at 72% of its height); the
  # second's text stands where the first's stood.
  sleep 2
  look first-hint
  local hint="$shot"
  tap 492 381
  wait_for second-hint "the first hint's OK tap did nothing" eval '! above "$(same "$hint" 380 190 220 80)" 0.8'
  say "the second hint"
  tap 492 381
  # The 8 x 8 board of 40-pixel cells, centred on 492,300.
  wait_for board "the second hint's OK tap did nothing" eval 'above "$(like "$board" 332 140 320 320)" 0.6'
  say "the board"
}

# The window's close button, a clean exit, status 0.
close_game() {
  hand_off
  "$xwin" close "$win" || fail "the close request was not sent"
  local deadline=$((SECONDS + WAIT))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end after the close request"
    sleep 0.5
  done
  wait "$pid"
  local rc=$?
  pid=""
  say "the game ended with status $rc"
  [ "$rc" -eq 0 ] || exit "$rc"
}

session_cleanup() {
  hand_off
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$HOME"
}
trap session_cleanup EXIT
