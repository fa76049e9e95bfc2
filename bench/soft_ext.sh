#!/usr/bin/env bash
# The cost of the software extended type: the 100 x 100 one-way analysis of
# variance timed on the hardware build and on an AMOSTRA_SOFT_EXT=ON build,
# side by side (the runs interleaved), medians compared.  Target: within 1.25x.
#
#   bench/soft_ext.sh BUILD_DIR [SOFT_BUILD_DIR] [RUNS]
set -euo pipefail
build=$1
soft=${2:-build-soft}
runs=${3:-200}
cmake -S . -B "$soft" -DCMAKE_BUILD_TYPE=Release -DAMOSTRA_SOFT_EXT=ON > /dev/null
cmake --build "$soft" -j2 --target amostra > /dev/null
harness=$build/bench/bench_harness
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same session as bench/run.sh: 100 treatments x 100 repetitions.
{ printf '4\n1\n100\n100\n'
  awk 'BEGIN { srand(1); for (i = 0; i < 10000; i++) printf "%.2f\n", 10 + rand() * 90 }'
  printf '0\n'; } > "$work/anova-100x100"

"$build/amostra" < "$work/anova-100x100" > "$work/hard.out"
"$soft/amostra" < "$work/anova-100x100" > "$work/soft.out"
if ! cmp -s "$work/hard.out" "$work/soft.out"; then
  echo "the software build's output differs from the hardware build's" >&2
  exit 1
fi
"$harness" "$runs" "$build/amostra" "$work/anova-100x100" "$soft/amostra" "$work/anova-100x100" > "$work/times"
read -r h_ms _ _ _ < <(sed -n 1p "$work/times")
read -r s_ms _ _ _ < <(sed -n 2p "$work/times")
ratio=$(awk -v s="$s_ms" -v h="$h_ms" 'BEGIN { printf "%.2f", s / h }')
printf '%-22s %12s %12s %7s\n' session "x87 ms" "software ms" ratio
printf '%-22s %12s %12s %7s\n' anova-100x100 "$h_ms" "$s_ms" "$ratio"
# Instruction counts do not depend on the machine's load: they show what the
# software arithmetic adds even when the timings are noisy.
if command -v valgrind > /dev/null; then
  count() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" < "$work/anova-100x100" 2>&1 > /dev/null |
      sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
  }
  h_ir=$(count "$build/amostra")
  s_ir=$(count "$soft/amostra")
  printf '%-22s %12s %12s %7s\n' instructions "$h_ir" "$s_ir" "$(awk -v s="$s_ir" -v h="$h_ir" 'BEGIN { printf "%.2f", s / h }')"
fi
if awk -v r="$ratio" 'BEGIN { exit !(r <= 1.25) }'; then
  echo "target met: the software arithmetic within 1.25x of the x87"
else
  echo "target missed: the software arithmetic above 1.25x of the x87"
  exit 1
fi
