#!/usr/bin/env bash
# Runs every golden session through one build of the program and compares
# standard output byte for byte, the exit status (0, or 2 when a .err exists)
# and, for a fatal input error, the report on standard error.  Each session is
# also typed with CR LF line ends and must give the same bytes and status.
#
#   run_goldens.sh LABEL TRANSCRIPTS_DIR COMMAND...
#
# COMMAND is how to start the program (for example `qemu-aarch64 build/amostra`
# or `wine build/amostra.exe`).  Sessions run two at a time, each under a
# timeout; the summary line gives the counts.
set -u
label=$1
dir=$2
shift 2
export PLATFORM_TIMEOUT=${PLATFORM_TIMEOUT:-120}
. "$(dirname "$0")/run_program.sh"
jobs=${PLATFORM_JOBS:-2}
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

one() {
  # Arguments: the results folder, the transcripts folder, the command, and
  # last the session's input file (appended by xargs).
  local results=$1 dir=$2 input=${*: -1}
  shift 2
  set -- "${@:1:$#-1}"
  local base=${input%.in}
  local name=${base#"$dir"/}
  local key=${name//\//_}
  local out=$results/$key.out err=$results/$key.stderr
  local want=0 why=""
  [ -f "$base.err" ] && want=2
  # The same session typed with CR LF line ends (a Windows console's) must
  # give the same bytes and status.
  local crlf=$results/$key.crlf.in
  perl -pe 's/\n/\r\n/' "$input" > "$crlf"  # a final line without LF stays as it is
  run_program "$out" /dev/null "$crlf" "$@"
  local crlf_status=$?
  if [ "$crlf_status" -ne "$want" ] || ! cmp -s "$out" "$base.out"; then
    why="typed with CR LF: status $crlf_status or output differs"
  fi
  rm -f "$crlf"
  run_program "$out" "$err" "$input" "$@"
  local status=$?
  if [ -n "$why" ]; then
    :
  elif [ "$status" -ne "$want" ]; then
    why="status $status, expected $want"
  elif ! cmp -s "$out" "$base.out"; then
    why="standard output differs ($(cmp "$out" "$base.out" 2>&1 | head -n1))"
  elif [ "$want" -eq 2 ]; then
    # The report: a location line naming unit 5 and stdin, then the message.
    local first last
    first=$(head -n1 "$err")
    last=$(tail -n1 "$err")
    if [ "$(wc -l < "$err")" -ne 2 ] || [[ "$first" != "At line "*" (unit = 5, file = 'stdin')" ]] ||
       [ "$last" != "$(cat "$base.err")" ]; then
      why="error report differs: $(tr '\n' '|' < "$err")"
    fi
  fi
  if [ -n "$why" ]; then
    echo "FAIL $name: $why" > "$results/$key.result"
  else
    echo "ok" > "$results/$key.result"
  fi
  rm -f "$out" "$err"
}
export -f one

find "$dir" -name '*.in' -print0 | sort -z |
  xargs -0 -n1 -P "$jobs" bash -c 'one "$@"' one "$results" "$dir" "$@"

total=$(find "$dir" -name '*.in' | wc -l)
passed=$(cat "$results"/*.result 2>/dev/null | grep -c '^ok$')
grep -h '^FAIL' "$results"/*.result 2>/dev/null
echo "$label: $passed of $total golden sessions identical (typed with LF and with CR LF)"
[ "$total" -gt 0 ] && [ "$passed" -eq "$total" ]
