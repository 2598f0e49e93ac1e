#!/usr/bin/env python3
"""Fails when project code lies outside `namespace setforge`.

Usage: wrap_namespace.py [--check] [--root ROOT]   (ROOT defaults to the folder above scripts/)

Reads every .h/.hpp/.cpp/.cc file under src/, tests/, bench/ and fuzz/, leaving out data and
build folders (tests/data, fuzz/corpus, fuzz/regressions). With comments, literals and
preprocessor lines blanked, every top-level declaration must be a `namespace setforge` block or
one of what has to stay global: main(), the fuzzers' extern "C" entry points, the Qt Test and
Google Benchmark main macros, `using namespace setforge;` for a main's body, what Qt and the
standard library want at global scope (forward declarations of Qt classes, Q_DECLARE_METATYPE
and its kin, `template <> struct std::hash<...>`) and the C library's `environ`. Prints each
other one with its line and exits 1 when there is one, or 2 when ROOT holds no source.
`--check` is accepted for the commands that spell it.
"""

import argparse
import pathlib
import re
import sys

ROOTS = ("src", "tests", "bench", "fuzz")
SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
SKIP_DIRS = {"data", "corpus", "regressions", "build"}
LITERAL = re.compile(
    r'//[^\n]*|/\*.*?\*/|R"(\w*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|(?<!\w)\'(?:\\.|[^\'\\\n])*\'', re.S
)
PREPROCESSOR = re.compile(r"^[ \t]*#(?:[^\n]*\\\n)*[^\n]*", re.M)
CLOSING_SEMICOLON = re.compile(r"\s*;?")
MACRO_LINE = re.compile(r"[A-Z_][A-Z0-9_]*\s*\([^;{}\n]*\)[ \t]*;?[ \t]*(?=\n|$)")
ALLOWED = re.compile(
    r"""(?:namespace\s+setforge\b | (?:int|auto)\s+main\s*\( | extern\s+"
         | using\s+namespace\s+setforge\s*; | (?:class|struct)\s+Q[A-Z]\w*\s*;
         | (?:QTEST_MAIN|QTEST_APPLESS_MAIN|QTEST_GUILESS_MAIN|BENCHMARK_MAIN)\s*\(
         | Q_DECLARE_\w+\s*\( | template\s*<\s*>\s*(?:struct|class)\s+(?:::)?std::
         | extern\s+char\s*\*\*\s*environ\s*;)""",
    re.X,
)


def blanked(text: str) -> str:
    """`text` with comments, literal contents and # lines turned to blanks, line breaks kept."""
    spaces = lambda s: re.sub(r"[^\n]", " ", s)
    keep_quotes = lambda s: spaces(s) if s[0] == "/" else s[0] + spaces(s[1:-1]) + s[-1]
    text = LITERAL.sub(lambda m: keep_quotes(m[0]), text)
    return PREPROCESSOR.sub(lambda m: spaces(m[0]), text)


def top_level(code: str):
    """Yields (offset, text) of each top-level declaration: up to a `;` or a closing brace."""
    i, n = 0, len(code)
    while i < n:
        if code[i].isspace():
            i += 1
            continue
        start, depth, macro = i, 0, MACRO_LINE.match(code, i)
        if macro:  # QTEST_MAIN(...) and the like end at their line, with or without `;`
            i = macro.end()
        while not macro and i < n:
            c, i = code[i], i + 1
            depth += (c in "{(") - (c in "})")
            if depth == 0 and c == "}":
                i = CLOSING_SEMICOLON.match(code, i).end()  # the `;` after a class
            if depth == 0 and c in "};":
                break
        yield start, code[start:i]


def outside(path: pathlib.Path):
    code = blanked(path.read_text(encoding="utf-8"))
    for start, text in top_level(code):
        if not ALLOWED.match(text):
            yield code.count("\n", 0, start) + 1, " ".join(text.split("{")[0].split())[:70]


def main() -> int:
    parser = argparse.ArgumentParser(description="Names project code outside namespace setforge.")
    parser.add_argument("--check", action="store_true", help="the only mode, accepted as before")
    parser.add_argument("--root", type=pathlib.Path, default=pathlib.Path(__file__).parent.parent)
    root = parser.parse_args().root.resolve()
    files = [p for top in ROOTS for p in sorted((root / top).rglob("*"))]
    files = [p for p in files if p.suffix in SUFFIXES and p.is_file()]
    files = [p for p in files if not SKIP_DIRS & set(p.relative_to(root).parts[1:-1])]
    if not files:
        print(f"{root}: no source under {', '.join(ROOTS)}", file=sys.stderr)
        return 2
    found = {p: list(outside(p)) for p in files}
    for path, lines in found.items():
        for line, head in lines:
            print(f"{path.relative_to(root).as_posix()}:{line}: outside namespace setforge: {head}")
    bad = sum(bool(lines) for lines in found.values())
    print(f"{bad} file(s) with code outside namespace setforge, {len(files)} read")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
