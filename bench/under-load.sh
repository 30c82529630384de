#!/usr/bin/env bash
# Runs a command while a niced parallel build of the game (ccache off, over
# and over) keeps every core busy: the "loaded machine" of the start-up
# figures. Only the code is compiled: making the assets is one thread for
# half a minute, which would leave the machine quiet for part of a run.
# Usage: bench/under-load.sh <command> [args...]
set -uo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
scratch="$(mktemp -d)"
setsid bash -c '
  cd "$1" || exit 1
  export CCACHE_DISABLE=1
  nice -n 10 cmake -S "$2" -B . -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILL_TESTS=OFF -DQUILL_BENCH=OFF >/dev/null 2>&1
  while :; do
    nice -n 10 ninja -j"$(nproc)" quillimar quill_assetbuild bcapack >/dev/null 2>&1
    ninja -t clean >/dev/null 2>&1
  done' load "$scratch" "$src" &
load=$!
sleep 15  # configured, and the compilers are running
"$@"
rc=$?
kill -TERM -- "-$load" 2>/dev/null
wait "$load" 2>/dev/null
rm -rf "$scratch"
exit "$rc"
