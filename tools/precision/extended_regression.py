#!/usr/bin/env python3
"""Derives the golden session regression/extended_linear_regression exactly.

Three pairs with nearly constant large X (found by tools/precision/regression_search.cpp)
make the straight-line fit's sums cancel:
    varx = ssx2 - ssx*ssx/n      covxy = ssxy - ssx*ssy/n
The quotients are rounded at 2^-64 relative in extended and at 2^-53 in
double; the cancellation exposes that rounding in the stored singles, and the
residual error printed after it (F7.2) ends on a different hundredth.

Every statement is modelled with fractions.Fraction: each operation rounded
to a 64-bit significand (nearest, ties to even), each stored value rounded to
a single, in the order the application evaluates it. The dialogue is taken
from the hand-derived golden session linear_line_refit (same screens, one fit
instead of three, no refused count); the four result records are rebuilt
from the model, keeping the golden record's text around each field.

    tools/precision/extended_regression.py [--bits 53]   prints the numbers only
    tools/precision/extended_regression.py --write       writes the .in and .out
"""
import sys
from fractions import Fraction as F

from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

PAIRS = [("64414.75", "31.75"), ("64435.75", "-87.25"), ("64440.75", "105.00")]


def model(bits=64):
    X = lambda v: rnd(v, bits)      # one extended (or double) operation
    S = lambda v: rnd(v, 24)        # a value stored in a single
    sqrt = lambda v: sqrt_rounded(v, bits)  # noqa: E731

    xs = [S(F(x)) for x, _ in PAIRS]
    ys = [S(F(y)) for _, y in PAIRS]
    n = F(len(PAIRS))
    ssx = ssy = ssxy = ssx2 = ssy2 = F(0)
    for x, y in zip(xs, ys):
        ssx = S(X(ssx + x))
        ssy = S(X(ssy + y))
        ssxy = S(X(ssxy + X(x * y)))
        ssx2 = S(X(ssx2 + X(x * x)))
        ssy2 = S(X(ssy2 + X(y * y)))
    covxy = S(X(ssxy - X(X(ssx * ssy) / n)))
    varx = S(X(ssx2 - X(X(ssx * ssx) / n)))
    vary = S(X(ssy2 - X(X(ssy * ssy) / n)))
    r = S(X(covxy / sqrt(X(varx * vary))))
    r2 = S(X(r * r))
    b = S(X(covxy / varx))
    a = S(X(X(ssy / n) - X(X(ssx / n) * b)))
    somer = F(0)
    for x, y in zip(xs, ys):
        d = X(y - X(X(x * b) + a))
        somer = S(X(somer + X(d * d)))
    erro = S(sqrt(X(somer / (n - 2))))
    return dict(covxy=covxy, varx=varx, vary=vary, r=r, r2=r2, a=a, b=b, somer=somer, erro=erro)


def main():
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    m = model(bits)
    for k, v in m.items():
        print(f"{k:6} {float(v)!r:>24}  {v}")
    # Each record: the literal text that ends just before each field, and the field.
    fields = {"Coeficiente  de  correla": [("o = ", fw(m["r"], 6, 2))], "Coeficiente de determinacao": [("o = ", fw(m["r2"], 6, 2))],
              "Coeficientes da Regressao": [("a = ", fw(m["a"], 6, 2)), ("b = ", fw(m["b"], 6, 2))],
              "das estimativas": [("igual a ", fw(m["erro"], 7, 2))]}
    print(fields)
    if "--write" not in sys.argv:
        return
    root = Path(__file__).resolve().parents[2] / "tests/transcripts/regression"
    gold = (root / "linear_line_refit.out").read_bytes().split(b"\r\n")
    # Golden records 1-41 (up to the count prompt and its blank), 47-74 (two
    # blanks, the pair prompts, one fit, the "another model?" prompt) and
    # 123 to the end (blanks before the end box, the box, the farewell).
    lines = gold[0:41] + gold[46:74] + gold[122:]
    assert lines[40] == b"" and gold[39].startswith(b" ****   Quantos pares")
    assert gold[48].startswith(b" Digitar, nesta ordem") and gold[73].startswith(b" *** Quer ajustar outro")
    out = []
    for line in lines:
        t = line.decode("cp850")
        for key, vals in fields.items():
            if key in t and t.startswith(" *"):
                pos = 0
                for anchor, val in vals:
                    assert anchor in t[pos:], (t, anchor)
                    pos = t.index(anchor, pos) + len(anchor)
                    old = t[pos:pos + len(val)]
                    assert old.strip().replace(".", "").isdigit() and len(old) == len(val), (t, old)
                    t = t[:pos] + val + t[pos + len(val):]
                    pos += len(val)
                line = t.encode("cp850")
        out.append(line)
    (root / "extended_linear_regression.out").write_bytes(b"\r\n".join(out))
    (root / "extended_linear_regression.in").write_text(
        "7\n1\n%d\n" % len(PAIRS) + "".join(f"{x} {y}\n" for x, y in PAIRS) + "1\n0\n0\n")


if __name__ == "__main__":
    main()
