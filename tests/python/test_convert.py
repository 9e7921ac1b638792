"""corvane.convert and corvane.batch write what corvane-cli writes, byte for byte, and
never lose an earlier LAS file."""

import json
import shutil
import threading

import pytest

from conftest import SOURCE, run_cli

CONFIG = SOURCE / "examples" / "well-7.lah"
EXAMPLE = SOURCE / "examples" / "well-7.asc"


@pytest.fixture
def ascii_copy(tmp_path):
    # A conversion opens its input exclusively: a copy of its own keeps the tests that
    # run at the same time apart.
    path = tmp_path / "well-7.asc"
    shutil.copy(EXAMPLE, path)
    return path


@pytest.fixture
def big_ascii(tmp_path):
    # The example's rows many times over.
    lines = EXAMPLE.read_bytes().splitlines(keepends=True)
    path = tmp_path / "big.asc"
    path.write_bytes(b"".join(lines[:5]) + b"".join(lines[5:]) * 20)
    return path


@pytest.mark.parametrize("first_data_line, inverse", [(None, False), ("auto", True), (5, False), (3, True)])
def test_convert_writes_the_bytes_of_the_command_line(corvane, tmp_path, ascii_copy, first_data_line,
                                                      inverse):
    ours, theirs = tmp_path / "ours.las", tmp_path / "theirs.las"
    report = corvane.convert(ascii_copy, CONFIG, ours, first_data_line=first_data_line, inverse=inverse)
    flags = ["--inverse"] if inverse else []
    if first_data_line is not None:
        flags += ["--first-data-line", first_data_line]
    run_cli("convert", "--config", CONFIG, "--ascii", ascii_copy, "--las", theirs,
            "--quiet", "--report", tmp_path / "report.json", *flags, check=False)
    assert ours.read_bytes() == theirs.read_bytes()
    printed = json.loads((tmp_path / "report.json").read_text())
    for key in ("status", "rows", "depth", "reading", "input", "schema", "program"):
        assert report[key] == printed[key], key
    assert report["output"] == str(ours) and report["status"] == "succeeded"


@pytest.mark.parametrize("how", ["at once", "event", "keyboard", "bad ascii", "bad config", "no folder"])
def test_a_cancelled_or_failed_convert_leaves_the_earlier_file(corvane, tmp_path, big_ascii, how):
    las = tmp_path / "well.las"
    las.write_bytes(b"the earlier file\r\n")
    ascii_path, config, cancel, expected = big_ascii, CONFIG, None, corvane.Cancelled
    if how == "at once":
        cancel = lambda: True  # noqa: E731
    elif how == "event":
        cancel = threading.Event()
        cancel.set()
    elif how == "keyboard":
        def cancel():
            raise KeyboardInterrupt
        expected = KeyboardInterrupt
    elif how == "bad ascii":
        ascii_path, expected = tmp_path / "missing.asc", corvane.Error
    elif how == "bad config":
        config = tmp_path / "bad.lah"
        config.write_text("not a configuration\n")
        expected = corvane.ConfigurationError
    else:
        las = tmp_path / "no" / "such" / "folder.las"
        expected = corvane.ConversionError
    with pytest.raises(expected) as raised:
        corvane.convert(ascii_path, config, las, first_data_line=5, cancel=cancel)
    if how == "no folder":
        assert not las.exists() and str(las.parent) in raised.value.reason
        return
    assert las.read_bytes() == b"the earlier file\r\n"
    assert sorted(p.name for p in tmp_path.iterdir()) == sorted(
        {"well.las", "big.asc"} | ({"bad.lah"} if how == "bad config" else set()))
    if isinstance(raised.value, corvane.Error):
        assert raised.value.path and raised.value.reason
        if how == "bad config":
            assert raised.value.path == str(config)
        if how == "bad ascii":
            assert str(ascii_path) in raised.value.reason


def test_convert_refuses_bad_arguments(corvane, tmp_path, ascii_copy):
    with pytest.raises(ValueError):
        corvane.convert(ascii_copy, CONFIG, tmp_path / "x.las", first_data_line=-1)
    with pytest.raises(corvane.ConfigurationError):
        corvane.convert(ascii_copy, CONFIG, CONFIG)  # would overwrite the configuration
    assert CONFIG.read_bytes().startswith(b"[File ID]")


def test_batch_writes_the_files_of_the_command_line(corvane, tmp_path, ascii_copy):
    inputs = []
    for name in ("a", "b", "c"):
        inputs.append(tmp_path / "in" / (name + ".asc"))
        inputs[-1].parent.mkdir(exist_ok=True)
        shutil.copy(ascii_copy, inputs[-1])
    (tmp_path / "in" / "d.asc").write_text("no numbers here\n")
    report = corvane.batch(tmp_path / "in", CONFIG, tmp_path / "ours", recursive=True, jobs=2, check=True,
                           report=tmp_path / "ours.json")
    run_cli("batch", "--config", CONFIG, "--out-dir", tmp_path / "theirs", "--jobs", "2", "--check",
            "--report", tmp_path / "theirs.json", "--recursive", tmp_path / "in", check=False)
    assert report == json.loads((tmp_path / "ours.json").read_text())
    printed = json.loads((tmp_path / "theirs.json").read_text())
    assert [f["status"] for f in report["files"]] == [f["status"] for f in printed["files"]]
    assert [f["status"] for f in report["files"]] == ["succeeded"] * 3 + ["failed"]
    assert report["files"][3]["reason"] and report["totals"]["succeeded"] == 3
    for name in ("a", "b", "c"):
        assert (tmp_path / "ours" / (name + ".las")).read_bytes() == \
            (tmp_path / "theirs" / (name + ".las")).read_bytes()
    with pytest.raises(corvane.BatchError) as refused:  # the LAS files exist already
        corvane.batch(inputs, CONFIG, tmp_path / "ours")
    assert len(refused.value.problems) == 3 and refused.value.path == str(tmp_path / "ours")


def test_init_writes_the_configuration_of_the_command_line(corvane, tmp_path, ascii_copy):
    ours, theirs = tmp_path / "ours.lah", tmp_path / "theirs.lah"
    made = corvane.init(ascii_copy, ours, las_path=tmp_path / "well.las")
    run_cli("init", ascii_copy, "-o", theirs, "--las", tmp_path / "well.las", "--quiet")
    assert ours.read_bytes() == theirs.read_bytes()
    assert made["las"] == str(tmp_path / "well.las") and made["account"]
    # The configuration as written converts with nothing more said, as the command line does.
    las, cli_las = tmp_path / "well.las", tmp_path / "cli.las"
    corvane.convert(ascii_copy, ours, las)
    run_cli("convert", "--config", ours, "--ascii", ascii_copy, "--las", cli_las, "--quiet")
    assert las.read_bytes() == cli_las.read_bytes()
    with pytest.raises(corvane.FileError) as refused:
        corvane.init(ascii_copy, ours)
    assert refused.value.path == str(ours) and ours.read_bytes() == theirs.read_bytes()
    corvane.init(ascii_copy, ours, first_data_line=5, overwrite=True)
    assert b"FIRST DATA LINE=5" in ours.read_bytes()
    with pytest.raises(corvane.ConfigurationError):
        corvane.init(ascii_copy, ascii_copy, overwrite=True)
