#!/usr/bin/env python3
"""Put the project's C++ sources into `namespace setforge`.

Usage (from the repository root, or pass it with --root):

    python3 scripts/wrap_namespace.py            # rewrite the files
    python3 scripts/wrap_namespace.py --dry-run  # only report what it would do
    python3 scripts/wrap_namespace.py --check    # exit 1 if a file is outside the namespace

It walks every .h/.hpp/.cpp/.cc file under src/, tests/, bench/ and fuzz/ (skipping build
folders and data folders such as tests/data and fuzz/corpus) and rewrites each one so that its
declarations sit inside

    namespace setforge {
    ...
    } // namespace setforge

Each file is read as a sequence of top-level items (a preprocessor line, or a declaration or
definition found by counting braces and parentheses with comments, string, character and raw
string literals blanked out). Every item is either project code, which goes inside the
namespace, or one of the following, which stays at global scope:

  * #include lines, wherever they are (a header must never be pulled into the namespace; an
    include between declarations closes the namespace and opens it again after, and the
    trailing `#include "x_test.moc"` of a Qt test stays outside), and the other preprocessor
    lines before the first piece of project code (#define, #ifdef _WIN32 blocks of includes).
    An #else/#endif after the last piece of code that closes a conditional of the code stays
    inside, so the braces and the conditionals nest;
  * forward declarations of Qt classes (`class QLabel;`), QT_BEGIN_NAMESPACE ... QT_END_NAMESPACE
    blocks and QT_FORWARD_DECLARE_*; otherwise they would declare setforge::QLabel;
  * blocks of foreign namespaces: std, pugi, testing, benchmark, Qt, QtPrivate, QTest, Ui;
  * specialisations of std templates written as `template <> struct std::hash<...>`;
  * `extern "C"` declarations and definitions (LLVMFuzzerTestOneInput, LLVMFuzzerInitialize):
    their names must not be mangled with the namespace;
  * `extern` declarations of C library globals (environ, optarg, ...);
  * `int main(...)`;
  * macros that must expand at global scope: QTEST_MAIN, QTEST_APPLESS_MAIN, QTEST_GUILESS_MAIN,
    BENCHMARK_MAIN, Q_DECLARE_METATYPE, Q_DECLARE_TYPEINFO, Q_DECLARE_INTERFACE, Q_IMPORT_PLUGIN.

When a global item falls between pieces of project code, the namespace is closed before it
and opened again after it. Class names declared in the same file that appear in a global
macro or std specialisation are qualified (`QTEST_MAIN(setforge::UpdateDialogTest)`). A .cpp
file whose global items include function bodies (main, extern "C" functions) also gets one
`using namespace setforge;` at global scope just before the first of them, so those bodies
still find the project's names. It is added only where the namespace is already declared
above that point (by a quoted project include or by code earlier in the file); otherwise the
body could not use project names anyway. A file holding nothing but main() and includes gets
only this using directive.

Inside the namespace, a call written `::name(...)` to reach a free function past a member of
the same name becomes `setforge::name(...)` when `name` is a free function declared at file
scope somewhere in the project (gathered from all files first); `::close`, `::getpid` and
other C library calls keep their global qualifier.

Everything else goes inside: `using` declarations and aliases (they may name project
namespaces, e.g. `using tabletest::gridOf;`), forward declarations of project types and
friends, anonymous and named project namespaces (they nest), gtest TEST()/TEST_F()/PrintTo,
Google Benchmark's BENCHMARK(...) registrations, Q_OBJECT classes and extern declarations of
project constants.

Files left alone, each reported with the reason:

  * files that already mention `namespace setforge` (wrapped earlier, or written by hand in
    the namespace); so the script is idempotent and can be re-run at any time;
  * files with no project code at all (only includes, macros or main());
  * files where a namespace boundary would fall inside an #if/#else block (for example an
    include and code mixed in one conditional), or whose braces do not balance once comments
    and literals are blanked. These are printed as HAND with the line to look at, and need a
    hand edit.

Headers are expected to use `#pragma once`; a classic include guard (#ifndef X / #define X /
... / #endif) is recognised too and the namespace closes before its #endif.

The script uses only the standard library, prints each file it changed and each file it
skipped with the reason, and exits 1 when a file could not be read or needs a hand edit.
"""

import argparse
import os
import re
import sys

NAMESPACE = "setforge"
ROOTS = ("src", "tests", "bench", "fuzz")
EXTENSIONS = (".h", ".hpp", ".cpp", ".cc", ".cxx")
# Folders holding data, generated output or third-party code, never project sources.
SKIP_DIRS = {"build", "data", "corpus", "regressions", "third_party", "external", ".git"}

GLOBAL_MACROS = (
    "QTEST_MAIN",
    "QTEST_APPLESS_MAIN",
    "QTEST_GUILESS_MAIN",
    "BENCHMARK_MAIN",
    "Q_DECLARE_METATYPE",
    "Q_DECLARE_TYPEINFO",
    "Q_DECLARE_INTERFACE",
    "Q_IMPORT_PLUGIN",
    "QT_FORWARD_DECLARE_CLASS",
    "QT_FORWARD_DECLARE_STRUCT",
)
FOREIGN_NAMESPACES = ("std", "pugi", "testing", "benchmark", "Qt", "QtPrivate", "QTest", "Ui")
C_GLOBALS = ("environ", "__environ", "optarg", "optind", "opterr", "optopt")

OPEN_LINE = "namespace %s {" % NAMESPACE
CLOSE_LINE = "} // namespace %s" % NAMESPACE
USING_LINE = "using namespace %s;" % NAMESPACE

ALREADY_RE = re.compile(r"\bnamespace\s+%s\b" % NAMESPACE)
PP_RE = re.compile(r"^\s*#\s*(\w*)")
MACRO_CALL_RE = re.compile(r"^\s*([A-Z_][A-Z0-9_]*)\s*(\(.*\))?\s*;?\s*$")
MAIN_RE = re.compile(r"^\s*(?:int|auto)\s+main\s*\(")
EXTERN_C_RE = re.compile(r'^\s*extern\s+"C"')
EXTERN_C_GLOBAL_RE = re.compile(r"^\s*extern\s+[\w\s\*&]*?\b(%s)\s*;" % "|".join(C_GLOBALS))
QT_FORWARD_RE = re.compile(r"^\s*(?:class|struct)\s+Q[A-Z]\w*\s*;")
FOREIGN_NS_RE = re.compile(r"^\s*(?:inline\s+)?namespace\s+(?:%s)\b\s*(?:\{|$)" % "|".join(FOREIGN_NAMESPACES))
STD_SPECIALISATION_RE = re.compile(r"^\s*template\s*<\s*>\s*(?:struct|class|union)\s+(?:::)?std::")
DECLARED_NAME_RE = re.compile(
    r"\b(?:class|struct|union|enum\s+class|enum\s+struct|enum)\s+([A-Za-z_]\w*)(?:\s+final)?\s*(?=[{;]|:(?!:))"
)
ALIAS_NAME_RE = re.compile(r"\busing\s+([A-Za-z_]\w*)\s*=")


class SkipFile(Exception):
    pass


class NeedsHandEdit(SkipFile):
    """The file is left alone but still needs wrapping, by hand."""


def blank_code(text):
    """Returns `text` with comments and literal contents replaced by spaces, same line breaks."""
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if c == "/" and i + 1 < n and text[i + 1] == "/":
            j = text.find("\n", i)
            j = n if j < 0 else j
            # A line comment ending in a backslash continues; rare enough to treat as ended.
            out.append(" " * (j - i))
            i = j
        elif c == "/" and i + 1 < n and text[i + 1] == "*":
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == '"' or (c == "R" and i + 1 < n and text[i + 1] == '"' and not _ident_before(text, i)):
            if c == "R":
                m = re.compile(r'R"([^(\s]{0,16})\(').match(text, i)
                if m:
                    end = text.find(")" + m.group(1) + '"', m.end())
                    end = n if end < 0 else end + len(m.group(1)) + 2
                    out.append('R"' + re.sub(r"[^\n]", " ", text[i + 2 : end - 1]) + '"')
                    i = end
                    continue
                out.append(c)
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != '"' and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append('"' + " " * (min(j, n) - i - 1) + '"')
            i = min(j + 1, n)
        elif c == "'" and not (i > 0 and text[i - 1].isalnum()):
            j = i + 1
            while j < n and text[j] != "'" and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append("'" + " " * (min(j, n) - i - 1) + "'")
            i = min(j + 1, n)
        else:
            out.append(c)
            i += 1
    return "".join(out)


def _ident_before(text, i):
    return i > 0 and (text[i - 1].isalnum() or text[i - 1] == "_")


class Item:
    def __init__(self, start, end, kind, cond_depth, needs_using=False, qualify=False, name=""):
        self.start = start  # first line index
        self.end = end  # last line index, inclusive
        self.kind = kind  # "pp", "code" or "global"
        self.cond_depth = cond_depth  # #if nesting before the item
        self.needs_using = needs_using
        self.qualify = qualify
        self.name = name


def split_items(lines, code):
    """Splits the file into top-level items, leaving blank and comment-only lines between them."""
    items = []
    cond = 0
    i = 0
    n = len(lines)
    while i < n:
        stripped = code[i].strip()
        if not stripped:
            i += 1
            continue
        m = PP_RE.match(code[i])
        if m:
            start = i
            while code[i].rstrip().endswith("\\") and i + 1 < n:
                i += 1
            directive = m.group(1)
            before = cond
            if directive in ("if", "ifdef", "ifndef"):
                cond += 1
            elif directive == "endif":
                cond -= 1
            items.append(Item(start, i, "pp", before, name=directive))
            i += 1
            continue
        start = i
        depth = 0
        parens = 0
        first = stripped
        while True:
            line = code[i]
            if i > start and PP_RE.match(line):
                # Preprocessor lines inside a declaration belong to it.
                i += 1
                if i >= n:
                    raise NeedsHandEdit("unterminated declaration starting on line %d" % (start + 1))
                continue
            depth += line.count("{") - line.count("}")
            parens += line.count("(") - line.count(")")
            tail = line.rstrip()
            if depth == 0 and parens == 0:
                joined = " ".join(c.strip() for c in code[start : i + 1])
                if joined.startswith("QT_BEGIN_NAMESPACE"):
                    # Qt's own namespace wrapper: one item up to its end marker.
                    if "QT_END_NAMESPACE" in joined:
                        break
                elif tail.endswith(";") or tail.endswith("}"):
                    break
                elif i == start and MACRO_CALL_RE.match(joined):
                    break
            if depth < 0:
                raise NeedsHandEdit("unbalanced braces near line %d" % (i + 1))
            i += 1
            if i >= n:
                raise NeedsHandEdit("unterminated declaration starting on line %d" % (start + 1))
        items.append(classify(lines, code, start, i, first, cond))
        i += 1
    return items


def classify(lines, code, start, end, first, cond):
    raw_first = lines[start]
    head = " ".join(c.strip() for c in code[start : min(end, start + 3) + 1])
    has_body = "{" in "".join(code[start : end + 1])
    if MAIN_RE.match(head):
        return Item(start, end, "global", cond, needs_using=True, name="main()")
    if EXTERN_C_RE.match(raw_first):
        return Item(start, end, "global", cond, needs_using=has_body, name='extern "C"')
    if EXTERN_C_GLOBAL_RE.match(head):
        return Item(start, end, "global", cond, name="C library global")
    if QT_FORWARD_RE.match(head):
        return Item(start, end, "global", cond, name="Qt forward declaration")
    if head.startswith("QT_BEGIN_NAMESPACE"):
        return Item(start, end, "global", cond, name="QT_BEGIN_NAMESPACE block")
    if FOREIGN_NS_RE.match(head):
        return Item(start, end, "global", cond, qualify=True, name="foreign namespace block")
    if STD_SPECIALISATION_RE.match(head):
        return Item(start, end, "global", cond, qualify=True, name="std specialisation")
    m = MACRO_CALL_RE.match(head)
    if m and m.group(1) in GLOBAL_MACROS:
        return Item(start, end, "global", cond, qualify=True, name=m.group(1))
    return Item(start, end, "code", cond)


def include_guard_depth(items, code):
    pps = [it for it in items if it.kind == "pp"]
    if len(pps) >= 3 and pps[0].name == "ifndef" and pps[1].name == "define" and pps[-1].name == "endif":
        guard = code[pps[0].start].split()[-1]
        if guard in code[pps[1].start].split():
            return 1, pps[-1]
    return 0, None


def leading_comment_start(lines, code, index, floor):
    """The first line of the comment block directly above line `index` (no blank line between)."""
    j = index
    while j - 1 > floor and lines[j - 1].strip() and not code[j - 1].strip():
        j -= 1
    return j


def inside_pp(item):
    """True for a trailing preprocessor line that ends or continues a conditional of the code."""
    return item.kind == "pp" and item.name in ("endif", "else", "elif", "elifdef", "elifndef")


def item_head(code, item):
    """The item's code up to its first brace or semicolon, on one line."""
    head = " ".join(c.strip() for c in code[item.start : item.end + 1])
    return re.split(r"[{;]", head, maxsplit=1)[0]


def collect_project_functions(paths):
    """Names of the free functions the project declares at file scope, over all given files.

    Code that calls such a function as `::name` (to get past a member of the same name) must
    call `setforge::name` once the function is in the namespace; `::close` and other C library
    functions are not in this set and keep their global qualifier.
    """
    names = set()
    for path in paths:
        try:
            with open(path, encoding="utf-8", newline="") as f:
                text = f.read()
            newline = "\r\n" if "\r\n" in text else "\n"
            lines = text.split(newline)
            code = blank_code(text).split(newline)
            names |= _declared_functions(lines, code)
        except (OSError, UnicodeDecodeError, SkipFile):
            continue
    return names


def _declared_functions(lines, code):
    names = set()
    for it in split_items(lines, code):
        if it.kind != "code":
            continue
        head = item_head(code, it)
        if re.match(r"\s*namespace\s+%s\s*$" % NAMESPACE, head) and it.end > it.start + 1:
            # A file wrapped earlier: look inside its namespace block.
            names |= _declared_functions(lines[it.start + 1 : it.end], code[it.start + 1 : it.end])
            continue
        if re.match(r"\s*(?:namespace|class|struct|union|enum|using|typedef)\b", head):
            continue
        m = re.search(r"([A-Za-z_]\w*)\s*\(", head)
        if m and "=" not in head[: m.start()]:
            names.add(m.group(1))
    return names


def requalify_global_calls(text, functions):
    """Turns `::name` into `setforge::name` for the project's own free functions."""
    if not functions:
        return text

    def repl(m):
        return "%s::%s" % (NAMESPACE, m.group(1)) if m.group(1) in functions else m.group(0)

    return re.sub(r"(?<![\w>\)\]:])::\s*([A-Za-z_]\w*)", repl, text)


def qualify_names(text, names):
    for name in sorted(names, key=len, reverse=True):
        text = re.sub(r"(?<![\w:.>])\b%s\b" % re.escape(name), "%s::%s" % (NAMESPACE, name), text)
    return text


def wrap(path, text, functions=frozenset()):
    """Returns (new_text, notes) or raises SkipFile."""
    if ALREADY_RE.search(text):
        raise SkipFile("already in namespace %s" % NAMESPACE)
    newline = "\r\n" if "\r\n" in text else "\n"
    lines = text.split(newline)
    code = blank_code(text).split(newline)
    if len(code) != len(lines):
        raise NeedsHandEdit("could not blank comments and literals consistently")
    items = split_items(lines, code)
    base, guard_end = include_guard_depth(items, code)
    code_items = [it for it in items if it.kind == "code"]
    if not code_items:
        return using_only(lines, code, items, newline, text)
    first_code = items.index(code_items[0])
    last_code = items.index(code_items[-1])
    # Names this file declares in the namespace, for qualifying them in global macros.
    own = "\n".join("\n".join(code[it.start : it.end + 1]) for it in code_items)
    declared = set(DECLARED_NAME_RE.findall(own)) | set(ALIAS_NAME_RE.findall(own))
    includes_project = any(re.match(r'^\s*#\s*include\s*"', lines[it.start]) for it in items if it.kind == "pp")
    is_header = os.path.splitext(path)[1] in (".h", ".hpp")

    # Decide for each item whether it is inside the namespace.
    inside = []
    for idx, it in enumerate(items):
        if it.kind == "code":
            inside.append(True)
        elif it.kind == "global":
            inside.append(False)
        elif idx < first_code or it is guard_end or it.name == "include":
            inside.append(False)
        elif idx > last_code and all(not inside_pp(x) for x in items[idx:]):
            # Trailing lines that close no conditional of the code (#undef, #pragma) stay out.
            inside.append(False)
        else:
            inside.append(True)

    out = []
    notes = []
    state = False
    used = False
    prev_end = -1
    for idx, it in enumerate(items):
        want = inside[idx]
        gap_start = prev_end + 1
        if want != state:
            if it.cond_depth != base:
                raise NeedsHandEdit(
                    "the namespace would %s inside an #if block at line %d; wrap this file by hand"
                    % ("open" if want else "close", it.start + 1)
                )
            # The comment block directly above the item travels with it.
            cut = leading_comment_start(lines, code, it.start, prev_end)
            body = lines[gap_start:cut]
            if want:
                out.extend(body)
                if out and out[-1].strip():
                    out.append("")
                out.append(OPEN_LINE)
                out.append("")
            else:
                while body and not body[-1].strip():
                    body.pop()
                # Trailing blank lines inside the namespace go before the closing line.
                while out and not out[-1].strip():
                    out.pop()
                out.extend(body)
                out.append("")
                out.append(CLOSE_LINE)
                out.append("")
            out.extend(lines[cut : it.start])
            state = want
        else:
            out.extend(lines[gap_start : it.start])
        chunk = lines[it.start : it.end + 1]
        if it.kind == "code" or it.needs_using:
            joined = newline.join(chunk)
            requalified = requalify_global_calls(joined, functions)
            if requalified != joined:
                notes.append("::name calls of project functions at line %d now say %s::" % (it.start + 1, NAMESPACE))
                chunk = requalified.split(newline)
        if it.kind == "global":
            # A using directive needs the namespace declared above it: by a project header or by
            # code earlier in this file. Without either, the body cannot use project names anyway.
            declared_above = includes_project or idx > first_code
            if it.needs_using and not used and not is_header and declared_above:
                out.append(USING_LINE)
                out.append("")
                used = True
                notes.append("%s at line %d stays global, with %s" % (it.name, it.start + 1, USING_LINE))
            elif it.qualify:
                joined = newline.join(chunk)
                qualified = qualify_names(joined, declared)
                if qualified != joined:
                    notes.append("%s at line %d stays global, names qualified" % (it.name, it.start + 1))
                chunk = qualified.split(newline)
        out.extend(chunk)
        prev_end = it.end
    tail = lines[prev_end + 1 :]
    if state:
        # Close after the last item; keep the file's final newline.
        trailing = list(tail)
        while out and not out[-1].strip():
            out.pop()
        comments = [t for t in trailing if t.strip()]
        out.extend(comments)
        out.append("")
        out.append(CLOSE_LINE)
        out.append("")
    else:
        out.extend(tail)
    result = newline.join(out)
    if text.endswith(newline) and not result.endswith(newline):
        result += newline
    while result.endswith(newline + newline):
        result = result[: -len(newline)]
    return result, notes


def using_only(lines, code, items, newline, text):
    """A file with no project code of its own: main() gets the using directive if it needs one."""
    bodies = [it for it in items if it.kind == "global" and it.needs_using]
    includes_project = any(re.match(r'^\s*#\s*include\s*"', lines[it.start]) for it in items if it.kind == "pp")
    if not bodies or not includes_project:
        raise SkipFile("no project code to wrap (only preprocessor lines, global macros or a main() "
                       "without project headers)")
    it = bodies[0]
    if it.cond_depth != 0:
        raise NeedsHandEdit("main() sits inside an #if block at line %d; add %s by hand" % (it.start + 1, USING_LINE))
    cut = leading_comment_start(lines, code, it.start, -1)
    out = lines[:cut] + [USING_LINE, ""] + lines[cut:]
    return newline.join(out), ["%s at line %d stays global, with %s" % (it.name, it.start + 1, USING_LINE)]


def source_files(root):
    for top in ROOTS:
        base = os.path.join(root, top)
        if not os.path.isdir(base):
            continue
        for dirpath, dirnames, filenames in os.walk(base):
            dirnames[:] = sorted(d for d in dirnames if d not in SKIP_DIRS and not d.startswith("."))
            for name in sorted(filenames):
                if name.endswith(EXTENSIONS):
                    yield os.path.join(dirpath, name)


def main(argv):
    parser = argparse.ArgumentParser(description="Wrap the project's C++ sources in namespace %s." % NAMESPACE)
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        help="repository root (default: the folder above scripts/)")
    parser.add_argument("--dry-run", action="store_true", help="report only, write nothing")
    parser.add_argument("--check", action="store_true",
                        help="write nothing, name only the files left outside the namespace, and exit 1 "
                        "when there is one (ctest runs this on the whole tree)")
    parser.add_argument("paths", nargs="*", help="only these files (default: every source under %s)" % ", ".join(ROOTS))
    args = parser.parse_args(argv)
    if args.check:
        args.dry_run = True

    files = [os.path.abspath(p) for p in args.paths] if args.paths else list(source_files(args.root))
    functions = collect_project_functions(list(source_files(args.root)))
    changed = skipped = manual = failed = 0
    for path in files:
        rel = os.path.relpath(path, args.root)
        try:
            with open(path, encoding="utf-8", newline="") as f:
                text = f.read()
        except (OSError, UnicodeDecodeError) as e:
            print("error    %s: %s" % (rel, e))
            failed += 1
            continue
        try:
            new_text, notes = wrap(path, text, functions)
        except NeedsHandEdit as e:
            print("HAND     %s: %s" % (rel, e))
            manual += 1
            continue
        except SkipFile as e:
            if not args.check:
                print("skipped  %s: %s" % (rel, e))
            skipped += 1
            continue
        if new_text == text:
            if not args.check:
                print("skipped  %s: nothing changed" % rel)
            skipped += 1
            continue
        if not args.dry_run:
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(new_text)
        if args.check:
            print("%s: declares project code outside namespace %s" % (rel, NAMESPACE))
        else:
            print("%s  %s" % ("would wrap" if args.dry_run else "wrapped", rel))
            for note in notes:
                print("           %s" % note)
        changed += 1
    print(
        "%d file(s) %s, %d skipped, %d to wrap by hand, %d error(s)"
        % (changed, "to wrap" if args.dry_run else "wrapped", skipped, manual, failed)
    )
    return 1 if failed or manual or (args.check and changed) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
