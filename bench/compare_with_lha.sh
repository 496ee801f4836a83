#!/bin/sh
# Side by side with the LHA archivers on 1 MiB inputs: our compressed size
# against jlha's -lh5-, and the time to unpack one archive as a whole process,
# our decoder against lhasa, on jlha's archive and on ours.
#   bench/compare_with_lha.sh [BIN_DIR] [RUNS]
set -eu
bin=$(cd "${1:-build/native/bin}" && pwd)
runs=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir out

# Milliseconds for RUNS runs of a command, after one warm-up run.
time_runs() {
  "$@" >/dev/null
  start=$(date +%s%N)
  i=0
  while [ $i -lt "$runs" ]; do "$@" >/dev/null; i=$((i + 1)); done
  echo $((($(date +%s%N) - start) / 1000000 / runs))
}

# The PACKED column of lhasa's listing for one member.
packed_size() {
  lhasa v "$1" | awk -v name="$2" '$NF == name { print $2 }'
}

printf '%-7s %10s %10s %7s | %-14s %9s %9s\n' input ours jlha ratio archive 'ours ms' 'lhasa ms'
for kind in month runs random; do
  "$bin/lzh_codec_tool" sample $kind 1048576 $kind.dat
  "$bin/lzh_codec_tool" pack $kind.dat ours-$kind.lzh
  jlha ao5q theirs-$kind.lzh $kind.dat
  ours=$(packed_size ours-$kind.lzh $kind.dat)
  theirs=$(packed_size theirs-$kind.lzh $kind.dat)
  ratio=$(awk "BEGIN { printf \"%.3f\", $ours / $theirs }")
  for archive in theirs-$kind.lzh ours-$kind.lzh; do
    lhasa v $archive | grep -q -- -lh5- || { printf '%-7s %10s %10s %7s | %-14s stored by jlha\n' $kind $ours $theirs $ratio $archive; continue; }
    ourTime=$(time_runs "$bin/lzh_codec_tool" unpack $archive out/$kind.dat)
    lhasaTime=$(time_runs lhasa xfqw=out $archive)
    printf '%-7s %10s %10s %7s | %-14s %9s %9s\n' $kind $ours $theirs $ratio $archive $ourTime $lhasaTime
  done
done
