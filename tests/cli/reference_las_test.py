#!/usr/bin/env python3
"""Checks of the Python model of convert on hand-worked examples, so that a
disagreement in the differential test can be blamed on the right side."""

import os
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean when run from CTest
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference_las as r  # noqa: E402


def config(curves, extra=b"", total=None):
    out = b"[File ID]\r\nID=Corvane\r\n[Curve Parameters]\r\nNULL=-999.25\r\nDELIMITER=space\r\n" + extra
    out += b"[Curves]\r\nTOTAL=%d\r\n" % (len(curves) if total is None else total)
    for k, (heading, units) in enumerate(curves):
        out += b"HEADING %d=%s\r\nUNITS %d=%s\r\n" % (k, heading, k, units)
    return out


def run(lah, data, first=0, **options):
    return r.convert_bytes(lah, data, first, ascii=b"in.asc", las=b"out.las", **options)


def lines_of(las):
    return las.split(b"\r\n")


class SplitAndScan(unittest.TestCase):
    def split(self, line, limit=-1, fixed=0, skip=0, delims=b" ", suffix=b""):
        cols = []
        r.split_columns(line, cols, fixed, skip, limit, delims, suffix)
        return cols

    def test_delimiters(self):
        self.assertEqual(self.split(b"  12.5   3.4"), [b"12.5", b"3.4"])
        self.assertEqual(self.split(b"1.0, 2.0", delims=b","), [b"1.0", b"2.0"])
        self.assertEqual(self.split(b"1,,3", 3, delims=b","), [b"1", b"", b"3"])
        self.assertEqual(self.split(b"1.0 2.0", 4), [b"1.0", b"2.0", b"", b""])
        self.assertEqual(self.split(b"1 2 3 4 5", 3), [b"1", b"2", b"3"])
        self.assertEqual(self.split(b"  a b\n", delims=b""), [b"a b "])
        self.assertEqual(self.split(b"1 2", 0), [])

    def test_fixed_width(self):
        self.assertEqual(self.split(b"ab12345678\n", fixed=5, skip=2), [b"12345", b"678 "])
        self.assertEqual(self.split(b"a", 2, fixed=5, skip=3, suffix=b"\r\n"), [b"\r\n", b"\r\n"])

    def test_numbers(self):
        self.assertEqual(r.scan_double(b"12.5ft"), 12.5)
        self.assertEqual(r.scan_double(b" \t-.5e1x"), -5.0)
        self.assertEqual(r.scan_double(b"1e+"), 1.0)
        for text in (b"abc", b"", b"nan", b"inf", b".", b"-", b"+.e3"):
            self.assertIsNone(r.scan_double(text), text)
        self.assertEqual(r.scan_double(b"0x1A"), 0.0)
        self.assertEqual(r.scan_int(b"12abc"), 12)
        self.assertEqual(r.fmt_cell(1000), b"   1000.0000  ")

    def test_line_reading(self):
        self.assertEqual(r.read_lines(b"a\r\nb\nc"), [b"a\n", b"b\n", b"c"])
        self.assertEqual(r.read_lines(b"a\r\r\n"), [b"a\r\n"])
        self.assertEqual(len(r.read_lines(b"x" * 4000 + b"\n")), 1)


class Header(unittest.TestCase):
    def test_depth_lines_and_columns(self):
        code, las = run(config([(b"DEPT", b"M")]), b"1000\r\n1000.125\r\n1000.25\r\n")
        self.assertEqual(code, 0)
        lines = lines_of(las)
        self.assertEqual(lines[6], b" STRT.M" + b" " * 24 + b"1000.0000: Start Depth")
        self.assertEqual(lines[7], b" STOP.M" + b" " * 24 + b"1000.2500: Stop Depth")
        self.assertEqual(lines[8], b" STEP.M" + b" " * 27 + b"0.1250: Depth Increment")
        self.assertEqual(lines[9], b" NULL.M" + b" " * 24 + b"-999.2500: No Data Flag")
        self.assertEqual(lines[4], b"#MNEM.UNIT" + b" " * 11 + b"Data Type" + b" " * 12 + b"Information")
        self.assertEqual(len(lines[5]), 72)

    def test_irregular_depths_and_time_index(self):
        # The increments of the written cells differ: STEP 0 (LAS 2.0, section 5.4).
        lines = lines_of(run(config([(b"DEPT", b"M")]), b"1000\r\n1000.125\r\n1500.5\r\n")[1])
        self.assertEqual(lines[8], b" STEP.M" + b" " * 27 + b"0.0000: Depth Increment")
        # Written cells decide: 0.15199999999996 and 0.152 are both 0.1520 apart as written.
        lines = lines_of(run(config([(b"DEPT", b"M")]), b"494.528\r\n494.67999999999996\r\n494.832\r\n")[1])
        self.assertEqual(lines[8], b" STEP.M" + b" " * 27 + b"0.1520: Depth Increment")
        # Without a depth curve a TIME curve is the index, in its own units (none here).
        lines = lines_of(run(config([(b"GR", b"GAPI"), (b"TIME", b"")]), b"1 0\r\n2 10\r\n")[1])
        self.assertEqual(lines[6], b" STRT." + b" " * 28 + b"0.0000: Start Depth")
        self.assertEqual(lines[8], b" STEP." + b" " * 27 + b"10.0000: Depth Increment")

    def test_well_lines(self):
        extra = (b"[LAS HEADER]\r\nWELL NAME=WELL A-1\r\nWELL LABEL=UWI\r\nUWI=7\r\n"
                 b"OTHER HEADER 0=COMP.:ACME:COMPANY\r\nOTHER HEADER 1=COMP.::COMPANY\r\n"
                 b"OTHER HEADER 2=:COMP.:ACME\r\nOTHER HEADER 3=DATE.:01/02/2020:Logged 10:30\r\n"
                 b"OTHER HEADER 4=\r\nOTHER HEADER 5=LOST.:x:y\r\n")
        lines = lines_of(run(config([(b"DEPT", b"")], extra), b"5\r\n")[1])
        self.assertEqual(lines[10], b" WELL." + b" " * 26 + b"WELL A-1: ")
        self.assertEqual(lines[11], b" UWI ." + b" " * 33 + b"7: UNIQUE WELL ID")
        self.assertEqual(lines[12], b" COMP." + b" " * 30 + b"ACME: COMPANY")
        self.assertEqual(lines[13], b" COMP." + b" " * 27 + b"COMPANY: ")
        self.assertEqual(lines[14], b" COMP." + b" " * 30 + b"ACME: ")
        self.assertEqual(lines[15], b" DATE." + b" " * 24 + b"01/02/2020: Logged 10")
        self.assertEqual(lines[16], b"~Curve Information")
        self.assertEqual(lines[19], b" DEPT." + b" " * 34 + b":   1 ")


class DataSection(unittest.TestCase):
    def test_depth_first_and_nulls(self):
        lah = config([(b"GR", b"GAPI"), (b"DEPT", b"M"), (b"", b""), (b"RHOB", b"")])
        code, las = run(lah, b"55.2 1000 9 abc\r\n\r\n56 1000.5 9 12.5ft\r\n")
        lines = lines_of(las)
        self.assertEqual(lines[-4], b"~A " + b"DEPT".rjust(12) + b"  " + b"GR".rjust(12) + b"  "
                         + b"RHOB".rjust(12) + b"  ")
        self.assertEqual(lines[-3], b"   " + b"1000.0000".rjust(12) + b"  " + b"55.2000".rjust(12) + b"  "
                         + b"-999.2500".rjust(12) + b"  ")
        self.assertTrue(lines[-2].endswith(b"12.5000  "))
        self.assertEqual(lines[-1], b"")
        self.assertIn(b" GR.GAPI" + b" " * 32 + b":   2 ", lines)

    def test_inversion(self):
        lah = config([(b"dept", b"FT")])
        lines = lines_of(run(lah, b"1000\n1000.5\r\n1001", inverse=True)[1])
        self.assertEqual([l.strip() for l in lines[-4:-1]], [b"1001.0000", b"1000.5000", b"1000.0000"])
        self.assertIn(b" STEP.FT" + b" " * 25 + b"-0.5000: Depth Increment", lines)
        # one data line: the scan ends before the inversion of the range, so the step stays +0
        self.assertIn(b" STEP.FT" + b" " * 26 + b"0.0000: Depth Increment", lines_of(run(lah, b"7\n", inverse=True)[1]))

    def test_curve_total_and_ends(self):
        # the first data line fixes the column count; curves past it are not written
        lah = config([(b"DEPT", b""), (b"A", b""), (b"B", b"")], total=0)
        self.assertEqual(lines_of(run(lah, b"1 2 3\n")[1])[-2], b"   ")
        lah = config([(b"DEPT", b""), (b"A", b""), (b"B", b"")])
        code, las = run(lah, b"1 2\n", curve_total=2)
        self.assertEqual(lines_of(las)[-3], b"~A " + b"DEPT".rjust(12) + b"  " + b"A".rjust(12) + b"  ")
        self.assertEqual(run(lah, b"h\n", first=2), (r.EXIT_FAILED, None))
        self.assertEqual(run(lah, b"h\n", first=1)[0], r.EXIT_DONE)
        self.assertEqual(run(lah.replace(b"Corvane", b"corvane"), b"1\n"), (r.EXIT_FAILED, None))
        self.assertEqual(run(lah, b"1\n", null=b"abc")[0], r.EXIT_USAGE)


if __name__ == "__main__":
    unittest.main()
