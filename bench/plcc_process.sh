#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# plcc check as a whole process against reading the same file with cat:
#   bench/plcc_process.sh [BUILD_DIR]     (default: build)
# The programme holds 254 statements drawn evenly from every statement form
# of the golden form files, labelled N001 to N254, jumps aimed at N254.
# Needs hyperfine (apt-get install hyperfine).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
plcc=$build/plcc
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prog=$work/mixed254.plc

# Every statement without its label, each jump or call aimed at N254.
grep -h '^N[0-9]' "$top"/tests/golden/forms_*.plc |
  sed -E 's/[[:space:]]*;.*$//; s/^N[0-9]+ +//; s/\bN[0-9]{3}\b/N254/g' >"$work/forms"
total=$(wc -l <"$work/forms")
{
  printf '; 254 statements of every form\r\n%%TEXT(Mixed)\r\nDEF H1 = Count\r\nEND\r\n\r\n%%P00\r\n'
  awk -v total="$total" '{ form[NR] = $0 }
       END { for (i = 0; i < 254; i++) printf "N%03d %s\t\t; step %d\r\n", i + 1, form[int(i * total / 254) + 1], i + 1 }' \
    "$work/forms"
  printf 'END\r\n'
} >"$prog"

"$plcc" check "$prog" >/dev/null || { echo "the benchmark programme does not compile:" >&2; "$plcc" check "$prog" >&2; exit 1; }
# Paired: each round times both commands back to back (hyperfine -N runs
# them without a shell, output to /dev/null); the figure is the median over
# the rounds of the ratio of their medians.
rounds=${ROUNDS:-40}
for ((i = 0; i < rounds; i++)); do
  hyperfine -N --style none --warmup 5 --runs 25 --export-json "$work/r$i.json" \
    "cat $prog" "$plcc check $prog" >/dev/null 2>&1
done
python3 - "$work" "$rounds" <<'PY'
import json, statistics, sys
work, rounds = sys.argv[1], int(sys.argv[2])
cat, plcc, ratio = [], [], []
for i in range(rounds):
    r = json.load(open(f"{work}/r{i}.json"))["results"]
    cat.append(r[0]["median"]); plcc.append(r[1]["median"]); ratio.append(r[1]["median"] / r[0]["median"])
m = statistics.median
print(f"{rounds} paired rounds of 25 runs: cat {m(cat)*1e6:.0f} us, plcc check {m(plcc)*1e6:.0f} us; "
      f"ratio median {m(ratio):.2f}, min {min(ratio):.2f}, max {max(ratio):.2f}")
PY
