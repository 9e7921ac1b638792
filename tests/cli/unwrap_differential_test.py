#!/usr/bin/env python3
"""Differential test of `corvane-cli unwrap` against the independent Python model in
unwrap_reference.py, on random wrapped LAS files and on the real wrapped sample.

usage: unwrap_differential_test.py CORVANE_CLI [CASES [SEED]] [--case K] [--keep DIR]

Every case is built from its own generator seeded with "SEED:K", so one failing case
can be replayed alone with --case K. A mismatch prints the exit statuses and the first
differing line of both targets; --keep DIR saves the case's files under DIR/case-K.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source tree clean when run from CTest
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import unwrap_reference as ref  # noqa: E402

SAMPLE = os.path.join(HERE, "..", "data", "sample_2.0_wrapped.las")


# ---------------------------------------------------------------- random pieces

def vary_case(rng, text):
    choice = rng.random()
    if choice < 0.4:
        return text
    if choice < 0.6:
        return text.upper()
    if choice < 0.8:
        return text.lower()
    return bytes(c ^ 0x20 if 65 <= (c & ~0x20) <= 90 and rng.random() < 0.5 else c for c in text)


def blanks(rng, low=0, high=4):
    pool = [b" ", b" ", b" ", b"\t"] if rng.random() < 0.9 else [b" ", b"\t", b"\v", b"\f", b"\r"]
    return b"".join(rng.choice(pool) for _ in range(rng.randint(low, high)))


def version_head(rng):
    """Lines 1 to 3, mostly a wrapped declaration, sometimes one that detection refuses."""
    first = vary_case(rng, rng.choice([b"~VERSION INFORMATION", b"~Version", b"~V", b"~VERSION INFORMATION  ",
                                       b"~V\xe9rsion \xff"]))
    if rng.random() < 0.05:
        first = b"x" + first  # "~V" anywhere on the line is enough
    vers = vary_case(rng, rng.choice([b" VERS.                 2.0 :   CWLS log ASCII Standard -VERSION 2.0",
                                      b"VERS. 1.2 : CWLS LOG ASCII STANDARD - VERSION 1.2",
                                      b"  vers.   2.0:"]))
    wrap = vary_case(rng, rng.choice([b" WRAP.                 YES :   Multiple lines per depth step",
                                      b"WRAP. YES : wrapped", b"  wrap.  yes:", b"WRAP.  NO : YESTERDAY",
                                      b" WRAP. YES"]))
    head = [first, vers, wrap]
    r = rng.random()
    if r < 0.03:
        head.insert(0, b"# comment before the version section")
    elif r < 0.05:
        head[2] = b" WRAP.   NO :   One line per depth"
    elif r < 0.06:
        head[1] = b" VERSION 2.0"
    elif r < 0.07:
        head = head[:rng.randint(0, 2)]
    return head


WELL_LINES = [b"STRT    .M               910.0000               :START DEPTH",
              b"STOP    .M               909.5000               :STOP DEPTH",
              b"STEP    .M               -0.1250                :STEP",
              b"NULL    .                -999.25                :NULL VALUE",
              b"COMP    .       ANY OIL COMPANY INC.            :COMPANY",
              b"WELL    .       ANY ET AL 12-34-12-34           :WELL",
              b"#MNEM.UNIT   DATA   DESCRIPTION", b"", b"   ", b"\t", b"UWI . caf\xe9 : unique",
              b"~C", b"~c  not the curve section", b" ~CURVE with a blank in front",
              b"~Aside: not the data section either? it is", b"~ANOTHER"]
PARAMETER_LINES = [b"BHT .DEGC   35.5000 : BOTTOM HOLE TEMPERATURE", b"BS  .MM  200.0000 : BIT SIZE",
                   b"# parameter comment", b"", b"RMF .OHMM 0.2160 : MUD FILTRATE RESISTIVITY"]
OTHER_LINES = [b"Note: the logs were run in 1986.", b"~C", b"", b"   # 12 digits in a comment",
               b"x" * 1700]
CURVE_NAMES = [b"DEPT", b"DT", b"RHOB", b"NPHI", b"SFLU", b"GR", b"ILD", b"CALI", b"SP", b"R\xb5HO"]


def well_like_section(rng, title, pool):
    lines = [vary_case(rng, title)]
    for _ in range(rng.randint(0, 6)):
        line = rng.choice(pool)
        if rng.random() < 0.03:
            line = line + b" " + b"w" * rng.randint(1400, 4000)
        lines.append(line)
    return lines


def curve_section(rng, curves):
    r = rng.random()
    if r < 0.04:
        title = b"~C"  # not the curve section: the file is copied to its end
    elif r < 0.06:
        title = b" ~CURVE INFORMATION"
    else:
        title = vary_case(rng, rng.choice([b"~CURVE INFORMATION", b"~Curve", b"~CURVE", b"~CurveX"]))
    lines = [title]
    for k in range(curves):
        while rng.random() < 0.15:
            lines.append(rng.choice([b"", b"   ", b"\t", b"#MNEM.UNIT  API CODE  Curve Description",
                                     b"   # 1 2 3", b"\t#", b" \f ", b"\v# 4",
                                     b" ~Not a section title"]))
        name = rng.choice(CURVE_NAMES)
        line = blanks(rng, 0, 2) + name + b" .M  %02d 000 00 00 : %d curve" % (k, k)
        if rng.random() < 0.02:
            line += b" " + b"d" * rng.randint(1500, 3000)
        lines.append(line)
    while rng.random() < 0.2:
        lines.append(rng.choice([b"", b"# trailing comment", b"  "]))
    return lines


def number(rng):
    r = rng.random()
    if r < 0.1:
        return b"-999.2500"
    if r < 0.2:
        return b"%d" % rng.randint(-500, 5000)
    if r < 0.25:
        return b"%.3E" % rng.uniform(-1e5, 1e5)
    if r < 0.3:
        return rng.choice([b"abc", b"N/A", b"x12", b"12x", b"-", b"+.5", b"1,5", b"caf\xe9", b"--",
                           b"1\xa02", b"3\x004", b"\x00"])
    return b"%.*f" % (rng.randint(0, 6), rng.uniform(-3000, 3000))


def data_section(rng, curves):
    """Rows of values cut over lines at random places, with comments and blank lines."""
    rows = rng.randint(0, 25)
    values = []
    for row in range(rows):
        values.append(b"%.4f" % (1000 + 0.125 * row))
        values.extend(number(rng) for _ in range(max(0, curves - 1)))
    if values and rng.random() < 0.3:
        del values[-rng.randint(1, max(1, min(len(values), curves))):]  # truncated last row
    wide = rng.random() < 0.05
    lines = []
    current = blanks(rng, 0, 3)
    for value in values:
        current += value + blanks(rng, 1, 3)
        limit = 0.02 if wide else 0.35
        if rng.random() < limit:
            lines.append(current.rstrip(b" \t") if rng.random() < 0.5 else current)
            current = blanks(rng, 0, 3)
        while rng.random() < 0.05:
            lines.append(rng.choice([b"# no digits here", b"#  DEPTH 1000.5", b"   # 7", b"\t#",
                                     b"", b"   ", b"#", b" x y z", b"\t # 1.0 2.0", b"\v\f# 5",
                                     b"\r# lone CR in front", b"5 # a number before the mark"]))
    if current.strip():
        lines.append(current)
    return lines


def build_file(rng):
    curves = rng.randint(1, 30) if rng.random() > 0.03 else 0
    lines = version_head(rng)
    for _ in range(rng.randint(0, 2)):
        lines.append(rng.choice([b" DLM . SPACE : delimiter", b"# version comment", b""]))
    sections = []
    for title, pool in ((b"~Well Information", WELL_LINES), (b"~Parameter Information", PARAMETER_LINES),
                        (b"~Other", OTHER_LINES)):
        if rng.random() < 0.7:
            sections.append(well_like_section(rng, title, pool))
    rng.shuffle(sections)
    split = rng.randint(0, len(sections))
    for section in sections[:split]:
        lines.extend(section)
    lines.extend(curve_section(rng, curves))
    for section in sections[split:]:
        lines.extend(section)
    if rng.random() > 0.04:
        lines.append(vary_case(rng, rng.choice([b"~A", b"~ASCII Log Data", b"~A  DEPT  DT  RHOB",
                                                b"~a"])))
        lines.extend(data_section(rng, curves))
        if rng.random() < 0.05:
            lines.extend([b"~Other", b"a note without digits", b"a note with 1 digit"])
    data = join_lines(rng, lines)
    if rng.random() < 0.04:
        # a file from an older system: Ctrl-Z ends the text, whatever follows it
        at = rng.randint(len(data) // 2, len(data))
        data = data[:at] + b"\x1a" + rng.choice([b"", b"1 2 3 4\r\n"])
    return data


def join_lines(rng, lines):
    mode = rng.choice(["lf", "crlf", "mixed"])
    out = []
    for line in lines:
        if rng.random() < 0.01:
            line += b"\r"  # a lone CR before the line end stays part of the line
        end = {"lf": b"\n", "crlf": b"\r\n"}.get(mode) or rng.choice([b"\n", b"\r\n"])
        out.append(line + end)
    data = b"".join(out)
    r = rng.random()
    if data and r < 0.2:
        data = data.rstrip(b"\r\n")  # no final line end
    elif data and r < 0.23:
        data = data.rstrip(b"\r\n") + b"\r"  # ends in a lone CR
    return data


# ---------------------------------------------------------------- the model itself

def model_problems():
    """Known answers the model must give before it is trusted as the judge."""
    head = b"~Version Information\n VERS.  2.0 :\n WRAP.  YES : Multiple lines\n"
    new_head = b"~Version Information\r\n VERS.  2.0 :\r\n" + ref.WRAP_NO_LINE[:-1] + b"\r\n"
    curves = b"~Curve Information\nDEPT .M :\n\n# GR .GAPI\nGR .GAPI :\nRHOB .G/C3 :\nNPHI .V/V :\n"
    cases = [
        ("four curves over three lines",
         head + curves + b"~A\n 1000.0000\n  -999.2500   23.5000\n    1.2500\n",
         new_head + curves.replace(b"\n", b"\r\n") + b"~A\r\n 1000.0000   -999.2500   23.5000     1.2500 \r\n",
         ref.DONE),
        ("truncated last row and comment lines",
         head + curves + b"~A\r\n1 2 3 4\r\n# 5 6\r\n  #\r\n5 6\r\n7",
         new_head + curves.replace(b"\n", b"\r\n") + b"~A\r\n1 2 3 4 \r\n", ref.DONE),
        ("a section line of only ~C",
         head + b"~C\nA\n~A\n1\n", new_head + b"~C\r\nA\r\n~A\r\n1\r\n", ref.ENDED_EARLY),
        ("no counted curve",
         head + b"~curve\n# A\n\n~a\n1\n", new_head + b"~curve\r\n# A\r\n\r\n~a\r\n", ref.ENDED_EARLY),
    ]
    problems = []
    for name, source, target, result in cases:
        if not ref.is_wrapped(source) or ref.unwrap(source) != (target, result):
            problems.append("model: %s gives %r" % (name, ref.unwrap(source)))
    for name, source, wrapped in (("lower case", head.lower(), True),
                                  ("WRAP NO", head.replace(b"YES", b"NO"), False),
                                  ("comment before ~V", b"# c\n" + head, False),
                                  ("two lines", head[:head.index(b" WRAP")], False)):
        if ref.is_wrapped(source) != wrapped:
            problems.append("model: detection of %s" % name)
    return problems


# ---------------------------------------------------------------- comparison

def first_difference(expected, actual):
    exp_lines = expected.split(b"\n")
    act_lines = actual.split(b"\n")
    for k in range(max(len(exp_lines), len(act_lines))):
        e = exp_lines[k] if k < len(exp_lines) else None
        a = act_lines[k] if k < len(act_lines) else None
        if e != a:
            return "line %d:\n  expected %r\n  actual   %r" % (k + 1, e, a)
    return "identical"


def run_cli(cli, args, cwd=None):
    proc = subprocess.run([cli, "unwrap"] + args, cwd=cwd, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    return proc.returncode, proc.stderr.decode("latin-1")


def check(name, cli, source, target, expected_body, expected_outcome, args=None, cwd=None):
    """Run the command and compare its exit status, its target and the source after it.
    A target that exists beforehand must be replaced by a written one, and left as it
    was by a refusal. Returns a description of the mismatch, or None."""
    before = open(source, "rb").read() if os.path.exists(source) else None
    if expected_body is None and os.path.isfile(target):
        expected_body = open(target, "rb").read()
    status, stderr = run_cli(cli, args or [source, target], cwd)
    problems = []
    wanted = ref.EXIT_STATUS[expected_outcome]
    if status != wanted:
        problems.append("exit status %d, expected %d (%s); stderr: %s"
                        % (status, wanted, expected_outcome, stderr.strip()[:300]))
    actual = open(target, "rb").read() if os.path.isfile(target) and not os.path.samefile(
        target, source) else None
    if expected_body is None:
        if actual is not None and expected_outcome != ref.SAME_FILE:
            problems.append("target written (%d bytes) though the outcome is %s" % (len(actual), expected_outcome))
    elif actual != expected_body:
        if actual is None:
            problems.append("target missing")
        else:
            problems.append("target differs at " + first_difference(expected_body, actual))
    if before is not None and open(source, "rb").read() != before:
        problems.append("the source was modified")
    if problems:
        return "%s: %s" % (name, "; ".join(problems))
    return None


def random_case(cli, seed, k, work, keep):
    rng = random.Random("%s:%d" % (seed, k))
    data = build_file(rng)
    folder = os.path.join(work, "case-%d" % k)
    os.makedirs(folder, exist_ok=True)
    source = os.path.join(folder, "wrapped.las")
    target = os.path.join(folder, "unwrapped.las")
    with open(source, "wb") as f:
        f.write(data)
    if rng.random() < 0.3:
        with open(target, "wb") as f:  # an earlier, longer file of the target's name
            f.write(b"old line\r\n" * rng.randint(1, 2000))
    body, outcome = ref.run(source, target)
    problem = check("case %d" % k, cli, source, target, body, outcome)
    if problem and keep:
        dest = os.path.join(keep, "case-%d" % k)
        shutil.rmtree(dest, ignore_errors=True)
        shutil.copytree(folder, dest)
        if body is not None:
            with open(os.path.join(dest, "expected.las"), "wb") as f:
                f.write(body)
    shutil.rmtree(folder, ignore_errors=True)
    return problem, outcome


def long_line_cases(cli, folder):
    """Lines around the reader's limit, in the data and in a header section: at the limit
    the line is taken whole, past it the run fails keeping what it wrote before."""
    problems = []
    head = b"~Version\r\n VERS. 2.0 :\r\n WRAP. YES :\r\n"
    for name, data in (
            ("data line at the limit", head + b"~Curve\nA\nB\n~A\n1 2\n" + b"3" * ref.MAX_LINE + b"\r\n5 6\n"),
            ("data line past the limit", head + b"~Curve\nA\n~A\n1 2\n" + b"3" * (ref.MAX_LINE + 1) + b"\n5\n"),
            ("header line past the limit", head + b"~Well\n" + b"w" * (ref.MAX_LINE + 1) + b"\n~Curve\nA\n~A\n1\n"),
            ("first line past the limit", b"~V" + b"v" * ref.MAX_LINE + b"\n" + head[10:] + b"~Curve\nA\n~A\n1\n")):
        source = os.path.join(folder, "long.las")
        target = os.path.join(folder, "long-out.las")
        with open(source, "wb") as f:
            f.write(data)
        body, outcome = ref.run(source, target)
        problems.append(check(name, cli, source, target, body, outcome))
        os.remove(source)
        if os.path.exists(target):
            os.remove(target)
    return problems


def straddling_case(cli, folder):
    """CR LF pairs, and long lines, that straddle every power-of-two offset from 4 KiB to
    2 MiB, where the blocks of a buffered reader end."""
    rng = random.Random("straddle")
    data = bytearray(b"~V\r\nVERS. 2.0\r\nWRAP. YES\r\n~Curve\r\nA\r\nB\r\nC\r\n~A\r\n")
    for power in range(12, 22):
        goal = (1 << power) - 1  # where the CR of a CR LF pair lands
        while len(data) < goal - 200:
            data += b" ".join(b"%.3f" % rng.uniform(-99, 99) for _ in range(rng.randint(1, 5))) + b"\r\n"
        data += b"7" * (goal - len(data) - 1) + b" \r\n"
        assert data[goal:goal + 2] == b"\r\n"
    data += b"1 2 " * 200000 + b"\r\n# 3\r\n" + b"4 " * 7 + b"\r\n"
    source = os.path.join(folder, "straddle.las")
    target = os.path.join(folder, "straddle-out.las")
    with open(source, "wb") as f:
        f.write(bytes(data))
    body, outcome = ref.run(source, target)
    problem = check("CR LF at block ends", cli, source, target, body, outcome)
    os.remove(source)
    if os.path.exists(target):
        os.remove(target)
    return problem


def cancel_case(cli, folder):
    """An interrupt in the middle of a large file: the command fails and the target is
    as it was before the run (a finished copy only ever takes its place)."""
    rng = random.Random("cancel")
    row = b" ".join(b"%.4f" % rng.uniform(-1000, 1000) for _ in range(12)) + b"\r\n"
    rows = 300000
    source = os.path.join(folder, "big.las")
    target = os.path.join(folder, "big-out.las")
    head = b"~V\r\nVERS. 2.0\r\nWRAP. YES\r\n~Curve\r\n" + b"C\r\n" * 6 + b"~A\r\n"
    with open(source, "wb") as f:
        f.write(head + row)
    # The model on one row gives the head and the rows of one source line; the rows of
    # the large file repeat them.
    one, _ = ref.run(source, target)
    head_size = one.index(b"~A\r\n") + 4
    body = one[:head_size] + one[head_size:] * rows
    with open(source, "wb") as f:
        f.write(head + row * rows)
    earlier = b"an earlier copy\r\n"
    with open(target, "wb") as f:
        f.write(earlier)
    proc = subprocess.Popen([cli, "unwrap", source, target], stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    # Wait until the rows have begun (some of the source read), so that the interrupt lands inside them.
    for _ in range(500):
        if proc.poll() is not None:
            break
        try:
            with open("/proc/%d/io" % proc.pid) as io:
                if int(io.readline().split()[1]) > 1 << 20:
                    break
        except (OSError, ValueError, IndexError):
            pass
        time.sleep(0.01)
    proc.send_signal(2)
    proc.wait(timeout=120)
    actual = open(target, "rb").read()
    leftovers = [n for n in os.listdir(folder) if n.startswith(".")]
    os.remove(source)
    os.remove(target)
    if leftovers:
        return "cancel: temporary files left: %s" % leftovers
    if proc.returncode == ref.EXIT_DONE:
        return None if actual == body else "cancel: finished, but the target differs"
    if proc.returncode != ref.EXIT_FAILED:
        return "cancel: exit status %d" % proc.returncode
    if actual != earlier:
        return "cancel: the target (%d bytes) is not the earlier file" % len(actual)
    return None


def fixed_cases(cli, work):
    """The real sample, and the ways the command refuses or fails."""
    problems = []
    folder = os.path.join(work, "fixed")
    os.makedirs(folder)
    source = os.path.join(folder, "sample.las")
    shutil.copyfile(SAMPLE, source)
    target = os.path.join(folder, "out.las")
    body, outcome = ref.run(source, target)
    if outcome != ref.DONE:
        problems.append("the reference does not unwrap the sample (%s)" % outcome)
    problems.append(check("sample", cli, source, target, body, outcome))
    os.remove(target)

    # The source under its own name, a relative name and a link: refused, source intact.
    link = os.path.join(folder, "link.las")
    os.symlink(source, link)
    hard = os.path.join(folder, "hard.las")
    os.link(source, hard)
    for name, args, cwd in (("same path", [source, source], None),
                            ("relative path", ["sample.las", "./sample.las"], folder),
                            ("symbolic link", [source, link], None),
                            ("hard link", [source, hard], None),
                            ("path through the parent", [source, os.path.join(folder, "..", "fixed", "sample.las")], None)):
        status, stderr = run_cli(cli, args, cwd)
        # The same text gets the notice; another name for the source fails to open.
        message = ("Unwrap LAS file name cannot be the same as the original LAS file." if args[0] == args[1]
                   else "Failed to open LAS file.")
        intact = open(source, "rb").read() == open(SAMPLE, "rb").read()
        if status != ref.EXIT_FAILED or not intact or message not in stderr:
            problems.append("%s: exit status %d, source %s, stderr %r" % (
                name, status, "intact" if intact else "changed", stderr))

    problems.extend(long_line_cases(cli, folder))
    problems.append(straddling_case(cli, folder))
    problems.append(cancel_case(cli, folder))

    missing = os.path.join(folder, "missing.las")
    problems.append(check("missing source", cli, missing, target, None, ref.FAILED))
    nowhere = os.path.join(folder, "no-such-dir", "out.las")
    status, _ = run_cli(cli, [source, nowhere])
    if status != ref.EXIT_FAILED:
        problems.append("target in a missing folder: exit status %d" % status)
    for name, args in (("missing argument", [source]), ("no argument", []),
                       ("extra argument", [source, target, target])):
        status, _ = run_cli(cli, args)
        if status != 2 or os.path.exists(target):
            problems.append("%s: exit status %d, expected 2 and nothing written" % (name, status))
    return [p for p in problems if p]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("cases", nargs="?", type=int, default=300)
    parser.add_argument("seed", nargs="?", default="1")
    parser.add_argument("--case", type=int)
    parser.add_argument("--keep")
    args = parser.parse_args()
    args.cli = os.path.abspath(args.cli)

    work = tempfile.mkdtemp(prefix="unwrap-diff-")
    try:
        problems = model_problems()
        if args.case is None:
            problems.extend(fixed_cases(args.cli, work))
        outcomes = {}
        numbers = [args.case] if args.case is not None else range(args.cases)
        for k in numbers:
            problem, outcome = random_case(args.cli, args.seed, k, work, args.keep)
            outcomes[outcome] = outcomes.get(outcome, 0) + 1
            if problem:
                problems.append(problem)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    summary = ", ".join("%s %d" % item for item in sorted(outcomes.items()))
    print("outcomes: %s" % summary)
    for problem in problems:
        print(problem)
    if problems:
        print("%d mismatch(es)" % len(problems))
        return 1
    print("no mismatch")
    return 0


if __name__ == "__main__":
    sys.exit(main())
