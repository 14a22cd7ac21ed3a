#!/usr/bin/env bash
# The demo host under Wine, called by build.sh after a build:
#   ./build.sh demo         the demo host on your display with the sample favorites
#                           (without a display: the scripted tour, as screenshots)
#   ./build.sh screenshots  the scripted tour under Xvfb; PNGs in dist/screenshots/
# Everything the demo writes goes to a scratch copy inside its own Wine prefix.
set -euo pipefail
mode=${1:-demo}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=${FAV_BUILD_DIR:-$ROOT/build}
DIST=$ROOT/dist
EXE=$BUILD_DIR/tools/demohost/demohost.exe
SAMPLE=$ROOT/tools/demohost/sample
SHOTS=$DIST/screenshots
RAW=$BUILD_DIR/demohost-tour

# A prefix of its own: the look-and-feel settings below never reach the
# prefix the tests run in.
export WINEPREFIX=$BUILD_DIR/wineprefix-demo
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

log() { printf '== %s\n' "$*"; }
# Wine maps the Unix root to drive Z:.
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

[ -f "$EXE" ] || { echo "no $EXE: build first" >&2; exit 1; }

"$ROOT/cmake/wine-prefix.sh"

run_tour() {
  log "scripted tour under Xvfb"
  rm -rf "$RAW"
  mkdir -p "$RAW" "$SHOTS"
  local rc=0
  # Without a window manager Wine draws the window frames itself
  # (Decorated=N), so the screenshots show title bars.
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c '
    wineserver -p >/dev/null 2>&1; wine cmd /c exit >/dev/null 2>&1 </dev/null
    wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1
    timeout 300 wine "$0" --package "$1" --sample "$2" --tour "$3" </dev/null >/dev/null 2>&1; rc=$?
    wineserver -k >/dev/null 2>&1; exit $rc' \
    "$EXE" "$(winpath "$DIST/Favorites")" "$(winpath "$SAMPLE")" "$(winpath "$RAW")" || rc=$?
  [ -f "$RAW/tour.txt" ] && cat "$RAW/tour.txt"
  rm -f "$SHOTS"/*.png
  : >"$SHOTS/index.txt"
  if [ -f "$RAW/shots.txt" ]; then
    while IFS=$'\t' read -r name caption; do
      [ -f "$RAW/$name.bmp" ] || continue
      convert "$RAW/$name.bmp" "$SHOTS/$name.png"
      printf '%s.png\t%s\n' "$name" "$caption" >>"$SHOTS/index.txt"
      printf '   %s.png\n' "$name"
    done <"$RAW/shots.txt"
  fi
  log "screenshots in $SHOTS (what each shows: index.txt)"
  return $rc
}

run_interactive() {
  log "demo host on $DISPLAY (close its window to end)"
  wine reg delete "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /f >/dev/null 2>&1 || true
  wine "$EXE" --package "$(winpath "$DIST/Favorites")" --sample "$(winpath "$SAMPLE")" </dev/null
}

case "$mode" in
  demo)
    if [ -n "${DISPLAY:-}" ] && [ "${CI:-}" != true ]; then run_interactive; else run_tour; fi ;;
  screenshots) run_tour ;;
  *) echo "usage: run_demo.sh demo|screenshots" >&2; exit 2 ;;
esac
