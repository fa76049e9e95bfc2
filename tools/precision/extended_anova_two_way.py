#!/usr/bin/env python3
"""Derives the golden session parametric/extended_anova_two_way exactly.

The same construction as tools/precision/extended_anova_one_way.py (read its header),
applied to the two-way ANOVA: 47 rows and 2 columns, column totals
162661168*2^a and (2^24-1)*2^a, so that in
    soma2col = soma2col + somacol(j)*somacol(j)/rnl
the second column's exact sum lies just above a halfway point between two
singles with an even lower neighbour: double evaluation rounds onto the
halfway point and the tie goes down, extended goes up. The residual sum of
squares, a difference of large sums, shows that unit: the residual standard
deviation prints 4.72 in extended and 5.28 in double. The data are the first
set drawn by extended_anova_one_way.draw(3, ...) (a = -9), typed row by row.

Every statement is modelled with fractions.Fraction, each operation
rounded to a 64-bit significand (nearest, ties to even), each stored value
to a single, in the order the application evaluates it. The dialogue is
that of the hand-derived golden session anova_two_way_example (same
screens; the data prompts are rebuilt for 47 rows of 2 and checked against
the golden's for 2 rows of 3); the result and mean records are rebuilt from
the model, keeping the golden's text around each field.

    tools/precision/extended_anova_two_way.py [--bits 53]   prints the numbers only
    tools/precision/extended_anova_two_way.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F

from extended_model import fw, sqrt_rounded


from extended_anova_one_way import ROOT, dec, draw, rnd


def draw_first():
    return draw(3, 0)


def model(rows, bits=64):
    X = lambda v: rnd(v, bits)
    S = lambda v: rnd(v, 24)
    sqrt = lambda v: sqrt_rounded(v, bits)  # noqa: E731

    inl, inc = len(rows), len(rows[0])
    rnl, rnc = F(inl), F(inc)
    d = [[S(x) for x in row] for row in rows]
    somalin = []
    for row in d:
        s = F(0)
        for x in row:
            s = S(X(s + x))
        somalin.append(s)
    medialin = [S(X(s / rnc)) for s in somalin]
    somacol = []
    for j in range(inc):
        s = F(0)
        for row in d:
            s = S(X(s + row[j]))
        somacol.append(s)
    mediacol = [S(X(s / rnl)) for s in somacol]
    somatot = soma2tot = F(0)
    for row in d:
        for x in row:
            somatot = S(X(somatot + x))
            soma2tot = S(X(soma2tot + X(x * x)))
    fc = S(X(X(somatot * somatot) / X(rnc * rnl)))
    sqdtot = S(X(soma2tot - fc))
    soma2col = F(0)
    for s in somacol:
        soma2col = S(X(soma2col + X(X(s * s) / rnl)))
    sqdcol = S(X(soma2col - fc))
    soma2lin = F(0)
    for s in somalin:
        soma2lin = S(X(soma2lin + X(X(s * s) / rnc)))
    sqdlin = S(X(soma2lin - fc))
    sqdres = S(X(X(sqdtot - sqdcol) - sqdlin))
    gltot = inl * inc - 1
    gllin, glcol = inl - 1, inc - 1
    glres = gltot - gllin - glcol
    varcol = S(X(sqdcol / glcol))
    varlin = S(X(sqdlin / gllin))
    varres = S(X(sqdres / glres))
    dpres = S(sqrt(varres))
    fcol = S(X(varcol / varres))
    flin = S(X(varlin / varres))
    return dict(soma2col=soma2col, sqdtot=sqdtot, sqdcol=sqdcol, sqdlin=sqdlin, sqdres=sqdres,
                fcol=fcol, flin=flin, dpres=dpres, glcol=glcol, gllin=gllin, glres=glres,
                mediacol=mediacol, medialin=medialin)


def put(line, anchor, value, start=0):
    """Replaces the field that follows `anchor` (from `start`) by `value`."""
    pos = line.index(anchor, start) + len(anchor)
    old = line[pos:pos + len(value)]
    assert old.strip().replace(".", "").isdigit() and len(old) == len(value), (line, old)
    return line[:pos] + value + line[pos + len(value):], pos + len(value)


def main():
    rows = draw_first()
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(rows, bits)
    for k, v in m.items():
        if not isinstance(v, list):
            print(f"{k:9} {v if isinstance(v, int) else float(v)!r}")
    results = {" F(colunas)": (m["fcol"], m["glcol"]), " F(linhas)": (m["flin"], m["gllin"]),
               " DPadrao Res.": (m["dpres"], m["glres"])}
    for k, (v, g) in results.items():
        print(k, fw(v, 6, 2), g)
    if "--write" not in sys.argv:
        return
    gold = [l.decode("cp850") for l in (ROOT / "anova_two_way_example.out").read_bytes().split(b"\r\n")]
    prompt = lambda i, j: " VALOR DA LINHA =" + str(i).rjust(2) + "     COLUNA =" + str(j).rjust(2)
    end_row = lambda i: " ***** Conclusao da Linha " + str(i).rjust(2) + " *****"
    block = lambda nl, nc: sum(([l for j in range(1, nc + 1) for l in (prompt(i, j), "")] + [end_row(i), ""]
                                for i in range(1, nl + 1)), [])
    first = gold.index(prompt(1, 1))
    assert gold[first:first + len(block(2, 3))] == block(2, 3)
    out = gold[:first] + block(len(rows), len(rows[0]))
    rest = gold[first + len(block(2, 3)):]
    for t in rest:
        for key, (v, g) in results.items():
            if t.startswith(key + " "):
                t, pos = put(t, "= ", fw(v, 6, 2))
                t, _ = put(t, "= ", str(g).rjust(3), pos)
        if "Mediacol (" in t or "Medialin (" in t:
            continue                                  # rebuilt below
        out.append(t)
    # Means: the golden's records for 3 columns and 2 rows, rebuilt for 2 and 47.
    mean = lambda name, k, v: " " * 16 + name + " (" + str(k).rjust(2) + ") = " + fw(v, 6, 2)
    assert [l for l in gold if "Mediacol (" in l] == [mean("Mediacol", k, F(v)) for k, v in
                                                      ((1, 2), (2, F(11, 2)), (3, F(23, 2)))]
    # After the residual record: a blank, the 55-star line, a blank, then the means.
    dp = next(k for k, l in enumerate(out) if l.startswith(" DPadrao"))
    assert out[dp + 1] == "" and out[dp + 2] == " " + "*" * 55 and out[dp + 3] == "" and out[dp + 4] == " " + "*" * 54
    means = [mean("Mediacol", k + 1, v) for k, v in enumerate(m["mediacol"])] + [" " + "*" * 54] + \
            [mean("Medialin", k + 1, v) for k, v in enumerate(m["medialin"])]
    out = out[:dp + 4] + means + out[dp + 5:]
    (ROOT / "extended_anova_two_way.out").write_bytes("\r\n".join(out).encode("cp850"))
    lines = ["5", "1", str(len(rows)), str(len(rows[0]))] + [dec(x) for row in rows for x in row] + ["0"]
    (ROOT / "extended_anova_two_way.in").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
