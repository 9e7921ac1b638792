#!/usr/bin/env python3
"""Independent model of `corvane-cli unwrap WRAPPED.las OUT.las`, written apart from
the C++ code so that the two can be compared byte for byte.

unwrap(source_bytes) models the conversion alone and returns (target_bytes, result),
result being DONE, ENDED_EARLY (no "~CURVE" line, no "~A" line after it, or a curve
section without a counted curve) or FAILED (a line longer than MAX_LINE), the target
then holding what was written before. run(source_path, target_path) models the whole
command: detection, the refusal of a target that is the source, and the exit status.
"""

import os
import re

DONE = "done"
ENDED_EARLY = "ended early"
FAILED = "failed"
NOT_WRAPPED = "not wrapped"
SAME_FILE = "same file"

EXIT_DONE = 0
EXIT_FAILED = 1

# What the command answers with, per outcome: ended early, a refusal and a failure
# all leave with status 1.
EXIT_STATUS = {DONE: EXIT_DONE, ENDED_EARLY: EXIT_FAILED, FAILED: EXIT_FAILED,
               NOT_WRAPPED: EXIT_FAILED, SAME_FILE: EXIT_FAILED}

WRAP_NO_LINE = b" WRAP.                  NO : One line per depth\n"

# Longer lines are refused as a read failure rather than held in memory whole.
MAX_LINE = 16 * 1024 * 1024


class TooLong:
    """Stands for a line the reader refuses."""


TOO_LONG = TooLong()

# The C locale's white space.
WHITE = b" \t\r\n\v\f"
DIGITS = b"0123456789"


def read_lines(data):
    """Lines as the shared reader returns them: whole, each keeping "\\n" when it has
    one, CR LF read as a single LF. A lone CR is an ordinary character. A line longer
    than MAX_LINE (its line end not counted) reads as TOO_LONG and ends the list. A
    Ctrl-Z byte ends the text."""
    mark = data.find(b"\x1a")
    if mark >= 0:
        data = data[:mark]
    lines = []
    start = 0
    n = len(data)
    while start < n:
        end = data.find(b"\n", start)
        if end < 0:
            line, end_mark = data[start:], b""
            start = n
        else:
            line, end_mark = data[start:end], b"\n"
            if line.endswith(b"\r"):
                line = line[:-1]
            start = end + 1
        if len(line) > MAX_LINE:
            lines.append(TOO_LONG)
            break
        lines.append(line + end_mark)
    return lines


def to_disk(line):
    """A line as the text writer puts it on disk: its LF becomes CR LF."""
    if line.endswith(b"\n"):
        return line[:-1] + b"\r\n"
    return line


def upper(text):
    # bytes.upper() changes ASCII letters only, as toupper does in the C locale.
    return text.upper()


def is_blank(line):
    return all(c in WHITE for c in line)


def is_comment(line):
    stripped = line.lstrip(WHITE)
    return stripped.startswith(b"#")


def is_wrapped(data):
    lines = read_lines(data)
    if len(lines) < 3 or TOO_LONG in lines[:3]:
        return False
    return (b"~V" in upper(lines[0]) and b"VERS." in upper(lines[1])
            and b"WRAP." in upper(lines[2]) and b"YES" in upper(lines[2]))


class ReadFailure(Exception):
    pass


DIGIT = re.compile(rb"[0-9]")
SPACE = re.compile(rb"[ \t\r\n\v\f]")


class ValueReader:
    """Values of the data section one at a time, across line ends. Pending is the text
    from start on."""

    def __init__(self, lines, position):
        self.lines = lines
        self.position = position
        self.pending = b""
        self.start = 0

    def take(self):
        digit = DIGIT.search(self.pending, self.start)
        while digit is None:
            if self.position >= len(self.lines):
                return None
            line = self.lines[self.position]
            self.position += 1
            if line is TOO_LONG:
                raise ReadFailure()
            if is_comment(line):
                continue  # comment lines of the data section give no values
            if line.endswith(b"\n"):
                line = line[:-1]
            self.pending = line.replace(b"\n", b" ") + b" "
            self.start = 0
            digit = DIGIT.search(self.pending)
        # The value runs to the first white space after its number, taking it along.
        end = SPACE.search(self.pending, digit.start()).start()
        value = self.pending[self.start:end + 1]
        self.start = end + 1
        return value


def unwrap(data):
    """The conversion of a source already found wrapped: (target bytes, result)."""
    lines = read_lines(data)
    out = []
    pos = 0

    # The head: lines 1 and 2 as they are, the declaration of WRAP NO for line 3.
    out.extend(lines[0:2])
    out.append(WRAP_NO_LINE)
    pos = 3

    def finish(result):
        return b"".join(to_disk(line) for line in out), result

    # Up to and including the curve section's title line.
    while True:
        if pos >= len(lines):
            return finish(ENDED_EARLY)
        line = lines[pos]
        pos += 1
        if line is TOO_LONG:
            return finish(FAILED)
        out.append(line)
        if upper(line).startswith(b"~CURVE"):
            break

    # The curve lines, counted; the next section's title ends them.
    curves = 0
    last = out[-1]
    while pos < len(lines):
        line = lines[pos]
        pos += 1
        if line is TOO_LONG:
            return finish(FAILED)
        out.append(line)
        last = line
        if line.startswith(b"~"):
            break
        if not is_blank(line) and not is_comment(line):
            curves += 1

    # Up to and including the data section's title line.
    while not upper(last).startswith(b"~A"):
        if pos >= len(lines):
            return finish(ENDED_EARLY)
        last = lines[pos]
        pos += 1
        if last is TOO_LONG:
            return finish(FAILED)
        out.append(last)

    # Rows would take no values and never read on without a counted curve.
    if curves == 0:
        return finish(ENDED_EARLY)

    reader = ValueReader(lines, pos)
    at_end = False
    while not at_end:
        values = []
        for _ in range(curves):
            try:
                value = reader.take()
            except ReadFailure:
                return finish(FAILED)
            if value is None:
                at_end = True
                break
            values.append(value)
        if len(values) == curves:
            out.append(b"".join(values) + b"\n")
    return finish(DONE)


def run(source, target):
    """The whole command on two paths: (target bytes or None when the command does not
    write it, outcome). The target is not touched; the caller compares."""
    try:
        with open(source, "rb") as f:
            data = f.read()
    except OSError:
        return None, FAILED
    if not is_wrapped(data):
        return None, NOT_WRAPPED
    if source == target:
        return None, SAME_FILE
    try:
        if os.path.samefile(source, target):
            return None, SAME_FILE
    except OSError:
        pass
    # Only a finished copy takes the target's place.
    target, outcome = unwrap(data)
    return (target if outcome == DONE else None), outcome


if __name__ == "__main__":
    import sys
    if len(sys.argv) != 3:
        sys.stderr.write("usage: unwrap_reference.py WRAPPED.las OUT.las\n")
        sys.exit(2)
    body, outcome = run(sys.argv[1], sys.argv[2])
    if body is not None:
        with open(sys.argv[2], "wb") as f:
            f.write(body)
    if outcome != DONE:
        sys.stderr.write("unwrap_reference.py: %s\n" % outcome)
    sys.exit(EXIT_STATUS[outcome])
