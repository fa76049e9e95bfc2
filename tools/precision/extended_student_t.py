#!/usr/bin/env python3
"""Derives the golden session parametric/extended_student_t from exact arithmetic.

The data (found by tools/precision/variance_search.cpp) make sample A's variance
    varx = (soma2x - somax*somax/rnx) / (rnx - 1)
cancel: soma2x and somax*somax/rnx agree in their leading digits, so the
rounding of the quotient (2^-64 relative in extended, 2^-53 in double) moves
the stored single by one unit, and here that unit straddles a second decimal.

Every expression is modelled with fractions.Fraction, rounded to a 64-bit
significand (nearest, ties to even) after each operation and to a single on
assignment, in the order the Student t application evaluates it. The dialogue
is taken from the hand-derived golden session student_t_homogeneous (same
screens) and the numeric records are rebuilt from the model; asserts check
each record's column layout against the one it replaces.

    tools/precision/extended_student_t.py [--bits 53]   prints the numbers only
    tools/precision/extended_student_t.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F

from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

A = ["83229.75", "83231.00", "83230.50", "83229.25", "83230.25",
     "83229.25", "83230.00", "83231.00", "83231.50", "83231.00"]
B = ["1.0", "2.0", "3.0"]


def model(bits=64):
    X = lambda v: rnd(v, bits)      # one extended (or double) operation
    S = lambda v: rnd(v, 24)        # assignment to a single
    sqrt = lambda v: sqrt_rounded(v, bits)  # noqa: E731
    def stats(data):
        rn = S(F(len(data)))
        s = s2 = F(0)
        for t in data:
            x = S(F(t))
            s = S(X(s + x))
            s2 = S(X(s2 + X(x * x)))
        gl = S(X(rn - 1))
        med = S(X(s / rn))
        var = S(X(X(s2 - X(X(s * s) / rn)) / X(rn - 1)))
        return rn, gl, med, var

    rnx, glx, medx, varx = stats(A)
    rny, gly, medy, vary = stats(B)
    varco = S(X(X(X(varx * glx) + X(vary * gly)) / X(glx + gly)))
    if varx > vary:
        fc, glnum, glden = S(X(varx / vary)), glx, gly
    else:
        fc, glnum, glden = S(X(vary / varx)), gly, glx
    tc = S(X(X(medx - medy) / sqrt(X(X(X(rnx + rny) * varco) / X(rnx * rny)))))
    glf = S(X(glx + gly))
    return dict(medx=medx, varx=varx, medy=medy, vary=vary, fc=fc, glnum=glnum,
                glden=glden, tc=tc, glf=glf)


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(bits)
    for k, v in m.items():
        print(f"{k:6} {float(v)!r:>24}  {v}")
    rec = {
        "ab": " * MEDa=" + fw(m["medx"], 7, 2) + "  VARa=" + fw(m["varx"], 7, 2) + " /// MEDb="
              + fw(m["medy"], 7, 2) + " VARb=" + fw(m["vary"], 7, 2) + "     *",
        "fc": " *" + " " * 25 + "Fc = " + fw(m["fc"], 6, 2) + " " * 26 + "*",
        "num": " *" + " " * 9 + "Graus de liberdade do numerador   = " + fw(m["glnum"], 4, 0) + " " * 13 + "*",
        "den": " *" + " " * 9 + "Graus de liberdade do denominador = " + fw(m["glden"], 4, 0) + " " * 13 + "*",
        "t": " *    t calculado = " + fw(m["tc"], 6, 2) + "   ////  Graus de liberdade  " + fw(m["glf"], 4, 0) + " " * 5 + "*",
    }
    for r in rec.values():
        print(repr(r))
    if "--write" not in sys.argv:
        return
    here = Path(__file__).resolve().parents[2] / "tests/transcripts/parametric"
    gold = (here / "student_t_homogeneous.out").read_bytes().split(b"\r\n")
    out = []
    for line in gold:
        t = line.decode("cp850")
        if t == " *  Digitar o dado numero   3 da amostra A  *":
            out.append(line)
            for j in range(4, len(A) + 1):
                out.append((" *  Digitar o dado numero " + str(j).rjust(3) + " da amostra A  *").encode("cp850"))
            continue
        for key, prefix in (("ab", " * MEDa="), ("fc", " *                         Fc ="),
                            ("num", " *         Graus de liberdade do numerador"),
                            ("den", " *         Graus de liberdade do denominador"),
                            ("t", " *    t calculado =")):
            if t.startswith(prefix):
                assert len(rec[key]) == len(t), (key, rec[key], t)
                line = rec[key].encode("cp850")
        out.append(line)
    (here / "extended_student_t.out").write_bytes(b"\r\n".join(out))
    (here / "extended_student_t.in").write_text("2\n1\n%d\n%d\n" % (len(A), len(B)) + "".join(v + "\n" for v in A + B) + "0\n0\n")


if __name__ == "__main__":
    main()
