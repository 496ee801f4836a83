#!/usr/bin/env bash
# Compares the functions a program in build/win32/bin imports, as DLL!name
# pairs, with the reviewed list beside this script; says what changed.
#   tests/imports/check_imports.sh PROGRAM.exe            check
#   tests/imports/check_imports.sh --update PROGRAM.exe   rewrite the list
# The oldest Windows the programs start on (README.md, packaging/README.txt)
# follows from these lists: kernel32.dll!GetTickCount64 needs Windows Vista.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

update=0
if [ "${1:-}" = --update ]; then
  update=1
  shift
fi
[ $# -eq 1 ] || { echo "usage: tests/imports/check_imports.sh [--update] PROGRAM.exe" >&2; exit 2; }
program=$1
list="$root/tests/imports/$program.imports"

# objdump names an import by ordinal alone "<none>": DLL!#ORDINAL here.
imports=$(i686-w64-mingw32-objdump -p "$root/build/win32/bin/$program" | awk '
  /^The Import Tables/ { on = 1; next }
  on && /^[^ \t]/ { on = 0 }
  on && /DLL Name:/ { dll = tolower($3); next }
  on && dll && /^\t[0-9a-f]+\t/ { print dll "!" ($3 == "<none>" ? "#" $2 : $3) }' | LC_ALL=C sort -u)

if [ "$update" = 1 ]; then
  echo "$imports" >"$list"
  exit 0
fi
# comm indents what only the program has.
changes=$(LC_ALL=C comm -3 "$list" - <<<"$imports" | sed 's/^\t/  new: /; t; s/^/  gone: /')
[ -z "$changes" ] && exit 0
echo "$program's imports changed:"
echo "$changes"
echo "Review tests/imports/$program.imports (--update rewrites it), and, for a new function, the"
echo "oldest Windows it needs against the one README.md and packaging/README.txt name."
exit 1
