#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build tree into a temporary DESTDIR and checks it: the files
# are where the platform expects them, plcc compiles an installed example,
# the installed plcedit finds its control module, the MIME type maps *.plc
# onto the desktop entry's type, and the bash completion completes.
#   install-tree.sh BUILD PREFIX BINDIR LIBDIR DATADIR MANDIR gui|core "ICON SIZES" SOURCE
set -euo pipefail
build=$1 prefix=$2 bindir=$3 libdir=$4 datadir=$5 mandir=$6 kind=$7 sizes=${8//;/ } source=$9

tmp=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$tmp/root" cmake --install "$build" >"$tmp/install.log" || {
  cat "$tmp/install.log" >&2
  fail "cmake --install"
}
# GNUInstallDirs may give absolute folders; relative ones hang off the prefix.
under() { case $1 in /*) echo "$tmp/root$1" ;; *) echo "$tmp/root$prefix/$1" ;; esac; }
bin=$(under "$bindir") lib=$(under "$libdir") data=$(under "$datadir") man=$(under "$mandir")

expected=(
  "$bin/plcc" "$man/man1/plcc.1.gz" "$data/bash-completion/completions/plcc"
  "$data/plcedit/examples/homing.plc" "$data/plcedit/examples/tutorial_errors.entries"
  "$data/doc/plcedit/copyright" "$data/doc/plcedit/changelog.gz"
  "$data/vim/vimfiles/syntax/plc.vim" "$data/vim/vimfiles/ftdetect/plc.vim" "$data/vim/vimfiles/ftplugin/plc.vim"
  "$data/nvim/site/syntax/plc.vim" "$data/nvim/site/ftdetect/plc.vim" "$data/nvim/site/lua/plcedit/lsp.lua"
  "$data/plcedit/editors/textmate/plc.tmLanguage.json"
  "$data/plcedit/README.md" "$data/plcedit/help/index.html" "$data/plcedit/help/errors.html"
  "$data/plcedit/examples/sim/profile.ini" "$data/plcedit/examples/sim/homing.tsv"
)
if [ "$kind" = gui ]; then
  expected+=(
    "$bin/plcedit" "$lib/libtorvix.so.1" "$lib/libtorvix.so" "$man/man1/plcedit.1.gz"
    "$data/plcedit/examples/host-c/host.c" "$data/plcedit/examples/host/host.cpp"
    "$data/applications/plcedit.desktop" "$data/mime/packages/plcedit.xml"
    "$data/icons/hicolor/scalable/apps/plcedit.svg"
  )
  for size in $sizes; do expected+=("$data/icons/hicolor/${size}x${size}/apps/plcedit.png"); done
fi
for f in "${expected[@]}"; do
  [ -s "$f" ] || fail "not installed: ${f#"$tmp/root"}"
done
# Every installed folder holds files.
empty=$(find "$tmp/root" -type d -empty)
[ -z "$empty" ] || fail "empty folders installed: ${empty//"$tmp/root"/}"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in $sizes; do
  dims=$(od -An -tu1 -j16 -N8 "$data/icons/hicolor/${size}x${size}/apps/plcedit.png" | xargs)
  word="0 0 $((size >> 8)) $((size & 255))"
  [ "$dims" = "$word $word" ] || fail "the ${size} px icon is not $size x $size: $dims"
done

# plcc from the installed tree compiles an installed example.
out=$("$bin/plcc" check "$data/plcedit/examples/homing.plc") || fail "plcc check: $out"
grep -q " 0 error (s)" <<<"$out" || fail "plcc check: $out"

# Completion: the installed script completes commands, options and formats.
complete_words() {
  bash -c '
    _init_completion() { cur=${COMP_WORDS[COMP_CWORD]}; prev=${COMP_WORDS[COMP_CWORD-1]};
                         words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; }
    _filedir() { :; }
    compopt() { :; }
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _plcc; echo "${COMPREPLY[*]}"' _ "$data/bash-completion/completions/plcc" "$@"
}
[ "$(complete_words plcc re)" = renum ] || fail "completion of a command"
[ "$(complete_words plcc check --diagnostics=g)" = "gcc github" ] || fail "completion of a format"
[ "$(complete_words plcc build --d)" = "--diagnostics= --decl-dir" ] || fail "completion of build's options"
[ "$(complete_words plcc --v)" = "--version" ] || fail "completion of --version"
[ "$(complete_words plcc check --w)" = "--warnings --werror" ] || fail "completion of check's warning options"
[ "$(complete_words plcc graph x.plc --format=s)" = svg ] || fail "completion of a graph format"
[ "$(complete_words plcc sim --sti)" = "--stimuli" ] || fail "completion of sim's options"
[ "$(complete_words plcc sim a.plc --format j)" = jsonl ] || fail "completion of sim's formats"
# Every command plcc lists, and every option of its help and of its source
# (an option a command reads, "--name" in apps/plcc/CmdNAME.cpp), completes.
commands=$("$bin/plcc" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]\+\) .*/\1/p')
[ -n "$commands" ] || fail "plcc --help lists no commands"
for command in $commands; do
  words=" $(complete_words plcc "$command") "
  [[ $words == *" $command "* ]] || fail "the command $command does not complete"
  options=$("$bin/plcc" "$command" --help | sed -n 's/^  \(-[-a-z]*\).*/\1/p' | sed 's/=.*//')
  file=$source/apps/plcc/Cmd${command^}.cpp
  [ -f "$file" ] && options+=" $(grep -o '"--\?[a-z][-a-z]*"' "$file" | tr -d '"' | grep '^-' || true)"
  for option in $options; do
    [ "$option" = -h ] && continue
    words=" $(complete_words plcc "$command" "${option:0:2}") "
    [[ $words == *" $option "* || $words == *" $option= "* ]] || fail "$command's option $option does not complete"
  done
done

[ "$kind" = gui ] || exit 0

# The MIME database built from the installed entry knows *.plc as a kind of
# text, under the type the desktop entry claims.
if command -v update-mime-database >/dev/null; then
  mkdir -p "$tmp/mime/packages"
  cp "$data/mime/packages/plcedit.xml" "$tmp/mime/packages/"
  update-mime-database "$tmp/mime" || fail "update-mime-database"
  type=$(sed -n 's/^MimeType=\([^;]*\);$/\1/p' "$data/applications/plcedit.desktop")
  grep -q ":$type:\*\.plc$" "$tmp/mime/globs2" || fail "*.plc is not $type"
  grep -qx "$type text/plain" "$tmp/mime/subclasses" || fail "$type is not text"
fi

# The installed plcedit loads the installed module: wait until it is mapped.
mkdir -p "$tmp/home" "$tmp/run"
chmod 700 "$tmp/run"
(cd "$tmp" && HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_RUNTIME_DIR="$tmp/run" \
  QT_QPA_PLATFORM=offscreen exec "$bin/plcedit" 2>"$tmp/plcedit.err") &
pid=$!
module=$(realpath "$lib/libtorvix.so.1")
for _ in $(seq 1 200); do
  if ! kill -0 "$pid" 2>/dev/null; then
    cat "$tmp/plcedit.err" >&2
    fail "the installed plcedit ended before it loaded its module"
  fi
  grep -qF "$module" "/proc/$pid/maps" 2>/dev/null && exit 0
  sleep 0.1
done
fail "the installed plcedit did not load $module within 20 s"
