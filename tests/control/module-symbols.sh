#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The module's dynamic symbols against its public header: every symbol the
# module exports is an entry point the header declares with a comment above
# it, every declared one is exported, each under the version node
# TORVIX_<major>.0, and no two result codes of the header share a value.
#   module-symbols.sh MODULE HEADER
set -euo pipefail
module=$1 header=$2
fail() { echo "FAIL: $*" >&2; status=1; }
status=0
command -v nm >/dev/null || { echo "nm is missing"; exit 77; }

major=$(sed -n 's/^#define TORVIX_VERSION_MAJOR \([0-9]*\)$/\1/p' "$header")
node=TORVIX_$major.0
# "0000000000012340 T DllGetClassObject@@TORVIX_1.0"; the node itself is an
# absolute symbol of its own.
exported=$(nm -D --defined-only "$module" | awk '$2 != "A" { print $3 }' | sort)
[ -n "$exported" ] || fail "$module exports nothing"
while read -r symbol; do
  [[ $symbol == *"@@$node" ]] || fail "$symbol is not versioned $node"
done <<<"$exported"
nm -D --defined-only "$module" | awk '$2 == "A" { print $3 }' | grep -qx "$node" || fail "no version node $node"

# Declarations of entry points: a return type at the start of a line, the
# name, its parameters; the line above ends a comment.
declared=$(awk '/^(TorvixResult|uint32_t) [A-Za-z]+\(/ {
                  name = $2; sub(/\(.*/, "", name)
                  if (previous !~ /\*\/$/) print "UNDOCUMENTED " name; else print name
                }
                { previous = $0 }' "$header" | sort)
undocumented=$(sed -n 's/^UNDOCUMENTED //p' <<<"$declared" | xargs)
[ -z "$undocumented" ] || fail "no comment in the header above: $undocumented"
declared=$(sed 's/^UNDOCUMENTED //' <<<"$declared" | sort)
only_module=$(comm -23 <(sed "s/@@$node\$//" <<<"$exported") <(echo "$declared"))
only_header=$(comm -13 <(sed "s/@@$node\$//" <<<"$exported") <(echo "$declared"))
[ -z "$only_module" ] || fail "exported but not declared in the header: $only_module"
[ -z "$only_header" ] || fail "declared in the header but not exported: $only_header"

# Result codes: "#define TORVIX_..._E_NAME ((TorvixResult)0x8...)".
codes=$(sed -n 's/^#define \(TORVIX_[A-Z_]*\) ((TorvixResult)\([0-9A-Fa-fx]*\))$/\2 \1/p' "$header" |
        while read -r value name; do echo "$((value)) $name"; done | sort -n)
[ "$(wc -l <<<"$codes")" -ge 15 ] || fail "the header's result codes were not found"
shared=$(awk '{ n[$1] = n[$1] " " $2; c[$1]++ } END { for (v in c) if (c[v] > 1) print n[v] }' <<<"$codes")
[ -z "$shared" ] || fail "result codes with the same value:$shared"
[ "$status" -eq 0 ] && echo "$(wc -l <<<"$exported") symbols of $node, each declared and documented"
exit "$status"
