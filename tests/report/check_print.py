#!/usr/bin/env python3
"""Prints register map reports to PDF with headless Chromium and checks the pages.

Usage: check_print.py SETFORGE_CLI PROJECT_DIR
PROJECT_DIR is copied (Demo); its SDO table is replaced by 300 rows, and the report printed:
- with mnemonics of a usual length and one long word: A4 portrait, at most 12 pages;
- with one mnemonic too long for portrait: the register map on A4 landscape pages.
In both, no word of the page lies beyond the paper's right edge, so no column is cut, and the
last column's header and every long mnemonic are on the paper whole.
Exit status 0 when every check passes, 1 otherwise; 77 (skipped) without chromium or poppler.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

MAX_PAGES = 12
A4_SHORT, A4_LONG = 595.0, 842.0  # points


def chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


def sdo_rows(long_mnemonic):
    rows = []
    for i in range(300):
        node = 2 + i % 30
        mnemonic = f"Drive {node} position actual value, word {i % 2 + 1}"
        if i == 150:
            mnemonic = long_mnemonic
        rows.append(f'<row conf="65" IndexA="{1000 + i}" SubindexA="0" devIDB="{node}" '
                    f'IndexB="0x6064" SubindexB="0" nbyteB="4" mnemonico="{mnemonic}"/>')
    # Two rows on one register: the Conflict column, the last, must show "yes" on paper.
    rows.append('<row conf="65" IndexA="1000" SubindexA="0" devIDB="2" IndexB="0x6041" '
                'SubindexB="0" nbyteB="2" mnemonico="Conflicting statusword"/>')
    return "<sdo>" + "".join(rows) + "</sdo><!--KX40917 2.001-->"


def page_sizes(pdf):
    out = subprocess.run(["pdfinfo", "-f", "1", "-l", "1000", pdf], check=True, capture_output=True,
                         text=True).stdout
    return [(float(w), float(h)) for w, h in re.findall(r"Page\s+\d+ size:\s+([\d.]+) x ([\d.]+)", out)]


def words(pdf):
    """(page number, xMax, page width, text) of every word on the paper."""
    out = subprocess.run(["pdftotext", "-bbox", pdf, "-"], check=True, capture_output=True,
                         text=True).stdout
    result = []
    page, width = 0, 0.0
    for line in out.splitlines():
        m = re.match(r'\s*<page width="([\d.]+)"', line)
        if m:
            page += 1
            width = float(m.group(1))
            continue
        m = re.match(r'\s*<word xMin="[\d.]+" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">(.*)</word>', line)
        if m:
            result.append((page, float(m.group(1)), width, m.group(2)))
    return result


def print_report(cli, project, tmp, name):
    html = os.path.join(tmp, name + ".html")
    pdf = os.path.join(tmp, name + ".pdf")
    env = dict(os.environ, SOURCE_DATE_EPOCH="1765324800")
    subprocess.run([cli, "report", project, html], check=True, env=env, stdout=subprocess.DEVNULL)
    # A fresh profile and no background networking: the page loads nothing, and nothing leaves the machine.
    subprocess.run([chromium(), "--headless", "--no-sandbox", "--disable-gpu", "--no-pdf-header-footer",
                    "--no-first-run", "--disable-background-networking", "--disable-component-update",
                    "--disable-sync", "--disable-extensions", "--no-default-browser-check",
                    # Nothing may leave the machine: no proxy but a closed local port, no name lookups.
                    "--proxy-server=127.0.0.1:9", "--host-resolver-rules=MAP * ~NOTFOUND",
                    "--user-data-dir=" + os.path.join(tmp, "profile-" + name),
                    "--print-to-pdf=" + pdf, "file://" + html],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    return pdf


def check(cli, demo, tmp, name, long_mnemonic, want_landscape):
    project = os.path.join(tmp, name)
    shutil.copytree(demo, project)
    with open(os.path.join(project, "sdo.xml"), "w", encoding="utf-8") as f:
        f.write(sdo_rows(long_mnemonic))
    pdf = print_report(cli, project, tmp, name)
    sizes = page_sizes(pdf)
    found = words(pdf)
    faults = []
    if not want_landscape and len(sizes) > MAX_PAGES:
        faults.append(f"{len(sizes)} pages, at most {MAX_PAGES} wanted")
    if any(abs(w - A4_SHORT) > 2 or abs(h - A4_LONG) > 2 for w, h in sizes if w < h):
        faults.append(f"a portrait page is not A4: {sizes}")
    landscape = [i + 1 for i, (w, h) in enumerate(sizes) if w > h]
    if want_landscape and not landscape:
        faults.append("no A4 landscape page for a map with a long mnemonic")
    if not want_landscape and landscape:
        faults.append(f"landscape pages {landscape} for a map that fits portrait")
    beyond = [(p, x, w, t) for p, x, w, t in found if x > w - 1]
    if beyond:
        faults.append(f"words beyond the right edge: {beyond[:5]}")
    if sum(1 for _, _, _, t in found if t == "Conflict") < 1 or not any(t == "yes" for _, _, _, t in found):
        faults.append("the Conflict column is not on the paper")
    # A wrapped mnemonic is cut into pieces in its cell; joined, the page text holds it whole.
    joined = "".join(t for _, _, _, t in found)
    if long_mnemonic.replace(" ", "") not in joined:
        faults.append("the long mnemonic is not on the paper whole")
    print(f"{name}: {len(sizes)} pages, {len(landscape)} landscape" + "".join("\n  " + f for f in faults))
    return not faults


def main():
    cli, demo = sys.argv[1], sys.argv[2]
    if not chromium() or not shutil.which("pdfinfo") or not shutil.which("pdftotext"):
        print("chromium or poppler-utils missing: scripts/deps.sh installs them")
        return 77
    with tempfile.TemporaryDirectory() as tmp:
        ok = check(cli, demo, tmp, "portrait", "Axis1_PositionActualValueInUserUnits_HighWord", False)
        ok = check(cli, demo, tmp, "landscape",
                   "Drive 17 position actual value in user units, high word, read every cycle by the PLC",
                   True) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
