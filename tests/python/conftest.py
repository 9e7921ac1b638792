"""Shared helpers of the module's tests: the command line beside the module, the test
data, and an independent reading of LAS data written from the standard alone."""

import math
import os
import pathlib
import subprocess

import pytest

CLI = os.environ.get("CORVANE_CLI", "corvane-cli")
DATA = pathlib.Path(os.environ.get("CORVANE_TEST_DATA", pathlib.Path(__file__).parents[1] / "data"))
SOURCE = pathlib.Path(os.environ.get("CORVANE_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
SAMPLES = sorted(DATA.glob("sample_*.las")) + [DATA / "plot_well.las"]


def run_cli(*args, check=True):
    result = subprocess.run([CLI, *map(str, args)], capture_output=True)
    if check and result.returncode != 0:
        raise AssertionError(result.stderr.decode(errors="replace"))
    return result


def reference_read(path):
    """(mnemonics, rows) of a LAS file: ~C names the curves, WRAP YES of ~V gathers a
    row over lines, NULL of ~W and any text that is no number read as NaN."""
    curves, rows, tokens = [], [], []
    section, wrapped, null = "", False, None
    for raw in pathlib.Path(path).read_bytes().decode("latin-1").splitlines():
        line = raw.strip()
        if line.startswith("~"):
            if section == "A":
                break
            section = line[1:2].upper()
            continue
        if not line or line.startswith("#"):
            continue
        if section and section in "VWC":
            mnemonic, _, rest = line.partition(".")
            mnemonic = mnemonic.strip()
            value = rest if rest[:1].isspace() else rest.partition(" ")[2]  # after the unit
            value = value.rpartition(":")[0].strip() if ":" in value else value.strip()
            if section == "V" and mnemonic.upper() == "WRAP":
                wrapped = value.upper() == "YES"
            elif section == "W" and mnemonic.upper() == "NULL":
                null = float(value)
            elif section == "C":
                curves.append(mnemonic)
        elif section == "A":
            tokens.extend(line.split())
            if not wrapped or len(tokens) >= len(curves):
                rows.append(_row(tokens, len(curves), null))
                tokens = []
    if tokens:  # a wrapped row cut short by the end of the file
        rows.append(_row(tokens, len(curves), null))
    return curves, rows


def _row(tokens, count, null):
    row = []
    for token in tokens[:count]:
        try:
            value = float(token)
        except ValueError:
            value = math.nan
        row.append(math.nan if null is not None and value == null else value)
    return row + [math.nan] * (count - len(row))


@pytest.fixture
def corvane():
    import corvane as module
    return module
