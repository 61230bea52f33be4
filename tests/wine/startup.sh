#!/bin/bash
# zrtk.exe starts into its main window (979 by 593), and closing the window
# ends the process with exit code 0 within a few seconds.
#   startup.sh ZRTK_EXE BUILD_DIR   (run through tools/wine-env)
set -euo pipefail
exe=$1
build=$2
. "$(dirname "$0")/wine_lib.bash"

wine "$exe" >"$build/startup.log" 2>&1 &
pid=$!
win=$(zr_wait_window "$pid" "$ZR_MAIN_CAPTION" 60) || zr_fail "the main window did not appear"

eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" = 979 ] && [ "$HEIGHT" = 593 ] || zr_fail "the main window is ${WIDTH}x${HEIGHT}, not 979x593"

zr_screenshot "$build/screenshots/startup.png" 15
kill -0 "$pid" 2>/dev/null || zr_fail "zrtk.exe ended before it was closed"

zr_close "$win"
zr_wait_exit "$pid" 10 || zr_fail "zrtk.exe still runs 10 s after its window was closed"
[ "$ZR_EXIT_CODE" = 0 ] || zr_fail "zrtk.exe ended with exit code $ZR_EXIT_CODE"
echo "startup: main window shown, closed, exit code 0"
