#!/usr/bin/python3
"""Independent cross-check of Dist-Fit's maximum-likelihood fits with scipy.

Usage: scripts/check-dist-fit.py DATA.csv FITS.csv [YEAR ...]
  DATA.csv  data/USData.csv (no header: name then one column per census 1790..2000) or
            data/us-places-1790-2010.csv (header; a column per census year)
  FITS.csv  the first table written by `citysize run --data DATA.csv ReadData DistFit --csv FITS.csv`

For each date (or the years given) and each law it prints
  the program's logL, this script's log-likelihood at the program's parameters (own log-densities),
  this script's own maximum (scipy multi-start, switch point searched independently),
  and the KS distance at the program's parameters with this script's CDFs.
The densities below are written from the published formulas, not from the program's code.
"""
import csv
import math
import sys

import numpy as np
from scipy import optimize, special, stats

LOG2PI = math.log(2 * math.pi)


def samples(path):
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    if rows[0][1].strip().lstrip("-").replace(".", "").isdigit():  # no header: USData
        years = list(range(1790, 1790 + 10 * (len(rows[0]) - 1), 10))
        cols = list(range(1, len(rows[0])))
        body = rows
    else:
        head = rows[0]
        cols = [j for j, h in enumerate(head) if h.strip().isdigit() and 1700 < int(h) < 2100]
        years = [int(head[j]) for j in cols]
        body = rows[1:]
    out = {}
    for y, j in zip(years, cols):
        v = []
        for r in body:
            try:
                x = float(r[j])
            except (ValueError, IndexError):
                continue
            if x > 0:
                v.append(x)
        out[y] = np.sort(np.array(v))
    return out


# ---- log-densities of x and CDFs --------------------------------------------------------
def ln_logpdf(x, mu, s):
    y = np.log(x)
    return stats.norm.logpdf(y, mu, s) - y


def ln_cdf(x, mu, s):
    return stats.norm.cdf(np.log(x), mu, s)


def term(d, s, expo, z):
    """expo + ln Phi(z), where expo = z^2/2 - d^2/(2 s^2)."""
    with np.errstate(all="ignore"):
        mills = np.log(math.sqrt(math.pi / 2) * special.erfcx(-z / math.sqrt(2)))  # ln(Phi(z)/phi(z))
        return np.where(z < 0, stats.norm.logpdf(d / s) + mills, expo + special.log_ndtr(z))


def dpln_logpdf(x, mu, s, a, b):
    y = np.log(x)
    if s == 0:
        if math.isinf(b):
            # support from e^mu on; mu as printed may be the smallest ln x give or take an ulp
            return np.where(y >= mu - 1e-12, math.log(a) - a * np.maximum(y - mu, 0) - y, -np.inf)
        return math.log(a * b / (a + b)) - y + np.where(y >= mu, -a * (y - mu), b * (y - mu))
    # x^(-a-1) e^(a mu + a^2 s^2 / 2) Phi(p) and x^(b-1) e^(-b mu + b^2 s^2 / 2) Phi(-q), in logs;
    # where the Phi argument is far below 0 the exponent and ln Phi nearly cancel, so the
    # term is written there as the normal density over the Mills ratio (Phi(z) / phi(z)).
    d = y - mu
    t1 = term(d, s, -a * d + a * a * s * s / 2, d / s - a * s) - y
    if math.isinf(b):
        return math.log(a) + t1
    t2 = term(d, s, b * d + b * b * s * s / 2, -(d / s + b * s)) - y
    return math.log(a * b / (a + b)) + np.logaddexp(t1, t2)


def dpln_cdf(x, mu, s, a, b):
    y = np.log(x)
    if s == 0:
        if math.isinf(b):
            return np.where(y >= mu, 1 - np.exp(-a * (y - mu)), 0.0)
        return np.where(y >= mu, 1 - b / (a + b) * np.exp(-a * (y - mu)), a / (a + b) * np.exp(b * (y - mu)))
    w = (y - mu) / s
    d = y - mu
    up = np.exp(term(d, s, -a * d + a * a * s * s / 2, w - a * s))
    F = stats.norm.cdf(w) - (1.0 if math.isinf(b) else b / (a + b)) * up
    if not math.isinf(b):
        F += a / (a + b) * np.exp(term(d, s, b * d + b * b * s * s / 2, -(w + b * s)))
    return F


def lp_weight(mu, s, a, t):
    """Body weight w from continuity: w f(t)/F(t) = (1 - w) a / t."""
    zt = (math.log(t) - mu) / s
    h = math.exp(stats.norm.logpdf(zt) - stats.norm.logcdf(zt)) / s  # t f_LN(t) / F_LN(t)
    return a / (a + h)


def lp_logpdf(x, mu, s, a, t):
    w = lp_weight(mu, s, a, t)
    zt = (math.log(t) - mu) / s
    body = math.log(w) + ln_logpdf(x, mu, s) - stats.norm.logcdf(zt)
    tail = math.log1p(-w) + math.log(a) + a * math.log(t) - (a + 1) * np.log(x)
    return np.where(x < t, body, tail)


def lp_cdf(x, mu, s, a, t):
    w = lp_weight(mu, s, a, t)
    zt = (math.log(t) - mu) / s
    body = w * np.exp(stats.norm.logcdf((np.log(x) - mu) / s) - stats.norm.logcdf(zt))
    return np.where(x < t, body, 1 - (1 - w) * (t / x) ** a)


def kink_logpdf(x, b, a, t):
    """The limit of the lognormal-Pareto as sigma -> inf with (mu - ln t)/sigma^2 = b: a power
    law b x^(b-1)/t^b below t (weight a/(a+b)) and the Pareto tail above."""
    w = a / (a + b)
    return np.where(x < t, math.log(w * b) + (b - 1) * np.log(x) - b * math.log(t),
                    math.log((1 - w) * a) + a * math.log(t) - (a + 1) * np.log(x))


# ---- fits ---------------------------------------------------------------------------------
def maximise(f, starts):
    best = (-np.inf, None)
    for x0 in starts:
        for method in ("Nelder-Mead", "Powell"):
            try:
                r = optimize.minimize(lambda p: -f(p), x0, method=method,
                                      options={"xatol": 1e-10, "fatol": 1e-11, "maxiter": 20000, "maxfev": 20000}
                                      if method == "Nelder-Mead" else {"xtol": 1e-10, "ftol": 1e-13, "maxfev": 20000})
            except Exception:
                continue
            if np.isfinite(r.fun) and -r.fun > best[0]:
                best = (-r.fun, r.x)
            x0 = r.x if np.isfinite(r.fun) else x0
    return best


def safe(v):
    v = float(v)
    return v if np.isfinite(v) else -1e300


def sane(p):
    """mu within the data's range of logs widened, the logs of sigma, alpha, beta bounded."""
    return abs(p[0]) < 40 and -40 < p[1] < 4 and all(-8 < v < 40 for v in p[2:])


def fit_dpln(x):
    y = np.log(x)
    m, sd = y.mean(), y.std()
    f = lambda p: safe(np.sum(dpln_logpdf(x, p[0], math.exp(p[1]), math.exp(p[2]), math.exp(p[3])))) if sane(p) else -1e300
    best = maximise(f, [[m, math.log(0.5 * sd), math.log(1.5), math.log(2)],
                        [m, math.log(0.2 * sd), math.log(1.0), math.log(4)],
                        [m - 0.5 * sd, math.log(0.8 * sd), math.log(2.5), math.log(1.5)],
                        [np.median(y), math.log(0.01), math.log(1.2), math.log(1.5)]])
    g = lambda p: safe(np.sum(dpln_logpdf(x, p[0], math.exp(p[1]), math.exp(p[2]), math.inf))) if sane(p) else -1e300
    best_inf = maximise(g, [[m - sd, math.log(0.5 * sd), math.log(1.5)], [y.min(), math.log(0.05), math.log(1.0)]])
    # sigma -> 0 is approached from inside; its end with beta infinite is the Pareto law from
    # the smallest value, whose MLE is textbook: alpha = n / sum ln(x / x_min)
    ymin = y.min()
    pareto = float(np.sum(dpln_logpdf(x, ymin, 0.0, len(y) / np.sum(y - ymin), math.inf)))
    return max(best[0], best_inf[0], pareto)


def lp_loglik(mu, s, a, t, nb, sy_b, syy_b, nt, sy_t):
    """The lognormal-Pareto log-likelihood from the body's and the tail's sums of y, y^2."""
    lt = math.log(t)
    zt = (lt - mu) / s
    log_Ft = special.log_ndtr(zt)
    h = math.exp(-zt * zt / 2 - 0.5 * LOG2PI - log_Ft) / s
    w = a / (a + h)
    if not (0 < w < 1):
        return -1e300
    body = nb * math.log(w) - sy_b - nb * math.log(s) - nb * 0.5 * LOG2PI \
        - (syy_b - 2 * mu * sy_b + nb * mu * mu) / (2 * s * s) - nb * log_Ft
    tail = nt * (math.log1p(-w) + math.log(a) + a * lt) - (a + 1) * sy_t
    return body + tail


def kink_loglik(b, a, t, nb, sy_b, nt, sy_t):
    lt = math.log(t)
    w = a / (a + b)
    return nb * (math.log(w * b) - b * lt) + (b - 1) * sy_b + nt * (math.log((1 - w) * a) + a * lt) - (a + 1) * sy_t


def fit_lp(x, min_above=10):
    y = np.log(x)
    n = len(y)
    m, sd = y.mean(), y.std()
    vals = np.unique(x)
    cand = [t for t in vals if np.sum(x > t) >= min_above and np.sum(x < t) >= 1]

    def at(t):
        below = x < t
        nb, sy_b, syy_b = int(below.sum()), float(y[below].sum()), float((y[below] ** 2).sum())
        nt, sy_t = n - nb, float(y[~below].sum())
        f = lambda p: safe(lp_loglik(p[0], math.exp(p[1]), math.exp(p[2]), t, nb, sy_b, syy_b, nt, sy_t))
        inner = maximise(f, [[m, math.log(sd), 0.0], [math.log(t), math.log(sd), 0.0]])[0]
        k = lambda p: safe(kink_loglik(math.exp(p[0]), math.exp(p[1]), t, nb, sy_b, nt, sy_t))
        kink = maximise(k, [[0.0, 0.0]])[0]
        return max(inner, kink)

    # Every candidate on small samples; on large ones a coarse pass, then every candidate
    # around the five best of it.
    if len(cand) <= 300:
        return max(at(t) for t in cand)
    step = max(1, len(cand) // 150)
    coarse = {i: at(cand[i]) for i in range(0, len(cand), step)}
    best = max(coarse.values())
    for i in sorted(coarse, key=coarse.get, reverse=True)[:5]:
        for j in range(max(0, i - step), min(len(cand), i + step + 1)):
            if j not in coarse:
                coarse[j] = at(cand[j])
                best = max(best, coarse[j])
    return best


def ks(x, cdf):
    n = len(x)
    F = cdf(x)
    i = np.arange(n)
    # ties: the empirical CDF at a value counts all its copies, just below none of them
    hi = np.searchsorted(x, x, side="right") / n
    lo = np.searchsorted(x, x, side="left") / n
    return float(np.max(np.maximum(np.abs(hi - F), np.abs(lo - F))))


def num(s):
    return math.inf if s == "inf" else (math.nan if s == "-" else float(s))


def main():
    data, fits = sys.argv[1], sys.argv[2]
    wanted = {int(a) for a in sys.argv[3:]}
    xs = samples(data)
    with open(fits, newline="") as f:
        rows = list(csv.DictReader(f))
    print("Year,Model,n,logL_program,logL_here_at_program_params,max_here,max_here_minus_program,KS_program,KS_here")
    for r in rows:
        year = int(r["Year"])
        if wanted and year not in wanted or r["logL"] == "-":
            continue
        x = xs[year]
        mu, s, a, b, t = (num(r[k]) for k in ("mu", "sigma", "alpha", "beta", "switch"))
        model = r["Model"]
        if model == "lognormal":
            at = np.sum(ln_logpdf(x, mu, s))
            here = np.sum(ln_logpdf(x, np.log(x).mean(), np.log(x).std()))
            k = ks(x, lambda v: ln_cdf(v, mu, s))
        elif model == "dpln":
            at = np.sum(dpln_logpdf(x, mu, s, a, b))
            here = fit_dpln(x)
            k = ks(x, lambda v: dpln_cdf(v, mu, s, a, b))
        else:
            at = np.sum(lp_logpdf(x, mu, s, a, t))
            here = fit_lp(x)
            k = ks(x, lambda v: lp_cdf(v, mu, s, a, t))
        print(f"{year},{model},{len(x)},{float(r['logL']):.6f},{at:.6f},{here:.6f},{here - float(r['logL']):.6f},"
              f"{float(r['KS']):.6f},{k:.6f}", flush=True)


if __name__ == "__main__":
    main()
