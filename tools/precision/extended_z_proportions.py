#!/usr/bin/env python3
"""Derives the golden session parametric/extended_z_proportions from exact arithmetic.

One-sample Z test with P = 0.5, p = 0.43466666 and a sample of 225 (found by
tools/precision/z_proportions_search.cpp). p is the single 14584993 * 2^-25, so
p - P = -2192223 * 2^-25 and, as sqrt(225 / 0.25) = 30, the exact Z is
30 * 2192223 * 2^-25 = 32883345 * 2^-24: exactly the halfway point between the
single 1.96 (16441672 * 2^-23, even significand) and the single above it.
The program does not get there exactly: it rounds 0.25/225, its square root
and the last quotient. In extended precision those roundings leave Z one unit
of the 64th bit above the halfway point, so the stored Z is the single above
1.96 and |Z| <= 1.96 is false: "Rejeitamos_Ho". In double they round onto the
halfway point, the tie goes to the even single 1.96 and the hypothesis is
accepted. Both print Z = 1.96: only the verdict tells them apart.

Every expression is modelled with fractions.Fraction, rounded to a 64-bit
significand (53 with --bits 53) after each operation and to a single on
assignment, in the order of the application's statements. The dialogue comes
from the hand-derived golden session z_prop_one_sample (same screens; there
the choice of test was answered 3 and 0 before 1, here 1 at once, so two
repetitions of the choice box are left out); asserts check the records taken
and the column layout of the result record.

    tools/precision/extended_z_proportions.py [--bits 53]   prints the numbers only
    tools/precision/extended_z_proportions.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

PP, P, N = "0.5", "0.43466666", "225"
RESHO, RESH1 = "Aceitamos_Ho  ", "Rejeitamos_Ho "  # the 14-character verdict texts


def model(bits=64):
    X = lambda v: rnd(v, bits)      # one extended (or double) operation
    S = lambda v: rnd(v, 24)        # assignment to a single
    pp = S(F(PP))
    p = S(F(P))
    rn1 = S(F(N))
    q = S(X(1 - p))
    sufficient = S(F(5))
    # Here a product of exactly 5 is enough (unrounded products compared).
    assert not (X(p * rn1) < sufficient or X(rn1 * q) < sufficient)
    z = S(X(X(p - pp) / sqrt_rounded(X(X(X(1 - pp) * pp) / rn1), bits)))
    z = abs(z)
    res = RESHO if z <= S(F("1.96")) else RESH1
    return dict(pp=pp, p=p, rn1=rn1, z=z, res=res)


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(bits)
    h = F(32883345, 2 ** 24)
    # The exact Z (before any rounding) is the halfway point: Z^2 = (p-P)^2 * n / (P(1-P)).
    assert (m["p"] - m["pp"]) ** 2 * m["rn1"] / ((1 - m["pp"]) * m["pp"]) == h * h
    for k in ("pp", "p", "rn1", "z"):
        print(f"{k:4} {float(m[k])!r:>24}  {m[k]}")
    print("res ", repr(m["res"]))
    record = " **" + " " * 13 + "Z = " + fw(m["z"], 5, 2) + " /// " + m["res"] + " " * 7 + "**"
    print(repr(record))
    if "--write" not in sys.argv:
        return
    here = Path(__file__).resolve().parents[2] / "tests/transcripts/parametric"
    gold = (here / "z_prop_one_sample.out").read_bytes().split(b"\r\n")
    box = [b" **************** Tipo de Teste *********************",
           b" * 'p'da amostra VERSUS 'P'populacional - Digitar 1 *",
           b" * 'p1' amostra 1 VERSUS 'p2' amostra 2 - Digitar 2 *",
           b" " + b"*" * 52, b""]
    first = gold.index(box[0])
    # The golden session shows the choice box three times (answers 3, 0, 1).
    assert gold[first:first + 15] == box * 3
    out = gold[:first] + box + gold[first + 15:]
    z_at = [i for i, line in enumerate(out) if line.startswith(b" **             Z =")]
    assert len(z_at) == 1 and len(out[z_at[0]]) == len(record), (out[z_at[0]], record)
    out[z_at[0]] = record.encode("cp850")
    (here / "extended_z_proportions.out").write_bytes(b"\r\n".join(out))
    (here / "extended_z_proportions.in").write_text("11\n1\n1\n%s\n%s\n%s\n" % (PP, P, N))


if __name__ == "__main__":
    main()
