#!/bin/bash
# A player's day with the real zrtk.exe under Wine, against the demo portal
# publishing a draw every few seconds, driven with xdotool; the control texts
# and the clipboard are read with zr_peek.exe. Every step waits on a
# condition with a time limit.
#
#   tools/wine-env tests/wine/day.sh ZRTK_EXE BUILD_DIR
#
# Steps: start; the draw list fills; a last-three search with 容对 1 to 3
# fills 编辑框2, 编辑框_结果 and their counters; a draw typed by hand adds its
# row and plan line; 按钮3 puts numbers and plan on the clipboard; settings
# saved, a box changed, settings loaded back; a new draw on the portal brings
# the chime request, the notification window, a plan line and a new search; closing ends with
# exit code 0 and the plan file holds the plan area's text.
# Screenshots: build/screenshots/search.png, notify-day.png.
set -euo pipefail

exe=$1
build=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
shots=$repo/build/screenshots
drive_d=$repo/build/drive_d
. "$here/wine_lib.bash"
mkdir -p "$shots" "$drive_d"

work=$(mktemp -d)
zrtk_pid=""
settings=$drive_d/保存配置ZRTK.ini
plan_file=$drive_d/计划区.txt

fail() {
  echo "FAIL day.sh: $*" >&2
  import -window root "$shots/day-failed.png" 2>/dev/null || true
  tail -n 5 "$work/portal.err" "$work/zrtk.out" >&2 2>/dev/null || true
  exit 1
}

step() { echo "day.sh: $*"; }

wait_for() { zr_wait_for "$@"; }

# --- the demo portal and zr_peek ---------------------------------------------

portal=$(zr_portal_path "$repo") || fail "no demo portal (ZR_PORTAL, or build/host could not be built)"

peek_exe=$build/tests/wine/zr_peek.exe
if [ ! -f "$peek_exe" ]; then
  cmake --build "$build" --target zr_peek -j2 >/dev/null || fail "zr_peek.exe could not be built"
fi

# --- files on drive D:, put back afterwards -------------------------------------

zr_keep_files "$work" "$settings" "$plan_file"
cleanup() {
  [ -n "$zrtk_pid" ] && kill "$zrtk_pid" 2>/dev/null || true
  [ -n "${ZR_PORTAL_PID:-}" ] && kill "$ZR_PORTAL_PID" 2>/dev/null || true
  zr_restore_files "$work" "$settings" "$plan_file"
  rm -rf "$work"
}
trap cleanup EXIT

zr_start_portal "$portal" "$work" --every 3 --days 2 || fail "the demo portal did not start"
zr_write_portal_key "$settings" "$ZR_PORTAL_ADDRESS"
rm -f "$plan_file"

# --- reading and driving the controls ---------------------------------------------

# The index of a control of the main form: its place among the form's table rows.
id() {
  local n
  n=$(grep -E '^ZR_(CONTROL|TIMER)\(' "$repo/resources/forms/main.inc" | grep -n "^ZR_[A-Z]*($1," | cut -d: -f1)
  [ -n "$n" ] || fail "no control $1 in the main form"
  echo $((n - 1))
}

peek() { wine "$peek_exe" "$@" 2>/dev/null | tr -d '\r'; }
text() { peek text main "$(id "$1")"; }
text_is() { [ "$(text "$1")" = "$2" ]; }
text_not() { [ "$(text "$1")" != "$2" ]; }
filled() { [ -n "$(text "$1" | tr -d ' \n')" ]; }
rows() { peek rows main "$(id 超级列表框1)"; }
rows_above() { [ "$(rows)" -gt "$1" ]; }
lines() { text 编辑框_计划区 | grep -c . || true; }
lines_above() { [ "$(lines)" -gt "$1" ]; }
words() { text "$1" | wc -w; }

click() {
  local x y w h
  read -r x y w h < <(peek rect main "$(id "$1")") || fail "no place for $1"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

type_into() {  # type_into NAME TEXT: replaces the box's text as the user does
  click "$1"
  xdotool key --clearmodifiers End shift+Home BackSpace
  xdotool type --delay 20 "$2"
  wait_for 10 text_is "$1" "$2" || fail "$1 holds '$(text "$1")', not '$2'"
}

# A counter label reads "注数：N" for the N numbers of its box.
counts() { [[ "$(text "$2")" == "注数：$(words "$1")"* ]] && [ "$(words "$1")" -gt 0 ]; }

# A screenshot of one window once it has stopped changing.
shot() {
  local win=$1 file=$2 i=0
  import -window "$win" "$work/a.png" 2>/dev/null || import -window root "$work/a.png"
  while [ "$i" -lt 20 ]; do
    sleep 0.25
    import -window "$win" "$work/b.png" 2>/dev/null || import -window root "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" = "0" ] && break
    mv "$work/b.png" "$work/a.png"
    i=$((i + 1))
  done
  mv "$work/a.png" "$file"
}

# --- the day ------------------------------------------------------------------------

# Wine's trace of winmm shows each request to play a sound (the chime).
WINEDEBUG=trace+winmm wine "$exe" >"$work/zrtk.out" 2>&1 &
zrtk_pid=$!
chimes() { grep -c 'PlaySound' "$work/zrtk.out" || true; }
win=$(zr_wait_window "$zrtk_pid" "$ZR_MAIN_CAPTION" 60) || fail "the main window did not appear"
wait_for 30 peek rect main "$(id 按钮_搜索)" || fail "zr_peek does not find the main window"
step "started"

# New draws are taken only when the day asks for them.
click 单选框_手动开奖
wait_for 10 text_is 状态条1 "温馨提示：手动开奖已开启,请勿忘开奖时间" || fail "manual mode did not start"

wait_for 60 rows_above 0 || fail "the draw list did not fill"
wait_for 10 text_not 标签_最新一期期号 "等待显示." || fail "the latest-draw labels were not set"
latest=$(text 标签_最新一期期号)
step "draw list filled: $(rows) rows, latest $latest $(text 标签_最新一期号码)"

type_into 编辑框_容对_左 1
type_into 编辑框_容对_右 3
click 按钮_搜索
wait_for 180 filled 编辑框2 || fail "the search put no base sets into 编辑框2"
wait_for 30 filled 编辑框_结果 || fail "the search put no result numbers into 编辑框_结果"
wait_for 10 counts 编辑框2 标签52 || fail "标签52 reads '$(text 标签52)' for $(words 编辑框2) numbers"
wait_for 10 counts 编辑框_结果 标签_注数 || fail "标签_注数 reads '$(text 标签_注数)' for $(words 编辑框_结果) numbers"
step "search: $(text 标签52) in 编辑框2, $(text 标签_注数) in 编辑框_结果"
shot "$win" "$shots/search.png"

# A draw typed by hand: the next period, number 12345.
prefix=${latest%???}
suffix=${latest: -3}
next=$prefix$(printf '%03d' $((10#$suffix % 120 + 1)))
before_rows=$(rows)
before_lines=$(lines)
type_into 编辑框_手动期号 "$next"
type_into 编辑框_手动奖号 12345
click 按钮1
wait_for 10 rows_above "$before_rows" || fail "the typed draw added no row"
wait_for 10 text_is 标签_最新一期号码 12345 || fail "the latest number shows '$(text 标签_最新一期号码)'"
wait_for 10 lines_above "$before_lines" || fail "the typed draw added no plan line"
step "typed draw $next 12345: row $(rows), plan line '$(text 编辑框_计划区 | grep . | tail -n 1)'"

# 按钮3: the result numbers, the plan, its statistics and the advert.
click 按钮3
numbers=$(text 编辑框_结果 | tr -s ' \n' '\n' | grep .)
first_number=$(head -n 1 <<<"$numbers")
last_number=$(tail -n 1 <<<"$numbers")
last_line=$(text 编辑框_计划区 | grep . | tail -n 1)
statistics="人工参数搜索：总共$(lines)期"
advert=$(text 编辑框_广告)
on_clipboard() {
  local c
  c=$(peek clip)
  [[ "$c" == *"$first_number"* && "$c" == *"$last_number"* && "$c" == *"$last_line"* &&
    "$c" == *"$statistics"* && "$c" == *"$advert"* ]]
}
wait_for 10 on_clipboard || fail "the clipboard holds '$(peek clip | head -n 5)'"
step "按钮3 copied numbers, plan, '$statistics…' and the advert"

# Save, change boxes, load them back.
kept_window=$(text 编辑框_取开奖期)
kept_sets=$(text 编辑框_大底个数)
click 按钮_保存配置
ok_box() { xdotool search --name '^OK!$' | head -n 1 | grep .; }
wait_for 15 ok_box || fail "no confirmation of the save"
box=$(ok_box)
xdotool windowfocus "$box" 2>/dev/null || true
xdotool key --window "$box" Return 2>/dev/null || xdotool key Return
wait_for 10 bash -c "! xdotool search --name '^OK!\$' | grep -q ." || fail "the confirmation did not close"
iconv -f GBK -t UTF-8 "$settings" | grep -q '^\[数据\]' || fail "the settings file has no section 数据"
type_into 编辑框_取开奖期 77
type_into 编辑框_大底个数 9
click 按钮_提取设置
wait_for 10 text_is 编辑框_取开奖期 "$kept_window" || fail "loading left 编辑框_取开奖期 at '$(text 编辑框_取开奖期)'"
wait_for 10 text_is 编辑框_大底个数 "$kept_sets" || fail "loading left 编辑框_大底个数 at '$(text 编辑框_大底个数)'"
step "settings saved, changed and loaded back ($kept_window, $kept_sets)"

# A new draw: automatic mode polling every 5 s finds the portal's newest draw.
before_chimes=$(chimes)
before_lines=$(lines)
before_results=$(text 编辑框_结果)
type_into 编辑框_自动开奖时间 5
click 单选框_自动开奖
notify() { xdotool search --name '更新开奖咯' | head -n 1 | grep .; }
wait_for 60 notify || fail "no notification window after a new draw"
note=$(notify)
chimed() { [ "$(chimes)" -gt "$before_chimes" ]; }
wait_for 10 chimed || fail "the new draw brought no chime request"
wait_for 10 peek text notify -1 || fail "zr_peek does not find the notification window"
numbers_shown() { [ "$(peek text notify 6)" != "稍等" ]; }  # 标签_最新一期号码 of the notification form
wait_for 10 numbers_shown || true
shot "$note" "$shots/notify-day.png"
wait_for 20 lines_above "$before_lines" || fail "the new draw added no plan line"
results_changed() { filled 编辑框_结果 && [ "$(text 编辑框_结果)" != "$before_results" ]; }
wait_for 180 results_changed || fail "the new draw brought no new search"
click 单选框_手动开奖
step "new draw $(text 标签_最新一期期号): chime, notification, plan line, new search ($(text 标签_注数))"

# Close: exit code 0, the plan file holds the plan area's text.
plan=$(text 编辑框_计划区)
zr_close "$win"
zr_wait_exit "$zrtk_pid" 20 || fail "zrtk.exe still runs 20 s after its window was closed"
zrtk_pid=""
[ "$ZR_EXIT_CODE" = 0 ] || fail "zrtk.exe ended with exit code $ZR_EXIT_CODE"
[ -f "$plan_file" ] || fail "no plan file"
saved=$(iconv -f GBK -t UTF-8 "$plan_file" | tr -d '\r')
[ "$saved" = "$plan" ] || fail "the plan file differs from the plan area"
step "closed with exit code 0; the plan file holds $(grep -c . <<<"$plan") plan lines"
echo "day.sh: passed"
