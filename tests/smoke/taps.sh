#!/usr/bin/env bash
# Bare taps on the real executable on a virtual X display, as a touchpad
# gives them (press and release with no time between, the pointer at rest
# half a second before): every tap must act the first time, so none is made
# twice and none is held.
#   first start: the name window's Ok; the title menu's Options and the
#                options page's Main menu; Play quest; the first board's two
#                hints' OK; on the board a right-button tap (the held block
#                turns) and a tap on Menu made as the pointer arrives (the
#                pause menu opens).
#   second start (the profile kept): the title left still until its idle
#                show may have begun, then Options and Main menu again; a
#                double-click on Other game modes, which must leave the
#                modes page standing.
# Each step is judged from the window's own pixels and kept as a PNG.
# Run under xvfb-run:  taps.sh <quillimar> <xwin> <assets folder> <picture folder>
. "$(dirname "$0")/xsession.sh"

title="gfx/title/velmora-title.jpg"
main=""  # the main page as it stands, the others are told from it

# Where the menu window's pages differ: the main page's caption rows; and
# the window's top edge, the same on every page.
main_page() { above "$(like "$title")" 0.5 && above "$(same "$main" 300 270 200 160)" 0.7; }
options_page() {
  ! above "$(same "$main" 300 270 200 160)" 0.5 && above "$(same "$main" 229 200 342 48)" 0.9
}
name_window() {
  local l
  l="$(like "$title")"
  above "$l" 0.5 && ! above "$l" 0.95
}
title_menu() { above "$(like "$title")" 0.5; }
# Any profile: this run judges the tap on Ok, and typed letters are not
# all kept yet on a loaded machine (a debt of the name page, not of the tap).
profile_saved() { compgen -G "$prefs/profiles/*.dat" >/dev/null; }

options_and_back() {
  tap 404 415
  wait_for options "the Options tap did nothing ($1)" options_page
  say "the options page ($1)"
  tap 400 521
  wait_for main "the Main menu tap did nothing ($1)" main_page
  say "back on the main page ($1)"
}

# ---- the first board: a right-button tap turns the held block; a Menu tap made as the pointer arrives pauses

# The board's 8 x 8 cells of 40 pixels from 332,140; a place off the board
# and off the panel's Menu button, where the held block is not drawn.
off_board() { xdotool mousemove --window "$win" 150 100; }
# Sets cells to the offsets of the cells around board cell <cx> <cy> that
# the last shot shows differently from the earlier picture <ref>: with the
# pointer on that cell against one with the pointer off the board, the held
# block's cells.
footprint() {
  local ref="$1" cx="$2" cy="$3" dx dy x y
  cells=""
  for dy in -3 -2 -1 0 1 2 3; do
    for dx in -3 -2 -1 0 1 2 3; do
      x=$((cx + dx)) y=$((cy + dy))
      [ "$x" -ge 0 ] && [ "$x" -lt 8 ] && [ "$y" -ge 0 ] && [ "$y" -lt 8 ] || continue
      above "$(same "$ref" $((332 + 40 * x + 4)) $((140 + 40 * y + 4)) 32 32)" 0.85 || cells="$cells $dx,$dy"
    done
  done
  cells="${cells# }"
}
# The held block's cells (in cells) with the pointer on board cell <cx>
# <cy>, against a fresh picture of the board without it; the pointer stays.
held_cells() {
  local cx="$1" cy="$2" bare
  off_board
  sleep 2
  look "$3-bare"
  bare="$shot"
  xdotool mousemove --window "$win" $((332 + 40 * cx + 20)) $((140 + 40 * cy + 20))
  sleep 3
  look "$3-held"
  footprint "$bare" "$cx" "$cy"
}

board_taps() {
  local cell before="" n=0
  # A single rune looks the same turned: it is dropped, on cells apart so no
  # run forms, until a block of more is held.
  for cell in "2 2" "5 5" "2 6" "6 1"; do
    n=$((n + 1))
    held_cells $cell "block-$n"
    [ -n "$cells" ] || fail "no held block on the board"
    case "$cells" in *" "*) before="$cells"; break ;; esac
    say "a single rune held: dropped"
    xdotool click 1
  done
  [ -n "$before" ] || fail "only single runes were dealt"
  say "the held block covers $before"
  # The pointer at rest on the board, a bare right-button tap; then the
  # block's cells looked at again once its turn is over.
  xdotool click 3
  sleep 3
  held_cells $cell turned
  [ "$cells" != "$before" ] || fail "the right-button tap did not turn the held block ($before)"
  say "the right-button tap turned the held block: it covers $cells"

  # The pointer comes to the panel's Menu button and presses in one go.
  off_board
  sleep 2
  look before-menu
  local board="$shot"
  xdotool mousemove --window "$win" 100 555 click 1
  wait_for pause "the Menu tap as the pointer arrived did not open the pause menu" \
    eval '! above "$(same "$board" 300 240 200 100)" 0.6'
  say "the pause menu"
  xdotool key Escape
  wait_for resumed "Escape did not close the pause menu" eval 'above "$(same "$board" 300 240 200 100)" 0.9'
  say "back on the board"
}

# ---- first start -------------------------------------------------------------------------
start_game
hand_on 700 120
wait_for title-name "no title with the name window" name_window
# The name window fades in; typed letters wait until it stands.
sleep 2
xdotool type --delay 150 taps
sleep 1
tap 403 395
wait_for name-taken "the Ok tap did not take the name" profile_saved
say "the name window's Ok"

# The main page, the pointer off the menu, as the others are judged from it.
xdotool mousemove --window "$win" 700 120
wait_for title-menu "the title's menu did not come back" title_menu
sleep 2
look main
main="$shot"
options_and_back "first start"

quest_to_board
board_taps
close_game

# ---- second start: the profile is there, the title asks nothing ---------------------------------
start_game
# The hand keeps the title on its menu until the menu is seen (a slow frame
# rate makes its fade in outlast the idle time), then rests: by the tap the
# idle show has begun, and the player's move to the button must bring the
# menu back for the tap.
hand_on 700 120
wait_for second-title "no title menu on the second start" main_page
hand_off
sleep 8
options_and_back "second start"

# ---- a double-click on Other game modes ---------------------------------------------------------
# The modes page draws Time attack where the main page has Other game modes:
# the second click of a double-click is aimed at the page the first one left,
# and must not open the board selector (or a saved game's resume page).
# The modes page as one tap shows it, the pointer still on the button.
tap 400 335
wait_for modes "the Other game modes tap did nothing" eval '! above "$(same "$main" 300 270 200 160)" 0.5'
say "the modes page"
sleep 1
look modes
modes="$shot"
tap 400 470
wait_for main-again "the modes page's Main menu tap did nothing" main_page
xdotool mousemove --window "$win" 400 335
sleep 0.5
xdotool click --repeat 2 --delay 120 1
# Long enough for the selector to come, were it opened.
sleep 3
look modes-double
above "$(same "$modes" 140 200 520 330)" 0.85 || fail "a double-click on Other game modes went past the modes page"
say "a double-click on Other game modes left the modes page standing"
tap 400 470
wait_for main-last "the Main menu tap after the double-click did nothing" main_page
# ---- end of the double-click ---------------------------------------------------------------------
close_game
exit 0
