#!/bin/bash
# The real notification window under Wine: with the demo portal publishing a
# draw every few seconds, the program's first poll (30 s after start) finds a
# new draw and a window "更新开奖咯~<祝君中奖>" slides into the lower right
# corner, then closes itself within ten seconds. A screenshot of it goes to
# build/screenshots/notify.png.
#
#   tools/wine-env tests/wine/notify.sh ZRTK_EXE BUILD_DIR
#
# The demo portal is a Linux program: $ZR_PORTAL, or a zr_portal of one of the
# Linux builds under build/, or one built here into build/host.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine_lib.bash"

exe=$1
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
shots=$repo/build/screenshots
mkdir -p "$shots"

fail() {
  echo "notify.sh: $*" >&2
  if [ -n "${work:-}" ] && [ -d "$work" ]; then
    echo "--- portal:" >&2
    tail -n 5 "$work/portal.out" "$work/portal.err" >&2 || true
    echo "--- windows:" >&2
    for w in $(xdotool search --name . 2>/dev/null); do xdotool getwindowname "$w" 2>/dev/null; done | sort -u | head -n 20 >&2
    [ -d "$shots" ] && import -window root "$shots/notify-failed.png" 2>/dev/null || true
  fi
  exit 1
}

wait_for() { zr_wait_for "$@"; }

portal=$(zr_portal_path "$repo") || fail "no demo portal (ZR_PORTAL, or build/host could not be built)"

work=$(mktemp -d)
zrtk_pid=""
settings=$repo/build/drive_d/$(printf '保存配置ZRTK.ini')
saved=""
cleanup() {
  [ -n "$zrtk_pid" ] && kill "$zrtk_pid" 2>/dev/null || true
  [ -n "${ZR_PORTAL_PID:-}" ] && kill "$ZR_PORTAL_PID" 2>/dev/null || true
  if [ -n "$saved" ]; then mv -f "$saved" "$settings"; else rm -f "$settings"; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The portal on a free port, publishing a new period every 3 seconds.
zr_start_portal "$portal" "$work" --every 3 --days 2 || fail "the demo portal did not start"

# The program reads the portal's host from its settings file on drive D:.
mkdir -p "$(dirname "$settings")"
if [ -f "$settings" ]; then
  saved=$work/settings.saved
  cp "$settings" "$saved"
fi
zr_write_portal_key "$settings" "$ZR_PORTAL_ADDRESS"

wine "$exe" >"$work/zrtk.out" 2>&1 &
zrtk_pid=$!

find_notify() { xdotool search --name '更新开奖咯' | head -n 1 | grep .; }
wait_for 90 find_notify || fail "no notification window within 90 s"
window=$(find_notify)
appeared=$(date +%s)

# It slides up 200 pixels in half a second and rests in the lower right corner.
# xwininfo, since xdotool's geometry of a window inside Wine's desktop counts
# the parent's offset twice.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
place() {
  local info
  info=$(xwininfo -id "$window") || return 1
  X=$(sed -n 's/.*Absolute upper-left X: *\(-*[0-9]*\).*/\1/p' <<<"$info")
  Y=$(sed -n 's/.*Absolute upper-left Y: *\(-*[0-9]*\).*/\1/p' <<<"$info")
  WIDTH=$(sed -n 's/.*Width: *\([0-9]*\).*/\1/p' <<<"$info")
  HEIGHT=$(sed -n 's/.*Height: *\([0-9]*\).*/\1/p' <<<"$info")
}
slid_in() { place && [ "$Y" -le $((screen_h - 190)) ]; }
wait_for 5 slid_in || fail "the window did not slide in (last top edge ${Y:-unknown})"
echo "notification window at $X,$Y size ${WIDTH}x$HEIGHT on ${screen_w}x$screen_h"
import -window root "$shots/notify.png"
[ "$X" -ge $((screen_w / 2)) ] || fail "the window is not on the right: x=$X"
[ "$Y" -ge $((screen_h / 2)) ] || fail "the window is not at the bottom: y=$Y"

gone() { ! xdotool search --name '更新开奖咯' | grep -q .; }
wait_for 10 gone || fail "the notification window was still open 10 s after it appeared"
echo "notification window closed after $(($(date +%s) - appeared)) s"

main=$(xdotool search --onlyvisible --name "$ZR_MAIN_CAPTION" 2>/dev/null | head -n 1 || true)
[ -n "$main" ] || fail "the main window is gone"
zr_close "$main"
zr_wait_exit "$zrtk_pid" 10 || fail "zrtk.exe still runs 10 s after its window was closed"
zrtk_pid=""
[ "$ZR_EXIT_CODE" = 0 ] || fail "zrtk.exe ended with exit code $ZR_EXIT_CODE"
echo "notify.sh: passed"
