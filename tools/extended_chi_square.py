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
That is the case whenever Fo and Fe have similar magnitudes (frequencies with
few decimals), which is why this test was once thought unable to show it.
But expected frequencies are typed reals: with Fe = 1.4475... (unit 2^-22)
and Fo = 33.6055... the difference spans 28 bits, d*d needs 56 bits and is
rounded in double, and the quotient then has no coarse grain; about one pair
in 2^28 has its exact dif within 2^-53 of a halfway point, where double lands
on the other single. tools/chi_square_search.cpp (`pair`, seed 2) found
    Fo = 0x1.0cd818p+5 = 33.6055145263671875
    Fe = 0x1.728ffcp+0 = 1.4475095272064208984375
whose dif is 714.425232 (0x1.65366ep+9) in extended and 714.425171
(0x1.65366cp+9) in double. Both print 714.43; a second pair (2c, c), whose
dif is exactly c in both evaluations (c*c is exact in 48 bits, and so is
the quotient by c), moves the sum onto a second-decimal boundary: c is the
first multiple of 2^-14 from 10 up for which the two sums print differently
(c = 10.00982666015625; the sums are exact: same binade, multiples of its
unit): 724.44 in extended against 724.43 in double.

Independence. The expected frequencies somal(i)*somac(j)/somat are a product
of two singles (exact in 48 bits, so exact in double) divided by a single:
one rounding, the same single in both. The statistic accumulates
    qui = qui + (fo - fe)*(fo - fe)/fe
cell by cell; the first cell's term is the goodness-of-fit term above, so the
same pair serves as cell (1,1): fo(1,1) = Fo, fe(1,1) = Fe. y = fo(1,2) and
z = fo(2,1) are small quarters; w = fo(2,2) is set so that the grand total
makes somal(1)*somac(1)/somat round to exactly Fe (`table` mode of the search
tool, which also evaluates the whole table both ways). The one-unit difference
of qui after cell (1,1) survives the three later accumulations, and for
y = 11, z = 6.5, w = 0x1.2830a4p+10 = 1184.7600... it straddles a second
decimal: 766.04 in extended against 766.03 in double.

Every statement is modelled with fractions.Fraction in the application's
order, each operation rounded to a 64-bit significand (53 with --bits 53),
each stored value to a single. The dialogue is that of the hand-derived
golden sessions chi_goodness_of_fit and chi_independence (same screens,
without their refused answers, which are removed and checked); the result
record is formatted here and checked to keep the golden's columns.

    tools/extended_chi_square.py [--bits 53]   prints the numbers only
    tools/extended_chi_square.py --write       writes the .in and .out files
"""
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd

ROOT = Path(__file__).resolve().parent.parent / "tests/transcripts/nonparametric"


def hexf(s):
    return F(float.fromhex(s))


FO = hexf("0x1.0cd818p+5")
FE = hexf("0x1.728ffcp+0")
TABLE = [[FO, F(11)], [F(13, 2), hexf("0x1.2830a4p+10")]]


def dec(v):
    """Exact decimal text of a dyadic fraction."""
    s = "-" if v < 0 else ""
    v = abs(v)
    ip = v.numerator // v.denominator
    fr = v - ip
    digs = ""
    while fr:
        fr *= 10
        d = fr.numerator // fr.denominator
        digs += str(d)
        fr -= d
    return s + str(ip) + "." + (digs or "0")


def ops(bits):
    return (lambda v: rnd(v, bits)), (lambda v: rnd(v, 24))


def goodness(pairs, bits=64):
    X, S = ops(bits)
    qui = F(0)
    difs = []
    for fso, fse in pairs:
        assert S(fso) == fso and S(fse) == fse
        dif = S(X(X(X(fso - fse) * X(fso - fse)) / fse))
        difs.append(dif)
        qui = S(X(qui + dif))
    return qui, len(pairs) - 1, difs


def independence(fo, bits=64):
    X, S = ops(bits)
    inl, inc = len(fo), len(fo[0])
    assert all(S(v) == v for row in fo for v in row)
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


def shift_pair(bits_pair):
    """c, the first multiple of 2^-14 from 10 up whose sums with the two difs print apart."""
    (_, _, (xe,)), (_, _, (xd,)) = bits_pair
    unit = F(1, 2 ** 14)
    k = 10 * 2 ** 14
    while fw(rnd(xe + k * unit, 24), 6, 2) == fw(rnd(xd + k * unit, 24), 6, 2):
        k += 1
    return k * unit


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
    lines = ["9", "1", "1", str(len(pairs))] + [dec(a) + " " + dec(b) for a, b in pairs] + ["0"]
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
    lines = ["9", "1", "2", str(len(fo)), str(len(fo[0]))] + [dec(v) for row in fo for v in row] + ["0"]
    (ROOT / "extended_chi_independence.in").write_text("\n".join(lines) + "\n")


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    c = shift_pair([goodness([(FO, FE)], 64), goodness([(FO, FE)], 53)])
    pairs = [(FO, FE), (2 * c, c)]
    qui, gl, difs = goodness(pairs, bits)
    print("goodness of fit: pairs", [(dec(a), dec(b)) for a, b in pairs])
    print("  dif", [float(v) for v in difs], "qui", float(qui), repr(fit_record(qui, gl)))
    tq, tgl, fe, steps = independence(TABLE, bits)
    print("independence: table", [[dec(v) for v in row] for row in TABLE])
    print("  fe", [[float(v) for v in row] for row in fe], "qui after each cell", [float(v) for v in steps])
    print("  ", repr(table_record(tq, tgl)))
    assert fe[0][0] == FE
    if "--write" in sys.argv:
        assert bits == 64
        assert fit_record(qui, gl) != fit_record(goodness(pairs, 53)[0], gl)
        assert table_record(tq, tgl) != table_record(independence(TABLE, 53)[0], tgl)
        write_fit(pairs, qui, gl)
        write_table(TABLE, tq, tgl)


if __name__ == "__main__":
    main()
