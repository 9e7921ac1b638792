#!/usr/bin/env python3
"""The public exports in tests/data/realworld, converted by corvane-cli with the layout and
reading choices the detection proposes: every written cell against an independent reading
of the file (Python's csv module), or a doubt the reading summary names for its column;
every output passes the LAS check's STRT, STOP and STEP rules. Then each file again as a
new user converts it: `init`, then `convert` with nothing edited by hand.

usage: realworld_test.py CORVANE_CLI DATA_DIR
"""

import csv
import io
import json
import os
import subprocess
import sys
import tempfile

NULL = -999.25
INDEX_NAMES = {"DEPTH_MD": "DEPTH", "MD[m]": "DEPTH"}  # the depth columns of these exports
STEP_RULES = {"STRT_MISMATCH", "STOP_MISMATCH", "STEP_MISMATCH"}


def run(args):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def expected_cell(text, reading):
    """The cell a reading of the field gives: "%.4f" of its number, the null value for an
    empty field, a null marker or text; None when the field is not a plain number."""
    text = text.strip()
    if text == "" or text in reading["nullMarkers"]:
        return "%.4f" % NULL
    if reading["decimalComma"]:
        text = text.replace(",", ".")
    try:
        value = float(text)
    except ValueError:
        return None
    markers = []
    for m in reading["nullMarkers"]:
        try:
            markers.append(float(m))
        except ValueError:
            pass
    if value in markers:
        return "%.4f" % NULL
    return "%.4f" % value


def lah_text(names, units, delimiter, reading):
    out = ["[File ID]", "ID=Corvane", "VERSION=3.0", "[Curve Parameters]", "NULL=-999.25",
           "FIXED WIDTH=0", "SKIP WIDTH=0", "DELIMITER=" + delimiter, "[Curves]", "TOTAL=%d" % len(names)]
    for k, (name, unit) in enumerate(zip(names, units)):
        out += ["HEADING %d=%s" % (k, name), "UNITS %d=%s" % (k, unit), "API CODE %d=" % k, "CURVE DESC %d=" % k]
    if reading is not None:
        yes = lambda flag: "YES" if flag else "NO"
        out += ["[Reading]", "DECIMAL COMMA=" + yes(reading["decimalComma"]), "QUOTES=" + yes(reading["quotes"]),
                "EMPTY FIELDS=" + yes(reading["emptyFields"]), "NULL MARKERS=" + "|".join(reading["nullMarkers"]),
                "WHOLE CELLS=" + yes(reading["wholeCells"]), "DIGITS=" + reading["digits"],
                "DATE TIME=%d" % (reading["dateTime"] or 0)]
    return "\r\n".join(out) + "\r\n"


def data_rows(las):
    rows = []
    inside = False
    for line in las.split("\r\n"):
        if line.startswith("~A"):
            inside = True
        elif inside and line:
            rows.append(line.split())
    return rows


def check_file(cli, path, tmp):
    name = os.path.basename(path)
    inspect = json.loads(run([cli, "inspect", "--json", path]).stdout)
    proposal = inspect["proposal"]
    assert proposal is not None, name
    delimiter = {"tab": "\t", "space": " "}.get(proposal["delimiter"], proposal["delimiter"])
    # The independent reading: the file as csv reads it, the byte-order mark aside.
    with open(path, encoding="utf-8-sig", newline="") as f:
        table = list(csv.reader(f, delimiter=delimiter))
    first = proposal["firstDataLine"]
    header = table[proposal["headerLines"][0]]
    names = [INDEX_NAMES.get(n.strip(), n.strip()) for n in header]
    units = ["M" if n == "DEPTH" else "" for n in names]
    source = [row for row in table[first:] if row]

    for reading in (proposal["reading"], None):
        plain = {"decimalComma": False, "quotes": False, "emptyFields": False, "nullMarkers": [],
                 "wholeCells": False, "digits": "4", "dateTime": None}
        used = reading or plain
        lah = os.path.join(tmp, name + ".lah")
        with open(lah, "w", newline="") as f:
            f.write(lah_text(names, units, proposal["delimiter"], reading))
        for inverse in (False, True):
            las = os.path.join(tmp, name + (".proposed" if reading else ".plain") + (".inv" if inverse else "") + ".las")
            report = las + ".json"
            args = [cli, "convert", "--config", lah, "--first-data-line", str(first), "--ascii", path, "--las", las,
                    "--report", report, "--quiet"] + (["--inverse"] if inverse else [])
            result = run(args)
            assert result.returncode == 0, (name, result.stderr)
            summary = json.loads(open(report, "rb").read())["reading"]
            doubted = {c["column"] for c in summary["byColumn"]
                       if any(k not in ("EMPTY_FIELD", "NULL_MARKER") for k in c["kinds"])}
            row_doubts = {"SHORT_ROW", "LONG_ROW"} & set(summary["kinds"])
            written = data_rows(open(las, encoding="ascii", newline="").read())
            if inverse:
                written.reverse()
            assert len(written) == len(source), name
            # The depth column is written first, the others in their order.
            order = [names.index("DEPTH")] + [k for k in range(len(names)) if names[k] != "DEPTH"]
            mismatched = set()
            for cells, fields in zip(written, source):
                for position, column in enumerate(order):
                    want = expected_cell(fields[column], used) if column < len(fields) else "%.4f" % NULL
                    if want != cells[position]:
                        mismatched.add(column + 1)
            # Each column whose values differ from the source is named by the summary.
            assert mismatched <= doubted or row_doubts, (name, reading is not None, mismatched, doubted)
            if reading is not None:
                assert not mismatched, (name, mismatched)
                assert not summary["doubts"], (name, summary["kinds"])
            check = json.loads(run([cli, "check", "--json", las]).stdout)["files"][0]
            codes = {finding["code"] for finding in check["findings"]}
            assert not codes & STEP_RULES, (name, inverse, codes & STEP_RULES)
    return written


def ini_sections(path):
    """The keys of a configuration file, by section: {section: {key: value}}."""
    sections, current = {}, None
    for line in open(path, encoding="utf-8", newline="").read().split("\r\n"):
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current[key] = value
    return sections


def las_curves(las):
    """The mnemonics of the ~Curve section, in order."""
    names, inside = [], False
    for line in las.split("\r\n"):
        if line.startswith("~"):
            inside = line.startswith("~C")
        elif inside and line and not line.startswith("#"):
            names.append(line.split(".", 1)[0].strip())
    return names


def check_init(cli, path, tmp):
    """init, then convert with no further choice: the source's values in every written
    column, the depth column found as DEPT and written first, the proposed names."""
    name = os.path.basename(path)
    folder = os.path.join(tmp, "init-" + name)
    os.mkdir(folder)
    ascii_path = os.path.join(folder, name)
    with open(path, "rb") as src, open(ascii_path, "wb") as dst:
        dst.write(src.read())
    lah = os.path.join(folder, "well.lah")
    made = run([cli, "init", ascii_path, "-o", lah])
    assert made.returncode == 0, (name, made.stderr)
    again = run([cli, "init", ascii_path, "-o", lah])
    assert again.returncode == 2 and b"--overwrite" in again.stderr, (name, again.stderr)
    report = os.path.join(folder, "report.json")
    converted = run([cli, "convert", "--config", lah, "--report", report, "--quiet"])
    assert converted.returncode == 0, (name, converted.stderr)
    assert not json.loads(open(report, "rb").read())["reading"]["doubts"], name

    config = ini_sections(lah)
    params, curves = config["Curve Parameters"], config["Curves"]
    reading = config.get("Reading", {})
    used = {"decimalComma": reading.get("DECIMAL COMMA") == "YES",
            "nullMarkers": [m for m in reading.get("NULL MARKERS", "").split("|") if m]}
    delimiter = {"tab": "\t", "space": " "}.get(params["DELIMITER"], params["DELIMITER"])
    first = int(params["FIRST DATA LINE"])
    with open(path, encoding="utf-8-sig", newline="") as f:
        table = list(csv.reader(f, delimiter=delimiter))
    source = [row for row in table[first:] if row]
    headings = [curves["HEADING %d" % k] for k in range(int(curves["TOTAL"]))]
    # The index is the column the file names as its depth: the one its own name for it.
    depth_names = {"DEPTH", "DEPTH_MD", "MD", "DEPT"}
    header = [cell.strip() for cell in table[0]]
    depth = next(k for k, cell in enumerate(header) if cell.split("[")[0].strip().upper() in depth_names)
    assert headings[depth] == "DEPT", (name, headings)
    order = [depth] + [k for k in range(len(headings)) if k != depth and headings[k]]

    las = open(ascii_path[: -len(".csv")] + ".las", encoding="ascii", newline="").read()
    assert las_curves(las)[len(las_curves(las)) - len(order):] == [headings[k] for k in order], name
    written = data_rows(las)
    assert len(written) == len(source), name
    mismatched = set()
    for cells, fields in zip(written, source):
        for position, column in enumerate(order):
            want = expected_cell(fields[column], used) if column < len(fields) else "%.4f" % NULL
            if want != cells[position]:
                mismatched.add(column + 1)
    assert not mismatched, (name, mismatched)
    check = json.loads(run([cli, "check", "--json", ascii_path[: -len(".csv")] + ".las"]).stdout)["files"][0]
    codes = {finding["code"] for finding in check["findings"]}
    assert not codes & STEP_RULES, (name, codes & STEP_RULES)


def main():
    cli, data = sys.argv[1], sys.argv[2]
    folder = os.path.join(data, "realworld")
    files = sorted(f for f in os.listdir(folder) if f.endswith(".csv"))
    assert len(files) == 4, files
    with tempfile.TemporaryDirectory() as tmp:
        for name in files:
            check_file(cli, os.path.join(folder, name), tmp)
            check_init(cli, os.path.join(folder, name), tmp)
        # The semicolon and decimal-comma copy converts to the very bytes of the original.
        same = [open(os.path.join(tmp, n + ".proposed.las"), "rb").read()
                for n in ("volve_15_9-19.csv", "volve_15_9-19_semicolon_comma.csv")]
        assert same[0] == same[1]
    print("%d real exports read right" % len(files))
    return 0


if __name__ == "__main__":
    sys.exit(main())
