#!/usr/bin/env bash
# Favorites build entry point.
#   ./build.sh          install what is missing, build, assemble dist/
#   ./build.sh test     the same, then every test under Wine (and Xvfb)
#   ./build.sh bench    the same, then the benchmarks (prints figures)
#   ./build.sh demo     the same, then the demo host (tools/demohost/run_demo.sh)
#   ./build.sh screenshots  the demo host's scripted tour, PNGs in dist/screenshots/
#   ./build.sh fuzz     the core's libFuzzer targets (host clang), 60 s each
#                       (FUZZ_SECONDS); nothing else is built
# BUILD_DIR chooses the build folder (default ./build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
DIST=$ROOT/dist
JOBS=$(nproc 2>/dev/null || echo 2)
command=${1:-package}
shift || true

log() { printf '== %s\n' "$*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_tools() {
  local need=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
  command -v x86_64-w64-mingw32-windres >/dev/null || need+=(mingw-w64-tools binutils-mingw-w64-x86-64)
  command -v cmake >/dev/null || need+=(cmake)
  command -v wine >/dev/null || need+=(wine wine64)
  command -v xvfb-run >/dev/null || need+=(xvfb xauth)
  command -v zip >/dev/null || need+=(zip)
  command -v python3 >/dev/null || need+=(python3)
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  command -v g++ >/dev/null || need+=(g++)
  if [ "$command" != package ]; then
    # Screenshots of test windows are looked at by people.
    command -v import >/dev/null || need+=(imagemagick)
  fi
  if [ ${#need[@]} -gt 0 ]; then
    log "installing: ${need[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq "${need[@]}" >/dev/null
  fi
}

configure() {
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
}

build() {
  cmake --build "$BUILD_DIR" -j"$JOBS" -- --no-print-directory
}

# The Windows-free core with the host's compiler: its table tests run as the
# CTest entry core_native_tests, first of all.
build_native() {
  local dir=$BUILD_DIR/native
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT/cmake/native" -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$dir" -j"$JOBS" -- --no-print-directory
}

# libFuzzer targets over the settings parser and writer and the cipher, each
# run for FUZZ_SECONDS with its corpus kept in build/fuzz/corpus; prints
# libFuzzer's final figures. A failing input is left in build/fuzz/.
run_fuzz() {
  command -v clang++ >/dev/null || {
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq clang >/dev/null
  }
  local dir=$BUILD_DIR/fuzz seconds=${FUZZ_SECONDS:-60}
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    CXX=clang++ cmake -S "$ROOT/cmake/native" -B "$dir" -DFAV_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build "$dir" -j"$JOBS" -- --no-print-directory
  local target name
  for target in "$dir"/*_fuzz; do
    name=$(basename "$target")
    mkdir -p "$dir/corpus/$name"
    log "fuzz $name (${seconds} s)"
    if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -max_len=65536 \
        -artifact_prefix="$dir/$name-" "$dir/corpus/$name" "$ROOT/tests/fuzz/seeds" \
        >"$dir/$name.log" 2>&1; then
      tail -40 "$dir/$name.log"
      echo "$name failed; the input is in $dir" >&2
      return 1
    fi
    grep -E '^#[0-9]+' "$dir/$name.log" | tail -1
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
      "$dir/$name.log"
  done
}

# dist/Favorites/ holds exactly what the installer ships; the zip is remade
# only when something in the folder changed.
package() {
  python3 "$ROOT/tools/assemble_dist.py" --build "$BUILD_DIR" --root "$ROOT" --dist "$DIST"
}

export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export FAV_BUILD_DIR=$BUILD_DIR

wine_prefix() {
  "$ROOT/cmake/wine-prefix.sh" --unmanaged
}

# Runs a command with a display (Xvfb when there is none, or in CI) and a
# persistent wineserver, so each test program starts quickly.
with_display() {
  local inner
  inner=$(printf '%q ' "$@")
  # The first Wine program starts the prefix's services, which outlive it and
  # would hold the test runner's output pipes open; start them here, detached.
  local script="wineserver -p >/dev/null 2>&1; wine cmd /c exit >/dev/null 2>&1 </dev/null; $inner; rc=\$?; wineserver -k >/dev/null 2>&1; exit \$rc"
  if [ -n "${DISPLAY:-}" ] && [ "${CI:-}" != true ] && [ -z "${FAV_FORCE_XVFB:-}" ]; then
    bash -c "$script"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c "$script"
  fi
}

run_tests() {
  wine_prefix
  log "tests"
  with_display ctest --test-dir "$BUILD_DIR" --output-on-failure -j1 "$@"
}

run_bench() {
  wine_prefix
  log "benchmarks"
  with_display bash -c "for b in \"$BUILD_DIR\"/tools/bench/*_bench.exe; do echo \"-- \$(basename \"\$b\")\"; \"$ROOT/cmake/wine-run.sh\" \"\$b\" \"$DIST/Favorites\" || exit 1; done"
}

if [ "$command" = fuzz ]; then
  run_fuzz
  exit
fi

ensure_tools
configure
build
build_native
package

case "$command" in
  package) ;;
  test) run_tests "$@" ;;
  bench) run_bench "$@" ;;
  demo|screenshots) "$ROOT/tools/demohost/run_demo.sh" "$command" ;;
  *) echo "usage: ./build.sh [test|bench|demo|screenshots|fuzz]" >&2; exit 2 ;;
esac
