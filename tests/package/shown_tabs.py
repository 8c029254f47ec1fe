#!/usr/bin/env python3
"""Waits until the program NAME shows a window on the accessibility bus with at least two
tabs and an element named by each TEXT, then prints the tabs' titles one a line.
Elements of a tab that is not the current one are not shown.

Usage: shown_tabs.py NAME SECONDS [TEXT...]
"""
import sys
import time

import pyatspi


def shown(node, tabs, names, depth=0):
    if node is None or depth > 60:
        return
    if node.getState().contains(pyatspi.STATE_SHOWING):
        if node.getRole() == pyatspi.ROLE_PAGE_TAB:
            tabs.append(node.name)
        names.add(node.name)
    for child in node:
        shown(child, tabs, names, depth + 1)


def tabs_when_shown(name, texts):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != name:
            continue
        tabs, names = [], set()
        shown(app, tabs, names)
        if len(tabs) >= 2 and texts <= names:
            return tabs
    return None


def main():
    name, seconds, texts = sys.argv[1], float(sys.argv[2]), set(sys.argv[3:])
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            tabs = tabs_when_shown(name, texts)
        except Exception:  # the tree changed while it was read
            tabs = None
        if tabs:
            print("\n".join(tabs))
            return 0
        time.sleep(0.2)
    print(f"{name!r} showed no two tabs and {sorted(texts)} within {seconds} s", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
