#!/usr/bin/env python3
"""scripts/windows-test-report.py decides whether the Windows step passes: a second run may turn
a Wine hiccup into a pass, but never a real failure, a crash or a skip without its reason.

    windows_test_report_test.py PATH/TO/windows-test-report.py
"""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = None


def run(*args):
    done = subprocess.run([sys.executable, SCRIPT, *map(str, args)], capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def qt_log(*functions):
    """A Qt Test XML log; each function is (name, "pass" | "fail" | "skip", text)."""
    body = ['<?xml version="1.0" encoding="UTF-8"?>', '<TestCase name="t">']
    for name, kind, text in (("initTestCase", "pass", ""),) + functions + (("cleanupTestCase", "pass", ""),):
        body.append(f'<TestFunction name="{name}">')
        body.append(f'<Incident type="{kind}" file="t.cpp" line="7">')
        if text:
            body.append(f"<Description><![CDATA[{text}]]></Description>")
        body.append("</Incident>")
        body.append("</TestFunction>")
    body.append("</TestCase>")
    return "\n".join(body)


def gtest_report(*cases):
    """A GoogleTest XML report; each case is ("Suite.name", "passed" | "failed" | "skipped", text)."""
    body = ['<?xml version="1.0" encoding="UTF-8"?>', "<testsuites>", '<testsuite name="all">']
    for full, kind, text in cases:
        suite, name = full.split(".", 1)
        result = "skipped" if kind == "skipped" else "completed"
        body.append(f'<testcase name="{name}" classname="{suite}" status="run" result="{result}">')
        if kind == "failed":
            body.append(f'<failure message="{text}" type=""/>')
        if kind == "skipped":
            body.append(f'<skipped message="{text}"/>')
        body.append("</testcase>")
    body += ["</testsuite>", "</testsuites>"]
    return "\n".join(body)


class QtResults:
    def __init__(self, folder):
        self.folder = Path(folder)

    def add(self, test, log, status, rerun=None, rerun_status=0):
        (self.folder / f"{test}.xml").write_text(log)
        (self.folder / f"{test}.status").write_text(f"{status}\n")
        (self.folder / f"{test}.out").write_text("output of " + test + "\n")
        if rerun is not None:
            (self.folder / f"{test}.rerun.xml").write_text(rerun)
            (self.folder / f"{test}.rerun.status").write_text(f"{rerun_status}\n")


class QtReport(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.results = QtResults(self.tmp.name)

    def tearDown(self):
        self.tmp.cleanup()

    def test_verdicts(self):
        ok = ("a", "pass", "")
        failed = ("b", "fail", "'started' returned FALSE.")
        cases = [
            # (what, first log, exit, second log or None, its exit, expected exit, expected text)
            ("all pass", qt_log(ok), 0, None, 0, 0, "1 functions passed, 0 skipped, 0 failed"),
            ("failed, no second run", qt_log(ok, failed), 1, None, 0, 1, "t::b failed at t.cpp:7"),
            ("passed on its second run", qt_log(ok, failed), 1, qt_log(("b", "pass", "")), 0, 0,
             "passed on its second run: t::b, which first failed at t.cpp:7"),
            ("failed twice", qt_log(ok, failed), 1, qt_log(failed), 1, 1, "(second run)"),
            ("second run crashed", qt_log(ok, failed), 1, qt_log(("b", "pass", "")), 3, 1,
             "the second run ended with exit 3"),
            ("second run cut short", qt_log(ok, failed), 1, "<TestCase>", 124, 1, "no complete log"),
            ("skip naming Wine", qt_log(ok, ("c", "skip", "Wine has no serial driver")), 0, None, 0, 0,
             "skipped t::c: Wine has no serial driver"),
            ("skip without reason", qt_log(ok, ("c", "skip", "later")), 0, None, 0, 1,
             "skipped without naming a Wine limitation"),
            ("exit without a failed function", qt_log(ok), 3, None, 0, 1, "exit 3 with no failed function"),
            ("truncated log", '<?xml version="1.0"?><TestCase name="t"><TestFunction', 124, None, 0, 1,
             "no complete log"),
        ]
        for what, log, status, rerun, rerun_status, expected, text in cases:
            with self.subTest(what):
                for leftover in Path(self.tmp.name).iterdir():
                    leftover.unlink()
                self.results.add("t", log, status, rerun, rerun_status)
                code, out, err = run("qt", self.tmp.name, "t")
                self.assertEqual(code, expected, out + err)
                self.assertIn(text, out + err)

    def test_only_a_few_plain_failures_get_a_second_run(self):
        def fails(*names):
            return qt_log(*[(name, "fail", "x") for name in names])

        cases = [
            ("two programs", {"t": fails("b"), "u": fails("c", "d")}, "t b\nu c d\n"),
            ("more than three", {"t": fails("b", "c"), "u": fails("d", "e")}, ""),
            ("a crashed program", {"t": fails("b"), "u": "<TestCase"}, ""),
            ("a failed initTestCase",
             {"t": qt_log(("b", "fail", "x")).replace('"initTestCase">\n<Incident type="pass"',
                                                         '"initTestCase">\n<Incident type="fail"')}, ""),
            ("nothing failed", {"t": qt_log(("a", "pass", ""))}, ""),
        ]
        for what, logs, expected in cases:
            with self.subTest(what):
                for leftover in Path(self.tmp.name).iterdir():
                    leftover.unlink()
                for test, log in logs.items():
                    self.results.add(test, log, 1)
                code, out, err = run("qt-failed", self.tmp.name, *logs)
                self.assertEqual(code, 0, err)
                self.assertEqual(out, expected)


class GtestReport(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.first = Path(self.tmp.name) / "first.xml"
        self.second = Path(self.tmp.name) / "second.xml"

    def tearDown(self):
        self.tmp.cleanup()

    def test_verdicts(self):
        first = gtest_report(("A.ok", "passed", ""), ("A.start", "failed", "exit 4"),
                             ("B.posix", "skipped", "uses fork"))
        cases = [
            ("no second run", None, 1, "1 passed, 1 skipped, 1 failed"),
            ("passed on its second run", gtest_report(("A.start", "passed", "")), 0,
             "passed on its second run: A.start, which first failed: exit 4"),
            ("failed twice", gtest_report(("A.start", "failed", "exit 4")), 1, "1 failed"),
            ("second run ran something else", gtest_report(("A.ok", "passed", "")), 1, "1 failed"),
            ("second run cut short", "<testsuites", 1, "no complete report"),
        ]
        for what, second, expected, text in cases:
            with self.subTest(what):
                self.first.write_text(first)
                args = ["gtest", self.first]
                if second is not None:
                    self.second.write_text(second)
                    args.append(self.second)
                code, out, err = run(*args)
                self.assertEqual(code, expected, out + err)
                self.assertIn(text, out + err)
                self.assertIn("skipped B.posix: uses fork", out)

    def test_only_a_few_failures_get_a_second_run(self):
        cases = [
            ("two", [("A.b", "failed", "x"), ("C/D.e/1", "failed", "y"), ("A.c", "passed", "")], "A.b:C/D.e/1\n"),
            ("four", [(f"A.t{i}", "failed", "x") for i in range(4)], ""),
            ("none", [("A.b", "passed", "")], ""),
        ]
        for what, report, expected in cases:
            with self.subTest(what):
                self.first.write_text(gtest_report(*report))
                code, out, err = run("gtest-failed", self.first)
                self.assertEqual(code, 0, err)
                self.assertEqual(out, expected)


if __name__ == "__main__":
    SCRIPT = sys.argv.pop(1)
    unittest.main()
