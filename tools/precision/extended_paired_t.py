#!/usr/bin/env python3
"""Derives the golden session parametric/extended_paired_t from exact arithmetic.

Seven pairs whose differences are 3.141016, 2.4178023, ..., -1.198266 (each
typed with Xd = 0), found by tools/precision/paired_construct.py: the stored mean m and
standard deviation s are singles with m*sqrt(7)/s within 4.3e-17 (relative)
above the halfway point h = 27598521 * 2^-24 between the singles
1.64499998 (13799260 * 2^-23, even) and 1.64500010. In
    t = mediadif / (desvdif / sqrt(rnc))
extended precision keeps t above h and stores 1.64500010, printed 1.65;
double rounds onto h and the tie goes to the even single 1.64499998,
printed 1.64.

Every statement is modelled with fractions.Fraction, each operation rounded
to a 64-bit significand (53 with --bits 53), each stored value to a single,
square roots correctly rounded, in the order the application evaluates it.
The dialogue comes from the hand-derived golden session
paired_t_worked_example (same screens; there a count of 201 was refused
first, here the count is accepted at once, so those four records are left
out); the pair prompts are rebuilt for seven pairs and checked against the
golden's four; the result record is rebuilt from the model and checked for
its columns.

    tools/precision/extended_paired_t.py [--bits 53]   prints the numbers only
    tools/precision/extended_paired_t.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

DIFFERENCES = ["3.141016", "2.4178023", "1.6945887", "0.971375", "0.24816132", "-0.47505236", "-1.198266"]


def model(pairs, bits=64):
    X = lambda v: rnd(v, bits)      # one extended (or double) operation
    S = lambda v: rnd(v, 24)        # assignment to a single
    somadif = soma2dif = F(0)
    nc = 0
    for xa, xd in pairs:
        dif = S(X(S(F(xa)) - S(F(xd))))
        nc += 1
        somadif = S(X(somadif + dif))
        soma2dif = S(X(soma2dif + X(dif * dif)))
    rnc = S(F(nc))
    mediadif = S(X(somadif / rnc))
    vardif = S(X(X(soma2dif - X(X(somadif * somadif) / rnc)) / X(rnc - 1)))
    desvdif = S(sqrt_rounded(vardif, bits))
    # The inner quotient stays unrounded (to a single).
    t = S(X(mediadif / X(desvdif / sqrt_rounded(rnc, bits))))
    return dict(mediadif=mediadif, vardif=vardif, desvdif=desvdif, t=t, gl=nc - 1)


def record(m):
    return " " + "*" * 11 + " 't' = " + fw(m["t"], 6, 2) + " /// Graus de liberdade = " + str(m["gl"]).rjust(3) + " " + "*" * 10


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    pairs = [(d, "0") for d in DIFFERENCES]
    m = model(pairs, bits)
    for k, v in m.items():
        print(f"{k:9} {float(v)!r:>24}  {v}")
    # The construction: the exact t from the stored mean and deviation lies
    # just above the halfway point between two singles that straddle 1.645.
    h = F(27598521, 2 ** 24)
    assert h - F(1, 2 ** 24) == F(13799260, 2 ** 23) < F(1645, 1000) < h + F(1, 2 ** 24)
    assert 0 < m["mediadif"] ** 2 * 7 - (h * m["desvdif"]) ** 2 < F(1, 2 ** 53) * (h * m["desvdif"]) ** 2
    print(repr(record(m)))
    if "--write" not in sys.argv:
        return
    here = Path(__file__).resolve().parents[2] / "tests/transcripts/parametric"
    gold = (here / "paired_t_worked_example.out").read_bytes().split(b"\r\n")
    gold_in = (here / "paired_t_worked_example.in").read_text().split("\n")
    assert gold_in[2:4] == ["201", "4"]
    ask = b" ***** Quandos pares ser\xc6o digitados?  *****"
    first = gold.index(ask)
    refusal = [b"", b" OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =         200", b"", ask]
    assert gold[first + 1:first + 5] == refusal
    out = gold[:first + 1] + gold[first + 5:]
    prompt = lambda j: (" Digitar o par (Xa e Xd) numero " + str(j).rjust(3)).encode("cp850")  # noqa: E731
    at = out.index(prompt(1))
    assert out[at:at + 4] == [prompt(j) for j in range(1, 5)]
    out = out[:at] + [prompt(j) for j in range(1, len(pairs) + 1)] + out[at + 4:]
    r = [i for i, line in enumerate(out) if line.startswith(b" *********** 't' =")]
    gold_record = record(model([("10", "8"), ("12", "9"), ("9", "8"), ("11", "7")]))
    assert len(r) == 1 and out[r[0]] == gold_record.encode("cp850") and len(record(m)) == len(gold_record)
    out[r[0]] = record(m).encode("cp850")
    (here / "extended_paired_t.out").write_bytes(b"\r\n".join(out))
    (here / "extended_paired_t.in").write_text("3\n1\n%d\n" % len(pairs) + "".join(f"{a} {b}\n" for a, b in pairs) + "0\n")


if __name__ == "__main__":
    main()
