#!/usr/bin/env python3
"""End to end through the installed mda: a campaign recorded by the demo program, then every
subcommand checked with tools that are not the library (csv, sqlite3, html.parser, json).
Runs on SQLite always and on PostgreSQL when MDA_TEST_PG_URL/USER/PASSWORD are set.
Usage: check_mda.py CMAKE BUILD_DIR DEMO WORK_DIR TOOL_NAME"""
import csv
import html.parser
import io
import json
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile

cmake, build_dir, demo, work, tool_name = sys.argv[1:6]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
SCANS, CHANNELS = 8, 12
HEADER = ["session_id", "scan_id", "scan_time", "channel_id", "channel_name", "item_id",
          "item_name", "value", "unit", "stored_state", "result", "text"]
failures, checks = [], []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    checks.append(what)
    if not ok:
        failures.append(what)
    return ok


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


class ReportParser(html.parser.HTMLParser):
    """Collects what a person sees in the report: the page's script draws from its data."""

    def __init__(self):
        super().__init__()
        self.tiles, self.counts, self.history_rows, self.links = [], [], [], []
        self.data, self._in = None, None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        cls = a.get("class", "") or ""
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
    check(all(len(row) == len(HEADER) for row in body), tag + "csv: every row has 12 fields")
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
        csv_rows = [(int(r[1]), int(r[3]), int(r[5]), (r[7] + " " + r[8]) if r[8] else r[7])
                    for r in body]
        check(csv_rows == [(s, c, i, v or "") for _, s, c, i, v in stored_rows],
              tag + "csv: scan, channel, item and value as stored, in scan-channel order")
    results = dict(mem.execute("select result, count(*) from v group by result").fetchall())
    check(set(results) <= {"within", "violation", "error", "not judged"} and
          results.get("violation", 0) > 0 and results.get("error", 0) > 0,
          tag + "csv: judged results in words, with violations and errors: %s" % results)
    (textless,) = mem.execute("select count(*) from v where result in ('violation','error') "
                              "and text = ''").fetchone()
    check(textless == 0, tag + "csv: every violation and error has its text")
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
    check(all(re.fullmatch(r"(1 violation|\d+ violations) · (1 error|\d+ errors)", c)
              and not re.match(r"1 violations|.*· 1 errors", c) for c in p.counts)
          and len(p.counts) == CHANNELS, tag + "report: tiles carry their counts")
    kinds = "".join(c["k"] for c in p.charts())
    check(kinds.count("0") > 0 and kinds.count("1") > 0 and kinds.count("2") > 0,
          tag + "report: points, violations and errors in the chart data (%d/%d/%d)"
          % (kinds.count("0"), kinds.count("1"), kinds.count("2")))
    limited = [c for c in p.charts() if c["lo"] is not None or c["hi"] is not None]
    check(limited and any(c["u"].startswith("dB") for c in limited),
          tag + "report: limits to draw, some with a unit (%d)" % len(limited))
    check(any(c["log"] for c in p.charts()), tag + "report: error ratios on a log axis")
    check(len(p.history_rows) == CHANNELS and all(len(r) == SCANS for r in p.history_rows),
          tag + "report: status history of one cell per channel and scan")
    history_viol = sum(r.count("3") for r in p.history_rows)
    check(history_viol == len(violated),
          tag + "report: status cells of violation = channel-scan pairs with a violation (%d)"
          % len(violated))
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

# Names that need quoting survive the CSV.
for item in doc["ChannelTableData"][1]["ChannelItemData"]:
    if item["Id"] == "Channel Name":
        item["Value"] = 'E05, "PAL" B/G\u00b5'
named = os.path.join(work, "named.channel")
json.dump(doc, open(named, "w", encoding="utf-8"), indent=4)
out_named = os.path.join(work, "named.csv")
r = run(["csv", str(session), "--database", db_file, "--channels", named, "-o", out_named])
with open(out_named, newline="", encoding="utf-8") as f:
    names = {row[4] for row in csv.reader(f)}
check(r.returncode == 0 and 'E05, "PAL" B/G\u00b5' in names,
      "a channel name with comma, quotes and a non-ASCII letter reads back from the CSV")
check('"E05, ""PAL"" B/G\u00b5"'.encode() in open(out_named, "rb").read(),
      "that field is quoted with its quotes doubled")

# Rows whose channel lies beyond the table, or whose scan has no scan row, are written too.
orphan_db = os.path.join(work, "orphans.sqlite")
shutil.copy(db_file, orphan_db)
con = sqlite3.connect(orphan_db)
con.execute("pragma foreign_keys=off")
con.execute("insert into measurement (session_id, scan_id, channel_id, measurement_item, state, "
            "value) values (?, 9999, 0, 0, 1, '1')", (session,))
con.execute("insert into measurement (session_id, scan_id, channel_id, measurement_item, state, "
            "value) values (?, 1, 500, 0, 1, '1')", (session,))
con.commit()
con.close()
out_orphans = os.path.join(work, "orphans.csv")
r = run(["csv", str(session), "--database", orphan_db, "-o", out_orphans])
with open(out_orphans, newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f))[1:]
check(r.returncode == 0 and len(rows) == stored + 2, "orphan rows are written, never dropped")
check(any(x[1] == "9999" and x[2] == "" for x in rows) and
      any(x[3] == "500" and x[4] == "" for x in rows),
      "an orphan row has an empty scan time or channel name")

# A session is named by its number or by its unique id alike.
uid = [l.split("\t")[1] for l in run(["sessions", "--database", db_file]).stdout.splitlines()[1:]
       if l.split("\t")[0] == str(session)][0]
by_uid = run(["show", uid, "--database", db_file])
check(by_uid.returncode == 0 and by_uid.stdout == show().stdout,
      "show by the unique id prints what show by the number prints")


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
if os.geteuid() == 0 and shutil.which("runuser"):
    ro_dir = tempfile.mkdtemp(prefix="mda-ro-")
    ro_db = os.path.join(ro_dir, "station.sqlite")
    shutil.copy(db_file, ro_db)
    os.chmod(ro_db, 0o444)
    os.chmod(ro_dir, 0o555)
    r = subprocess.run(["runuser", "-u", "nobody", "--", mda, "show", str(session), "--database",
                        ro_db], env=base_env, capture_output=True, text=True, timeout=120)
    check(r.returncode == 0 and r.stdout == show().stdout,
          "show reads a database in a folder its user may not write (%s)" % r.stderr.strip())
    os.chmod(ro_dir, 0o755)
    shutil.rmtree(ro_dir)
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
for command in ["sessions", "show", "report", "csv", "export", "import"] + (
        ["check"] if "check" in run(["--help"]).stdout else []):
    r = run([command, "--help"])
    check(r.returncode == 0 and ("mda " + command) in r.stdout, "mda %s --help" % command)

# --limits judges against other limits: a limit table whose ranges collapse to their low
# value finds more violations than the session's own.
strict_doc = json.load(open(os.path.join(rec, "config", "demo.limit"), encoding="utf-8"))
for item in strict_doc["ComparativeValues"]:
    if item["CompareType"] == 3:
        item["HighValue"] = item["LowValue"]
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
else:
    print("skipped PostgreSQL: MDA_TEST_PG_URL/USER/PASSWORD not set")

print("%d passed, %d failed" % (len(checks) - len(failures), len(failures)))
sys.exit(1 if failures else 0)
