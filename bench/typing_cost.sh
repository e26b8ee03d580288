#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The editor window against a bare QScintilla window (bare_window), both
# holding the same programme and driven by xdotool on a real X display:
#   bench/typing_cost.sh [BUILD_DIR]        (default: build)
#
# Typing: eight new statements before the programme's END, 200 characters,
# 30 ms between keys and a pause of 0.6 s after each label and its blank
# (where a person stops to think, and where the completion list opens by
# itself). The figure is the CPU time of the process from the first key to
# 2 s after the last, which takes in the checks and layouts that follow the
# typing.
# Start-up: wall time from the launch to the mapped window, and CPU time and
# resident memory 1 s later.
#
# The editor runs in four set-ups (its settings file): alone (live check,
# completion while typing, warnings and the flow graph off), with the live
# check and warnings, with completion while typing as well, and with the
# flow graph panel open as well. Each round runs the bare window and every
# set-up back to back; the figures are the medians over the rounds of the
# ratios within a round. ROUNDS (default 5) sets the number of rounds.
#
# Uses $DISPLAY when it is set, else starts Xvfb on a free display (and stops
# it again). Needs xdotool and Xvfb (apt-get install xdotool xvfb).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
rounds=${ROUNDS:-5}
for tool in xdotool python3; do
  command -v "$tool" >/dev/null || { echo "typing_cost: $tool is missing" >&2; exit 2; }
done
for exe in plcedit bare_window; do
  [ -x "$build/$exe" ] || { echo "typing_cost: $build/$exe is missing (cmake --build $build --target $exe)" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "typing_cost: no DISPLAY and no Xvfb" >&2; exit 2; }
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1400x1000x24 3>"$work/displayfd" >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 10 number <"$work/displayfd" || { echo "typing_cost: Xvfb did not start" >&2; exit 2; }
  export DISPLAY=:$number
fi

# 120 statements of several forms, warnings among them (values set and never
# read), ending in END without a line break.
prog=$work/typing.plc
{
  printf '%%TEXT(Typing)\r\nDEF H1 = Count\r\nDEF H2 = Limit\r\nEND\r\n%%P00\r\n'
  for ((i = 1; i <= 120; i++)); do
    case $((i % 4)) in
      0) printf 'N%03d JMP (H001 = 0) N%03d\t\t; step %d\r\n' "$i" $((i < 120 ? i + 1 : 1)) "$i" ;;
      1) printf 'N%03d SET H%03d = H002 + 1\r\n' "$i" $((i % 50 + 3)) ;;
      2) printf 'N%03d SET H001 = H001 + 1\r\n' "$i" ;;
      3) printf 'N%03d NOP\r\n' "$i" ;;
    esac
  done
  printf 'END'
} >"$prog"

# The CPU time of process $1 so far in seconds, to the nanosecond: the sum
# over its threads (the clock ticks of /proc/PID/stat are too coarse for a
# start-up of a few tens of milliseconds).
cpu() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%.6f\n", ns / 1e9 }'; }
now() { date +%s.%N; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { print a - b }'; }

# The window of process $1, once it is mapped.
window_of() {
  local w
  for ((n = 0; n < 3000; n++)); do
    w=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1) && [ -n "$w" ] && { echo "$w"; return; }
    sleep 0.005
  done
  echo "typing_cost: no window of process $1" >&2
  return 1
}

# run NAME COMMAND...: starts the program, measures its start, types, and
# appends "NAME start_wall start_cpu rss_kb typing_cpu" to $work/figures.
run() {
  local name=$1 pid w t0 t1 start_cpu rss c0 c1
  shift
  t0=$(now)
  "$@" >/dev/null 2>&1 &
  pid=$!
  w=$(window_of "$pid")
  t1=$(now)
  sleep 1
  start_cpu=$(cpu "$pid")
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  xdotool windowactivate --sync "$w" 2>/dev/null || xdotool windowfocus --sync "$w"
  xdotool key --clearmodifiers ctrl+End Home
  sleep 0.5
  c0=$(cpu "$pid")
  for ((i = 121; i <= 128; i++)); do
    xdotool type --delay 30 "N$i "
    sleep 0.6
    xdotool type --delay 30 "SET H001 = H002 + 1"
    xdotool key --delay 30 Return
  done
  sleep 2
  if ! kill -0 "$pid" 2>/dev/null; then
    local status=0
    wait "$pid" || status=$?
    echo "typing_cost: $name ended during the typing (status $status); no figures" >&2
    return 0
  fi
  c1=$(cpu "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$name $(minus "$t1" "$t0") $start_cpu $rss $(minus "$c1" "$c0")" >>"$work/figures"
}

# The editor with View settings $2 (LiveCheck CompleteWhileTyping Warnings
# FlowGraph), in fresh folders of its own.
editor() {
  local name=$1 home=$work/home.$1
  read -r live complete warnings flow <<<"$2"
  rm -rf "$home"
  mkdir -p "$home/config/plcedit" "$home/data" "$home/state" "$home/runtime"
  chmod 700 "$home/runtime"
  printf '[View]\r\nLiveCheck=%s\r\nCompleteWhileTyping=%s\r\nWarnings=%s\r\nFlowGraph=%s\r\n[Window]\r\nWidth=1000\r\nHeight=700\r\n' \
    "$live" "$complete" "$warnings" "$flow" >"$home/config/plcedit/PlcEdit.ini"
  cp "$prog" "$home/typing.plc"
  run "$name" env XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_STATE_HOME="$home/state" \
    XDG_RUNTIME_DIR="$home/runtime" "$build/plcedit" "$home/typing.plc"
}

for ((r = 0; r < rounds; r++)); do
  cp "$prog" "$work/bare.plc"
  run bare "$build/bare_window" "$work/bare.plc"
  editor alone "0 0 0 0"
  editor live "1 0 1 0"
  editor completion "1 1 1 0"
  editor flow "1 1 1 1"
done

python3 - "$work/figures" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
setups = ["alone", "live", "completion", "flow"]
rounds, current = [], {}
for name, wall, cpu, rss, typing in rows:
    if name == "bare" and current:
        rounds.append(current)
        current = {}
    current[name] = (float(wall), float(cpu), float(rss), float(typing))
rounds.append(current)
m = statistics.median
bare = [r["bare"] for r in rounds]
print(f"{len(rounds)} rounds; bare window: start {m(b[0] for b in bare):.3f} s wall, "
      f"{m(b[1] for b in bare):.2f} s CPU, {m(b[2] for b in bare) / 1024:.0f} MiB; "
      f"typing {m(b[3] for b in bare):.2f} s CPU")
print("editor set-up        typing CPU   start wall   start CPU   RSS     (ratios to the bare window, median [min-max])")
for s in setups:
    def ratio(i):
        rs = [r[s][i] / r["bare"][i] for r in rounds if s in r and r["bare"][i] > 0]
        return f"{m(rs):5.2f} [{min(rs):.2f}-{max(rs):.2f}]" if rs else "   -"
    print(f"{s:<20} {ratio(3):<12} {ratio(0):<12} {ratio(1):<11} {ratio(2)}")
PY
