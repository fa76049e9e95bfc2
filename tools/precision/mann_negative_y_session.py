#!/usr/bin/env python3
"""Derives the golden session nonparametric/mann_negative_y_large from exact arithmetic.

Mann-Whitney with nx = 53 values in sample X and a size ny = -55300828 for
sample Y: nothing is read for Y, nx + ny is negative so nothing is ranked and
R1 = 0, and nx > 20 takes the large-sample branch.  This is one of the eight
inputs found by tools/precision/rank_tests_precision_check.cpp where the stored
denominator dent differs between extended (116219432) and double (116219424)
evaluation -- the product rnx*rny*(rnx+rny+1) needs 64 bits -- while the
printed |z| does not (12.61 both ways).  The session pins that printed value
and the large-sample branch with a negative Y size.

Every expression is modelled with fractions.Fraction, each operation rounded
to a 64-bit significand (53 with --bits 53), each assignment to a single, in
the order the application evaluates it.  The dialogue comes from the
hand-derived golden session mann_large_21 (same screens): its X prompts are
renumbered up to 53, its Y prompts dropped, and its result record rebuilt
from the model; asserts check the reused records and the result's columns.

    tools/precision/mann_negative_y_session.py [--bits 53]   prints the numbers only
    tools/precision/mann_negative_y_session.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

NX = 53
NY = -55300828
X_DATA = [str(j) for j in range(1, NX + 1)]


def model(bits=64):
    X = lambda v: rnd(v, bits)  # noqa: E731  one extended (or double) operation
    S = lambda v: rnd(v, 24)  # noqa: E731  assignment to a single
    rnx, rny = S(F(NX)), S(F(NY))
    n = NX + NY
    assert n <= 0  # nothing ranked: the rank sum of X stays 0
    r1 = F(0)
    p = X(rnx * rny)
    u1 = S(X(X(p + X(X(X(rnx + 1) * rnx) / 2)) - r1))
    u2 = S(X(p - u1))
    u = abs(u2) if abs(u1) > abs(u2) else abs(u1)
    numt = S(X(u + X(p / -2)))
    dent = S(sqrt_rounded(X(X(p * X(X(rnx + rny) + 1)) / 12), bits))
    z = S(X(numt / dent))
    return dict(rny=rny, u1=u1, u2=u2, u=u, numt=numt, dent=dent, z=z)


def result_record(z):
    # (1x,2("*"),2x,"Zc= ",F6.2,2x,3("*"),2x,A20, 11x, 2("*")) with |z| and
    # the first 20 characters of "Z tabelar = 1.96 **  ".
    return " **  Zc= " + fw(abs(z), 6, 2) + "  ***  " + "Z tabelar = 1.96 ** " + " " * 11 + "**"


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(bits)
    for k, v in m.items():
        print(f"{k:5} {float(v)!r:>24}  {v}")
    print(repr(result_record(m["z"])))
    if "--write" not in sys.argv:
        return
    here = Path(__file__).resolve().parents[2] / "tests/transcripts/nonparametric"
    base = (here / "mann_large_21.out").read_bytes().decode("cp850").split("\r\n")
    prompt_x = lambda j: " ** Para a amostra X  //// Digitar dado " + str(j).rjust(12) + "  *********"  # noqa: E731
    first_x = base.index(prompt_x(1))
    assert base[first_x - 2] == " ***         Tamanho da amostra X:      nx =  ?     ***"
    assert base[first_x + 20] == prompt_x(21)
    after_x = first_x + 21
    assert base[after_x] == " " + "*" * 54 and base[after_x + 1] == ""
    assert base[after_x + 2] == " ***         Tamanho da amostra Y:      ny =  ?     ***" and base[after_x + 3] == ""
    result = next(i for i, t in enumerate(base) if t.startswith(" **  Zc="))
    assert base[result] == result_record(F(555, 100))  # the layout of the record replaced
    assert base[result - 3].startswith(" ** Para a amostra Y  //// Digitar dado           21")
    assert base[result - 2] == "" and base[result - 1] == " " + "*" * 54
    out = base[:first_x] + [prompt_x(j) for j in range(1, NX + 1)] + base[after_x:after_x + 4]
    out += base[result - 2:result] + [result_record(m["z"])] + base[result + 1:]
    (here / "mann_negative_y_large.out").write_bytes("\r\n".join(out).encode("cp850"))
    (here / "mann_negative_y_large.in").write_text(
        "13\n1\n%d\n" % NX + "".join(v + "\n" for v in X_DATA) + "%d\n0\n" % NY)


if __name__ == "__main__":
    main()
