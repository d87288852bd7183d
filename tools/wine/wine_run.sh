#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix:
#   wine_run.sh PREFIX-DIR PROGRAM.exe [ARGS...]
# The prefix is made on first use, once even when tests start together, and
# never touches the user's own ~/.wine.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installer pops up while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.made" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
    touch "$prefix/.made"
  fi
) 9>"$prefix.lock"
exec wine "$@"
