#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages with CPack into OUT (kept for the lintian test),
# unpacks them into a temporary root with dpkg-deb and checks them there: the
# files each holds, the dependencies, the documentation, how plcc is linked,
# and plcc run on an installed example.
#   package-deb.sh BUILD gui|core OUT
set -euo pipefail
build=$1 kind=$2 out=$3
for tool in dpkg-deb dpkg-shlibdeps readelf; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: the package is not tested"; exit 77; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log" >&2
  fail "cpack"
}
rm -rf "$out/_CPack_Packages"
deb=$(ls "$out"/plcedit_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { ls -R "$out" >&2; fail "no plcedit package"; }
version=$(dpkg-deb -f "$deb" Version)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)

# The dependencies come from the binaries.
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "libc6" <<<"$depends" || fail "Depends lacks libc6: $depends"
if [ "$kind" = gui ]; then
  grep -q "libqt6widgets6" <<<"$depends" || fail "Depends lacks Qt: $depends"
fi

dpkg-deb -x "$deb" "$tmp/root"
root=$tmp/root
plcc=$root/usr/bin/plcc
example=$root/usr/share/plcedit/examples/homing.plc
[ -x "$plcc" ] || fail "no usr/bin/plcc in the package"

# Each package documents itself: the copyright file and the changelog, whose
# newest entry is the package's version.
check_docs() { # PACKAGE ROOT
  local doc=$2/usr/share/doc/$1
  grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" "$doc/copyright" ||
    fail "$1 has no machine-readable copyright file"
  grep -q "^License: GPL-3+$" "$doc/copyright" || fail "$1's copyright file names no GPL-3+"
  [ "$(gzip -dc "$doc/changelog.gz" | head -1)" = "plcedit ($version) unstable; urgency=medium" ] ||
    fail "$1's changelog does not start with version $version"
}
check_docs plcedit "$root"
for page in plcc $([ "$kind" = gui ] && echo plcedit); do
  gzip -t "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null || fail "no compressed manual page $page.1.gz"
done

# plcc links the C++ runtime in and the C library shared.
needed=$(readelf -d "$plcc" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | xargs)
grep -q "libc\.so" <<<"$needed" || fail "plcc does not use the shared C library: NEEDED $needed"
grep -Eq "libstdc\+\+|libgcc_s" <<<"$needed" && fail "plcc needs the shared C++ runtime: NEEDED $needed"

if [ "$kind" = gui ]; then
  [ -x "$root/usr/bin/plcedit" ] || fail "no usr/bin/plcedit in the package"
  lib=$root/usr/lib/$multiarch
  [ -f "$lib/libtorvix.so.1" ] && [ ! -L "$lib/libtorvix.so.1" ] ||
    fail "no libtorvix.so.1 in usr/lib/$multiarch of the package"
  soname=$(readelf -d "$lib/libtorvix.so.1" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = libtorvix.so.1 ] || fail "libtorvix.so.1 has the soname '$soname'"
  [ ! -e "$lib/libtorvix.so" ] || fail "the link libtorvix.so belongs to plcedit-dev"

  # The development package: the header, the link and torvix.pc in the
  # multiarch folder, and dependencies on what the .pc requires.
  dev=$(ls "$out"/plcedit-dev_*.deb 2>/dev/null | head -1)
  [ -n "$dev" ] || fail "no plcedit-dev package"
  dpkg-deb -x "$dev" "$root"
  check_docs plcedit-dev "$root"
  [ "$(readlink "$lib/libtorvix.so")" = libtorvix.so.1 ] || fail "plcedit-dev's libtorvix.so is no link to libtorvix.so.1"
  [ -f "$root/usr/include/torvix/torvix.h" ] || fail "no torvix/torvix.h in plcedit-dev"
  pc=$lib/pkgconfig/torvix.pc
  [ -f "$pc" ] || fail "no torvix.pc in usr/lib/$multiarch/pkgconfig of plcedit-dev"
  dev_depends=$(dpkg-deb -f "$dev" Depends)
  grep -q "plcedit (= $version)" <<<"$dev_depends" || fail "plcedit-dev does not depend on plcedit $version: $dev_depends"
  for required in $(sed -n 's/^Requires: *//p' "$pc" | tr ',' ' '); do
    owner=$(dpkg-query -S "*/$required.pc" 2>/dev/null | head -1 | cut -d: -f1) ||
      fail "no installed package holds $required.pc, which torvix.pc requires"
    [ -n "$owner" ] || fail "no installed package holds $required.pc, which torvix.pc requires"
    grep -Eq "(^|, )$owner( |,|$)" <<<"$dev_depends" ||
      fail "torvix.pc requires $required, but plcedit-dev does not depend on $owner: $dev_depends"
  done
  # torvix.pc, found where it lies, names the module of the plcedit package.
  module=$(PKG_CONFIG_PATH=$lib/pkgconfig pkg-config --variable=module torvix)
  [ "$(realpath "$module")" = "$(realpath "$lib/libtorvix.so.1")" ] || fail "torvix.pc names the module $module"
fi

# The installed plcc names the package's version and its licence.
out_version=$("$plcc" --version) || fail "plcc --version: $out_version"
grep -q "^plcc (PlcEdit) ${version}\$" <<<"$out_version" ||
  fail "plcc --version says '$out_version', the package is $version"
grep -q "GNU GPL version 3 or later" <<<"$out_version" || fail "plcc --version names no licence"
out_check=$("$plcc" check "$example") || fail "plcc check: $out_check"
grep -q " 0 error (s)" <<<"$out_check" || fail "plcc check: $out_check"
# The faulty example still fails, with its golden entries.
status=0
"$plcc" check "${example%/*}/tutorial_errors.plc" >"$tmp/entries" || status=$?
[ "$status" -eq 1 ] || fail "plcc check of the faulty example exits $status"
cmp -s "$tmp/entries" "${example%/*}/tutorial_errors.entries" || fail "the faulty example's entries differ"
echo "$(basename "$deb"): $depends"
