#!/usr/bin/env bash
# The window under a real X server, driven by keys as a user drives it:
#   window_e2e.sh QUIBEL QUIBEL_FORMAT EXAMPLE
# Run to RES_OUT.TXT with Tab x3 + Space, then a clipboard start whose result
# must outlive the window. Needs xvfb-run, xdotool and xclip.
set -euo pipefail
quibel="$1" format="$2" example="$3"
if [ -z "${INNER:-}" ]; then
  exec env INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
unset QT_QPA_PLATFORM  # the real X server, not the offscreen one
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/cfg"
cp "$example" "$work/reply.txt"

press_run() {  # focus the main window, then Tab x3 and Space
  local w=""
  for _ in $(seq 50); do
    w="$(xdotool search --name 'Quibel自動編集 Ver1.41' 2>/dev/null | head -1)" && [ -n "$w" ] && break
    sleep 0.1
  done
  xdotool windowfocus --sync "$w"
  sleep 0.3
  xdotool key Tab Tab Tab space
}

failed=0 passed=0
check() {  # check NAME CONDITION...
  local name="$1"; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $name"; failed=$((failed + 1)); fi
}

"$quibel" "$work/reply.txt" & pid=$!
press_run
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "window closed after the run" bash -c "! kill -0 $pid 2>/dev/null"
"$format" "$work/reply.txt" > "$work/expected.txt"
check "RES_OUT.TXT as the filter gives it" cmp -s "$work/RES_OUT.TXT" "$work/expected.txt"
heading=$(printf -- '--／－【《' | iconv -f UTF-8 -t CP932 | wc -c)
check "settings file of 36 bytes and the heading text" test "$(stat -c %s "$XDG_CONFIG_HOME/quibel/QUIBEL.CFG")" -eq $((36 + heading))

printf '> 引用です\n本文です\n' | xclip -selection clipboard -i
sleep 0.3
"$quibel" & pid=$!
press_run
sleep 1
expected="$(printf '> 引用です\n本文です\n' | "$format" --mode=clipboard)"
check "result on the clipboard after the window closed" test "$(xclip -o -selection clipboard)" = "$expected"
echo other | xclip -selection clipboard -i
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "exits once another program takes the clipboard" bash -c "! kill -0 $pid 2>/dev/null"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
