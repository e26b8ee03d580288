#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# lintian on the packages package-deb.sh built into DIR: no error and no
# warning, pedantic checks included (what the packages must tolerate is in
# packaging/*.lintian-overrides, each with its reason). An optimised build
# must also show no hardening note: fortified functions, full RELRO, PIE.
#   lintian.sh DIR optimised|debug
set -euo pipefail
dir=$1 build=$2
command -v lintian >/dev/null || { echo "lintian is missing: the packages are not checked"; exit 77; }
debs=("$dir"/*.deb)
[ -e "${debs[0]}" ] || { echo "FAIL: no packages in $dir" >&2; exit 1; }

status=0
report=$(lintian --pedantic --display-info --display-experimental --fail-on error,warning "${debs[@]}" 2>&1) || status=$?
# lintian says so when it runs as root; that is no finding.
report=$(grep -v "running with root privileges" <<<"$report" || true)
[ -z "$report" ] || printf '%s\n' "$report"
[ "$status" -eq 0 ] || { echo "FAIL: lintian reports errors or warnings" >&2; exit 1; }
if [ "$build" = optimised ] && grep -q "hardening-" <<<"$report"; then
  echo "FAIL: binaries built without the hardening flags" >&2
  exit 1
fi
echo "lintian: ${#debs[@]} packages clean"
