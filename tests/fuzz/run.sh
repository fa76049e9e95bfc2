#!/usr/bin/env bash
# Runs the session fuzzer for a number of seconds, seeded with every golden
# session's input and the dialogue's dictionary.  Any crash, sanitizer report,
# timeout or broken invariant fails the run.
set -euo pipefail
fuzzer=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
n=0
while IFS= read -r -d '' input; do
  n=$((n + 1))
  cp "$input" "$work/corpus/seed$n"
done < <(find "$here/../transcripts" -name '*.in' -print0)
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -dict="$here/amostra.dict" -artifact_prefix="$work/" "$work/corpus" 2>&1 | tail -n 40
