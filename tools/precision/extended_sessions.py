#!/usr/bin/env python3
"""Golden sessions whose printed bytes tell extended evaluation from double.

Sample size estimation, continuous variable with a typed variance v and an
error e in the unit of the mean, prints the sample size 4*v/e^2, rounded to a
single, with F6.0.  4*v and e*e are exact in both precisions, so the only
difference is the one rounding of the quotient before it is rounded to a
single.  This script searches (by modular arithmetic, not by chance) for v and
e, both singles with short exact decimals, whose quotient lies just below the
halfway point between two singles, so close that double precision rounds it
onto that point and the tie then goes to the single k + 0.5, which F6.0 prints
as k + 1, while extended precision keeps it below and the single is
k + 0.5 - 2^-7, printed as k.

It models the session independently of the program, with exact fractions, and
writes NAME.in and NAME.out; the .out text of the dialogue is spelled out
below from the dialogue's description, and the result line is formatted here.

    tools/precision/extended_sessions.py OUTDIR [SEED]
"""
import random
import sys
from fractions import Fraction

from extended_model import fw as f_field, rnd as round_bits



def sizes(v, e):
    q = 4 * v / (e * e)
    return round_bits(round_bits(q, 64), 24), round_bits(round_bits(q, 53), 24)


def search(rng, s=7, t=24):
    """v = m * 2^t, e = E / 2^s, quotient in [2^16, 2^17) just below a halfway point."""
    while True:
        E = rng.randrange(2 ** 23 + 1, 2 ** 24, 2)
        D = E * E
        inv = pow(2 ** 48, -1, D)
        for R in range(-((127 * D) % 256), -2 ** 18, -256):
            if R > -2 ** 7:
                continue
            m = (R * inv) % D
            if not (2 ** 23 <= m < 2 ** 24):
                continue
            v = Fraction(m * 2 ** t)
            e = Fraction(E, 2 ** s)
            ext, dbl = sizes(v, e)
            if f_field(ext, 6, 0) != f_field(dbl, 6, 0):
                return v, e


def decimal(x):
    """The exact decimal of a dyadic fraction."""
    n, d = x.numerator, x.denominator
    places = d.bit_length() - 1
    whole, frac = divmod(n * 5 ** places, 10 ** places)
    return str(whole) if places == 0 else f"{whole}.{str(frac).rjust(places, '0')}"


CR = "\r\n"
# The dialogue up to the sample size comes from the hand-derived session
# parametric/sample_size_continuous_relative (same screens, answered without
# re-prompts here); its records are taken by position and checked below.
BASE = "tests/transcripts/parametric/sample_size_continuous_relative.out"


def transcript(v, e):
    ext, _ = sizes(v, e)
    base = open(BASE, "rb").read().decode("latin-1").split(CR)
    assert "Voce escolheu Dimensionamento" in base[31] and "Estimativa" in base[42] and "Erro na unidade" in base[49]
    assert base[55] == " " + "*" * 64 + " " and base[57] == base[55] and base[64] == " Fim do Programa"
    records = base[0:43] + base[44:50] + ["", " **  Informe o erro m\xa0ximo aceitavel   **", base[55],
               " * Erro maximo aceitavel = " + f_field(e, 6, 2) + " // Tamanho da amostra = " + f_field(ext, 6, 0) + "*"]
    records += base[57:]
    return CR.join(records)


def main():
    outdir = sys.argv[1]
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 11)
    v, e = search(rng)
    ext, dbl = sizes(v, e)
    print(f"v = {decimal(v)}  e = {decimal(e)}  extended: {float(ext)!r} -> {f_field(ext, 6, 0)}"
          f"  double: {float(dbl)!r} -> {f_field(dbl, 6, 0)}")
    name = f"{outdir}/extended_sample_size"
    with open(name + ".in", "w", newline="") as f:
        f.write(f"1\n1\n2\n1\n{decimal(v)}\n1\n1\n{decimal(e)}\n0\n")
    with open(name + ".out", "wb") as f:
        f.write(transcript(v, e).encode("latin-1"))


if __name__ == "__main__":
    main()
