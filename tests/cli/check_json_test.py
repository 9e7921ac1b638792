#!/usr/bin/env python3
"""corvane-cli check --json on files of every kind, hostile bytes included: the output
must be one valid JSON document with the documented fields and types, whose verdicts
agree with the exit status.

    check_json_test.py CORVANE_CLI DATA_DIR
"""
import json
import os
import random
import subprocess
import sys
import tempfile

FILE_KEYS = {"path": str, "complete": bool, "passed": bool, "counts": dict, "summary": dict,
             "findings": list, "unlisted": list}
SUMMARY_KEYS = {"version": (str, type(None)), "wrap": (str, type(None)), "null": (str, type(None)),
                "lines": int, "bytes": int, "rows": int, "sections": list, "sectionsNotListed": int,
                "curves": list, "curvesNotListed": int, "index": (dict, type(None))}
FINDING_KEYS = {"severity": str, "code": str, "line": int, "text": str, "reason": str,
                "section": (str, type(None))}
CURVE_KEYS = {"mnemonic": str, "unit": str, "line": int, "values": int, "nulls": int,
              "unreadable": int, "missing": int}


def expect_keys(obj, keys, where):
    assert set(obj) == set(keys), f"{where}: keys {sorted(obj)} != {sorted(keys)}"
    for key, kind in keys.items():
        assert isinstance(obj[key], kind), f"{where}.{key}: {type(obj[key]).__name__}"


def main():
    cli, data = sys.argv[1], sys.argv[2]
    rng = random.Random(12)
    with tempfile.TemporaryDirectory() as tmp:
        paths = [os.path.join(data, name) for name in sorted(os.listdir(data)) if name.endswith(".las")]
        sample = open(paths[0], "rb").read()
        # Every byte value in a header line, in a data line and in a file name.
        # Every byte but Ctrl-Z, which ends the text of a file read as text.
        hostile = sample.replace(b"WRAP.", bytes(b for b in reversed(range(256)) if b != 0x1A) + b"WRAP.", 1)
        hostile = hostile.replace(b"1669.875", b"1669.875\x00\xff\xc3\xa9\t\"\\", 1)
        variants = {"hostile.las": hostile, "empty.las": b"", "binary \xc3\xa9 name.las": bytes(
            rng.randrange(256) for _ in range(50000))}
        for i in range(20):
            data_bytes = bytearray(sample)
            for _ in range(rng.randrange(1, 30)):
                data_bytes[rng.randrange(len(data_bytes))] = rng.randrange(256)
            variants[f"mutated-{i}.las"] = bytes(data_bytes)
        for name, content in variants.items():
            path = os.path.join(tmp, name)
            with open(path, "wb") as f:
                f.write(content)
            paths.append(path)
        paths.append(os.path.join(tmp, "missing.las"))

        for strict in (False, True):
            args = [cli, "check", "--json"] + (["--strict"] if strict else []) + paths
            run = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            assert run.stderr == b"", run.stderr
            document = json.loads(run.stdout.decode("utf-8"))  # strict UTF-8 and JSON
            assert document["schema"] == "corvane-las-check/1"
            assert document["strict"] is strict
            files = document["files"]
            assert len(files) == len(paths)
            failed = 0
            for entry, path in zip(files, paths):
                expect_keys(entry, FILE_KEYS, path)
                expect_keys(entry["summary"], SUMMARY_KEYS, path + ".summary")
                for finding in entry["findings"]:
                    expect_keys(finding, FINDING_KEYS, path + ".finding")
                    assert finding["severity"] in ("error", "warning", "note")
                    assert finding["line"] >= 0 and finding["line"] <= max(entry["summary"]["lines"] + 1, 1)
                    assert finding["reason"].endswith(".")
                for curve in entry["summary"]["curves"]:
                    expect_keys(curve, CURVE_KEYS, path + ".curve")
                counts = entry["counts"]
                listed = {s: sum(1 for f in entry["findings"] if f["severity"] == s) for s in
                          ("error", "warning", "note")}
                for item in entry["unlisted"]:
                    listed[item["severity"]] += item["count"]
                assert listed == {"error": counts["errors"], "warning": counts["warnings"],
                                  "note": counts["notes"]}, (path, listed, counts)
                fails = counts["errors"] > 0 or (strict and counts["warnings"] > 0)
                assert entry["passed"] is (not fails), path
                failed += fails
            assert document["totals"]["failed"] == failed
            assert run.returncode == (1 if failed else 0), run.returncode
        hostile_entry = next(e for e in files if e["path"].endswith("hostile.las"))
        assert any(f["code"] == "CHARACTER_NOT_ALLOWED" and "\u00ff" in f["text"] for f in hostile_entry["findings"])
    print("check --json: %d files, valid documents" % len(paths))


if __name__ == "__main__":
    main()
