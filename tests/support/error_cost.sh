#!/usr/bin/env bash
# A fatal input error must cost no more than a normal end: the instructions
# of a session stopped by a letter at the menu against a short complete
# session (valgrind's count; timings would be noisy).  A static link that
# leaves the unwinder to sort every unwind table at the first throw fails.
#
#   error_cost.sh PROGRAM NORMAL_SESSION
set -u
program=$1
normal=$2
if ! command -v valgrind > /dev/null; then
  echo "skipped: valgrind is not installed"
  exit 77
fi
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$program" 2>&1 > /dev/null |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
error=$(printf 'x\n' | count)
ending=$(count < "$normal")
echo "fatal error: $error instructions; normal end: $ending instructions"
if [ -z "$error" ] || [ -z "$ending" ]; then
  echo "valgrind gave no count"
  exit 1
fi
[ $((error * 10)) -le $((ending * 12)) ] || { echo "the error costs more than 1.2x a normal end"; exit 1; }
