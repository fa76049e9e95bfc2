#!/usr/bin/env bash
# Full sessions timed against the floor: a trivial reader linked statically,
# started the same way (posix_spawn, the session file as standard input,
# output to /dev/null), the runs interleaved, medians.  Prints each session's
# ratio, peak memory and instruction count (callgrind, when valgrind is
# installed), compares the counts with bench/instructions.txt and fails
# loudly when one rose by more than 3 %.
#
#   bench/run.sh BUILD_DIR [RUNS]        BENCH_RECORD=1 rewrites the counts file
set -euo pipefail
build=$1
runs=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
program=$build/amostra
harness=$build/bench/bench_harness
trivial=$build/bench/bench_trivial
counts=$here/instructions.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/s"
bash "$here/sessions.sh" "$work/s"
have_valgrind=0
command -v valgrind > /dev/null && have_valgrind=1
[ $have_valgrind -eq 1 ] || echo "valgrind not installed: instruction counts skipped"

instructions() {  # the error session exits with status 2: only the count matters
  { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$program" < "$1" 2>&1 > /dev/null || true; } |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}

status=0
printf '%-30s %9s %9s %6s %8s %11s %9s\n' session "ms" "floor ms" ratio "peak KiB" instructions recorded
: > "$work/counts"
for path in "$work"/s/*; do
  session=$(basename "$path")
  want=0
  [ "$session" = fatal-error-at-menu ] && want=2
  "$program" < "$path" > "$work/out" 2> /dev/null && got=0 || got=$?
  if [ "$got" -ne "$want" ] || { [ $want -eq 0 ] && ! tail -c 18 "$work/out" | grep -q 'Fim do Programa'; }; then
    echo "$session: the session did not run as intended (status $got)" >&2
    exit 1
  fi
  "$harness" "$runs" "$program" "$path" "$trivial" "$path" > "$work/times"
  read -r a_ms _ a_rss _ < <(sed -n 1p "$work/times")
  read -r t_ms _ _ _ < <(sed -n 2p "$work/times")
  ratio=$(awk -v a="$a_ms" -v t="$t_ms" 'BEGIN { printf "%.2f", a / t }')
  count=- recorded=-
  if [ $have_valgrind -eq 1 ]; then
    count=$(instructions "$path")
    echo "$session $count" >> "$work/counts"
    recorded=$(awk -v s="$session" '$1 == s { print $2 }' "$counts" 2> /dev/null || true)
    if [ -n "$recorded" ] && [ "$count" -gt $((recorded + recorded * 3 / 100)) ]; then
      echo "REGRESSION: $session now takes $count instructions, $recorded recorded" >&2
      status=1
    fi
    [ -n "$recorded" ] || recorded=-
  fi
  printf '%-30s %9s %9s %6s %8s %11s %9s\n' "$session" "$a_ms" "$t_ms" "$ratio" "$a_rss" "$count" "$recorded"
  awk -v r="$ratio" 'BEGIN { exit !(r > 1.5) }' && { echo "  above 1.5x the floor"; status=1; }
  [ "$a_rss" -gt 4096 ] && { echo "  above 4 MiB"; status=1; }
done
# An error costs what a normal end costs: the fatal session against the short one.
"$harness" "$runs" "$program" "$work/s/fatal-error-at-menu" "$program" "$work/s/sample-size-short" > "$work/times"
read -r e_ms _ _ _ < <(sed -n 1p "$work/times")
read -r n_ms _ _ _ < <(sed -n 2p "$work/times")
ratio=$(awk -v a="$e_ms" -v t="$n_ms" 'BEGIN { printf "%.2f", a / t }')
echo "fatal error $e_ms ms against a normal end $n_ms ms: ratio $ratio"
awk -v r="$ratio" 'BEGIN { exit !(r > 1.2) }' && { echo "  the error costs more than 1.2x a normal end"; status=1; }
if [ "${BENCH_RECORD:-0}" = 1 ] && [ $have_valgrind -eq 1 ]; then
  cp "$work/counts" "$counts"
  echo "instruction counts recorded in $counts"
fi
[ $status -eq 0 ] && echo "targets met" || echo "a target was missed"
exit $status
