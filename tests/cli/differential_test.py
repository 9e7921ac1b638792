#!/usr/bin/env python3
"""Differential test of `corvane-cli convert` against the independent Python model
in reference_las.py, on random ASCII logs and configuration files.

usage: differential_test.py CORVANE_CLI [CASES [SEED]] [--case K] [--keep DIR] [--stop-after N]

Every case is built from its own generator seeded with "SEED:K", so one failing
case can be replayed alone with --case K. A mismatch prints the case's command,
its files and the first differing line of both LAS outputs; --keep DIR also saves
the case's files under DIR/case-K.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree clean when run from CTest
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference_las  # noqa: E402


# ---------------------------------------------------------------- random pieces

HEADINGS = [b"GR", b"RHOB", b"NPHI", b"CALI", b"SP", b"ILD", b"DT", b"", b"", b"DEPTH1", b"DEPTHS",
            b"Gr", b"LONGMNEMONIC15", b"X" * 104, b"R\xb5HO", b"A B", b"DEP.TH"]
DEPTH_HEADINGS = [b"DEPT", b"Depth", b"dep", b"DEPTH", b"dEpT", b"DEP"]
TIME_HEADINGS = [b"TIME", b"Time"]  # the index when no curve is headed DEPTH, DEPT or DEP
UNITS = [b"M", b"FT", b"", b"GAPI", b"G/C3", b"V/V", b"US/F", b"OHMM", b"m", b'" "', b"'F T'", b"UNIT.X"]
API_CODES = [b"", b"", b"07 310 01 00", b"45 350 01 00", b"ABC", b"1:2", b"9" * 45]
DESCS = [b"", b"Gamma Ray", b"Bulk Density", b"Depth", b"desc: with colon", b"D" * 230,
         b"x=y; z", b"\"quoted\"", b" spaced  out "]
WELL_TEXTS = [b"", b"", b"WELL A-1", b"A", b"Name with = sign", b"N" * 60, b"W" * 210, b'"   "',
              b"'Quoted Well'", b"semi;colon", b"caf\xe9", b"x:y"]
DATES = [b"", b"", b"2020-01-02", b"01/02/2020", b"D" * 45, b'"  "']
UWIS = [b"", b"", b"100/01-02-003-04W5/00", b"42-501-20130", b"U" * 50, b"1"]
LABELS = [b"API", b"UWI", b"", b"api", b"Other", b"API "]
OTHER_LINES = [b"COMP.:ACME:COMPANY", b"SRVC.   :Logging Co:SERVICE COMPANY", b"COMP.::COMPANY",
               b":COMP.:ACME", b"DATE.:01/02/2020:Logged 10:30", b"::", b"X", b"LOC.:" + b"L" * 60 + b":LOCATION",
               b"FLD .:Field name", b"A.:b:c:d:e", b"M" * 45 + b":V:D", b"PROV.:Alberta:PROVINCE",
               b"CTRY. : Canada :COUNTRY", b"O" * 220 + b":" + b"P" * 30, b"key=value:x:y", b"trailing:"]
HEADER_TEXTS = [b"Well log export", b"Company: ACME Logging", b"DEPT   GR    RHOB   NPHI", b"M  GAPI  G/C3  V/V",
                b"~Ascii data", b"", b"   ", b"\t# comment\t", b"1000.0 2.5 3.5", b"Run 1, pass 2; final",
                b"caf\xe9 \xb5 data", b"H" * 1600]
TEXT_CELLS = [b"12.5ft", b"abc", b"", b"-", b".5", b"5.", b"+3", b"0x1A", b"nan", b"inf", b"-0", b"1e", b"1e+",
              b"--5", b"-999.25", b"1.5e3", b"2E-2", b"-.25", b"+.e3", b"\xb5", b"1.2.3", b"-INF", b"1e-3x",
              b"0.00005", b"0.03125", b"12345678901.5", b"-0.00001", b"1e25", b"1e300", b"-1.5e200",
              b"4.9e-324", b"1e-400", b"1e400", b"-1e400", b"\xa012.5", b"12\xa05", b"\v7", b"1.5e+", b"0e0",
              b"-0.0", b"00012", b"1_000", b"NaN", b"0x", b"+-1", b"1e+05x", b".e1", b"9" * 30]


def rand_number(rng):
    kind = rng.random()
    if kind < 0.55:
        x = rng.uniform(-500, 3000)
        return (b"%%.%df" % rng.randint(0, 6)) % x
    if kind < 0.7:
        return b"%d" % rng.randint(-100000, 100000)
    if kind < 0.8:
        return b"%.*e" % (rng.randint(0, 5), rng.uniform(-1e6, 1e6))
    if kind < 0.88:
        # values that sit on or near a rounding halfway point of the fourth decimal
        return b"%d.%04d5" % (rng.randint(-99, 99), rng.randint(0, 9999))
    if kind < 0.93:
        return long_decimal(rng)
    return rng.choice(TEXT_CELLS)


def long_decimal(rng):
    """Decimal texts with more digits than a double holds, many close to a rounding point."""
    whole = b"%d" % rng.randint(0, 10 ** rng.randint(0, 22))
    frac = bytes(rng.choice(b"0123456789") for _ in range(rng.randint(0, 30)))
    k = rng.random()
    if k < 0.3:
        frac = frac[:4] + b"5"
    elif k < 0.5:
        frac = frac[:4] + b"4" + b"9" * rng.randint(10, 25)
    elif k < 0.6:
        frac = frac[:4] + b"5" + b"0" * rng.randint(1, 25) + rng.choice([b"", b"1"])
    text = whole + (b"." + frac if frac or rng.random() < 0.5 else b"")
    text = rng.choice([b"", b"", b"-", b"+", b"000"]) + text
    return text + (rng.choice([b"e0", b"e-3", b"E+2"]) if rng.random() < 0.1 else b"")


def depth_text(rng, value, style):
    if style == 0:
        return b"%.2f" % value
    if style == 1:
        return b"%.4f" % value
    if style == 2:
        return b"%g" % value
    return b"%.1f" % value


def line_end(rng, mode):
    if mode == "lf":
        return b"\n"
    if mode == "crlf":
        return b"\r\n"
    return rng.choice([b"\n", b"\r\n"])


class Case:
    """One random conversion: the ASCII file, the configuration file and the command."""

    def __init__(self, seed, index):
        self.index = index
        rng = random.Random("%s:%d" % (seed, index))
        self.rng = rng
        ncols = rng.choice([1, 2, 3, 3, 4, 4, 5, 6, 8]) if rng.random() < 0.97 else rng.randint(40, 130)
        self.ncols = ncols

        # layout
        self.fixed = 0
        self.skip = 0
        if rng.random() < 0.3:
            self.fixed = rng.randint(4, 14)
            delim_text = rng.choice([b"", b"space", b","])
        else:
            delim_text = rng.choice([b"space", b"space", b"space", b"tab", b",", b",", b";", b":,", b"|",
                                     b"Space", b" ", b""])
        if rng.random() < 0.25:
            self.skip = rng.randint(1, 6)
        self.delim_text = delim_text
        delims = reference_las.get_delimiter_set(delim_text)

        # file
        ends = rng.choice(["lf", "crlf", "crlf", "mixed"])
        header = []
        nheader = rng.choice([0, 1, 2, 3, 4, 6])
        for _ in range(nheader):
            header.append(rng.choice(HEADER_TEXTS))
        nrows = rng.choice([0, 1, 2, 2, 3, 5, 10, 20, 30, 40, 200, 400]) if rng.random() < 0.97 else 0
        depth_col = rng.randrange(ncols) if rng.random() < 0.85 else -1
        self.depth_col = depth_col
        depth = rng.choice([0.0, 1000.0, 2500.5, -10.0, 123.456])
        step = rng.choice([0.5, 0.25, 0.1524, -0.5, 1.0, 0.0, 0.125])
        dstyle = rng.randrange(4)
        # core depths and surveys: the spacing changes from row to row, or once half-way
        irregular = rng.choice([None, None, None, "random", "changes"])
        rows = []
        for r in range(nrows):
            cells = []
            if irregular == "random" and r:
                depth += rng.choice([0.1, 0.25, 1.5, 7.73]) - step
            elif irregular == "changes" and r == nrows // 2:
                step = step * 0.998 if step else 0.1
            for c in range(ncols):
                if c == depth_col and rng.random() < 0.97:
                    cells.append(depth_text(rng, depth + r * step, dstyle))
                else:
                    cells.append(rand_number(rng))
            if rng.random() < 0.1:
                cells = cells[:rng.randrange(len(cells) + 1)]
            if rng.random() < 0.08:
                cells += [rand_number(rng) for _ in range(rng.randint(1, 3))]
            if rng.random() < 0.02:
                # a wide row: longer than one 1499-character read
                cells += [rand_number(rng) for _ in range(rng.randint(200, 400))]
            rows.append(self.format_row(rng, cells, delims))
            if rng.random() < 0.08:
                rows.append(rng.choice([b"", b"   ", b"\t", b" \t ", b"\f"]))
        if rows and rng.random() < 0.05:
            # a very long last line: the stop depth comes from its tail
            rows[-1] = rows[-1] + b" " + b" ".join(b"%d" % rng.randint(0, 999) for _ in range(1500))
        if rng.random() < 0.1:
            rows += [rng.choice([b"", b"  "]) for _ in range(rng.randint(1, 3))]
        shape = rng.random()
        if shape < 0.04 and rows:
            rows[0] = rng.choice([b"", b"  ", b"\t"])  # the first data line is blank
        elif shape < 0.08:
            # more than 5000 bytes of blank lines at the end: the stop depth stays that of line 2
            rows += [rng.choice([b"", b"   ", b"\t\t"]) for _ in range(rng.randint(1300, 1800))]
        elif shape < 0.1 and len(rows) >= 3:
            rows = rows[:2] + [b" "] * rng.randint(1, 5)  # few data lines, blank after the second
        all_lines = header + rows
        if all_lines and rng.random() < 0.03:
            k = rng.randrange(len(all_lines))
            all_lines[k] = all_lines[k] + b"\r" + b"7"  # a lone CR inside a line
        data = b""
        for k, line in enumerate(all_lines):
            data += line
            if k < len(all_lines) - 1 or rng.random() < 0.75:
                data += line_end(rng, ends)
        if rng.random() < 0.01:
            data = b""
        if rng.random() < 0.04:
            # a file from an older system: Ctrl-Z ends the text, whatever follows it
            at = rng.randint(0, len(data))
            data = data[:at] + b"\x1a" + rng.choice([b"", b"9 9 9\r\n", b"\x1a\x00junk"])
        self.ascii = data
        nlines = len(reference_las.read_lines(data))

        # first data line
        roll = rng.random()
        if roll < 0.75:
            self.first = nheader
        elif roll < 0.9:
            self.first = max(0, nheader + rng.randint(-2, 3))
        else:
            self.first = nlines + rng.randint(0, 3)

        # configuration
        self.cli = []
        self.options = {}
        self.lah = self.make_config(rng)

        self.inverse = rng.random() < 0.5
        if rng.random() < 0.25:
            total = rng.choice([0, ncols, ncols + 2, max(1, ncols - 1), rng.randint(1, 10)])
            self.cli.append("--curve-total=%d" % total)
            self.options["curve_total"] = total
        if rng.random() < 0.15:
            null = rng.choice([b"-9999", b"0", b"1e3", b"-999.25", b" 12.5x", b"-0.00005", b"abc"])
            self.cli.append("--null=" + null.decode())
            self.options["null"] = null
        self.preexisting_las = rng.random() < 0.1
        # saving the setup first must not change the LAS file
        self.save_config = rng.random() < 0.15
        if self.save_config:
            self.cli.append("--save-config")

    def format_row(self, rng, cells, delims):
        prefix = b""
        if self.skip:
            prefix = bytes(rng.choice(b"ab 0123456789#") for _ in range(self.skip))
        if self.fixed > 0:
            w = self.fixed
            out = b""
            for c in cells:
                c = c[:w]
                out += c.rjust(w) if rng.random() < 0.8 else c.ljust(w)
            return prefix + out
        if self.delim_text in (b"space", b" "):
            lead = b" " * rng.choice([0, 0, 1, 3])
            out = lead
            for k, c in enumerate(cells):
                if k:
                    out += rng.choice([b" ", b"  ", b"    ", b" \t", b"\t ", b" \v", b"\f "]) if rng.random() < 0.97 \
                        else rng.choice([b"\t", b"\xa0"])
                out += c
            return prefix + out
        if self.delim_text == b"tab":
            return prefix + b"".join((b"\t" if k else b"") + (b"\t" if rng.random() < 0.05 else b"") + c
                                     for k, c in enumerate(cells))
        if delims:
            out = b""
            for k, c in enumerate(cells):
                if k:
                    sep = bytes([rng.choice(delims)])
                    out += rng.choice([sep, sep, sep + b" ", b" " + sep, sep + sep])
                out += c
            return prefix + out
        return prefix + b" ".join(cells)

    def make_config(self, rng):
        keys = []  # (section, key, value) in writing order

        def put(section, key, value):
            keys.append((section, key, value))

        ident = b"Corvane" if rng.random() < 0.95 else rng.choice([b"corvane", b"CORVANE", None, b"Corvane2"])
        if ident is not None:
            put(b"File ID", b"ID", ident)
        if rng.random() < 0.8:
            put(b"File ID", b"VERSION", b"3.0")
        self.ascii_in_config = rng.random() < 0.15
        put(b"User Files", b"ASCII FILE", b"@ASCII@" if self.ascii_in_config else b"")
        put(b"User Files", b"LAS FILE", b"@LAS@" if self.ascii_in_config else b"")
        put(b"LAS HEADER", b"WELL LABEL", rng.choice(LABELS))
        put(b"LAS HEADER", b"UWI", rng.choice(UWIS))
        put(b"LAS HEADER", b"WELL NAME", rng.choice(WELL_TEXTS))
        put(b"LAS HEADER", b"COUNTRY", rng.choice([b"", b"Canada", b"USA"]))
        put(b"LAS HEADER", b"LOG DATE", rng.choice(DATES))
        nother = rng.choice([0, 0, 1, 2, 3, 5]) if rng.random() < 0.98 else rng.randint(100, 130)
        for n in range(nother):
            put(b"LAS HEADER", b"OTHER HEADER %d" % n, rng.choice(OTHER_LINES))
        if nother and rng.random() < 0.3:
            put(b"LAS HEADER", b"OTHER HEADER %d" % nother, b"")
            put(b"LAS HEADER", b"OTHER HEADER %d" % (nother + 1), b"LOST.:after:gap")
        if rng.random() < 0.9:
            put(b"Curve Parameters", b"NULL", rng.choice([b"-999.2500000000", b"-999.25", b"-9999", b"0",
                                                          b"abc", b" -1e3 ", b"-999.25xyz", b"12.00005"]))
        # the layout: in the configuration, on the command line, or both
        where = rng.random()
        cfg_fixed, cfg_skip, cfg_delim = self.fixed, self.skip, self.delim_text
        if where < 0.3:
            if self.delim_text != b"":
                self.cli.append("--delimiter=" + self.delim_text.decode())
                self.options["delimiter"] = self.delim_text
                cfg_delim = rng.choice([b"", b",", b"space"])
            # a width of 0 or less means the same: none
            fixed = self.fixed if self.fixed or rng.random() < 0.8 else -rng.randint(1, 5)
            self.cli.append("--fixed-width=%d" % fixed)
            self.options["fixed_width"] = fixed
            cfg_fixed = rng.choice([0, 5, 10])
            skip = self.skip if self.skip or rng.random() < 0.8 else -rng.randint(1, 5)
            self.cli.append("--skip-width=%d" % skip)
            self.options["skip_width"] = skip
            cfg_skip = rng.choice([0, 3])
        if cfg_delim == b" ":
            cfg_delim = b'" "'
        put(b"Curve Parameters", b"FIXED WIDTH", b"%d" % cfg_fixed if cfg_fixed or rng.random() < 0.7
            else rng.choice([b"-4", b"0abc", b" 0 "]))
        put(b"Curve Parameters", b"SKIP WIDTH", b"%d" % cfg_skip if cfg_skip or rng.random() < 0.7
            else rng.choice([b"-2", b"x"]))
        put(b"Curve Parameters", b"DELIMITER", cfg_delim)

        # curves
        n = self.ncols
        roll = rng.random()
        if roll < 0.7:
            total_text, ncurves = b"%d" % n, n
        elif roll < 0.86:
            t = rng.choice([n + 2, max(1, n - 2), 1])
            total_text, ncurves = b"%d" % t, t
        elif roll < 0.92:
            total_text, ncurves = b"0", 0
        else:
            total_text, ncurves = rng.choice([(b"-3", 0), (b"abc", 0), (None, 0), (b"%dx" % n, n)])
        if total_text is not None:
            put(b"Curves", b"TOTAL", total_text)
        for k in range(ncurves):
            if k == self.depth_col:
                heading = rng.choice(DEPTH_HEADINGS if rng.random() < 0.85 else TIME_HEADINGS)
            elif rng.random() < 0.05:
                heading = rng.choice(DEPTH_HEADINGS)
            else:
                heading = rng.choice(HEADINGS)
            if rng.random() < 0.9:
                put(b"Curves", b"HEADING %d" % k, heading)
            put(b"Curves", b"UNITS %d" % k, rng.choice(UNITS))
            put(b"Curves", b"API CODE %d" % k, rng.choice(API_CODES))
            put(b"Curves", b"CURVE DESC %d" % k, rng.choice(DESCS))

        nl = b"\r\n" if rng.random() < 0.8 else b"\n"
        odd_case = rng.random() < 0.2
        out = b"; written by hand" + nl if rng.random() < 0.1 else b""
        current = None
        for section, key, value in keys:
            if section != current:
                if current is not None and rng.random() < 0.5:
                    out += nl
                name = section.lower() if odd_case and rng.random() < 0.5 else section
                out += b"[" + name + b"]" + nl
                current = section
                if rng.random() < 0.05:
                    out += b"FOREIGN KEY=1" + nl
            k = key.upper() if odd_case and rng.random() < 0.3 else key
            if value and rng.random() < 0.05:
                q = rng.choice([b'"', b"'"])
                paired = rng.random() < 0.9 or key in (b"ASCII FILE", b"LAS FILE")
                value = q + value + q if paired else q + value
            pad_l = b" " * rng.choice([0, 0, 0, 1, 2])
            pad_r = b" " * rng.choice([0, 0, 0, 1])
            out += k + b"=" + pad_l + value + pad_r + nl
        if rng.random() < 0.1:
            out += b"[Foreign Section]" + nl + b"x=y" + nl
        return out

    def config_bytes(self, ascii_path, las_path):
        return self.lah.replace(b"@ASCII@", ascii_path.encode()).replace(b"@LAS@", las_path.encode())


# ---------------------------------------------------------------- running

FOREIGN_LINES = (b"; written by hand", b"FOREIGN KEY=1", b"[Foreign Section]", b"x=y")


def exit_class(code):
    return code if code in (0, 1, 2) else "other(%s)" % code


def first_difference(a, b):
    la = a.split(b"\r\n") if a is not None else None
    lb = b.split(b"\r\n") if b is not None else None
    if la is None or lb is None:
        return None, (None if la is None else la[:1]), (None if lb is None else lb[:1])
    for k in range(max(len(la), len(lb))):
        x = la[k] if k < len(la) else b"<end of file>"
        y = lb[k] if k < len(lb) else b"<end of file>"
        if x != y:
            return k + 1, x, y
    return None, b"", b""


def show(data, limit=2500):
    if data is None:
        return "<none>"
    text = repr(data)
    if len(text) > limit:
        text = text[:limit] + "... (%d bytes in all)" % len(data)
    return text


def run_case(cli, case, workdir, keep):
    ascii_path = os.path.join(workdir, "input.asc")
    las_path = os.path.join(workdir, "output.las")
    lah_path = os.path.join(workdir, "setup.lah")
    lah = case.config_bytes(ascii_path, las_path)
    with open(ascii_path, "wb") as f:
        f.write(case.ascii)
    with open(lah_path, "wb") as f:
        f.write(lah)
    garbage = b"old LAS content\r\n" * 3
    if os.path.exists(las_path):
        os.remove(las_path)
    if case.preexisting_las:
        with open(las_path, "wb") as f:
            f.write(garbage)

    args = [cli, "convert", "--config=" + lah_path, "--first-data-line=%d" % case.first, "--quiet"]
    options = dict(case.options)
    if not case.ascii_in_config:
        args += ["--ascii=" + ascii_path, "--las=" + las_path]
        options["ascii"] = ascii_path.encode()
        options["las"] = las_path.encode()
    if case.inverse:
        args.append("--inverse")
    args += case.cli

    try:
        proc = subprocess.run(args, cwd=workdir, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=60)
        code, stderr = proc.returncode, proc.stderr
    except subprocess.TimeoutExpired:
        code, stderr = "timeout", b""
    got = None
    if os.path.exists(las_path):
        with open(las_path, "rb") as f:
            got = f.read()
    with open(ascii_path, "rb") as f:
        ascii_after = f.read()
    with open(lah_path, "rb") as f:
        lah_after = f.read()

    want_code, want, saved_setup = reference_las.run_convert(lah, case.ascii, case.first, inverse=case.inverse,
                                                             **options)
    if want is None:
        want = garbage if case.preexisting_las else None

    problems = []
    if exit_class(code) != exit_class(want_code):
        problems.append("exit status %s, expected %s" % (code, want_code))
    if got != want:
        line, x, y = first_difference(got, want)
        problems.append("LAS output differs at line %s:\n      corvane-cli: %s\n      reference:   %s"
                        % (line, show(x, 400), show(y, 400)))
    if ascii_after != case.ascii:
        problems.append("the ASCII file was modified")
    if not case.save_config and lah_after != lah:
        problems.append("the configuration file was modified without --save-config")
    if case.save_config and saved_setup is not None:
        # the saved file must load back as the setup of the run, and keep what it held besides
        got_fields = reference_las.loaded_fields(lah_after)
        want_fields = reference_las.saved_fields(saved_setup)
        if got_fields != want_fields:
            keys = [k for k in want_fields if got_fields is None or got_fields[k] != want_fields[k]]
            for k in keys[:3]:
                problems.append("saved configuration, %s: loads back as %s, expected %s"
                                % (k, show(got_fields and got_fields[k], 300), show(want_fields[k], 300)))
        for line in lah.split(b"\n"):
            line = line.rstrip(b"\r")
            if line in FOREIGN_LINES and line not in lah_after.replace(b"\r", b"").split(b"\n"):
                problems.append("saving the configuration lost the line %s" % show(line))
    elif case.save_config and lah_after != lah:
        problems.append("a run that stopped before saving changed the configuration file")
    if problems:
        print("MISMATCH in case %d" % case.index)
        print("  command: %s" % " ".join(args))
        for p in problems:
            print("  " + p)
        if stderr:
            print("  stderr: %s" % show(stderr, 400))
        print("  ASCII file: %s" % show(case.ascii))
        print("  configuration: %s" % show(lah))
        if keep:
            dest = os.path.join(keep, "case-%d" % case.index)
            os.makedirs(dest, exist_ok=True)
            for name in ("input.asc", "setup.lah"):
                shutil.copy(os.path.join(workdir, name), dest)
            if got is not None:
                with open(os.path.join(dest, "cli.las"), "wb") as f:
                    f.write(got)
            if want is not None:
                with open(os.path.join(dest, "reference.las"), "wb") as f:
                    f.write(want)
            with open(os.path.join(dest, "command.txt"), "w") as f:
                f.write(" ".join(args) + "\n")
        print()
        return False
    return True


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("cli", help="path of corvane-cli")
    ap.add_argument("cases", nargs="?", type=int, default=300)
    ap.add_argument("seed", nargs="?", default="1")
    ap.add_argument("--case", type=int, help="run this one case only")
    ap.add_argument("--keep", help="save the files of failing cases under this folder")
    ap.add_argument("--stop-after", type=int, default=0, help="stop after this many failing cases")
    a = ap.parse_args()

    indices = [a.case] if a.case is not None else range(a.cases)
    failed = []
    with tempfile.TemporaryDirectory(prefix="corvane-diff-") as root:
        for k in indices:
            case = Case(a.seed, k)
            workdir = os.path.join(root, "case-%d" % k)
            os.mkdir(workdir)
            if not run_case(a.cli, case, workdir, a.keep):
                failed.append(k)
                if a.stop_after and len(failed) >= a.stop_after:
                    break
            shutil.rmtree(workdir, ignore_errors=True)
    total = len(indices)
    if failed:
        print("%d of %d cases differ (seed %s): %s" % (len(failed), total, a.seed,
                                                       " ".join(str(k) for k in failed)))
        return 1
    print("all %d cases agree (seed %s)" % (total, a.seed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
