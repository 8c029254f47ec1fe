#!/usr/bin/python3
"""Fails when the program's own code uses Qt API introduced after the floor it states.

What is new is read from Qt's reference documentation ("This function was introduced in
Qt 5.11." and the like), so nothing here lists Qt's API by hand. What the code uses comes
from two places:
  - the calls in its object files, compiled without inlining, so that inline Qt
    functions leave a symbol too: functions, with their parameter types;
  - the identifiers of its sources: types, typedefs, enum values and macros, which leave
    no symbol.

Usage: check_qt_floor.py --docs DIR --floor 5.9 --sources DIR... --objects FILE...
       [--expect NAME,NAME]   (succeed only when exactly these names are found)
"""

import argparse
import html
import os
import re
import subprocess
import sys

SINCE = re.compile(r"(?:introduced|added)(?: or modified)? in Qt 5\.(\d+)")
CLASS_SINCE = re.compile(r"This (?:class|struct|namespace) was introduced in Qt 5\.(\d+)")
BLOCK = re.compile(r"<!-- \$\$\$(.*?)-->(.*?)<!-- @@@", re.S)
HEADING = re.compile(r"<h3[^>]*>(.*?)</h3>", re.S)
TITLE = re.compile(r'<h1 class="title">([\w:]+) (?:Class|Struct|Namespace)</h1>')
VALUE_ROW = re.compile(r"<tr><td[^>]*><code>([\w:]+)</code></td>(.*?)</tr>", re.S)
IDENT = r"~?[A-Za-z_]\w*"
QUALIFIED = re.compile(rf"{IDENT}(?:\s*::\s*{IDENT})*")
SCALARS = {
    "qint64": "long long", "qlonglong": "long long", "qsizetype": "long long",
    "quint64": "unsigned long long", "qulonglong": "unsigned long long",
    "uint": "unsigned int", "ushort": "unsigned short", "uchar": "unsigned char",
    "ulong": "unsigned long", "qreal": "double", "qint32": "int", "quint32": "unsigned int",
}


def text_of(fragment):
    return html.unescape(re.sub(r"<[^>]+>", "", fragment.replace("<br/>", "\n")))


def strip_templates(name):
    while True:
        stripped = re.sub(r"<[^<>]*>", "", name)
        if stripped == name:
            return name
        name = stripped


def split_top(params):
    parts, depth, current = [], 0, ""
    for c in params:
        if c in "<([":
            depth += 1
        elif c in ">)]":
            depth -= 1
        if c == "," and depth == 0:
            parts.append(current)
            current = ""
        else:
            current += c
    if current.strip():
        parts.append(current)
    return parts


def type_key(param, named):
    """A parameter's type without qualifiers, references, template arguments or name; a
    pointer to const keeps its const, as Qt has overloads that differ only in that (a
    newer one taking `const QPaintDevice *` beside an older one taking `QPaintDevice *`)."""
    param = strip_templates(param.split("=")[0])
    star = param.find("*")
    const_pointee = star >= 0 and re.search(r"\bconst\b", param[:star]) is not None
    param = re.sub(r"\b(const|volatile|struct|class|enum)\b|[&*]", " ", param)
    words = param.split()
    if named and len(words) > 1:
        words = words[:-1]
    key = " ".join(words)
    key = SCALARS.get(key, key)
    return "const " + key if const_pointee else key


def unscoped(key):
    const = key.startswith("const ")
    return const, (key[len("const "):] if const else key).split("::")[-1]


def same_types(a, b):
    """Types as far as both spell them: a scope may be left out where it is implied."""
    return len(a) == len(b) and all(unscoped(x) == unscoped(y) for x, y in zip(a, b))


def signature(decl, named):
    """(qualified name, parameter type keys or None) of a declaration."""
    decl = " ".join(decl.replace("[alias]", " ").split())
    decl = re.sub(r"^\[[^\]]*\]\s*", "", decl)
    if "(" in decl and not decl.startswith("enum"):
        head, _, rest = decl.partition("(")
        params = rest.rsplit(")", 1)[0]
        head = strip_templates(head)
        # Every operator of a class is one name; its parameters tell them apart.
        if "operator" in head:
            head = head[:head.index("operator")] + "operator"
            if head.startswith("operator"):
                head = " " + head
        names = QUALIFIED.findall(head)
        if not names:
            return None, None
        keys = [type_key(p, named) for p in split_top(params)]
        return names[-1].replace(" ", ""), [k for k in keys if k not in ("void", "...")]
    names = QUALIFIED.findall(strip_templates(decl))
    return (names[-1].replace(" ", "") if names else None), None


def read_docs(root):
    """Documented entities: qualified name -> list of (minor version or None, parameters)."""
    docs = {}
    for folder, _, files in os.walk(root):
        for name in files:
            if not name.endswith(".html"):
                continue
            with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
                page = f.read()
            title = TITLE.search(page)
            outside = BLOCK.sub("", page)
            since = CLASS_SINCE.search(outside)
            if title and since:
                docs.setdefault(title.group(1), []).append((int(since.group(1)), None))
            for block in BLOCK.finditer(page):
                body = block.group(2)
                since = SINCE.search(VALUE_ROW.sub("", body))
                minor = int(since.group(1)) if since else None
                for heading in HEADING.findall(body):
                    for decl in text_of(heading).split("\n"):
                        # "name : type" is a property; its access functions come as such.
                        if " : " in decl:
                            continue
                        qualified, params = signature(decl, named=True)
                        if qualified:
                            docs.setdefault(qualified, []).append((minor, params))
                # Values take the enum's version unless some of them state their own:
                # then the enum is an older one that grew.
                rows = [(value, SINCE.search(rest)) for value, rest in VALUE_ROW.findall(body)]
                grown = any(since for _, since in rows)
                for value, since in rows:
                    version = int(since.group(1)) if since else None if grown else minor
                    docs.setdefault(value, []).append((version, None))
    return docs


def stated(entries):
    """The entries without those that only repeat, unversioned, a versioned declaration:
    some functions are documented twice, once in a group that states the version."""
    versioned = [p for m, p in entries if m is not None and p is not None]
    return [(m, p) for m, p in entries if m is not None or p is None or p not in versioned]


def is_new(entries, floor):
    entries = stated(entries or [])
    return bool(entries) and all(m is not None and m > floor for m, _ in entries)


QT_NAME = re.compile(r"(?:[\w:]+ )?(?:\w+::)*[Qq][A-Za-z]")
FUNCTION = re.compile(r"^[0-9a-f]+ <(.*)>:$")
RELOCATION = re.compile(r"\sR_\w+\s+(.*?)(?:[-+]0x[0-9a-f]+)?$")


def used_symbols(objects):
    """What the program's own functions call or refer to. Qt's inline functions are looked
    up themselves, but not what they call in turn: their insides differ between versions."""
    out = subprocess.run(["objdump", "-drwC", *objects], capture_output=True, text=True,
                         check=True).stdout
    ours = False
    for line in out.splitlines():
        function = FUNCTION.match(line)
        if function:
            name = strip_templates(function.group(1))
            ours = not QT_NAME.match(name) and not name.startswith("std::")
            continue
        relocation = RELOCATION.search(line)
        if ours and relocation and "(" in relocation.group(1):
            target = relocation.group(1)
            if QT_NAME.match(strip_templates(target)):
                yield target


def check_symbols(calls, docs, floor):
    found = {}
    # Objects that call nothing in Qt would pass unseen.
    if not calls:
        return {"<no calls into Qt in the objects>": ""}
    for decl in sorted(calls):
        qualified, params = signature(strip_templates(decl), named=False)
        if not qualified:
            continue
        scope = qualified.rsplit("::", 1)[0] if "::" in qualified else None
        if scope and is_new(docs.get(scope), floor):
            found.setdefault(scope, decl)
            continue
        entries = stated(docs.get(qualified, []))
        if not entries or params is None:
            continue
        alike = [m for m, p in entries if p is not None and len(p) == len(params)]
        same = [m for m, p in entries if p is not None and same_types(p, params)]
        versions = same or alike or [m for m, _ in entries]
        if all(m is not None and m > floor for m in versions):
            found.setdefault(qualified, decl)
    return found


def source_tokens(folders):
    for folder in folders:
        for base, _, files in os.walk(folder):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(base, name)
                with open(path, encoding="utf-8") as f:
                    code = f.read()
                # Comments and literals name no API.
                code = re.sub(r'//[^\n]*|/\*.*?\*/|R"\((?:.|\n)*?\)"|"(?:\\.|[^"\\\n])*"|'
                              r"'(?:\\.|[^'\\\n])*'", " ", code, flags=re.S)
                for token in QUALIFIED.findall(code):
                    yield path, token.replace(" ", "")


def check_sources(folders, docs, floor):
    # Names that leave no symbol: types, typedefs, enums and their values, macros. Functions
    # are left to the symbols, which tell overloads apart.
    new = {name for name, entries in docs.items()
           if is_new(entries, floor) and any(p is None for _, p in entries)}
    suffixes = {}
    for name in new:
        parts = name.split("::")
        for i in range(1, len(parts)):
            suffixes.setdefault("::".join(parts[i:]), name)
    found = {}
    for path, token in source_tokens(folders):
        parts = token.split("::")
        # The token and each scope it names: a nested enum or type may be named from the
        # class's scope, by its own name, only as a scope of a bare name is too common.
        for end in range(len(parts), 0, -1):
            head = "::".join(parts[:end])
            name = head if head in new else None
            if name is None and (end > 1 or end < len(parts)):
                name = suffixes.get(head)
            if name is None and end == len(parts) and re.fullmatch(r"Q_[A-Z_]+|QT_[A-Z_]+", head):
                name = head if head in docs and is_new(docs[head], floor) else None
            if name:
                found.setdefault(name, path)
                break
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--docs", required=True)
    parser.add_argument("--floor", default="5.9")
    parser.add_argument("--sources", nargs="+", required=True)
    parser.add_argument("--objects", nargs="+", required=True)
    parser.add_argument("--expect")
    args = parser.parse_args()
    floor = int(args.floor.split(".")[1])

    docs = read_docs(args.docs)
    newer = sum(1 for entries in docs.values() if is_new(entries, floor))
    # Without the documentation every check would pass.
    if newer < 500:
        print(f"FAIL: only {newer} entities after Qt 5.{floor} in {args.docs}; "
              "is qtbase5-doc-html installed?")
        return 1
    # CMake hands a target's objects over as one ;-separated list.
    objects = [o for arg in args.objects for o in arg.split(";") if o]
    calls = set(used_symbols(objects))
    found = check_symbols(calls, docs, floor)
    found.update(check_sources(args.sources, docs, floor))
    for name, where in sorted(found.items()):
        print(f"after Qt 5.{floor}: {name}   ({where})")

    if args.expect is not None:
        expected = set(filter(None, args.expect.split(",")))
        if set(found) != expected:
            print(f"FAIL: expected exactly {sorted(expected)}")
            return 1
        print(f"PASS: the check finds {sorted(expected)}")
        return 0
    print(f"{'FAIL' if found else 'PASS'}: {len(found)} use(s) of Qt API after 5.{floor} "
          f"among {len(calls)} Qt functions called; {newer} documented entities checked")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
