#!/usr/bin/env bash
# Starts the real executable from its application folder on a virtual X
# display, waits for its window (the title screen), asks it to quit as the
# system does (SIGTERM arrives as the quit request) and expects a clean exit.
# Run under xvfb-run.
set -u
exe="$1"
cd "$(dirname "$exe")"
# An empty home folder: a first start, and the player's own files untouched.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home"
"$exe" &
pid=$!
if ! timeout 60 xdotool search --sync --onlyvisible --name "Quillimar" >/dev/null; then
  echo "smoke: no window appeared"
  kill "$pid" 2>/dev/null
  exit 1
fi
sleep 1
kill -TERM "$pid"
for _ in $(seq 1 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    rc=$?
    echo "smoke: the game ended with status $rc"
    [ "$rc" -eq 0 ] || exit "$rc"
    # Ending in order writes the options.
    if [ ! -s "$home/Library/Preferences/.Velmora/data/options.tsc" ]; then
      echo "smoke: no options file was written"
      exit 1
    fi
    exit 0
  fi
  sleep 0.1
done
echo "smoke: the game did not end after the quit request"
kill "$pid" 2>/dev/null
exit 1
