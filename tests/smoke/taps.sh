#!/usr/bin/env bash
# Bare taps on the real executable on a virtual X display, as a touchpad
# gives them (press and release with no time between, the pointer at rest
# half a second before): every tap must act the first time, so none is made
# twice and none is held.
#   first start: the name window's Ok; the title menu's Options and the
#                options page's Main menu; Play quest; the first board's two
#                hints' OK.
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
