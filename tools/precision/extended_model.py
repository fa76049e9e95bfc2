"""Exact arithmetic shared by the scripts that derive the extended_* golden
sessions (tools/extended_*.py).

Values are fractions.Fraction. An extended-precision operation is modelled as
the exact result rounded to a 64-bit significand (53 bits to model double
evaluation), a stored single as a rounding to 24 bits; Fw.d renders a value as
the program's records do.
"""
import math
from fractions import Fraction as F


def rnd(x, p):
    """x rounded to a p-bit significand, to nearest, ties to even."""
    if x == 0:
        return F(0)
    s = -1 if x < 0 else 1
    a = abs(x)
    e = a.numerator.bit_length() - a.denominator.bit_length()
    while F(2) ** e > a:
        e -= 1
    while F(2) ** (e + 1) <= a:
        e += 1
    scale = F(2) ** (p - 1 - e)
    m = a * scale
    fl = m.numerator // m.denominator
    r = m - fl
    if r > F(1, 2) or (r == F(1, 2) and fl % 2 == 1):
        fl += 1
    return s * F(fl) / scale


def sqrt_rounded(v, bits):
    """The square root of v >= 0 rounded to a `bits`-bit significand.

    floor(sqrt(v) * 2^k) with k far beyond the precision; a half unit at that
    position stands for an inexact tail (it can never decide the rounding,
    only break a false tie)."""
    k = 200
    n = v * 4 ** k
    r = math.isqrt(n.numerator // n.denominator)
    exact = F(r) ** 2 == n
    return rnd(F(r, 2 ** k) + (0 if exact else F(1, 2 ** (k + 1))), bits)


def fw(v, w, d):
    """Fw.d: the value with d decimals, halves away from zero; a leading zero
    only when it fits; w asterisks when the field is too narrow."""
    q = abs(v) * 10 ** d
    n = q.numerator // q.denominator
    if q - n >= F(1, 2):
        n += 1
    digits = str(n).rjust(d + 1, "0")
    whole, frac = digits[: len(digits) - d], digits[len(digits) - d:]
    sign = "-" if v < 0 else ""
    text = sign + whole + "." + frac
    if whole == "0" and len(text) > w:
        text = sign + "." + frac
    return "*" * w if len(text) > w else text.rjust(w)
