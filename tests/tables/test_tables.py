#!/usr/bin/python3
"""Checks of the committed tables of critical values (doc/tutorial/tabelas/).

    test_tables.py spot    values every textbook prints, the shape and
                           monotonicity of every table, and the exact
                           enumerations redone by other methods (plain Python)
    test_tables.py scipy   held-out cells recomputed directly with SciPy, and
                           the rank tables against SciPy's exact tests;
                           exits 77 (skipped) when SciPy is not installed
"""

import itertools
import math
import os
import re
import sys
import unittest
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
TABLES = os.path.join(ROOT, "doc", "tutorial", "tabelas")
sys.path.insert(0, os.path.join(ROOT, "tools"))
import tables as gen  # noqa: E402

SKIP = 77

try:
    import numpy  # noqa: F401  (the generator's Spearman enumeration uses it)
    HAVE_NUMPY = True
except ImportError:
    HAVE_NUMPY = False


def read_tables(name):
    """The Markdown tables of a page, in order: a list of (header, rows),
    each row a list of cell texts (markup removed)."""
    out = []
    current = None
    with open(os.path.join(TABLES, name), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.startswith("|"):
                current = None
                continue
            cells = [c.strip().replace("**", "") for c in line.strip("|").split("|")]
            if current is None:
                current = (cells, [])
                out.append(current)
            elif set("".join(cells)) <= set(":-"):
                continue
            else:
                current[1].append(cells)
    return out


def as_dict(tbl):
    """{row label: {column label: cell}} for one table."""
    header, rows = tbl
    return {r[0]: dict(zip(header[1:], r[1:])) for r in rows}


def merged(tables):
    """Join column blocks of the same rows into one dict."""
    out = {}
    for t in tables:
        for row, cols in as_dict(t).items():
            out.setdefault(row, {}).update(cols)
    return out


def num(cell):
    return None if cell == "—" else float(cell.split()[0])


def t_table():
    return merged(read_tables("t-student.md"))


def f_table(alpha_index):
    # two blocks of columns per level, levels in order 0.05, 0.01
    return merged(read_tables("f.md")[2 * alpha_index:2 * alpha_index + 2])


def q_table(alpha_index):
    return merged(read_tables("tukey-q.md")[2 * alpha_index:2 * alpha_index + 2])


def mw_table(alpha_index):
    return merged(read_tables("mann-whitney.md")[2 * alpha_index:2 * alpha_index + 2])


def chi_table():
    return merged(read_tables("qui-quadrado.md"))


class TextbookValues(unittest.TestCase):
    """Values printed in every textbook: a drift of tail, rounding or
    convention in the generator changes at least one of them."""

    def test_student_t(self):
        t = t_table()
        self.assertEqual(t["10"]["α = 0,05"], "2.228")
        self.assertEqual(t["1"]["α = 0,20"], "3.078")
        self.assertEqual(t["∞"]["α = 0,05"], "1.960")
        self.assertEqual(t["∞"]["α = 0,01"], "2.576")
        self.assertEqual(t["30"]["α = 0,001"], "3.646")

    def test_chi_square(self):
        c = chi_table()
        self.assertEqual(c["1"]["α = 0,05"], "3.841")
        self.assertEqual(c["10"]["α = 0,01"], "23.209")
        self.assertEqual(c["100"]["α = 0,05"], "124.342")
        self.assertEqual(c["2"]["α = 0,95"], "0.103")

    def test_f(self):
        f05, f01 = f_table(0), f_table(1)
        self.assertEqual(f05["10"]["1"], "4.96")
        self.assertEqual(f05["1"]["1"], "161.45")
        self.assertEqual(f05["∞"]["∞"], "1.00")
        self.assertEqual(f05["20"]["4"], "2.87")
        self.assertEqual(f01["20"]["2"], "5.85")
        self.assertEqual(f01["1"]["1"], "4052.18")
        self.assertEqual(f05["10"]["∞"], "2.54")
        self.assertEqual(f05["∞"]["4"], "2.37")

    def test_tukey_q(self):
        q05, q01 = q_table(0), q_table(1)
        self.assertEqual(q05["10"]["3"], "3.877")
        self.assertEqual(q05["∞"]["2"], "2.772")
        self.assertEqual(q05["1"]["20"], "59.558")
        self.assertEqual(q05["20"]["5"], "4.232")
        self.assertEqual(q01["10"]["3"], "5.270")
        self.assertEqual(q01["∞"]["20"], "5.645")

    def test_mann_whitney(self):
        m05, m01 = mw_table(0), mw_table(1)
        self.assertEqual(m05["10"]["10"], "23")
        self.assertEqual(m01["10"]["10"], "16")
        self.assertEqual(m05["20"]["20"], "127")
        self.assertEqual(m05["8"]["5"], "6")
        self.assertEqual(m05["2"]["2"], "—")
        self.assertEqual(m05["2"]["8"], "0")
        self.assertEqual(m01["2"]["18"], "—")   # P(U = 0) = 1/190 > 0.005
        self.assertEqual(m01["2"]["19"], "0")   # P(U = 0) = 1/210 <= 0.005

    def test_wilcoxon(self):
        w = as_dict(read_tables("wilcoxon.md")[0])
        self.assertEqual(w["10"]["bilateral α = 0,05"], "8")
        self.assertEqual(w["10"]["unilateral α = 0,05"], "10")
        self.assertEqual(w["5"]["bilateral α = 0,05"], "—")
        self.assertEqual(w["5"]["unilateral α = 0,05"], "0")
        self.assertEqual(w["6"]["bilateral α = 0,05"], "0")
        self.assertEqual(w["20"]["bilateral α = 0,01"], "37")
        self.assertEqual(w["25"]["bilateral α = 0,05"], "89")

    def test_kolmogorov_smirnov(self):
        k = as_dict(read_tables("kolmogorov-smirnov.md")[0])
        self.assertEqual(k["10"]["α = 0,05"], "0.409")
        self.assertEqual(k["1"]["α = 0,05"], "0.975")
        self.assertEqual(k["20"]["α = 0,01"], "0.352")
        self.assertEqual(list(k), [str(n) for n in range(1, 36)])

    def test_spearman(self):
        s = as_dict(read_tables("spearman.md")[0])
        self.assertEqual(s["10"]["α = 0,05"], "0.648")
        self.assertEqual(s["5"]["α = 0,10"], "0.900")
        self.assertEqual(s["5"]["α = 0,01"], "—")
        self.assertEqual(s["12"]["α = 0,01"], "0.727")
        self.assertEqual(s["16"]["cálculo"], "exato")
        self.assertEqual(s["17"]["cálculo"], "aprox.")

    def test_kruskal_wallis(self):
        k = as_dict(read_tables("kruskal-wallis.md")[0])
        self.assertTrue(k["5–5–5"]["α = 0,05"].startswith("5.7800"))
        self.assertTrue(k["5–5–5"]["α = 0,01"].startswith("8.0000"))
        self.assertTrue(k["4–4–4"]["α = 0,05"].startswith("5.6923"))
        self.assertTrue(k["3–3–3"]["α = 0,05"].startswith("5.6000 (p = 0.0500)"))
        self.assertTrue(k["2–2–2"]["α = 0,10"].startswith("4.5714"))
        self.assertEqual(k["2–2–2"]["α = 0,05"], "—")


class Shape(unittest.TestCase):
    """Every row and column is there, every cell is a number in the expected
    form, and the values move the way the distributions make them move."""

    def assertDecreasing(self, values, strict=True, msg=None):
        vals = [v for v in values if v is not None]
        for a, b in zip(vals, vals[1:]):
            self.assertTrue(a > b if strict else a >= b, f"{msg}: {values}")

    def test_cells_are_numbers_as_printed(self):
        pattern = re.compile(r"^(—|-?\d+(\.\d+)?( \(p = 0\.\d{4}\)( \*)?)?|exato|aprox\.)$")
        for name, _ in gen.PAGES:
            if name == "index.md":
                continue
            for header, rows in read_tables(name):
                for row in rows:
                    self.assertEqual(len(row), len(header), f"{name}: {row}")
                    for cell in row[1:]:
                        self.assertRegex(cell, pattern, f"{name}: {row}")
                        self.assertNotIn(",", cell)

    def test_rows_and_columns(self):
        nus = [str(n) for n in range(1, 31)] + ["40", "60", "120", "∞"]
        self.assertEqual(list(t_table()), nus)
        f_cols = [str(n) for n in list(range(1, 11)) + [12, 15, 20, 24, 30, 40, 60, 120]] + ["∞"]
        for i in (0, 1):
            f = f_table(i)
            self.assertEqual(list(f), nus)
            self.assertEqual(list(f["1"]), f_cols)
            q = q_table(i)
            self.assertEqual(list(q), [str(n) for n in list(range(1, 21)) + [24, 30, 40, 60, 120]] + ["∞"])
            self.assertEqual(list(q["1"]), [str(k) for k in range(2, 21)])
            m = mw_table(i)
            self.assertEqual(list(m), [str(n) for n in range(2, 21)])
            self.assertEqual(list(m["2"]), [str(n) for n in range(2, 21)])
        self.assertEqual(list(chi_table()), [str(n) for n in list(range(1, 31)) + list(range(40, 101, 10))])
        self.assertEqual(list(as_dict(read_tables("wilcoxon.md")[0])), [str(n) for n in range(5, 51)])
        self.assertEqual(list(as_dict(read_tables("spearman.md")[0])), [str(n) for n in range(5, 31)])

    def test_continuous_tables_are_monotone(self):
        t = t_table()
        for col in t["1"]:
            self.assertDecreasing([num(t[r][col]) for r in t], msg=f"t column {col}")
        for r in t:
            self.assertDecreasing([-num(v) for v in t[r].values()], msg=f"t row {r}")
        c = chi_table()
        for col in c["1"]:
            self.assertDecreasing([-num(c[r][col]) for r in c], msg=f"chi2 column {col}")
        for i in (0, 1):
            f = f_table(i)
            for col in f["1"]:
                self.assertDecreasing([num(f[r][col]) for r in f], strict=False, msg=f"F column {col}")
            q = q_table(i)
            for r in q:
                self.assertDecreasing([-num(v) for v in q[r].values()], msg=f"q row {r}")
            for col in q["1"]:
                self.assertDecreasing([num(q[r][col]) for r in q], msg=f"q column {col}")
        # a stricter level gives a larger critical value, cell by cell
        f05, f01, q05, q01 = f_table(0), f_table(1), q_table(0), q_table(1)
        for r in f05:
            for col in f05[r]:
                if r == col == "∞":
                    continue
                self.assertLess(num(f05[r][col]), num(f01[r][col]))
        for r in q05:
            for col in q05[r]:
                self.assertLess(num(q05[r][col]), num(q01[r][col]))
        k = as_dict(read_tables("kolmogorov-smirnov.md")[0])
        for col in k["1"]:
            self.assertDecreasing([num(k[r][col]) for r in k], msg=f"KS column {col}")

    def test_mann_whitney_is_symmetric_and_grows(self):
        for i in (0, 1):
            m = mw_table(i)
            for a in m:
                for b in m:
                    self.assertEqual(m[a][b], m[b][a])
                self.assertDecreasing([-(num(v) if num(v) is not None else -1)
                                       for v in m[a].values()], strict=False)

    def test_wilcoxon_grows_with_n(self):
        w = as_dict(read_tables("wilcoxon.md")[0])
        for col in w["5"]:
            self.assertDecreasing([-(num(w[r][col]) if num(w[r][col]) is not None else -1)
                                   for r in w], strict=False, msg=col)

    def test_approximations_meet_the_exact_rows(self):
        # The t row and the F column with infinite degrees of freedom agree
        # with the normal and chi-square rows (F(ν1, ∞) = χ²(ν1)/ν1).
        t, c, f05 = t_table(), chi_table(), f_table(0)
        self.assertAlmostEqual(num(t["∞"]["α = 0,05"]) ** 2, num(c["1"]["α = 0,05"]), places=2)
        for nu1 in ("1", "2", "5", "10", "20", "30"):
            self.assertAlmostEqual(num(f05["∞"][nu1]), num(c[nu1]["α = 0,05"]) / int(nu1), places=2)
        # t² with ν degrees of freedom is F(1, ν)
        for nu in ("5", "10", "30", "120"):
            self.assertAlmostEqual(num(t[nu]["α = 0,05"]) ** 2, num(f05[nu]["1"]), delta=0.006)
        # q for two means is √2 times the two-tailed t
        q05 = q_table(0)
        for nu in ("5", "10", "20", "60", "∞"):
            self.assertAlmostEqual(num(q05[nu]["2"]), math.sqrt(2) * num(t[nu]["α = 0,05"]), delta=0.002)


def brute_mann_whitney(n1, n2):
    """Counts of U (pairs y < x) over all choices of the first sample's ranks."""
    counts = [0] * (n1 * n2 + 1)
    for xs in itertools.combinations(range(n1 + n2), n1):
        u = sum(x - i for i, x in enumerate(xs))   # values of the other sample below each x
        counts[u] += 1
    return counts


def gaussian_binomial(n1, n2):
    """Coefficients of [n1 + n2 choose n1]_q, the generating function of U,
    as a product of (1 - q^(n2+i)) divided by a product of (1 - q^i)."""
    poly = [1]
    for i in range(1, n1 + 1):
        m = n2 + i
        new = poly + [0] * m
        for j, c in enumerate(poly):
            new[j + m] -= c
        poly = new
    for i in range(1, n1 + 1):
        # divide by (1 - q^i): running sum with stride i
        for j in range(i, len(poly)):
            poly[j] += poly[j - i]
    return poly[:n1 * n2 + 1]


def brute_spearman(n):
    """Counts of the sum of squared rank differences over all permutations."""
    counts = [0] * (n * (n * n - 1) // 3 + 1)
    for perm in itertools.permutations(range(n)):
        counts[sum((i - p) ** 2 for i, p in enumerate(perm))] += 1
    return counts


def critical_low(counts, alpha):
    total = sum(counts)
    best, cum = None, 0
    for t, c in enumerate(counts):
        cum += c
        if Fraction(cum, total) > alpha:
            break
        if c:
            best = t
    return best


class ExactEnumerations(unittest.TestCase):
    """The exact rank distributions, redone by methods that share no code
    with the generator, against the committed cells."""

    def test_mann_whitney_three_ways(self):
        for n1 in range(1, 8):
            for n2 in range(1, 8):
                brute = brute_mann_whitney(n1, n2)
                self.assertEqual(brute, list(gen.mann_whitney_counts(n1, n2)), (n1, n2))
                self.assertEqual(brute, gaussian_binomial(n1, n2), (n1, n2))
        for i, alpha in enumerate((Fraction(1, 40), Fraction(1, 200))):
            m = mw_table(i)
            for n1 in range(2, 21):
                for n2 in range(n1, 21):
                    crit = critical_low(gaussian_binomial(n1, n2), alpha)
                    expect = "—" if crit is None else str(crit)
                    self.assertEqual(m[str(n1)][str(n2)], expect, (n1, n2, alpha))

    def test_wilcoxon_by_subsets(self):
        w = as_dict(read_tables("wilcoxon.md")[0])
        cols = {"bilateral α = 0,05": Fraction(1, 40), "bilateral α = 0,01": Fraction(1, 200),
                "unilateral α = 0,05": Fraction(1, 20), "unilateral α = 0,01": Fraction(1, 100)}
        for n in range(5, 17):
            counts = [0] * (n * (n + 1) // 2 + 1)
            for mask in range(1 << n):
                counts[sum(r + 1 for r in range(n) if mask >> r & 1)] += 1
            self.assertEqual(counts, list(gen.wilcoxon_counts(n)))
            for col, alpha in cols.items():
                crit = critical_low(counts, alpha)
                self.assertEqual(w[str(n)][col], "—" if crit is None else str(crit), (n, col))
        # beyond the subsets, the distribution is symmetric and sums to 2**n
        for n in (30, 50):
            c = gen.wilcoxon_counts(n)
            self.assertEqual(sum(c), 2 ** n)
            self.assertEqual(list(c), list(reversed(c)))

    def test_spearman_by_permutations(self):
        s = as_dict(read_tables("spearman.md")[0])
        cols = {"α = 0,10": Fraction(1, 20), "α = 0,05": Fraction(1, 40),
                "α = 0,02": Fraction(1, 100), "α = 0,01": Fraction(1, 200)}
        for n in range(5, 10):
            counts = brute_spearman(n)
            if HAVE_NUMPY:
                self.assertEqual(counts, list(gen.spearman_counts(n)))
            for col, alpha in cols.items():
                crit = critical_low(counts, alpha)
                expect = "—" if crit is None else f"{float(1 - Fraction(6 * crit, n ** 3 - n)):.3f}"
                self.assertEqual(s[str(n)][col], expect, (n, col))

    def test_spearman_moments_and_approximation(self):
        # The fourth moment used by the approximation is the exact one, and
        # where both exist the approximate critical value is never below the
        # exact one, and at most 0.025 from it, below it in one cell only
        # (n = 11, α = 0.10, one step of rs), as the page says.
        stats = None
        try:
            from scipy import stats
        except ImportError:
            pass
        for n in range(5, 14 if HAVE_NUMPY else 10):
            counts = gen.spearman_counts(n) if HAVE_NUMPY else brute_spearman(n)
            total = math.factorial(n)
            self.assertEqual(sum(counts), total)
            var = sum(c * (1 - Fraction(6 * k, n ** 3 - n)) ** 2 for k, c in enumerate(counts)) / total
            m4 = sum(c * (1 - Fraction(6 * k, n ** 3 - n)) ** 4 for k, c in enumerate(counts)) / total
            self.assertEqual(var, Fraction(1, n - 1))
            self.assertEqual(m4, gen.spearman_fourth_moment(n))
            if stats is None or n < 10:
                continue
            for a in gen.SP_ALPHAS:
                exact = gen.spearman_exact_critical(counts, n, a)
                approx = gen.spearman_approx_critical(stats, n, a)
                self.assertLessEqual(abs(approx - exact), Fraction(25, 1000), (n, a))
                if (n, a) == (11, 0.10):
                    self.assertEqual(exact - approx, Fraction(12, n ** 3 - n))
                else:
                    self.assertGreaterEqual(approx, exact, (n, a))

    def test_kruskal_wallis_by_assignments(self):
        k = as_dict(read_tables("kruskal-wallis.md")[0])
        for sizes in [(2, 2, 2), (3, 2, 1), (3, 3, 2), (3, 3, 3), (4, 3, 2)]:
            total = sum(sizes)
            dist = {}
            labels = [g for g, m in enumerate(sizes) for _ in range(m)]
            for perm in set(itertools.permutations(labels)):
                sums = [0] * 3
                for rank, g in enumerate(perm, start=1):
                    sums[g] += rank
                h = Fraction(12, total * (total + 1)) * sum(Fraction(r * r, m) for r, m in zip(sums, sizes)) \
                    - 3 * (total + 1)
                dist[h] = dist.get(h, 0) + 1
            self.assertEqual(dist, gen.kruskal_wallis_distribution(sizes))
            row = k["–".join(map(str, sizes))]
            for col, alpha in (("α = 0,10", Fraction(1, 10)), ("α = 0,05", Fraction(1, 20)),
                               ("α = 0,01", Fraction(1, 100))):
                n_all = sum(dist.values())
                best = None
                tail = 0
                for h in sorted(dist, reverse=True):
                    tail += dist[h]
                    if Fraction(tail, n_all) > alpha:
                        break
                    best = (h, Fraction(tail, n_all))
                if best is None:
                    self.assertEqual(row[col], "—")
                else:
                    self.assertTrue(row[col].startswith(f"{float(best[0]):.4f} (p = {float(best[1]):.4f})"),
                                    (sizes, col, row[col]))


class AgainstSciPy(unittest.TestCase):
    """Held-out cells recomputed with SciPy calls the generator does not make
    (or makes differently), and the rank tables against SciPy's exact tests."""

    @classmethod
    def setUpClass(cls):
        from scipy import stats
        cls.stats = stats

    def test_continuous_cells(self):
        st = self.stats
        t = t_table()
        for nu, col, a in [(7, "α = 0,02", 0.02), (23, "α = 0,10", 0.10), (120, "α = 0,001", 0.001)]:
            self.assertEqual(t[str(nu)][col], f"{st.t.ppf(1 - a / 2, nu):.3f}")
        c = chi_table()
        for nu, col, a in [(17, "α = 0,025", 0.025), (70, "α = 0,995", 0.995), (3, "α = 0,001", 0.001)]:
            self.assertEqual(c[str(nu)][col], f"{st.chi2.ppf(1 - a, nu):.3f}")
        f05, f01 = f_table(0), f_table(1)
        self.assertEqual(f05["13"]["7"], f"{st.f.ppf(0.95, 7, 13):.2f}")
        self.assertEqual(f01["28"]["24"], f"{st.f.ppf(0.99, 24, 28):.2f}")
        q05, q01 = q_table(0), q_table(1)
        for tbl, a, nu, k in [(q05, 0.05, 17, 6), (q01, 0.01, 40, 13), (q05, 0.05, 2, 20), (q01, 0.01, 1, 2)]:
            self.assertEqual(tbl[str(nu)][str(k)], f"{st.studentized_range.ppf(1 - a, k, nu):.3f}")
        ks = as_dict(read_tables("kolmogorov-smirnov.md")[0])
        for n, col, a in [(3, "α = 0,20", 0.20), (27, "α = 0,02", 0.02), (35, "α = 0,05", 0.05)]:
            self.assertEqual(ks[str(n)][col], f"{st.kstwo.ppf(1 - a, n):.3f}")
            # the tabulated D is where the exact two-sided tail crosses α
            self.assertAlmostEqual(st.kstwo.sf(float(ks[str(n)][col]), n), a, delta=a * 0.1 + 0.002)

    def test_mann_whitney_against_exact_test(self):
        st = self.stats
        for i, alpha in enumerate((0.05, 0.01)):
            m = mw_table(i)
            for n1, n2 in [(4, 9), (7, 7), (10, 10), (12, 17), (20, 20)]:
                crit = int(m[str(n1)][str(n2)])
                for u, reject in ((crit, True), (crit + 1, False)):
                    # x takes u of the pairs: the first sample is placed so
                    # that exactly u values of the second lie below it.
                    ys = list(range(n2))
                    xs, left = [], u
                    for _ in range(n1):
                        below = min(left, n2)
                        xs.append(below - 0.5)
                        left -= below
                    p = st.mannwhitneyu(xs, ys, alternative="two-sided", method="exact").pvalue
                    self.assertEqual(p <= alpha, reject, (n1, n2, u, p))

    def test_wilcoxon_against_exact_test(self):
        st = self.stats
        w = as_dict(read_tables("wilcoxon.md")[0])
        for n in (8, 12, 20, 25):
            for col, alpha, alt in (("bilateral α = 0,05", 0.05, "two-sided"),
                                    ("unilateral α = 0,01", 0.01, "greater")):
                crit = int(w[str(n)][col])
                for t, reject in ((crit, True), (crit + 1, False)):
                    # negative differences whose ranks sum to t (greedy from the
                    # top); the one-sided test then asks whether T+ is large
                    neg, left = set(), t
                    for r in range(n, 0, -1):
                        if r <= left:
                            neg.add(r)
                            left -= r
                    d = [-r if r in neg else r for r in range(1, n + 1)]
                    res = st.wilcoxon(d, alternative=alt, mode="exact") if _old_wilcoxon(st) else \
                        st.wilcoxon(d, alternative=alt, method="exact")
                    self.assertEqual(res.pvalue <= alpha, reject, (n, col, t, res.pvalue))


def _old_wilcoxon(stats):
    import inspect
    return "method" not in inspect.signature(stats.wilcoxon).parameters


def main():
    mode = sys.argv[1] if len(sys.argv) > 1 else "spot"
    if mode == "scipy":
        try:
            import scipy  # noqa: F401
        except ImportError:
            print("SKIPPED: SciPy is not installed (Debian package python3-scipy); "
                  "the cross-checks against SciPy did not run.")
            return SKIP
        classes = [AgainstSciPy]
    else:
        classes = [TextbookValues, Shape, ExactEnumerations]
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromTestCase(c) for c in classes)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
