#!/usr/bin/env python3
"""Derives the golden sessions nonparametric/extended_chi_goodness_of_fit and
nonparametric/extended_chi_independence from exact arithmetic.

Goodness of fit. Each pair gives
    dif(k) = (fso(k) - fse(k))*(fso(k) - fse(k))/fse(k)      (one single each)
    qui = qui + dif(k)                                      (two singles: exact
                                                             rounding either way)
so only dif can tell the evaluations apart. d = fso - fse is exact in both. If
d has at most 26 significant bits, d*d is exact in double too, and the
quotient P/fse of a numerator below 2^52 by a 24-bit significand lies at
least 2^-52 (relative) from any halfway point between singles unless exactly
on it: rounding first to 53 bits cannot move it across, so no difference.
That is the case whenever Fo and Fe have similar magnitudes and few decimals,
which is why this test was once thought unable to show it. But expected
frequencies are typed reals, and often small: with Fe = 93/35, typed
2.6571429 (the single 0x1.541d42p+1, unit 2^-22), and Fo = 31 the difference
spans 28 bits, d*d needs 56 bits and is rounded in double, and the quotient
has no coarse grain any more. tools/precision/chi_square_search.cpp (`pairs 12 60`,
every integer Fo against every single Fe in [1, 4)) found this pair among
four: dif is 302.323822 (0x1.2e52e6p+8) in extended and 302.323792
(0x1.2e52e4p+8) in double. Both print 302.32; a second pair, Fo = 16 and
Fe = 14.9 (dif 0.0812081..., the same single in both; found by `second`),
brings the sums across a second-decimal boundary: 302.41 in extended against
302.40 in double.

Independence. The expected frequencies somal(i)*somac(j)/somat are a product
of two singles (exact in 48 bits, so exact in double) divided by a single:
one rounding, the same single in both. The statistic accumulates
    qui = qui + (fo - fe)*(fo - fe)/fe
cell by cell; the first cell's term is the goodness-of-fit term above, so the
same pair serves as cell (1,1): in the table of counts
    31    26
    31  1242
fo(1,1) = 31 and fe(1,1) = 57*62/1330 = 93/35, stored as the same single.
The unit by which qui differs after cell (1,1) survives the three later
accumulations and straddles a second decimal: 331.31 in extended against
331.30 in double (`tables 31 0x1.541d42p+1 200000`: the smallest of 368
integer tables with that cell that print differently).

Every statement is modelled with fractions.Fraction in the application's
order, each operation rounded to a 64-bit significand (53 with --bits 53),
each stored value to a single. The dialogue is that of the hand-derived
golden sessions chi_goodness_of_fit and chi_independence (same screens,
without their refused answers, which are removed and checked); the result
record is formatted here and checked to keep the golden's columns.

    tools/precision/extended_chi_square.py [--bits 53]   prints the numbers only
    tools/precision/extended_chi_square.py --write       writes the .in and .out files
"""
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd

ROOT = Path(__file__).resolve().parents[2] / "tests/transcripts/nonparametric"


def hexf(s):
    return F(float.fromhex(s))


# The typed texts and the singles they give (nearest, ties to even).
PAIRS = [("31", "2.6571429"), ("16", "14.9")]
TABLE = [["31", "26"], ["31", "1242"]]
FE = hexf("0x1.541d42p+1")


def ops(bits):
    return (lambda v: rnd(v, bits)), (lambda v: rnd(v, 24))


def goodness(pairs, bits=64):
    X, S = ops(bits)
    qui = F(0)
    difs = []
    for fso, fse in pairs:
        fso, fse = read(fso), read(fse)
        dif = S(X(X(X(fso - fse) * X(fso - fse)) / fse))
        difs.append(dif)
        qui = S(X(qui + dif))
    return qui, len(pairs) - 1, difs


def independence(fo, bits=64):
    X, S = ops(bits)
    fo = [[read(v) for v in row] for row in fo]
    inl, inc = len(fo), len(fo[0])
    somal = [F(0)] * inl
    for i in range(inl):
        for j in range(inc):
            somal[i] = S(X(somal[i] + fo[i][j]))
    somac = [F(0)] * inc
    for j in range(inc):
        for i in range(inl):
            somac[j] = S(X(somac[j] + fo[i][j]))
    somat = F(0)
    for j in range(inc):
        somat = S(X(somat + somac[j]))
    fe = [[S(X(X(somal[i] * somac[j]) / somat)) for j in range(inc)] for i in range(inl)]
    qui = F(0)
    steps = []
    for i in range(inl):
        for j in range(inc):
            d = X(fo[i][j] - fe[i][j])
            qui = S(X(qui + X(X(d * d) / fe[i][j])))
            steps.append(qui)
    return qui, (inc - 1) * (inl - 1), fe, steps


def read(text):
    """A typed real as the reader stores it: the nearest single."""
    return rnd(F(text), 24)


def fit_record(qui, gl):
    return " * Qui-Quadrado = " + fw(qui, 6, 2) + "    **    " + " GL =" + str(gl).rjust(2) + " *"


def table_record(qui, gl):
    return " " + "*" * 11 + " Qui-quadrado = " + fw(qui, 6, 2) + "   GL = " + str(gl).rjust(3) + " " + "*" * 9


def golden(name):
    return [l.decode("cp850") for l in (ROOT / name).read_bytes().split(b"\r\n")]


BOX = [
    " " + "*" * 54,
    " ***         Digitar o modelo de analise            ***",
    "",
    " * Teste de aderencia (1) / Teste de Independ\u00eancia (2)*",
    " " + "*" * 54,
]


def drop(lines, start, block):
    """lines without block at start, checked to be there."""
    assert lines[start:start + len(block)] == block, (start, lines[start:start + len(block)])
    return lines[:start] + lines[start + len(block):]


def write_fit(pairs, qui, gl):
    gold = golden("chi_goodness_of_fit.out")
    # The golden answers 3 and 0 to the choice (two extra boxes) and 101 to the count.
    first = gold.index(BOX[0])
    assert gold[first:first + 15] == BOX * 3
    out = drop(gold, first, BOX * 2)
    ask = out.index(" ***  Quantos pares de Fo e Fe serao analisados?   ***")
    out = drop(out, ask + 1, ["", " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =         100", "",
                              " ***  Quantos pares de Fo e Fe serao analisados?   ***"])
    res = [i for i, t in enumerate(out) if t.startswith(" * Qui-Quadrado =")]
    assert len(res) == 1 and len(out[res[0]]) == len(fit_record(qui, gl))
    assert out[res[0]] == fit_record(F(10, 3) + F(1, 1000), 1)  # the golden's 3.33, GL 1
    out[res[0]] = fit_record(qui, gl)
    prompts = [" Digitar o par de dados numero " + str(k).rjust(2) for k in (1, 2)]
    assert [out[out.index(p) + 1] for p in prompts] == ["", ""]
    (ROOT / "extended_chi_goodness_of_fit.out").write_bytes("\r\n".join(out).encode("cp850"))
    lines = ["9", "1", "1", str(len(pairs))] + [a + " " + b for a, b in pairs] + ["0"]
    (ROOT / "extended_chi_goodness_of_fit.in").write_text("\n".join(lines) + "\n")


def write_table(fo, qui, gl):
    gold = golden("chi_independence.out")
    ask = gold.index(" *** Quantas linhas tem a tabela? ***")
    out = drop(gold, ask + 1, ["", " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =          50", "",
                               " *** Quantas linhas tem a tabela? ***"])
    res = [i for i, t in enumerate(out) if "Qui-quadrado =" in t]
    assert len(res) == 1 and out[res[0]] == table_record(F(79, 100), 1)  # the golden's 0.79, GL 1
    out[res[0]] = table_record(qui, gl)
    assert len(out[res[0]]) == len(table_record(F(79, 100), 1))
    (ROOT / "extended_chi_independence.out").write_bytes("\r\n".join(out).encode("cp850"))
    lines = ["9", "1", "2", str(len(fo)), str(len(fo[0]))] + [v for row in fo for v in row] + ["0"]
    (ROOT / "extended_chi_independence.in").write_text("\n".join(lines) + "\n")


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    assert read("2.6571429") == FE == rnd(F(93, 35), 24)
    qui, gl, difs = goodness(PAIRS, bits)
    print("goodness of fit: pairs", PAIRS)
    print("  dif", [float(v) for v in difs], "qui", float(qui), repr(fit_record(qui, gl)))
    tq, tgl, fe, steps = independence(TABLE, bits)
    print("independence: table", TABLE)
    print("  fe", [[float(v) for v in row] for row in fe], "qui after each cell", [float(v) for v in steps])
    print("  ", repr(table_record(tq, tgl)))
    assert fe[0][0] == FE
    if "--write" in sys.argv:
        assert bits == 64
        assert fit_record(qui, gl) != fit_record(goodness(PAIRS, 53)[0], gl)
        assert table_record(tq, tgl) != table_record(independence(TABLE, 53)[0], tgl)
        write_fit(PAIRS, qui, gl)
        write_table(TABLE, tq, tgl)


if __name__ == "__main__":
    main()
