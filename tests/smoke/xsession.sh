# What the runs on a virtual X display share: the game started in the
# background, its window found, pictures taken and judged, bare taps, and a
# close through the window's button. Sourced by smoke.sh and taps.sh after
# they set: exe, xwin, shots (an empty picture folder), game (the game folder)
# and HOME.

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
