#!/usr/bin/python3
"""What a screen reader on Linux reads of the running program, through AT-SPI:
the window is a frame named by its caption, the panels and the cells offer
their text but no editing (an attempt to rewrite the statement changes
nothing), and only the control that has the focus says so."""
import sys
import time

import pyatspi

TITLE = "Философия - Логика"


def find_window():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name.endswith(TITLE):
                    return window
        time.sleep(0.1)
    sys.exit("FAIL: no window titled %r on the accessibility bus" % TITLE)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def main():
    failures = []

    def expect(ok, what):
        print(("ok: " if ok else "FAIL: ") + what)
        if not ok:
            failures.append(what)

    window = find_window()
    expect(window.getRole() == pyatspi.ROLE_FRAME, "the window is a frame (%s)" % window.getRoleName())
    nodes = list(walk(window))
    texts = [n for n in nodes if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_EDITBAR)]
    expect(len(texts) >= 11, "the cells and the panels are there (%d)" % len(texts))
    statement = [n for n in texts if n.queryText().getText(0, 5) == "Трима"]
    expect(len(statement) == 1, "the statement panel is read as text")
    for node in texts:
        editable = "EditableText" in pyatspi.listInterfaces(node)
        expect(not editable, "%r offers no editing" % node.name)
        expect(not node.getState().contains(pyatspi.STATE_EDITABLE), "%r is not editable" % node.name)
    if statement:
        panel = statement[0]
        before = panel.queryText().getText(0, -1)
        try:
            panel.queryEditableText().setTextContents("rewritten")
        except NotImplementedError:
            pass
        expect(panel.queryText().getText(0, -1) == before, "the statement cannot be rewritten")
    focused = [(n.name or n.getRoleName()) + " in " + (n.parent.name or n.parent.getRoleName()) for n in nodes if n.getState().contains(pyatspi.STATE_FOCUSED)]
    expect(len(focused) == 1, "one object has the focus: %s" % focused)
    return 1 if failures else 0


sys.exit(main())
