#!/usr/bin/env python3
"""mda copy end to end: sessions recorded by the demo program (and one made hostile with
sqlite3) copied between SQLite files and a PostgreSQL server, checked with tools that are not
the library: sqlite3 and hashlib recompute every session's content digest, psql lists the
server's sessions, csv compares the exports. Killed at random moments it still ends with every
session on the target exactly once; four stations copying at the same time lose nothing.
PostgreSQL parts run when MDA_TEST_PG_URL/USER/PASSWORD are set.
Usage: check_copy.py MDA DEMO WORK_DIR"""
import base64
import csv
import glob
import hashlib
import os
import random
import re
import shutil
import signal
import sqlite3
import struct
import subprocess
import sys
import time

from terminal import stderr_on_terminal
import urllib.parse

mda, demo, work = sys.argv[1:4]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_DATA_HOME=os.path.join(work, "xdg"))
for k in ("MDA_DATABASE_PASSWORD", "MDA_TO_DATABASE_PASSWORD", "PGPASSWORD"):
    env.pop(k, None)
url, user, password = (os.environ.get(k) for k in
                       ("MDA_TEST_PG_URL", "MDA_TEST_PG_USER", "MDA_TEST_PG_PASSWORD"))
has_pg = bool(url and user and password)


def run(args, extra_env=None):
    return subprocess.run([mda] + args, env=dict(env, **(extra_env or {})), capture_output=True,
                          text=True, timeout=600)


def record(db, scans, channels, seed):
    out = os.path.join(work, "rec-%s-%d" % (os.path.basename(db), seed))
    r = subprocess.run([demo, "--scans", str(scans), "--channels", str(channels), "--seed",
                        str(seed), "--out", out, "--quiet", "--database", db], env=env,
                       capture_output=True, text=True, timeout=600)
    m = re.search(r"session (\d+): (\d+) values stored", r.stdout)
    if not check(r.returncode == 0 and m, "the demo records a session into %s" % db):
        print(r.stdout, r.stderr)
        sys.exit(1)
    return int(m.group(1))


# ------------------------------------------------------------- the digest, independently made
def number(n):
    return struct.pack(">q", n)


def text(t):
    b = (t or "").encode("utf-8")
    return number(len(b)) + b


def file_bytes(con, table, key):
    try:
        key = int(key or "0")
    except ValueError:
        return b""
    row = con.execute("SELECT file FROM %s WHERE id = ?" % table, (key,)).fetchone()
    return base64.b64decode(row[0]) if row and row[0] else b""


def sqlite_digests(path):
    """unique id -> list of digests of the sessions holding it."""
    con = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    result = {}
    for sid, uid in con.execute("SELECT id, unique_id FROM session ORDER BY id").fetchall():
        s = con.execute("SELECT unique_id, description, first_run, last_run, site, test_point, "
                        "name, e_number, t_number, e_mail, hw_model, firmware_version, "
                        "software_version, serial_nr, owner, scan_count, channel_file_id, "
                        "limit_file_id FROM session WHERE id = ?", (sid,)).fetchone()
        h = hashlib.sha256(b"mda-session-content-1")
        h.update(b"".join(text(t) for t in s[:15]) + number(s[15]))
        for blob in (file_bytes(con, "exported_channel_settings", s[16]),
                     file_bytes(con, "exported_limit_values", s[17])):
            h.update(number(len(blob)) + blob)
        scans = con.execute("SELECT id, state, date_time FROM scan WHERE session_id = ? "
                            "ORDER BY id", (sid,)).fetchall()
        for scan_id, state, when in scans:
            h.update(number(scan_id) + number(state) + text(when))
        h.update(number(len(scans)))
        rows = 0
        for r in con.execute("SELECT scan_id, channel_id, measurement_item, state, value, "
                             "error_description FROM measurement WHERE session_id = ? "
                             "ORDER BY scan_id, channel_id, id", (sid,)):
            rows += 1
            h.update(number(r[0]) + number(r[1]) + number(r[2]) + number(r[3]) + text(r[4]) +
                     text(r[5]))
        h.update(number(rows))
        result.setdefault(uid, []).append(h.hexdigest())
    con.close()
    return result


def csv_without_session_id(path):
    with open(path, newline="", encoding="utf-8") as f:
        return [row[1:] for row in csv.reader(f)]


def export_csv(db, session, name, extra=None, pg_env=None):
    out = os.path.join(work, name + ".csv")
    r = run(["csv", session, "--database", db, "-o", out] + (extra or []), pg_env)
    check(r.returncode == 0, "csv of %s exports (%s)" % (name, r.stderr.strip()))
    return csv_without_session_id(out) if r.returncode == 0 else None


LINE = re.compile(r"^(copied|already there|refused|failed) +(\S+) (\d+)(?: -> (\d+): (\d+) values, "
                  r"[0-9.]+ s|: (.*))$")


def outcomes(stdout):
    return [LINE.match(line).groups() if LINE.match(line) else ("?", line)
            for line in stdout.splitlines()]


# ------------------------------------------------------------------ a station and its sessions
station = os.path.join(work, "station.sqlite")
demo_session = record(station, 8, 12, 5)
hostile_session = record(station, 4, 6, 6)
con = sqlite3.connect(station)
con.execute("PRAGMA foreign_keys = ON")
ids = [r[0] for r in con.execute("SELECT id FROM measurement WHERE session_id = ? ORDER BY id",
                                 (hostile_session,))]
hostile = [("1,5 \"dB\"", "a,b;\"c\"\r\nd"), ("–12.5 dBµV ☃", "%n %s %1 日本"),
           ("=SUM(A1) \\N \\.", "C:\\temp\\x\t"), ("", "Lock failed"), ("nan dBmV", None)]
for i, (value, err) in enumerate(hostile):
    con.execute("UPDATE measurement SET value = ?, error_description = ?, state = ? WHERE id = ?",
                (value, err, 2 if err else 3, ids[i]))
# Not measured: as a row is created; a channel far beyond the table.
con.execute("UPDATE measurement SET measurement_item = -1, state = -1, value = NULL, "
            "error_description = NULL WHERE id IN (?, ?)", (ids[5], ids[6]))
con.execute("UPDATE measurement SET channel_id = 500 WHERE id = ?", (ids[7],))
con.execute("UPDATE session SET description = 'Kabel, \"Süd\" %n' WHERE id = ?",
            (hostile_session,))
con.commit()
con.close()
source_digests = sqlite_digests(station)
uids = sorted(source_digests)
check(len(uids) == 2 and all(len(v) == 1 for v in source_digests.values()),
      "the station holds two sessions with their own unique ids")

# ------------------------------------------------------------------------- SQLite to SQLite
central = os.path.join(work, "central.sqlite")
r = run(["copy", "--all", "--verify", "--from", station, "--to", central])
res = outcomes(r.stdout)
check(r.returncode == 0 and [x[0] for x in res] == ["copied", "copied"],
      "copy --all into a new file: two sessions copied, exit 0 (%s%s)" % (r.stdout, r.stderr))
check(sqlite_digests(central) == source_digests,
      "every copied session has the source's digest, recomputed from the rows")
r = run(["copy", "--all", "--from", station, "--to", central])
check(r.returncode == 0 and [x[0] for x in outcomes(r.stdout)] == ["already there"] * 2,
      "a second copy finds both already there (%s)" % r.stdout.strip())
check(sqlite_digests(central) == source_digests, "and stores nothing twice")
# On a terminal the copy counts the sessions as it goes and leaves no progress line behind.
code, seen = stderr_on_terminal([mda, "copy", "--all", "--from", station, "--to", central], env)
counted = sorted(set(re.findall(r"session \d+ \((\d+) of (\d+)\)", seen.decode("utf-8", "replace"))))
check(code == 0 and counted == [("1", "2"), ("2", "2")] and seen.endswith(b"\r\033[K"),
      "copy on a terminal counts the sessions, 1 of 2 and 2 of 2, and erases its line (%s)" % counted)
for uid in uids:
    src = export_csv(station, uid, "src-" + uid)
    dst = export_csv(central, uid, "dst-" + uid)
    check(src is not None and src == dst and len(src) > 1,
          "csv of the copy equals the source's apart from the session id (%s)" % uid)

# --verify reads each copy back before keeping it: a target that changes what it stores keeps
# nothing of it; without --verify the copy stands as it was stored.
altering = os.path.join(work, "altering.sqlite")
shutil.copy(central, altering)
con = sqlite3.connect(altering)
for table in ("measurement", "scan", "session"):
    con.execute("DELETE FROM " + table)
con.execute("CREATE TRIGGER alter_value AFTER INSERT ON measurement BEGIN UPDATE measurement "
            "SET value = 'altered' WHERE id = NEW.id; END")
con.commit()
con.close()
r = run(["copy", "--all", "--verify", "--from", station, "--to", altering])
res = outcomes(r.stdout)
check(r.returncode == 2 and [x[0] for x in res] == ["failed", "failed"] and
      all("reads back as digest" in x[-1] for x in res) and sqlite_digests(altering) == {},
      "copy --verify into a target that alters values keeps nothing (%s)" % r.stdout.strip())
r = run(["copy", "--all", "--from", station, "--to", altering])
check(r.returncode == 0 and [x[0] for x in outcomes(r.stdout)] == ["copied", "copied"],
      "without --verify the altered copy is kept (%s)" % r.stdout.strip())

# Other content under the same unique id is refused with both digests; nothing changes.
clash = os.path.join(work, "clash.sqlite")
shutil.copy(central, clash)
con = sqlite3.connect(clash)
con.execute("UPDATE measurement SET value = 'changed' WHERE id = (SELECT MAX(id) FROM "
            "measurement)")
con.commit()
con.close()
clash_digests = sqlite_digests(clash)
changed = [u for u in uids if clash_digests[u] != source_digests[u]]
r = run(["copy", "--all", "--from", station, "--to", clash])
res = {x[1]: x for x in outcomes(r.stdout)}
check(r.returncode == 2 and len(changed) == 1 and res[changed[0]][0] == "refused" and
      ("source digest %s, target digest %s" % (source_digests[changed[0]][0],
                                                clash_digests[changed[0]][0])) in res[changed[0]][5],
      "other content under the same unique id is refused naming both digests, exit 2 (%s)" %
      r.stdout.strip())
check(sqlite_digests(clash) == clash_digests, "the refused session is left as it was")

# A stored unique id that would act on the terminal shows escaped, its session on one line.
evil = "id\n\x1b[2J"
for path, origin in (("evil-src.sqlite", station), ("evil-dst.sqlite", clash)):
    shutil.copy(origin, os.path.join(work, path))
    con = sqlite3.connect(os.path.join(work, path))
    con.execute("UPDATE session SET unique_id = ? WHERE unique_id = ?", (evil, changed[0]))
    con.commit()
    con.close()
r = run(["copy", "--all", "--from", os.path.join(work, "evil-src.sqlite"), "--to",
         os.path.join(work, "evil-dst.sqlite")])
shown = "id\\x0a\\x1b[2J"
check(r.returncode == 2 and len(r.stdout.splitlines()) == 2 and
      any(x[:2] == ("refused", shown) and "unique id %s with other" % shown in x[5]
          for x in outcomes(r.stdout)), "a hostile unique id shows escaped (%s)" % r.stdout)

# A damaged source fails with its reason; the target gains nothing.
damaged = os.path.join(work, "damaged.sqlite")
big = os.path.join(work, "big.sqlite")
record(big, 40, 60, 9)
shutil.copy(big, damaged)
size = os.path.getsize(damaged)
with open(damaged, "r+b") as f:
    for page in range(size // 4096 // 2, size // 4096 - 1, 3):
        f.seek(page * 4096)
        f.write(b"\xff" * 4096)
target = os.path.join(work, "from-damaged.sqlite")
r = run(["copy", "--all", "--from", damaged, "--to", target])
check(r.returncode == 2 and "copied" not in r.stdout and
      ("malformed" in r.stdout + r.stderr or "corrupt" in r.stdout + r.stderr),
      "a damaged source fails with its reason (%s%s)" % (r.stdout.strip(), r.stderr.strip()))
check(not os.path.exists(target) or sqlite_digests(target) == {},
      "and the target holds no session of it")

# A wrong call is refused with its reason before the target is created.
absent, fresh, garbage = (os.path.join(work, n) for n in ("absent.sqlite", "fresh.sqlite",
                                                           "garbage.sqlite"))
with open(garbage, "wb") as f:
    f.write(b"no database " * 400)
one_of = "name sessions, or give --all or --since (one of them)"
both = "--from and --to name the two databases"
for args, reason in ((["--from", station, "--to", fresh], one_of),
                     (["1", "--all", "--from", station, "--to", fresh], one_of),
                     (["--all", "--since", "2026-01-01", "--from", station, "--to", fresh], one_of),
                     (["--all", "--from", station], both), (["--all", "--to", fresh], both),
                     (["--all", "--from", absent, "--to", fresh], "no database file '%s'" % absent),
                     (["--all", "--from", garbage, "--to", fresh],
                      "cannot open the source '%s': " % garbage)):
    r = run(["copy"] + args)
    check(r.returncode == 2 and r.stdout == "" and r.stderr.startswith("mda copy: " + reason) and
          (r.stderr.endswith(": " + reason + "\n") or reason.endswith(": ")) and
          not os.path.exists(fresh), "copy %s: %s (%s)" % (" ".join(args), reason, r.stderr))

# ------------------------------------------------------------------------------ PostgreSQL
psql = None
for d in sorted(glob.glob("/usr/lib/postgresql/*/bin")):
    if os.access(os.path.join(d, "psql"), os.X_OK):
        psql = os.path.join(d, "psql")
pg_env = {"MDA_DATABASE_PASSWORD": password or "", "MDA_TO_DATABASE_PASSWORD": password or ""}


def pg_database(name):
    """A fresh database on the test server; its URL."""
    parsed = urllib.parse.urlparse(url)
    admin = parsed._replace(path="/postgres")
    subprocess.run([psql, "-q", "-d", urllib.parse.urlunparse(admin._replace(
        netloc="%s@%s" % (user, parsed.netloc))), "-c", "DROP DATABASE IF EXISTS %s" % name,
        "-c", "CREATE DATABASE %s" % name], env=dict(env, PGPASSWORD=password), check=True,
        capture_output=True)
    return urllib.parse.urlunparse(parsed._replace(path="/" + name))


def pg_unique_ids(db):
    parsed = urllib.parse.urlparse(db)
    r = subprocess.run([psql, "-At", "-d", urllib.parse.urlunparse(parsed._replace(
        netloc="%s@%s" % (user, parsed.netloc))), "-c",
        "SELECT unique_id FROM session ORDER BY id"], env=dict(env, PGPASSWORD=password),
        capture_output=True, text=True, check=True)
    return r.stdout.split()


def pg_digests(db, name):
    """The server's sessions copied back into a fresh file, digested there."""
    back = os.path.join(work, name + ".sqlite")
    if os.path.exists(back):
        os.remove(back)
    r = run(["copy", "--all", "--from", db, "--user", user, "--to", back], pg_env)
    check(r.returncode == 0, "the server's sessions copy back into a file (%s)" % name)
    return sqlite_digests(back)


if has_pg and psql:
    server = pg_database("mda_copy_central")
    r = run(["copy", "--all", "--verify", "--from", station, "--to", server, "--to-user", user],
            pg_env)
    check(r.returncode == 0 and [x[0] for x in outcomes(r.stdout)] == ["copied"] * 2,
          "SQLite to PostgreSQL: both sessions copied (%s%s)" % (r.stdout, r.stderr))
    r = run(["copy", "--all", "--from", station, "--to", server, "--to-user", user], pg_env)
    check(r.returncode == 0 and [x[0] for x in outcomes(r.stdout)] == ["already there"] * 2,
          "SQLite to PostgreSQL again: both already there")
    check(sorted(pg_unique_ids(server)) == uids, "the server holds each unique id once")
    check(pg_digests(server, "back") == source_digests,
          "SQLite to PostgreSQL to SQLite keeps every digest")
    for uid in uids:
        src = export_csv(station, uid, "pg-src-" + uid)
        mid = export_csv(server, uid, "pg-mid-" + uid, ["--user", user], pg_env)
        dst = export_csv(os.path.join(work, "back.sqlite"), uid, "pg-dst-" + uid)
        check(src is not None and src == mid == dst,
              "csv equal through the server and back apart from the session id (%s)" % uid)
    r = run(["copy", "--all", "--from", station, "--to", server, "--to-user", user],
            {"MDA_TO_DATABASE_PASSWORD": "Wr0ngSecret"})
    check(r.returncode == 2 and "Wr0ngSecret" not in r.stdout + r.stderr,
          "a wrong server password fails without showing it (%s)" % r.stderr.strip())
elif has_pg:
    check(False, "psql is there for checking the server")

# ------------------------------------------------- killed at random moments, then run again
stations = [os.path.join(work, "station%d.sqlite" % i) for i in range(4)]
for i, path in enumerate(stations):
    for k in range(2):
        record(path, 30, 40, 100 + 10 * i + k)
kill_source = stations[0]
kill_digests = sqlite_digests(kill_source)
def fresh(name):
    if has_pg and psql:
        return pg_database(name), ["--to-user", user]
    return os.path.join(work, name + ".sqlite"), []


kill_target, kill_args = fresh("mda_copy_kill")
rng = random.Random(20261207)
# How long a whole run takes on a target of the same kind, so that the kills land all over it.
probe, probe_args = fresh("mda_copy_probe")
start = time.monotonic()
run(["copy", "--all", "--from", kill_source, "--to", probe] + probe_args, pg_env)
whole = max(time.monotonic() - start, 0.2)
kills = 0
# A run that ends before its kill counts for nothing; enough attempts make the fifteen kills
# certain however fast the machine runs the copies.
for attempt in range(400):
    if kills == 15:
        break
    p = subprocess.Popen([mda, "copy", "--all", "--from", kill_source, "--to", kill_target] +
                         kill_args, env=dict(env, **pg_env), stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
    time.sleep(rng.uniform(0, 0.8 * whole))
    if p.poll() is None:
        p.send_signal(signal.SIGKILL)
        kills += 1
    p.wait()
r = run(["copy", "--all", "--from", kill_source, "--to", kill_target] + kill_args, pg_env)
check(kills == 15 and r.returncode == 0 and
      all(x[0] in ("copied", "already there") for x in outcomes(r.stdout)),
      "after %d kills a last run ends with every session on the target (%s)" %
      (kills, r.stdout.strip()))
if has_pg and psql:
    check(sorted(pg_unique_ids(kill_target)) == sorted(kill_digests),
          "no unique id is stored twice on the server")
    check(pg_digests(kill_target, "kill-back") == kill_digests,
          "every session on the server has the source's digest")
else:
    check(sqlite_digests(kill_target) == kill_digests,
          "every session is on the target once, with the source's digest")

# ------------------------------------------------ four stations at once into one database
def digests_of(db, name):
    if has_pg and psql:
        check(sorted(pg_unique_ids(db)) == sorted(set(pg_unique_ids(db))),
              "no unique id is stored twice (%s)" % name)
        return pg_digests(db, name + "-back")
    return sqlite_digests(db)


def at_once(sources, db, args):
    procs = [subprocess.Popen([mda, "copy", "--all", "--from", source, "--to", db] + args,
                              env=dict(env, **pg_env), stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True) for source in sources]
    return [(p.wait(timeout=600), p.stdout.read(), p.stderr.read()) for p in procs]


expected = {}
for path in stations:
    expected.update(sqlite_digests(path))
shared, shared_args = fresh("mda_copy_shared")
results = at_once(stations, shared, shared_args)
check(all(rc == 0 for rc, _, _ in results),
      "four stations copying their sessions at once all succeed (%s)" %
      [(rc, err.strip()) for rc, _, err in results if rc != 0])
check(digests_of(shared, "shared") == expected,
      "every station's sessions are there once, nothing lost or changed")

# The same sessions from four processes into one database: each stored once.
same, same_args = fresh("mda_copy_same")
results = at_once([stations[1]] * 4, same, same_args)
words = sorted(x[0] for _, out, _ in results for x in outcomes(out))
check(all(rc == 0 for rc, _, _ in results) and words == ["already there"] * 6 + ["copied"] * 2,
      "four copies of the same two sessions at once: two copied, six already there (%s)" %
      words)
check(digests_of(same, "same") == sqlite_digests(stations[1]), "and each is stored once")

# --since chooses by the first run; a date after every session chooses none.
r = run(["copy", "--since", "2999-01-01", "--from", station, "--to", central])
check(r.returncode == 0 and r.stdout == "", "--since after every session copies nothing, exit 0")
latest = max(x[0] for x in sqlite3.connect(station).execute("SELECT first_run FROM session"))
r = run(["copy", "--since", latest, "--from", station, "--to", os.path.join(work, "since.sqlite")])
check(r.returncode == 0 and len(outcomes(r.stdout)) == sqlite3.connect(station).execute(
    "SELECT COUNT(*) FROM session WHERE first_run = ?", (latest,)).fetchone()[0] > 0,
      "--since %s chooses the sessions first run at that very second" % latest)
r = run(["copy", "--since", "yesterday", "--from", station, "--to", central])
check(r.returncode == 2 and "--since takes yyyy-MM-dd" in r.stderr, "--since refuses a non-date")

# Sessions named by number and by unique id, each copied once; a name the source lacks fails
# alone.
picked = os.path.join(work, "picked.sqlite")
(first_id,) = sqlite3.connect(station).execute("SELECT id FROM session WHERE unique_id = ?",
                                               (uids[0],)).fetchone()
r = run(["copy", str(first_id), uids[1], uids[1], "no-such", "--from", station, "--to", picked])
res = outcomes(r.stdout)
check(r.returncode == 2 and res[0][0] == "?" and
      re.fullmatch(r"failed +no-such: the source has no such session", res[0][1]) and
      [x[:2] for x in res[1:]] == [("copied", uids[0]), ("copied", uids[1])],
      "copy by number and by unique id, each once; an unknown name fails alone (%s)" % r.stdout)
check(sqlite_digests(picked) == source_digests, "the named sessions are copied whole")

print("%d failed" % len(failures))
sys.exit(1 if failures else 0)
