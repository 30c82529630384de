#!/usr/bin/env bash
# The real executable started where no player could see it: no display named,
# or one that names no server, and no video driver asked for by name. It must
# end by itself, soon, with a non-zero status and a message saying why, and
# never run on unseen.
#   no_display.sh <quillimar>
set -u
exe="$1"
HOME="$(mktemp -d)"
export HOME
trap 'rm -rf "$HOME"' EXIT
status=0

# The wait is generous: the check is that it ends by itself, not how fast.
run() {
  local name="$1"
  shift
  local err rc
  err="$(env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY -u QUILL_NOTIFY_STDERR "$@" timeout -k 10 300 "$exe" 2>&1 >/dev/null)"
  rc=$?
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
    echo "no_display: $name: the game ran on with nothing to show it on"
    status=1
  elif [ "$rc" -eq 0 ]; then
    echo "no_display: $name: the game ended as if all were well"
    status=1
  elif ! grep -q "No display to show the game on" <<<"$err"; then
    echo "no_display: $name: ended with status $rc but without its message:"
    echo "$err"
    status=1
  else
    echo "no_display: $name: ended with status $rc and its message"
  fi
}

run "DISPLAY unset" -u DISPLAY
run "DISPLAY naming no server" DISPLAY=:4711
exit "$status"
