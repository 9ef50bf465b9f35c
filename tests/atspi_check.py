#!/usr/bin/python3
"""What a screen reader on Linux reads of the running program, through AT-SPI:
the window is a frame named by its caption, the panels and the cells offer
their text but no editing (an attempt to rewrite the statement changes
nothing), and only the control that has the focus says so. Then a few moves
made with the mouse (xdotool): after each, the pools that gained or lost
entries said which, and their new names with the count, the others said
nothing, and the pressed button alone has the focus. Entries a reader still
holds after "Чисти" refilled their pool break nothing."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = "Философия - Логика"
NAME_CHANGED = "object:property-change:accessible-name"
ADDED = "object:children-changed:add"
REMOVED = "object:children-changed:remove"


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


def focused(window):
    return [n for n in walk(window) if n.getState().contains(pyatspi.STATE_FOCUSED)]


def described(node):
    return (node.name or node.getRoleName()) + " in " + (node.parent.name or node.parent.getRoleName())


class Heard:
    """The events a reader listens to, in the order they come. State changes
    too, as Orca does: Qt's bridge sends an entry's removal only to those
    who listen to them."""

    def __init__(self):
        self.events = []
        for kind in ("object:children-changed", NAME_CHANGED, "object:state-changed"):
            pyatspi.Registry.registerEventListener(self.events.append, kind)

    def wait(self, done, seconds=5):
        """Runs the main loop until done() holds, for at most `seconds`."""
        context = GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while True:
            while context.iteration(False):
                pass
            if done() or time.monotonic() > deadline:
                return done()
            time.sleep(0.02)

    def of(self, source, kind):
        return [e for e in self.events if e.type == kind and e.source == source]


def click(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = box.x + box.width // 2, box.y + box.height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def main():
    failures = []

    def expect(ok, what):
        print(("ok: " if ok else "FAIL: ") + what)
        if not ok:
            failures.append(what)

    window = find_window()
    # Listening from the start: the program hears of a new listener in its
    # own time, surely before it answers the questions that follow.
    heard = Heard()
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
    now = [described(n) for n in focused(window)]
    expect(len(now) == 1, "one object has the focus: %s" % now)

    by_name = {n.name: n for n in nodes if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON)}
    pools = {n.name.split(":")[0]: n for n in nodes if n.getRole() == pyatspi.ROLE_LIST}
    announcer = [n for n in nodes if n.getRole() == pyatspi.ROLE_NOTIFICATION]
    expect(sorted(pools) == ["Полу", "Празна", "Пълна"] and len(announcer) == 1,
           "three pools and the announcer (%s)" % sorted(pools))
    if failures:
        return 1

    def press(button, changes):
        """Clicks `button` and waits until the move's words are said. Then
        each pool of `changes` (kind: the indices of the entries it lost,
        in order, those of the entries it gained, its new name) said that
        and nothing more; the rest said nothing."""
        held = {kind: list(pool) for kind, pool in pools.items()}
        heard.events.clear()
        click(by_name[button])
        said = heard.wait(lambda: heard.of(announcer[0], NAME_CHANGED))
        expect(said, "%s: the move's words are said (%r)" % (button, announcer[0].name))
        for kind, pool in pools.items():
            lost, gained, name = changes.get(kind, ([], [], None))
            removed = [e.any_data for e in heard.of(pool, REMOVED)]
            expect(removed == [held[kind][i] for i in lost],
                   "%s: %s lost entries %s (%d removals)" % (button, kind, lost, len(removed)))
            added = [e.any_data.getIndexInParent() for e in heard.of(pool, ADDED)]
            expect(added == gained, "%s: %s gained entries %s (%s)" % (button, kind, gained, added))
            renamed = heard.of(pool, NAME_CHANGED)
            if name is None:
                expect(not renamed, "%s: %s keeps its name (%r)" % (button, kind, pool.name))
            else:
                expect(renamed and pool.name == name, "%s: %s is named %r (%r)" % (button, kind, name, pool.name))
        now = focused(window)
        expect(now == [by_name[button]], "%s: it alone has the focus: %s" % (button, [described(n) for n in now]))
        return held

    press("1 цяла = 2 полу", {"Пълна": ([6], [], "Пълна: 6"), "Полу": ([], [7, 8], "Полу: 9"),
                              "Празна": ([6], [], "Празна: 6")})
    click(by_name["2-0.5"])
    expect(heard.wait(lambda: by_name["2-0.5"].getState().contains(pyatspi.STATE_CHECKED)), "2-0.5 is selected")
    press("Постави бутилка", {"Полу": ([8], [], "Полу: 8")})
    held = press("Чисти", {"Пълна": ([5, 4, 3, 2, 1, 0], list(range(7)), "Пълна: 7"),
                           "Полу": ([7, 6, 5, 4, 3, 2, 1, 0], list(range(7)), "Полу: 7"),
                           "Празна": ([5, 4, 3, 2, 1, 0], list(range(7)), "Празна: 7")})
    # The entries held from before are gone: asked about, each says so (or
    # answers with an error), and the refilled pools read as they are.
    alive = []
    for entries in held.values():
        for entry in entries:
            try:
                if entry.getIndexInParent() >= 0 or not entry.getState().contains(pyatspi.STATE_DEFUNCT):
                    alive.append(entry.name)
            except Exception:  # an object that is gone may answer so
                pass
    expect(not alive, "the %d entries held from before are gone (%s)" % (sum(map(len, held.values())), alive))
    counts = {kind: (pool.childCount, pool[pool.childCount - 1].name if pool.childCount else None)
              for kind, pool in pools.items()}
    expect(all(c == (7, "1") for c in counts.values()), "the refilled pools read 7 entries (%s)" % counts)
    return 1 if failures else 0


sys.exit(main())
