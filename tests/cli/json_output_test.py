#!/usr/bin/env python3
"""Every JSON document of corvane-cli, byte for byte as the expected files hold them:
check --json, preview --json, inspect --json, batch --merge-reports and convert --report
(with its reading summary), on inputs with
bytes a file or a path may hold (control characters, stray and valid UTF-8, quotes,
backslashes). The expected files were written by the program before its documents went
through one JSON writer.

    json_output_test.py CORVANE_CLI DATA_DIR SOURCE_DIR    (DATA_DIR: tests/data/json)
"""
import os
import shutil
import subprocess
import sys
import tempfile

CASES = [
    # (arguments, expected file, exit status)
    (["check", "--json", "--strict", "hostile.las", "../sample_2.0.las", "../sample_2.0_wrapped.las"],
     "check.expected.json", 1),
    (["preview", "--json", "hostile.asc"], "preview.expected.json", 0),
    (["inspect", "--json", "hostile.asc"], "inspect.expected.json", 0),
    (["inspect", "--json", "--first-data-line", "4", "--delimiter", "\t", "hostile.las"],
     "inspect-las.expected.json", 0),
]


def main():
    cli, data, source = (os.path.abspath(a) for a in sys.argv[1:4])
    failures = []
    for args, expected, status in CASES:
        run = subprocess.run([cli] + args, cwd=data, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        want = open(os.path.join(data, expected), "rb").read()
        if run.returncode != status or run.stdout != want:
            failures.append("%s: status %d, %d bytes differ from %s" % (
                " ".join(args), run.returncode, len(run.stdout), expected))
    with tempfile.TemporaryDirectory() as tmp:
        merged = os.path.join(tmp, "merged.json")
        run = subprocess.run([cli, "batch", "--merge-reports", merged, "report-1.json", "report-2.json",
                              "report-1.json"], cwd=data, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        want = open(os.path.join(data, "merged.expected.json"), "rb").read()
        if run.returncode != 0 or open(merged, "rb").read() != want:
            failures.append("batch --merge-reports: status %d, differs from merged.expected.json" % run.returncode)
        # The paths a report names are as given: the run works beside copies of its inputs.
        shutil.copy(os.path.join(data, "hostile.asc"), tmp)
        shutil.copy(os.path.join(source, "examples", "well-7.lah"), tmp)
        run = subprocess.run([cli, "convert", "--config", "well-7.lah", "--first-data-line", "3",
                              "--null-markers", "NA|-999", "--ascii", "hostile.asc", "--las", "hostile.las",
                              "--report", "report.json", "--quiet"],
                             cwd=tmp, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        want = open(os.path.join(data, "convert-report.expected.json"), "rb").read()
        if run.returncode != 0 or open(os.path.join(tmp, "report.json"), "rb").read() != want:
            failures.append("convert --report: status %d, differs from convert-report.expected.json" % run.returncode)
    if failures:
        sys.exit("\n".join(failures))
    print("JSON documents: %d byte for byte as expected" % (len(CASES) + 2))


if __name__ == "__main__":
    main()
