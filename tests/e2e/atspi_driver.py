#!/usr/bin/python3
"""Finds the program's controls on the accessibility bus for a test that drives its window.

Reads one command a line on standard input, its fields separated by tabs, and answers each
with one line: "ok" and what was asked, or "error" and why. Waits are on conditions and
end after the SECONDS given. ROLE is an AT-SPI role name ("push button", "text", ...),
NAME an accessible name; "*" takes any, and a NAME starting with "~" any name holding the
rest; "ROLE@TITLE" looks in the window of that title only. N counts matches from 0, top
to bottom and left to right; "-1" takes the last.

  app SECONDS                      the window is on the bus and showing
  find SECONDS ROLE NAME [N]       "X Y WIDTH HEIGHT" of a showing match
  gone SECONDS ROLE NAME           no showing match is left
  described SECONDS ROLE NAME TEXT a showing match's description holds TEXT
  count ROLE NAME                  the number of showing matches
  dump                             the showing tree, on standard error
  text SECONDS ROLE NAME [N]       a match's text, its line ends as "\\n"
  focus SECONDS ROLE NAME          the focused element matches; with 0 seconds, one look
                                   that answers "no" when it does not
  focused                          "ROLE<tab>NAME" of the focused element
  focustext SECONDS                the focused element's text
  alerts                           the alerts shown since the last call, "|" between them
  audit                            what a screen reader user would miss among the showing
                                   elements that take the focus, "|" between findings
"""
import re
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

PROGRAM = "quillor list exporter"
CYRILLIC = re.compile("[А-Яа-яЁё]")
# The roles of what takes the focus in the program, and of what holds several of them.
FOCUS_ROLES = {
    "push button", "text", "password text", "check box", "radio button", "combo box",
    "page tab", "table cell", "table column header", "table", "list", "list item",
    "menu item", "spin button", "slider", "entry", "label", "status bar", "alert",
    "dialog", "scroll bar", "tree", "tree table", "progress bar", "editbar",
}

alerts = []
# The element the last focus event came from; a walk of the tree finds the focus otherwise.
last_focus = []


def on_showing(event):
    try:
        if event.detail1 == 1 and event.source.get_role_name() == "alert":
            alerts.append(event.source.get_name())
    except GLib.Error:
        pass


def on_focus(event):
    if event.detail1 == 1:
        last_focus[:] = [event.source]


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def program():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == PROGRAM:
            app.set_cache_mask(Atspi.Cache.NONE)
            return app
    return None


def showing(node):
    try:
        return node.get_state_set().contains(Atspi.StateType.SHOWING)
    except GLib.Error:
        return False


def walk(node, depth=0, with_depth=False, into_tables=True):
    """The showing elements under node, parents first; a table's cells are most of the
    tree, and a search for what no table holds passes them by."""
    if node is None or depth > 80:
        return
    for i in range(node.get_child_count()):
        try:
            child = node.get_child_at_index(i)
        except GLib.Error:
            continue
        if child is None or not showing(child):
            continue
        yield (child, depth) if with_depth else child
        if into_tables or child.get_role_name() != "table":
            yield from walk(child, depth + 1, with_depth, into_tables)


# What may lie in the table: cells, titles, the delete buttons and a cell's editor.
def in_table(role, name):
    return (role in ("*", "table cell", "table column header", "list", "list item")
            or "строк" in name or name in ("*", "~"))


def walk_windows(app):
    for i in range(app.get_child_count()):
        window = app.get_child_at_index(i)
        if window is not None and showing(window):
            yield window


def extents(node):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    return box.x, box.y, box.width, box.height


def matches(node, role, name):
    if role != "*" and node.get_role_name() != role:
        return False
    if name == "*":
        return True
    own = node.get_name() or ""
    return name[1:] in own if name.startswith("~") else own == name


def found(role, name):
    """Showing matches, top to bottom; a ROLE of "role@title" looks in that window only."""
    app = program()
    if app is None:
        return []
    role, _, window = role.partition("@")
    if window:
        app = next((node for node in walk_windows(app) if node.get_name() == window), None)
    hits = []
    for node in walk(app, into_tables=in_table(role, name)):
        try:
            if matches(node, role, name):
                x, y, w, h = extents(node)
                if w > 0 and h > 0:
                    hits.append(((y, x), node, (x, y, w, h)))
        except GLib.Error:
            continue
    hits.sort(key=lambda hit: hit[0])
    return hits


def until(seconds, condition):
    """condition()'s first true value within seconds, or None."""
    deadline = time.monotonic() + float(seconds)
    while True:
        pump()
        try:
            value = condition()
        except GLib.Error:  # the tree changed while it was read
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            return None
        time.sleep(0.05)


def pick(hits, index):
    index = int(index)
    return hits[index] if -len(hits) <= index < len(hits) else None


def focused_node():
    """The innermost focused element of the active window: a focus scope around it says it
    is focused too, and a window behind a dialog keeps its own."""
    app = program()
    if app is None:
        return None
    if last_focus:
        try:
            node = last_focus[0]
            states = node.get_state_set()
            if (states.contains(Atspi.StateType.FOCUSED) and states.contains(Atspi.StateType.SHOWING)
                    and node.get_child_count() == 0):
                return node
        except GLib.Error:
            pass
    windows = list(walk_windows(app))
    active = [w for w in windows if w.get_state_set().contains(Atspi.StateType.ACTIVE)]
    best, best_depth = None, -1
    for node, depth in (pair for window in (active or windows)
                        for pair in [(window, 0)] + list(walk(window, 1, True))):
        if depth > best_depth and node.get_state_set().contains(Atspi.StateType.FOCUSED):
            best, best_depth = node, depth
    return best


def text_of(node):
    if "Text" not in node.get_interfaces():
        return node.get_name() or ""
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def audit():
    findings = []
    app = program()
    for node in walk(app):
        states = node.get_state_set()
        if not states.contains(Atspi.StateType.FOCUSABLE):
            continue
        role, name = node.get_role_name(), node.get_name() or ""
        where = f"{role} '{name}' at {extents(node)[:2]}"
        if not CYRILLIC.search(name):
            findings.append(f"{where}: no Russian name")
        if role not in FOCUS_ROLES:
            findings.append(f"{where}: the role of no control")
    return findings


def window_shown():
    app = program()
    return app is not None and any(node.get_role_name() == "frame" and extents(node)[2] > 0
                                   for node in walk(app))


def answer(fields):
    command, args = fields[0], fields[1:]
    if command == "app":
        if until(args[0], window_shown):
            return "ok"
        return f"error: the program showed no window on the bus within {args[0]} s"
    if command in ("find", "text"):
        seconds, role, name = args[:3]
        index = args[3] if len(args) > 3 else "0"
        hit = until(seconds, lambda: pick(found(role, name), index))
        if not hit:
            shown = ", ".join(f"'{h[1].get_name()}'" for h in found(role, "*")[:40])
            return f"error: no {role} '{name}' [{index}] within {seconds} s; shown: {shown}"
        if command == "find":
            return "ok " + " ".join(map(str, hit[2]))
        return "ok " + text_of(hit[1]).replace("\\", "\\\\").replace("\n", "\\n")
    if command == "described":
        seconds, role, name, text = args
        if until(seconds, lambda: any(text in (hit[1].get_description() or "")
                                      for hit in found(role, name))):
            return "ok"
        now = "; ".join(f"'{hit[1].get_description()}'" for hit in found(role, name))
        return f"error: {role} '{name}' not described by '{text}' within {seconds} s: {now}"
    if command == "dump":
        for node, depth in walk(program(), with_depth=True):
            print(f"{'  ' * depth}{node.get_role_name()} '{node.get_name()}' "
                  f"'{node.get_description()}' {extents(node)}", file=sys.stderr)
        return "ok"
    if command == "count":
        return f"ok {len(found(args[0], args[1]))}"
    if command == "gone":
        seconds, role, name = args
        if until(seconds, lambda: not found(role, name) or None):
            return "ok"
        return f"error: {role} '{name}' still shows after {seconds} s"
    if command == "focus":
        seconds, role, name = args
        node = until(seconds, lambda: (lambda n: n if n is not None and matches(n, role, name)
                                       else None)(focused_node()))
        if float(seconds) == 0 and not node:
            return "no"
        if node:
            return "ok"
        now = focused_node()
        held = f"{now.get_role_name()} '{now.get_name()}'" if now else "nothing"
        return f"error: {role} '{name}' took no focus within {seconds} s; {held} has it"
    if command == "focustext":
        node = until(args[0], focused_node)
        if not node:
            return "error: nothing has the focus"
        return "ok " + text_of(node).replace("\\", "\\\\").replace("\n", "\\n")
    if command == "focused":
        node = until(10, focused_node)
        return f"ok {node.get_role_name()}\t{node.get_name()}" if node else "error: no focus"
    if command == "alerts":
        pump()
        shown = "|".join(alerts)
        alerts.clear()
        return "ok " + shown
    if command == "audit":
        return "ok " + "|".join(until(10, lambda: program() and [audit()])[0])
    return f"error: unknown command {command}"


def main():
    listener = Atspi.EventListener.new(on_showing)
    listener.register("object:state-changed:showing")
    focus_listener = Atspi.EventListener.new(on_focus)
    focus_listener.register("object:state-changed:focused")
    # The registry is up before this helper starts; this first call says the bus answers.
    Atspi.get_desktop(0).get_child_count()
    print("ok ready", flush=True)
    for line in sys.stdin:
        fields = line.rstrip("\n").split("\t")
        try:
            reply = answer(fields)
        except Exception as error:  # an element went while it was read: say so, go on
            reply = f"error: {fields[0]} failed: {error}"
        print(reply.replace("\n", " "), flush=True)


if __name__ == "__main__":
    main()
