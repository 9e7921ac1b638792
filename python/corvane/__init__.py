"""Corvane from Python: read and check LAS files, convert column-oriented ASCII logs.

    import corvane
    las = corvane.read("well-7.las")           # header, curves as numpy arrays, the check
    las["GR"], las.index, las.data              # NULL readings are NaN
    corvane.check("well-7.las").findings        # what breaks the LAS 2.0 standard, by line
    corvane.convert("well-7.asc", "well-7.lah", "well-7.las")

The work runs in compiled code without the GIL: other Python threads go on meanwhile.
Failures raise subclasses of corvane.Error, which carry the file (``path``) and the
system's ``reason``. Ctrl-C stops a job; a LAS file being written is then not put in
place and an earlier file of the same name stays as it was.
"""

import json as _json
import os as _os


class Error(Exception):
    """A failure of corvane: ``message``, the file concerned (``path``) and why (``reason``)."""

    def __init__(self, message, path=None, reason=None):
        super().__init__(message, path, reason)
        self.message = message
        self.path = path
        self.reason = reason

    def __str__(self):
        text = self.message
        if self.path:
            text += " (" + self.path + ")"
        if self.reason:
            text += ": " + self.reason
        return text


class FileError(Error):
    """A file cannot be opened, read or written."""


class FormatError(Error):
    """A LAS file without the curves or the ~A data section to read."""


class CurveNotFound(Error, KeyError):
    """A curve asked for that the file does not have."""

    __str__ = Error.__str__


class ConfigurationError(Error):
    """A configuration file (.lah) that cannot be used."""


class ConversionError(Error):
    """A conversion that failed; the LAS file was not put in place."""


class BatchError(Error):
    """A batch refused before it converted anything; ``problems`` lists every clash."""

    @property
    def problems(self):
        return self.reason.split("\n") if self.reason else []


class Cancelled(Error):
    """A job stopped on request; an earlier LAS file is as it was."""


from . import _corvane  # noqa: E402  (the errors above must exist when it raises them)

__version__ = _corvane.version


# ---------------------------------------------------------------- header items

class HeaderItem:
    """One line of a header section: ``MNEM.UNIT VALUE : DESCRIPTION`` and its line number."""

    __slots__ = ("mnemonic", "unit", "value", "description", "line")

    def __init__(self, mnemonic, unit, value, description, line):
        self.mnemonic = mnemonic
        self.unit = unit
        self.value = value
        self.description = description
        self.line = line

    def __repr__(self):
        return "HeaderItem(%r, %r, %r, %r, line=%d)" % (
            self.mnemonic, self.unit, self.value, self.description, self.line)

    def __eq__(self, other):
        return isinstance(other, HeaderItem) and all(
            getattr(self, name) == getattr(other, name) for name in self.__slots__)


class HeaderItems(list):
    """The items of a section in file order; ``items["WELL"]`` finds one by mnemonic
    (exact first, then regardless of case)."""

    def __getitem__(self, key):
        if isinstance(key, str):
            item = self.get(key)
            if item is None:
                raise KeyError(key)
            return item
        return list.__getitem__(self, key)

    def get(self, mnemonic, default=None):
        for item in self:
            if item.mnemonic == mnemonic:
                return item
        folded = mnemonic.upper()
        for item in self:
            if item.mnemonic.upper() == folded:
                return item
        return default

    def __contains__(self, key):
        if isinstance(key, str):
            return self.get(key) is not None
        return list.__contains__(self, key)


class Section:
    """A header section as the file has it: ``letter``, ``title`` (the line without its
    "~"), ``line``, its ``items`` and, for ~O, its ``text`` lines."""

    __slots__ = ("letter", "title", "line", "items", "text")

    def __init__(self, letter, title, line, items, text):
        self.letter = letter
        self.title = title
        self.line = line
        self.items = items
        self.text = text

    def __repr__(self):
        return "Section(~%s, line=%d, %d items)" % (self.title, self.line, len(self.items))


# ---------------------------------------------------------------- check reports

class Finding:
    """One finding of the check: ``severity`` ("error", "warning", "note"), ``code``,
    ``line`` (0 for the file as a whole), ``text`` as in the file, ``reason`` and the
    ``section`` of the standard."""

    __slots__ = ("severity", "code", "line", "text", "reason", "section")

    def __init__(self, severity, code, line, text, reason, section):
        self.severity = severity
        self.code = code
        self.line = line
        self.text = text
        self.reason = reason
        self.section = section

    def as_dict(self):
        return {name: getattr(self, name) for name in self.__slots__}

    def __repr__(self):
        return "Finding(%s %s, line %d: %s)" % (self.severity, self.code, self.line, self.reason)


class CheckReport:
    """The check of one LAS file, as ``corvane-cli check --json`` reports it.

    ``findings`` (Finding objects, in line order), ``summary`` (what the file holds),
    ``counts`` (errors, warnings, notes, listed or not), ``unlisted`` (findings counted
    beyond the listed ones), ``passed``, ``complete``; ``json`` is the whole document
    byte for byte as the command line prints it, ``as_dict()`` the file's object in it.
    """

    def __init__(self, document):
        self.json = document
        parsed = _json.loads(document)
        self._file = parsed["files"][0]
        self.totals = parsed["totals"]
        self.path = self._file["path"]
        self.complete = self._file["complete"]
        self.passed = self._file["passed"]
        self.counts = self._file["counts"]
        self.summary = self._file["summary"]
        self.unlisted = self._file["unlisted"]
        self.findings = [Finding(**finding) for finding in self._file["findings"]]

    @property
    def errors(self):
        return [f for f in self.findings if f.severity == "error"]

    @property
    def warnings(self):
        return [f for f in self.findings if f.severity == "warning"]

    def as_dict(self):
        return self._file

    def __repr__(self):
        return "CheckReport(%r, %d errors, %d warnings, %d notes)" % (
            self.path, self.counts["errors"], self.counts["warnings"], self.counts["notes"])


# ---------------------------------------------------------------- LAS files

class LasFile:
    """A LAS file read whole.

    Header: ``version``, ``well``, ``curves``, ``params`` (HeaderItems of the first ~V,
    ~W, ~C and ~P sections), ``other`` (the text of ~O), ``sections`` (every section in
    file order), ``null`` (the NULL value of ~W, or None).
    Data: ``data`` (2-D float64, one row per depth, one column per curve read, the
    index first), ``index``, ``las["GR"]`` or ``las[2]`` (1-D views of ``data``),
    ``keys()`` (the mnemonics of the columns), ``to_pandas()``.
    ``check``: the findings of the LAS check (CheckReport).
    """

    def __init__(self, path, raw):
        self.path = path
        self.sections = [
            Section(s["letter"], s["title"], s["line"],
                    HeaderItems(HeaderItem(*item) for item in s["items"]), s["text"])
            for s in raw["sections"]]
        self.null = raw["null"]
        self.version = self._items("V")
        self.well = self._items("W")
        self.curves = self._items("C")
        self.params = self._items("P")
        other = self._section("O")
        self.other = "\n".join(other.text) if other is not None else ""
        self.data = raw["data"]
        self._columns = [self.curves[c] for c in raw["columns"]]
        self._check = CheckReport(raw["check"]) if raw["check"] is not None else None

    @property
    def check(self):
        """The CheckReport of the file: from the reading's own pass when read with
        ``check=True``, else made when first asked for (a second pass over the file)."""
        if self._check is None:
            self._check = check(self.path)
        return self._check

    def _section(self, letter):
        for section in self.sections:
            if section.letter == letter:
                return section
        return None

    def _items(self, letter):
        section = self._section(letter)
        return section.items if section is not None else HeaderItems()

    def keys(self):
        """The mnemonics of the columns of ``data``, the index first."""
        return [curve.mnemonic for curve in self._columns]

    @property
    def index(self):
        return self.data[:, 0]

    def curve(self, key):
        """The HeaderItem of a column, by mnemonic or place."""
        return self._columns[self._place(key)]

    def _place(self, key):
        if isinstance(key, int):
            if not -len(self._columns) <= key < len(self._columns):
                raise IndexError(key)
            return key % len(self._columns)
        names = self.keys()
        if key in names:
            return names.index(key)
        folded = [name.upper() for name in names]
        if key.upper() in folded:
            return folded.index(key.upper())
        raise CurveNotFound("No curve " + key + " was read.", self.path,
                            "the file has no such curve, or it was not asked for")

    def __getitem__(self, key):
        return self.data[:, self._place(key)]

    def __contains__(self, key):
        try:
            self._place(key)
            return True
        except (CurveNotFound, IndexError):
            return False

    def __len__(self):
        return self.data.shape[0]

    def to_pandas(self):
        """A pandas DataFrame of the curves, indexed by the index curve (named after it)."""
        import pandas
        names = self.keys()
        frame = pandas.DataFrame(self.data[:, 1:], columns=names[1:],
                                 index=pandas.Index(self.data[:, 0], name=names[0]))
        return frame

    def __repr__(self):
        return "LasFile(%r, %d rows, %d curves)" % (self.path, self.data.shape[0], self.data.shape[1])


def _path(path):
    # The file system's bytes, so that any name the system allows reaches the file.
    return _os.fsencode(_os.fspath(path))


def read(path, *, curves=None, depth=None, check=False, cancel=None):
    """Reads the LAS file at ``path`` (1.2 or 2.0, wrapped or not) into a LasFile.

    ``curves``: mnemonics of the curves to read besides the index (all when None).
    ``depth``: ``(top, bottom)``, only the rows whose index lies between the two.
    ``check``: check the file in the same pass (about twice the time of the reading);
    otherwise ``.check`` checks it when first asked for.
    ``cancel``: a callable (or threading.Event) asked now and then; a true answer stops
    the reading with Cancelled.
    Raises FileError, FormatError (no curves, no ~A section) or CurveNotFound.
    """
    if isinstance(curves, str):
        curves = [curves]
    if curves is not None:
        curves = [str(c) for c in curves]
    if depth is not None:
        top, bottom = depth
        depth = (float(top), float(bottom))
    raw = _corvane.read(_path(path), curves, depth, bool(check), _cancel_query(cancel))
    return LasFile(_os.fsdecode(_os.fspath(path)), raw)


def check(path, *, strict=False, cancel=None):
    """Checks the LAS file at ``path`` against the LAS 2.0 standard: a CheckReport equal
    to ``corvane-cli check --json`` (``strict``: warnings fail it too, as --strict).
    ``cancel`` as for read. Raises FileError when the file cannot be opened."""
    return CheckReport(_corvane.check(_path(path), bool(strict), _cancel_query(cancel)))


def _first_data_line(line):
    # -2: none given (the configuration's FIRST DATA LINE, else "auto"); -1: "auto".
    if line is None:
        return -2
    if line == "auto":
        return -1
    if isinstance(line, bool) or not isinstance(line, int) or line < 0:
        raise ValueError("first_data_line: a line number (0 or more), \"auto\" or None, not %r" % (line,))
    return line


def _cancel_query(cancel):
    if cancel is None or callable(cancel):
        return cancel
    if hasattr(cancel, "is_set"):
        return cancel.is_set
    raise TypeError("cancel: a callable or an object with is_set() (threading.Event), not %r" % (cancel,))


def convert(ascii_path, config, las_path, *, first_data_line=None, inverse=False, cancel=None):
    """Converts the ASCII file into a LAS 2.0 file with the choices of the configuration
    file ``config`` (.lah, only read): the same bytes as ``corvane-cli convert``.

    ``first_data_line``: the number of lines before the first line of digits; "auto"
    for the line the layout detection proposes; None for the line the configuration
    stores (its FIRST DATA LINE key), else the detected one, as ``corvane-cli convert``
    without ``--first-data-line``. ``inverse``: the data lines
    in reverse order. ``cancel``: a callable (or threading.Event) asked now and then; a
    true answer stops the run.
    Returns the run's report as a dict (that of ``convert --report``: rows, the depth
    range, the reading summary). The LAS file takes the place of an earlier one only
    when complete: after a failure (ConversionError, FileError, ConfigurationError) or
    a cancel (Cancelled, KeyboardInterrupt) an earlier file is as it was.
    """
    report = _corvane.convert(_path(ascii_path), _path(config), _path(las_path),
                              _first_data_line(first_data_line), bool(inverse),
                              _cancel_query(cancel))
    return _json.loads(report)


def batch(inputs, config, out_dir, *, first_data_line=None, inverse=False, jobs=None,
          check=False, strict=False, overwrite=False, recursive=False, report=None, cancel=None):
    """Converts many ASCII files with one configuration, in parallel, each as convert
    would: ``out_dir/<name>.las`` for each input (files, or folders of files).

    ``first_data_line`` as for convert.
    Returns the batch report (a dict, that of ``corvane-cli batch --report``); with
    ``report`` a path, it is written there too. One file's failure never stops another:
    see each file's "status". Raises BatchError when the plan clashes (every problem in
    ``problems``), ConfigurationError for an unusable configuration.
    """
    if isinstance(inputs, (str, bytes, _os.PathLike)):
        inputs = [inputs]
    text = _corvane.batch([_path(p) for p in inputs], _path(config), _path(out_dir),
                          _path(report) if report is not None else "",
                          _first_data_line(first_data_line), bool(inverse), bool(check),
                          bool(strict), bool(overwrite), bool(recursive), int(jobs or 0),
                          _cancel_query(cancel))
    return _json.loads(text)


def init(ascii_path, config_path, *, las_path=None, first_data_line=None, overwrite=False):
    """Writes a new configuration file (.lah) for the ASCII file from what the file says
    of itself, the same bytes as ``corvane-cli init``: the proposed layout and reading
    choices, the curves named from the heading lines with the mnemonic dictionary, and
    the first data line.

    ``las_path``: the LAS file the configuration names (default: NAME.las beside the
    ASCII file). ``first_data_line``: the number of lines before the first line of
    digits; None (or "auto") for the detected one. An existing ``config_path`` is
    replaced only with ``overwrite``; otherwise FileError.
    Returns a dict: ``las`` (the LAS path the configuration names) and ``account`` (what
    was proposed, one line each, as init prints it). Raises ConversionError when no
    layout is found and no line is given, ConfigurationError when two of the files are
    one, FileError for a file that cannot be read or written.
    """
    line = _first_data_line(first_data_line)
    made = _corvane.init(_path(ascii_path), _path(config_path),
                         _path(las_path) if las_path is not None else b"", line if line >= 0 else -1,
                         bool(overwrite))
    return {"las": _os.fsdecode(made["las"]), "account": list(made["account"])}


__all__ = [
    "read", "check", "convert", "batch", "init", "LasFile", "HeaderItem", "HeaderItems", "Section",
    "CheckReport", "Finding", "Error", "FileError", "FormatError", "CurveNotFound",
    "ConfigurationError", "ConversionError", "BatchError", "Cancelled",
]
