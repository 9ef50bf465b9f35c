#!/usr/bin/env python3
"""Run by orca_test.sh beside a running Orca: opens the program, plays a
short game with the keyboard (xdotool, to the focused window) and checks
that after each press Orca says the result of the move. The focus stays on
the pressed button: each next step starts from there (a second press of
"Върни бутилка", Tab and Shift+Tab counted from it) and waits for Orca to
name where it lands. Usage: orca_check.py <orca log> <program>"""
import os
import re
import subprocess
import sys
import time

log_path, program = sys.argv[1], sys.argv[2]
failures = []


def spoken():
    """Every utterance so far, in order."""
    try:
        with open(log_path, encoding="utf-8", errors="replace") as f:
            text = f.read()
    except FileNotFoundError:
        return []
    return re.findall(r"SPEECH OUTPUT: '(.*)'", text)


def wait_for(what, after, seconds=20):
    """Waits until Orca has said something containing `what` after its
    first `after` utterances; returns the count then, or None."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        said = spoken()
        for i in range(after, len(said)):
            if what in said[i]:
                return i + 1
        time.sleep(0.1)
    return None


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "150", *names], check=True)


def step(name, pressed, expected, *press):
    """Presses the keys that bring the focus to `pressed` (waiting until
    Orca has said its name), then Space, and waits for `expected`."""
    global position
    if press:
        keys(*press)
        got = wait_for(pressed, position)
        if got is None:
            failures.append("%s: Orca never said the focus reached %r" % (name, pressed))
            return
        position = got
    keys("space")
    got = wait_for(expected, position)
    if got is None:
        failures.append("%s: Orca did not say %r; it said %r" % (name, expected, spoken()[position:]))
        return
    position = got


position = wait_for("Screen reader on", 0, 30)
if position is None:
    print("FAIL: Orca did not start; its log ends with %r" % spoken()[-5:])
    sys.exit(1)
app = subprocess.Popen([program])
try:
    window = ""
    deadline = time.monotonic() + 20
    while not window and time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(app.pid)],
                               capture_output=True, text=True)
        window = found.stdout.split("\n")[0].strip()
        if not window:
            time.sleep(0.1)
    if not window:
        print("FAIL: the program opened no window")
        sys.exit(1)
    subprocess.run(["xdotool", "windowactivate", "--sync", window], check=False)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    got = wait_for("Логика", position)
    if got is None:
        print("FAIL: Orca did not speak the window's first focus; it said %r" % spoken()[position:])
        sys.exit(1)
    position = got
    # From the statement: Tab over the three pools to "1 цяла = 2 полу".
    step("pour", "1 цяла = 2 полу", "Пълна: 6, Полу: 9, Празна: 6", "Tab", "Tab", "Tab", "Tab")
    # Back round to the selectors, then Right and Down to "2-0.5".
    keys("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "Right", "Down")
    got = wait_for("2-0.5", position)
    if got is None:
        failures.append("select: Orca never said the selector 2-0.5")
    else:
        position = got
    step("place", "Постави бутилка", "2-ра, Полу: 1. 2-ра = 1 / 0.5. Полу: 8", "shift+Tab", "shift+Tab")
    step("return", "Върни бутилка", "2-ра, Полу: 0. 2-ра = 0 / 0. Полу: 9", "Tab")
    step("nothing to return", "Върни бутилка", "Без промяна")
    step("clear", "Чисти", "Всички клетки са празни. Пълна: 7, Полу: 7, Празна: 7", *(["shift+Tab"] * 11))
finally:
    app.terminate()
    app.wait(timeout=10)

for failure in failures:
    print("FAIL: " + failure)
print("orca_check: %d failures" % len(failures))
sys.exit(1 if failures else 0)
