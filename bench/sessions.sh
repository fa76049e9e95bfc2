#!/usr/bin/env bash
# Writes the bench sessions into the directory $1, one file per session:
# full sessions at each application's capacity, a normal short session and
# one that ends in a fatal input error.
set -euo pipefail
dir=$1
golden=$(cd "$(dirname "$0")/../tests/transcripts" && pwd)
values() {  # values N SEED [SCALE OFFSET FORMAT]
  awk -v n="$1" -v seed="$2" -v s="${3:-90}" -v o="${4:-10}" -v f="${5:-%.2f}" \
    'BEGIN { srand(seed); for (i = 0; i < n; i++) printf f "\n", o + rand() * s }'
}
pairs() {  # pairs N SEED
  awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); for (i = 1; i <= n; i++) { x = i / 10; printf "%.2f %.3f\n", x, 2 + 0.5 * x + rand() } }'
}
# The figures of the issue: one-way ANOVA 100 x 100, Kruskal-Wallis 200,
# sample size with a short dialogue, a letter typed at the menu.
{ printf '4\n1\n100\n100\n'; values 10000 1; printf '0\n'; } > "$dir/anova-100x100"
{ printf '15\n1\n2\n100\n'; values 200 2 50 0 '%d'; printf '0\n'; } > "$dir/kruskal-wallis-200"
cp "$golden/parametric/sample_size_discrete_estimate.in" "$dir/sample-size-short"
printf 'x\n' > "$dir/fatal-error-at-menu"
# Every application at its capacity.
{ printf '1\n1\n2\n0\n200\n'; values 200 11; printf '1\n2\n0\n'; } > "$dir/01-sample-size-200"
{ printf '2\n1\n200\n200\n'; values 400 12; printf '0\n0\n'; } > "$dir/02-student-t-200x2"
{ printf '3\n1\n200\n'; pairs 200 14; printf '0\n'; } > "$dir/03-paired-t-200"
cp "$dir/anova-100x100" "$dir/04-anova-one-way-100x100"
{ printf '5\n1\n100\n100\n'; values 10000 15; printf '0\n'; } > "$dir/05-anova-two-way-100x100"
{ printf '6\n1\n20\n20\n20\n'; values 8000 16; printf '0\n'; } > "$dir/06-anova-replicated-20x20x20"
{ printf '7\n1\n200\n'; pairs 200 17; printf '1\n0\n0\n'; } > "$dir/07-linear-regression-200"
{ printf '8\n1\n200\n2\n10\n0\n'; values 200 18; printf '0\n'; } > "$dir/08-runs-200"
{ printf '9\n1\n2\n50\n50\n'; values 2500 19 90 10 '%d'; printf '0\n'; } > "$dir/09-chi-square-50x50"
{ printf '10\n1\n50\n'; for i in $(seq 50); do echo "classe$i"; done; for i in $(seq 50); do echo 0.02; done
  values 50 20 20 1 '%d'; printf '0\n'; } > "$dir/10-kolmogorov-smirnov-50"
cp "$golden/parametric/z_prop_two_samples.in" "$dir/11-z-proportions"
cp "$golden/nonparametric/wilcoxon_capacity_and_zeros.in" "$dir/12-wilcoxon-capacity"
cp "$golden/nonparametric/mann_capacity_200.in" "$dir/13-mann-whitney-200"
cp "$golden/nonparametric/spearman_capacity_none.in" "$dir/14-spearman-capacity"
cp "$golden/nonparametric/kruskal_capacity.in" "$dir/15-kruskal-wallis-capacity"
{ printf '16\n1\n200\n'; pairs 200 5; printf '1\n1\n2\n1\n3\n1\n4\n0\n0\n'; } > "$dir/16-curvilinear-200x4"
cp "$golden/taxonomy/coded_hundred_species.in" "$dir/17-coded-hundred-species"
cp "$golden/taxonomy/measured_fifteen_species.in" "$dir/17-measured-fifteen-species"
