#!/usr/bin/env python3
"""Writes the shipped language files workspace/LANGUAGE/<Language>.lng.

Each language has one source table in data/languages (<source>.txt): lines
"<index> <text>" (blanks or a tab after the index), blank lines and lines
starting with "#" are skipped.
The English texts come from src/core/lang/defaulttexts.cpp, so a table is
checked against the very texts the program carries.

Rules applied to every text while writing:
- The English text's leading and trailing blanks are put around the
  translation, and the text is then written between pilcrows so the loader
  keeps them. A cell written as "\u00b6...\u00b6" is taken as it stands (for
  blanks the English text does not have, e.g. French " ?").
- A cell "@cols A|B|C" is a column header: each word starts at the column
  where the English header's word starts (at least two blanks between words);
  it is written between pilcrows too.
- Every index of the English table must be translated, and nothing else.
  A translation must keep the "!!" marks, a leading "!!", the English edge
  blanks and every number of the English text; no text may hold "/#/", a
  pilcrow or a line break.

Output: UTF-8 with byte-order mark, CR LF line ends, one header line, then
"STR<index> = <text>" in index order. Run from anywhere:
    python3 scripts/languages/make_lng.py [--check]
With --check nothing is written; the script fails when a file is not current.
"""

import os
import re
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SOURCE_DIR = os.path.join(ROOT, "data", "languages")
DEFAULTS_CPP = os.path.join(ROOT, "src", "core", "lang", "defaulttexts.cpp")
OUT_DIR = os.path.join(ROOT, "workspace", "LANGUAGE")

PILCROW = "\u00b6"
BOM = b"\xef\xbb\xbf"

# (source table, language name = file name without ".lng", header line)
LANGUAGES = [
    ("italiano.txt", "Italiano", "Setforge KX40917 - file della lingua italiana"),
    ("deutsch.txt", "Deutsch", "Setforge KX40917 - deutsche Sprachdatei"),
    ("francais.txt", "Fran\u00e7ais", "Setforge KX40917 - fichier de langue fran\u00e7aise"),
]


def read_english():
    """Index -> English default text, read from the C++ table."""
    with open(DEFAULTS_CPP, encoding="utf-8") as f:
        source = f.read()
    # clang-format splits long texts into adjacent literals; join them again.
    source = re.sub(r'"\s*\n\s*"', "", source)
    texts = {}
    # A long text may be split into adjacent literals over several lines, as the formatter
    # leaves it; the pieces are joined as the compiler joins them.
    literal = r'"(?:[^"\\]|\\.)*"'
    for m in re.finditer(r"\{\s*(\d+)\s*,\s*((?:" + literal + r"\s*)+)\}", source):
        text = "".join(piece[1:-1] for piece in re.findall(literal, m.group(2)))
        if "\\" in text:
            raise SystemExit("escape sequences in default %s are not handled" % m.group(1))
        texts[int(m.group(1))] = text
    if not texts:
        raise SystemExit("no default texts found in " + DEFAULTS_CPP)
    return texts


def read_table(path):
    table = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = re.match(r"\s*(\d+)[ \t]+(.*)$", line)
            if not m:
                raise SystemExit("%s:%d: expected <index> <text>" % (path, number))
            index, text = int(m.group(1)), m.group(2)
            if index in table:
                raise SystemExit("%s:%d: index %d given twice" % (path, number, index))
            table[index] = text
    return table


def edges(text):
    """Leading and trailing blanks of `text`."""
    core = text.strip(" ")
    if not core:
        return text, ""
    lead = text[: len(text) - len(text.lstrip(" "))]
    trail = text[len(text.rstrip(" ")):]
    return lead, trail


def column_starts(english):
    return [m.start() for m in re.finditer(r"\S+", english)]


def align_columns(english, words):
    starts = column_starts(english)
    if len(starts) != len(words):
        raise ValueError("header needs %d words, has %d" % (len(starts), len(words)))
    out = ""
    for start, word in zip(starts, words):
        if out:
            out += " " * max(2, start - len(out))
        out += word
    return out


def count_marks(text):
    """Non-overlapping "!!" marks, as a reader scanning left to right sees them."""
    count, pos = 0, text.find("!!")
    while pos >= 0:
        count += 1
        pos = text.find("!!", pos + 2)
    return count


def final_text(index, english, cell):
    if cell.startswith("@cols "):
        text = align_columns(english, [w.strip() for w in cell[6:].split("|")])
    elif len(cell) >= 2 and cell.startswith(PILCROW) and cell.endswith(PILCROW):
        text = cell[1:-1]
    else:
        lead, trail = edges(english)
        text = lead + cell.strip(" ") + trail
    return text


def check(index, english, text):
    problems = []
    if not text.strip():
        problems.append("blank text")
    for bad in ("/#/", PILCROW, "\r", "\n", "\t"):
        if bad in text:
            problems.append("holds %r" % bad)
    lead, trail = edges(english)
    if not text.startswith(lead) or not text.endswith(trail):
        problems.append("lost the English edge blanks")
    if count_marks(text) < count_marks(english):
        problems.append('lost a "!!" mark')
    if english.startswith("!!") and not text.startswith("!!"):
        problems.append('must begin with "!!"')
    digits = re.findall(r"\d+", english)
    have = re.findall(r"\d+", text)
    for d in digits:
        if d in have:
            have.remove(d)
        else:
            problems.append("number %s missing" % d)
    return ["STR%d: %s (%r)" % (index, p, text) for p in problems]


def line_text(text):
    """The text as written after "= ": between pilcrows when its ends are blank, and
    for aligned column headers, so their runs of blanks stay visibly intended."""
    if text != text.strip(" ") or "  " in text:
        return PILCROW + text + PILCROW
    return text


def build(english, table, header):
    missing = sorted(set(english) - set(table))
    extra = sorted(set(table) - set(english))
    problems = []
    if missing:
        problems.append("missing indexes: %s" % missing)
    if extra:
        problems.append("indexes without an English text: %s" % extra)
    lines = [header]
    for index in sorted(english):
        if index not in table:
            continue
        try:
            text = final_text(index, english[index], table[index])
        except ValueError as e:
            problems.append("STR%d: %s" % (index, e))
            continue
        problems += check(index, english[index], text)
        lines.append("STR%d = %s" % (index, line_text(text)))
    if header.startswith("STR"):
        problems.append("header line must not begin with STR")
    content = BOM + ("\r\n".join(lines) + "\r\n").encode("utf-8")
    return content, problems


def write_file(path, content):
    # Write beside the target and rename, so a failed run never leaves half a file.
    fd, tmp = tempfile.mkstemp(dir=os.path.dirname(path), prefix=".tmp-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(content)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def main(argv):
    check_only = "--check" in argv[1:]
    english = read_english()
    failed = False
    for source, name, header in LANGUAGES:
        table = read_table(os.path.join(SOURCE_DIR, source))
        content, problems = build(english, table, header)
        if problems:
            failed = True
            for p in problems:
                print("%s: %s" % (source, p), file=sys.stderr)
            continue
        path = os.path.join(OUT_DIR, name + ".lng")
        if check_only:
            current = open(path, "rb").read() if os.path.exists(path) else None
            if current != content:
                print("%s is not current; run make_lng.py" % path, file=sys.stderr)
                failed = True
            continue
        os.makedirs(OUT_DIR, exist_ok=True)
        write_file(path, content)
        print("wrote %s (%d texts)" % (os.path.relpath(path, ROOT), len(table)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
