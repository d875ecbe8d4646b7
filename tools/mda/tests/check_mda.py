#!/usr/bin/env python3
"""End to end through the installed mda: a campaign recorded by the demo program, then every
subcommand checked with tools that are not the library (csv, sqlite3, html.parser, json).
Runs on SQLite always and on PostgreSQL when MDA_TEST_PG_URL/USER/PASSWORD are set.
Usage: check_mda.py CMAKE BUILD_DIR DEMO WORK_DIR TOOL_NAME"""
import base64
import collections
import csv
import fcntl
import hashlib
import html
import html.parser
import io
import itertools
import json
import os
import re
import shutil
import socket
import sqlite3
import stat
import subprocess
import sys
import tempfile
import time

from terminal import stderr_on_terminal

cmake, build_dir, demo, work, tool_name = sys.argv[1:6]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
# The tool runs in a folder of its own, emptied with the rest each run: a stray file that one
# run leaves (an output named "-") cannot fail the next.
os.makedirs(os.path.join(work, "cwd"))
os.chdir(os.path.join(work, "cwd"))
SCANS, CHANNELS = 8, 12


def own_full_device():
    """A device that is always full, in the work folder: a tool that wrongly renames a file over
    its target replaces this node, never the machine's /dev/full (as root it could)."""
    path = os.path.join(work, "full")
    try:
        os.mknod(path, 0o666 | stat.S_IFCHR, os.makedev(1, 7))
        return path
    except OSError:
        # Without the right to make a node, only root could still replace /dev/full.
        if os.geteuid() != 0 and os.path.exists("/dev/full"):
            return "/dev/full"
    print("note    no full device of our own: the checks against a full device are skipped")
    return None


FULL = own_full_device()
HEADER = ["session_id", "scan_id", "scan_time", "channel_id", "channel_name", "item_id",
          "item_name", "value", "unit", "stored_state", "result", "text", "value_code",
          "compare_type", "limit_low", "limit_high", "limit_unit", "limit_offset", "margin",
          "channel_standard", "channel_frequency_hz"]
failures, checks = [], []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    checks.append(what)
    if not ok:
        failures.append(what)
    return ok


def legend_swatches(page):
    """The report legend's colours, in palette order."""
    return re.findall(r'<div class="legend-row"><span class="sw" style="background:'
                      r'(rgb\(\d+,\d+,\d+\))"', page)


prefix = os.path.join(work, "prefix")
inst = subprocess.run([cmake, "--install", build_dir, "--prefix", prefix], capture_output=True,
                      text=True)
mda = os.path.join(prefix, "bin", tool_name)
if not check(inst.returncode == 0 and os.access(mda, os.X_OK), "mda installs into a prefix"):
    print(inst.stdout, inst.stderr)
    sys.exit(1)

base_env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_DATA_HOME=os.path.join(work, "xdg"))
base_env.pop("MDA_DATABASE_PASSWORD", None)
base_env.pop("PGPASSWORD", None)


def run(args, env=None, cwd=None):
    return subprocess.run([mda] + args, env=env or base_env, cwd=cwd, capture_output=True,
                          text=True, timeout=600)


def record(out, db_args):
    r = subprocess.run([demo, "--scans", str(SCANS), "--channels", str(CHANNELS), "--seed", "5",
                        "--out", out, "--quiet"] + db_args, env=base_env, capture_output=True,
                       text=True, timeout=600)
    m = re.search(r"session (\d+): (\d+) values stored", r.stdout)
    if not check(r.returncode == 0 and m, "the demo records a session (%s)" % out):
        print(r.stdout, r.stderr)
        sys.exit(1)
    return int(m.group(1)), int(m.group(2))


VOID_ELEMENTS = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                 "source", "track", "wbr"}


class ReportParser(html.parser.HTMLParser):
    """Collects what a person sees in the report: the page's script draws from its data."""

    def __init__(self):
        super().__init__()
        self.tiles, self.counts, self.history_rows, self.links = [], [], [], []
        self.data, self._in = None, None
        # Open elements (tag, class), end tags that close none, and the box of each legend row.
        self.open, self.misnested, self.legend_boxes = [], [], []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        cls = a.get("class", "") or ""
        if tag == "div" and cls == "legend-row":
            self.legend_boxes.append(self.open[-1][1] if self.open else None)
        if tag not in VOID_ELEMENTS:
            self.open.append((tag, cls))
        if tag in ("link", "img", "iframe") or (tag == "script" and "src" in a):
            self.links.append(tag)
        if tag == "a" and cls.split()[:1] == ["tile"]:
            self.tiles.append(int(a["data-index"]))
        if tag == "span" and cls == "counts":
            self._in = "counts"
        if tag == "a" and cls.split()[:1] == ["hrow"]:
            self.history_rows.append(a["data-status"])
        if tag == "script" and a.get("id") == "mda-data":
            self._in = "data"

    def handle_endtag(self, tag):
        if self.open and self.open[-1][0] == tag:
            self.open.pop()
        else:
            self.misnested.append(tag)
        if tag in ("span", "script"):
            self._in = None

    def handle_data(self, data):
        if self._in == "counts":
            self.counts.append(data)
        if self._in == "data":
            self.data = json.loads(data)

    def charts(self):
        return self.data["charts"] if self.data else []


def session_checks(label, common, session, stored, env, db_file=None):
    tag = "[%s] " % label
    r = run(["sessions"] + common, env=env)
    lines = r.stdout.splitlines()
    rows = [l.split("\t") for l in lines[1:]]
    mine = [x for x in rows if x[0] == str(session)]
    check(r.returncode == 0 and lines[0].split("\t")[:5] == ["id", "unique id", "first run",
                                                               "last run", "scans"],
          tag + "sessions: header line")
    check(len(mine) == 1 and mine[0][4] == str(SCANS) and mine[0][5] == "Demo head-end",
          tag + "sessions: the recorded session with its scan count and site")
    r = run(["sessions", "--filter", "NO SUCH TEXT"] + common, env=env)
    check(r.returncode == 0 and len(r.stdout.splitlines()) == 1, tag + "sessions --filter narrows")

    # CSV for other tools.
    out_csv = os.path.join(work, label + ".csv")
    r = run(["csv", str(session), "-o", out_csv] + common, env=env)
    check(r.returncode == 0 and r.stderr == "", tag + "csv exits 0 quietly")
    raw = open(out_csv, "rb").read()
    check(raw.count(b"\n") == raw.count(b"\r\n") and raw.endswith(b"\r\n"),
          tag + "csv: every line ends with CRLF")
    with open(out_csv, newline="", encoding="utf-8") as f:
        table = list(csv.reader(f))
    check(table[0] == HEADER, tag + "csv: header line")
    body = table[1:]
    check(len(body) == stored, tag + "csv: one row per stored value (%d of %d)" % (len(body), stored))
    check(all(len(row) == len(HEADER) for row in body), tag + "csv: every row has every field")
    check(all(row[0] == str(session) for row in body), tag + "csv: every row names its session")
    mem = sqlite3.connect(":memory:")
    mem.execute("create table v (%s)" % ",".join(HEADER))
    mem.executemany("insert into v values (%s)" % ",".join("?" * len(HEADER)), body)
    (loaded,) = mem.execute("select count(*) from v").fetchone()
    check(loaded == stored, tag + "csv loads into sqlite3 with every row")
    if db_file:
        src = sqlite3.connect(db_file)
        (n,) = src.execute("select count(*) from measurement where session_id = ?",
                           (session,)).fetchone()
        check(n == loaded, tag + "csv rows equal the database's stored values")
        stored_rows = src.execute("select id, scan_id, channel_id, measurement_item, value from "
                                  "measurement where session_id = ? order by scan_id, channel_id, id",
                                  (session,)).fetchall()
        # A state item's value is its word; the stored code has a column of its own.
        csv_rows = [(int(r[1]), int(r[3]), int(r[5]),
                     r[12] or ((r[7] + " " + r[8]) if r[8] else r[7])) for r in body]
        check(csv_rows == [(s, c, i, v or "") for _, s, c, i, v in stored_rows],
              tag + "csv: scan, channel, item and value as stored, in scan-channel order")
    results = dict(mem.execute("select result, count(*) from v group by result").fetchall())
    check(set(results) <= {"within", "violation", "error", "not judged"} and
          results.get("violation", 0) > 0 and results.get("error", 0) > 0,
          tag + "csv: judged results in words, with violations and errors: %s" % results)
    (textless,) = mem.execute("select count(*) from v where result in ('violation','error') "
                              "and text = ''").fetchone()
    check(textless == 0, tag + "csv: every violation and error has its text")
    (one_sided,) = mem.execute("select count(*) from v where compare_type = 'Equal' and "
                               "(limit_low = '' or limit_high != '' or margin != '')").fetchone()
    check(one_sided == 0, tag + "csv: an Equal limit has its value, no upper bound and no margin")
    (negative,) = mem.execute("select count(*) from v where (item_name like 'BER%' or item_name "
                              "like '%Error Ratio') and value != '' and cast(value as real) < 0"
                              ).fetchone()
    check(negative == 0, tag + "the simulator never stores a negative error ratio")
    violated = set(mem.execute("select channel_name, scan_id from v where result = 'violation'"
                               ).fetchall())

    # show: counts agree with the CSV.
    r = run(["show", str(session)] + common, env=env)
    check(r.returncode == 0, tag + "show exits 0")
    shown = {}
    for line in r.stdout.splitlines():
        m = re.match(r"^(.+?)\s+(\d+)\s+(\d+)\s+(\d+)\s\s(\S.*)$", line)
        if m:
            shown[m.group(1).strip()] = (int(m.group(2)), int(m.group(3)), int(m.group(4)), m.group(5))
    per_channel = {name: (j, v, e) for name, j, v, e in mem.execute(
        "select channel_name, sum(result in ('within','violation')), sum(result='violation'), "
        "sum(result='error') from v group by channel_name")}
    check(len(shown) == CHANNELS and all(shown[n][:3] == per_channel.get(n) for n in shown),
          tag + "show: judged, violations and errors per channel agree with the CSV")
    check(all(("violations" in s[3]) == (s[1] > 0) for s in shown.values()),
          tag + "show: a channel's tile speaks of violations exactly when it has some")
    earliest = {}
    for name, scan, text in mem.execute("select channel_name, scan_id, text from v where "
                                        "result = 'violation' order by rowid"):
        earliest.setdefault(name, (int(scan), text))
    told = {n: re.search(r"scan (\d+) \([^)]*\): (.*)$", s[3]) for n, s in shown.items()}
    check(earliest and {n: (int(m.group(1)), m.group(2)) for n, m in told.items() if m} == earliest,
          tag + "show: each channel's first violation, its scan and text (%d)" % len(earliest))

    # --classic: the application's own export lines.
    out_classic = os.path.join(work, label + "-classic.csv")
    r = run(["csv", str(session), "--classic", "-o", out_classic] + common, env=env)
    lines = open(out_classic, encoding="utf-8").read().splitlines()
    check(r.returncode == 0 and len(lines) == stored + 1 and lines[0].startswith("Session Data,")
          and all(l.startswith("Scan Data,") for l in lines[1:]),
          tag + "csv --classic: the session line, then one line per stored value")

    # The report.
    out_html = os.path.join(work, label + ".html")
    r = run(["report", str(session), "-o", out_html] + common, env=env)
    check(r.returncode == 0, tag + "report exits 0")
    text = open(out_html, encoding="utf-8").read()
    p = ReportParser()
    p.feed(text)
    check(len(p.tiles) == CHANNELS, tag + "report: one tile per channel")
    check(not p.misnested and [t for t, _ in p.open] == [],
          tag + "report: every element closed, in order (%s; left open %s)" %
          (p.misnested[:3], p.open[:3]))
    check(p.legend_boxes == ["legend"] * 14, tag + "report: the legend rows sit in the legend %s"
          % sorted(set(map(str, p.legend_boxes))))
    title = "Measurement session %d" % session
    check("<title>%s</title>" % title in text and "<h1>%s</h1>" % title in text,
          tag + "report: the page and its heading are titled with the session")
    check(len(re.findall(r'<li class="(?:bad|clean)"><a href="#', text)) == CHANNELS,
          tag + "report: the table of contents lists every channel")
    check(all(re.fullmatch(r"(1 violation|\d+ violations) · (1 error|\d+ errors)", c)
              and not re.match(r"1 violations|.*· 1 errors", c) for c in p.counts)
          and len(p.counts) == CHANNELS, tag + "report: tiles carry their counts")
    legend = re.findall(r'<div class="legend-row"><span class="sw" style="[^"]*"></span>([^<]*)<',
                        text)
    check(legend[:1] == ["green: ok: every judged value within its limits"] and
          legend[-1:] == ["red: violations in more than 55% of scans"] and len(set(legend)) == 14,
          tag + "report: the legend has every tile colour, green (ok) first")
    swatches = legend_swatches(text)
    tile_colours = re.findall(r'data-index="(\d+)" data-channel="-?\d+" style="background:'
                              r'(rgb\(\d+,\d+,\d+\))"', text)
    check(len(tile_colours) == CHANNELS and
          all(int(i) < len(swatches) and swatches[int(i)] == c for i, c in tile_colours),
          tag + "report: every tile has the colour of its legend row")
    # A channel with a violation is on the violation gradient; one with errors and none is
    # violet; one with judged values only is neither.
    states_of = {}
    for row in body:
        states_of.setdefault(row[3], set()).add(row[10])
    shown = dict((ch, int(i)) for i, ch in re.findall(r'data-index="(\d+)" data-channel="(-?\d+)"',
                                                       text))
    miscoloured = [(ch, sorted(s), shown.get(ch)) for ch, s in states_of.items()
                   if ("violation" in s) != (shown.get(ch, -1) >= 3) or
                   ("violation" not in s and "error" in s) != (shown.get(ch) == 2)]
    check(not miscoloured and any(i == 2 for i in shown.values()) and
          any(i in (0, 1) for i in shown.values()),
          tag + "report: a tile's colour follows its channel's violations and errors %s"
          % miscoloured[:3])
    # A tile with errors tells on hover how many, and the first with its scan and text.
    errors_of = {}
    for row in body:
        if row[10] == "error":
            errors_of.setdefault(int(row[3]), []).append((int(row[1]), row[11]))
    told = {int(ch): html.unescape(tip).splitlines()[-1:] for ch, tip in re.findall(
        r'<a class="tile[^"]*"[^>]*data-channel="(-?\d+)"[^>]*>(?:(?!</a>).)*?<span class="tip">(.*?)'
        r'</span></a>', text, re.S)}
    expected = {ch: ["%d measurement error%s; the first in scan %d: %s" % (
        len(e), "" if len(e) == 1 else "s", e[0][0], e[0][1])] for ch, e in errors_of.items()}
    check(expected and all(told.get(ch) == line for ch, line in expected.items()),
          tag + "report: a tile with errors names their count and the first (%s)" %
          [(ch, told.get(ch), line) for ch, line in expected.items() if told.get(ch) != line][:2])
    check('"n":"Reference Level"' in text,
          tag + "report: the chart data escapes only what JSON and HTML need (a blank stays one)")
    kinds = "".join(c["pk"] for c in p.charts())
    check(kinds.count("0") > 0 and kinds.count("1") > 0 and kinds.count("2") > 0,
          tag + "report: points, violations and errors in the chart data (%d/%d/%d)"
          % (kinds.count("0"), kinds.count("1"), kinds.count("2")))
    untold = [(c["n"], c["pi"][j]) for c in p.charts() for j, k in enumerate(c["pk"])
              if k in "12" and not re.fullmatch(
                  {"1": r"limit violation: \S.*", "2": r"measurement error: .*"}[k],
                  c["t"].get(str(c["pi"][j]), ""), re.S)]
    check(not untold, tag + "report: every violation and error point carries its text %s"
          % untold[:3])
    captions = re.findall(r"<figcaption>(.*?)</figcaption>", text)
    check(len(captions) == len(p.charts()) and any("<small>(" in x for x in captions) and
          all(("<small>(" in x) == bool(set(c["pk"]) & {"1", "2"}) for x, c in zip(captions, p.charts())),
          tag + "report: a curve's caption counts violations and errors only where it has some")
    # A point of a number chart is the number stored for its channel, item and scan.
    scan_ids = sorted({int(row[1]) for row in body})
    numbers = {}
    for row in body:
        try:
            numbers.setdefault((row[3], row[6], int(row[1])), []).append(float(row[7]))
        except ValueError:
            pass
    drawn = [(c["c"], c["n"], scan_ids[c["pi"][j]], c["py"][j]) for c in p.charts()
             if "st" not in c for j, k in enumerate(c["pk"]) if k != "2"]
    misdrawn = [d for d in drawn if not any(abs(d[3] - v) <= 1e-6 * max(1.0, abs(v))
                                            for v in numbers.get((str(d[0]), d[1], d[2]), []))]
    check(drawn and any(d[3] != 0 for d in drawn) and not misdrawn,
          tag + "report: every point is the number stored for its scan %s" % misdrawn[:3])
    # A point of a state chart is the stored code's lane, the first (0) too; so is the expected one.
    lanes = {(str(c["c"]), c["n"]) for c in p.charts() if "st" in c}
    stored_codes = sorted((row[3], row[6], int(row[1]), float(row[12])) for row in body
                          if (row[3], row[6]) in lanes and row[12] != "" and row[10] != "error")
    drawn_codes = sorted((str(c["c"]), c["n"], scan_ids[c["pi"][j]], float(c["py"][j]))
                         for c in p.charts() if "st" in c for j, k in enumerate(c["pk"]) if k != "2")
    check(any(s[3] == 0 for s in stored_codes) and drawn_codes == stored_codes and
          all(c["ex"] == 0 for c in p.charts() if c.get("st", [""])[0] in ("Present", "Locked")),
          tag + "report: every state point is its stored code's lane (%d)" % len(drawn_codes))
    limited = [c for c in p.charts() if c["lo"] is not None or c["hi"] is not None]
    check(limited and any(c["u"].startswith("dB") for c in limited),
          tag + "report: limits to draw, some with a unit (%d)" % len(limited))
    # A chart's limits are the CSV's for its channel and item: Power's shifted by the offset.
    csv_limits = {(row[3], row[6]): (row[14], row[15]) for row in body}
    def same(a, t):
        if t == "":
            return a is None
        return a is not None and abs(a - float(t)) <= 1e-6 * max(1.0, abs(a))
    unlike = [(c["c"], c["n"]) for c in limited if not all(
        same(a, t) for a, t in zip((c["lo"], c["hi"]), csv_limits[(str(c["c"]), c["n"])]))]
    check(not unlike and any(c["n"] == "Power" for c in limited),
          tag + "report: a chart's limits are its channel's in the CSV %s" % unlike[:3])
    check(any(c["log"] for c in p.charts()), tag + "report: error ratios on a log axis")
    check(len(p.history_rows) == CHANNELS and all(len(r) == SCANS for r in p.history_rows),
          tag + "report: status history of one cell per channel and scan")
    # A cell is the worst of its channel's rows in that scan: violation, error, within.
    worst = {}
    for row in body:
        cell = {"within": "1", "error": "2", "violation": "3"}.get(row[10])
        key = (int(row[3]), int(row[1]))
        worst[key] = max(worst.get(key, "0"), cell or "0")
    cells = {(c, scan_ids[i]): s for c, r in enumerate(p.history_rows) for i, s in enumerate(r)}
    check(sum(r.count("3") for r in p.history_rows) == len(violated) and "2" in cells.values() and
          cells == {k: worst.get(k, "0") for k in cells},
          tag + "report: each status cell is the worst result of its channel in that scan (%d)"
          % len(violated))
    standards = {row[19] for row in body}
    check(len(standards) > 3 and all("<small>" + html.escape(s) in text for s in standards),
          tag + "report: every channel's heading names its standard (%d)" % len(standards))
    check("to no channel of the table" not in text,
          tag + "report: no word of stray values when every value has its channel and scan")
    check(not p.links and "https://" not in text and
          "http://" not in text.replace("http://www.w3.org/2000/svg", ""),
          tag + "report needs no network")


# ---------------------------------------------------------------------------------- SQLite
rec = os.path.join(work, "rec")
session, stored = record(rec, [])
db_file = os.path.join(rec, "measurements.sqlite")
session_checks("sqlite", ["--database", db_file], session, stored, base_env, db_file)

# The session as it was measured: a channel inserted at the top of the table file after the
# recording changes nothing.
show = lambda extra=[]: run(["show", str(session), "--database", db_file] + extra)
before = show()
table_file = os.path.join(rec, "config", "demo.channel")
doc = json.load(open(table_file, encoding="utf-8"))
inserted = json.loads(json.dumps(doc["ChannelTableData"][0]))
for item in inserted["ChannelItemData"]:
    if item["Id"] == "Channel Name":
        item["Value"] = "X99 inserted later"
doc["ChannelTableData"].insert(0, inserted)
json.dump(doc, open(table_file, "w", encoding="utf-8"), indent=4)
after = show()
check(before.returncode == 0 and after.stdout == before.stdout,
      "a channel inserted at the top of the table file leaves show unchanged")
moved = show(["--channels", table_file])
check(moved.returncode == 0 and moved.stdout != before.stdout and "X99 inserted later" in moved.stdout,
      "--channels judges with the edited table instead")

# Names that need quoting survive the CSV; a frequency reads in Hz without the product's binary
# noise (64.1 * 1e6 is 64099999.99999999 at 16 digits).
for item in doc["ChannelTableData"][1]["ChannelItemData"]:
    if item["Id"] == "Channel Name":
        item["Value"] = 'E05, "PAL" B/G\u00b5'
    elif item["Id"] == "Center / Vision Carrier Frequency":
        item["Value"] = "64.1 MHz"
# A frequency of 0 is one, not a missing one.
zero = doc["ChannelTableData"][2]["ChannelItemData"]
zero_name = [item["Value"] for item in zero if item["Id"] == "Channel Name"][0]
for item in zero:
    if item["Id"] == "Center / Vision Carrier Frequency":
        item["Value"] = "0 MHz"
# Frequencies in other units, and without one (MHz, as the channel table reads it).
in_units = {}
for row, text, hz in ((3, "500 kHz", "500000"), (4, "1.2 GHz", "1200000000"),
                      (5, "750 Hz", "750"), (6, "47.5", "47500000"), (8, "+474 MHz", "474000000")):
    cells = doc["ChannelTableData"][row]["ChannelItemData"]
    in_units[[item["Value"] for item in cells if item["Id"] == "Channel Name"][0]] = hz
    for item in cells:
        if item["Id"] == "Center / Vision Carrier Frequency":
            item["Value"] = text
# A name longer than the name column widens it for every row.
long_name = "K24 a name longer than the column"
for item in doc["ChannelTableData"][7]["ChannelItemData"]:
    if item["Id"] == "Channel Name":
        item["Value"] = long_name
named = os.path.join(work, "named.channel")
json.dump(doc, open(named, "w", encoding="utf-8"), indent=4)
out_named = os.path.join(work, "named.csv")
r = run(["csv", str(session), "--database", db_file, "--channels", named, "-o", out_named])
with open(out_named, newline="", encoding="utf-8") as f:
    names = {(row[4], row[-1]) for row in csv.reader(f)}
check(r.returncode == 0 and ('E05, "PAL" B/G\u00b5', "64100000") in names and
      not any(n == 'E05, "PAL" B/G\u00b5' and hz != "64100000" for n, hz in names),
      "a channel name with comma, quotes and a non-ASCII letter reads back from the CSV, its "
      "frequency of 64.1 MHz as 64100000")
check({hz for n, hz in names if n == zero_name} == {"0"}, "a frequency of 0 MHz as 0")
check({(n, hz) for n, hz in names if n in in_units} == set(in_units.items()),
      "frequencies in kHz, GHz, Hz, with a plus sign and without a unit (MHz) in Hz")
r = show(["--channels", named])
show_lines = r.stdout.split("\n\n")[1].splitlines() if r.returncode == 0 else []
judged_end = show_lines[0].index("judged") + len("judged") if show_lines else 0
first_col = show_lines[0].index("first violation") if show_lines else 0
check(len(show_lines) > CHANNELS and any(t.startswith(long_name + " ") for t in show_lines) and
      all(t[judged_end - 7:judged_end].strip().isdigit() and t[judged_end] == " "
          for t in show_lines[1:]) and
      all(t[first_col:] == "-" or t[first_col:].startswith("scan ") for t in show_lines[1:]),
      "show: a long channel name or tile word widens its column for every row (%r)"
      % show_lines[:2])
check('"E05, ""PAL"" B/G\u00b5"'.encode() in open(out_named, "rb").read(),
      "that field is quoted with its quotes doubled")

def bounded(size=100000):
    def limit():
        import resource
        import signal
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))
    return limit


def copy_db(name):
    path = os.path.join(work, name)
    shutil.copy(db_file, path)
    con = sqlite3.connect(path)
    con.execute("pragma foreign_keys=off")
    return path, con


# Rows whose channel lies beyond the table, or whose scan has no scan row, are written too.
orphan_db, con = copy_db("orphans.sqlite")
con.execute("insert into measurement (session_id, scan_id, channel_id, measurement_item, state, "
            "value) values (?, 9999, 0, 0, 1, '1')", (session,))
con.execute("insert into measurement (session_id, scan_id, channel_id, measurement_item, state, "
            "value) values (?, 1, ?, 8, 1, '1')", (session, CHANNELS))
con.commit()
con.close()
out_orphans = os.path.join(work, "orphans.csv")
r = run(["csv", str(session), "--database", orphan_db, "-o", out_orphans])
with open(out_orphans, newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f))[1:]
check(r.returncode == 0 and len(rows) == stored + 2, "orphan rows are written, never dropped")
check(any(x[1] == "9999" and x[2] == "" for x in rows) and
      any(x[3] == str(CHANNELS) and x[4] == x[-2] == x[-1] == "" for x in rows),
      "an orphan row has an empty scan time, or channel name, standard and frequency (its "
      "channel one past the table)")
# Sixteen times the rows: many batches pass between the reading and the writing thread, and
# every row is written once.
many_db, con = copy_db("many.sqlite")
for _ in range(4):
    con.execute("insert into measurement (session_id, scan_id, channel_id, measurement_item, "
                "state, value, error_description) select session_id, scan_id, channel_id, "
                "measurement_item, state, value, error_description from measurement")
con.commit()
con.close()
counted = []
out_many = os.path.join(work, "many.csv")
# Bounded: a tool that repeats rows must not fill the disk or this script's memory.
most_bytes = 32 * os.path.getsize(out_orphans)
for source in (db_file, many_db):
    r = subprocess.run([mda, "csv", str(session), "--database", source, "-o", out_many],
                       env=base_env, capture_output=True, timeout=600,
                       preexec_fn=bounded(most_bytes))
    with open(out_many, newline="", encoding="utf-8") as f:
        counted.append(collections.Counter(tuple(x) for x in itertools.islice(
            csv.reader(f), 1, 16 * stored + 2)))
check(r.returncode == 0 and sum(counted[1].values()) == 16 * stored and
      counted[1] == collections.Counter({k: 16 * n for k, n in counted[0].items()}),
      "csv of %d rows: each once, over many batches" % (16 * stored))
unshifted = {tuple(x[13:18]) for x in rows if x[5] == "8" and x[17] == "0" and x[3] != str(CHANNELS)}
past = [tuple(x[13:18]) for x in rows if x[5] == "8" and x[3] == str(CHANNELS)]
check(len(unshifted) == 1 and past == list(unshifted),
      "a power value one past the table has the power limits without a channel's offset (%s)" % past)
r = run(["show", str(session), "--database", orphan_db])
check(r.returncode == 0 and r.stdout.endswith(
          "\n\n2 stored values belong to no channel of the table or to no stored scan (see mda "
          "csv).\n"), "show counts both stray values, the one past the table's last channel too")
# Scan ids counted from 0: a first violation in scan 0 is shown like any other.
zero_db, con = copy_db("scan-zero.sqlite")
# Only the last scan, which has violations, kept and numbered 0.
(last_scan,) = con.execute("select max(id) from scan where session_id = ?", (session,)).fetchone()
for table, column in (("scan", "id"), ("measurement", "scan_id")):
    con.execute("delete from %s where session_id = ? and %s <> ?" % (table, column),
                (session, last_scan))
    con.execute("update %s set %s = 0 where session_id = ?" % (table, column), (session,))
con.commit()
con.close()
r = run(["show", str(session), "--database", zero_db])
check(r.returncode == 0 and re.search(r" scan 0 \(\d{4}-", r.stdout),
      "show names a first violation in scan 0 with its time")
orphan_html = os.path.join(work, "orphans.html")
r = run(["report", str(session), "--database", orphan_db, "-o", orphan_html])
check(r.returncode == 0 and " 2 stored values belong to no channel of the table or to no stored "
      "scan." in open(orphan_html, encoding="utf-8").read(), "the report's subtitle counts them too")
r = run(["report", str(session), "--database", orphan_db])
check(r.returncode == 2 and r.stderr == "mda report: -o FILE is required\n",
      "report without -o exits 2 (%s)" % r.stderr.strip())

# A session is named by its number or by its unique id alike.
uid = [l.split("\t")[1] for l in run(["sessions", "--database", db_file]).stdout.splitlines()[1:]
       if l.split("\t")[0] == str(session)][0]
by_uid = run(["show", uid, "--database", db_file])
check(by_uid.returncode == 0 and by_uid.stdout == show().stdout,
      "show by the unique id prints what show by the number prints")
check("to no channel of the table" not in by_uid.stdout,
      "show: no word of stray values when every value has its channel and scan")


def digest(path):
    with open(path, "rb") as f:
        return f.read()


# Reading never writes: a file of another program, or an empty one, is refused and left as it
# was; nothing beside it appears.
for name, statements in [("empty", []), ("foreign", ["create table contacts (name text)",
                                                     "insert into contacts values ('x')"])]:
    path = os.path.join(work, name + ".sqlite")
    open(path, "wb").close()
    if statements:
        con = sqlite3.connect(path)
        for statement in statements:
            con.execute(statement)
        con.commit()
        con.close()
    before_bytes = digest(path)
    for args in (["sessions"], ["show", "1"], ["report", "1", "-o", os.path.join(work, "x.html")],
                 ["csv", "1", "-o", os.path.join(work, "x.csv")]):
        r = run(args + ["--database", path])
        check(r.returncode == 2 and "is not a measurement database" in r.stderr and
              digest(path) == before_bytes and not os.path.exists(path + "-wal"),
              "%s on the %s file is refused and leaves it unchanged (%s)" %
              (args[0], name, r.stderr.strip()))

# A file its reader may not write (and a folder it may not write into) reads as well.
# With a write-ahead log beside it (read-only media) SQLite cannot make its shared-memory file
# there and refuses a plain read-only open: an empty log is passed over (the file is read as
# immutable), one that holds values is a failure, never a session without them.
if os.geteuid() == 0 and shutil.which("runuser"):
    logged_dir = tempfile.mkdtemp(prefix="mda-wal-")
    logged_db = os.path.join(logged_dir, "station.sqlite")
    logged = sqlite3.connect(logged_db)
    sqlite3.connect(db_file).backup(logged)
    logged.execute("pragma journal_mode = wal")
    logged.execute("pragma wal_autocheckpoint = 0")
    logged.execute("update measurement set value = '-0.5' where id = (select min(id) from "
                   "measurement)")
    logged.commit()
    shown_whole = show().stdout
    # The case, the database file, its write-ahead log (none, empty, a file to copy).
    for wal, source, log in (("", db_file, None), (" beside an empty write-ahead log", db_file, ""),
                             (" with values in its write-ahead log", logged_db,
                              logged_db + "-wal")):
        ro_dir = tempfile.mkdtemp(prefix="mda-ro-")
        ro_db = os.path.join(ro_dir, "station.sqlite")
        shutil.copy(source, ro_db)
        if log:
            shutil.copy(log, ro_db + "-wal")
        elif log is not None:
            open(ro_db + "-wal", "wb").close()
        os.chmod(ro_db, 0o444)
        os.chmod(ro_dir, 0o555)
        r = subprocess.run(["runuser", "-u", "nobody", "--", mda, "show", str(session),
                            "--database", ro_db], env=base_env, capture_output=True, text=True,
                           timeout=120)
        if log:
            check(r.returncode == 2 and r.stdout == "" and
                  "its write-ahead log cannot be read where the folder is read-only" in r.stderr,
                  "show refuses a database in a read-only folder%s (%s)" % (wal, r.stderr.strip()))
        else:
            check(r.returncode == 0 and r.stdout == shown_whole,
                  "show reads a database in a folder its user may not write%s (%s)"
                  % (wal, r.stderr.strip()))
        os.chmod(ro_dir, 0o755)
        shutil.rmtree(ro_dir)
    logged.close()
    shutil.rmtree(logged_dir)
else:
    print("skipped a read-only database: needs root and runuser")

# A damaged page is a failure of every reading command, never a shorter session.
damaged = os.path.join(work, "damaged.sqlite")
shutil.copy(db_file, damaged)
con = sqlite3.connect(damaged)
page_size = con.execute("pragma page_size").fetchone()[0]
leaves = [p for (p,) in con.execute("select pageno from dbstat where name = 'measurement' and "
                                     "pagetype = 'leaf' order by pageno")]
con.close()
with open(damaged, "r+b") as f:
    # Leaf pages in the middle of the value table: a read gets half the session, then fails.
    for page in leaves[len(leaves) // 2:len(leaves) // 2 + 2]:
        f.seek((page - 1) * page_size)
        f.write(b"\xa5" * page_size)
for args in (["show", str(session)], ["report", str(session), "-o", os.path.join(work, "d.html")],
             ["csv", str(session), "-o", os.path.join(work, "d.csv")],
             ["csv", str(session), "--classic", "-o", os.path.join(work, "d-classic.csv")]):
    r = run(args + ["--database", damaged])
    check(r.returncode == 2 and "malformed" in r.stderr and len(r.stderr.strip().splitlines()) == 1,
          "%s on a damaged page exits 2 with the database's reason (got %d: %s)" %
          (" ".join(args[:1] + args[2:3]), r.returncode, r.stderr.strip()))


# A damaged index that only the per-channel counts read: the matrix fails, not the row pass.
bad_index = os.path.join(work, "damaged-index.sqlite")
shutil.copy(db_file, bad_index)
con = sqlite3.connect(bad_index)
leaves = [p for (p,) in con.execute("select pageno from dbstat where name = "
                                     "'measurement_by_channel_item' and pagetype = 'leaf'")]
con.close()
with open(bad_index, "r+b") as f:
    for page in leaves:
        f.seek((page - 1) * page_size)
        f.write(b"\xa5" * page_size)
for args in (["show", str(session)], ["report", str(session), "-o", os.path.join(work, "d.html")]):
    r = run(args + ["--database", bad_index])
    check(r.returncode == 2 and r.stderr.startswith("mda %s: cannot read session %d: Cannot count "
                                                    "the values of channel 0: " % (args[0], session))
          and "malformed" in r.stderr,
          "%s with a damaged count index exits 2 with the reason (got %d: %s)" %
          (args[0], r.returncode, r.stderr.strip()))


def run_on_terminal(args):
    """Runs the tool with its standard error on a terminal: the exit code and the lines a person
    sees there once the progress line's rewrites (carriage return, erase line) are done."""
    code, raw = stderr_on_terminal([mda] + args, base_env)
    text = raw.decode("utf-8", "replace").replace("\r\n", "\n")
    lines = [line.split("\r")[-1].replace("\x1b[K", "") for line in text.split("\n")]
    return code, [line for line in lines if line], text


# On a terminal the progress line (which the classic lines do not have) is erased before the
# reason: no half line stays in front of it, also when the counts fail after the rows.
for db, args in [(damaged, a) for a in (
        ["show", str(session)], ["report", str(session), "-o", os.path.join(work, "t.html")],
        ["csv", str(session), "-o", os.path.join(work, "t.csv")],
        ["csv", str(session), "--classic", "-o", os.path.join(work, "t-classic.csv")])] + [
        (bad_index, ["show", str(session)]),
        (bad_index, ["report", str(session), "-o", os.path.join(work, "t.html")])]:
    code, seen, shown = run_on_terminal(args + ["--database", db])
    check(code == 2 and len(seen) == 1 and seen[0].startswith("mda " + args[0] + ": ") and
          "malformed" in seen[0] and ("\r\x1b[K" in shown or "--classic" in args),
          "%s on a terminal: one line with the reason, the progress erased (%r)"
          % (" ".join(args[:1] + args[2:3]), seen))
code, seen, shown = run_on_terminal(["report", str(session), "-o", os.path.join(work, "t-ok.html"),
                                     "--database", db_file])
check(code == 0 and seen == [] and "\r\x1b[K" in shown,
      "report on a terminal erases its progress line when done (%r)" % seen)
code, seen, shown = run_on_terminal(["csv", str(session), "-o", os.path.join(work, "t-ok.csv"),
                                     "--database", db_file])
counts = [int(n) for n in re.findall(r"csv: (\d+) values", shown)]
check(code == 0 and seen == [] and stored >= 2048 and counts == list(range(2048, stored + 1, 2048)),
      "csv on a terminal counts the values written, 2048 at a time (%r of %d)" % (counts, stored))
# A batch also ends at 2^18 characters of texts: rows of 128 characters go 1024 at a time.
wide_db, con = copy_db("wide.sqlite")
con.execute("update measurement set value = ?, error_description = ''", ("x" * 128,))
con.commit()
con.close()
code, seen, shown = run_on_terminal(["csv", str(session), "-o", os.path.join(work, "t-wide.csv"),
                                     "--database", wide_db])
counts = [int(n) for n in re.findall(r"csv: (\d+) values", shown)]
check(code == 0 and counts == list(range(1024, stored + 1, 1024)),
      "csv on a terminal: rows of long texts are counted 1024 at a time (%r)" % counts)
# The classic lines: written whole or not at all, never over the database, "-" for stdout.
classic_out = os.path.join(work, "classic.csv")
r = run(["csv", str(session), "--classic", "--database", db_file, "-o", classic_out])
r_stdout = run(["csv", str(session), "--classic", "--database", db_file, "-o", "-"])
check(r.returncode == 0 and r_stdout.returncode == 0 and
      r_stdout.stdout == open(classic_out, encoding="utf-8").read() and not os.path.exists("-"),
      "csv --classic -o - writes the same lines to standard output")
before_bytes = digest(db_file)
r = run(["csv", str(session), "--classic", "--database", db_file, "-o", db_file])
check(r.returncode == 2 and "is the database" in r.stderr and digest(db_file) == before_bytes,
      "csv --classic over the database file is refused and the database is unchanged")
if FULL:
    r = run(["csv", str(session), "--classic", "--database", db_file, "-o", FULL])
    check(r.returncode == 2 and "No space left" in r.stderr,
          "csv --classic to a full device exits 2 with the reason (%s)" % r.stderr.strip())
for out in (work, os.path.join(work, "no-folder", "x.csv")):
    r = run(["csv", str(session), "--classic", "--database", db_file, "-o", out])
    check(r.returncode == 2 and r.stderr.startswith("mda csv: cannot write '%s': " % out) and
          len(r.stderr.splitlines()) == 1, "csv --classic -o %s exits 2 naming it (%s)" %
          (out, r.stderr.strip()))
r = run(["csv", "-o", "--all", "--database", db_file], cwd=work)
check(r.returncode == 2 and not os.path.exists(os.path.join(work, "--all")) and
      r.stderr == "mda csv: wrong number of arguments (see mda csv --help)\n",
      "csv -o --all names no session and takes no --all (%s)" % r.stderr.strip())
damaged_out = os.path.join(work, "d-classic.csv")
check(not os.path.exists(damaged_out) and
      not any(n.startswith("d-classic.csv.") for n in os.listdir(work)),
      "a failed classic export leaves no file and no temporary file")

# Memory stays bounded whatever the database holds: texts of 50 MB, 200,000 scans without
# values. Each command runs as a child of its own so that its peak is its own.
PEAK_LIMIT_KB = 300 * 1024


def peak_kb(args, wait=0):
    """Exit code and peak of mda with args; its output is read only after wait seconds."""
    probe = ("import resource, subprocess, sys, time\n"
             "p = subprocess.Popen(sys.argv[2:], stdout=subprocess.PIPE,\n"
             "                     stderr=subprocess.DEVNULL)\n"
             "time.sleep(float(sys.argv[1]))\n"
             "p.stdout.read()\n"
             "print(p.wait(), resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")
    out = subprocess.run([sys.executable, "-c", probe, str(wait), mda] + args, env=base_env,
                         stdin=subprocess.DEVNULL, capture_output=True, text=True,
                         timeout=600).stdout.split()
    return int(out[0]), int(out[1])


huge = os.path.join(work, "huge-texts.sqlite")
shutil.copy(db_file, huge)
con = sqlite3.connect(huge)
text = "x" * 50_000_000
con.execute("update session set description = ?, site = ?", (text, text))
con.execute("update measurement set error_description = ? where id in "
            "(select id from measurement order by id limit 2)", (text,))
con.execute("update measurement set value = ? where id in "
            "(select id from measurement order by id limit 2 offset 7)", ("1" + text,))
con.commit()
con.close()
del text
empty_scans = os.path.join(work, "empty-scans.sqlite")
shutil.copy(db_file, empty_scans)
con = sqlite3.connect(empty_scans)
con.executemany("insert into scan (id, session_id, state, date_time) values (?, ?, 0, "
                "'2026-12-07 10:00:00')", [(100000 + i, session) for i in range(200000)])
con.commit()
con.close()
for name, path in (("50 MB texts", huge), ("200,000 empty scans", empty_scans)):
    for args in (["show", str(session)], ["csv", str(session), "-o", path + ".csv"],
                 ["csv", str(session), "--classic", "-o", path + "-classic.csv"],
                 ["report", str(session), "-o", path + ".html"]):
        code, peak = peak_kb(args + ["--database", path])
        # The sanitizers' shadow memory is no peak of ours.
        check(code == 0 and (peak < PEAK_LIMIT_KB or os.environ.get("MDA_SANITIZED") == "1"),
              "%s with %s: exit %d, peak %d MB (at most 300)" % (" ".join(args[:1] + args[2:3]),
                                                                 name, code, peak // 1024))

# The reading thread waits for the writing one: a reader stuck on its output holds a few rows,
# not the session. 50 values of a million characters each; nothing reads the output for 2 s.
long_values = os.path.join(work, "long-values.sqlite")
shutil.copy(db_file, long_values)
con = sqlite3.connect(long_values)
con.execute("update measurement set value = ? where id in "
            "(select id from measurement where session_id = ? order by id limit 50)",
            ("x" * 1_000_000, session))
con.commit()
con.close()
if os.environ.get("MDA_SANITIZED") != "1":
    base_code, base_peak = peak_kb(["csv", str(session), "-o", "-", "--database", db_file], 2)
    code, peak = peak_kb(["csv", str(session), "-o", "-", "--database", long_values], 2)
    check(base_code == 0 and code == 0 and peak - base_peak < 48 * 1024,
          "csv of 50 MB of values behind a slow reader: exit %d, %d MB over the small session's "
          "peak (under 48)" % (code, (peak - base_peak) // 1024))
csv_huge = open(huge + "-classic.csv", encoding="utf-8").read()
check(" [cut: longer than 4194304 characters]" in csv_huge,
      "a text past the bound is cut visibly, never silently")

# Exit codes and one-line reasons.
missing = os.path.join(work, "nothing-here.sqlite")
table = [
    ([], 2, "no command"),
    (["frobnicate"], 2, "an unknown command"),
    (["show"], 2, "show without a session"),
    (["show", "abc", "--database", db_file], 2, "a session id that is no number"),
    (["show", "999", "--database", db_file], 2, "a session that does not exist"),
    (["show", "1", "--database", missing], 2, "a database file that does not exist"),
    (["csv", str(session), "--database", db_file], 2, "csv without -o"),
    (["csv", str(session), "--database", db_file, "--limits", missing, "-o", missing], 2,
     "a limit file that does not exist"),
    (["show", "--no-such-option"], 2, "an unknown option"),
    (["report", str(session), "--database", db_file, "-o", os.path.join(work, "no", "dir", "r.html")],
     2, "a report that cannot be written"),
]
for args, code, what in table:
    r = run(args)
    check(r.returncode == code and len(r.stderr.strip().splitlines()) == 1,
          "exit %d with a one-line reason: %s (got %d: %s)" % (code, what, r.returncode,
                                                               r.stderr.strip()))
check(not os.path.exists(missing), "a mistyped database name creates no file")
usages = {"sessions": "", "show": " SESSION", "report": " SESSION", "csv": " SESSION...",
          "copy": " [SESSION...]", "export": " MEASCONFIG ARCHIVE", "import": " ARCHIVE",
          "check": " FILE..."}
check(run(["--help"]).stdout.splitlines()[:3] ==
      ["Usage: mda <command> [options] [arguments]", "", "Commands:"],
      "mda --help starts with its usage line")
for command in ["sessions", "show", "report", "csv", "copy", "export", "import"] + (
        ["check"] if "check" in run(["--help"]).stdout else []):
    r = run([command, "--help"])
    usage = "Usage: mda %s [options]%s" % (command, usages[command])
    check(r.returncode == 0 and r.stdout.splitlines()[:1] == [usage],
          "mda %s --help: %s (got %s)" % (command, usage, r.stdout.splitlines()[:1]))

# --limits judges against other limits: a limit table whose ranges collapse to their low
# value finds more violations than the session's own.
strict_doc = json.load(open(os.path.join(rec, "config", "demo.limit"), encoding="utf-8"))
for item in strict_doc["ComparativeValues"]:
    if item["CompareType"] == 3:
        item["HighValue"] = item["LowValue"]
    if item["ID"] == 41:  # an integer item that is no state, compared by equality
        item["CompareType"], item["LowValue"] = 1, "0"
    if item["ID"] == 3:  # a float compared by equality: the judge reads no limit of it
        item["CompareType"] = 1
    if item["LowValue"] == "Locked":  # a state that must not be: its word is the low limit
        item["CompareType"] = 2
strict = os.path.join(work, "strict.limit")
json.dump(strict_doc, open(strict, "w", encoding="utf-8"), indent=4)


def violations(extra):
    out = os.path.join(work, "judged.csv")
    r = run(["csv", str(session), "--database", db_file, "-o", out] + extra)
    with open(out, newline="", encoding="utf-8") as f:
        return r.returncode, sum(row[10] == "violation" for row in csv.reader(f))


own, strict_count = violations([]), violations(["--limits", strict])
check(own[0] == 0 and strict_count[0] == 0 and strict_count[1] > own[1] * 10,
      "--limits judges against other limits (%d violations, own %d)" % (strict_count[1], own[1]))
# The tiles list violations in the order they were stored (by id), not in scan order.
reordered_db = os.path.join(work, "reordered.sqlite")
shutil.copy(db_file, reordered_db)
con = sqlite3.connect(reordered_db)
con.execute("update measurement set id = id + 10000000 where session_id = ? and scan_id <= ?",
            (session, SCANS // 2))
con.commit()
con.close()
out_reordered = os.path.join(work, "reordered.html")
# One limit collapsed: at most one violation a scan, so that a tile lists them all.
one_doc = json.load(open(os.path.join(rec, "config", "demo.limit"), encoding="utf-8"))
collapsed = next(i for i in one_doc["ComparativeValues"] if i["CompareType"] == 3)
collapsed["HighValue"] = collapsed["LowValue"]
one_strict = os.path.join(work, "one-strict.limit")
json.dump(one_doc, open(one_strict, "w", encoding="utf-8"), indent=4)
r = run(["report", str(session), "--database", reordered_db, "--limits", one_strict, "-o",
         out_reordered])
tips = [html.unescape(tip) for tip in re.findall(r'<span class="tip">(.*?)</span>',
                                                 open(out_reordered, encoding="utf-8").read(), re.S)]
listed = [[int(n) for n in re.findall(r"Limit violation at ScanID (\d+):", tip)] for tip in tips]
told = [t for tip in tips for t in re.findall(r"Limit violation at ScanID \d+:(.*)", tip)]
check(told and all(re.fullmatch(r" \S.* is not .*", t) for t in told),
      "report: every violation a tile lists says what it is (%d)" % len(told))
late_first = [sorted(n for n in l if n > SCANS // 2) + sorted(n for n in l if n <= SCANS // 2)
              for l in listed]
check(r.returncode == 0 and listed == late_first and any(l != sorted(l) for l in listed),
      "report: a tile lists its violations in the order they were stored")
# A state limit that expects a number that is no state: no expected lane (-1 in the chart data).
def report_with(limits):
    """The report of the session judged against limits, and its page."""
    json.dump(limits, open(one_strict, "w", encoding="utf-8"), indent=4)
    r = run(["report", str(session), "--database", db_file, "--limits", one_strict, "--force",
             "-o", out_reordered])
    return r, open(out_reordered, encoding="utf-8").read()


for item in one_doc["ComparativeValues"]:
    if item["LowValue"] == "Locked":
        item["LowValue"] = "7"
r, page_text = report_with(one_doc)
expected_states = set(re.findall(r'"ex":(-?\d+)', page_text))
check(r.returncode == 0 and "-1" in expected_states and min(map(int, expected_states)) == -1,
      "report: a state limit that names no state expects none (%s)" % expected_states)
# A state limit "Not Equal" to one of two states expects the other one.
for item in one_doc["ComparativeValues"]:
    if item["LowValue"] == "7":
        item["CompareType"], item["LowValue"] = 2, "Locked"
r, page_text = report_with(one_doc)
lanes = [(json.loads(st), int(ex)) for st, ex in
         re.findall(r'"st":(\[[^\]]*\]),"ex":(-?\d+)', page_text)]
locked = [(st, ex) for st, ex in lanes if len(st) == 2 and "Locked" in st]
check(r.returncode == 0 and locked and all(ex == 1 - st.index("Locked") for st, ex in locked),
      "report: a state limit not equal to one of two states expects the other (%s)" % locked[:2])
# A channel violated in every scan is at the top of the gradient: the legend's last row, red.
r, page_text = report_with(strict_doc)
swatches = legend_swatches(page_text)
top = set(re.findall(r'data-index="13" data-channel="-?\d+" style="background:(rgb\([^)]*\))"',
                     page_text))
check(r.returncode == 0 and swatches[13:] == ["rgb(255,0,0)"] and top == {"rgb(255,0,0)"},
      "report: a channel violated in every scan is red, as the legend's last row (%s)" % top)
with open(os.path.join(work, "judged.csv"), newline="", encoding="utf-8") as f:
    judged_rows = list(csv.DictReader(f))
packet_limits = {(x["compare_type"], x["limit_low"], x["limit_high"])
                 for x in judged_rows if x["item_id"] == "41"}
check(packet_limits == {("Equal", "0", "")},
      "an integer equality's expected value is its low limit: %s" % packet_limits)
locked_ids = {i["ID"] for i in strict_doc["ComparativeValues"] if i["LowValue"] == "Locked"}
not_locked = {(x["compare_type"], x["limit_low"], x["limit_high"])
              for x in judged_rows if int(x["item_id"]) in locked_ids}
check(not_locked == {("Not Equal", "Locked", "")},
      "a state's inequality names the state in its low limit: %s" % not_locked)
float_equal = {(x["compare_type"], x["limit_low"], x["limit_high"], x["result"] == "violation")
               for x in judged_rows if x["item_id"] == "3"}
check(float_equal == {("Equal", "", "", False)},
      "a float equality has no limits and is never violated: %s" % float_equal)

# Configuration exchange.
archive = os.path.join(work, "demo.measurement")
r = run(["export", os.path.join(rec, "config", "demo.measconfig"), archive, "--store",
         "--database", db_file])
check(r.returncode == 0 and os.path.isfile(archive), "export writes the archive")
(kept,) = sqlite3.connect(db_file).execute("select count(*) from export_file").fetchone()
check(kept >= 1, "export --store keeps the archive in the database")
r = run(["import", archive, "--into", "station2"])
folder = r.stdout.strip()
check(r.returncode == 0 and folder.startswith(os.path.join(work, "xdg")) and
      any(n.endswith(".measconfig") for n in os.listdir(folder)),
      "import unpacks below the user data folder and prints the folder")
r = run(["export", os.path.join(work, "none.measconfig"), archive])
check(r.returncode == 2, "export of a missing configuration exits 2")
not_zip = os.path.join(work, "not-a-zip.measurement")
with open(not_zip, "wb") as f:
    f.write(b"PK\x03\x04" + b"\0" * 200)
for path, reason in ((os.path.join(work, "none.measurement"), "no archive '%s'"),
                     (work, "no archive '%s'"), (not_zip, "cannot import '%s'")):
    r = run(["import", path])
    check(r.returncode == 2 and r.stdout == "" and r.stderr == "mda import: %s\n" % reason % path,
          "import of %s: %s (%s)" % (path, reason % path, r.stderr.strip()))

# Document check: a table of broken documents, each with at least one finding on its own
# file as file:line:column: message, and exit status 1; good documents pass silently.
cfg = os.path.join(rec, "config")
broken = os.path.join(work, "broken")
os.makedirs(broken, exist_ok=True)

def write(name, text):
    path = os.path.join(broken, name)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path

limits = json.load(open(os.path.join(cfg, "demo.limit"), encoding="utf-8"))
between = next(i for i in limits["ComparativeValues"] if i["CompareType"] == 3)
between["LowValue"], between["HighValue"] = between["HighValue"], between["LowValue"]
channels = json.load(open(os.path.join(cfg, "demo.channel"), encoding="utf-8"))
for item in channels["ChannelTableData"][0]["ChannelItemData"]:
    if item["Id"] == "Center / Vision Carrier Frequency":
        item["Value"] = "fast MHz"
config = json.load(open(os.path.join(cfg, "demo.measconfig"), encoding="utf-8"))
for item in config["MeasurementConfigSettings"]:
    if item["Name"] == "ChannelTableFile":
        item["Value"] = os.path.join(broken, "no-such.channel")
documents = [
    ("not JSON", write("cut.limit", '{\n    "ComparativeValues": [\n        {"ID": 3,\n')),
    ("low limit above high limit", write("swapped.limit", json.dumps(limits, indent=4))),
    ("frequency that does not parse", write("freq.channel", json.dumps(channels, indent=4))),
    ("configuration naming a missing file",
     write("missing.measconfig", json.dumps(config, indent=4))),
    ("no known kind of document", write("other.json", '{"Something": []}\n')),
]
# On one stream, as a log file gets them, the findings come before the failure after them.
r = subprocess.run([mda, "check", documents[1][1], os.path.join(broken, "gone.limit")],
                   env=base_env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                   timeout=600)
lines = r.stdout.splitlines()
check(r.returncode == 2 and len(lines) > 1 and lines[-1] == "mda check: no file '%s'" %
      os.path.join(broken, "gone.limit") and all(l.startswith(documents[1][1]) for l in lines[:-1]),
      "check's findings come before its failure on one stream (%r)" % lines[-2:])
for what, path in documents:
    r = run(["check", path])
    lines = r.stdout.splitlines()
    check(r.returncode == 1 and lines and
          all(re.match(re.escape(path) + r":\d+:\d+: \S", l) for l in lines),
          "check finds %s (%d findings)" % (what, len(lines)))
r = run(["check"] + [os.path.join(cfg, n) for n in
                     ("demo.device", "demo.limit", "demo.channel", "demo.measconfig")])
check(r.returncode == 0 and r.stdout == "", "check passes the demo's documents silently")
r = run(["check", os.path.join(cfg, "demo.limit"), documents[0][1]])
check(r.returncode == 1 and all(l.startswith(documents[0][1]) for l in r.stdout.splitlines()),
      "check of a good and a broken file names only the broken one")
r = run(["check", os.path.join(broken, "absent.limit")])
check(r.returncode == 2 and len(r.stderr.strip().splitlines()) == 1,
      "check of a file that does not exist exits 2")
r = run(["check"])
check(r.returncode == 2, "check without a file exits 2")

# Report: the files it judges with are checked first; findings printed as file:line:column,
# a faulty file refused unless --force, nothing written when refused; mda --version.
for what, option, path in (("a limit file with a swapped range", "--limits", documents[1][1]),
                           ("a limit file that is not JSON", "--limits", documents[0][1]),
                           ("a channel table with a bad frequency", "--channels", documents[2][1])):
    out = os.path.join(work, "refused.html")
    r = run(["report", str(session), "--database", db_file, option, path, "-o", out])
    errs = r.stderr.strip().splitlines()
    check(r.returncode == 2 and len(errs) >= 2 and
          all(re.match(re.escape(path) + r":\d+:\d+: \S", l) for l in errs[:-1]) and
          errs[-1] == "mda report: the files given have the findings above; --force judges "
                     "with them anyway" and not os.path.exists(out),
          "report refuses %s and prints the findings first (%d lines)" % (what, len(errs)))
out = os.path.join(work, "forced.html")
r = run(["report", str(session), "--database", db_file, "--limits", documents[1][1], "--force",
         "-o", out])
check(r.returncode == 0 and documents[1][1] in r.stderr and os.path.isfile(out),
      "report --force judges with a faulty limit file after printing its findings")
r = run(["report", str(session), "--database", db_file, "--limits",
         os.path.join(broken, "absent.limit"), "--force", "-o", out])
check(r.returncode == 2 and "absent.limit:0:0: no such file" in r.stderr,
      "report --force still refuses a limit file that does not exist")
# Nor does --force judge with a file the user may not read (root reads any: run as nobody).
locked = os.path.join(tempfile.mkdtemp(), "locked.limit")
shutil.copy(documents[1][1], locked)
os.chmod(os.path.dirname(locked), 0o755)
os.chmod(locked, 0)
as_nobody = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.geteuid() == 0 else []
r = subprocess.run(as_nobody + [mda, "report", str(session), "--database", db_file, "--limits",
                                locked, "--force", "-o", out], env=base_env, capture_output=True,
                   text=True, timeout=600)
check(r.returncode == 2 and r.stderr.splitlines()[-1:] == ["mda report: cannot read '%s'" % locked],
      "report --force refuses a limit file it may not read: %s" % r.stderr.strip()[-200:])
# show and csv check the files they judge with as report does.
for args in (["show", str(session)], ["csv", str(session), "-o", os.path.join(work, "checked.csv")]):
    r = run(args + ["--database", db_file, "--limits", documents[1][1]])
    errs = r.stderr.strip().splitlines()
    forced = run(args + ["--database", db_file, "--limits", documents[1][1], "--force"])
    check(r.returncode == 2 and len(errs) >= 2 and errs[0].startswith(documents[1][1] + ":") and
          errs[-1].endswith("--force judges with them anyway") and forced.returncode == 0,
          "%s refuses a faulty limit file after its findings, and judges with it on --force"
          % args[0])
r = run(["--version"])
check(r.returncode == 0 and re.fullmatch(r"mda \d+\.\d+\.\d+\n", r.stdout),
      "mda --version prints the version (%s)" % r.stdout.strip())

# ------------------------------------------------------------------------------ PostgreSQL
url, user, password = (os.environ.get(k) for k in
                       ("MDA_TEST_PG_URL", "MDA_TEST_PG_USER", "MDA_TEST_PG_PASSWORD"))
if url and user and password:
    pg_session, pg_stored = record(os.path.join(work, "rec-pg"),
                                   ["--database", url, "--user", user, "--password", password])
    pg_env = dict(base_env, MDA_DATABASE_PASSWORD=password)
    session_checks("postgresql", ["--database", url, "--user", user], pg_session, pg_stored, pg_env)
    r = run(["sessions", "--database", url, "--user", user],
            env=dict(base_env, MDA_DATABASE_PASSWORD="Wr0ngSecret"))
    check(r.returncode == 2 and "Wr0ngSecret" not in r.stderr and
          len(r.stderr.strip().splitlines()) == 1, "a wrong password exits 2 and is never shown")

    # The connection dropped in the middle of a read: a proxy between the tool and the server
    # cuts both sockets once the server has sent half (then seven eighths) of what a whole
    # command receives. Every
    # reading command exits 2 with the reason and leaves no file; none passes a part as whole.
    import socket
    import threading
    from urllib.parse import urlsplit

    class CuttingProxy:
        def __init__(self, host, port):
            self.target = (host, port)
            self.listener = socket.socket()
            self.listener.bind(("127.0.0.1", 0))
            self.listener.listen(8)
            self.port = self.listener.getsockname()[1]
            self.cut_after = None  # bytes from the server in all, then every socket closes
            self.received = 0
            self.lock = threading.Lock()
            threading.Thread(target=self.accept, daemon=True).start()

        def accept(self):
            while True:
                client, _ = self.listener.accept()
                server = socket.create_connection(self.target)
                threading.Thread(target=self.pump, args=(client, server, False), daemon=True).start()
                threading.Thread(target=self.pump, args=(server, client, True), daemon=True).start()

        def pump(self, source, sink, counted):
            try:
                while True:
                    data = source.recv(16384)
                    if not data:
                        break
                    if counted:
                        with self.lock:
                            if self.cut_after is not None and self.received + len(data) > self.cut_after:
                                break
                            self.received += len(data)
                    sink.sendall(data)
            except OSError:
                pass
            for end in (source, sink):
                try:
                    end.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass
                end.close()

    parts = urlsplit(url)
    proxy = CuttingProxy(parts.hostname, parts.port or 5432)
    proxied = "postgresql://127.0.0.1:%d%s" % (proxy.port, parts.path)
    for name, args in (("show", ["show"]), ("report", ["report"]), ("csv", ["csv"]),
                       ("csv --classic", ["csv", "--classic"])):
        out = os.path.join(work, "cut-" + name.replace(" ", "") + ".out")
        command = args + [str(pg_session), "--database", proxied, "--user", user] + \
            ([] if name == "show" else ["-o", out])
        proxy.cut_after, proxy.received = None, 0
        whole = run(command, env=pg_env)
        total = proxy.received
        if os.path.exists(out):
            os.remove(out)
        for cut_at in (total // 2, total * 7 // 8):
            proxy.cut_after, proxy.received = cut_at, 0
            cut = run(command, env=pg_env)
            check(whole.returncode == 0 and total > 0 and cut.returncode == 2 and
                  len(cut.stderr.strip().splitlines()) == 1 and "server closed the connection" in
                  cut.stderr and not os.path.exists(out)
                  and (name != "show" or "channel" not in cut.stdout),
                  "%s: a connection dropped part way (%d of %d bytes) exits 2 with the reason "
                  "and no output (%s)" % (name, cut_at, total, cut.stderr.strip()[:160]))
else:
    print("skipped PostgreSQL: MDA_TEST_PG_URL/USER/PASSWORD not set")

# ------------------------------------------------------------------- CSV for analysts
def read_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        return [dict(zip(HEADER, row)) for row in list(csv.reader(f))[1:]]


analyst = read_csv(os.path.join(work, "sqlite.csv"))

# A stored state is written by its name, the first one (0) too; one without a name as its number,
# the one just past the last name (5) too.
state_db, con = copy_db("states.sqlite")
first, second, third, fourth = [r[0] for r in con.execute(
    "select id from measurement where session_id = ? order by id limit 4", (session,))]
con.execute("update measurement set state = 0 where id = ?", (first,))
con.execute("update measurement set state = 77, measurement_item = 0 where id = ?", (second,))
con.execute("update measurement set state = 5 where id = ?", (fourth,))
# One past the largest stored item id (140).
con.execute("update measurement set measurement_item = 141 where id = ?", (third,))
# A frequency offset that is the limit to six digits, as the judge reads it.
con.execute("update measurement set value = '29999.99 Hz' where id = (select min(id) from "
            "measurement where session_id = ? and measurement_item = 9)", (session,))
# A value without its number keeps its unit.
(blank_scan, blank_channel) = con.execute(
    "select scan_id, channel_id from measurement where id = (select min(id) from measurement "
    "where session_id = ? and measurement_item = 8)", (session,)).fetchone()
con.execute("update measurement set value = ' dBmV' where session_id = ? and scan_id = ? and "
            "channel_id = ? and measurement_item = 8", (session, blank_scan, blank_channel))
# A number with its plus sign, as some firmware writes a level.
con.execute("update measurement set value = '+12.5' || substr(value, instr(value, ' ')) where id = "
            "(select max(id) from measurement where session_id = ? and measurement_item = 8)",
            (session,))
con.commit()
con.close()
out = os.path.join(work, "states.csv")
r = run(["csv", str(session), "--database", state_db, "-o", out])
rows = read_csv(out)
words = [row["stored_state"] for row in rows]
check(r.returncode == 0 and words.count("Only Initialized") == 1 and words.count("77") == 1 and
      words.count("5") == 1, "csv: stored state 0 by its name, an unnamed one by its number")
unit_only = [(row["value"], row["unit"]) for row in rows if row["item_id"] == "8" and
             (row["scan_id"], row["channel_id"]) == (str(blank_scan), str(blank_channel))]
check(unit_only == [("", "dBmV")], "csv: a value ' dBmV' has no number and its unit (%r)" % unit_only)
at_limit = [(row["result"], row["margin"]) for row in rows if row["value"] == "29999.99"]
check(at_limit == [("within", "0")], "csv: a value at the limit to six digits has no margin "
      "left (%r)" % at_limit)


def margin_of(x):
    low = float(x["limit_low"]) if x["limit_low"] else None
    high = float(x["limit_high"]) if x["limit_high"] else None
    # The judge compares the value with two decimals.
    value = float("%.2f" % float(x["value"]))
    sides = ([value - low] if low is not None else []) + ([high - value] if high is not None else [])
    return min(sides)


signed = [row for row in rows if row["value"] == "+12.5"]
check(len(signed) == 1 and signed[0]["margin"] and
      float(signed[0]["margin"]) == round(margin_of(signed[0]), 6),
      "csv: a value with a plus sign has its number's margin (%r)" % signed)
check([row["item_name"] for row in rows if row["item_id"] == "0"] == ["Status"],
      "csv: item 0 by its name")
check([row["item_name"] for row in rows if row["item_id"] == "141"] == [""],
      "csv: an item id past the known ones has no name")

# Formula guard: texts a spreadsheet would evaluate get an apostrophe, numbers stay numbers.
guard_db, con = copy_db("formulas.sqlite")
error_id = con.execute("select min(id) from measurement where session_id = ? and error_description "
                       "!= ''", (session,)).fetchone()[0]
con.execute("update measurement set error_description = ? where id = ?",
            ("+cmd|' /C calc'!A0", error_id))
texts = ["=1+1", "-2+3", "@SUM(A1)", "\t=2", "\r=3", "+", "-", "plain", "-12.5", "+4", "1e-5",
         "-1x5", "+2e", "-3E+2", "+.5", "-3E2"]
for n, text in enumerate(texts):
    # Item 0 "Status" is a text item: its value is written whole.
    con.execute("insert into measurement (session_id, scan_id, channel_id, measurement_item, "
                "state, value) values (?, 1, ?, 0, 2, ?)", (session, n % CHANNELS, text))
# Channel names as the session registered them: its copy of the channel table, edited.
formula_names = ['=HYPERLINK("http://x.invalid/?"&A1,"Click")', "@SUM(A1)", "-cmd", "+1-1"]
(copy_id, encoded) = con.execute("select id, file from exported_channel_settings order by id "
                                 "limit 1").fetchone()
formula_doc = json.loads(base64.b64decode(encoded))
for row, name in zip(formula_doc["ChannelTableData"][1:], formula_names):
    for item in row["ChannelItemData"]:
        if item["Id"] == "Channel Name":
            item["Value"] = name
edited = json.dumps(formula_doc, indent=4).encode()
con.execute("update exported_channel_settings set file = ?, hash = ? where id = ?",
            (base64.b64encode(edited).decode(), hashlib.md5(edited).hexdigest(), copy_id))
con.commit()
con.close()
out_guard = os.path.join(work, "formulas.csv")
r = run(["csv", str(session), "--database", guard_db, "-o", out_guard])
guarded = read_csv(out_guard)
check(r.returncode == 0 and len(guarded) == stored + len(texts), "csv of the formula database")
names = {x["channel_name"] for x in guarded}
for name in formula_names:
    check("'" + name in names and name not in names,
          "a channel name %r is written with a leading apostrophe" % name)
check(b'"\'=HYPERLINK(""http://x.invalid/?""&A1,""Click"")"' in open(out_guard, "rb").read(),
      "the guarded name is quoted with its quotes doubled after the apostrophe")
check(any(x["text"] == "'+cmd|' /C calc'!A0" for x in guarded),
      "an error text that begins with + is guarded")
status_values = [x["value"] for x in guarded if x["item_id"] == "0"]
expected_values = ["'=1+1", "'-2+3", "'@SUM(A1)", "'\t=2", "'\r=3", "'+", "'-", "plain", "-12.5",
                   "+4", "1e-5", "'-1x5", "'+2e", "-3E+2", "+.5", "-3E2"]
check(sorted(status_values) == sorted(expected_values),
      "text item values: formulas guarded, plain numbers and plain text as stored (%r)"
      % status_values)
numeric = [x for x in guarded if x["item_id"] != "0" and x["value"]]
negative = [x for x in numeric if x["value"].startswith("-")]
check(negative and all(re.fullmatch(r"-[0-9.]+(e[-+][0-9]+)?", x["value"]) for x in negative) and
      not any(x["value"].startswith("'") for x in numeric),
      "negative measured numbers stay numbers (%d of them)" % len(negative))
margins = [x["margin"] for x in guarded if x["margin"].startswith("-")]
check(margins and not any(v.startswith("'") for x in guarded for k, v in x.items()
                          if k in ("margin", "limit_low", "limit_high", "limit_offset")),
      "negative margins and limits stay numbers")

# The limits each value was judged against, as the limit file has them.
limit_doc = json.load(open(os.path.join(rec, "config", "demo.limit"), encoding="utf-8"))
limit_of = {item["ID"]: item for item in limit_doc["ComparativeValues"]}
compare_words = {0: "Not Used", 1: "Equal", 2: "Not Equal", 3: "Between", 4: "Lower", 5: "Higher"}
offsets, standards, frequencies = {}, {}, {}
scale = {"Hz": 1, "kHz": 1e3, "MHz": 1e6, "GHz": 1e9}
for row in json.load(open(table_file, encoding="utf-8"))["ChannelTableData"][1:]:
    cells = {item["Id"]: item["Value"] for item in row["ChannelItemData"]}
    name = cells["Channel Name"]
    offsets[name] = float(cells["Power Limit Offset"].split()[0])
    # The demo writes each channel's standard as its description.
    standards[name] = cells["Description"]
    number, unit = cells["Center / Vision Carrier Frequency"].split()
    frequencies[name] = float(number) * scale[unit]
compared = mismatched = 0
for x in analyst:
    item = limit_of.get(int(x["item_id"]))
    if not item:
        continue
    if x["compare_type"] != compare_words[item["CompareType"]]:
        mismatched += 1
    elif item["CompareType"] == 3 and x["limit_unit"] == item["LowValue"].split()[-1] == \
            item["HighValue"].split()[-1]:
        offset = offsets[x["channel_name"]] if x["item_name"] == "Power" else 0
        compared += 1
        if (abs(float(x["limit_low"]) - float(item["LowValue"].split()[0]) - offset) > 1e-6 or
                abs(float(x["limit_high"]) - float(item["HighValue"].split()[0]) - offset) > 1e-6):
            mismatched += 1
    elif item["CompareType"] == 3 and not item["LowValue"].split()[1:]:
        # Limits without a unit, integers among them: the numbers of the file.
        compared += 1
        try:
            mismatched += any(abs(float(x[k]) - float(item[v])) > 1e-6 * abs(float(item[v]))
                              for k, v in (("limit_low", "LowValue"), ("limit_high", "HighValue")))
        except ValueError:
            mismatched += 1
    elif item["CompareType"] == 1 and x["limit_low"] != item["LowValue"]:
        mismatched += 1
check(compared > stored // 3 and mismatched == 0,
      "compare type and limits agree with the limit file (%d rows, %d differ)"
      % (compared, mismatched))
power = [x for x in analyst if x["item_name"] == "Power"]
check(power and all(x["limit_offset"] and float(x["limit_offset"]) == offsets[x["channel_name"]]
                   for x in power) and
      {x["limit_low"] for x in power if offsets[x["channel_name"]] == -6} == {"-21"} and
      {x["limit_high"] for x in power if offsets[x["channel_name"]] == 3} == {"50"},
      "Power carries its channel's limit offset, its limits shifted by it")
check(all(x["limit_offset"] == "" for x in analyst if x["item_name"] != "Power"),
      "no other item has a limit offset")
ranged = [x for x in analyst if x["result"] in ("within", "violation") and
          x["compare_type"] in ("Between", "Lower", "Higher") and x["limit_unit"] == x["unit"] and
          x["unit"]]
wrong_sign = [x for x in ranged
              if not x["margin"] or (x["result"] == "within") != (float(x["margin"]) >= 0)]
off = [x for x in ranged if x["margin"] and
       abs(float(x["margin"]) - margin_of(x)) > 0.0101 + 1e-5 * abs(margin_of(x))]
check(len(ranged) > stored // 2 and not wrong_sign and not off,
      "every judged number has the margin to its nearer limit, negative exactly for violations "
      "(%d rows, %d with the wrong sign, %d off)" % (len(ranged), len(wrong_sign), len(off)))
check(all(x["margin"] == "" for x in analyst if x["result"] in ("error", "not judged")),
      "values not judged have no margin")
check(all(x["channel_standard"] == standards[x["channel_name"]] and
          float(x["channel_frequency_hz"]) == frequencies[x["channel_name"]] for x in analyst),
      "every row carries its channel's standard and frequency in Hz")

# State items in words, the stored code beside them.
state_words = {"Demod Lock": ["Locked", "Unlocked"], "MPEG Lock": ["Locked", "Unlocked"],
               "Internal Reference": ["Locked", "Unlocked"], "Vision Detector": ["Locked", "Unlocked"],
               "Preamplifier": ["On", "Off"], "Preselector": ["On", "Off"],
               "FM1 Sound Carrier": ["Present", "Missing"]}
states_db, con = copy_db("states.sqlite")
unlock_id = con.execute("select min(id) from measurement where session_id = ? and "
                        "measurement_item = 12 and state = 2", (session,)).fetchone()[0]
con.execute("update measurement set value = '1' where id = ?", (unlock_id,))
con.commit()
con.close()
out_states = os.path.join(work, "states.csv")
r = run(["csv", str(session), "--database", states_db, "-o", out_states])
state_rows = [x for x in read_csv(out_states) if x["item_name"] in state_words and x["value_code"]]
check(r.returncode == 0 and {x["item_name"] for x in state_rows} == set(state_words) and
      all(x["value"] == state_words[x["item_name"]][int(x["value_code"])] for x in state_rows),
      "state items read as words with their stored code (%d rows)" % len(state_rows))
unlocked = [x for x in state_rows if x["value"] == "Unlocked"]
check(len(unlocked) >= 1 and unlocked[0]["item_name"] == "Demod Lock" and
      unlocked[0]["value_code"] == "1" and unlocked[0]["result"] == "violation" and
      unlocked[0]["text"] == "Demod Lock is not Locked" and unlocked[0]["limit_low"] == "Locked",
      "an unlocked demodulator: Unlocked, code 1, a violation of the expected Locked")
# The report draws no lane for a stored number that is no state.
con = sqlite3.connect(states_db)
odd_id = con.execute("select min(id) from measurement where session_id = ? and "
                     "measurement_item = 12 and value = '0'", (session,)).fetchone()[0]
con.execute("update measurement set value = '7' where id = ?", (odd_id,))
spot = con.execute("select channel_id, scan_id from measurement where id = ?", (odd_id,)).fetchone()
con.commit()
con.close()
r = run(["report", str(session), "--database", states_db, "-o", os.path.join(work, "states.html")])
page = ReportParser()
if r.returncode == 0:
    page.feed(open(os.path.join(work, "states.html"), encoding="utf-8").read())
lanes = {(c["c"], page.data["scans"][i]): y for c in page.charts() if c["n"] == "Demod Lock"
         for i, y in zip(c["pi"], c["py"])}
check(r.returncode == 0 and spot not in lanes and (spot[0], spot[1] + 1) in lanes,
      "report: no lane for a stored number that is no state (%s)" % lanes.get(spot))
check(all(x["value_code"] == "" for x in analyst if x["item_name"] not in state_words and
          not x["item_name"].endswith(("Lock", "Carrier"))),
      "other items have no state code")

# Scan times in ISO 8601 with the offset of the local time zone they were recorded in.
times_db, con = copy_db("times.sqlite")
con.execute("update scan set date_time = ? where session_id = ? and id = 1",
            ("2026-07-01 12:00:00", session))
con.execute("update scan set date_time = ? where session_id = ? and id = 2",
            ("2026-01-15 08:30:00", session))
con.execute("update scan set date_time = ? where session_id = ? and id = 3",
            ("2026-03-29 02:30:00", session))
con.execute("update scan set date_time = ? where session_id = ? and id = 4", ("=1+1", session))
con.execute("update scan set date_time = ? where session_id = ? and id = 5",
            ("15.01.2026 08:30:00", session))
con.execute("update scan set date_time = ? where session_id = ? and id = 6",
            ("Thu Jan 15 08:30:00 2026", session))
con.commit()
con.close()
out_times_html = os.path.join(work, "times.html")
r = run(["report", str(session), "--database", times_db, "-o", out_times_html])
times_page = ReportParser()
if r.returncode == 0:
    times_page.feed(open(out_times_html, encoding="utf-8").read())
check(r.returncode == 0 and [times_page.data["times"][i] for i in (1, 4, 5)] ==
      ["2026-01-15 08:30:00"] * 3,
      "report: a scan time stored day first or as text reads as the others do (%r)"
      % (times_page.data or {}).get("times"))
central = "CET-1CEST,M3.5.0,M10.5.0/3"
time_table = [
    ("UTC0", 1, "2026-07-01T12:00:00+00:00"),
    (central, 1, "2026-07-01T12:00:00+02:00"),
    (central, 2, "2026-01-15T08:30:00+01:00"),
    ("NST+3:30", 2, "2026-01-15T08:30:00-03:30"),
    ("AEST-10", 2, "2026-01-15T08:30:00+10:00"),
    (central, 3, "2026-03-29 02:30:00"),  # skipped at the start of summer time: as stored
    ("UTC0", 4, "'=1+1"),
]
by_zone = {}
for zone, scan, expected in time_table:
    if zone not in by_zone:
        out_times = os.path.join(work, "times.csv")
        r = run(["csv", str(session), "--database", times_db, "-o", out_times],
                env=dict(base_env, TZ=zone))
        by_zone[zone] = {int(x["scan_id"]): x["scan_time"] for x in read_csv(out_times)}
    check(by_zone[zone].get(scan) == expected,
          "scan time %s read in the zone %s: %r" % (scan, zone, by_zone[zone].get(scan)))

# Several sessions into one file, the header once; standard output; --all.
multi_db = os.path.join(work, "multi.sqlite")
shutil.copy(db_file, multi_db)
second, second_stored = record(os.path.join(work, "rec-second"), ["--database", multi_db])
one = open(os.path.join(work, "sqlite.csv"), "rb").read()
r = run(["csv", str(second), "--database", multi_db, "-o", os.path.join(work, "second.csv")])
two = open(os.path.join(work, "second.csv"), "rb").read()
header_line = one.split(b"\r\n", 1)[0] + b"\r\n"
out_both = os.path.join(work, "both.csv")
r = run(["csv", str(second), str(session), "--database", multi_db, "-o", out_both])
check(r.returncode == 0 and open(out_both, "rb").read() == two + one[len(header_line):],
      "two sessions in the order named, the header once")
r = run(["csv", "--all", "--database", multi_db, "-o", os.path.join(work, "all.csv")])
every = open(os.path.join(work, "all.csv"), "rb").read()
check(r.returncode == 0 and every == one + two[len(header_line):] and
      every.count(b"session_id") == 1, "--all writes every session, the header once")
r = subprocess.run([mda, "csv", "--all", "--database", multi_db, "-o", "-"], env=base_env,
                   capture_output=True, timeout=600)
check(r.returncode == 0 and r.stdout == every and r.stderr == b"",
      "-o - writes the same bytes to standard output")
for args, what in [(["--all", str(session)], "--all with a session"),
                   ([str(session), "999"], "a missing session among several"),
                   (["--classic", str(session), str(second)], "--classic with two sessions")]:
    target = os.path.join(work, "refused.csv")
    r = run(["csv"] + args + ["--database", multi_db, "-o", target])
    check(r.returncode == 2 and len(r.stderr.strip().splitlines()) == 1 and
          not os.path.exists(target), "%s exits 2 and writes nothing (%s)" % (what, r.stderr.strip()))

# Written whole or not at all.
def folder_and_target(name):
    folder = os.path.join(work, name)
    os.makedirs(folder)
    target = os.path.join(folder, "session.csv")
    with open(target, "w") as f:
        f.write("earlier\n")
    return folder, target


folder, target = folder_and_target("bounded")


r = subprocess.run([mda, "csv", str(session), "--database", db_file, "-o", target], env=base_env,
                   capture_output=True, text=True, timeout=600, preexec_fn=bounded())
check(r.returncode == 2 and "File too large" in r.stderr and
      open(target).read() == "earlier\n" and os.listdir(folder) == ["session.csv"],
      "a write that fails half-way keeps the earlier file and leaves no partial one (%s)"
      % r.stderr.strip())
folder, target = folder_and_target("damaged-read")
r = run(["csv", str(session), "--database", damaged, "-o", target])
fresh = os.path.join(folder, "new.csv")
r2 = run(["csv", str(session), "--database", damaged, "-o", fresh])
check(r.returncode == 2 and r2.returncode == 2 and "malformed" in r.stderr and
      open(target).read() == "earlier\n" and os.listdir(folder) == ["session.csv"],
      "a read that fails half-way keeps the earlier file and creates none")
if FULL:
    r = run(["csv", str(session), "--database", db_file, "-o", FULL])
    check(r.returncode == 2 and "No space left on device" in r.stderr,
          "-o onto a full device exits 2 and names the cause (%s)" % r.stderr.strip())
    with open(FULL, "w") as full:
        r = subprocess.run([mda, "csv", str(session), "--database", db_file, "-o", "-"],
                           env=base_env, stdout=full, stderr=subprocess.PIPE, text=True, timeout=600)
    check(r.returncode == 2 and "standard output" in r.stderr and "No space" in r.stderr,
          "a full standard output exits 2 and names it (%s)" % r.stderr.strip())
    # What the other commands print must arrive too, or they fail, saying so once.
    for args, who in ((["sessions", "--database", db_file], "mda sessions"),
                      (["show", str(session), "--database", db_file], "mda show"),
                      (["check", documents[1][1]], "mda check"), (["show", "--help"], "mda show"),
                      (["--version"], "mda"), (["--help"], "mda")):
        with open(FULL, "w") as full:
            r = subprocess.run([mda] + args, env=base_env, stdout=full, stderr=subprocess.PIPE,
                               text=True, timeout=600)
        check(r.returncode == 2 and r.stderr == who + ": cannot write the standard output: No "
              "space left on device\n", "%s onto a full standard output exits 2 (%r)"
              % (" ".join(args[:1]), r.stderr))
# Another cause is named as it is: a sealed memory file refuses every write.
sealed = os.memfd_create("sealed", os.MFD_ALLOW_SEALING)
fcntl.fcntl(sealed, fcntl.F_ADD_SEALS, fcntl.F_SEAL_WRITE)
r = subprocess.run([mda, "--version"], env=base_env, stdout=sealed, stderr=subprocess.PIPE,
                   text=True, timeout=600)
os.close(sealed)
check(r.returncode == 2 and r.stderr == "mda: cannot write the standard output: Operation not "
      "permitted\n", "--version onto a sealed standard output names the cause (%r)" % r.stderr)
before_db = digest(db_file)
r = run(["csv", str(session), "--database", db_file, "-o", db_file])
check(r.returncode == 2 and "is the database" in r.stderr and digest(db_file) == before_db,
      "the CSV is never written over the database it reads")
r = run(["csv", str(session), "--database", db_file, "-o", work])
check(r.returncode == 2 and "is a folder" in r.stderr, "a folder as the target exits 2")

# ------------------------------------------------- data that must not rewrite or act on output
import zipfile

# Stored texts are shown as they are: a "%1" stays a "%1" (no substitution into the message
# around it), and terminal controls are shown escaped, never sent to the terminal.
CONTROLS = re.compile("[\x00-\x08\x0a-\x1f\x7f-\x9f\u2028\u2029]")
TABLE_LINE = re.compile(r"^channel\s")


def table_rows(text):
    """The channel table of show: (header line, row lines)."""
    lines = text.splitlines()
    start = next(i for i, l in enumerate(lines) if TABLE_LINE.match(l))
    rows = []
    for line in lines[start + 1:]:
        if not line.strip():
            break
        rows.append(line)
    return lines[start], rows


def columns(header, line):
    """judged, violations and errors read where the header puts them (right-aligned)."""
    out = []
    for title, width in (("judged", 7), ("violations", 10), ("errors", 6)):
        end = header.index(title) + len(title)
        field = line[end - width:end]
        out.append(field.strip() if field.startswith(" ") else None)
    return out


def own_channel_table(names):
    """The recorded channel table with its names replaced, in its order."""
    table = json.load(open(table_file, encoding="utf-8"))
    rows = [r for r in table["ChannelTableData"]
            if not any(i["Id"] == "Channel Name" and i["Value"] == "X99 inserted later"
                       for i in r["ChannelItemData"])]
    for row, name in zip(rows, names):
        for item in row["ChannelItemData"]:
            if item["Id"] == "Channel Name":
                item["Value"] = name
    table["ChannelTableData"] = rows
    return table


def texts_db(name, description, site, test_point, scan_time):
    path = os.path.join(work, name + ".sqlite")
    shutil.copy(db_file, path)
    con = sqlite3.connect(path)
    con.execute("update session set description = ?, site = ?, test_point = ? where id = ?",
                (description, site, test_point, session))
    con.execute("update scan set date_time = ? where session_id = ?", (scan_time, session))
    con.commit()
    con.close()
    return path


base_header, base_rows = table_rows(run(["show", str(session), "--database", db_file]).stdout)

# A channel without violations and errors has the first colour of the legend.
clean_db, con = copy_db("clean.sqlite")
con.executemany("delete from measurement where session_id = ? and channel_id = 0 and scan_id = ? "
                "and measurement_item = ?",
                [(session, x["scan_id"], x["item_id"]) for x in analyst
                 if x["channel_id"] == "0" and x["result"] in ("violation", "error")])
con.commit()
con.close()
clean_header, clean_rows = table_rows(run(["show", str(session), "--database", clean_db]).stdout)
check(columns(clean_header, clean_rows[0])[1:] == ["0", "0"] and " green (ok) " in clean_rows[0],
      "show: a channel without violations and errors has the green (ok) tile (%s)"
      % clean_rows[0])
base_counts = [columns(base_header, l) for l in base_rows]
percent_names = ["E%1 %6 %9", "%10%11%99 long enough to widen the name column", "%%1", "100%",
                 "%L1 %n", "%1", "%2%1", "x%9y", "%0 %00", "% 1", "%99", "%3 %2 %1"]
percent_names = (percent_names * CHANNELS)[:len(base_rows)]
cases = [
    ("percent", percent_names, "desc %1 %7 %99", "site %2%3", "tp %9 %1", "2026-01-01 %1 %2"),
    ("controls", ["BEL\x07ESC\x1b[2J", "title\x1b]0;owned\x07", "del\x7f", "nel\x85ls\u2028",
                  "tab\there", "cr\rlf\n"] * CHANNELS,
     "desc \x1b]0;retitled\x07\x1b[2J\x1b[H", "site \x9b31m \u2029", "tp \x01 \x02",
     "2026-01-01 \x1b[31m"),
    ("quotes", ['say "hi"', "back\\slash", "</script><b>", "'single'"] * CHANNELS,
     'desc "q" \\', "site </script>", 'tp "', '2026-01-01 "12:00" \\ </script>'),
]


def terminal(text):
    return re.sub("[\x00-\x1f\x7f-\x9f\u2028\u2029]",
                  lambda m: ("\\x%02x" % ord(m.group())) if ord(m.group()) < 0x80
                  else "\\u%04x" % ord(m.group()), text)


for label, names, description, site, test_point, scan_time in cases:
    names = names[:len(base_rows)]
    shown = [terminal(n) for n in names]
    db = texts_db(label, description, site, test_point, scan_time)
    channel_path = os.path.join(work, label + ".channel")
    json.dump(own_channel_table(names), open(channel_path, "w", encoding="utf-8"), indent=4)
    r = run(["show", str(session), "--database", db, "--channels", channel_path])
    check(r.returncode == 0 and not CONTROLS.search(r.stdout.replace("\n", "")),
          "[%s] show exits 0 and sends no control character to the terminal" % label)
    lines = r.stdout.splitlines()
    check(len(lines) > 1 and lines[0].endswith(": " + terminal(description)) and
          lines[1].startswith("Site %s, test point %s; %d scans from " %
                              (terminal(site), terminal(test_point), SCANS)),
          "[%s] show: session texts verbatim in the heading (%r)" % (label, lines[:2]))
    header, rows = table_rows(r.stdout)
    check(len(rows) == len(base_rows) and
          all(row.startswith(name + " ") for row, name in zip(rows, shown)),
          "[%s] show: every channel name verbatim at the start of its line" % label)
    check([columns(header, row) for row in rows] == base_counts,
          "[%s] show: judged, violations and errors stand in their columns, as without the "
          "names" % label)
    firsts = [row for row in rows if "scan " in row[header.index("first violation"):]]
    check(firsts and all(("(" + terminal(scan_time) + "): ") in row for row in firsts),
          "[%s] show: the scan time of a first violation verbatim" % label)
    out_html = os.path.join(work, label + "-report.html")
    r = run(["report", str(session), "--database", db, "--channels", channel_path, "-o", out_html])
    page = ReportParser()
    if r.returncode == 0:
        page.feed(open(out_html, encoding="utf-8").read())
    check(r.returncode == 0 and page.data is not None and page.data["times"] == [scan_time] * SCANS,
          "[%s] report: the page's data reads back with the scan times verbatim" % label)
    r = run(["sessions", "--database", db])
    mine = [l.split("\t") for l in r.stdout.splitlines()[1:] if l.split("\t")[0] == str(session)]
    check(r.returncode == 0 and not CONTROLS.search(r.stdout.replace("\n", "")) and
          len(mine) == 1 and mine[0][5:] == [terminal(site), terminal(description)],
          "[%s] sessions: seven fields with site and description verbatim (%r)" % (label, mine))

# Every reason on stderr shows what it quotes, escaped.
for args, quoted, what in [
    (["frob\x1b[2J\x07"], "frob\\x1b[2J\\x07", "an unknown command"),
    (["show", "1", "--database", os.path.join(work, "no\x1b]0;x\x07.sqlite")],
     "no\\x1b]0;x\\x07.sqlite", "a database name"),
    (["show", str(session), "--database", db_file, "--channels", "ch%1\x9b2J\x85\x9f"],
     "ch%1\\u009b2J\\u0085\\u009f", "a channel table name"),
]:
    r = run(args)
    check(r.returncode == 2 and len(r.stderr.splitlines()) == 1 and
          not CONTROLS.search(r.stderr.rstrip("\n")) and quoted in r.stderr,
          "a reason quoting %s shows its controls escaped (%r)" % (what, r.stderr))

# A password never travels on the command line or into a message.
SECRET = "Sup3r%1S3cret"
for bad_url in ["postgresql://mda:%s@127.0.0.1:1/mda" % SECRET,
                "postgres://mda:%s@db.invalid/mda" % SECRET,
                "postgresql://mda:%s/x@y@127.0.0.1:1/mda" % SECRET,
                "postgresql://127.0.0.1:1/mda?sslmode=disable&password=%s" % SECRET,
                "postgresql://mda:%s@/mda" % SECRET]:
    for args in (["sessions"], ["show", "1"],
                 ["export", os.path.join(rec, "config", "demo.measconfig"),
                  os.path.join(work, "pw.measurement"), "--store"]):
        r = run(args + ["--database", bad_url, "--user", "mda"])
        check(r.returncode == 2 and SECRET not in r.stdout + r.stderr and
              "MDA_DATABASE_PASSWORD" in r.stderr and len(r.stderr.splitlines()) == 1,
              "%s refuses a URL with a password, without repeating it (%s)" % (args[0], bad_url))
check(not os.path.exists(os.path.join(work, "pw.measurement")),
      "export --store with a refused database writes no archive")
r = run(["sessions", "--database", "postgresql://mda@127.0.0.1:1/mda"])
check(r.returncode == 2 and "MDA_DATABASE_PASSWORD" not in r.stderr and
      "127.0.0.1:1/mda" in r.stderr, "a URL with a user and no password is tried (%s)"
      % r.stderr.strip())

# The demo writes no password into its device settings, whatever it was given.
demo_out = os.path.join(work, "demo-password")
r = subprocess.run([demo, "--scans", "1", "--channels", "1", "--out", demo_out, "--quiet",
                    "--database", "postgresql://127.0.0.1:1/mda", "--user", "mda", "--password",
                    SECRET], env=base_env, capture_output=True, text=True, timeout=600)
device = json.load(open(os.path.join(demo_out, "config", "demo.device"), encoding="utf-8"))
stored_pwd = [i["Value"] for i in device["DeviceSettings"] if i["Name"] == "DatabasePwd"]
leaked = [f for d, _, fs in os.walk(demo_out) for f in fs
          if SECRET.encode() in open(os.path.join(d, f), "rb").read()]
check(r.returncode != 0 and stored_pwd == [""] and not leaked and
      SECRET not in r.stdout + r.stderr,
      "the demo's device settings have an empty password, and nothing shows it (%s)" % leaked)
r = subprocess.run([demo, "--out", demo_out, "--database",
                    "postgresql://mda:%s@127.0.0.1:1/mda" % SECRET], env=base_env,
                   capture_output=True, text=True, timeout=600)
check(r.returncode == 2 and SECRET not in r.stdout + r.stderr,
      "the demo refuses a URL with a password without repeating it")
if url and user and password:
    device = json.load(open(os.path.join(work, "rec-pg", "config", "demo.device"),
                            encoding="utf-8"))
    check([i["Value"] for i in device["DeviceSettings"] if i["Name"] == "DatabasePwd"] == [""],
          "[postgresql] the demo recorded through the environment, its device settings hold "
          "no password")

# An archive appears whole or not at all.
export_dir = os.path.join(work, "export")
os.makedirs(export_dir)
measconfig = os.path.join(rec, "config", "demo.measconfig")
target = os.path.join(export_dir, "kept.measurement")
r = run(["export", measconfig, target])
kept_bytes = digest(target)
check(r.returncode == 0 and r.stdout.strip() == target, "export prints the archive it wrote")
config_doc = json.load(open(measconfig, encoding="utf-8"))
for item in config_doc["MeasurementConfigSettings"]:
    if item["Name"] == "ChannelTableFile":
        item["Value"] = os.path.join(work, "no-such.channel")
lacking = os.path.join(work, "lacking.measconfig")
json.dump(config_doc, open(lacking, "w", encoding="utf-8"), indent=4)
socket_path = os.path.join(work, "listening.sock")
listener = socket.socket(socket.AF_UNIX)
listener.bind(socket_path)
for args, what in [
    ([lacking, target], "a configuration naming a missing file, over an earlier archive"),
    ([measconfig, socket_path], "a socket, which no file replaces"),
    ([measconfig, "/proc/version"], "a file whose folder takes no new file"),
    ([measconfig, os.path.join(export_dir, "no", "such", "dir.measurement")],
     "a target in a folder that does not exist"),
    ([measconfig, export_dir], "a target that is a folder"),
] + ([([measconfig, FULL], "a full device")] if FULL else []):
    r = run(["export"] + args)
    check(r.returncode == 2 and len(r.stderr.splitlines()) == 1 and r.stdout == "" and
          sorted(os.listdir(export_dir)) == ["kept.measurement"] and
          digest(target) == kept_bytes,
          "export to %s exits 2 with a reason and leaves nothing behind (%s)" %
          (what, r.stderr.strip()))
# The archive's last bytes (its list of entries) are written by a close; a failure there must
# not leave a cut archive.
r = subprocess.run([mda, "export", measconfig, target], env=base_env, capture_output=True,
                   text=True, timeout=600, preexec_fn=bounded(os.path.getsize(target) - 10))
check(r.returncode == 2 and digest(target) == kept_bytes and
      sorted(os.listdir(export_dir)) == ["kept.measurement"],
      "export whose last bytes do not fit exits 2 and keeps the earlier archive (%s)"
      % r.stderr.strip())
if FULL:
    check("No space left on device" in run(["export", measconfig, FULL]).stderr,
          "export to a full device names the cause")
    with open(FULL, "w") as full:
        r = subprocess.run([mda, "export", measconfig, "-"], env=base_env, stdout=full,
                           stderr=subprocess.PIPE, text=True, timeout=600)
    check(r.returncode == 2 and "standard output" in r.stderr,
          "export - onto a full standard output exits 2 (%s)" % r.stderr.strip())
r = subprocess.run([mda, "export", measconfig, "-"], env=base_env, capture_output=True,
                   timeout=600)
import zipfile
with zipfile.ZipFile(io.BytesIO(r.stdout)) as streamed, zipfile.ZipFile(target) as written:
    same = ([(i.filename, streamed.read(i)) for i in streamed.infolist()] ==
            [(i.filename, written.read(i)) for i in written.infolist()])
check(r.returncode == 0 and same and sorted(os.listdir(export_dir)) == ["kept.measurement"],
      "export - streams the same archive to standard output and writes no file")

# An archive of many copied chunks arrives whole: a channel table with 300 kB of noise.
big_table = os.path.join(work, "big.channel")
table_doc = json.load(open(table_file, encoding="utf-8"))
table_doc["Noise"] = base64.b64encode(os.urandom(300000)).decode()
json.dump(table_doc, open(big_table, "w", encoding="utf-8"))
for item in config_doc["MeasurementConfigSettings"]:
    if item["Name"] == "ChannelTableFile":
        item["Value"] = big_table
json.dump(config_doc, open(os.path.join(work, "big.measconfig"), "w", encoding="utf-8"))
big_archive = os.path.join(export_dir, "big.measurement")
r = run(["export", os.path.join(work, "big.measconfig"), big_archive])
try:
    with zipfile.ZipFile(big_archive) as z:
        packed = [z.read(i) for i in z.infolist()]
except (OSError, zipfile.BadZipFile) as e:
    packed = [str(e)]
check(r.returncode == 0 and os.path.getsize(big_archive) > 200000 and
      open(big_table, "rb").read() in packed, "export of a 300 kB channel table packs it whole")

print("%d passed, %d failed" % (len(checks) - len(failures), len(failures)))
sys.exit(1 if failures else 0)
