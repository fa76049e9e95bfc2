#!/usr/bin/env python3
"""Derives the golden session parametric/extended_anova_replicated from exact arithmetic.

A 3 x 2 table with 3 repetitions (found by tools/precision/anova_replicated_search.cpp,
seed 1): column 1 near +900000, column 2 near -900000, so the grand total
(-1024) is small beside the column totals. In
    sqdcol = somacol2/(rnl*rnr) - fc
the quotient by 9 is rounded before fc is subtracted. Here the quotient
rounded to 53 bits lies above a halfway point between two singles by exactly
fc, so double evaluation lands on the halfway point and the tie goes to the
even single, while extended evaluation keeps the quotient's lower bits and
rounds to the other side: sqdcol is one unit (2^20) apart. That unit passes
into the interaction sum of squares
    sqdlxc = ((somalxc2/rnr - fc) - sqdcol) - sqdlin,
which is small beside the columns (about 1.1e7 against 1.5e13), and
F(lin x col) prints 1.77 in extended against 1.61 in double. The residual
sum of squares takes the unit from sqdcol and gives it back from sqdlxc, so
it does not move.

Every statement is modelled with fractions.Fraction, each operation rounded
to a 64-bit significand (53 with --bits 53), each stored value to a single,
in the order the application evaluates it. The dialogue is that of the
hand-derived golden session anova_replicated_example (same screens); the data
prompts are rebuilt for 3 rows, 2 columns and 3 repetitions and checked
against the golden's for its 2 x 2 x 2 table; the result and mean records are
rebuilt from the model, keeping the golden's text around each field.

    tools/precision/extended_anova_replicated.py [--bits 53]   prints the numbers only
    tools/precision/extended_anova_replicated.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

# DATA[i][j] = the repetitions of the cell in row i, column j, as typed.
DATA = [[[902156, 900861, 902928], [-897284, -901916, -897972]],
        [[896725, 893615, 895663], [-902141, -902018, -902568]],
        [[902305, 901212, 902795], [-896061, -901743, -897581]]]


def model(data, bits=64):
    X = lambda v: rnd(v, bits)      # one extended (or double) operation
    S = lambda v: rnd(v, 24)        # assignment to a single
    inl, inc, inr = len(data), len(data[0]), len(data[0][0])
    rnl, rnc, rnr = S(F(inl)), S(F(inc)), S(F(inr))
    x = [[[S(F(v)) for v in cell] for cell in row] for row in data]
    somax = somax2 = F(0)
    for row in x:
        for cell in row:
            for v in cell:
                somax = S(X(somax + v))
                somax2 = S(X(somax2 + X(v * v)))
    fc = S(X(X(somax * somax) / X(X(rnc * rnl) * rnr)))
    sqdtot = S(X(somax2 - fc))
    somacel = [[F(0)] * inc for _ in range(inl)]
    for i in range(inl):
        for j in range(inc):
            for v in x[i][j]:
                somacel[i][j] = S(X(somacel[i][j] + v))
    somac = [F(0)] * inc
    for j in range(inc):
        for i in range(inl):
            for v in x[i][j]:
                somac[j] = S(X(somac[j] + v))
    mediacol = [S(X(s / X(rnl * rnr))) for s in somac]
    somal = [F(0)] * inl
    for i in range(inl):
        for j in range(inc):
            for v in x[i][j]:
                somal[i] = S(X(somal[i] + v))
    medialin = [S(X(s / X(rnc * rnr))) for s in somal]
    somacol2 = somalin2 = somalxc2 = F(0)
    for s in somac:
        somacol2 = S(X(somacol2 + X(s * s)))
    for s in somal:
        somalin2 = S(X(somalin2 + X(s * s)))
    for i in range(inl):
        for j in range(inc):
            somalxc2 = S(X(somalxc2 + X(somacel[i][j] * somacel[i][j])))
    sqdcol = S(X(X(somacol2 / X(rnl * rnr)) - fc))
    sqdlin = S(X(X(somalin2 / X(rnc * rnr)) - fc))
    sqdlxc = S(X(X(X(X(somalxc2 / rnr) - fc) - sqdcol) - sqdlin))
    sqdres = S(X(X(X(sqdtot - sqdcol) - sqdlin) - sqdlxc))
    gltot = inr * (inl * inc) - 1
    glcol, gllin = inc - 1, inl - 1
    gllxc = gllin * glcol
    glres = ((gltot - glcol) - gllin) - gllxc
    varcol = S(X(sqdcol / glcol))
    varlin = S(X(sqdlin / gllin))
    varlxc = S(X(sqdlxc / gllxc))
    varres = S(X(sqdres / glres))
    dpres = S(sqrt_rounded(varres, bits))
    fcol = S(X(varcol / varres))
    flin = S(X(varlin / varres))
    fint = S(X(varlxc / varres))
    return dict(somax=somax, fc=fc, somacol2=somacol2, sqdtot=sqdtot, sqdcol=sqdcol, sqdlin=sqdlin,
                sqdlxc=sqdlxc, sqdres=sqdres, fcol=fcol, flin=flin, fint=fint, dpres=dpres,
                glcol=glcol, gllin=gllin, gllxc=gllxc, glres=glres, mediacol=mediacol, medialin=medialin)


def prompts(inl, inc, inr):
    """The data prompts of the dialogue, with the row ends."""
    out = []
    for i in range(1, inl + 1):
        for j in range(1, inc + 1):
            for k in range(1, inr + 1):
                out += ["", " Linha =%2d   Coluna =%2d   Repeticao =%2d" % (i, j, k)]
        out += ["", " *** Final da linha %2d ***" % i]
    return out


def results(m):
    i3 = lambda n: str(n).rjust(3)  # noqa: E731
    recs = [" F(colunas)   = " + fw(m["fcol"], 6, 2) + "     GL(colunas)  = " + i3(m["glcol"]),
            " F(linhas)    = " + fw(m["flin"], 6, 2) + "     GL(linhas)   = " + i3(m["gllin"]),
            " F(lin x col) = " + fw(m["fint"], 6, 2) + "     GL(lin x col)= " + i3(m["gllxc"]),
            " DPadrao Res. = " + fw(m["dpres"], 6, 2) + "     GL(residuo)  = " + i3(m["glres"])]
    # The final 10x writes nothing: a record never ends in pending blanks.
    cols = [" " * 16 + "Mediacol (%2d) = " % (j + 1) + fw(v, 6, 2) for j, v in enumerate(m["mediacol"])]
    rows = [" " * 16 + "Medialin (%2d) = " % (i + 1) + fw(v, 6, 2) for i, v in enumerate(m["medialin"])]
    return recs, cols, rows


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(DATA, bits)
    # The construction: somacol2/9 rounded to 53 bits, less fc, is exactly the
    # halfway point between the singles 13900355 * 2^20 and 13900356 * 2^20.
    halfway = rnd(m["somacol2"] / 9, 53) - m["fc"]
    assert halfway == F(27800711, 2) * 2 ** 20 and rnd(m["somacol2"] / 9, 64) < rnd(m["somacol2"] / 9, 53)
    for k, v in m.items():
        print(f"{k:9} {v!r}" if isinstance(v, (int, list)) else f"{k:9} {float(v)!r:>24}  {v}")
    recs, cols, rows = results(m)
    for r in recs + cols + rows:
        print(repr(r))
    if "--write" not in sys.argv:
        return
    here = Path(__file__).resolve().parents[2] / "tests/transcripts/parametric"
    gold = (here / "anova_replicated_example.out").read_bytes().decode("cp850").split("\r\n")
    gold_in = (here / "anova_replicated_example.in").read_text().split()
    # The golden table: 2 rows, 2 columns, 2 repetitions.
    assert gold_in[2:5] == ["2", "2", "2"]
    start = gold.index(" *         DIGITAR OS VALORES A SEREM ANALISADOS       *") + 2
    old = prompts(2, 2, 2)
    assert gold[start:start + len(old)] == old
    end = start + len(old)
    # An empty record after the last row, another before the results box.
    assert gold[end:end + 3] == ["", "", " " + "*" * 55]
    gold_recs, gold_cols, gold_rows = results(model([[[1, 3], [5, 7]], [[2, 4], [9, 13]]]))
    at = gold.index(gold_recs[0])
    assert gold[at:at + 4] == gold_recs and gold[at + 6:at + 8] == gold_cols and gold[at + 9:at + 11] == gold_rows
    assert gold[at + 8] == " " + "*" * 54 and gold[at + 11] == " " + "*" * 55
    inl, inc, inr = len(DATA), len(DATA[0]), len(DATA[0][0])
    out = (gold[:start] + prompts(inl, inc, inr) + gold[end:at] + recs + gold[at + 4:at + 6] + cols
           + [gold[at + 8]] + rows + gold[at + 11:])
    (here / "extended_anova_replicated.out").write_bytes("\r\n".join(out).encode("cp850"))
    typed = [str(v) for row in DATA for cell in row for v in cell]
    (here / "extended_anova_replicated.in").write_text("6\n1\n%d\n%d\n%d\n" % (inl, inc, inr) + "\n".join(typed) + "\n0\n")


if __name__ == "__main__":
    main()
