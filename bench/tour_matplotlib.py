#!/usr/bin/python3
"""The export tour's 26 figures drawn with matplotlib, as PNG and SVG, for timing against
`citysize export`. Same figure count, size (600 x 600 px) and about the same number of lines
per figure; the shapes are close, not identical. Usage: tour_matplotlib.py USData.csv OUTDIR"""
import csv, math, os, sys
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt

data_file, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
with open(data_file, newline="") as f:
    rows = [(r[0], [float(v) for v in r[1:]]) for r in csv.reader(f) if r]
years = [1790 + 10 * t for t in range(len(rows[0][1]))]
ranks = []  # per date: populations, largest first
for t in range(len(years)):
    ranks.append(sorted((p[t] for _, p in rows if p[t] > 0), reverse=True))

def save(fig, name):
    fig.savefig(os.path.join(out, name + ".png"), dpi=100)
    fig.savefig(os.path.join(out, name + ".svg"))
    plt.close(fig)

def curves(name, log=True, n=None):
    fig, ax = plt.subplots(figsize=(6, 6))
    for t, pops in enumerate(ranks):
        pops = pops[:n] if n else pops
        ax.plot(range(1, len(pops) + 1), pops, lw=1, color=plt.cm.jet(t / len(ranks)))
    if log:
        ax.set_xscale("log"); ax.set_yscale("log")
    ax.set_xlabel("Rank"); ax.set_ylabel("Population")
    save(fig, name)

def spirel(name, paths):
    fig = plt.figure(figsize=(6, 6))
    ax = fig.add_subplot(projection="polar")
    theta = [2 * math.pi * t / len(years) for t in range(len(years))]
    for k, (_, p) in enumerate(paths):
        r = [sum(1 for q in ranks[t] if q > p[t]) + 1 if p[t] > 0 else float("nan") for t in range(len(years))]
        ax.plot(theta, r, lw=1.5, color=plt.cm.jet(k / max(1, len(paths))))
    ax.set_xticks(theta); ax.set_xticklabels(years)
    save(fig, name)

curves("01-Rank")
fig, ax = plt.subplots(figsize=(6, 6)); ax.plot(years, [sum(p) for p in ranks]); save(fig, "02-DataProperties")
for name in ("03-SizeRank", "04-CumRankSize", "05-CumSizeRank", "06-RankShift", "07-RankSpace"):
    curves(name)
curves("08-RankChange", log=False); curves("09-PopChange", log=False)
curves("10-Zipf", n=100); curves("11-NextGraph", n=100)
top = sorted(rows, key=lambda r: -max(r[1]))[:101]
for k in range(12, 19):
    spirel("%02d-RankSpirel" % k, top)
for k, city in zip(range(19, 22), ("New York City, NY", "Chicago, IL", "Los Angeles, CA")):
    spirel("%02d-PlotCity" % k, [r for r in rows if r[0] == city])
spirel("22-DistancePlot", top)
curves("23-HalfLives", log=False, n=25)
for name in ("28-RankShiftSpirel", "29-InfoSpirel", "33-PopSpirel"):
    spirel(name, top[:4])
