#!/usr/bin/env bash
# The real executable on a virtual X display, played as a first-time player
# would: the name asked for on the title, the quest started, its story and
# help pages passed with Escape, the first level's board on screen; then the
# window's close button, a clean exit and the player's files on disk.
# Each step is judged from the window's own pixels against the pictures the
# game draws (from its built game folder), and kept as a PNG.
# Run under xvfb-run:  smoke.sh <quillimar> <xwin> <assets folder> <picture folder>
set -u
exe="$1"
xwin="$2"
assets="$3"
shots="$4"
rm -rf "$shots"
mkdir -p "$shots"
cd "$(dirname "$exe")"
game="$(pwd)"

# An empty home folder: a first start, and the player's own files untouched.
home="$(mktemp -d)"
export HOME="$home"
prefs="$home/Library/Preferences/.Velmora"
pid=""
hand=""
cleanup() {
  [ -n "$hand" ] && kill "$hand" 2>/dev/null
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$home"
}
trap cleanup EXIT

fail() {
  echo "smoke: $*"
  exit 1
}

# Generous waits: a sanitized build on a busy machine draws a few frames a
# second, and each look at the screen costs a second or more.
WAIT=${QUILL_SMOKE_WAIT:-90}

step=0
shot=""
# Takes the window's picture as <n>-<name>.png.
look() {
  step=$((step + 1))
  shot="$shots/$(printf %02d "$step")-$1.png"
  "$xwin" shot "$win" "$shot" || fail "the window's picture cannot be read"
}
# How much of a picture (path in the game folder, optional x y w h) the last shot shows, 0..1.
like() { "$xwin" like "$shot" "$game/$1" "${@:2}"; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

"$exe" &
pid=$!
win="$(timeout "$WAIT" xdotool search --sync --onlyvisible --name "Quillimar" | head -1)"
[ -n "$win" ] || fail "no window appeared"
xdotool windowfocus --sync "$win" 2>/dev/null || true

# The title goes to its credits and scores after a few idle seconds; a hand
# that never quite rests on the mouse keeps it on its menu.
xdotool mousemove --window "$win" 400 250
( while :; do xdotool mousemove_relative 1 0; sleep 0.7; xdotool mousemove_relative -- -1 0; sleep 0.7; done ) &
hand=$!

click() {
  xdotool mousemove --window "$win" "$1" "$2"
  sleep 0.5
  xdotool mousedown 1
  sleep 0.4
  xdotool mouseup 1
}

title="gfx/title/velmora-title.jpg"

# ---- the title, asking for a name ----------------------------------------------------
# After the opening pictures the title fades in, and the name window lies over
# its middle (the full picture alone would be 1.0).
deadline=$((SECONDS + WAIT))
while :; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended before its title"
  look title-name
  l="$(like "$title")"
  above "$l" 0.5 && ! above "$l" 0.95 && break
  [ "$SECONDS" -lt "$deadline" ] || fail "no title with the name window (the title picture: $l)"
  sleep 1
done
echo "smoke: the title, asking for a name ($l of its picture)"
# The name window fades in; typed letters wait until it stands.
sleep 2

xdotool type --delay 150 smoke
sleep 1
xdotool key Return
deadline=$((SECONDS + WAIT))
until [ -s "$prefs/profiles/smoke.dat" ]; do
  [ "$SECONDS" -lt "$deadline" ] || { look no-profile; fail "the new profile was not saved"; }
  sleep 1
done

# ---- the title's menu: play the quest -------------------------------------------------
deadline=$((SECONDS + WAIT))
while :; do
  look title-menu
  l="$(like "$title")"
  above "$l" 0.5 && break
  [ "$SECONDS" -lt "$deadline" ] || fail "the title's menu did not come back (the title picture: $l)"
  sleep 1
done
echo "smoke: the title's menu ($l of its picture)"

# The quest button, centred at 400,290 on the main page. A click the game
# missed (a slow frame) is made again while the title still shows.
click 400 290
deadline=$((SECONDS + WAIT))
clicked=$SECONDS
while :; do
  sleep 1
  look story
  l="$(like "$title")"
  above "$l" 0.3 || break
  [ "$SECONDS" -lt "$deadline" ] || fail "the quest did not start (the title picture: $l)"
  if [ $((SECONDS - clicked)) -gt 20 ]; then
    click 400 290
    clicked=$SECONDS
  fi
done
echo "smoke: the story page"

# ---- the story page and the help page, both left with Escape ------------------------------
help="gfx/gui/tutorial.jpg"
xdotool key Escape
deadline=$((SECONDS + WAIT))
while :; do
  sleep 1
  look help
  l="$(like "$help")"
  above "$l" 0.5 && break
  [ "$SECONDS" -lt "$deadline" ] || fail "no help page after the story (its picture: $l)"
done
echo "smoke: the help page ($l of its picture)"

# The first level's background, as its data file names it.
background="$(grep -o 'BackgroundImage *= *"[^"]*"' "$assets/data/razod_levels/level_00.tsc" | sed 's/.*"\(.*\)"/\1/')"
[ -n "$background" ] || fail "no background named in level_00.tsc"
xdotool key Escape
deadline=$((SECONDS + WAIT))
while :; do
  sleep 1
  look level
  l="$(like "$background")"
  h="$(like "$help")"
  above "$l" 0.3 && ! above "$h" 0.3 && break
  [ "$SECONDS" -lt "$deadline" ] || fail "the first level did not show (its background: $l, the help page: $h)"
done
echo "smoke: the first level ($l of its background)"

# Its first hint lies over the board; its button (the hint centred on the
# board, the button at 72% of its height) lets the board be seen.
board="gfx/bg/deski/deska-1.jpg"
click 492 381
deadline=$((SECONDS + WAIT))
clicked=$SECONDS
while :; do
  sleep 1
  look board
  # The 8 x 8 board of 40-pixel cells, centred on 492,300.
  b="$(like "$board" 332 140 320 320)"
  above "$b" 0.6 && break
  [ "$SECONDS" -lt "$deadline" ] || fail "no board on screen (the board picture: $b)"
  # A level may open with more than one hint, each with its button there.
  if [ $((SECONDS - clicked)) -gt 8 ]; then
    click 492 381
    clicked=$SECONDS
  fi
done
echo "smoke: the board ($b of its picture)"

# ---- the close button --------------------------------------------------------------------------
kill "$hand" 2>/dev/null
hand=""
"$xwin" close "$win" || fail "the close request was not sent"
deadline=$((SECONDS + WAIT))
while kill -0 "$pid" 2>/dev/null; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end after the close request"
  sleep 0.5
done
wait "$pid"
rc=$?
pid=""
echo "smoke: the game ended with status $rc"
[ "$rc" -eq 0 ] || exit "$rc"

# Ending in order writes the options (naming the new player) and the profile.
[ -s "$prefs/data/options.tsc" ] || fail "no options file was written"
grep -q 'smoke' "$prefs/data/options.tsc" || fail "the options do not name the new profile"
[ -s "$prefs/profiles/smoke.dat" ] || fail "the profile file is missing"
for t in "$prefs"/profiles/*.own-save.tmp "$prefs"/data/*.own-save.tmp; do
  [ -e "$t" ] && fail "a temporary save was left behind: $(basename "$t")"
done
echo "smoke: options and profile saved"
exit 0
