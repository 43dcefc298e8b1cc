#!/usr/bin/env bash
# Sets up, builds and starts the bar under Wine.
# With a display ($DISPLAY set) the bar runs there until it is closed, from a
# program folder under build/run/ and a Wine prefix under build/run/prefix.
# Without one it runs on a virtual display, saves build/run/screenshot.png and
# closes the bar again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Only what is started here is built: a first run need not wait for the
# test programs and benchmarks.
cmake --preset windows >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  cmake --build --preset windows --target TaviMenu2 tavidriver
  exec python3 tests/e2e/wine_run.py bar build/run/screenshot.png
fi
cmake --build --preset windows --target TaviMenu2

export WINEPREFIX="$PWD/build/run/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8
mkdir -p build/run/program
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
cp build/windows/TaviMenu2.exe build/windows/TaviMenu2.html build/run/program/
cd build/run/program
exec wine TaviMenu2.exe
