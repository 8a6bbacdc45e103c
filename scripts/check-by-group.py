#!/usr/bin/python3
"""Recomputes By-Group from the raw CSV with numpy/scipy and compares it with the
program's CSV, cell by cell.

  /usr/bin/python3 scripts/check-by-group.py un  data/un-wup2018-f12-cities-1950-2035.csv BYGROUP.csv
  /usr/bin/python3 scripts/check-by-group.py us  data/us-places-1790-2010.csv BYGROUP.csv

Reads the table itself (UN: "Country or area", populations in thousands with blanks as
thousands separators; us-places: "ST", one column per census, 0 or empty = absent)."""
import csv
import io
import math
import sys

import numpy as np
from scipy import stats


def read_table(kind, path):
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8-sig")
    except UnicodeDecodeError:
        text = raw.decode("cp1252")
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    rows = list(csv.reader(io.StringIO(text)))
    head = rows[0]
    if kind == "un":
        gcol, ncol, unit = head.index("Country or area"), head.index("Urban Agglomeration"), 1000
    else:
        gcol, ncol, unit = head.index("ST"), head.index("CityST"), 1
    years, cols = [], []
    for k, h in enumerate(head):
        if h.strip().isdigit() and len(h.strip()) == 4 and int(h) not in years:
            years.append(int(h))
            cols.append(k)
    places = []
    for r in rows[1:]:
        if len(r) < len(head) // 2:
            continue
        vals = []
        for k in cols:
            t = r[k].replace(" ", "").replace("\u00a0", "").replace(",", "") if k < len(r) else ""
            v = float(t) * unit if t not in ("", "-", "..") else 0.0
            vals.append(v if v > 0 else 0.0)
        places.append((r[gcol].strip(), r[ncol].strip(), vals))
    return years, places


def ks_fit(x, min_tail):
    x = np.sort(np.asarray(x, float))
    n = len(x)
    best = None
    for i in range(0, n - min_tail + 1):
        if i > 0 and x[i] == x[i - 1]:
            continue
        tail = x[i:]
        s = np.sum(np.log(tail / x[i]))
        if not s > 0:
            continue
        nt = n - i
        alpha = 1 + nt / s
        P = 1 - (tail / x[i]) ** (1 - alpha)
        d = np.max(np.abs(np.arange(nt) / nt - P))
        if best is None or d < best[0] - 1e-12:
            best = (d, x[i], nt, alpha - 1)
    return best


def main():
    kind, data, produced = sys.argv[1:4]
    min_places, min_tail = 10, 10
    years, places = read_table(kind, data)
    got = {}
    with open(produced, newline="") as f:
        for r in csv.DictReader(f):
            got[(r["Group"], int(r["Year"]))] = r
    want = {}
    for g in sorted({p[0] for p in places if p[0]}):
        members = [p for p in places if p[0] == g]
        for t, y in enumerate(years):
            present = [(p[2][t], p[1]) for p in members if p[2][t] > 0]
            if len(present) < min_places:
                continue
            x = np.array([v for v, _ in present])
            n = len(x)
            tot = x.sum()
            xs = np.sort(x)[::-1]
            gini = np.abs(x[:, None] - x[None, :]).sum() / (2 * n * n * x.mean())
            reg = stats.linregress(np.log(xs), np.log(np.arange(1, n + 1) - 0.5))
            z = -reg.slope
            row = {"n": n, "Total": tot, "Largest": present[int(np.argmax(x))][1],
                   "LargestShare": xs[0] / tot, "S1_S2": xs[0] / xs[1], "HHI": np.sum((x / tot) ** 2),
                   "Gini": gini, "zeta_GI": z, "SE_GI": z * math.sqrt(2 / n)}
            fit = ks_fit(x, min_tail) if n >= min_tail else None
            if fit:
                d, xmin, nt, zeta = fit
                row.update({"x_min": xmin, "n_tail": nt, "zeta_MLE": zeta, "SE_MLE": zeta / math.sqrt(nt)})
            want[(g, y)] = row
    problems = 0
    if set(want) != set(got):
        print("rows only here:", sorted(set(want) - set(got))[:10], "only in the program:", sorted(set(got) - set(want))[:10])
        problems += 1
    worst = 0.0
    for key in sorted(set(want) & set(got)):
        w, r = want[key], got[key]
        for col in ["n", "Total", "LargestShare", "S1_S2", "HHI", "Gini", "zeta_GI", "SE_GI",
                    "x_min", "n_tail", "zeta_MLE", "SE_MLE"]:
            if col not in w:
                if r[col] != "":
                    print(key, col, "expected an empty cell, got", r[col]); problems += 1
                continue
            a, b = float(w[col]), float(r[col])
            rel = abs(a - b) / max(abs(a), 1e-300)
            worst = max(worst, rel)
            if rel > 1e-9:
                print(key, col, "expected", a, "got", b); problems += 1
        if not (r["Largest"] == w["Largest"] or r["Largest"].startswith(w["Largest"] + " (") or r["Largest"].startswith(w["Largest"] + ", ")):
            print(key, "Largest expected", w["Largest"], "got", r["Largest"]); problems += 1
    print(f"{len(want)} rows, {len(got)} in the program; largest relative difference {worst:.2e}; {problems} problems")
    z15 = sorted(((w["zeta_GI"], g) for (g, y), w in want.items() if y == 2015 and w["n"] >= 20))
    if z15:
        print("2015, >= 20 places, smallest zeta_GI:", [(g, round(z, 3)) for z, g in z15[:5]])
        print("2015, >= 20 places, largest zeta_GI:", [(g, round(z, 3)) for z, g in z15[-5:]])
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
