#!/usr/bin/env bash
# The real executable on a virtual X display, played as a first-time player
# would: the name asked for on the title, the quest started, its story and
# help pages passed with Escape, the first level's board on screen; then the
# window's close button, a clean exit and the player's files on disk.
# Each step is judged from the window's own pixels against the pictures the
# game draws (from its built game folder), and kept as a PNG. Every click is
# a bare tap made once: a tap the game missed fails the run.
# Run under xvfb-run:  smoke.sh <quillimar> <xwin> <assets folder> <picture folder>
. "$(dirname "$0")/xsession.sh"

title="gfx/title/velmora-title.jpg"
start_game
hand_on 400 250

# ---- the title, asking for a name ----------------------------------------------------
# After the opening pictures the title fades in, and the name window lies over
# its middle (the full picture alone would be 1.0).
wait_for title-name "no title with the name window" \
  eval 'l="$(like "$title")"; above "$l" 0.5 && ! above "$l" 0.95'
say "the title, asking for a name ($l of its picture)"
# The name window fades in; typed letters wait until it stands.
sleep 2
xdotool type --delay 150 smoke
sleep 1
xdotool key Return
wait_for name-taken "the new profile was not saved" eval '[ -s "$prefs/profiles/smoke.dat" ]'

# ---- the title's menu: play the quest, to the first board -------------------------------
wait_for title-menu "the title's menu did not come back" eval 'l="$(like "$title")"; above "$l" 0.5'
say "the title's menu ($l of its picture)"
quest_to_board

# ---- the close button --------------------------------------------------------------------------
close_game

# Ending in order writes the options (naming the new player) and the profile.
[ -s "$prefs/data/options.tsc" ] || fail "no options file was written"
grep -q 'smoke' "$prefs/data/options.tsc" || fail "the options do not name the new profile"
[ -s "$prefs/profiles/smoke.dat" ] || fail "the profile file is missing"
for t in "$prefs"/profiles/*.own-save.tmp "$prefs"/data/*.own-save.tmp; do
  [ -e "$t" ] && fail "a temporary save was left behind: $(basename "$t")"
done
say "options and profile saved"
exit 0
