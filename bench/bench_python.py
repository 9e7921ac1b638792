#!/usr/bin/env python3
"""Speed and memory of corvane.read against numpy.loadtxt on the same data rows.

    bench_python [SIZE_MB:CURVES ...]     (default: 60:400 200:20)

Generates "<temp dir>/corvane-bench-python-<SIZE>MB-<CURVES>.las" (LAS 2.0, unwrapped,
CR LF, a null value now and then) when it is not there yet. Each reader runs in a
child process of its own, so that its peak resident memory is its own; the memory
of a reading is that peak less the process's size before it (Python, numpy, corvane).
Each reads the file twice (the arrays of the first freed first) and the faster time
counts, so that a busy moment of a shared machine weighs less.
Targets: corvane.read at least 3 times as fast as numpy.loadtxt, and its memory within
1.5 times the arrays it returns.
"""

import json
import os
import random
import subprocess
import sys
import tempfile

NULL = "-999.2500"
STEP = 0.125
START = 1000.0


def generate(path, size_mb, curves):
    target = int(size_mb * 1e6)
    if os.path.exists(path) and abs(os.path.getsize(path) - target) < target // 100:
        return
    rng = random.Random(curves)
    # 2000 distinct rows of readings after the depth, their texts used in turn.
    tails = []
    for _ in range(2000):
        cells = [NULL if rng.random() < 0.01 else "%.4f" % rng.uniform(-100, 1000) for _ in range(curves - 1)]
        tails.append(" " + " ".join("%10s" % c for c in cells) + "\r\n")
    header = ["~Version Information\r\n", " VERS.   2.00 : CWLS Log ASCII Standard - Version 2.00\r\n",
              " WRAP.     NO : One line per depth\r\n", "~Well Information\r\n",
              " STRT.M  %.4f : Start Depth\r\n" % START, " STOP.M  0.0000 : Stop Depth\r\n",
              " STEP.M  %.4f : Depth Increment\r\n" % STEP, " NULL.  %s : No Data Flag\r\n" % NULL,
              " WELL.  Bench 1 : WELL\r\n", "~Curve Information\r\n", " DEPT.M  : Depth\r\n"]
    header += [" C%d.UNIT  : Curve %d\r\n" % (c, c) for c in range(1, curves)]
    header.append("~A\r\n")
    written = 0
    row = 0
    with open(path + ".part", "w", newline="") as out:
        text = "".join(header)
        out.write(text)
        written += len(text)
        while written < target:
            block = []
            for _ in range(2000):
                line = "%10.4f" % (START + row * STEP) + tails[row % len(tails)]
                block.append(line)
                written += len(line)
                row += 1
            out.write("".join(block))
    os.replace(path + ".part", path)


def header_lines(path):
    with open(path, "rb") as source:
        for number, line in enumerate(source, 1):
            if line.startswith(b"~A"):
                return number
    raise SystemExit("bench_python: no ~A in " + path)


CHILD = r"""
import json, resource, sys, time
import numpy, corvane
def rss_mb():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * resource.getpagesize() / 1e6
kind, path, skip = sys.argv[1], sys.argv[2], int(sys.argv[3])
before = rss_mb()
seconds = None
for attempt in range(2):
    data = None
    begin = time.perf_counter()
    if kind == "corvane":
        data = corvane.read(path).data
    else:
        data = numpy.loadtxt(path, skiprows=skip)
    took = time.perf_counter() - begin
    seconds = took if seconds is None else min(seconds, took)
peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1e3
print(json.dumps({"seconds": seconds, "memory": peak - before, "arrays": data.nbytes / 1e6,
                  "shape": list(data.shape), "nan": int(numpy.isnan(data).sum())}))
"""


def measure(kind, path, skip):
    env = dict(os.environ)
    result = subprocess.run([sys.executable, "-c", CHILD, kind, path, str(skip)], capture_output=True,
                            text=True, env=env)
    if result.returncode != 0:
        raise SystemExit("bench_python: %s failed: %s" % (kind, result.stderr))
    return json.loads(result.stdout)


def main():
    sizes = sys.argv[1:] or ["60:400", "200:20"]
    met = True
    for size in sizes:
        size_mb, curves = size.split(":")
        path = os.path.join(tempfile.gettempdir(), "corvane-bench-python-%sMB-%s.las" % (size_mb, curves))
        generate(path, float(size_mb), int(curves))
        megabytes = os.path.getsize(path) / 1e6
        ours = measure("corvane", path, 0)
        theirs = measure("loadtxt", path, header_lines(path))
        if ours["shape"] != theirs["shape"] or ours["nan"] == 0:
            raise SystemExit("bench_python: the readings differ: %s %s" % (ours["shape"], theirs["shape"]))
        speedup = theirs["seconds"] / ours["seconds"]
        ratio = ours["memory"] / ours["arrays"]
        met = met and speedup >= 3 and ratio <= 1.5
        print("bench_python: %s, %.1f MB, %s curves, %d rows" % (path, megabytes, curves, ours["shape"][0]))
        print("  corvane.read   %7.3f s  %7.1f MB/s  memory %7.1f MB for arrays of %7.1f MB (%.2fx; target <= 1.5: %s)"
              % (ours["seconds"], megabytes / ours["seconds"], ours["memory"], ours["arrays"], ratio,
                 "met" if ratio <= 1.5 else "NOT met"))
        print("  numpy.loadtxt  %7.3f s  %7.1f MB/s  memory %7.1f MB" % (
            theirs["seconds"], megabytes / theirs["seconds"], theirs["memory"]))
        print("  corvane.read is %.1fx as fast as numpy.loadtxt (target >= 3: %s)"
              % (speedup, "met" if speedup >= 3 else "NOT met"))
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
