#!/usr/bin/env python3
"""Derives the golden sessions regression/extended_curvilinear_regression_model1
to _model4 exactly: one fit of each curve whose printed box differs when the
expressions are evaluated in double instead of extended.

The data were found by tools/precision/curvilinear_search.cpp. In each, one partial sum
of the determinant rule,
    dpri = ((a11*a22)*a33 + (a12*a23)*a31) + (a21*a32)*a13    (or dsec),
is a sum of products of three stored sums with full 24-bit significands (the
data are typed with one decimal): each product has up to 72 bits, rounded at
2^-64 relative in extended and at 2^-53 in double, and here the two results
lie on either side of a halfway point between singles, so the stored partial
sum differs by one unit. The determinants cancel (det - its partial sums is a
few hundred to a few thousand units of them), so that unit moves a, b or c by
far more than a unit, and the parameters of the box (F9.2, some of them near
10^5 where a hundredth is a few units of a single) and the residual standard
error move with it.

Every statement is modelled with fractions.Fraction in the order of the
application: each operation rounded to a 64-bit significand (53 with
--bits 53), each stored value to a single, the square root correctly rounded.
The logarithm is the exact ln rounded to 64 bits whatever the evaluation
(it enters its expression unrounded); exp and the power are the exact result
rounded to double and then to single. These three are computed with the
decimal module at 90 digits, and every rounding of them is checked to be
decided at that accuracy (the script stops otherwise).

The dialogue is taken from the hand-derived golden sessions of the
application: curve_gaussian_refit up to the pair prompts (the first n of its
six prompts) and the model menu, the result box of model k from the golden
that fits it (curve_parabola, curve_hyperbolic, curve_power_exponential,
curve_gaussian_refit), and the "another model?" prompt, the end box and the
farewell from curve_gaussian_refit. The value records of the box are rebuilt
from the format "*",2x,3(a4,1x,f9.2,2x),"*" and "*",4x,A30,1x,F9.2,6x,"*",
after checking that the same rebuilding gives the golden's own records from
the golden's values.

    tools/precision/extended_curvilinear_regression.py [--bits 53]   prints the numbers
    tools/precision/extended_curvilinear_regression.py --write       writes the .in/.out
    tools/precision/extended_curvilinear_regression.py --check       compares them with
        the derivation, and requires the double model to print another box
        (exit status 1 otherwise; run by the test suite)
"""
import sys
from decimal import Decimal, localcontext
from fractions import Fraction as F
from pathlib import Path

from extended_model import fw, rnd, sqrt_rounded

# Session name: (model, pairs as typed).
SESSIONS = {
    "extended_curvilinear_regression_model1": (1, [
        ("33.2", "87842.8"), ("36.6", "88841.5"), ("45.5", "88972.3"), ("12.2", "89007.6"), ("23.3", "88863.9")]),
    "extended_curvilinear_regression_model2": (2, [
        ("20.8", "74810.8"), ("39.2", "73523.2"), ("30.7", "73314.7"), ("26.0", "75852.1")]),
    "extended_curvilinear_regression_model3": (3, [
        ("28.6", "81222.2"), ("20.3", "75079.4"), ("5.9", "73125.6"), ("15.6", "81730.8"), ("23.3", "77298.3"),
        ("2.1", "79309.8")]),
    "extended_curvilinear_regression_model4": (4, [
        ("4.0", "34834.8"), ("7.5", "38191.6"), ("9.9", "27023.9"), ("4.9", "27567.4"), ("10.7", "34825.7")]),
}

DIGITS = 90


def decided(v, p):
    """v (known to about DIGITS digits) rounded to p bits, or an error when
    the neighbourhood of v straddles a rounding boundary."""
    eps = F(1, 10 ** (DIGITS - 10))
    lo, hi = rnd(v * (1 - eps), p), rnd(v * (1 + eps), p)
    assert lo == hi, ("rounding not decided", float(v), p)
    return lo


def dec(x):
    return Decimal(x.numerator) / Decimal(x.denominator)


def ln64(x):
    """ln x for a positive single x, rounded to a 64-bit significand."""
    assert x > 0 and x != 1
    with localcontext() as c:
        c.prec = DIGITS
        return decided(F(dec(x).ln()), 64)


def exp_single(a):
    """e^a for a single a: rounded to double, then to single."""
    if a == 0:
        return F(1)
    with localcontext() as c:
        c.prec = DIGITS
        return rnd(decided(F(dec(a).exp()), 53), 24)


def pow_single(b, e):
    """b^e for singles b > 0, e: rounded to double, then to single."""
    if e == 0 or b == 1:
        return F(1)
    if e.denominator == 1:
        return rnd(rnd(b ** e.numerator, 53), 24)
    with localcontext() as c:
        c.prec = DIGITS
        return rnd(decided(F((dec(e) * dec(b).ln()).exp()), 53), 24)


def model(k, pairs, bits=64):
    X = lambda v: rnd(v, bits)      # one extended (or double) operation
    S = lambda v: rnd(v, 24)        # a value stored in a single

    xs = [S(F(x)) for x, _ in pairs]
    ys = [S(F(y)) for _, y in pairs]
    n = len(pairs)
    nx = F(n)
    # The seventeen sums, each term + sum.
    sx = sy = sx2 = sxy = sx3 = sx4 = sx2y = s1dx = sydx = s1dx2 = F(0)
    slogx = slog2x = sxlogx = slogy = slogylogx = sxlogy = sx2logy = F(0)
    for x, y in zip(xs, ys):
        lx, ly = ln64(x), ln64(y)
        sx = S(X(x + sx))
        sy = S(X(y + sy))
        sx2 = S(X(X(x * x) + sx2))
        sxy = S(X(X(x * y) + sxy))
        sx3 = S(X(S(X(x * X(x * x))) + sx3))
        sx4 = S(X(S(X(X(x * x) * X(x * x))) + sx4))
        sx2y = S(X(X(X(x * x) * y) + sx2y))
        s1dx = S(X(X(1 / x) + s1dx))
        sydx = S(X(X(y / x) + sydx))
        s1dx2 = S(X(X(1 / X(x * x)) + s1dx2))
        slogx = S(X(lx + slogx))
        slog2x = S(X(X(lx * lx) + slog2x))
        sxlogx = S(X(X(lx * x) + sxlogx))
        slogy = S(X(ly + slogy))
        slogylogx = S(X(X(lx * ly) + slogylogx))
        sxlogy = S(X(X(ly * x) + sxlogy))
        sx2logy = S(X(X(ly * S(X(x * x))) + sx2logy))

    def sarrus(m):
        (a11, a12, a13), (a21, a22, a23), (a31, a32, a33) = m
        dpri = S(X(X(X(X(a11 * a22) * a33) + X(X(a12 * a23) * a31)) + X(X(a21 * a32) * a13)))
        dsec = S(X(X(X(X(a13 * a22) * a31) + X(X(a32 * a23) * a11)) + X(X(a21 * a12) * a33)))
        return S(X(dpri - dsec)), (dpri, dsec)

    matrix, rhs = {
        1: ([[nx, sx, sx2], [sx, sx2, sx3], [sx2, sx3, sx4]], [sy, sxy, sx2y]),
        2: ([[nx, s1dx, sx], [s1dx, s1dx2, nx], [sx, nx, sx2]], [sy, sydx, sxy]),
        3: ([[nx, slogx, sx], [slogx, slog2x, sxlogx], [sx, sxlogx, sx2]], [slogy, slogylogx, sxlogy]),
        4: ([[nx, sx, sx2], [sx, sx2, sx3], [sx2, sx3, sx4]], [slogy, sxlogy, sx2logy]),
    }[k]
    det, parts = sarrus(matrix)
    coef, dets = [], [det]
    for col in range(3):
        m = [row[:] for row in matrix]
        for r in range(3):
            m[r][col] = rhs[r]
        d, p = sarrus(m)
        dets.append(d)
        parts += p
        coef.append(S(X(d / det)))
    a, b, c = coef

    if k == 1:
        am = S(X(a - X(S(X(b * b)) / X(c * 4))))
        bm = S(X(X(-b) / X(c + c)))
        cm = c
        fitted = [S(X(X(X(X(x - bm) * X(x - bm)) * cm) + am)) for x in xs]
    elif k == 2:
        am, bm, cm = a, b, c
        fitted = [S(X(X(X(X(1 / x) * bm) + am) + X(x * cm))) for x in xs]
    elif k == 3:
        am, bm, cm = exp_single(a), b, exp_single(c)
        fitted = [S(X(pow_single(cm, x) * S(X(pow_single(x, bm) * am)))) for x in xs]
    else:
        am = exp_single(S(X(a - X(X(b * b) / X(c * 4)))))
        bm = exp_single(c)
        cm = S(X(-X(b / X(c + c))))
        fitted = [S(X(pow_single(bm, S(X(X(x - cm) * X(x - cm)))) * am)) for x in xs]
    seg = F(0)
    for yf, y in zip(fitted, ys):
        seg = S(X(X(X(yf - y) * X(yf - y)) + seg))
    ep = S(sqrt_rounded(X(seg / X(nx - 3)), bits))
    return dict(det=det, deta=dets[1], detb=dets[2], detc=dets[3], parts=parts, a=a, b=b, c=c,
                am=am, bm=bm, cm=cm, seg=seg, ep=ep)


def value_records(am, bm, cm, ep):
    """The two records of the box that carry numbers, as the format builds them."""
    line = " *  " + "".join(f"{lab} {fw(v, 9, 2)}  " for lab, v in (("A = ", am), ("B = ", bm), ("C = ", cm))) + "*"
    err = " *    " + "Erro padrão da Regressao =    " + " " + fw(ep, 9, 2) + " " * 6 + "*"
    return line.encode("cp850"), err.encode("cp850")


def golden(name):
    root = Path(__file__).resolve().parents[2] / "tests/transcripts/regression"
    return (root / f"{name}.out").read_bytes().split(b"\r\n")


def box(k):
    """The result box of model k from a golden that fits it, with the golden's
    own values read back; the box of model 1 keeps its empty records."""
    src, vals = {1: ("curve_parabola", (2, 2, 3, 0)), 2: ("curve_hyperbolic", (1, 2, 3, 0)),
                 3: ("curve_power_exponential", (2, F(1, 2), F(11, 10), 0)),
                 4: ("curve_gaussian_refit", (5, F(4, 5), 3, 0))}[k]
    g = golden(src)
    title = (" *                CURVAS D%s MODELO %d                *" % ("0" if k == 1 else "O", k)).encode()
    i = g.index(title) - 1
    b = g[i:i + 8]
    assert b[0] == b[7] == b" " + b"*" * 52 and b[3] == b[5] == b" *" + b" " * 50 + b"*", b
    assert (b[4], b[6]) == value_records(*vals), (b[4], b[6])  # the columns are the golden's
    if k == 1:
        assert g[i - 1] == b"" and g[i + 8] == b""
        b = [b""] + b + [b""]
    return b


def session(k, pairs, m):
    g = golden("curve_gaussian_refit")
    n = len(pairs)
    assert 4 <= n <= 6
    assert g[39].startswith(b" **   Quantos pares") and g[41] == b""
    assert g[42].startswith(b" Digitar X e Y, nesta ordem, do par numero") and g[47].endswith(b"6  ***")
    assert g[48] == b"" and g[50].startswith(b" *    QUAL O") and g[57] == b"" and g[58] == b" " + b"*" * 52
    assert g[66] == g[67] == b"" and g[69].startswith(b" *          Quer ajustar") and g[72] == b""
    assert g[117] == b" " + b"*" * 52 and g[118] == g[119] == b"" and g[130] == b" Fim do Programa"
    b = box(k)
    off = 1 if k == 1 else 0
    b[4 + off], b[6 + off] = value_records(m["am"], m["bm"], m["cm"], m["ep"])
    recs = g[0:42] + g[42:42 + n] + g[48:58] + b + g[118:]
    return b"\r\n".join(recs)


def check(root):
    """The committed sessions are the derivation's, and double evaluation
    prints each of them differently."""
    bad = 0
    for name, (k, pairs) in SESSIONS.items():
        m64, m53 = model(k, pairs, 64), model(k, pairs, 53)
        want_in = "16\n1\n%d\n" % len(pairs) + "".join(f"{x} {y}\n" for x, y in pairs) + "%d\n0\n0\n" % k
        if (root / f"{name}.out").read_bytes() != session(k, pairs, m64):
            print(f"{name}.out is not the derived session")
            bad += 1
        if (root / f"{name}.in").read_text() != want_in:
            print(f"{name}.in is not the derived input")
            bad += 1
        rec64 = value_records(m64["am"], m64["bm"], m64["cm"], m64["ep"])
        rec53 = value_records(m53["am"], m53["bm"], m53["cm"], m53["ep"])
        if rec64 == rec53:
            print(f"{name}: double evaluation prints the same box")
            bad += 1
        else:
            print(f"{name}: extended {rec64[0].decode('cp850').strip()} / double {rec53[0].decode('cp850').strip()}")
    return 1 if bad else 0


def main():
    if "--check" in sys.argv:
        sys.exit(check(Path(__file__).resolve().parents[2] / "tests/transcripts/regression"))
    bits = 53 if "--bits" in sys.argv and sys.argv[sys.argv.index("--bits") + 1] == "53" else 64
    root = Path(__file__).resolve().parents[2] / "tests/transcripts/regression"
    for name, (k, pairs) in SESSIONS.items():
        m = model(k, pairs, bits)
        print(f"{name} (model {k}, {bits} bits)")
        for key in ("det", "deta", "detb", "detc", "a", "b", "c", "am", "bm", "cm", "seg", "ep"):
            print(f"  {key:5} {float(m[key])!r:>24}  {m[key]}")
        print("  partial sums", " ".join(repr(float(p)) for p in m["parts"]))
        for r in value_records(m["am"], m["bm"], m["cm"], m["ep"]):
            print("  " + r.decode("cp850"))
        if "--write" in sys.argv:
            assert bits == 64
            (root / f"{name}.out").write_bytes(session(k, pairs, m))
            (root / f"{name}.in").write_text("16\n1\n%d\n" % len(pairs) + "".join(f"{x} {y}\n" for x, y in pairs)
                                             + "%d\n0\n0\n" % k)


if __name__ == "__main__":
    main()
