#!/usr/bin/env python3
"""Writes a seeded synthetic city table as CSV, drawn by the rules of SyntheticTable.cpp (two
places in five there from the first date, the others entering later and smaller, one in
twenty exiting; lognormal sizes growing by Gibrat's law), and prints, for every date, the
count of places present and their total, counted here as the table is written: the figures
the program must give back when it reads the file.

    bench/write-table.py PLACES DATES OUT.csv [SEED]
"""
import math
import random
import sys


def main():
    places, dates, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    gen = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 20261207)
    years = [2010 - 5 * (dates - t) for t in range(1, dates + 1)]
    count = [0] * dates
    total = [0] * dates
    with open(out, "w", newline="") as f:
        f.write("name,region,id," + ",".join(str(y) for y in years) + "\n")
        for k in range(places):
            region = 1 + int(gen.random() * 50)
            founding = gen.random() < 0.4
            entry = 1 if founding else 2 + int(gen.random() * (dates - 1))
            exit_ = entry + 1 + int(gen.random() * dates) if gen.random() < 0.05 else dates + 1
            size = math.exp(math.log(3000.0 if founding else 800.0) + 1.3 * gen.gauss(0, 1))
            drift = 0.01 * gen.gauss(0, 1)
            cells = []
            for t in range(1, dates + 1):
                if t > entry:
                    size *= math.exp(0.02 + drift + 0.08 * gen.gauss(0, 1))
                if t < entry or t >= exit_:
                    cells.append("")
                    continue
                v = max(1, round(size))
                count[t - 1] += 1
                total[t - 1] += v
                cells.append(str(v))
            f.write("Place %d,Region %d,%d,%s\n" % (k + 1, region, 100001 + k, ",".join(cells)))
    for y, n, s in zip(years, count, total):
        print(y, n, s)


main()
