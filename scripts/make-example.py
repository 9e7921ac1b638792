#!/usr/bin/env python3
"""Writes examples/well-7.asc: an open-hole log of 3000 depth samples and 9 curves.

Deterministic (fixed seed, fixed formatting), so the committed file can be rebuilt
byte for byte: python3 scripts/make-example.py [OUTPUT]
"""
import math
import random
import sys

NULL = -999.25
ROWS = 3000
START = 1500.0
STEP = 0.125

HEADER = [
    "Well 7 - open hole logging run 1, main pass",
    "ACME Logging Services - field print, not depth shifted",
    "Recorded 14-Jun-2019, interval 1500.000 - 1874.875 M, depths from kelly bushing",
    "      DEPT        GR      NPHI      RHOB        DT      CALI       ILD        SP       PEF",
    "         M      GAPI       V/V      G/C3      US/M        MM      OHMM        MV       B/E",
]


def rows(rng):
    gr_base = 60.0
    for i in range(ROWS):
        depth = START + i * STEP
        # Alternating sand and shale beds of a few metres each.
        shale = 0.5 + 0.5 * math.sin(depth / 3.7) * math.cos(depth / 11.3)
        gr = gr_base + 70.0 * shale + rng.gauss(0.0, 4.0)
        nphi = 0.12 + 0.22 * shale + rng.gauss(0.0, 0.01)
        rhob = 2.62 - 0.25 * (1.0 - shale) * 0.6 + rng.gauss(0.0, 0.015)
        dt = 230.0 + 120.0 * shale + rng.gauss(0.0, 5.0)
        cali = 216.0 + 18.0 * shale + abs(rng.gauss(0.0, 2.5))
        ild = math.exp(math.log(2.0) + 2.6 * (1.0 - shale) + rng.gauss(0.0, 0.12))
        sp = -60.0 + 55.0 * shale + rng.gauss(0.0, 1.5)
        pef = 2.4 + 1.2 * shale + rng.gauss(0.0, 0.08)
        values = [depth, gr, nphi, rhob, dt, cali, ild, sp, pef]
        # Missing readings: the density tool starts late, the sonic skipped a
        # stretch, and a few single spikes were edited out.
        if i < 40:
            values[3] = NULL
            values[8] = NULL
        if 1210 <= i < 1265:
            values[4] = NULL
        if i % 487 == 233:
            values[6] = NULL
        if i >= ROWS - 12:
            values[2] = NULL
        yield values


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "examples/well-7.asc"
    rng = random.Random(7)
    decimals = [3, 2, 4, 4, 2, 2, 4, 2, 3]
    lines = list(HEADER)
    for values in rows(rng):
        cells = []
        for value, places in zip(values, decimals):
            text = "%.2f" % NULL if value == NULL else "%.*f" % (places, value)
            cells.append("%10s" % text)
        lines.append("".join(cells))
    with open(out, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("ascii"))


if __name__ == "__main__":
    main()
