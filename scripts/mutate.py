#!/usr/bin/env python3
"""Mutation testing: does the test suite notice a one-line fault?

Picks single-line mutation sites in src/ with a seed, spread over the subsystems in proportion to
how many sites each has; for each site it writes the mutated line, rebuilds the tests of that
subsystem and of every subsystem above it (incrementally), runs them, and restores the file.
A mutant is caught when a test fails, crashes, times out or crosses the memory bound (a few
times what the program needed unmutated: a mutant that loops allocating would take the machine's
memory long before the timeout), survives when every test passes, and does not count when it does
not compile. Known equivalent mutants (no behaviour change) are listed in
scripts/mutate-equivalent.txt and left out of the score.

Run through scripts/mutate, which installs what is missing and starts a PostgreSQL cluster.
"""
import argparse
import contextlib
import fcntl
import json
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SUBSYSTEMS = ["platform", "vocabulary", "config", "channels", "database", "results", "exchange",
              "tools/mda"]
ROOT = Path(__file__).resolve().parent.parent
# The tool has no test program of its own: its tests are ctest scripts that drive the built
# (and installed) tool; they need the tool, the demo recorder and the library built.
TOOL = "tools/mda"
TOOL_TESTS = ["MdaTool", "MdaCopy", "MdaCsvPandas", "MdaReportBrowser"]
TOOL_BUILD = ["MainDataAccess", "mda", "mda_demo"]
CTEST_TIMEOUT = 900
# Chromium reserves far more address space than it uses: a bound on it would stop the browser,
# not a mutant.
UNBOUNDED = {"ctest:MdaReportBrowser"}


def source_folder(sub):
    return ROOT / sub if sub == TOOL else ROOT / "src" / sub

# Each operator: (name, pattern on the code with string literals masked, replacement).
OPERATORS = [
    ("<= to <", re.compile(r" <= "), " < "),
    (">= to >", re.compile(r" >= "), " > "),
    ("< to <=", re.compile(r" < "), " <= "),
    ("> to >=", re.compile(r" > "), " >= "),
    ("== to !=", re.compile(r" == "), " != "),
    ("!= to ==", re.compile(r" != "), " == "),
    ("&& to ||", re.compile(r" && "), " || "),
    ("|| to &&", re.compile(r" \|\| "), " && "),
    ("true to false", re.compile(r"\btrue\b"), "false"),
    ("false to true", re.compile(r"\bfalse\b"), "true"),
    ("+ to -", re.compile(r" \+ "), " - "),
    ("- to +", re.compile(r" - "), " + "),
    ("constant + 1", re.compile(r"(?<![\w.])(\d+)(?![\w.])"), None),
    ("negate condition", re.compile(r"\b(if|while) \((.*)\)(\s*\{?\s*)$"), None),
    ("delete statement", re.compile(r"^(\s*)(?!return\b|break\b|continue\b|case\b|default\b)"
                                    r"[A-Za-z_][\w:.\->\[\]]*(\(.*\)|\s*[-+*/|&]?=\s*.*);\s*$"), None),
]

RAW_OPEN_RE = re.compile(r'\bR"([^()\\ ]{0,16})\(')
STRING_RE = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'')


def mask_strings(line):
    """The line with the inside of string and character literals blanked, same length."""
    return STRING_RE.sub(lambda m: m.group(0)[0] + "_" * (len(m.group(0)) - 2) + m.group(0)[-1], line)


def candidate_lines(path):
    """(line index, text) of the lines worth mutating: code, not comments or preprocessor."""
    in_block_comment = False
    raw_end = None
    for index, line in enumerate(path.read_text(encoding="utf-8").split("\n")):
        stripped = line.strip()
        # The text of a raw string (the report's style sheet and script) is data to the C++
        # operators: skipped up to the line that closes it.
        if raw_end is not None:
            if raw_end in line:
                raw_end = None
            continue
        opened = RAW_OPEN_RE.search(line)
        if opened and (")" + opened.group(1) + '"') not in line[opened.end():]:
            raw_end = ")" + opened.group(1) + '"'
            continue
        if in_block_comment:
            if "*/" in stripped:
                in_block_comment = False
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith("//") or stripped.startswith("#"):
            continue
        if "static_assert" in stripped or "Q_ASSERT" in stripped:
            continue
        yield index, line


def mutations_of_line(line):
    """Every (operator name, mutated line) one operator makes of the line."""
    masked = mask_strings(line)
    cut = masked.find("//")
    code = masked if cut < 0 else masked[:cut]
    result = []
    for name, pattern, replacement in OPERATORS:
        if name == "negate condition":
            m = pattern.search(code)
            if m:
                start, end = m.span(2)
                result.append((name, line[:start] + "!(" + line[start:end] + ")" + line[end:]))
            continue
        if name == "delete statement":
            if pattern.match(code) and not code.rstrip().endswith("{"):
                result.append((name, re.match(r"\s*", line).group(0) + ";"))
            continue
        if name in ("+ to -", "- to +") and '"' in code:
            continue  # text concatenation: the mutant would not compile
        for m in pattern.finditer(code):
            start, end = m.span()
            if name == "constant + 1":
                new = str(int(m.group(1)) + 1)
            else:
                new = replacement
            result.append((name, line[:start] + new + line[end:]))
    return result


def all_sites(subsystems):
    sites = {}
    for sub in subsystems:
        rows = []
        for path in sorted(source_folder(sub).glob("*.cpp")):
            for index, line in candidate_lines(path):
                for name, mutated in mutations_of_line(line):
                    rows.append({"subsystem": sub, "file": str(path.relative_to(ROOT)),
                                 "line": index + 1, "operator": name,
                                 "original": line, "mutated": mutated})
        sites[sub] = rows
    return sites


def choose(sites, count, seed, at_least=1):
    """count sites, spread over the subsystems in proportion to their number of sites; a small
    subsystem gets at_least sites (or all it has), so that its score rests on more than a few."""
    rng = random.Random(seed)
    total = sum(len(rows) for rows in sites.values())
    chosen = []
    for sub, rows in sites.items():
        if not rows:
            continue
        share = max(at_least, round(count * len(rows) / total))
        chosen.extend(rng.sample(rows, min(share, len(rows))))
    rng.shuffle(chosen)
    return chosen


def equivalent_keys():
    path = ROOT / "scripts" / "mutate-equivalent.txt"
    keys = set()
    if path.exists():
        for line in path.read_text(encoding="utf-8").splitlines():
            if line.strip() and not line.startswith("#"):
                keys.add(line.rstrip("\n"))
    return keys


def site_key(site):
    return "%s | %s | %s" % (site["file"], site["original"].strip(), site["mutated"].strip())


@contextlib.contextmanager
def machine_lock(path):
    """Builds and test runs of other work on this machine wait for ours, and ours for theirs."""
    if not path:
        yield
        return
    with open(path, "a") as handle:
        fcntl.flock(handle, fcntl.LOCK_EX)
        try:
            yield
        finally:
            fcntl.flock(handle, fcntl.LOCK_UN)


def stop_on_signal(signum, _frame):
    raise KeyboardInterrupt("signal %d" % signum)


# The bound of a test program's address space: this many times its peak in the unmutated run,
# never below the floor (a short program's peak may be read before it has grown); the fallback
# when there is no baseline peak.
MEMORY_FACTOR = 4
MEMORY_FLOOR = 2 << 30
MEMORY_FALLBACK = 4 << 30
POLL_SECONDS = 0.1


def limits(memory):
    """The limits a child starts with: no core file, and at most memory bytes of address space
    (the PostgreSQL servers a test starts inherit it too, and stay far below it)."""
    def apply():
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
        if memory:
            resource.setrlimit(resource.RLIMIT_AS, (memory, memory))
    return apply


def peak_of(pid):
    """The peak address space of a running process in bytes (VmPeak only grows), 0 when gone."""
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith("VmPeak:"):
                    return int(line.split()[1]) * 1024
    except (OSError, ValueError, IndexError):
        pass
    return 0


def run(cmd, timeout=None, env=None, memory=None):
    """Runs cmd in a process group of its own, so that a timeout or an interruption ends the
    compilers and tests it started too. Returns (exit code or None on timeout, output, the
    highest peak address space seen while it ran)."""
    process = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env,
                               start_new_session=True, preexec_fn=limits(memory))
    deadline = None if timeout is None else time.monotonic() + timeout
    peak = 0
    try:
        while True:
            # Polled, so that the peak is seen: /proc forgets it when the process ends.
            peak = max(peak, peak_of(process.pid))
            if deadline is not None and time.monotonic() >= deadline:
                os.killpg(process.pid, signal.SIGKILL)
                process.communicate()
                return None, "timeout", peak
            try:
                # A later call returns the whole output, also what came before a timeout.
                out, _ = process.communicate(timeout=POLL_SECONDS)
                break
            except subprocess.TimeoutExpired:
                continue
        return process.returncode, out.decode(errors="replace"), peak
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise


def out_of_memory(code, out, peak, memory):
    """Whether a program failed at the memory bound: an allocation refused is a std::bad_alloc
    (uncaught: SIGABRT; in a test body: a failure GoogleTest reports) or a C library's "out of
    memory"; a death by signal with the address space seen near the bound counts too. Any other
    failure or crash stays what it is."""
    if not memory or code is None or code == 0:
        return False
    if "std::bad_alloc" in out or "out of memory" in out.lower():
        return True
    return code < 0 and -code in (signal.SIGABRT, signal.SIGKILL, signal.SIGSEGV, signal.SIGBUS) \
        and peak >= memory * 0.9


def test_targets(build_dir, sub):
    """The test executables that can see a fault in sub: its own and those of the subsystems above
    (for the tool: its ctest scripts, named "ctest:<name>")."""
    if sub == TOOL:
        return ["ctest:" + name for name in TOOL_TESTS]
    above = SUBSYSTEMS[SUBSYSTEMS.index(sub):]
    # The tables read before the library's static initialisation: a program of its own.
    early = ["test_static_init"] if sub in ("platform", "vocabulary") else []
    return early + ["test_" + s for s in above if (ROOT / "tests" / s).is_dir()]


def build_targets(targets):
    """What to build for targets: a ctest script needs the tool, the demo and the library."""
    result = []
    for target in targets:
        for name in (TOOL_BUILD if target.startswith("ctest:") else [target]):
            if name not in result:
                result.append(name)
    return result


def build(build_dir, targets):
    code, out, _ = run(["cmake", "--build", str(build_dir), "-j2", "--target"]
                       + build_targets(targets))
    return code == 0, out


def stop_left_servers(folder):
    """A test program that dies at its first failure skips its destructors, so the PostgreSQL
    server of a cluster of its own keeps running: stop every one started below folder (an
    immediate shutdown), then remove the folder."""
    for pid_file in Path(folder).glob("**/postmaster.pid"):
        try:
            os.kill(int(pid_file.read_text().split()[0]), signal.SIGQUIT)
        except (OSError, ValueError, IndexError):
            pass
    shutil.rmtree(folder, ignore_errors=True)


def run_tests(build_dir, targets, timeout, bounds=None, peaks=None):
    """The first failure as (kind, text), kind "test", "crash", "timeout" or "memory"; None
    when every program passes. bounds: the memory bound of each target (MEMORY_FALLBACK for
    one not in it); peaks, when given, receives each target's peak address space."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for target in targets:
        memory = MEMORY_FALLBACK if bounds is None else bounds.get(target, MEMORY_FALLBACK)
        if target in UNBOUNDED:
            memory = None
        # Temporary files go to a folder of this run (open to the postgres user, as /tmp is).
        scratch = tempfile.mkdtemp(prefix="mda-mutate-")
        os.chmod(scratch, 0o1777)
        env["TMPDIR"] = scratch
        if target.startswith("ctest:"):
            command = ["ctest", "--test-dir", str(build_dir), "--output-on-failure",
                       "-R", "^%s$" % target[len("ctest:"):]]
        else:
            # The first failure ends the run (a trap; no core file): the rest would only tell more.
            command = [str(build_dir / "tests" / target), "--gtest_break_on_failure"]
        try:
            # A ctest script runs a whole campaign: its own timeout in CMake bounds it.
            limit = CTEST_TIMEOUT if target.startswith("ctest:") else timeout
            code, out, peak = run(command, timeout=limit, env=env, memory=memory)
        finally:
            stop_left_servers(scratch)
        if peaks is not None:
            peaks[target] = peak
        if code is None:
            return "timeout", target + " timed out"
        if code != 0:
            started = [l for l in out.splitlines() if l.startswith("[ RUN      ]")]
            where = target + ": " + (started[-1][len("[ RUN      ]"):].strip() if started
                                     else "exit %d" % code)
            if target.startswith("ctest:"):
                # ctest exits 8 for a failed test; its output holds the script's last words.
                lines = out.splitlines()
                end = next((i for i, l in enumerate(lines) if "% tests passed" in l), len(lines))
                said = [l.strip() for l in lines[:end] if l.strip() and not l.startswith(
                    ("Test project", "    Start", "1/1 Test"))]
                where = target + ": " + (said[-1][:160] if said else "exit %d" % code)
            if out_of_memory(code, out, peak, memory):
                return "memory", "%s (over %d MiB)" % (where, memory >> 20)
            # A failed expectation ends the program with a trap (--gtest_break_on_failure).
            crashed = code < 0 and -code != signal.SIGTRAP
            return ("crash" if crashed else "test"), where
    return None


def write_whole(path, text):
    """Replaces the file in one step, so that an interrupted run never leaves half a file."""
    temporary = path.with_name(path.name + ".mutate-tmp")
    temporary.write_text(text, encoding="utf-8")
    os.replace(temporary, path)


def mutate_one(site, build_dir, timeout, lock, bounds):
    path = ROOT / site["file"]
    original = path.read_text(encoding="utf-8")
    lines = original.split("\n")
    if lines[site["line"] - 1] != site["original"]:
        return "skipped", "source changed under the run"
    lines[site["line"] - 1] = site["mutated"]
    targets = test_targets(build_dir, site["subsystem"])
    with machine_lock(lock):
        try:
            write_whole(path, "\n".join(lines))
            # One test program at a time, lowest first: most mutants are caught by the first,
            # and the others need not be linked for them.
            for target in targets:
                ok, _ = build(build_dir, [target])
                if not ok:
                    return "invalid", "does not compile"
                caught_by = run_tests(build_dir, [target], timeout, bounds)
                if caught_by:
                    kind, where = caught_by
                    return "caught" if kind == "test" else "caught (%s)" % kind, where
            return "survived", ""
        finally:
            write_whole(path, original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=100, help="number of sites (default 100)")
    parser.add_argument("--subsystem", action="append", choices=SUBSYSTEMS,
                        help="only these subsystems (repeatable)")
    parser.add_argument("--build-dir", default=str(ROOT / "build-mutate"))
    parser.add_argument("--timeout", type=int, default=180, help="seconds per test executable")
    parser.add_argument("--at-least", type=int, default=1,
                        help="sites for every subsystem at the least, beyond its share (default 1)")
    parser.add_argument("--list", action="store_true", help="print the chosen sites and stop")
    parser.add_argument("--lock", default="/tmp/mda-build.lock",
                        help="file locked around each build and test run ('' for none)")
    args = parser.parse_args()
    # SIGTERM and SIGHUP unwind like Ctrl-C, so that the mutated file is always restored.
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGHUP, stop_on_signal)

    subsystems = args.subsystem or SUBSYSTEMS
    chosen = choose(all_sites(subsystems), args.count, args.seed, args.at_least)
    if args.list:
        for s in chosen:
            print("%s:%d [%s] %s" % (s["file"], s["line"], s["operator"], s["mutated"].strip()))
        return 0

    # A run killed outright (SIGKILL, a power cut) leaves its mutant in the file: the baseline
    # would be a mutant's, so refuse and name the files instead.
    changed = subprocess.run(["git", "-C", str(ROOT), "diff", "--name-only", "HEAD", "--", "src",
                              "tools"], capture_output=True, text=True).stdout.split()
    if changed:
        print("these files differ from the last commit (a mutant left by a killed run?): %s; "
              "restore them with git checkout" % " ".join(changed), file=sys.stderr)
        return 2
    build_dir = Path(args.build_dir)
    targets = sorted({t for s in chosen for t in test_targets(build_dir, s["subsystem"])})
    print("baseline build and run of", " ".join(targets), flush=True)
    with machine_lock(args.lock):
        ok, out = build(build_dir, targets)
        peaks = {}
        failing = run_tests(build_dir, targets, args.timeout, peaks=peaks) if ok else None
    if not ok:
        print(out[-4000:])
        print("the unmutated tree does not build", file=sys.stderr)
        return 2
    if failing:
        print("the unmutated tree fails its tests: " + failing[1], file=sys.stderr)
        return 2
    bounds = {t: max(MEMORY_FLOOR, MEMORY_FACTOR * p) if p else MEMORY_FALLBACK
              for t, p in peaks.items()}
    print("memory bounds:", ", ".join("%s %d MiB" % (t, b >> 20) for t, b in sorted(bounds.items())),
          flush=True)

    equivalent = equivalent_keys()
    results = []
    started = time.time()
    for number, site in enumerate(chosen, 1):
        if site_key(site) in equivalent:
            outcome, detail = "equivalent", "listed in scripts/mutate-equivalent.txt"
        else:
            outcome, detail = mutate_one(site, build_dir, args.timeout, args.lock, bounds)
        site = dict(site, outcome=outcome, detail=detail)
        results.append(site)
        print("[%d/%d %4.0fs] %-16s %s:%d [%s] %s" % (number, len(chosen), time.time() - started,
              outcome, site["file"], site["line"], site["operator"], detail), flush=True)
    # Leave the build matching the restored sources.
    with machine_lock(args.lock):
        build(build_dir, targets)

    print("\nscore per subsystem (caught / mutants that compile and are not listed as equivalent):")
    total_caught = total_scored = 0
    for sub in subsystems:
        rows = [r for r in results if r["subsystem"] == sub]
        scored = [r for r in rows if r["outcome"].startswith("caught") or r["outcome"] == "survived"]
        caught = [r for r in scored if r["outcome"].startswith("caught")]
        total_caught += len(caught)
        total_scored += len(scored)
        if scored:
            print("  %-10s %3d / %3d  %5.1f%%" % (sub, len(caught), len(scored),
                                                 100.0 * len(caught) / len(scored)))
    if total_scored:
        print("  %-10s %3d / %3d  %5.1f%%" % ("all", total_caught, total_scored,
                                             100.0 * total_caught / total_scored))
    survivors = [r for r in results if r["outcome"] == "survived"]
    if survivors:
        print("\nsurvivors (a line for scripts/mutate-equivalent.txt follows each, for the ones that"
              " change no behaviour):")
        for r in survivors:
            print("  %s:%d [%s]\n    - %s\n    + %s\n    key: %s" % (
                r["file"], r["line"], r["operator"], r["original"].strip(),
                r["mutated"].strip(), site_key(r)))
    (build_dir / "mutation-results.json").write_text(json.dumps(results, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
