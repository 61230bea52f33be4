#!/bin/bash
# The main window in the program's own look and, with ZRTK_LOOK=system, in
# the system's look: screenshots build/screenshots/skin.png and system.png.
# The skin's window background (#F4F6F8, resources/skin.zsk) covers much of
# the skinned window and none of the system one. Both show the demo portal's
# draws (build/host/tools/zr_portal, or $ZR_PORTAL) and an empty plan.
#   look.sh ZRTK_EXE BUILD_DIR   (run through tools/wine-env)
set -euo pipefail
exe=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
shots=$repo/build/screenshots
drive_d=$repo/build/drive_d
. "$here/wine_lib.bash"
mkdir -p "$shots" "$drive_d"
work=$(mktemp -d)
files=("$drive_d/保存配置ZRTK.ini" "$drive_d/计划区.txt")
zr_keep_files "$work" "${files[@]}"
cleanup() {
  [ -n "${ZR_PORTAL_PID:-}" ] && kill "$ZR_PORTAL_PID" 2>/dev/null || true
  zr_restore_files "$work" "${files[@]}"
  rm -rf "$work"
}
trap cleanup EXIT

portal=$(zr_portal_path "$repo") || zr_fail "no demo portal (ZR_PORTAL, or build/host could not be built)"
zr_start_portal "$portal" "$work" --days 2 || zr_fail "the demo portal did not start"
zr_write_portal_key "${files[0]}" "$ZR_PORTAL_ADDRESS"
rm -f "${files[1]}"

background='#F4F6F8'
peek=$2/tests/wine/zr_peek.exe
[ -f "$peek" ] || cmake --build "$2" --target zr_peek -j2 >/dev/null || zr_fail "zr_peek.exe could not be built"

# share FILE: the part of the picture in the skin's window background.
share() {
  convert "$1" -alpha off -fill black +opaque "$background" -fill white -opaque "$background" \
    -format '%[fx:mean]' info:
}

# shoot LOOK FILE: starts the program in the look, waits until the draw list
# has filled (the latest-draw label changes), saves the window once it has
# stopped changing, closes it.
shoot() {
  local look=$1 file=$2 pid win i=0
  ZRTK_LOOK=$look wine "$exe" >"$work/$look.log" 2>&1 &
  pid=$!
  win=$(zr_wait_window "$pid" "$ZR_MAIN_CAPTION" 60) || zr_fail "the main window did not appear ($look)"
  i=0
  latest() { wine "$peek" text main 3 2>/dev/null | tr -d '\r'; }  # 标签_最新一期期号
  until [ -n "$(latest)" ] && [ "$(latest)" != "等待显示." ]; do
    i=$((i + 1))
    [ "$i" -ge 300 ] && zr_fail "the draw list did not fill ($look)"
    sleep 0.1
  done
  i=0
  import -window "$win" "$work/a.png"
  while [ "$i" -lt 30 ]; do
    sleep 0.5
    import -window "$win" "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" = "0" ] && break
    mv "$work/b.png" "$work/a.png"
    i=$((i + 1))
  done
  mv "$work/a.png" "$file"
  zr_close "$win"
  zr_wait_exit "$pid" 10 || zr_fail "zrtk.exe still runs after its window was closed ($look)"
  [ "$ZR_EXIT_CODE" = 0 ] || zr_fail "zrtk.exe ended with exit code $ZR_EXIT_CODE ($look)"
}

shoot skin "$shots/skin.png"
shoot system "$shots/system.png"
skin=$(share "$shots/skin.png")
system=$(share "$shots/system.png")
echo "look.sh: window background covers $skin of the skinned window, $system of the system one"
awk -v s="$skin" 'BEGIN { exit !(s > 0.3) }' || zr_fail "the skinned window does not show the skin's background"
awk -v s="$system" 'BEGIN { exit !(s < 0.01) }' || zr_fail "the system look shows the skin's background"
echo "look.sh: passed"
