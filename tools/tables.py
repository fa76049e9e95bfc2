#!/usr/bin/python3
"""Write the tables of critical values that the program's screens refer to.

Every table is computed here, never typed: the continuous distributions from
SciPy, the discrete rank statistics by exact enumeration of their null
distributions (integer counts, so no rounding enters until the last step).
The pages are Markdown, in Portuguese, in doc/tutorial/tabelas/.

    tools/tables.py            write the tables into doc/tutorial/tabelas/
    tools/tables.py --out DIR  write them into DIR
    tools/tables.py --check    write them into a temporary directory and fail
                               if any committed table differs

Exit status: 0 on success, 1 when a committed table differs, 77 when SciPy is
not installed (the check cannot run; CTest reports it as skipped).
"""

import argparse
import difflib
import math
import os
import sys
import tempfile
import time
from fractions import Fraction
from functools import lru_cache

SKIP = 77
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_OUT = os.path.join(ROOT, "doc", "tutorial", "tabelas")
INF = math.inf

# --------------------------------------------------------------------------
# Exact null distributions of the rank statistics (no SciPy needed).
# Each returns integer counts; probabilities are exact fractions of them.
# --------------------------------------------------------------------------


@lru_cache(maxsize=None)
def wilcoxon_counts(n):
    """counts[t] = number of the 2**n sign patterns whose positive rank sum is t."""
    counts = [1]
    for rank in range(1, n + 1):
        new = counts + [0] * rank
        for t, c in enumerate(counts):
            new[t + rank] += c
        counts = new
    return tuple(counts)


@lru_cache(maxsize=None)
def mann_whitney_counts(n1, n2):
    """counts[u] = number of the C(n1+n2, n1) arrangements giving U = u.

    Recurrence on the largest value of the pooled sample: it belongs to the
    first sample (which then adds n2 to U) or to the second (adds nothing).
    """
    if n1 == 0 or n2 == 0:
        return (1,)
    a = mann_whitney_counts(n1 - 1, n2)
    b = mann_whitney_counts(n1, n2 - 1)
    out = [0] * (n1 * n2 + 1)
    for u, c in enumerate(a):
        out[u + n2] += c
    for u, c in enumerate(b):
        out[u] += c
    return tuple(out)


def spearman_counts(n):
    """counts[s] = number of the n! permutations whose sum of squared rank
    differences is s (only even s occur).

    Dynamic programming over the set of ranks already used: the k-th position
    takes a rank r not yet used and adds (k - r)**2.  The state is the set of
    used ranks (a bit mask) with the distribution of the partial sums; only
    the masks of one size are kept at a time.  The counts are exact integers
    (n! < 2**63 for every n used here).
    """
    import numpy as np
    smax = n * (n * n - 1) // 3
    start = np.zeros(smax + 1, dtype=np.int64)
    start[0] = 1
    layer = {0: start}
    for k in range(1, n + 1):
        nxt = {}
        for mask, dist in layer.items():
            for r in range(1, n + 1):
                bit = 1 << (r - 1)
                if mask & bit:
                    continue
                add = (k - r) * (k - r)
                target = nxt.get(mask | bit)
                if target is None:
                    target = nxt[mask | bit] = np.zeros(smax + 1, dtype=np.int64)
                target[add:] += dist[:smax + 1 - add]
        layer = nxt
    (dist,) = layer.values()
    return [int(c) for c in dist]


def kruskal_wallis_distribution(sizes):
    """Exact null distribution of H for the given group sizes, without ties.

    Returns a dict {H (as a Fraction): number of assignments}.  The ranks
    1..N are dealt one by one to the groups; the state keeps how many each
    group has received and the rank sums of all groups but the last (the
    last one's sum is what remains).
    """
    sizes = tuple(sizes)
    g = len(sizes)
    total = sum(sizes)
    states = {((0,) * g, (0,) * (g - 1)): 1}
    for rank in range(1, total + 1):
        nxt = {}
        for (filled, sums), c in states.items():
            for i in range(g):
                if filled[i] == sizes[i]:
                    continue
                f = filled[:i] + (filled[i] + 1,) + filled[i + 1:]
                s = sums if i == g - 1 else sums[:i] + (sums[i] + rank,) + sums[i + 1:]
                key = (f, s)
                nxt[key] = nxt.get(key, 0) + c
        states = nxt
    allsum = total * (total + 1) // 2
    dist = {}
    for (_, sums), c in states.items():
        rs = list(sums) + [allsum - sum(sums)]
        q = sum(Fraction(r * r, m) for r, m in zip(rs, sizes))
        h = Fraction(12, total * (total + 1)) * q - 3 * (total + 1)
        dist[h] = dist.get(h, 0) + c
    return dist


def lower_critical(counts, alpha):
    """Largest value t with P(X <= t) <= alpha, or None (exact, from counts)."""
    total = sum(counts)
    cum = 0
    best = None
    for t, c in enumerate(counts):
        cum += c
        if Fraction(cum, total) <= alpha:
            if c:
                best = t
        else:
            break
    return best


def upper_critical(dist, alpha):
    """Smallest achievable h with P(X >= h) <= alpha, with that probability
    and the next smaller achievable value (None when there is none)."""
    total = sum(dist.values())
    tail = 0
    best = None
    for h in sorted(dist, reverse=True):
        tail += dist[h]
        if Fraction(tail, total) <= alpha:
            best = (h, Fraction(tail, total), None)
        else:
            if best is not None:
                best = (best[0], best[1], h)
            break
    return best


# --------------------------------------------------------------------------
# Continuous distributions (SciPy).
# --------------------------------------------------------------------------


def scipy_stats():
    from scipy import stats
    return stats


def t_crit(stats, alpha2, nu):
    if nu == INF:
        return stats.norm.isf(alpha2 / 2)
    return stats.t.isf(alpha2 / 2, nu)


def f_crit(stats, alpha, d1, d2):
    if d1 == INF and d2 == INF:
        return 1.0
    if d1 == INF:
        return d2 / stats.chi2.ppf(alpha, d2)
    if d2 == INF:
        return stats.chi2.isf(alpha, d1) / d1
    return stats.f.isf(alpha, d1, d2)


def q_crit(stats, alpha, k, nu, guess=None):
    """Upper alpha point of the studentized range for k means and nu degrees
    of freedom.  Each evaluation of the distribution function is a numerical
    integration, so with a good starting value (the neighbouring cell) the
    root is found by the secant method in a few evaluations; without one, or
    if the secant method fails, SciPy's own inversion is used."""
    from scipy import optimize
    sr = stats.studentized_range
    p = 1 - alpha
    if guess is not None and nu != INF:
        try:
            q = optimize.newton(lambda x: sr.cdf(x, k, nu) - p, guess, x1=guess * 1.01,
                                tol=1e-10, maxiter=30)
            if abs(sr.cdf(q, k, nu) - p) < 1e-9:
                return q
        except (RuntimeError, ValueError, OverflowError):
            pass
    return sr.ppf(p, k, nu)


def q_column(stats, alpha, k, nus):
    """q for one k and every nu, from the largest nu down (each value starts
    the search for the next, a little larger)."""
    out = {}
    guess = None
    for nu in sorted(nus, reverse=True):
        out[nu] = q_crit(stats, alpha, k, nu, guess)
        guess = out[nu] * 1.02
    return out


# --------------------------------------------------------------------------
# Markdown helpers.
# --------------------------------------------------------------------------

HEAD_NOTE = ("Esta página foi gerada por `tools/tables.py`; não a edite à mão "
             "(o teste do projeto compara a página com o que o programa gera).")
POINT_NOTE = ("Nas tabelas os números usam ponto decimal, como o programa os "
              "mostra na tela e como devem ser digitados (2.228, não 2,228).")


def nu_label(nu):
    return "∞" if nu == INF else str(nu)


def fmt(x, decimals):
    if x is None:
        return "—"
    return f"{x:.{decimals}f}"


def alpha_txt(a):
    """0.05 -> '0,05', 0.1 -> '0,10', 0.001 -> '0,001': the level as the
    Portuguese prose and headers write it (at least two decimals)."""
    text = f"{a:.3f}".rstrip("0")
    if len(text.split(".")[1]) < 2:
        text += "0"
    return text.replace(".", ",")


def table(header, rows):
    out = ["| " + " | ".join(header) + " |",
           "|" + "|".join([":---:"] * len(header)) + "|"]
    for r in rows:
        out.append("| " + " | ".join(r) + " |")
    return "\n".join(out)


def blocks(items, size):
    return [items[i:i + size] for i in range(0, len(items), size)]


def page(title, paragraphs):
    """A page: the title, what it is for and how to read it, the tables, and
    last how they were computed (so that a phone reaches the tables first)."""
    how = "**Como foi calculada.** "
    method = [p for p in paragraphs if p.startswith(how)]
    rest = [p for p in paragraphs if not p.startswith(how)]
    if method and method[0].endswith(POINT_NOTE):
        method[0] = method[0][:-len(POINT_NOTE)].rstrip()
        first_table = next(i for i, p in enumerate(rest) if p.startswith(("|", "## ", "**α")))
        rest.insert(first_table, POINT_NOTE)
    if method:
        tail = rest[-1:] if rest and rest[-1] == HEAD_NOTE else []
        rest = rest[:len(rest) - len(tail)]
        rest += ["## Como foi calculada {#calculo}", method[0][len(how):]] + tail
    return "# " + title + "\n\n" + "\n\n".join(rest).rstrip() + "\n"


# --------------------------------------------------------------------------
# The pages.
# --------------------------------------------------------------------------

T_ALPHAS = [0.20, 0.10, 0.05, 0.02, 0.01, 0.001]
T_NUS = list(range(1, 31)) + [40, 60, 120, INF]


def page_t(stats):
    rows = [[nu_label(nu)] + [fmt(t_crit(stats, a, nu), 3) for a in T_ALPHAS] for nu in T_NUS]
    header = ["ν"] + ["α = " + alpha_txt(a) for a in T_ALPHAS]
    return page("Tabela t de Student (bilateral)", [
        "Usada pelo aplicativo 2 (Teste 't' de Student), quando as variâncias são "
        "heterogêneas e as amostras têm tamanhos diferentes: o programa pergunta "
        "\"Qual o valor de 't' para ... graus de liberdade\" duas vezes, uma para "
        "cada amostra. Serve também para decidir com o t que os aplicativos 2 e 3 "
        "(teste t pareado) mostram ao lado dos graus de liberdade, e com o t da "
        "correlação de Spearman (aplicativo 14, ν = N − 2).",
        "**Como ler.** Procure a linha ν (graus de liberdade) e a coluna do nível "
        "de significância α. Exemplo: linha ν = 10, coluna α = 0,05 dá 2.228. "
        "O teste é bilateral: rejeita-se H0 quando o |t calculado| é maior ou igual "
        "ao valor da tabela. Para um teste unilateral ao nível α use a coluna 2α "
        "(unilateral 0,05 = coluna α = 0,10).",
        "Se o seu ν não está na tabela (por exemplo 35), use a linha do ν menor "
        "mais próximo (ν = 30): o valor é um pouco maior e a decisão fica do lado "
        "seguro.",
        "**Como foi calculada.** Cada valor é o quantil t tal que P(|T| ≥ t) = α "
        "na distribuição t de Student com ν graus de liberdade (SciPy, "
        "`scipy.stats.t.isf(α/2, ν)`); a linha ∞ é a distribuição normal. "
        "Arredondado para 3 casas decimais. " + POINT_NOTE,
        table(header, rows),
        HEAD_NOTE,
    ])


F_ALPHAS = [0.05, 0.01]
F_NU1 = list(range(1, 11)) + [12, 15, 20, 24, 30, 40, 60, 120, INF]
F_NU2 = list(range(1, 31)) + [40, 60, 120, INF]


def page_f(stats):
    parts = [
        "Usada pelos aplicativos 2 (homogeneidade das variâncias: Fc com os graus de "
        "liberdade do numerador e do denominador) e 4, 5 e 6 (análises de variância: "
        "o F de cada fonte de variação com os seus graus de liberdade).",
        "**Como ler.** Escolha o nível (α = 0,05 ou α = 0,01). As colunas são os graus "
        "de liberdade do numerador (ν1) e as linhas os do denominador (ν2). Exemplo: "
        "α = 0,05, linha ν2 = 10, coluna ν1 = 1 dá 4.96. Rejeita-se H0 quando o F "
        "calculado é maior ou igual ao valor da tabela (cauda superior). Para caber "
        "numa tela estreita, cada nível está dividido em dois blocos de colunas "
        "(ν1 = 1 a 10 e ν1 = 12 a ∞); num celular a tabela também rola para o lado.",
        "No aplicativo 2 o programa já põe a maior variância no numerador, por isso "
        "a cauda superior basta para um teste ao nível α; quem quiser o teste "
        "bilateral da igualdade das variâncias ao nível 0,10 usa a tabela de 0,05 "
        "(e ao nível 0,02 a de 0,01).",
        "Se o seu ν não está na tabela, use o ν menor mais próximo (valor um pouco "
        "maior, decisão do lado seguro).",
        "**Como foi calculada.** Cada valor é o quantil F tal que P(F ≥ valor) = α "
        "com ν1 e ν2 graus de liberdade (SciPy, `scipy.stats.f.isf(α, ν1, ν2)`); com "
        "ν2 = ∞ o valor é χ²(α; ν1)/ν1 e com ν1 = ∞ é ν2/χ²(1 − α; ν2). Arredondado "
        "para 2 casas decimais, como o programa mostra o F. " + POINT_NOTE,
    ]
    for a in F_ALPHAS:
        parts.append(f"## α = {alpha_txt(a)} {{#alfa-{alpha_txt(a).replace(',', '')}}}")
        for blk in blocks(F_NU1, 10):
            first, last = nu_label(blk[0]), nu_label(blk[-1])
            parts.append(f"**α = {alpha_txt(a)}, ν1 = {first} a {last}** (linhas: ν2)")
            header = ["ν2"] + [nu_label(d1) for d1 in blk]
            rows = [[nu_label(d2)] + [fmt(f_crit(stats, a, d1, d2), 2) for d1 in blk]
                    for d2 in F_NU2]
            parts.append(table(header, rows))
    parts.append(HEAD_NOTE)
    return page("Tabela F (cauda superior)", parts)


CHI_ALPHAS = [0.995, 0.99, 0.975, 0.95, 0.90, 0.10, 0.05, 0.025, 0.01, 0.005, 0.001]
CHI_NUS = list(range(1, 31)) + list(range(40, 101, 10))


def page_chi2(stats):
    def block(alphas):
        rows = [[str(nu)] + [fmt(stats.chi2.isf(a, nu), 3) for a in alphas] for nu in CHI_NUS]
        return table(["ν"] + ["α = " + alpha_txt(a) for a in alphas], rows)
    usual = [a for a in CHI_ALPHAS if a <= 0.10]
    low = [a for a in CHI_ALPHAS if a > 0.10]
    return page("Tabela do qui-quadrado (χ², cauda superior)", [
        "Usada pelo aplicativo 9 (Teste Qui-quadrado: \"Qui-Quadrado =\" com \"GL =\") "
        "e pelo aplicativo 15 (Kruskal-Wallis: \"H =\" com os graus de liberdade, "
        "quando os grupos são maiores que os da [tabela de Kruskal-Wallis]"
        "(kruskal-wallis.md)).",
        "**Como ler.** Procure a linha ν (os graus de liberdade que o programa "
        "mostra) e a coluna α. Exemplo: linha ν = 1, coluna α = 0,05 dá 3.841. "
        "Rejeita-se H0 quando o valor calculado é maior ou igual ao da tabela. "
        "A tabela está em dois blocos: o primeiro (α = 0,10 a 0,001) serve à decisão "
        "usual; o segundo (α = 0,995 a 0,90) dá os valores pequenos, para quem quer "
        "saber se um ajuste é \"bom demais\" (P(χ² ≥ x) = 0,95 quer dizer que só 5 % "
        "dos valores ficam abaixo de x).",
        "Para ν entre as linhas de 40 a 100, use a linha do ν menor mais próximo "
        "(decisão do lado seguro) ou interpole.",
        "**Como foi calculada.** Cada valor x satisfaz P(χ² ≥ x) = α na distribuição "
        "qui-quadrado com ν graus de liberdade (SciPy, `scipy.stats.chi2.isf(α, ν)`). "
        "Arredondado para 3 casas decimais. " + POINT_NOTE,
        "## α = 0,10 a 0,001 (a decisão usual) {#usual}",
        block(usual),
        "## α = 0,995 a 0,90 (valores pequenos) {#pequenos}",
        block(low),
        HEAD_NOTE,
    ])


WIL_NS = list(range(5, 51))
WIL_COLS = [("bilateral", 0.05), ("bilateral", 0.01), ("unilateral", 0.05), ("unilateral", 0.01)]


def wilcoxon_critical(n, tail, alpha):
    a = Fraction(alpha).limit_denominator(1000)
    if tail == "bilateral":
        a /= 2
    return lower_critical(wilcoxon_counts(n), a)


def page_wilcoxon():
    rows = []
    for n in WIL_NS:
        rows.append([str(n)] + [fmt(wilcoxon_critical(n, tail, a), 0) if
                                wilcoxon_critical(n, tail, a) is not None else "—"
                                for tail, a in WIL_COLS])
    header = ["n"] + [f"{tail} α = {alpha_txt(a)}" for tail, a in WIL_COLS]
    return page("Tabela de Wilcoxon (T, postos com sinal)", [
        "Usada pelo aplicativo 12 (Teste de Wilcoxon), que mostra \"T =\" seguido de "
        "\"Ver Tabela para N =\" e o número N de diferenças diferentes de zero, "
        "quando N ≤ 25. Com N > 25 o programa mostra um Z e o valor 1.96; a tabela "
        "vai até n = 50 para quem quiser conferir a decisão exata.",
        "**Como ler.** Procure a linha n = N (o número que o programa mostra depois "
        "de \"Ver Tabela para N =\") e a coluna do teste. Exemplo: linha n = 10, "
        "coluna bilateral α = 0,05 dá 8. Rejeita-se H0 quando T é **menor ou igual** "
        "ao valor da tabela. \"—\" quer dizer que, com tão poucos pares, nenhum valor "
        "de T atinge esse nível: não se pode rejeitar H0.",
        "O T do programa é a soma dos postos do sinal que aparece menos vezes. Em "
        "geral é a menor das duas somas de postos, que é o T desta tabela; quando não "
        "é, o T mostrado é maior que o da tabela e a comparação fica do lado seguro "
        "(rejeita menos).",
        "**Como foi calculada.** Por enumeração exata: sob H0 cada um dos 2ⁿ padrões "
        "de sinais tem a mesma probabilidade, e a distribuição da soma dos postos "
        "positivos é contada exatamente (inteiros, sem aproximação). O valor da "
        "tabela é o maior T com P(T ≤ valor) ≤ α (unilateral) ou ≤ α/2 (bilateral): "
        "o valor conservador, cuja probabilidade exata não passa de α. Vale para "
        "dados sem empates; com empates a decisão é aproximada.",
        table(header, rows),
        HEAD_NOTE,
    ])


MW_SIZES = list(range(2, 21))
MW_ALPHAS = [0.05, 0.01]


def mann_whitney_critical(n1, n2, alpha):
    a = Fraction(alpha).limit_denominator(1000) / 2
    return lower_critical(mann_whitney_counts(n1, n2), a)


def page_mann_whitney():
    parts = [
        "Usada pelo aplicativo 13 (Teste de Mann-Whitney), que mostra \"U =\" seguido "
        "de \"Ver Tabela para N =\" e os dois tamanhos das amostras (\"10 e 12\", por "
        "exemplo), quando as duas amostras têm 20 valores ou menos.",
        "**Como ler.** Escolha o nível (α = 0,05 ou α = 0,01, bilateral). A linha é o "
        "tamanho de uma amostra (n1) e a coluna o da outra (n2); a tabela é simétrica, "
        "tanto faz a ordem. Exemplo: α = 0,05, linha n1 = 10, coluna n2 = 10 dá 23. "
        "Rejeita-se H0 quando U é **menor ou igual** ao valor da tabela. \"—\" quer "
        "dizer que, com amostras tão pequenas, nenhum U atinge esse nível. Cada nível "
        "está dividido em dois blocos de colunas (n2 = 2 a 11 e n2 = 12 a 20).",
        "**Como foi calculada.** Por enumeração exata: sob H0 todas as C(n1 + n2, n1) "
        "maneiras de repartir os postos entre as duas amostras são igualmente "
        "prováveis, e a distribuição de U é contada exatamente pela recorrência "
        "sobre o maior valor combinado (inteiros, sem aproximação). O valor da "
        "tabela é o maior U com P(U ≤ valor) ≤ α/2, isto é, o valor conservador do "
        "teste bilateral ao nível α (para um teste unilateral, a tabela de 0,05 "
        "serve ao nível 0,025 e a de 0,01 ao nível 0,005). Vale para dados sem "
        "empates.",
    ]
    for a in MW_ALPHAS:
        parts.append(f"## α = {alpha_txt(a)} (bilateral) {{#alfa-{alpha_txt(a).replace(',', '')}}}")
        for blk in [MW_SIZES[:10], MW_SIZES[10:]]:
            parts.append(f"**α = {alpha_txt(a)}, n2 = {blk[0]} a {blk[-1]}** (linhas: n1)")
            rows = []
            for n1 in MW_SIZES:
                cells = []
                for n2 in blk:
                    u = mann_whitney_critical(n1, n2, a)
                    cells.append("—" if u is None else str(u))
                rows.append([str(n1)] + cells)
            parts.append(table(["n1"] + [str(n) for n in blk], rows))
    parts.append(HEAD_NOTE)
    return page("Tabela de Mann-Whitney (U, bilateral)", parts)


KS_ALPHAS = [0.20, 0.10, 0.05, 0.02, 0.01]
KS_NS = list(range(1, 36))


def page_ks(stats):
    rows = [[str(n)] + [fmt(stats.kstwo.isf(a, n), 3) for a in KS_ALPHAS] for n in KS_NS]
    header = ["N"] + ["α = " + alpha_txt(a) for a in KS_ALPHAS]
    return page("Tabela de Kolmogorov-Smirnov (D, uma amostra)", [
        "Usada pelo aplicativo 10 (Teste Kolmogorov-Smirnov). O programa mostra "
        "\"Dc =\", a maior diferença, em valor absoluto, entre as proporções "
        "acumuladas observadas e as teóricas (um número entre 0 e 1), e, quando a "
        "soma N das frequências observadas é 35 ou menos, \"Dt (ver tabela)\". "
        "Esta tabela dá esse Dt na mesma forma: uma proporção, comparável "
        "diretamente com Dc.",
        "**Como ler.** Procure a linha N (a soma das frequências observadas que você "
        "digitou) e a coluna α. Exemplo: linha N = 10, coluna α = 0,05 dá 0.409. "
        "Rejeita-se H0 (os dados seguem a distribuição teórica) quando Dc é maior "
        "ou igual ao valor da tabela.",
        "Com N acima de 35 o próprio programa calcula Dt = 1.36/√N, o valor "
        "aproximado para α = 0,05 (para α = 0,01 o valor aproximado é 1.63/√N).",
        "**Como foi calculada.** Cada valor é o quantil da distribuição exata da "
        "estatística bilateral D de Kolmogorov-Smirnov para uma amostra de tamanho "
        "N, tal que P(D ≥ valor) = α (SciPy, `scipy.stats.kstwo.isf(α, N)`). Essa "
        "distribuição supõe uma variável contínua; com os dados agrupados em "
        "classes, como no programa, o teste fica conservador (rejeita um pouco "
        "menos do que α). Arredondado para 3 casas, como o programa mostra Dc. "
        + POINT_NOTE,
        table(header, rows),
        HEAD_NOTE,
    ])


SP_NS = list(range(5, 31))
SP_ALPHAS = [0.10, 0.05, 0.02, 0.01]   # two-tailed
SP_EXACT_MAX = 16


def spearman_exact_critical(counts, n, alpha2):
    """Smallest rs with P(rs_X >= rs) <= alpha2/2, from the counts of S = sum d²."""
    a = Fraction(alpha2).limit_denominator(1000) / 2
    s = lower_critical(counts, a)     # rs >= r  <=>  S <= s
    if s is None:
        return None
    return 1 - Fraction(6 * s, n * n * n - n)


def spearman_fourth_moment(n):
    """E[rs**4] under H0 (exact; the variance is 1/(n - 1))."""
    return Fraction(3 * (25 * n ** 3 - 38 * n ** 2 - 35 * n + 72),
                    25 * n * (n + 1) * (n - 1) ** 3)


def spearman_edgeworth_tail(stats, n, r):
    """P(rs >= r) by the Edgeworth series with the exact variance and fourth
    moment of rs, and a continuity correction of half the step between
    neighbouring values of rs (12/(n**3 - n))."""
    step = 12 / (n ** 3 - n)
    x = (r - step / 2) * math.sqrt(n - 1)
    excess = float(spearman_fourth_moment(n)) * (n - 1) ** 2 - 3
    return stats.norm.sf(x) + stats.norm.pdf(x) * excess / 24 * (x ** 3 - 3 * x)


def spearman_approx_critical(stats, n, alpha2):
    """Smallest attainable rs whose approximate upper tail is <= alpha2/2."""
    best = None
    for s in range(0, n * (n * n - 1) // 3 + 1, 2):
        r = 1 - Fraction(6 * s, n ** 3 - n)
        if spearman_edgeworth_tail(stats, n, float(r)) <= alpha2 / 2:
            best = r
        else:
            break
    return best


def page_spearman(stats):
    rows = []
    for n in SP_NS:
        if n <= SP_EXACT_MAX:
            counts = spearman_counts(n)
            cells = [spearman_exact_critical(counts, n, a) for a in SP_ALPHAS]
            cells = ["—" if c is None else fmt(float(c), 3) for c in cells]
            how = "exato"
        else:
            cells = [spearman_approx_critical(stats, n, a) for a in SP_ALPHAS]
            cells = ["—" if c is None else fmt(float(c), 3) for c in cells]
            how = "aprox."
        rows.append([str(n)] + cells + [how])
    header = (["n"] + [f"α = {alpha_txt(a)}" for a in SP_ALPHAS] + ["cálculo"])
    return page("Tabela de Spearman (rs, bilateral)", [
        "Usada pelo aplicativo 14 (Correlação de Spearman), que mostra "
        "\"Coeficiente de SPEARMAN =\" e \"t =\". Com 9 pares ou menos o t aparece "
        "como asteriscos e a decisão só pode ser tomada por esta tabela; com 10 ou "
        "mais pares pode-se também comparar o t com a [tabela t](t-student.md) na "
        "linha ν = N − 2.",
        "**Como ler.** Procure a linha n (o número de pares) e a coluna α "
        "(bilateral). Exemplo: linha n = 10, coluna α = 0,05 dá 0.648. Rejeita-se "
        "H0 (ausência de correlação) quando o |rs| calculado é **maior ou igual** ao "
        "valor da tabela. \"—\" quer dizer que, com tão poucos pares, nenhum rs "
        "atinge esse nível. Para um teste unilateral ao nível α use a coluna 2α.",
        f"**Como foi calculada.** Para n ≤ {SP_EXACT_MAX} (coluna \"exato\"), por "
        "enumeração exata das n! permutações dos postos, igualmente prováveis sob "
        "H0: a distribuição da soma dos quadrados das diferenças de postos é contada "
        "exatamente, e o valor da tabela é o menor rs com P(rs ≥ valor) ≤ α/2 (o "
        "valor conservador). Arredondado para 3 casas, como o programa mostra rs. "
        f"A partir de n = {SP_EXACT_MAX + 1} (coluna \"aprox.\") a enumeração "
        "completa fica longa demais e a tabela usa a série de Edgeworth, com a "
        "variância e o quarto momento exatos de rs e correção de continuidade, "
        "escolhendo entre os valores que rs pode assumir o menor cuja "
        "probabilidade aproximada não passa de α/2. Comparada com a enumeração "
        "exata de n = 10 a 16, essa aproximação ficou no máximo 0,025 acima do "
        "valor exato (igual em 8 das 20 casas de n = 12 a 16) e só numa casa "
        "abaixo dele (n = 11, α = 0,10: 0.527 em vez de 0.536). O t que o "
        "programa mostra (comparado com a tabela t) é um pouco menos rigoroso que "
        "esta tabela: quando os dois discordam, a decisão desta tabela é a mais "
        "segura.",
        "Vale para dados sem empates. " + POINT_NOTE,
        table(header, rows),
        HEAD_NOTE,
    ])


KW_ALPHAS = [0.10, 0.05, 0.01]


def kw_size_rows():
    out = []
    for a in range(2, 6):
        for b in range(1, a + 1):
            for c in range(1, b + 1):
                out.append((a, b, c))
    return out


def round2(x):
    """x (a Fraction) rounded to 2 decimals, half away from zero, exactly."""
    return math.floor(x * 100 + Fraction(1, 2))


def kruskal_wallis_critical(sizes, alpha):
    return upper_critical(kruskal_wallis_distribution(sizes),
                          Fraction(alpha).limit_denominator(1000))


def page_kruskal_wallis(stats):
    rows = []
    for sizes in kw_size_rows():
        dist = kruskal_wallis_distribution(sizes)
        cells = []
        for a in KW_ALPHAS:
            crit = upper_critical(dist, Fraction(a).limit_denominator(1000))
            if crit is None:
                cells.append("—")
                continue
            cell = f"{float(crit[0]):.4f} (p = {float(crit[1]):.4f})"
            # The program shows H with two decimals: mark the cells where the
            # next smaller achievable H shows the same two decimals.
            if crit[2] is not None and round2(crit[2]) == round2(crit[0]):
                cell += " *"
            cells.append(cell)
        label = "–".join(str(s) for s in sizes)
        if sizes[0] == sizes[1] == sizes[2]:
            label = f"**{label}**"
        rows.append([label] + cells)
    header = ["n1–n2–n3"] + [f"α = {alpha_txt(a)}" for a in KW_ALPHAS]
    chi_row = [fmt(stats.chi2.isf(a, 2), 3) for a in KW_ALPHAS]
    return page("Tabela de Kruskal-Wallis (H, três grupos)", [
        "Usada pelo aplicativo 15 (Teste de Kruskal-Wallis), que mostra \"H =\" e os "
        "graus de liberdade (número de tratamentos menos 1). O programa exige o "
        "mesmo número de repetições em todos os tratamentos, por isso as linhas de "
        "grupos iguais (2–2–2, 3–3–3, 4–4–4 e 5–5–5, em negrito) são as que ele "
        "usa; as demais ficam para quem fizer o cálculo à mão.",
        "**Como ler.** Com três tratamentos de até cinco repetições cada, procure a "
        "linha dos tamanhos dos grupos (n1–n2–n3, do maior para o menor) e a coluna "
        "α. Exemplo: linha 5–5–5, coluna α = 0,05 dá 5.7800. Rejeita-se H0 quando H "
        "é **maior ou igual** ao valor da tabela. Entre parênteses está a "
        "probabilidade exata P(H ≥ valor), sempre menor ou igual a α. \"—\" quer "
        "dizer que nenhum valor de H atinge esse nível.",
        "O programa mostra H com 2 casas decimais (5.78 para 5.7800): compare o H "
        "mostrado com o valor da tabela arredondado a 2 casas. Nas casas marcadas "
        "com \"*\" o valor de H logo abaixo do crítico também aparece com as mesmas "
        "2 casas; se o H mostrado for exatamente esse número, a decisão depende das "
        "casas que não aparecem: não rejeite H0 sem recalcular H com mais casas.",
        "**Mais de cinco repetições, ou mais de três tratamentos.** Compare H com a "
        "[tabela do qui-quadrado](qui-quadrado.md) na linha ν = graus de liberdade "
        "mostrados pelo programa (número de tratamentos − 1). Para três tratamentos "
        f"(ν = 2) os valores são {chi_row[0]} (α = 0,10), {chi_row[1]} (α = 0,05) e "
        f"{chi_row[2]} (α = 0,01).",
        "**Como foi calculada.** Por enumeração exata: sob H0 todas as maneiras de "
        "repartir os postos 1 a N entre os grupos com os tamanhos dados são "
        "igualmente prováveis; a distribuição de H (calculado em frações exatas, "
        "sem correção para empates, como no programa) é contada por completo. O "
        "valor da tabela é o menor H atingível com P(H ≥ valor) ≤ α (o valor "
        "conservador). Arredondado para 4 casas. " + POINT_NOTE,
        table(header, rows),
        HEAD_NOTE,
    ])


Q_ALPHAS = [0.05, 0.01]
Q_KS = list(range(2, 21))
Q_NUS = list(range(1, 21)) + [24, 30, 40, 60, 120, INF]


def page_tukey(stats):
    parts = [
        "Usada pelo aplicativo 17 (Potencial agregativo/discriminativo), no caso de "
        "caracteres medidos: o programa pede \"Informar o valor tabelar de 'q' do "
        "Teste de Tukey\" e mostra \"Tratamentos =\" (o número de espécies) e "
        "\"G.L.residual =\". Serve também para comparar médias depois das análises "
        "de variância.",
        "**Como ler.** Escolha o nível (α = 0,05 é o usual). A coluna k é o número "
        "de tratamentos (\"Tratamentos =\") e a linha ν são os graus de liberdade do "
        "resíduo (\"G.L.residual =\"). Exemplo: α = 0,05, linha ν = 10, coluna k = 3 "
        "dá 3.877; digite 3.877. Se o seu ν não está na tabela (por exemplo 27), use "
        "a linha do ν menor mais próximo (ν = 24): o valor é um pouco maior e a "
        "decisão fica do lado seguro. Cada nível está dividido em dois blocos de "
        "colunas (k = 2 a 11 e k = 12 a 20).",
        "**Como foi calculada.** Cada valor é o quantil q da distribuição da "
        "amplitude studentizada com k médias e ν graus de liberdade tal que "
        "P(Q ≥ q) = α (SciPy, `scipy.stats.studentized_range.ppf(1 − α, k, ν)`, "
        "integração numérica). Arredondado para 3 casas. " + POINT_NOTE,
    ]
    for a in Q_ALPHAS:
        parts.append(f"## α = {alpha_txt(a)} {{#alfa-{alpha_txt(a).replace(',', '')}}}")
        for blk in [Q_KS[:10], Q_KS[10:]]:
            parts.append(f"**α = {alpha_txt(a)}, k = {blk[0]} a {blk[-1]}** (linhas: ν)")
            cols = {k: q_column(stats, a, k, Q_NUS) for k in blk}
            rows = [[nu_label(nu)] + [fmt(cols[k][nu], 3) for k in blk] for nu in Q_NUS]
            parts.append(table(["ν"] + [str(k) for k in blk], rows))
    parts.append(HEAD_NOTE)
    return page("Tabela de Tukey (q, amplitude studentizada)", parts)


def page_index():
    items = [
        ("t-student.md", "t de Student (bilateral)", "aplicativos 2, 3 e 14"),
        ("f.md", "F (α = 0,05 e 0,01)", "aplicativos 2, 4, 5 e 6"),
        ("qui-quadrado.md", "Qui-quadrado (χ²)", "aplicativos 9 e 15"),
        ("kolmogorov-smirnov.md", "Kolmogorov-Smirnov (D)", "aplicativo 10"),
        ("wilcoxon.md", "Wilcoxon (T)", "aplicativo 12"),
        ("mann-whitney.md", "Mann-Whitney (U)", "aplicativo 13"),
        ("spearman.md", "Spearman (rs)", "aplicativo 14"),
        ("kruskal-wallis.md", "Kruskal-Wallis (H)", "aplicativo 15"),
        ("tukey-q.md", "Tukey (q)", "aplicativo 17, caracteres medidos"),
    ]
    rows = [[f"[{title}]({name})", used] for name, title, used in items]
    return page("Tabelas de valores críticos", [
        "Quando o programa mostra uma estatística e deixa a decisão para uma tabela "
        "(\"Ver Tabela para N =\", \"Dt (ver tabela)\", o valor tabelar de 't' ou de "
        "'q'), a tabela está aqui. Cada página diz qual tela a usa, como ler a linha "
        "e a coluna, e como os valores foram calculados.",
        table(["Tabela", "Usada por"], rows),
        "Todas as tabelas são calculadas por programa (`tools/tables.py`): as "
        "distribuições contínuas pela biblioteca SciPy, as estatísticas de postos "
        "(Wilcoxon, Mann-Whitney, Spearman, Kruskal-Wallis) por enumeração exata de "
        "todas as ordenações possíveis. Para as estatísticas discretas o valor "
        "tabelado é o conservador: a probabilidade exata de erro nunca passa do α "
        "da coluna. " + POINT_NOTE,
        "[Voltar ao tutorial](../index.md)",
    ])


PAGES = [
    ("index.md", lambda s: page_index()),
    ("t-student.md", page_t),
    ("f.md", page_f),
    ("qui-quadrado.md", page_chi2),
    ("kolmogorov-smirnov.md", page_ks),
    ("wilcoxon.md", lambda s: page_wilcoxon()),
    ("mann-whitney.md", lambda s: page_mann_whitney()),
    ("spearman.md", page_spearman),
    ("kruskal-wallis.md", page_kruskal_wallis),
    ("tukey-q.md", page_tukey),
]


def generate(out_dir, verbose=True):
    stats = scipy_stats()
    os.makedirs(out_dir, exist_ok=True)
    for name, build in PAGES:
        start = time.monotonic()
        text = build(stats)
        with open(os.path.join(out_dir, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        if verbose:
            print(f"{name}: {time.monotonic() - start:.1f} s", file=sys.stderr)


def check(committed_dir):
    with tempfile.TemporaryDirectory() as tmp:
        generate(tmp)
        bad = []
        for name, _ in PAGES:
            new = open(os.path.join(tmp, name), encoding="utf-8").read()
            path = os.path.join(committed_dir, name)
            old = open(path, encoding="utf-8").read() if os.path.exists(path) else ""
            if new != old:
                bad.append(name)
                diff = difflib.unified_diff(old.splitlines(), new.splitlines(),
                                            "committed/" + name, "generated/" + name,
                                            lineterm="", n=0)
                print("\n".join(list(diff)[:40]))
        if bad:
            print("The committed tables differ from what tools/tables.py generates: "
                  + ", ".join(bad) + ". Run tools/tables.py and commit the result.")
            return 1
        print(f"All {len(PAGES)} tables match what tools/tables.py generates.")
        return 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", default=DEFAULT_OUT, help="directory to write the tables into")
    ap.add_argument("--check", action="store_true",
                    help="regenerate into a temporary directory and compare")
    args = ap.parse_args()
    try:
        import scipy  # noqa: F401
    except ImportError:
        print("SKIPPED: SciPy is not installed (Debian package python3-scipy); "
              "the tables cannot be generated or checked.")
        return SKIP
    if args.check:
        return check(args.out)
    generate(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
