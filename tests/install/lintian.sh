#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# lintian --pedantic on the source package and the packages scripts/package
# built into DIR: no error, warning or pedantic tag (the informational ones
# are shown), and no override anywhere in the source package. An optimised
# build must also show no hardening tag: fortified functions, full RELRO,
# PIE.
#   lintian.sh DIR
set -euo pipefail
dir=$1
command -v lintian >/dev/null || { echo "lintian is missing: the packages are not checked"; exit 77; }
files=("$dir"/*.dsc "$dir"/*.deb)
[ -e "${files[0]}" ] && [ -e "${files[-1]}" ] || { echo "FAIL: no source package or packages in $dir" >&2; exit 1; }
src=$(dirname "$0")/../..
overrides=$(find "$src/debian" -name '*lintian-overrides*' 2>/dev/null)
[ -z "$overrides" ] || { echo "FAIL: lintian overrides in the source package: $overrides" >&2; exit 1; }

status=0
report=$(lintian --pedantic --display-info --fail-on error,warning,pedantic "${files[@]}" 2>&1) || status=$?
# lintian says so when it runs as root; that is no finding.
report=$(grep -v "running with root privileges" <<<"$report" || true)
[ -z "$report" ] || printf '%s\n' "$report"
[ "$status" -eq 0 ] || { echo "FAIL: lintian reports errors, warnings or pedantic tags" >&2; exit 1; }
if grep -q "hardening-" <<<"$report"; then
  echo "FAIL: binaries built without the hardening flags" >&2
  exit 1
fi
echo "lintian: ${#files[@]} files clean"
