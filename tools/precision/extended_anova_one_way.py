#!/usr/bin/env python3
"""Constructs and derives the golden session parametric/extended_anova_one_way.

Why a construction: in the one-way ANOVA every quotient is rounded to a
single on its own except in the accumulation
    soma2c = soma2c + somac(j)*somac(j)/rnr
where the quotient meets the running sum before the single rounding. If
soma2c is far larger than the new term, the exact sum can fall within
2^-54 (relative) of a halfway point between two singles; double evaluation
then rounds onto the halfway point and the tie goes to the even single,
while extended keeps the sum above it. With 47 repetitions:
    somac(2) = 2^24 - 1 (times 2^a):  somac(2)^2 = 47*178481*2^25 + 1 (times 2^2a)
so somac(2)^2/47 = 178481*2^(25+2a) + 2^(2a)/47, and with soma2c a single
A = 2^(49+2a) + 2*2^(26+2a) (an even significand, made by column 1's total)
the sum is A + 178481 half-units + 2^(2a)/47: just above a halfway point
whose lower neighbour is even. Double gives the lower single, extended the
upper; sqdcol moves by one unit and the residual sum of squares after it
(a small difference of large sums) moves visibly: the residual standard
deviation prints 0.42 in extended and 0.59 in double.

The data below (a = -11, column 1 totalling 162661168*2^a in multiples of
16*2^a, column 2 totalling (2^24-1)*2^a, spread at random) were drawn by
--draw SEED (seed 3, the fourth set), written as exact decimals of dyadic
values so reading is exact.

Every statement is modelled with fractions.Fraction, each operation
rounded to a 64-bit significand (nearest, ties to even), each stored value
to a single, in the order the application evaluates it. The dialogue is
that of the hand-derived golden session anova_one_way_example (same
screens; the data prompts are rebuilt for 47 repetitions and checked
against the golden's for 2).

    tools/precision/extended_anova_one_way.py [--bits 53]   prints the numbers only
    tools/precision/extended_anova_one_way.py --write       writes the .in and .out
"""
import random
import sys
from fractions import Fraction as F

from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

ROOT = Path(__file__).resolve().parents[2] / "tests/transcripts/parametric"


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


def draw(seed, which):
    """The data sets tried: column 1 sums to 162661168, column 2 to 2^24-1."""
    rng = random.Random(seed)
    for t in range(which + 1):
        a = -rng.randint(8, 14)
        sp1 = rng.randint(0, 200)
        sp2 = rng.randint(0, 200)
        c1 = [3460875 // 16 * 16 + 16 * rng.randint(-sp1, sp1) for _ in range(46)]
        c1.append(162661168 - sum(c1))
        c2 = [356962 + rng.randint(-sp2, sp2) for _ in range(46)]
        c2.append(16777215 - sum(c2))
    assert c1[-1] % 16 == 0 and c1[-1] > 0 and c2[-1] > 0
    scale = F(2) ** a
    return [(F(u) * scale, F(v) * scale) for u, v in zip(c1, c2)]


def model(rows, bits=64):
    X = lambda v: rnd(v, bits)
    S = lambda v: rnd(v, 24)
    sqrt = lambda v: sqrt_rounded(v, bits)  # noqa: E731

    inr, inc = len(rows), 2
    rnr, rnc = F(inr), F(inc)
    somat = soma2t = F(0)
    somac = [F(0)] * inc
    for row in rows:                        # by repetition, every treatment
        for j, x in enumerate(row):
            x = S(x)
            somat = S(X(somat + x))
            soma2t = S(X(soma2t + X(x * x)))
            somac[j] = S(X(somac[j] + x))
    mediacol = [S(X(s / rnr)) for s in somac]
    glcol, glres = inc - 1, (inc * inr - 1) - (inc - 1)
    fc = S(X(X(somat * somat) / X(rnc * rnr)))
    sqdtot = S(X(soma2t - fc))
    soma2c = F(0)
    for s in somac:
        soma2c = S(X(soma2c + X(X(s * s) / rnr)))
    sqdcol = S(X(soma2c - fc))
    sqdres = S(X(sqdtot - sqdcol))
    varcol = S(X(sqdcol / glcol))
    varres = S(X(sqdres / glres))
    dpres = S(sqrt(varres))
    testef = S(X(varcol / varres))
    return dict(soma2c=soma2c, fc=fc, sqdtot=sqdtot, sqdcol=sqdcol, sqdres=sqdres, varres=varres,
                dpres=dpres, testef=testef, glcol=glcol, glres=glres, mediacol=mediacol)


def main():
    rows = draw(3, 3)
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(rows, bits)
    for k, v in m.items():
        print(f"{k:9} {v if isinstance(v, (int, list)) else float(v)!r}")
    recs = {
        "F": " *" + " " * 22 + "F =" + fw(m["testef"], 6, 2) + " " * 22 + "*",
        "GL": " *" + " " * 9 + "GLCOL =" + str(m["glcol"]).rjust(3) + " " * 13 + " GLRES = " + str(m["glres"]).rjust(3) + " " * 9 + "*",
        "DP": " *" + " " * 10 + "Desvio Padrao Residual =" + fw(m["dpres"], 6, 2) + " " * 13 + "*",
    }
    means = [" " * 16 + "Mediacol (" + str(j + 1).rjust(2) + ") = " + fw(v, 6, 2) for j, v in enumerate(m["mediacol"])]
    for r in list(recs.values()) + means:
        print(repr(r))
    if "--write" not in sys.argv:
        return
    gold = [l.decode("cp850") for l in (ROOT / "anova_one_way_example.out").read_bytes().split(b"\r\n")]
    prompt = lambda i, j: " *** Digitar repeticao " + str(i).rjust(3) + " do tratamento " + str(j).rjust(2)
    first = gold.index(prompt(1, 1))
    want = []
    for i in (1, 2):
        for j in (1, 2):
            want += [prompt(i, j), ""]
    assert gold[first:first + 8] == want          # the prompts as the golden has them
    body = []
    for i in range(1, len(rows) + 1):
        for j in (1, 2):
            body += [prompt(i, j), ""]
    rest = gold[first + 8:]
    out = gold[:first] + body
    for t in rest:
        if t.startswith(" *" + " " * 22 + "F ="):
            assert len(t) == len(recs["F"]); t = recs["F"]
        elif "GLCOL" in t:
            assert len(t) == len(recs["GL"]); t = recs["GL"]
        elif "Desvio Padrao Residual" in t:
            assert len(t) == len(recs["DP"]); t = recs["DP"]
        elif "Mediacol (" in t:
            j = int(t.split("(")[1].split(")")[0])
            assert len(t) == len(means[j - 1]); t = means[j - 1]
        out.append(t)
    (ROOT / "extended_anova_one_way.out").write_bytes("\r\n".join(out).encode("cp850"))
    lines = ["4", "1", "2", str(len(rows))] + [dec(x) for row in rows for x in row] + ["0"]
    (ROOT / "extended_anova_one_way.in").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
