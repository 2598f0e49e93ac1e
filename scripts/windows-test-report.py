#!/usr/bin/env python3
"""Sums up the Qt Test programs run under Wine by scripts/windows-gui.sh.

    windows-test-report.py RESULTS_DIR TEST...

For each TEST, RESULTS_DIR holds TEST.xml (Qt Test's XML log), TEST.txt (its plain log),
TEST.out (what the process printed) and TEST.status (its exit code). Prints one line per
program and every skip with its reason, and exits non-zero when a function failed, a program
crashed or timed out, or a skip does not name the Wine limitation behind it.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def tail(path, lines=30):
    try:
        return "\n".join(path.read_text(errors="replace").splitlines()[-lines:])
    except OSError:
        return "(no output)"


def main():
    results = Path(sys.argv[1])
    problems = []
    totals = {"passed": 0, "failed": 0, "skipped": 0}
    skips = []
    for test in sys.argv[2:]:
        status = int((results / f"{test}.status").read_text().strip() or "1")
        log = results / f"{test}.xml"
        try:
            root = ET.parse(log).getroot()
        except (OSError, ET.ParseError) as error:
            problems.append(f"{test}: no complete log ({error}), exit {status}\n{tail(results / f'{test}.out')}")
            continue
        passed = failed = skipped = 0
        for function in root.iter("TestFunction"):
            name = function.get("name")
            if name in ("initTestCase", "cleanupTestCase"):
                if any(i.get("type") in ("fail", "xpass") for i in function.iter("Incident")):
                    problems.append(f"{test}::{name} failed")
                continue
            fails = [i for i in function.iter("Incident") if i.get("type") in ("fail", "xpass")]
            # Qt 6 logs a skip as an Incident; older versions as a Message.
            skip = [m for m in list(function.iter("Incident")) + list(function.iter("Message"))
                    if m.get("type") == "skip"]
            if fails:
                failed += 1
                for incident in fails:
                    text = (incident.findtext("Description") or "").strip()
                    tag = (incident.findtext("DataTag") or "").strip()
                    where = f"{incident.get('file')}:{incident.get('line')}"
                    problems.append(f"{test}::{name}{'(' + tag + ')' if tag else ''} failed at {where}: {text}")
            elif skip:
                skipped += 1
                reason = (skip[0].findtext("Description") or "").strip()
                skips.append(f"{test}::{name}: {reason}")
                if "Wine" not in reason:
                    problems.append(f"{test}::{name} skipped without naming a Wine limitation: {reason}")
            else:
                passed += 1
        if status != 0 and failed == 0:
            problems.append(f"{test}: exit {status} with no failed function\n{tail(results / f'{test}.out')}")
        print(f"  {test}: {passed} functions passed, {skipped} skipped, {failed} failed")
        totals["passed"] += passed
        totals["failed"] += failed
        totals["skipped"] += skipped
    print(f"GUI tests under Wine: {totals['passed']} passed, {totals['skipped']} skipped, {totals['failed']} failed")
    for skip in skips:
        print("  skipped " + skip)
    for problem in problems:
        print("windows-gui: " + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
