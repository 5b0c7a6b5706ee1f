#!/usr/bin/env python3
"""Prints the benchmark table from hyperfine's JSON exports and the peak
memory files that scripts/bench leaves in DIR.

Usage: report.py DIR NAME... (the inputs; "random" and "single-digits" among them).
"""
import json
import sys
from pathlib import Path

PAUSE = 0.1  # the program's specified sleep, which the floor leaves out


def medians(path):
    return {r["command"].split()[0]: r["median"] for r in json.loads(path.read_text())["results"]}


def main():
    results, names = Path(sys.argv[1]), sys.argv[2:]
    rows = []
    for name in names:
        m = {}
        for part in ("numvera", "floor", "native"):
            m.update(medians(results / f"{name}-{part}.json"))
        rss = {p: int((results / f"{name}-{p}.rss").read_text()) / 1024 for p in ("numvera", "floor")}
        rows.append((name, m, rss))

    header = ("input", "Numvera s", "floor s", "bc s", "python s",
              "N/(floor+0.1)", "bc/N", "N MiB", "floor MiB", "N-floor MiB")
    lines = [header]
    for name, m, rss in rows:
        lines.append((name, f"{m['numvera']:.3f}", f"{m['floor']:.3f}", f"{m['bc']:.3f}", f"{m['python']:.3f}",
                      f"{m['numvera'] / (m['floor'] + PAUSE):.2f}", f"{m['bc'] / m['numvera']:.2f}",
                      f"{rss['numvera']:.1f}", f"{rss['floor']:.1f}", f"{rss['numvera'] - rss['floor']:.1f}"))
    widths = [max(len(line[i]) for line in lines) for i in range(len(header))]
    for i, line in enumerate(lines):
        print("| " + " | ".join(cell.ljust(w) if c == 0 else cell.rjust(w)
                                for c, (cell, w) in enumerate(zip(line, widths))) + " |")
        if i == 0:
            print("|" + "|".join("-" * (w + 2) if c == 0 else "-" * (w + 1) + ":"
                                 for c, w in enumerate(widths)) + "|")

    by_name = {name: m for name, m, _ in rows}
    ratio = by_name["single-digits"]["numvera"] / by_name["random"]["numvera"]
    print(f"\nNumvera single-digits / random: {ratio:.2f}")
    worst_floor = max(m["numvera"] / (m["floor"] + PAUSE) for _, m, _ in rows)
    worst_bc = min(m["bc"] / m["numvera"] for _, m, _ in rows)
    worst_rss = max(r["numvera"] - r["floor"] for _, _, r in rows)
    print("goals: N/(floor+0.1) <= 1.5: {}; bc/N >= 5: {}; single-digits/random <= 1.5: {}; "
          "N-floor <= 64 MiB: {}".format(
              "met" if worst_floor <= 1.5 else "not met", "met" if worst_bc >= 5 else "not met",
              "met" if ratio <= 1.5 else "not met", "met" if worst_rss <= 64 else "not met"))


if __name__ == "__main__":
    main()
