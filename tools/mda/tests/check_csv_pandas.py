#!/usr/bin/env python3
"""The README's pandas example, run word for word on the CSV of a recorded campaign, and what
pandas makes of the columns checked against the file read with the csv module.
Usage: check_csv_pandas.py MDA DEMO README WORK_DIR
Exits 77 (skipped) when pandas is not importable, unless CI=true, where that is a failure."""
import contextlib
import csv
import datetime
import io
import math
import os
import re
import shutil
import subprocess
import sys

mda, demo, readme, work = (os.path.abspath(a) for a in sys.argv[1:5])
try:
    import pandas
except ImportError:
    if os.environ.get("CI") == "true":
        print("FAILED  pandas is not importable under CI (install python3-pandas)")
        print("0 passed, 1 failed")
        sys.exit(1)
    print("skipped: pandas is not importable (Debian: python3-pandas)")
    sys.exit(77)

failures, checks = [], []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    checks.append(what)
    if not ok:
        failures.append(what)
    return ok


shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_DATA_HOME=os.path.join(work, "xdg"))
env.pop("MDA_DATABASE_PASSWORD", None)
CHANNELS = 12
r = subprocess.run([demo, "--scans", "4", "--channels", str(CHANNELS), "--seed", "11", "--out",
                    os.path.join(work, "rec"), "--quiet"], env=env, capture_output=True, text=True,
                   timeout=600)
if not check(r.returncode == 0, "the demo records a session"):
    print(r.stdout, r.stderr)
    sys.exit(1)
shutil.copy(os.path.join(work, "rec", "measurements.sqlite"), os.path.join(work, "station.sqlite"))

text = open(readme, encoding="utf-8").read()
commands = re.findall(r"```sh\n(mda csv --all [^\n]*)\n```\n\n<!-- pandas example -->", text)
blocks = re.findall(r"<!-- pandas example -->\n```python\n(.*?)```\n", text, re.S)
if not check(len(commands) == 1 and len(blocks) == 1, "the README shows the command and the example"):
    sys.exit(1)
r = subprocess.run([mda] + commands[0].split()[1:], cwd=work, env=env, capture_output=True,
                   text=True, timeout=600)
check(r.returncode == 0 and r.stderr == "", "the README's command writes station.csv")
with open(os.path.join(work, "station.csv"), newline="", encoding="utf-8") as f:
    rows = list(csv.DictReader(f))

# The example itself, in the folder the command wrote to.
printed = io.StringIO()
scope = {}
cwd = os.getcwd()
os.chdir(work)
try:
    with contextlib.redirect_stdout(printed):
        exec(compile(blocks[0], readme + " (pandas example)", "exec"), scope)
finally:
    os.chdir(cwd)
values, closest = scope["values"], scope["closest"]

check(len(values) == len(rows) and len(rows) > 1000,
      "pandas reads every row (%d)" % len(values))
dtypes = {name: str(values[name].dtype) for name in values.columns}
expected_types = [("session_id", "int64"), ("scan_id", "int64"), ("item_id", "int64"),
                  ("margin", "float64"), ("channel_frequency_hz", "int64"),
                  ("scan_time", "datetime64[ns, UTC]")]
for name, dtype in expected_types:
    check(dtypes.get(name) == dtype, "pandas reads %s as %s (%s)" % (name, dtype, dtypes.get(name)))
times = {(row["scan_time"]) for row in rows}
check(all(re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d", t) for t in times) and
      sorted(values["scan_time"].unique()) ==
      sorted(pandas.Timestamp(datetime.datetime.fromisoformat(t)) for t in times),
      "scan times carry their offset and pandas places them in UTC")

minimum = {}
for row in rows:
    if row["margin"]:
        margin = float(row["margin"])
        minimum[row["channel_name"]] = min(margin, minimum.get(row["channel_name"], math.inf))
got = dict(zip(closest["channel_name"], closest["margin"]))
check(len(minimum) == CHANNELS and got == minimum,
      "the example finds each channel's smallest margin (%d channels)" % len(got))
lines = printed.getvalue().splitlines()
check(len(lines) == CHANNELS + 1 and lines[0].split() ==
      ["channel_name", "item_name", "value", "unit", "limit_low", "limit_high", "margin"] and
      all(any(name in line for line in lines[1:]) for name in minimum),
      "it prints a header and one line per channel")
violations = sum(1 for row in rows if row["result"] == "violation")
check(violations > 0 and (closest["margin"] < 0).sum() ==
      sum(1 for m in minimum.values() if m < 0),
      "channels with a violation show a negative margin")

print("%d passed, %d failed" % (len(checks) - len(failures), len(failures)))
sys.exit(1 if failures else 0)
