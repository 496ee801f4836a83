#!/usr/bin/env bash
# Checks the two include rules: no folder of src/ includes a folder above it,
# and only files named *_win32.* include <windows.h>. Prints each offence.
#
# The layers, from the bottom up; a file may include its own folder and any
# folder below it.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
layers=(base platform codec storage formatting ui dialup traffic reports controls setup app)

level() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done
  echo -1
}

status=0
while IFS= read -r file; do
  folder=${file#"$root/src/"}
  folder=${folder%%/*}
  own=$(level "$folder")
  while IFS= read -r included; do
    other=$(level "${included%%/*}")
    if [ "$own" -lt 0 ] || [ "$other" -lt 0 ] || [ "$other" -gt "$own" ]; then
      echo "${file#"$root/"} includes $included"
      status=1
    fi
  done < <(sed -n 's/^#include "\([^"]*\/[^"]*\)".*/\1/p' "$file")
done < <(find "$root/src" -name '*.h' -o -name '*.cpp' -o -name '*.h.in')
while IFS= read -r file; do
  echo "${file#"$root/"} includes <windows.h>"
  status=1
done < <(grep -rlE '^#include <windows\.h>' "$root/src" "$root/tests" "$root/tools" \
  --include='*.h' --include='*.cpp' | grep -v '_win32\.[^/]*$')
exit $status
