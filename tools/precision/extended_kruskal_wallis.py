#!/usr/bin/env python3
"""Derives the golden session nonparametric/extended_kruskal_wallis.

Why this session. H is formed as (12 / ((n + 1) n)) * soma + (n + 1) * (-3):
the quotient 12 / (n(n + 1)) is rounded first, then its product with soma,
and the two terms cancel. When every treatment has the same rank sum, soma
is exactly n(n + 1)^2 / 4 and the exact H is 0, but what is left after the
cancellation is the rounding error of the quotient and of the product,
which is not 0 and whose sign depends on the precision. The printed field
F7.2 shows the sign of a value that rounds to zero ("-0.00"). The exhaustive
check tools/precision/kruskal_precision_check.cpp finds exactly such cases and no
other kind: for ten sizes n (13, 66, 70, 110, 141, 142, 145, 152, 153, 168)
the record prints "-0.00" in one evaluation and "0.00" in the other.

The shortest is n = 13: thirteen treatments with one repetition each, all
with the same value, so all thirteen share the average rank 7, every rank
sum is 7 and soma = 13 * 49 = 637. In extended precision 12/182 rounds
down by a little, 637 times it rounds to 42 - 2^-58, and H = -2^-58: the
record shows "-0.00". In double the product rounds to 42 exactly and H = 0
shows "0.00".

Every statement is modelled with fractions.Fraction, each operation rounded
to a 64-bit significand (nearest, ties to even; 53 with --bits 53), each
stored value to a single, in the order the application evaluates it. The
dialogue is that of the hand-derived golden session kruskal_example (same
screens; the data prompts are rebuilt for 13 treatments and checked against
the golden's for its 3 x 2 table, and the result record against its columns).

    tools/precision/extended_kruskal_wallis.py [--bits 53]   prints the numbers only
    tools/precision/extended_kruskal_wallis.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd

ROOT = Path(__file__).resolve().parents[2] / "tests/transcripts/nonparametric"

NC, NL = 13, 1
DATA = [[F(4)] * NC]          # rows (repetitions) of NC treatments


def model(table, bits=64):
    X = lambda v: rnd(v, bits)  # noqa: E731
    S = lambda v: rnd(v, 24)    # noqa: E731
    nl, nc = len(table), len(table[0])
    n = nc * nl
    dados = [[S(x) for x in row] for row in table]
    # Pooled treatment by treatment, then the ascending exchange sort.
    dadoxe = [dados[i][j] for j in range(nc) for i in range(nl)]
    for _ in range(n - 1):
        for i in range(n - 1):
            if dadoxe[i] > dadoxe[i + 1]:
                dadoxe[i], dadoxe[i + 1] = dadoxe[i + 1], dadoxe[i]
    pstt = [F(j + 1) for j in range(n)]
    # Ties: for each position the run of equal values after it shares
    # (pstt(j) + sum of the others) / run length.
    for j in range(n):
        t = 1
        while j + t < n and dadoxe[j + t] == dadoxe[j]:
            t += 1
        if t >= 2:
            soma = F(0)
            for m in range(j + 1, j + t):
                soma = S(X(soma + pstt[m]))
            rk = S(F(t))
            psto = S(X(X(pstt[j] + soma) / rk))
            for m in range(j, j + t):
                pstt[m] = psto
    postoxe = [[next(pstt[m] for m in range(n) if dadoxe[m] == dados[i][j]) for j in range(nc)] for i in range(nl)]
    rr = []
    for j in range(nc):
        r = F(0)
        for i in range(nl):
            r = S(X(r + postoxe[i][j]))
        rr.append(r)
    soma = F(0)
    rnl, rn = S(F(nl)), S(F(n))
    for r in rr:
        soma = S(X(soma + X(X(r * r) / rnl)))
    quot = X(F(12) / X(X(rn + 1) * rn))
    h = S(X(X(quot * soma) + X(X(rn + 1) * -3)))
    return dict(pstt=pstt, rr=rr, soma=soma, quot=quot, h=h, gl=nc - 1)


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(DATA, bits)
    assert all(p == 7 for p in m["pstt"]) and all(r == 7 for r in m["rr"]) and m["soma"] == 637
    print(f"bits {bits}: 12/182 rounded = 6/91 {'+' if m['quot'] > F(6, 91) else '-'} "
          f"{float(abs(m['quot'] - F(6, 91)))!r}; h = {m['h']} = {float(m['h'])!r}")
    record = " *** " + " H = " + fw(m["h"], 7, 2) + " ***" + "  Graus de liberdade = " + str(m["gl"]).rjust(2) + " " * 4 + "***"
    print(repr(record))
    if "--write" not in sys.argv:
        return
    gold = [r.decode("cp850") for r in (ROOT / "kruskal_example.out").read_bytes().split(b"\r\n")]
    prompt = lambda i, j: " Digitar dado da linha " + str(i).rjust(3) + " coluna " + str(j).rjust(2)  # noqa: E731
    first = gold.index(prompt(1, 1))
    assert gold[first:first + 6] == [prompt(i, j) for i in (1, 2) for j in (1, 2, 3)]
    result = gold.index(" " + "*" * 52, first) + 1
    old = gold[result]
    assert old == " ***  H =    4.57 ***  Graus de liberdade =  2    ***"
    assert len(record) == len(old) and record.index("***  Graus") == old.index("***  Graus")
    body = [prompt(i, j) for i in range(1, NL + 1) for j in range(1, NC + 1)]
    out = gold[:first] + body + gold[first + 6:result] + [record] + gold[result + 1:]
    (ROOT / "extended_kruskal_wallis.out").write_bytes("\r\n".join(out).encode("cp850"))
    lines = ["15", "1", str(NC), str(NL)] + [str(int(x)) for row in DATA for x in row] + ["0"]
    (ROOT / "extended_kruskal_wallis.in").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
