"""corvane.read against an independent reading: shared samples, wrapped files,
converted files; the header, curve and depth choices, errors, threads."""

import shutil
import threading

import numpy
import pytest

from conftest import DATA, SAMPLES, SOURCE, reference_read


def assert_same_data(las, path):
    mnemonics, rows = reference_read(path)
    assert las.keys() == mnemonics
    expected = numpy.array(rows, dtype=float).reshape(len(rows), len(mnemonics))
    numpy.testing.assert_array_equal(las.data, expected)  # NaN where NaN
    for place, mnemonic in enumerate(mnemonics):
        numpy.testing.assert_array_equal(las[mnemonic], expected[:, place])
    numpy.testing.assert_array_equal(las.index, expected[:, 0])


@pytest.mark.parametrize("path", SAMPLES, ids=lambda p: p.name)
def test_samples_equal_an_independent_reading(corvane, path):
    las = corvane.read(path)
    assert_same_data(las, path)
    assert las.data.dtype == numpy.float64 and las.data.ndim == 2
    assert las.check.json == corvane.read(path, check=True).check.json == corvane.check(path).json


def test_null_and_texts_read_as_nan_and_wrapped_rows_gathered(corvane, tmp_path):
    path = tmp_path / "odd.las"
    path.write_bytes(
        b"~VERSION INFORMATION\r\n VERS.  2.0 :\r\n WRAP.  YES :\r\n"
        b"~WELL INFORMATION\r\n NULL.  -999.25 :\r\n WELL.  W-1 : WELL\r\n"
        b"~CURVE INFORMATION\r\n DEPT.M : depth\r\n GR.GAPI : gamma\r\n RT.OHMM : resistivity\r\n"
        b"~PARAMETER INFORMATION\r\n BHT.DEGC  35.5 : bottom hole\r\n"
        b"~OTHER\r\n free text\r\n second line\r\n"
        b"~A\r\n 100.0\r\n -999.25 abc\r\n 100.5\r\n 12.5\r\n -999.2500\r\n 101.0\r\n 1e3\r\n")
    las = corvane.read(path)
    assert_same_data(las, path)
    assert numpy.isnan(las["GR"][0]) and numpy.isnan(las["RT"][0]) and numpy.isnan(las["rt"][1])
    assert las.data.shape == (3, 3) and las["GR"][2] == 1000.0 and numpy.isnan(las["RT"][2])
    assert las.null == -999.25
    assert las.well["WELL"].value == "W-1" and las.well["well"].line == 6
    assert las.curves[1] == corvane.HeaderItem("GR", "GAPI", "", "gamma", 9)
    assert las.params["BHT"].value == "35.5" and las.params["BHT"].unit == "DEGC"
    assert las.version["WRAP"].value == "YES"
    assert las.other == " free text\n second line"
    assert [s.letter for s in las.sections] == ["V", "W", "C", "P", "O"]
    assert "GR" in las and "XX" not in las and len(las) == 3


def test_converted_files_read_as_written(corvane, tmp_path):
    config = SOURCE / "examples" / "well-7.lah"
    ascii_path = tmp_path / "well-7.asc"  # its own copy: a conversion locks its input
    shutil.copy(SOURCE / "examples" / "well-7.asc", ascii_path)
    for inverse in (False, True):
        out = tmp_path / ("inverse.las" if inverse else "normal.las")
        corvane.convert(ascii_path, config, out, inverse=inverse)
        las = corvane.read(out)
        assert_same_data(las, out)
        assert las.check.counts["errors"] == 0
        assert (numpy.diff(las.index) > 0).all() != (numpy.diff(las.index) < 0).all()


def test_curves_and_depth_choose_columns_and_rows(corvane):
    path = DATA / "plot_well.las"
    whole = corvane.read(path)
    names = whole.keys()
    chosen = corvane.read(path, curves=[names[3].lower(), names[1], names[3]])
    assert chosen.keys() == [names[0], names[3], names[1]]
    numpy.testing.assert_array_equal(chosen.data, whole.data[:, [0, 3, 1]])
    top, bottom = sorted(whole.index[[len(whole) // 4, len(whole) // 2]])
    for depth in ((top, bottom), (bottom, top)):
        part = corvane.read(path, depth=depth)
        keep = (whole.index >= top) & (whole.index <= bottom)
        numpy.testing.assert_array_equal(part.data, whole.data[keep])
    assert corvane.read(path, depth=(-1e9, -1e8)).data.shape == (0, len(names))
    assert corvane.read(path, curves="DEPT").data.shape == (len(whole), 1)


@pytest.mark.parametrize("content, error, reason", [
    (None, "FileError", "No such file or directory"),
    (b"~V\r\n VERS. 2.0 :\r\n~C\r\n DEPT.M :\r\n", "FormatError", "no data"),
    (b"~V\r\n VERS. 2.0 :\r\n~A\r\n1 2\r\n", "FormatError", "no curves"),
    ("dir", "FileError", ""),
])
def test_errors_carry_the_path_and_the_reason(corvane, tmp_path, content, error, reason):
    path = tmp_path / "bad.las"
    if content == "dir":
        path.mkdir()
    elif content is not None:
        path.write_bytes(content)
    with pytest.raises(getattr(corvane, error)) as raised:
        corvane.read(path)
    assert isinstance(raised.value, corvane.Error)
    assert raised.value.path == str(path) and reason in raised.value.reason
    with pytest.raises(corvane.CurveNotFound) as missing:
        corvane.read(DATA / "sample_2.0.las", curves=["NOPE"])
    assert missing.value.path == str(DATA / "sample_2.0.las") and "NOPE" in missing.value.reason
    with pytest.raises(KeyError):
        corvane.read(DATA / "sample_2.0.las")["NOPE"]


def test_to_pandas_has_the_index_curve_as_its_index(corvane):
    pandas = pytest.importorskip("pandas")
    las = corvane.read(DATA / "sample_2.0.las")
    frame = las.to_pandas()
    assert isinstance(frame, pandas.DataFrame)
    assert frame.index.name == "DEPT" and list(frame.columns) == las.keys()[1:]
    numpy.testing.assert_array_equal(frame.index.to_numpy(), las.index)
    numpy.testing.assert_array_equal(frame["DT"].to_numpy(), las["DT"])


def test_a_read_lets_other_threads_run(corvane, tmp_path):
    # A file big enough that its reading takes a while; the main thread counts while
    # the reading thread is at work: it could not if the reading held the GIL.
    path = tmp_path / "big.las"
    header = (DATA / "sample_2.0.las").read_bytes().split(b"~A")[0]
    row = b" 1670.000 123.450 2550.000 0.450 123.450 123.450 110.200 105.600\r\n"
    with open(path, "wb") as out:
        out.write(header + b"~A DEPT DT RHOB NPHI SFLU SFLA ILM ILD\r\n")
        out.write(row * 400000)
    results = []
    reader = threading.Thread(target=lambda: results.append(corvane.read(path)))
    counted = 0
    reader.start()
    while reader.is_alive():
        counted += 1
    reader.join()
    assert results[0].data.shape == (400000, 8)
    assert counted > 1000
    # Two readings at once give what one gives alone.
    both = []
    threads = [threading.Thread(target=lambda: both.append(corvane.read(path, curves=["DT"])))
               for _ in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for las in both:
        numpy.testing.assert_array_equal(las.data, results[0].data[:, :2])


def test_las_1_2_files_and_data_ending_at_a_section(corvane, tmp_path):
    path = tmp_path / "old.las"
    path.write_bytes(
        b"~Version information\n VERS.   1.2:  CWLS LOG ASCII STANDARD - VERSION 1.2\n WRAP.   NO:\n"
        b"~Well\n NULL. -9999: NULL\n~Curve\n DEPT.FT: depth\n SP.MV: sp\n"
        b"~Ascii\n 10 -9999\n 11\t5.5\n 12 6e-1\n~Other\n 13 7\n")
    las = corvane.read(path)
    assert las.keys() == ["DEPT", "SP"] and las.version["VERS"].value == "1.2"
    numpy.testing.assert_array_equal(las.data, [[10, numpy.nan], [11, 5.5], [12, 0.6]])
    assert "VERS_1_2" in [f.code for f in las.check.findings]


def test_a_cancel_stops_reading_and_checking(corvane):
    path = DATA / "plot_well.las"
    stop = threading.Event()
    stop.set()
    for job in (lambda c: corvane.read(path, cancel=c), lambda c: corvane.read(path, check=True, cancel=c),
                lambda c: corvane.check(path, cancel=c)):
        for cancel in (lambda: True, stop):
            with pytest.raises(corvane.Cancelled) as raised:
                job(cancel)
            assert raised.value.path == str(path)

        def failing():
            raise ValueError("from the cancel")
        with pytest.raises(ValueError, match="from the cancel"):
            job(failing)
        assert job(lambda: False) is not None
