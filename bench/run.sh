#!/usr/bin/env bash
# Full sessions at capacity, each timed against a trivial C++ program started
# the same way (the session file as standard input, output to /dev/null).
# Prints the median wall times, their ratio and the peak resident memory.
#
#   bench/run.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$1
runs=${2:-200}
program=$build/amostra
harness=$build/bench/bench_harness
trivial=$build/bench/bench_trivial
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One-way analysis of variance, 100 treatments x 100 repetitions: 10,000 values.
{ printf '4\n1\n100\n100\n'
  awk 'BEGIN { srand(1); for (i = 0; i < 10000; i++) printf "%.2f\n", 10 + rand() * 90 }'
  printf '0\n'; } > "$work/anova-100x100"
# Kruskal-Wallis, 2 treatments x 100 repetitions: 200 values with ties.
{ printf '15\n1\n2\n100\n'
  awk 'BEGIN { srand(2); for (i = 0; i < 200; i++) printf "%d\n", int(rand() * 50) }'
  printf '0\n'; } > "$work/kruskal-wallis-200"
# Curvilinear regression, 200 pairs fitted to each of the four families.
{ printf '16\n1\n200\n'
  awk 'BEGIN { srand(5); for (i = 1; i <= 200; i++) { x = i / 10; printf "%.2f %.3f\n", x, 2 + 0.5 * x + 0.1 * x * x + rand() } }'
  printf '1\n1\n2\n1\n3\n1\n4\n0\n0\n'; } > "$work/curvilinear-200x4"
# Mann-Whitney, two samples of 100 values.
{ printf '13\n1\n100\n'
  awk 'BEGIN { srand(3); for (i = 0; i < 100; i++) printf "%.1f\n", rand() * 100 }'
  printf '100\n'
  awk 'BEGIN { srand(4); for (i = 0; i < 100; i++) printf "%.1f\n", 20 + rand() * 100 }'
  printf '0\n'; } > "$work/mann-whitney-200"

printf '%-22s %12s %12s %7s %12s %12s\n' session "amostra ms" "trivial ms" ratio "amostra KiB" "trivial KiB"
status=0
for session in anova-100x100 kruskal-wallis-200 curvilinear-200x4 mann-whitney-200; do
  if ! "$program" < "$work/$session" 2>/dev/null | tail -c 18 | grep -q 'Fim do Programa'; then
    echo "$session: the session did not run to the end" >&2
    exit 1
  fi
  "$harness" "$runs" "$work/$session" "$program" "$trivial" > "$work/times"
  read -r _ a_ms _ a_rss < <(sed -n 1p "$work/times")
  read -r _ t_ms _ t_rss < <(sed -n 2p "$work/times")
  ratio=$(awk -v a="$a_ms" -v t="$t_ms" 'BEGIN { printf "%.2f", a / t }')
  printf '%-22s %12s %12s %7s %12s %12s\n' "$session" "$a_ms" "$t_ms" "$ratio" "$a_rss" "$t_rss"
  awk -v r="$ratio" 'BEGIN { exit !(r > 1.5) }' && status=1
  [ "$a_rss" -gt 4096 ] && status=1
done
[ $status -eq 0 ] && echo "targets met: within 1.5x of the trivial program and 4 MiB" || echo "a target was missed"
exit $status
