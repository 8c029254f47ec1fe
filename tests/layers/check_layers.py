#!/usr/bin/env python3
"""Fails when a source file includes one of a higher layer.

The layers, lowest first: domain/core, domain/codecs, domain/storage, domain/lists, host.
An include is looked up as the compiler would find it: beside the including file, then
under each layer's folder, then under domain/ (for the "codecs/..." spellings). Includes
that name no file of the tree (Qt, the standard library) are not ours to check.
"""
import argparse
import pathlib
import re
import sys

LAYERS = ["domain/core", "domain/codecs", "domain/storage", "domain/lists", "host"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(root, path):
    relative = path.relative_to(root).as_posix()
    for rank, layer in enumerate(LAYERS):
        if relative.startswith(layer + "/"):
            return rank
    return None


def resolve(root, including, name):
    for folder in [including.parent] + [root / layer for layer in LAYERS] + [root / "domain"]:
        candidate = folder / name
        if candidate.is_file():
            return candidate.resolve()
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root", type=pathlib.Path)
    root = parser.parse_args().root.resolve()
    faults = []
    checked = 0
    for path in sorted(root.glob("**/*")):
        if path.suffix not in (".h", ".cpp") or layer_of(root, path) is None:
            continue
        rank = layer_of(root, path)
        for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target = resolve(root, path, name)
            if target is None:
                continue
            checked += 1
            target_rank = layer_of(root, target)
            if target_rank is not None and target_rank > rank:
                faults.append(f"{path.relative_to(root)}: includes {name} of "
                              f"{LAYERS[target_rank]}, above {LAYERS[rank]}")
    for fault in faults:
        print(fault)
    print(f"{checked} includes of our own checked, {len(faults)} going up")
    return 1 if faults or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
