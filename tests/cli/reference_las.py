#!/usr/bin/env python3
"""Independent model of `corvane-cli convert`, written from the rules of the
conversion alone (no code shared with the C++ side), so that the two can be
compared byte for byte on random inputs.

Everything works on bytes: the files are single-byte text and the C library's
character classes of the "C" locale apply (nothing above code 127 is white
space or a letter that changes case).

Entry points:
  convert_bytes(lah, ascii_data, first_data_line, ...) -> (exit_code, las_bytes or None)
  convert(config_path, first_data_line, ascii=None, las=None, ...) -> same, reading the files
"""

import re

EXIT_DONE = 0
EXIT_FAILED = 1
EXIT_USAGE = 2

WHITESPACE = b" \t\n\v\f\r"
ENTRY_CAP = 30720
MAX_CURVE_TOTAL = 100000  # no log has more curves

_DOUBLE_RE = re.compile(rb"[ \t\n\v\f\r]*([+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)")
_INT_RE = re.compile(rb"[ \t\n\v\f\r]*([+-]?[0-9]+)")


# ---------------------------------------------------------------- numbers

def scan_double(text):
    """Longest leading decimal number ("%lf"), or None. No nan, inf or hex."""
    m = _DOUBLE_RE.match(text)
    if not m:
        return None
    return float(m.group(1))


def scan_int(text):
    """Longest leading decimal integer ("%d"), or None."""
    m = _INT_RE.match(text)
    if not m:
        return None
    return int(m.group(1))


def fmt_value(value):
    """"%.4lf:" without the colon."""
    return ("%.4f" % value).encode("ascii")


def fmt_cell(value):
    """"%12.4lf  "."""
    return ("%12.4f  " % value).encode("ascii")


# ---------------------------------------------------------------- text lines

def read_lines(data):
    """Whole lines, each keeping one LF when it had a line end; CR LF reads as LF.
    A Ctrl-Z byte ends the text."""
    mark = data.find(b"\x1a")
    if mark >= 0:
        data = data[:mark]
    lines = []
    pos = 0
    n = len(data)
    while pos < n:
        lf = data.find(b"\n", pos)
        if lf < 0:
            lines.append(data[pos:])
            break
        body = data[pos:lf]
        if body.endswith(b"\r"):
            body = body[:-1]
        lines.append(body + b"\n")
        pos = lf + 1
    return lines


def is_blank_line(line):
    return all(c in WHITESPACE for c in line)


# ---------------------------------------------------------------- configuration

class Profile:
    """Key-level reading in the manner of the private-profile functions."""

    def __init__(self, data):
        self.sections = []  # list of (name_lower, [(key_lower, value)])
        current = None
        for raw in data.split(b"\n"):
            if raw.endswith(b"\r"):
                raw = raw[:-1]
            stripped = raw.strip(b" \t")
            if stripped.startswith(b"[") and b"]" in stripped:
                name = stripped[1:stripped.index(b"]")]
                current = (name.strip(b" \t").lower(), [])
                self.sections.append(current)
                continue
            if current is None or b"=" not in raw:
                continue
            key, value = raw.split(b"=", 1)
            current[1].append((key.strip(b" \t").lower(), value))

    def get(self, section, key, default):
        section = section.lower()
        key = key.lower()
        for name, entries in self.sections:
            if name != section:
                continue
            for k, v in entries:
                if k == key:
                    v = v.strip(b" \t")
                    if len(v) >= 2 and v[0] == v[-1] and v[0:1] in (b'"', b"'"):
                        v = v[1:-1]
                    return v
            return default
        return default


class CurveDef:
    def __init__(self, heading=b"", units=b"", api=b"", desc=b""):
        self.heading = heading
        self.units = units
        self.api = api
        self.desc = desc


class Setup:
    def __init__(self):
        self.ascii_path = b""
        self.null_value = -999.25
        self.first_index = -1
        self.user_total = 0
        self.fixed_width = 0
        self.skip_width = 0
        self.delimiter = b""
        self.curves = []
        self.samples = []  # only its length matters here: the curve total
        self.uwi = b""
        self.well_name = b""
        self.country = b""
        self.log_date = b""
        self.other_header = []  # the logical lines of the other header text
        self.well_label = b"UWI"
        self.las_path = b""
        self.version = b"3.0"

    @property
    def curve_total(self):
        return len(self.samples)


def load_configuration(setup, data):
    if data is None:
        return False
    p = Profile(data)
    if p.get(b"File ID", b"ID", b"UNKNOWN") != b"Corvane":
        return False
    setup.version = p.get(b"File ID", b"VERSION", b"UNKNOWN")
    setup.ascii_path = p.get(b"User Files", b"ASCII FILE", b"")
    setup.las_path = p.get(b"User Files", b"LAS FILE", b"")
    setup.well_label = p.get(b"LAS HEADER", b"WELL LABEL", b"")
    setup.uwi = p.get(b"LAS HEADER", b"UWI", b"")
    setup.well_name = p.get(b"LAS HEADER", b"WELL NAME", b"")
    setup.country = p.get(b"LAS HEADER", b"COUNTRY", b"")
    setup.log_date = p.get(b"LAS HEADER", b"LOG DATE", b"")
    setup.other_header = []
    for n in range(1000):
        v = p.get(b"LAS HEADER", b"OTHER HEADER %d" % n, b"")
        if not v:
            break
        setup.other_header.append(v)
    v = scan_double(p.get(b"Curve Parameters", b"NULL", b"0"))
    if v is not None:
        setup.null_value = v
    v = scan_int(p.get(b"Curve Parameters", b"FIXED WIDTH", b"0"))
    if v is not None:
        setup.fixed_width = v
    v = scan_int(p.get(b"Curve Parameters", b"SKIP WIDTH", b"0"))
    if v is not None:
        setup.skip_width = v
    setup.delimiter = p.get(b"Curve Parameters", b"DELIMITER", b"")
    total = scan_int(p.get(b"Curves", b"TOTAL", b"0"))
    if total is None:
        total = 0
    setup.user_total = total
    for n in range(max(total, 0)):
        setup.curves.append(CurveDef(p.get(b"Curves", b"HEADING %d" % n, b""),
                                     p.get(b"Curves", b"UNITS %d" % n, b""),
                                     p.get(b"Curves", b"API CODE %d" % n, b""),
                                     p.get(b"Curves", b"CURVE DESC %d" % n, b"")))
        setup.samples.append(b"")
    return True


# ---------------------------------------------------------------- column splitting

def get_delimiter_set(text):
    if text == b"space":
        return b" "
    if text == b"tab":
        return b"\t"
    return text


def split_columns(line, columns, fixed_width, skip_width, limit, delims, suffix):
    copy = line.replace(b"\n", b" ").replace(b"\r", b" ")
    if skip_width > 0 and copy:
        copy = copy[skip_width:]
    i = 0
    p = 0
    rest = copy
    while True:
        if limit >= 0 and i >= limit:
            return
        if fixed_width > 0:
            n = min(fixed_width, len(copy) - p)
            if n <= 0:
                break
            col = copy[p:p + n]
        else:
            k = 0
            while k < len(rest) and rest[k] in WHITESPACE:
                k += 1
            rest = rest[k:]
            if not rest:
                break
            cut = -1
            for j, c in enumerate(rest):
                if c in delims:
                    cut = j
                    break
            if cut >= 0:
                col = rest[:cut]
                rest = rest[cut + 1:]
            else:
                col = rest
                rest = b""
        if limit < 0 or i >= len(columns):
            columns.append(b"")
        if len(columns[i]) < ENTRY_CAP:
            columns[i] += col + suffix
        p += fixed_width
        i += 1
    while limit >= 0 and i < limit:
        if i >= len(columns):
            columns.append(b"")
        if len(columns[i]) < ENTRY_CAP:
            columns[i] += suffix
        i += 1


# ---------------------------------------------------------------- digit samples

def collect_digit_samples(setup, data):
    """Rebuilds the digit sample list (and so the curve total); pads the curve list."""
    setup.samples = []
    lines = read_lines(data)
    first = setup.first_index
    if first > len(lines):
        return False
    limit = setup.user_total if setup.user_total >= 1 else -1
    delims = get_delimiter_set(setup.delimiter)
    for k, line in enumerate(lines[first:first + 100]):
        split_columns(line, setup.samples, setup.fixed_width, setup.skip_width, limit, delims, b"\r\n")
        if len(setup.samples) > MAX_CURVE_TOTAL:
            setup.samples = []
            return False  # refused as a typed total beyond the largest would be
        if k == 0:
            limit = len(setup.samples)
    while len(setup.curves) < len(setup.samples):
        setup.curves.append(CurveDef())
    return True


# ---------------------------------------------------------------- LAS writing

def header_line(mnemonic, value, description):
    pad = 10 + 30 + 1 - len(mnemonic) - len(value)
    if pad < 0:
        pad = 0
    return mnemonic + b" " * pad + value + b" " + description


def is_depth_heading(heading):
    return heading.upper() in (b"DEPTH", b"DEPT", b"DEP")


class DepthRange:
    def __init__(self):
        self.column = -1
        self.start = b"0.0000"
        self.stop = b"0.0000"
        self.step = b"0.0000"
        self.unit = b""


def split_row(setup, line):
    cols = []
    split_columns(line, cols, setup.fixed_width, setup.skip_width, setup.curve_total,
                  get_delimiter_set(setup.delimiter), b"")
    return cols


def read_value(setup, text):
    """The number of a cell: the null value when there is none, or when it lies beyond
    the range of a double."""
    v = scan_double(text)
    return setup.null_value if v is None or v in (float("inf"), float("-inf")) else v


def index_column(setup):
    """The index curve: the first headed DEPTH, DEPT or DEP, else the first headed TIME."""
    for names in ((b"DEPTH", b"DEPT", b"DEP"), (b"TIME",)):
        for i in range(setup.curve_total):
            h = setup.curves[i].heading
            if h and h.upper() in names:
                return i
    return -1


def _decimal(text):
    """A written cell as (mantissa, decimals), or None beyond 36 significant digits."""
    negative = text.startswith(b"-")
    body = text.lstrip(b"+-")
    whole, _, frac = body.partition(b".")
    digits = whole.lstrip(b"0") + frac
    if len(digits) > 36:
        return None
    m = int(whole + frac) if (whole + frac) else 0
    return (-m if negative else m), len(frac)


def _difference(a, b):
    if a is None or b is None:
        return None
    scale = max(a[1], b[1])
    m = b[0] * 10 ** (scale - b[1]) - a[0] * 10 ** (scale - a[1])
    while scale > 0 and m % 10 == 0:
        m //= 10
        scale -= 1
    return m, scale


def _format_decimal(d):
    m, scale = d
    if scale < 4:
        m *= 10 ** (4 - scale)
        scale = 4
    digits = str(abs(m)).rjust(scale + 1, "0")
    text = digits[:-scale] + "." + digits[-scale:]
    return ("-" + text if m < 0 else text).encode("ascii")


def scan_depth_range(setup, data, inverse):
    """STRT and STOP are the index cells, as written, of the first and last rows written
    (data lines that are not blank, in the order written); STEP is their one increment,
    or 0 when the increments differ or there is a single row."""
    r = DepthRange()
    lines = read_lines(data)
    first = setup.first_index
    if len(lines) < first + 1:
        return r
    d = index_column(setup)
    if d < 0:
        return r
    r.column = d
    r.unit = setup.curves[d].units
    rows = [line for line in lines[first:] if not is_blank_line(line)]
    if inverse:
        rows.reverse()
    cells = [fmt_cell(read_value(setup, split_row(setup, line)[d])).strip() for line in rows]
    if not cells:
        return r
    r.start, r.stop = cells[0], cells[-1]
    values = [_decimal(c) for c in cells]
    steps = {_difference(a, b) for a, b in zip(values, values[1:])}
    if len(steps) == 1 and None not in steps:
        r.step = _format_decimal(steps.pop())
    return r


def output_order(setup, rng):
    order = []
    if rng.column >= 0:
        order.append(rng.column)
    for i in range(setup.curve_total):
        if i != rng.column and setup.curves[i].heading:
            order.append(i)
    return order


def write_header(setup, rng, other_lines):
    out = []
    out.append(b"~Version Information")
    out.append(b" VERS.                2.00 : CWLS Log ASCII Standard - Version 2.00")
    out.append(b" WRAP.                  NO : One line per depth")
    unit = rng.unit
    out.append(b"~Well Information")
    out.append(header_line(b"#MNEM.UNIT", b"          Data Type           ", b"Information"))
    out.append(header_line(b"#---------", b"-" * 30, b"-" * 30))
    out.append(header_line(b" STRT." + unit, rng.start + b":", b"Start Depth"))
    out.append(header_line(b" STOP." + unit, rng.stop + b":", b"Stop Depth"))
    out.append(header_line(b" STEP." + unit, rng.step + b":", b"Depth Increment"))
    out.append(header_line(b" NULL." + unit, fmt_value(setup.null_value) + b":", b"No Data Flag"))
    if setup.well_name:
        out.append(header_line(b" WELL.", setup.well_name + b":", b""))
    if setup.log_date:
        out.append(header_line(b" DATE.", setup.log_date + b":", b"LOG DATE"))
    if setup.uwi:
        label = b" API ." if setup.well_label == b"API" else b" UWI ."
        out.append(header_line(label, setup.uwi + b":", b"UNIQUE WELL ID"))
    for line in other_lines:
        if not line:
            continue
        fields = [t for t in line.split(b":") if t][:3]
        fields += [b""] * (3 - len(fields))
        out.append(header_line(b" " + fields[0], fields[1] + b":", fields[2]))
    out.append(b"~Curve Information")
    out.append(header_line(b"#MNEM.UNIT", b"          API Codes           ", b"Curve Description"))
    out.append(header_line(b"#---------", b"-" * 30, b"-" * 30))
    number = 2
    for i in output_order(setup, rng):
        c = setup.curves[i]
        if i == rng.column:
            n = 1
        else:
            n = number
            number += 1
        out.append(header_line(b" " + c.heading + b"." + c.units, c.api + b":", b"%3d %s" % (n, c.desc)))
    return out


def write_data_section(setup, rng, data, inverse):
    """Returns (lines, success)."""
    order = output_order(setup, rng)
    out = [b"~A " + b"".join(b"%12s  " % setup.curves[i].heading for i in order)]
    lines = read_lines(data)
    first = setup.first_index
    if len(lines) < first:
        return out, False
    part = lines[first:]
    if inverse:
        part = list(reversed(part))
    for line in part:
        if is_blank_line(line):
            continue
        cols = split_row(setup, line)
        out.append(b"   " + b"".join(fmt_cell(read_value(setup, cols[i])) for i in order))
    return out, True


def create_las(setup, data, inverse, other_lines):
    rng = scan_depth_range(setup, data, inverse)
    if not rng.unit and not (rng.column >= 0 and setup.curves[rng.column].heading.upper() == b"TIME"):
        rng.unit = b"M"  # a depth curve without units is in metres; a time index keeps none
    lines = write_header(setup, rng, other_lines)
    body, ok = write_data_section(setup, rng, data, inverse)
    lines += body
    return b"".join(line + b"\r\n" for line in lines), ok


# ---------------------------------------------------------------- the command

def convert_bytes(lah, ascii_data, first_data_line, **options):
    """Models `convert`; text options are bytes, numbers ints. Returns (exit code, LAS bytes).

    ascii_data is the content of the ASCII file; when it is None, read_file(path) is
    asked for the file the setup names.
    """
    code, las, _ = run_convert(lah, ascii_data, first_data_line, **options)
    return code, las


def run_convert(lah, ascii_data, first_data_line, ascii=None, las=None, inverse=False,
                delimiter=None, fixed_width=None, skip_width=None, curve_total=None, null=None,
                read_file=None):
    """As convert_bytes, and the setup as the run saves it (None when the run stops before)."""
    setup = Setup()
    if not load_configuration(setup, lah):
        return EXIT_FAILED, None, None
    if ascii is not None:
        setup.ascii_path = ascii
    if las is not None:
        setup.las_path = las
    if delimiter is not None:
        setup.delimiter = delimiter
    if fixed_width is not None:
        setup.fixed_width = fixed_width
    if skip_width is not None:
        setup.skip_width = skip_width
    if curve_total is not None:
        setup.user_total = curve_total
    if null is not None:
        v = scan_double(null[:399])
        if v is None:
            return EXIT_USAGE, None, None
        setup.null_value = v
    setup.first_index = first_data_line
    if not setup.ascii_path or not setup.las_path:
        return EXIT_USAGE, None, None
    if ascii_data is None:
        ascii_data = read_file(setup.ascii_path)
    # Without digit samples there is nothing to convert: neither the LAS file nor the
    # configuration is touched.
    if not collect_digit_samples(setup, ascii_data):
        return EXIT_FAILED, None, None
    las_bytes, ok = create_las(setup, ascii_data, inverse, setup.other_header)
    # Only a complete LAS file takes the place of an earlier one.
    return (EXIT_DONE if ok else EXIT_FAILED), (las_bytes if ok else None), setup


# ---------------------------------------------------------------- saved configuration

def _round_trip(value):
    """What reading back a key written with this value gives."""
    return Profile(b"[S]\r\nK=" + value + b"\r\n").get(b"S", b"K", b"")


def saved_fields(setup):
    """The fields that loading the configuration saved from this setup must give."""
    other = []
    for line in setup.other_header[:1000]:
        line = _round_trip(line)
        if not line:
            break
        other.append(line)
    null = scan_double(("%.10f" % setup.null_value).encode("ascii"))
    total = setup.curve_total
    return {
        "version": _round_trip(setup.version),
        "paths": (_round_trip(setup.ascii_path), _round_trip(setup.las_path)),
        "well": tuple(_round_trip(v) for v in (setup.well_label, setup.uwi, setup.well_name,
                                               setup.country, setup.log_date)),
        "other header": other,
        "null": -999.25 if null is None else null,
        "widths": (setup.fixed_width, setup.skip_width),
        "delimiter": _round_trip(setup.delimiter),
        "total": total,
        "curves": [tuple(_round_trip(v) for v in (c.heading, c.units, c.api, c.desc))
                   for c in setup.curves[:max(total, 0)]],
    }


def loaded_fields(data):
    """The same fields, loaded from a configuration file (None when it is not recognised)."""
    setup = Setup()
    if not load_configuration(setup, data):
        return None
    return {
        "version": setup.version,
        "paths": (setup.ascii_path, setup.las_path),
        "well": (setup.well_label, setup.uwi, setup.well_name, setup.country, setup.log_date),
        "other header": setup.other_header,
        "null": setup.null_value,
        "widths": (setup.fixed_width, setup.skip_width),
        "delimiter": setup.delimiter,
        "total": setup.user_total,
        "curves": [(c.heading, c.units, c.api, c.desc) for c in setup.curves],
    }


def convert(config_path, first_data_line, **options):
    """Same as convert_bytes, reading the configuration and the ASCII file from disk."""
    def read(path):
        with open(path, "rb") as f:
            return f.read()
    try:
        lah = read(config_path)
    except OSError:
        lah = None
    options = {k: (v.encode() if isinstance(v, str) else v) for k, v in options.items()}
    return convert_bytes(lah, None, first_data_line, read_file=read, **options)


if __name__ == "__main__":
    import argparse
    import sys
    ap = argparse.ArgumentParser(description="Reference model of corvane-cli convert")
    ap.add_argument("--config", required=True)
    ap.add_argument("--first-data-line", type=int, required=True)
    ap.add_argument("--ascii")
    ap.add_argument("--las")
    ap.add_argument("--inverse", action="store_true")
    ap.add_argument("--delimiter")
    ap.add_argument("--fixed-width", type=int)
    ap.add_argument("--skip-width", type=int)
    ap.add_argument("--curve-total", type=int)
    ap.add_argument("--null")
    a = ap.parse_args()
    code, out = convert(a.config, a.first_data_line, ascii=a.ascii, las=a.las, inverse=a.inverse,
                        delimiter=a.delimiter, fixed_width=a.fixed_width, skip_width=a.skip_width,
                        curve_total=a.curve_total, null=a.null)
    if out is not None:
        sys.stdout.buffer.write(out)
    sys.exit(code)
