#!/usr/bin/env python3
"""Constructs and derives the golden session taxonomy/extended_measured_characters
(menu code 17, measured characters: one-way analysis of variance of the
species and Tukey's comparison of their means).

Where double and extended evaluation can part. Every statement of the
measured branch stores a correctly rounded single in both evaluations except
two accumulations, whose exact value carries bits far below the running sum:
    soma2t = soma2t + x*x
    soma2c = (somac(j)*somac(j))/rnex + soma2c
(a sum or quotient of two singles, a square root, or a quotient with an
integer divisor below 2^23 lies at least ~2^-48 relative from a single's
halfway point unless exactly on it, so it rounds alike through 53 or 64
bits; see the note on the other statements at the end). For the two sums to
differ, the exact value v must lie within half a 53-bit unit of a halfway
point h of singles (double rounds onto h, then the tie goes to the even
single) but more than half a 64-bit unit from it (extended keeps v on its
side): with ulp24(v) = 2^m, 2^(m-41) < |v - h| < 2^(m-30).
When the running sum is the larger term, tools/precision/square_tie_search.cpp lists
every odd 24-bit significand o whose square, divided by an odd count
n <= 99, can put the sum there; n = 1 (the sum of squares, and soma2c with
two or four specimens) has no solution in that case (a small running sum
with a fine fraction before a large square can, see that tool), n = 3 has
one: o = 13033593, m = 40,
    o^2 = 3 * (2^39 * 103 - 581)
so o^2/3 = 2^39*odd - 581: added to a single S that is a multiple of 2^40
in [2^63, 2^64) (units of o's last bit squared) it lies 581 below a halfway
point, 581 < 2^10 = half a 53-bit unit and > half a 64-bit unit.

The session: three species, three specimens each. Species 3 totals
o/128 = 101824.9453125 (33941, 33942, 33941.9453125; all sums exact); species 1
and 2 measure about 12.94 million, so soma2c after them is such an S, and
their means differ by 10000. soma2c then differs by one unit (2^26) between
the evaluations and the residual sum of squares after it (a small difference
of large sums: all its value is rounding) is 2 units in extended and 1 in
double. With q = 4.34 (3 treatments, 6 residual degrees of freedom) Tukey's
minimum significant difference is 11851.09 in extended and 8379.99 in
double: in extended the pair (1,2) does not differ (10000 <= dms), D = 3.3333
"Caracter discriminativo"; in double every pair differs, D = 5.0000
"Caracter muito discriminativo". The big values are the 15th set that
--draw 2 prints (values near round numbers whose verdict flips with both
residuals positive), chosen because its means differ by exactly 10000.
The data's own residual sum of squares is about 1334 (species 1 and 2 vary
by tens); the computed residual, 2^27 or 2^26, is all rounding: this is the
single-precision cancellation the application has in both evaluations.

Every statement is modelled with fractions.Fraction in the order the
application evaluates it, each operation rounded to a 64-bit significand
(53 with --bits 53), each stored value to a single. The dialogue is that of
the hand-derived golden session measured_tukey_q (the same three
species and character name): its first character is kept with the data
prompts rebuilt for three specimens (checked against the golden's two), the
residual degrees of freedom, D and the verdict replaced in place (columns
asserted), and its closing taken from the end of the same session.

    tools/precision/extended_measured_characters.py [--bits 53]   prints the numbers only
    tools/precision/extended_measured_characters.py --write       writes the .in and .out
    tools/precision/extended_measured_characters.py --draw SEED   the random draw

The other statements: the sums somat and somac(j) add two singles; x*x and
somac(j)*somac(j) are exact in both; fc = somat^2/(N*n), the means, varres,
dms = (q*dpres)/s and num/den are each one quotient rounded to a single;
the square roots are of singles. The same argument covers the coded
branch: g*(-2) + N and its product by 5 are exact in 53 bits for N <= 100,
the quotient by N - 2 is one rounding, and the power is the program's own
double routine.
"""
import random
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

ROOT = Path(__file__).resolve().parents[2] / "tests/transcripts/taxonomy"

NAMES = ["Rattus", "Mus", "Akodon"]
CHAR = "cauda"
Q = "4.34"
DATA = [["12941030", "12941010", "12941010"],
        ["12951030", "12951030", "12950990"],
        ["33941", "33942", "33941.9453125"]]
GRAUD = ["Caracter muito agregativo", "Caracter agregativo", "Caracter intermediário",
         "Caracter discriminativo", "Caracter muito discriminativo"]


def model(species, q, bits=64):
    """The measured branch for one character; None stands for not-a-number."""
    X = lambda v: rnd(v, bits)      # one extended (or double) operation
    S = lambda v: rnd(v, 24)        # assignment to a single
    nuto, nex = len(species), len(species[0])
    rnex, rnuto = S(F(nex)), S(F(nuto))
    gltot = int(X(rnuto * rnex - 1))
    glcol = int(X(rnuto - 1))
    glres = gltot - glcol
    qtukey = S(q)
    somat = soma2t = F(0)
    somac = [F(0)] * nuto
    for j, sp in enumerate(species):
        for x in sp:
            x = S(x)
            somat = S(X(somat + x))
            soma2t = S(X(soma2t + X(x * x)))
            somac[j] = S(X(somac[j] + x))
    mediacol = [S(X(s / rnex)) for s in somac]
    fc = S(X(X(somat * somat) / (nuto * nex)))
    sqdtot = S(X(soma2t - fc))
    soma2c = F(0)
    for s in somac:
        soma2c = S(X(X(X(s * s) / rnex) + soma2c))
    sqdcol = S(X(soma2c - fc))
    sqdres = S(X(sqdtot - sqdcol))
    varres = S(X(sqdres / glres))
    dpres = S(sqrt_rounded(varres, bits)) if varres >= 0 else None
    s = S(sqrt_rounded(rnex, bits))
    dms = S(X(X(qtukey * dpres) / s)) if dpres is not None else None
    difmed = [S(abs(X(mediacol[j] - mediacol[k]))) for j in range(nuto - 1) for k in range(j + 1, nuto)]
    zsoma = F(0)
    for v in difmed:
        if dms is not None and v <= dms:    # a difference equal to dms does not count
            zsoma = S(X(zsoma + 1))
    num = S(X(zsoma + zsoma))
    den = S(X(X(rnuto - 1) * rnuto))
    d = S(X(X(1 - X(num / den)) * 5))
    verdict = None
    for k, (lo, hi) in enumerate([(0, 1), (1, 2), (2, 3), (3, 4), (4, 5)]):
        if (lo <= d if k == 0 else lo < d) and d <= hi:
            verdict = GRAUD[k]
    return dict(glres=glres, soma2t=soma2t, fc=fc, soma2c=soma2c, sqdtot=sqdtot, sqdcol=sqdcol,
                sqdres=sqdres, varres=varres, dpres=dpres, dms=dms, mediacol=mediacol,
                difmed=difmed, zsoma=zsoma, d=d, verdict=verdict)


def draw(seed, tries):
    """Species 1 and 2 near round values, species 3 as in DATA: the sets whose
    zsoma differs between the evaluations with both residuals positive."""
    rng = random.Random(seed)
    sp3 = [F(v) for v in DATA[2]]
    for _ in range(tries):
        m = 1000 * rng.randint(9_700, 13_700)
        gap = 1000 * rng.randint(8, 12)
        sp1 = [F(m + 10 * rng.randint(-3, 3)) for _ in range(3)]
        sp2 = [F(m + gap + 10 * rng.randint(-3, 3)) for _ in range(3)]
        a, b = model([sp1, sp2, sp3], F(Q), 64), model([sp1, sp2, sp3], F(Q), 53)
        if a["zsoma"] != b["zsoma"] and a["sqdres"] > 0 and b["sqdres"] > 0:
            print([int(v) for v in sp1], [int(v) for v in sp2], float(a["dms"]), float(b["dms"]),
                  float(a["difmed"][0]))


def main():
    if "--draw" in sys.argv:
        draw(int(sys.argv[sys.argv.index("--draw") + 1]), 2000)
        return
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    species = [[F(v) for v in sp] for sp in DATA]
    # The construction: species 3's total is o/128 and soma2c meets it 581
    # (units 2^-14) below a halfway point, with ulp24 = 2^26.
    o = 13033593
    assert sum(species[2]) == F(o, 128) and o * o == 3 * (2 ** 39 * 103 - 581)
    m = model(species, F(Q), bits)
    for k, v in m.items():
        print(f"{k:9} {v if isinstance(v, (int, list, str)) or v is None else float(v)!r}")
    gl = " * Tratamentos =" + str(3).rjust(3) + " " * 7 + "-" + " " * 8 + "G.L.residual =" + str(m["glres"]).rjust(4) + " *"
    drec = " " + "*" * 20 + "  D = " + fw(m["d"], 6, 4) + "  " + "*" * 20
    vrec = " *" + " " * 11 + m["verdict"].ljust(30) + " " * 11 + "*"
    for r in (gl, drec, vrec):
        print(repr(r))
    if "--write" not in sys.argv:
        return
    gold = [t.decode("cp850") for t in (ROOT / "measured_tukey_q.out").read_bytes().split(b"\r\n")]
    border = " " + "*" * 54
    ask = gold.index(" *  Voce quer analisar outro caracter? 0=Nao - 1=Sim  *")
    last = len(gold) - 1 - gold[::-1].index(" *  Voce quer analisar outro caracter? 0=Nao - 1=Sim  *")
    head, tail = gold[:ask + 2], gold[last + 2:]
    assert tail[1:4] == [border, " *       Digitar ZER0 para concluir o aplicativo      *", border]
    prompt = lambda i, name: [border, " *Digitar exemplar " + str(i).rjust(2) + " da especie " + name.ljust(20) + " *", border, ""]
    first = head.index(prompt(1, NAMES[0])[1]) - 1
    want = [t for name in NAMES for i in (1, 2) for t in prompt(i, name)]
    assert head[first:first + len(want)] == want     # the golden's prompts for two specimens
    body = [t for name in NAMES for i in (1, 2, 3) for t in prompt(i, name)]
    head = head[:first] + body + head[first + len(want):]
    out = []
    for t in head:
        if "G.L.residual =" in t:
            assert len(t) == len(gl) and t.index("G.L.") == gl.index("G.L."); t = gl
        elif "  D = " in t:
            assert len(t) == len(drec) and t.index("D =") == drec.index("D ="); t = drec
        elif t.startswith(" *" + " " * 11 + "Caracter "):
            assert len(t) == len(vrec); t = vrec
        out.append(t)
    out += tail
    (ROOT / "extended_measured_characters.out").write_bytes("\r\n".join(out).encode("cp850"))
    lines = ["17", "1", "2", "3"] + NAMES + [CHAR, "3", Q] + [v for sp in DATA for v in sp] + ["0", "0"]
    (ROOT / "extended_measured_characters.in").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
