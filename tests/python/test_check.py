"""corvane.check and the check of corvane.read: the same document as `check --json`."""

import json

import pytest

from conftest import DATA, SAMPLES, run_cli

DAMAGED = [
    b"~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n GR.GAPI :\r\n"
    b"~A\r\n1 2\r\n2 x\r\n3\r\n",
    b"~Version\n VERS 1.2\n~Curve\n DEPT .M : d\n~A\n1.0 2.0\n\x1a trailing",
    b"# nothing but a comment\r\n",
    b"~V\r\n VERS. 2.0 :\r\n WRAP. YES :\r\n~W\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n A.X :\r\n B.Y :\r\n"
    b"~A\r\n1\r\n\xe9 2\r\n3\r\n2\r\n",
]


@pytest.mark.parametrize("strict", [False, True])
def test_check_is_check_json(corvane, tmp_path, strict):
    paths = list(SAMPLES)
    for number, content in enumerate(DAMAGED):
        paths.append(tmp_path / ("damaged-%d.las" % number))
        paths[-1].write_bytes(content)
    flags = ["--strict"] if strict else []
    for path in paths:
        printed = run_cli("check", "--json", *flags, path, check=False).stdout.decode()
        report = corvane.check(path, strict=strict)
        assert report.json == printed
        file = json.loads(printed)["files"][0]
        assert report.as_dict() == file and report.passed == file["passed"]
        assert [f.as_dict() for f in report.findings] == file["findings"]
        assert report.summary == file["summary"] and report.counts == file["counts"]
        if not strict and path.name != "damaged-2.las":
            assert corvane.read(path, check=True).check.json == printed


def test_check_of_a_missing_file_raises(corvane, tmp_path):
    with pytest.raises(corvane.FileError) as raised:
        corvane.check(tmp_path / "none.las")
    assert raised.value.path == str(tmp_path / "none.las")
    assert "No such file or directory" in raised.value.reason
    report = corvane.check(DATA / "sample_2.0.las")
    assert {f.severity for f in report.errors} == {"error"} and len(report.errors) == report.counts["errors"]
