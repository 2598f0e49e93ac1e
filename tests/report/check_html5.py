#!/usr/bin/env python3
"""Writes the Demo report with setforge-cli and parses it with a strict HTML5 parser.

Usage: check_html5.py SETFORGE_CLI PROJECT_DIR
Exit status 0 when the page parses without a single parse error, 1 otherwise.
"""
import os
import subprocess
import sys
import tempfile

import html5lib


def main():
    cli, project = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "report.html")
        env = dict(os.environ, SOURCE_DATE_EPOCH="1765324800")
        subprocess.run([cli, "report", project, out], check=True, env=env, stdout=subprocess.DEVNULL)
        with open(out, "rb") as f:
            page = f.read()
    parser = html5lib.HTMLParser(strict=False)
    document = parser.parse(page)
    for position, code, data in parser.errors:
        print(f"{position}: {code} {data}")
    if parser.errors:
        return 1
    # A page the parser had to repair would still parse; make sure the content arrived whole.
    ns = {"h": "http://www.w3.org/1999/xhtml"}
    rows = document.findall(".//h:table[@class='registers']/h:tbody/h:tr", ns)
    if len(rows) != 21 or document.find(".//h:script", ns) is not None:
        print(f"unexpected content: {len(rows)} register rows")
        return 1
    print("report.html: no HTML5 parse error")
    return 0


if __name__ == "__main__":
    sys.exit(main())
