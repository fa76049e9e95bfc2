#!/usr/bin/env bash
# Runs the built program on every golden transcript through real standard
# streams and compares stdout bytes and the exit status.
set -u
program=$1
dir=$2
failed=0
count=0
while IFS= read -r -d '' input; do
  base=${input%.in}
  count=$((count + 1))
  actual=$(mktemp)
  "$program" < "$input" > "$actual" 2> /dev/null
  status=$?
  want=0
  [ -f "$base.err" ] && want=2
  if ! cmp -s "$actual" "$base.out"; then
    echo "stdout differs: ${base#$dir/}"
    failed=1
  fi
  if [ "$status" -ne "$want" ]; then
    echo "status $status, expected $want: ${base#$dir/}"
    failed=1
  fi
  rm -f "$actual"
done < <(find "$dir" -name '*.in' -print0 | sort -z)
echo "$count transcripts run through the program"
[ "$count" -gt 0 ] || failed=1
exit $failed
