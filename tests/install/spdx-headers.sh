#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the project (C and C++, CMake, shell, Python, Lua,
# Vim script, JavaScript) names its licence: its first comment, after a "#!"
# line, is
#     SPDX-License-Identifier: GPL-3.0-or-later
# in the file's own comment syntax ("//", "/*", " *", "#", "--", "\"").
# Lists every file that does not and fails.
#   spdx-headers.sh SOURCE_DIR
set -euo pipefail
top=$1
cd "$top"

# The files of a checkout (tracked and new ones, not ignored ones); in an
# unpacked source archive every file below the top but the build folders.
list_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . -type d \( -name .git -o -name 'build*' -o -name node_modules \) -prune -o -type f -print0 |
      sed -z 's|^\./||'
  fi
}

# The comment syntax of a source file, or nothing when it is none of the
# kinds above (data, pictures, golden files, manual pages).
comment_kind() {
  case $1 in
    node_modules/* | */node_modules/* | fuzz/seeds/*) return ;;
    *.c | *.h | *.cc | *.cpp | *.cxx | *.hh | *.hpp | *.js | *.mjs | *.cjs | *.ts) echo c ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.bash | *.py) echo hash ;;
    *.lua) echo lua ;;
    *.vim | */vimrc) echo vim ;;
    */*.* | *.*) ;;
    *) # no extension: a script when its first line runs a shell or Python
      if head -c 64 "$1" | head -n 1 | grep -Eq '^#!.*\b((ba|da)?sh|python3?)\b'; then echo hash; fi ;;
  esac
  return 0
}

# The first comment of a file (after a "#!" line), joined with the line after
# it when it only opens a block ("/*", "/**").
first_comment() {
  local kind=$1 file=$2
  awk -v kind="$kind" '
    NR == 1 && /^#!/ { next }
    {
      line = $0
      if (open) { print opener " " line; exit }
      if (kind == "c"    && line ~ /^[ \t]*(\/\/|\/\*)/) { if (line ~ /^[ \t]*\/\*+[ \t]*$/) { open = 1; opener = line; next } print line; exit }
      if (kind == "hash" && line ~ /^[ \t]*#/) { print line; exit }
      if (kind == "lua"  && line ~ /^[ \t]*--/) { print line; exit }
      if (kind == "vim"  && line ~ /^[ \t]*"/) { print line; exit }
    }' "$file"
}

spdx='SPDX-License-Identifier: GPL-3\.0-or-later'
bad=()
checked=0
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue
  kind=$(comment_kind "$file")
  [ -n "$kind" ] || continue
  checked=$((checked + 1))
  comment=$(first_comment "$kind" "$file")
  grep -Eq "^[ \t]*(//|/\*+|#|--|\")[ \t]*(\*[ \t]+)?$spdx([ \t]*\*/)?[ \t]*$" <<<"$comment" ||
    bad+=("$file")
done < <(list_files)

[ "$checked" -gt 0 ] || { echo "FAIL: no source files found under $top" >&2; exit 1; }
if [ ${#bad[@]} -gt 0 ]; then
  printf 'FAIL: no SPDX-License-Identifier: GPL-3.0-or-later line heading the first comment:\n' >&2
  printf '  %s\n' "${bad[@]}" >&2
  echo "${#bad[@]} of $checked source files" >&2
  exit 1
fi
echo "$checked source files name their licence"
