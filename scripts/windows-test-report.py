#!/usr/bin/env python3
"""Sums up the test programs run under Wine by scripts/windows-check.sh and windows-gui.sh.

    windows-test-report.py qt RESULTS_DIR TEST...
    windows-test-report.py qt-failed RESULTS_DIR TEST...
    windows-test-report.py gtest REPORT.xml [RERUN.xml]
    windows-test-report.py gtest-failed REPORT.xml

qt: for each TEST, RESULTS_DIR holds TEST.xml (Qt Test's XML log), TEST.txt (its plain log),
TEST.out (what the process printed) and TEST.status (its exit code), and, when failed functions
were run a second time, TEST.rerun.xml and TEST.rerun.status. Prints one line per program and
every skip with its reason, and exits non-zero when a function failed, a program crashed or
timed out, or a skip does not name the Wine limitation behind it.

gtest: the same for GoogleTest's XML report of the core tests.

A test that fails under Wine is run once more (qt-failed and gtest-failed name them), because
Wine itself now and then fails a call that does not fail on Windows or Linux: one CI run saw a
start of the fake updater fail, where thousands of starts pass here. A test that passes on its second run counts as
passed and is listed with its first failure; one that fails twice fails the step. Only a few
failures get the second run (MAX_RERUNS): many at once are a real fault, not Wine's.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

MAX_RERUNS = 3


def tail(path, lines=30):
    try:
        return "\n".join(path.read_text(errors="replace").splitlines()[-lines:])
    except OSError:
        return "(no output)"


def read_status(path, default=1):
    try:
        text = path.read_text().strip()
    except OSError:
        return default
    return int(text) if text else default


# --- Qt Test -----------------------------------------------------------------------------------


class QtLog:
    """One Qt Test XML log: per function, its failures or skip reason."""

    def __init__(self, path):
        root = ET.parse(path).getroot()
        self.failures = {}  # function name -> [(name with the data tag, "failed at FILE:LINE: text")]
        self.skips = {}  # function name -> reason
        self.passed = []
        self.fixture_failures = []  # initTestCase and cleanupTestCase
        for function in root.iter("TestFunction"):
            name = function.get("name")
            fails = [i for i in function.iter("Incident") if i.get("type") in ("fail", "xpass")]
            if name in ("initTestCase", "cleanupTestCase"):
                if fails:
                    self.fixture_failures.append(name)
                continue
            # Qt 6 logs a skip as an Incident; older versions as a Message.
            skip = [m for m in list(function.iter("Incident")) + list(function.iter("Message"))
                    if m.get("type") == "skip"]
            if fails:
                texts = []
                for incident in fails:
                    text = (incident.findtext("Description") or "").strip()
                    tag = (incident.findtext("DataTag") or "").strip()
                    where = f"{incident.get('file')}:{incident.get('line')}"
                    texts.append((f"{name}({tag})" if tag else name, f"failed at {where}: {text}"))
                self.failures[name] = texts
            elif skip:
                self.skips[name] = (skip[0].findtext("Description") or "").strip()
            else:
                self.passed.append(name)


def qt_failed(results, tests):
    """Prints "TEST FUNCTION..." per program with functions worth a second run; nothing when
    the failures look real."""
    functions = {}
    for test in tests:
        try:
            log = QtLog(results / f"{test}.xml")
        except (OSError, ET.ParseError):
            return 0  # a crash or a timeout is not retried
        if log.fixture_failures:
            return 0
        if log.failures:
            functions[test] = list(log.failures)
    if sum(len(names) for names in functions.values()) <= MAX_RERUNS:
        for test, names in functions.items():
            print(test + " " + " ".join(names))
    return 0


def qt_report(results, tests):
    problems = []
    totals = {"passed": 0, "failed": 0, "skipped": 0}
    skips = []
    second_runs = []
    for test in tests:
        status = read_status(results / f"{test}.status")
        try:
            log = QtLog(results / f"{test}.xml")
        except (OSError, ET.ParseError) as error:
            problems.append(f"{test}: no complete log ({error}), exit {status}\n{tail(results / f'{test}.out')}")
            continue
        rerun = None
        if (results / f"{test}.rerun.xml").exists():
            rerun_status = read_status(results / f"{test}.rerun.status")
            try:
                rerun = QtLog(results / f"{test}.rerun.xml")
            except (OSError, ET.ParseError) as error:
                problems.append(f"{test}: the second run left no complete log ({error}), exit {rerun_status}")
            if rerun is not None and rerun_status != 0 and not rerun.failures:
                problems.append(f"{test}: the second run ended with exit {rerun_status}")
                rerun = None
        problems += [f"{test}::{name} failed" for name in log.fixture_failures]
        failed = 0
        passed = len(log.passed)
        for name, texts in log.failures.items():
            if rerun is not None and name in rerun.passed and not rerun.fixture_failures:
                passed += 1
                first = "; ".join(detail if label == name else f"{label} {detail}" for label, detail in texts)
                second_runs.append(f"{test}::{name}, which first {first}")
                continue
            failed += 1
            problems += [f"{test}::{label} {detail}" for label, detail in texts]
            if rerun is not None and name in rerun.failures:
                problems += [f"{test}::{label} {detail} (second run)" for label, detail in rerun.failures[name]]
        for name, reason in log.skips.items():
            skips.append(f"{test}::{name}: {reason}")
            if "Wine" not in reason:
                problems.append(f"{test}::{name} skipped without naming a Wine limitation: {reason}")
        skipped = len(log.skips)
        if status != 0 and not log.failures and not log.fixture_failures:
            problems.append(f"{test}: exit {status} with no failed function\n{tail(results / f'{test}.out')}")
        print(f"  {test}: {passed} functions passed, {skipped} skipped, {failed} failed")
        totals["passed"] += passed
        totals["failed"] += failed
        totals["skipped"] += skipped
    print(f"GUI tests under Wine: {totals['passed']} passed, {totals['skipped']} skipped, {totals['failed']} failed")
    for skip in skips:
        print("  skipped " + skip)
    for line in second_runs:
        print("  passed on its second run: " + line)
    for problem in problems:
        print("windows-gui: " + problem, file=sys.stderr)
    return 1 if problems else 0


# --- GoogleTest --------------------------------------------------------------------------------


def gtest_cases(path):
    """name -> ("passed" | "skipped" | "failed", text) for every test case of a report."""
    cases = {}
    for case in ET.parse(path).getroot().iter("testcase"):
        name = case.get("classname") + "." + case.get("name")
        failures = case.findall("failure")
        skipped = case.find("skipped")
        if failures:
            text = "\n".join((f.get("message") or f.text or "").strip() for f in failures)
            cases[name] = ("failed", text)
        elif case.get("result") == "skipped" or skipped is not None:
            message = skipped.get("message", "") if skipped is not None else ""
            lines = message.strip().splitlines()
            cases[name] = ("skipped", lines[-1] if lines else "")
        else:
            cases[name] = ("passed", "")
    return cases


def gtest_failed(report):
    try:
        failed = [name for name, (state, _) in gtest_cases(report).items() if state == "failed"]
    except (OSError, ET.ParseError):
        return 0
    if 0 < len(failed) <= MAX_RERUNS:
        print(":".join(failed))
    return 0


def gtest_report(report, rerun_report=None):
    cases = gtest_cases(report)
    rerun = {}
    if rerun_report is not None:
        try:
            rerun = gtest_cases(rerun_report)
        except (OSError, ET.ParseError) as error:
            print(f"windows-check: the second run left no complete report ({error})", file=sys.stderr)
    counts = {"passed": 0, "skipped": 0, "failed": 0}
    second_runs = []
    for name, (state, text) in cases.items():
        if state == "failed" and rerun.get(name, ("",))[0] == "passed":
            state = "passed"
            second_runs.append(f"{name}, which first failed: {text}")
        counts[state] += 1
    print(f"core tests under Wine: {counts['passed']} passed, {counts['skipped']} skipped, {counts['failed']} failed")
    for name, (state, reason) in cases.items():
        if state == "skipped":
            print(f"  skipped {name}: {reason}")
    for line in second_runs:
        print("  passed on its second run: " + line)
    return 1 if counts["failed"] else 0


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    mode, rest = sys.argv[1], sys.argv[2:]
    if mode == "qt":
        return qt_report(Path(rest[0]), rest[1:])
    if mode == "qt-failed":
        return qt_failed(Path(rest[0]), rest[1:])
    if mode == "gtest":
        return gtest_report(rest[0], rest[1] if len(rest) > 1 else None)
    if mode == "gtest-failed":
        return gtest_failed(rest[0])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
