#!/usr/bin/env python3
"""Runs a small demo campaign and checks what it wrote with tools that are not the library:
the database through python's sqlite3, the CSV as text, the report as HTML text, the archive
through zipfile, the imported configuration through json."""
import json
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import zipfile

demo, out = sys.argv[1], sys.argv[2]
scans, channels = 8, 12
shutil.rmtree(out, ignore_errors=True)
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
run = subprocess.run([demo, "--scans", str(scans), "--channels", str(channels), "--seed", "5",
                      "--out", out, "--quiet"], env=env, capture_output=True, text=True, timeout=600)
print(run.stdout)
print(run.stderr, file=sys.stderr)
failures = []
checks = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    checks.append(what)
    if not ok:
        failures.append(what)


check(run.returncode == 0, "the demo exits 0")
db = sqlite3.connect(os.path.join(out, "measurements.sqlite"))
(stored,) = db.execute("select count(*) from measurement").fetchone()
(sessions,) = db.execute("select count(*) from session").fetchone()
(scan_rows,) = db.execute("select count(*) from scan").fetchone()
check(sessions == 1 and scan_rows == scans, "one session with %d scans in the database" % scans)
check(db.execute("pragma integrity_check").fetchone()[0] == "ok", "database integrity")

with open(os.path.join(out, "session.csv"), encoding="utf-8") as f:
    lines = f.read().splitlines()
check(len(lines) == stored + 1, "CSV: one line per stored value (%d) plus the session line" % stored)
check(lines and lines[0].startswith("Session Data,"), "CSV starts with the session line")
check(all(l.startswith("Scan Data,") for l in lines[1:]), "every other CSV line is a scan line")
scan_ids = [int(l.split(",")[2]) for l in lines[1:]]
check(scan_ids == sorted(scan_ids), "CSV lines in scan-major order")

with open(os.path.join(out, "report.html"), encoding="utf-8") as f:
    html = f.read()
check(html.count('<a class="tile') == channels, "report: one tile per channel")
m = re.search(r'<script type="application/json" id="mda-data">(.*?)</script>', html, re.S)
data = json.loads(m.group(1)) if m else {"charts": [], "scans": []}
charts = html.count('<figure class="chart"')
check(charts >= channels and charts == len(data["charts"]),
      "report: a chart per chosen item with its data (%d)" % charts)
rows = re.findall(r'<a class="hrow [a-z]+" href="#ch-\d+" data-status="([0-3]*)"', html)
check(len(rows) == channels and all(len(r) == len(data["scans"]) for r in rows),
      "report: the status history, one row per channel and one status per scan")
check("http://" not in html.replace("http://www.w3.org/2000/svg", "")
      and "https://" not in html and "<script src" not in html, "report needs no network")
check(any("0" in c["pk"] for c in data["charts"]) and any("1" in c["pk"] for c in data["charts"]),
      "values within limits and violations are told apart")
check(any(c["lo"] is not None or c["hi"] is not None for c in data["charts"]),
      "report carries limits to draw")

with zipfile.ZipFile(os.path.join(out, "demo.measurement")) as z:
    names = z.namelist()
    check(z.testzip() is None, "archive entries pass their CRC check")
check(names == ["demo.device", "demo.limit", "demo.channel", "demo.measconfig"],
      "archive has its four entries in order: %s" % names)

imported = [os.path.join(root, n) for root, _, files in os.walk(os.path.join(out, "second-station"))
            for n in files if n.endswith(".measconfig")]
check(len(imported) == 1, "one imported configuration")
if imported:
    with open(imported[0], encoding="utf-8") as f:
        text = json.dumps(json.load(f))
    folder = os.path.dirname(imported[0])
    for name in ("demo.device", "demo.limit", "demo.channel"):
        check(os.path.join(folder, name) in text, "imported configuration names its unpacked " + name)
check("imported configuration loads" in run.stdout, "the imported configuration loads")
check(re.search(r"^K23 DVB-T\s+\d+\s+\d+\s+\d+\s\s", run.stdout, re.M) is not None,
      "the demo prints the tool's per-channel summary")

print("%d passed, %d failed" % (len(checks) - len(failures), len(failures)))
sys.exit(1 if failures else 0)
