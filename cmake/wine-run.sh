#!/usr/bin/env bash
# Runs one Windows program under Wine with the build's private prefix.
# WINEPREFIX and the display come from the caller (build.sh test); the
# defaults let a developer run a single test binary by hand.
: "${WINEPREFIX:=${FAV_BUILD_DIR:-$(pwd)}/wineprefix}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
