#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The packages scripts/package built into DIR, installed, used and purged
# (as root, as ./test runs in CI): what each holds and needs (plcc and
# libtorvix-dev no Qt, torvix.pc no Requires), plcc on an installed example
# and its graph as SVG, a C host built with pkg-config alone and run
# offscreen, Neovim finding the file type without set-up; then the purge
# leaves none of their files.
#   package-deb.sh DIR
set -euo pipefail
dir=$1
[ "$(id -u)" -eq 0 ] || { echo "not root: the packages are not installed"; exit 77; }
for tool in dpkg-deb apt-get pkg-config cc; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: the packages are not tested"; exit 77; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
packages=(plcc plcedit libtorvix1 libtorvix-dev plcedit-doc)
purge() { apt-get purge -y -qq "${packages[@]}" >/dev/null 2>&1 || true; }
trap 'purge; rm -rf "$tmp"' EXIT
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
deb() { ls "$dir/$1"_*.deb 2>/dev/null | grep -v dbgsym | head -1; }

# ---- what each package holds and needs ----
holds() { # PACKAGE PATH... : each path is in the package
  local package=$1 list
  list=$(dpkg-deb -c "$(deb "$package")" | awk '{ print $6 }' | sed 's|^\./|/|; s|/$||')
  shift
  for path in "$@"; do grep -qxF "$path" <<<"$list" || fail "$package holds no $path"; done
}
for p in "${packages[@]}"; do [ -n "$(deb "$p")" ] || fail "no package $p in $dir"; done
holds plcc /usr/bin/plcc /usr/share/man/man1/plcc.1.gz /usr/share/bash-completion/completions/plcc \
  /usr/share/vim/vimfiles/ftdetect/plc.vim /usr/share/vim/vimfiles/syntax/plc.vim \
  /usr/share/nvim/site/lua/plcedit/lsp.lua /usr/share/nvim/site/syntax/plc.vim \
  /usr/share/plcedit/editors/textmate/plc.tmLanguage.json
holds plcedit /usr/bin/plcedit /usr/share/man/man1/plcedit.1.gz /usr/share/applications/plcedit.desktop
holds libtorvix1 "/usr/lib/$multiarch/libtorvix.so.1"
holds libtorvix-dev /usr/include/torvix/torvix.h "/usr/lib/$multiarch/libtorvix.so" \
  "/usr/lib/$multiarch/pkgconfig/torvix.pc" /usr/share/plcedit/examples/host-c/host.c \
  /usr/share/plcedit/examples/host/host.cpp
holds plcedit-doc /usr/share/plcedit/README.md /usr/share/plcedit/help/errors.html \
  /usr/share/plcedit/examples/homing.plc /usr/share/plcedit/examples/sim/profile.ini \
  /usr/share/plcedit/examples/sim/indexer.tsv
for p in plcc libtorvix-dev plcedit-doc; do
  depends=$(dpkg-deb -f "$(deb "$p")" Depends)
  grep -qi "qt" <<<"$depends" && fail "$p depends on Qt: $depends"
done
dpkg-deb -f "$(deb libtorvix1)" Depends | grep -q libqt6widgets6 || fail "libtorvix1 does not depend on Qt"
for p in "${packages[@]}"; do
  [ -n "$(dpkg-deb -f "$(deb "$p")" Multi-Arch)" ] || fail "$p has no Multi-Arch field"
done

# ---- installed ----
purge
debs=()
for p in "${packages[@]}"; do debs+=("$(realpath "$(deb "$p")")"); done
apt-get install -y -qq --no-install-recommends "${debs[@]}" >"$tmp/apt.log" 2>&1 ||
  { cat "$tmp/apt.log" >&2; fail "the packages do not install"; }
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" | grep -q "install ok installed" || fail "$p is not installed"
done
grep -q "^Requires" "/usr/lib/$multiarch/pkgconfig/torvix.pc" && fail "torvix.pc requires other packages"

examples=/usr/share/plcedit/examples
out=$(plcc check "$examples/homing.plc") || fail "plcc check: $out"
grep -q " 0 error (s)" <<<"$out" || fail "plcc check: $out"
version=$(dpkg-query -W -f='${Version}' plcc)
plcc --version | grep -qx "plcc (PlcEdit) $version" || fail "plcc --version is not $version"
# The graph as SVG where plcc can lay it out: its plug-in folder, or Graphviz
# linked in.
if [ -d "/usr/lib/$multiarch/plcc" ] || ldd /usr/bin/plcc | grep -q libgvc; then
  plcc graph --format svg "$examples/jumps.plc" -o "$tmp/jumps.svg" || fail "plcc graph --format svg"
  grep -q "<svg" "$tmp/jumps.svg" || fail "plcc graph wrote no SVG"
fi
plcc sim "$examples/indexer.plc" --assume "$examples/sim/profile.ini" --stimuli "$examples/sim/indexer.tsv" \
  --until-ms 1000 --format summary >"$tmp/sim.txt" || fail "plcc sim on the installed examples: $(cat "$tmp/sim.txt")"

# A C host with the module's flags alone, run offscreen until its editor closes.
flags=$(pkg-config --cflags --libs torvix)
grep -qi qt <<<"$flags" && fail "torvix.pc gives Qt's flags: $flags"
cc -std=c99 "$examples/host-c/host.c" $flags -o "$tmp/host-c" || fail "the C host does not build"
mkdir -p "$tmp/device" "$tmp/config"
out=$(cd "$tmp" && XDG_CONFIG_HOME="$tmp/config" QT_QPA_PLATFORM=offscreen \
  ./host-c --device "$tmp/device" --online --close "$examples/jumps.plc" 2>&1) || fail "the C host: $out"
grep -q "editor closed" <<<"$out" || fail "the C host's editor did not close: $out"

# Neovim finds the file type and its syntax without any set-up.
if command -v nvim >/dev/null; then
  ft=$(cd "$tmp" && HOME="$tmp" XDG_CONFIG_HOME="$tmp/config" nvim --headless -i NONE \
       +"edit $examples/jumps.plc" +'lua io.stdout:write(vim.bo.filetype .. " " .. (vim.b.current_syntax or ""))' \
       +'qa!' 2>&1 | tr -d '\r')
  [ "$ft" = "plc plc" ] || fail "Neovim without set-up sees file type and syntax '$ft'"
fi

# ---- purged ----
files=$(dpkg -L "${packages[@]}" 2>/dev/null | grep -v '^/\.$' | sort -u)
apt-get purge -y -qq "${packages[@]}" >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log" >&2; fail "purge"; }
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "installed" && fail "$p is still installed"
done
left=$(while read -r f; do if [ -f "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done <<<"$files")
[ -z "$left" ] || fail "files left after the purge: $left"
echo "packages ${packages[*]}: installed, used and purged"
