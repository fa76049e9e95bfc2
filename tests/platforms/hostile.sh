#!/usr/bin/env bash
# Hostile input and output for one build, each case checked against the
# native build (the reference): the same standard output bytes, the same exit
# status and the same last line on standard error.  The status must be 0 or 2,
# and no run may exceed its timeout.
#
#   hostile.sh LABEL REFERENCE TRANSCRIPTS_DIR COMMAND...
#
# Cases:
#   eof     every golden input cut after each of its lines (end of input at
#           every read of every session);
#   counts  each application given the largest counts and values (and their
#           negatives) at every prompt;
#   long    a line of 100 MB at the menu (blanks before the code; a code of
#           100 MB of digits);
#   closed  standard output closed early by the reader, or not open at all.
set -u
label=$1
reference=$2
dir=$3
shift 3
export PLATFORM_TIMEOUT=${PLATFORM_TIMEOUT:-120}
. "$(dirname "$0")/run_program.sh"
jobs=${PLATFORM_JOBS:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cases" "$work/results"

# ---- the cases --------------------------------------------------------------
declare -A seen
while IFS= read -r -d '' input; do
  name=${input#"$dir"/}
  name=${name%.in}
  name=${name//\//_}
  lines=$(wc -l < "$input")
  for ((k = 0; k < lines; k++)); do
    # Sessions share their first lines (the menu answers): each distinct
    # truncated input runs once.
    prefix=$(head -n "$k" "$input" | md5sum)
    [ -n "${seen[$prefix]:-}" ] && continue
    seen[$prefix]=1
    head -n "$k" "$input" > "$work/cases/eof.$name.$k.in"
  done
done < <(find "$dir" -name '*.in' -print0 | sort -z)

for app in $(seq 1 17); do
  for v in 2147483647 -2147483647 2147483648 200000000*7 1e38 -1e38; do
    { printf '%s\n1\n' "$app"; for _ in $(seq 1 60); do printf '%s\n' "$v"; done; } \
      > "$work/cases/counts.$app.${v//\*/x}.in"
  done
done

# ---- runs of the reference and of the build --------------------------------
last_line() {  # the last line of a file, without starting a process
  local lines=()
  mapfile -t lines < "$1"
  [ ${#lines[@]} -gt 0 ] && printf '%s' "${lines[-1]}"
}

# run_cases WORK REFERENCE COMMAND... -- CASE...
run_cases() {
  local work=$1 reference=$2
  shift 2
  local command=()
  while [ "$1" != -- ]; do command+=("$1"); shift; done
  shift
  local case key r ref_status status why
  for case in "$@"; do
    key=${case##*/}
    key=${key%.in}
    r=$work/results/$key
    timeout -k 5 "$PLATFORM_TIMEOUT" "$reference" < "$case" > "$r.ref.out" 2> "$r.ref.err"
    ref_status=$?
    run_program "$r.out" "$r.err" "$case" "${command[@]}"
    status=$?
    why=""
    if [ "$status" -ne 0 ] && [ "$status" -ne 2 ]; then
      why="status $status"
    elif [ "$status" -ne "$ref_status" ]; then
      why="status $status, reference $ref_status"
    elif ! cmp -s "$r.out" "$r.ref.out"; then
      why="standard output differs from the reference"
    elif [ "$(last_line "$r.err")" != "$(last_line "$r.ref.err")" ]; then
      why="message differs: $(last_line "$r.err")"
    fi
    if [ -n "$why" ]; then echo "FAIL $key: $why" > "$r.result"; else echo ok > "$r.result"; fi
    rm -f "$r.out" "$r.err" "$r.ref.out" "$r.ref.err"
  done
}
export -f run_cases last_line

find "$work/cases" -name '*.in' -print0 | sort -z |
  xargs -0 -n 32 -P "$jobs" bash -c 'run_cases "$@"' run_cases "$work" "$reference" "$@" --

# ---- long lines, one at a time ----------------------------------------------
{ head -c 100000000 /dev/zero | tr '\0' ' '; printf '1\n1\n'; } > "$work/cases/long.blanks.in"
{ head -c 100000000 /dev/zero | tr '\0' '0'; printf '1\n1\n'; } > "$work/cases/long.digits.in"
for c in "$work"/cases/long.*.in; do
  run_cases "$work" "$reference" "$@" -- "$c"
  rm -f "$c"
done

# ---- closed output ------------------------------------------------------------
# The largest session's output overfills a pipe, so a reader that stops after
# 100 bytes must make the write fail: status 2.  With standard output not open
# at all the first write fails: status 2.
largest=$(find "$dir" -name '*.out' -printf '%s %p\n' | sort -n | tail -n1 | cut -d' ' -f2)
largest_in=${largest%.out}.in
( timeout -k 5 "$PLATFORM_TIMEOUT" "$@" < "$largest_in" 2> /dev/null; echo $? > "$work/closed.status" ) | head -c 100 > /dev/null
s=$(cat "$work/closed.status")
if [ "$s" -eq 2 ]; then echo ok > "$work/results/closed.reader.result"
else echo "FAIL closed.reader: status $s, expected 2" > "$work/results/closed.reader.result"; fi
timeout -k 5 "$PLATFORM_TIMEOUT" "$@" < "$largest_in" >&- 2> /dev/null
s=$?
if [ "$s" -eq 2 ]; then echo ok > "$work/results/closed.none.result"
else echo "FAIL closed.none: status $s, expected 2" > "$work/results/closed.none.result"; fi

# ---- summary -------------------------------------------------------------------
failed=0
for kind in eof counts long closed; do
  total=$(find "$work/results" -name "$kind.*.result" | wc -l)
  passed=$(find "$work/results" -name "$kind.*.result" -exec cat {} + | grep -c '^ok$')
  echo "$label hostile $kind: $passed of $total as the reference (status 0 or 2, no crash, no hang)"
  [ "$total" -gt 0 ] && [ "$passed" -eq "$total" ] || failed=1
done
grep -h '^FAIL' "$work"/results/*.result | head -n 40
exit $failed
