#!/bin/bash
# Every golden session that tells extended evaluation from double is exactly
# what its derivation writes: each script in tools/precision models its
# session with exact fractions and writes the .in and .out.  The scripts run
# on a copy of the tree, and the files they write must equal the committed
# ones byte for byte -- so an .out cannot be edited by hand, or a script
# changed, without the other.
#   derivations.sh SOURCE_DIR PYTHON3
set -u
src=$1
python=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tools" "$work/tests"
cp -r "$src/tools/precision" "$work/tools/"
cp -r "$src/tests/transcripts" "$work/tests/"
# Remove the derived sessions from the copy: each must be written afresh.
find "$work/tests/transcripts" -name 'extended_*' -delete
find "$work/tests/transcripts" -name 'mann_negative_y_large.*' -delete
status=0
for script in "$work"/tools/precision/extended_*.py "$work"/tools/precision/mann_negative_y_session.py; do
  name=$(basename "$script" .py)
  case $name in
    extended_model) continue ;;  # the shared model, not a session
    extended_sessions) args=("$work/tests/transcripts/parametric") ;;
    *) args=(--write) ;;
  esac
  if ! (cd "$work" && "$python" "$script" "${args[@]}" > "$work/$name.log" 2>&1); then
    echo "FAIL: $name did not run:"
    tail -5 "$work/$name.log"
    status=1
  fi
done
derived=0
while IFS= read -r -d '' f; do
  rel=${f#"$src/tests/transcripts/"}
  derived=$((derived + 1))
  if [ ! -f "$work/tests/transcripts/$rel" ]; then
    echo "FAIL: no derivation wrote $rel"
    status=1
  elif ! cmp -s "$f" "$work/tests/transcripts/$rel"; then
    echo "FAIL: $rel differs from what its derivation writes"
    status=1
  fi
done < <(find "$src/tests/transcripts" \( -name 'extended_*' -o -name 'mann_negative_y_large.*' \) -print0)
written=$(find "$work/tests/transcripts" \( -name 'extended_*' -o -name 'mann_negative_y_large.*' \) | wc -l)
if [ "$written" -ne "$derived" ]; then
  echo "FAIL: the derivations wrote $written files, the tree has $derived"
  status=1
fi
[ $status -eq 0 ] && echo "$derived files equal to their derivations"
exit $status
