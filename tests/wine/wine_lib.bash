# Helpers for the scripts that drive zrtk.exe under Wine (sourced, not run).
# Every wait polls a real condition and gives up after a time limit.

ZR_MAIN_CAPTION="内置独特随机种子算法"

zr_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# zr_wait_window PID NAME SECONDS: prints the X window id of the first window
# whose name matches, once it is mapped; fails when the process ends first.
zr_wait_window() {
  local pid=$1 name=$2 limit=$(($3 * 10)) i=0 win
  while [ "$i" -lt "$limit" ]; do
    win=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
    if [ -n "$win" ]; then
      echo "$win"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
    i=$((i + 1))
  done
  return 1
}

# zr_wait_gone NAME SECONDS: waits until no visible window matches.
zr_wait_gone() {
  local name=$1 limit=$(($2 * 10)) i=0
  while [ "$i" -lt "$limit" ]; do
    [ -z "$(xdotool search --onlyvisible --name "$name" 2>/dev/null || true)" ] && return 0
    sleep 0.1
    i=$((i + 1))
  done
  return 1
}

# zr_screenshot FILE SECONDS: saves the screen once it has stopped changing
# (two shots half a second apart are equal), or as it is at the time limit.
zr_screenshot() {
  local file=$1 limit=$(($2 * 2)) i=0 tmp
  tmp=$(mktemp -d)
  # Wine's own desktop paints its background and the window frames a moment
  # after the window maps: wait (at most 10 s) until the corner is no longer black.
  while [ "$i" -lt 100 ]; do
    case "$(import -window root -crop 1x1+2+2 txt:- 2>/dev/null | tail -n 1)" in
      *"#000000"*) sleep 0.1; i=$((i + 1)) ;;
      *) break ;;
    esac
  done
  i=0
  import -window root "$tmp/a.png"
  while [ "$i" -lt "$limit" ]; do
    sleep 0.5
    import -window root "$tmp/b.png"
    if [ "$(compare -metric AE "$tmp/a.png" "$tmp/b.png" null: 2>&1 || true)" = "0" ]; then
      break
    fi
    mv "$tmp/b.png" "$tmp/a.png"
    i=$((i + 1))
  done
  mkdir -p "$(dirname "$file")"
  mv "$tmp/a.png" "$file"
  rm -rf "$tmp"
}

# zr_close WINDOW: closes a window as the user does, with Alt+F4.
zr_close() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
  xdotool key --clearmodifiers alt+F4
}

# zr_wait_exit PID SECONDS: waits for the process (a child of this shell)
# and sets ZR_EXIT_CODE; fails when it is still running at the time limit.
zr_wait_exit() {
  local pid=$1 limit=$(($2 * 10)) i=0
  while kill -0 "$pid" 2>/dev/null; do
    [ "$i" -ge "$limit" ] && return 1
    sleep 0.1
    i=$((i + 1))
  done
  ZR_EXIT_CODE=0
  wait "$pid" || ZR_EXIT_CODE=$?
}

# zr_wait_for SECONDS COMMAND...: polls until the command succeeds.
zr_wait_for() {
  local limit=$(($1 * 10)) i=0
  shift
  until "$@" >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -ge "$limit" ] && return 1
    sleep 0.1
  done
}

# zr_portal_path REPO: prints the demo portal's program ($ZR_PORTAL, or the
# host build's, built first when it is missing); fails when there is none.
zr_portal_path() {
  local repo=$1 portal=${ZR_PORTAL:-$1/build/host/tools/zr_portal}
  if [ ! -x "$portal" ]; then
    (cd "$repo" && cmake --preset host >/dev/null && cmake --build --preset host --target zr_portal >/dev/null) >&2 ||
      return 1
  fi
  [ -x "$portal" ] && echo "$portal"
}

# zr_start_portal PORTAL WORK ARG...: starts the demo portal on a free port
# with the arguments, its output in WORK; sets ZR_PORTAL_PID and
# ZR_PORTAL_ADDRESS (host:port) once it is ready.
zr_start_portal() {
  local portal=$1 work=$2
  shift 2
  "$portal" --port 0 "$@" >"$work/portal.out" 2>"$work/portal.err" &
  ZR_PORTAL_PID=$!
  zr_wait_for 15 grep -q 'zr_portal ready' "$work/portal.out" || return 1
  ZR_PORTAL_ADDRESS=$(sed -n 's/.*zr_portal ready http:\/\/\(.*\)$/\1/p' "$work/portal.out" | head -n 1)
}

# zr_write_portal_key FILE ADDRESS: a settings file (GBK) that points the
# program at the portal.
zr_write_portal_key() {
  printf '[网络]\r\n开奖网站=%s\r\n' "$2" | iconv -f UTF-8 -t GBK >"$1"
}

# zr_keep_files WORK FILE...: copies the files that exist into WORK;
# zr_restore_files WORK FILE... puts them back (and removes the others).
zr_keep_files() {
  local work=$1 f
  shift
  for f in "$@"; do [ -f "$f" ] && cp "$f" "$work/$(basename "$f").saved"; done
  return 0
}
zr_restore_files() {
  local work=$1 f
  shift
  for f in "$@"; do
    if [ -f "$work/$(basename "$f").saved" ]; then mv -f "$work/$(basename "$f").saved" "$f"; else rm -f "$f"; fi
  done
}
