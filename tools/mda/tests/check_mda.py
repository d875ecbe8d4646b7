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
    """Collects what a person sees in the report."""

    def __init__(self):
        super().__init__()
        self.tiles, self.counts, self.meas, self.violations, self.errors = [], [], 0, 0, 0
        self.limit_labels, self.history_rows, self.curves, self.log_axes = [], [], 0, 0
        self.links, self._text, self._row, self._in = [], None, None, None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        cls = a.get("class", "")
        if tag in ("script", "link", "img", "iframe"):
            self.links.append(tag)
        if tag == "div" and cls == "tile":
            self.tiles.append(int(a["data-index"]))
        if tag == "span" and cls == "counts":
            self._in = "counts"
        if tag == "circle" and cls == "meas":
            self.meas += 1
        if tag == "path" and cls == "violation":
            self.violations += 1
        if tag == "path" and cls == "error":
            self.errors += 1
        if tag == "text" and cls == "limitlabel":
            self._in = "limit"
        if tag == "svg":
            self.curves += 1
            self.log_axes += cls == "log"
        if tag == "table" and cls == "history":
            self._row = []
        if tag == "tr" and self._row is not None:
            self._row = []
        if tag == "td" and self._row is not None:
            self._row.append(cls)

    def handle_endtag(self, tag):
        if tag == "tr" and self._row:
            self.history_rows.append(self._row)
            self._row = []
        if tag == "table":
            self._row = None
        if tag in ("span", "text"):
            self._in = None

    def handle_data(self, data):
        if self._in == "counts":
            self.counts.append(data)
        if self._in == "limit":
            self.limit_labels.append(data)


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
    check(all(re.fullmatch(r"\d+ violations · \d+ errors", c) for c in p.counts)
          and len(p.counts) == CHANNELS, tag + "report: tiles carry their counts")
    check(p.meas > 0 and p.violations > 0 and p.errors > 0,
          tag + "report: points, violation marks and error marks (%d/%d/%d)"
          % (p.meas, p.violations, p.errors))
    check(p.limit_labels and all(re.fullmatch(r"(low|high) limit -?[0-9.e+-]+( \S+)?", l)
                                 for l in p.limit_labels),
          tag + "report: limit lines labelled with value and unit (%d)" % len(p.limit_labels))
    check(any(re.fullmatch(r"(low|high) limit -?[0-9.e+-]+ dB\S*", l) for l in p.limit_labels),
          tag + "report: some limit label carries a unit")
    check(p.log_axes > 0, tag + "report: error ratios on a log axis")
    check(len(p.history_rows) == CHANNELS and all(len(r) == SCANS for r in p.history_rows),
          tag + "report: status history of one cell per channel and scan")
    history_viol = sum(c == "st-viol" for row in p.history_rows for c in row)
    check(history_viol == len(violated),
          tag + "report: status cells of violation = channel-scan pairs with a violation (%d)"
          % len(violated))
    check(not p.links and "https://" not in text and
          "http://" not in text.replace('xmlns="http://www.w3.org/2000/svg"', ""),
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
    (["show", str(session), "--database", db_file, "--channels", "ch%1\x9b2J\x85"],
     "ch%1\\u009b2J\\u0085", "a channel table name"),
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
for args, what in [
    ([lacking, target], "a configuration naming a missing file, over an earlier archive"),
    ([measconfig, os.path.join(export_dir, "no", "such", "dir.measurement")],
     "a target in a folder that does not exist"),
    ([measconfig, export_dir], "a target that is a folder"),
] + ([([measconfig, "/dev/full"], "a full device")] if os.path.exists("/dev/full") else []):
    r = run(["export"] + args)
    check(r.returncode == 2 and len(r.stderr.splitlines()) == 1 and r.stdout == "" and
          sorted(os.listdir(export_dir)) == ["kept.measurement"] and
          digest(target) == kept_bytes,
          "export to %s exits 2 with a reason and leaves nothing behind (%s)" %
          (what, r.stderr.strip()))
if os.path.exists("/dev/full"):
    check("No space left on device" in run(["export", measconfig, "/dev/full"]).stderr,
          "export to a full device names the cause")
    with open("/dev/full", "w") as full:
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

print("%d passed, %d failed" % (len(checks) - len(failures), len(failures)))
sys.exit(1 if failures else 0)
