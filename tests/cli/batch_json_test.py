#!/usr/bin/env python3
"""The JSON of batch --report, batch --merge-reports, inspect --json and preview --json
against the fields the manual documents; hostile path bytes in a report; and the manual's
recipes for GNU parallel over ssh and a Slurm job array, run with local stand-ins for ssh
and the Slurm commands.

    batch_json_test.py CORVANE_CLI SOURCE_DIR
"""
import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

# Passes every command to a local shell, as ssh would on the named host: with the login
# shell in SHELL, as sshd sets it (GNU parallel's remote worker needs it and quietly
# runs nothing without it).
FAKE_SSH = r"""#!/bin/sh
while [ $# -gt 0 ]; do
  case "$1" in
    -[bcDEeFIiJLlmOopQRSWw]) shift 2 ;;
    -*) shift ;;
    *) break ;;
  esac
done
shift
[ "${1:-}" = "--" ] && shift
SHELL=$(getent passwd "$(id -u)" | cut -d: -f7)
export SHELL="${SHELL:-/bin/sh}"
exec sh -c "$*"
"""

# Runs a job array's tasks one after the other, with the variables Slurm sets, and
# --wrap commands at once (so a dependency on earlier jobs always holds).
FAKE_SBATCH = r"""#!/usr/bin/env python3
import os, re, subprocess, sys
args, parsable, wrap, script = sys.argv[1:], False, None, None
i = 0
while i < len(args):
    if args[i] == "--parsable":
        parsable = True
    elif args[i] == "--wrap":
        wrap = args[i + 1]
        i += 1
    elif args[i].startswith("--wrap="):
        wrap = args[i][7:]
    elif not args[i].startswith("-"):
        script = args[i]
        break
    i += 1
job = "4242"
if wrap is not None:
    subprocess.call(["sh", "-c", wrap])
else:
    options = dict(re.findall(r"^#SBATCH --([\w-]+)=(\S+)", open(script).read(), re.M))
    low, high = map(int, options["array"].split("-"))
    for task in range(low, high + 1):
        env = dict(os.environ, SLURM_ARRAY_JOB_ID=job, SLURM_ARRAY_TASK_ID=str(task),
                   SLURM_ARRAY_TASK_COUNT=str(high - low + 1), SLURM_ARRAY_TASK_MIN=str(low),
                   SLURM_ARRAY_TASK_MAX=str(high), SLURM_CPUS_PER_TASK=options.get("cpus-per-task", "1"))
        output = options.get("output", "slurm-%A_%a.out").replace("%a", str(task)).replace("%A", job)
        with open(output, "w") as log:
            subprocess.call(["bash", script], env=env, stdout=log, stderr=subprocess.STDOUT)
print(job if parsable else "Submitted batch job " + job)
"""


def documented(manual, table):
    """The field names of a manual table: the <code> names of each row's first cell."""
    body = re.search(r'<table id="%s"[^>]*>(.*?)</table>' % table, manual, re.S)
    assert body, table
    names = set()
    for cell in re.findall(r"<tr><td>(.*?)</td>", body.group(1), re.S):
        names.update(re.findall(r"<code>(\w+)</code>", cell))
    return names


def expect_fields(obj, manual, table, where):
    assert isinstance(obj, dict), where
    assert set(obj) == documented(manual, table), "%s: %s != %s" % (where, sorted(obj), sorted(documented(manual, table)))


def run(args, **kwargs):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kwargs)


def example_variants(source, count):
    """Logs of the example's layout, each with another number of rows."""
    text = open(os.path.join(source, "examples", "well-7.asc"), "rb").read()
    lines = text.split(b"\r\n")
    return [b"\r\n".join(lines[: 5 + 40 * (k + 1)]) + b"\r\n" for k in range(count)]


def check_documented_fields(cli, source, tmp):
    manual = open(os.path.join(source, "docs", "manual", "batch.html"), encoding="utf-8").read()
    commands = open(os.path.join(source, "docs", "manual", "command-line.html"), encoding="utf-8").read()
    lah = os.path.join(source, "examples", "well-7.lah")
    logs = os.path.join(tmp, "fields")
    os.makedirs(logs)
    inputs = []
    for k, text in enumerate(example_variants(source, 3)):
        inputs.append(os.path.join(logs, "w%d.asc" % k))
        open(inputs[-1], "wb").write(text)
    inputs.append(os.path.join(logs, "missing.asc"))
    report = os.path.join(tmp, "fields.json")
    out = os.path.join(tmp, "fields-out")
    result = run([cli, "batch", "--config", lah, "--out-dir", out, "--check", "--shard", "0/1", "--report", report]
                 + inputs)
    assert result.returncode == 1, result.stderr
    document = json.loads(open(report, "rb").read().decode("utf-8"))
    expect_fields(document, manual, "fields-report", "report")
    assert document["schema"] == "corvane-batch-report/1"
    for entry in document["runs"]:
        expect_fields(entry, manual, "fields-run", "run")
        expect_fields(entry["shard"], manual, "fields-shard", "shard")
    assert document["runs"][0]["files"] == len(inputs)
    statuses = []
    for entry in document["files"]:
        expect_fields(entry, manual, "fields-file", entry["input"])
        statuses.append(entry["status"])
        assert entry["status"] in ("succeeded", "failed", "cancelled")
        if entry["status"] == "succeeded":
            expect_fields(entry["depth"], manual, "fields-depth", entry["input"] + ".depth")
            expect_fields(entry["reading"], commands, "fields-reading", entry["input"] + ".reading")
            expect_fields(entry["reading"]["options"], commands, "fields-reading-options", entry["input"])
            assert entry["reading"]["rows"] == entry["rows"] and entry["reading"]["doubts"] is False
            assert entry["rows"] > 0 and entry["reason"] is None
            # The very object check --json gives for the file.
            check = run([cli, "check", "--json", entry["output"]])
            assert entry["check"] == json.loads(check.stdout)["files"][0], entry["input"]
        else:
            assert entry["depth"] is None and entry["rows"] is None and entry["check"] is None
            assert entry["reading"] is None
            assert entry["reason"] and entry["message"] == "Failed to open ASCII file."
    expect_fields(document["totals"], manual, "fields-totals", "totals")
    assert document["totals"]["succeeded"] == statuses.count("succeeded") == 3
    assert document["totals"]["rows"] == sum(e["rows"] or 0 for e in document["files"])

    # A merge keeps every field.
    merged_path = os.path.join(tmp, "merged.json")
    assert run([cli, "batch", "--merge-reports", merged_path, report, report]).returncode == 1
    merged = json.loads(open(merged_path, "rb").read())
    assert merged["files"] == [dict(e, run=1) for e in document["files"]]
    assert len(merged["runs"]) == 2 and merged["totals"] == document["totals"]

    preview = json.loads(run([cli, "preview", "--json", inputs[0]]).stdout)
    expect_fields(preview, commands, "fields-preview", "preview")
    assert preview["lines"][5] == open(inputs[0], "rb").read().split(b"\r\n")[5].decode()
    inspect = json.loads(run([cli, "inspect", "--json", inputs[0]]).stdout)
    expect_fields(inspect, commands, "fields-inspect", "inspect")
    expect_fields(inspect["proposal"], commands, "fields-proposal", "inspect.proposal")
    expect_fields(inspect["proposal"]["reading"], commands, "fields-reading-options", "inspect.proposal.reading")
    expect_fields(inspect["reading"], commands, "fields-reading-options", "inspect.reading")
    expect_fields(inspect["curves"], commands, "fields-curves", "inspect.curves")
    for curve in inspect["curves"]["list"]:
        expect_fields(curve, commands, "fields-curve", "inspect.curves.list")

    # convert --report: a log whose cells are not all numbers, every finding documented.
    doubtful = os.path.join(tmp, "doubtful.asc")
    rows = open(inputs[0], "rb").read().split(b"\r\n")
    fields = rows[6].split()
    fields[0] += b"x"  # text after the numbers of the first two columns
    fields[1] += b"ft"
    rows[6] = b" ".join(fields)
    open(doubtful, "wb").write(b"\r\n".join(rows))
    convert_report = os.path.join(tmp, "convert.json")
    result = run([cli, "convert", "--config", lah, "--first-data-line", "5", "--ascii", doubtful, "--las",
                  os.path.join(tmp, "doubtful.las"), "--report", convert_report, "--strict"])
    assert result.returncode == 1, result.stderr
    assert b"PARTIAL_NUMBER: 2 cells" in result.stderr, result.stderr
    document = json.loads(open(convert_report, "rb").read())
    expect_fields(document, commands, "fields-convert-report", "convert report")
    assert document["schema"] == "corvane-convert-report/1" and document["status"] == "succeeded"
    reading = document["reading"]
    expect_fields(reading, commands, "fields-reading", "convert report reading")
    assert reading["strictFails"] is True and reading["kinds"]["PARTIAL_NUMBER"]["count"] == 2
    assert reading["kinds"]["PARTIAL_NUMBER"]["first"] == {"line": 7, "column": 1, "text": fields[0].decode()}
    assert [c["column"] for c in reading["byColumn"]] == [1, 2]
    assert inspect["curveTotal"] == len(inspect["columns"]) == 9 and len(inspect["columns"][0]) == 40
    bare = os.path.join(tmp, "prose.asc")
    open(bare, "w").write("no numbers here\n")
    inspect = json.loads(run([cli, "inspect", "--json", bare]).stdout)
    expect_fields(inspect, commands, "fields-inspect", "inspect without proposal")
    assert inspect["proposal"] is None and inspect["columns"] == []


def check_hostile_paths(cli, source, tmp):
    folder = os.path.join(tmp, "hostile").encode()
    os.makedirs(folder)
    text = example_variants(source, 1)[0]
    names = {b"odd \xff\xfe name.asc": "odd \u00ff\u00fe name.asc",
             b'quote " back \\ tab\t.asc': 'quote " back \\ tab\t.asc',
             "\u00fcn\u00efcode.asc".encode(): "\u00fcn\u00efcode.asc",
             b"ctl\x01\x7f new\nline.asc": "ctl\u0001\u007f new\nline.asc"}
    paths = []
    for name in names:
        paths.append(folder + b"/" + name)
        open(paths[-1], "wb").write(text)
    report = os.path.join(tmp, "hostile.json").encode()
    lah = os.path.join(source, "examples", "well-7.lah").encode()
    result = run([cli.encode(), b"batch", b"--config", lah, b"--out-dir", folder + b"/out", b"--report", report]
                 + paths)
    assert result.returncode == 0, result.stderr
    assert result.stdout.count(b"\n") == len(names) + 1, result.stdout  # one line per file, then the summary
    assert b"ctl<0x01><0x7F> new<0x0A>line.asc" in result.stdout
    document = json.loads(open(report, "rb").read().decode("utf-8"))  # strict UTF-8
    prefix = folder.decode() + "/"
    assert sorted(e["input"] for e in document["files"]) == sorted(prefix + n for n in names.values())
    for name in names:
        stem = name[: name.rindex(b".")]
        assert os.path.exists(folder + b"/out/" + stem + b".las"), name


def check_recipes(cli, source, tmp):
    manual = html.unescape(open(os.path.join(source, "docs", "manual", "batch.html"), encoding="utf-8").read())
    recipes = dict(re.findall(r'<pre class="recipe" id="recipe-([\w-]+)">(.*?)</pre>', manual, re.S))
    assert set(recipes) == {"parallel", "slurm-script", "slurm", "rerun"}, sorted(recipes)

    bin_dir = os.path.join(tmp, "bin")
    os.makedirs(bin_dir)
    os.symlink(cli, os.path.join(bin_dir, "corvane-cli"))
    for name, text in (("ssh", FAKE_SSH), ("sbatch", FAKE_SBATCH)):
        with open(os.path.join(bin_dir, name), "w") as f:
            f.write(text)
        os.chmod(os.path.join(bin_dir, name), 0o755)
    env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"], HOME=tmp)

    work = os.path.join(tmp, "work")
    os.makedirs(os.path.join(work, "logs", "deep"))
    shutil.copy(os.path.join(source, "examples", "well-7.lah"), os.path.join(work, "well.lah"))
    open(os.path.join(work, "hosts.txt"), "w").write("hostA\nhostB\nhostC\n")
    variants = example_variants(source, 6)
    names = ["well-%d" % k for k in range(6)]
    for k, text in enumerate(variants):
        folder = "logs/deep" if k == 5 else "logs"
        open(os.path.join(work, folder, names[k] + ".asc"), "wb").write(text)
    alone = {}
    for k, name in enumerate(names):
        las = os.path.join(tmp, name + ".las")
        folder = "logs/deep" if k == 5 else "logs"
        result = run([cli, "convert", "--config", os.path.join(work, "well.lah"), "--first-data-line", "auto",
                      "--ascii", os.path.join(work, folder, name + ".asc"), "--las", las, "--quiet"])
        assert result.returncode == 0, result.stderr
        alone[name] = open(las, "rb").read()

    def recipe(name):
        result = subprocess.run(["bash", "-c", recipes[name]], cwd=work, env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        assert result.returncode == 0, "%s: %s" % (name, result.stdout.decode(errors="replace"))

    def expect_converted(runs):
        for name in names:
            assert open(os.path.join(work, "las", name + ".las"), "rb").read() == alone[name], name
        document = json.loads(open(os.path.join(work, "report.json"), "rb").read())
        assert document["totals"]["files"] == len(names) and document["totals"]["succeeded"] == len(names), document["totals"]
        assert len(document["runs"]) == runs, len(document["runs"])
        assert sorted(e["output"] for e in document["files"]) == sorted("las/%s.las" % n for n in names)
        return document

    ran = []
    # scripts/install-deps.sh installs GNU parallel: without it the manual's first recipe
    # would go untested, so its absence fails the test.
    assert shutil.which("parallel"), "GNU parallel is not installed (scripts/install-deps.sh installs it)"
    recipe("parallel")
    document = expect_converted(3)
    assert sorted(r["shard"]["index"] for r in document["runs"]) == [0, 1, 2]
    ran.append("parallel")
    for leftover in ("las", "reports"):
        shutil.rmtree(os.path.join(work, leftover))
    os.unlink(os.path.join(work, "report.json"))

    open(os.path.join(work, "convert.sbatch"), "w").write(recipes["slurm-script"])
    recipe("slurm")
    document = expect_converted(4)
    assert [r["shard"] for r in document["runs"]] == [{"index": k, "count": 4} for k in range(4)]
    assert all(os.path.exists(os.path.join(work, "reports", "shard-%d.log" % k)) for k in range(4))
    ran.append("slurm")

    recipe("rerun")
    document = expect_converted(5)
    rerun = [e for e in document["files"] if e["run"] == 4]
    assert len(rerun) == 2, rerun  # files 1 and 5 of the six: shard 1/4
    ran.append("rerun")
    return ran


def main():
    cli, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with tempfile.TemporaryDirectory() as tmp:
        check_documented_fields(cli, source, tmp)
        check_hostile_paths(cli, source, tmp)
        ran = check_recipes(cli, source, tmp)
    print("batch JSON: documented fields, hostile paths; recipes run: " + ", ".join(ran))


if __name__ == "__main__":
    main()
