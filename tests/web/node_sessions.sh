#!/usr/bin/env bash
# Runs every golden session through the WebAssembly build under Node.js
# (node amostra.js < NAME.in) and checks that it writes exactly what the
# native program writes: standard output (also against NAME.out), the error
# report on standard error, and the exit status.
#   node_sessions.sh NATIVE_PROGRAM AMOSTRA_JS TRANSCRIPTS_DIR
set -u
native=$1
script=$2
dir=$3
failed=0
count=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
while IFS= read -r -d '' input; do
  base=${input%.in}
  name=${base#$dir/}
  count=$((count + 1))
  "$native" < "$input" > "$work/native.out" 2> "$work/native.err"
  want=$?
  node "$script" < "$input" > "$work/web.out" 2> "$work/web.err"
  status=$?
  if ! cmp -s "$work/web.out" "$base.out"; then
    echo "stdout differs from the golden output: $name"
    failed=1
  fi
  if ! cmp -s "$work/web.out" "$work/native.out"; then
    echo "stdout differs from the native program's: $name"
    failed=1
  fi
  if ! cmp -s "$work/web.err" "$work/native.err"; then
    echo "stderr differs from the native program's: $name"
    diff "$work/native.err" "$work/web.err" | head -5
    failed=1
  fi
  if [ "$status" -ne "$want" ]; then
    echo "status $status, the native program's $want: $name"
    failed=1
  fi
done < <(find "$dir" -name '*.in' -print0 | sort -z)
echo "$count golden sessions run under Node.js"

# Altered sessions, against the native program only: CR LF line ends, input
# cut short (end of file in the middle of the dialogue), and a blank line far
# longer than the read buffer before the first answer.
altered=0
while IFS= read -r -d '' input; do
  altered=$((altered + 1))
  [ $((altered % 9)) -eq 1 ] || continue
  name=${input#$dir/}
  sed 's/$/\r/' "$input" > "$work/crlf.in"
  head -c $(( $(wc -c < "$input") / 2 )) "$input" > "$work/cut.in"
  { head -c 70000 /dev/zero | tr '\0' ' '; echo; cat "$input"; } > "$work/long.in"
  for kind in crlf cut long; do
    "$native" < "$work/$kind.in" > "$work/native.out" 2> "$work/native.err"
    want=$?
    node "$script" < "$work/$kind.in" > "$work/web.out" 2> "$work/web.err"
    status=$?
    if ! cmp -s "$work/web.out" "$work/native.out" || ! cmp -s "$work/web.err" "$work/native.err" ||
       [ "$status" -ne "$want" ]; then
      echo "differs from the native program ($kind): $name"
      failed=1
    fi
  done
done < <(find "$dir" -name '*.in' -print0 | sort -z)
echo "$(( (altered + 8) / 9 * 3 )) altered sessions compared with the native program"
[ "$count" -gt 0 ] || failed=1
exit $failed
