#!/usr/bin/env bash
# Builds the Debian package with CPack, unpacks it into a temporary root with
# dpkg-deb and runs plcc from there on an installed example.
#   package-deb.sh BUILD gui|core
set -euo pipefail
build=$1 kind=$2
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: the package is not tested"; exit 77; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log" >&2
  fail "cpack"
}
deb=$(ls "$tmp"/out/plcedit_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { ls -R "$tmp/out" >&2; fail "no plcedit package"; }

# The dependencies come from the binaries.
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "libc6" <<<"$depends" || fail "Depends lacks libc6: $depends"
if [ "$kind" = gui ]; then
  grep -q "libqt6widgets6" <<<"$depends" || fail "Depends lacks Qt: $depends"
fi

dpkg-deb -x "$deb" "$tmp/root"
plcc=$tmp/root/usr/bin/plcc
example=$tmp/root/usr/share/plcedit/examples/homing.plc
[ -x "$plcc" ] || fail "no usr/bin/plcc in the package"
if [ "$kind" = gui ]; then
  [ -x "$tmp/root/usr/bin/plcedit" ] || fail "no usr/bin/plcedit in the package"
  compgen -G "$tmp/root/usr/lib*/libtorvix.so" >/dev/null ||
    compgen -G "$tmp/root/usr/lib/*/libtorvix.so" >/dev/null || fail "no libtorvix.so in the package"
fi
# The installed plcc names the package's version.
version=$(dpkg-deb -f "$deb" Version)
out=$("$plcc" --version) || fail "plcc --version: $out"
grep -q " ${version}\$" <<<"$out" || fail "plcc --version says '$out', the package is $version"
out=$("$plcc" check "$example") || fail "plcc check: $out"
grep -q " 0 error (s)" <<<"$out" || fail "plcc check: $out"
# The faulty example still fails, with its golden entries.
status=0
"$plcc" check "${example%/*}/tutorial_errors.plc" >"$tmp/entries" || status=$?
[ "$status" -eq 1 ] || fail "plcc check of the faulty example exits $status"
cmp -s "$tmp/entries" "${example%/*}/tutorial_errors.entries" || fail "the faulty example's entries differ"
echo "$(basename "$deb"): $depends"
