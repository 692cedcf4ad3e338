#!/usr/bin/python3
"""A whole calculation done as a screen-reader user does it, through the
desktop's accessibility bus (AT-SPI), on the real program in a real X server.

Run inside its own D-Bus session:  dbus-run-session -- python3 atspi_test.py PROGRAM
It starts Xvfb and the accessibility bus, starts the program with Qt's
accessibility bridge on, then: finds the window, its panels, fields, button,
results and charts by what a screen reader reads; sets the fields through the
editable-text interface; presses Recalculate through its action; reads the
result line and both charts' descriptions; and checks that every change was
announced by an event.
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what, flush=True)
    if not condition:
        failures.append(what)


def start_xvfb():
    # -noreset: the server must not reset when its last client leaves (the
    # accessibility bus launcher connects and leaves before the program comes).
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"],
        pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_fd, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_fd)
    os.environ["DISPLAY"] = ":" + number.decode().strip()
    return xvfb


def pump(seconds):
    """Lets the accessibility bus deliver its events for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def find(root, predicate, depth=0):
    if root is None or depth > 12:
        return None
    if predicate(root):
        return root
    for i in range(root.childCount):
        found = find(root.getChildAtIndex(i), predicate, depth + 1)
        if found is not None:
            return found
    return None


def find_named(root, role, name):
    return find(root, lambda a: a.getRole() == role and a.name == name)


def main():
    program = sys.argv[1]
    xvfb = start_xvfb()
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C")
    app_process = subprocess.Popen([program], env=env)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = None
        for _ in range(200):
            app = find(desktop, lambda a: a.getRole() == pyatspi.ROLE_APPLICATION and a.name == "Soakmark")
            if app is not None and app.childCount > 0:
                break
            time.sleep(0.05)
        check(app is not None, "the program is on the accessibility bus as Soakmark")
        if app is None:
            return
        frame = find_named(app, pyatspi.ROLE_FRAME, "Soakmark")
        check(frame is not None, "the window is a frame named Soakmark")
        for panel in ("Inputs and results", "Wetting patterns"):
            found = find(app, lambda a, n=panel: a.name == n)
            check(found is not None and found.getRole() in (pyatspi.ROLE_PANEL, pyatspi.ROLE_GROUPING),
                  "a grouping named %r (%s)" % (panel, found.getRoleName() if found else "missing"))

        # The changes the program announces, as a screen reader hears them.
        heard = []

        def listener(event):
            heard.append((event.type, event.source.name, event.source.description))

        pyatspi.Registry.registerEventListener(
            listener, "object:property-change:accessible-name", "object:property-change:accessible-description")

        # The four inputs, found by their captions: 20 l/h for 5 h, 100 litres
        # per emitter, on laterals 1.5 m apart with emitters every 0.5 m.
        for caption, value in (("Emitter Application Rate (l/h)", "20"), ("Specify duration of irrigation (h)", "5"),
                               ("Distance between Laterals (m)", "1.5"),
                               ("Emitter Spacing along Laterals (m)", "0.5")):
            field = find_named(app, pyatspi.ROLE_TEXT, caption)
            check(field is not None, "the field %r is found by its caption" % caption)
            if field is None:
                return
            field.queryEditableText().setTextContents(value)
            check(field.queryText().getText(0, -1) == value, "the field %r reads back %s" % (caption, value))

        button = find_named(app, pyatspi.ROLE_PUSH_BUTTON, "Recalculate")
        check(button is not None, "the Recalculate button")
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        check("Press" in names, "Recalculate has a Press action (%s)" % names)
        del heard[:]
        action.doAction(names.index("Press"))
        pump(1.0)

        # The result line, read in order.
        results = {}
        for description in ("Applied depth (mm)", "Applied volume (litres/emitter)", "Applied volume (Ml/ha)"):
            results[description] = find(app, lambda a, d=description: a.description == d)
            check(results[description] is not None, "a result described as %r" % description)
        line = find(app, lambda a: a.name == "Inputs and results")
        parts = []
        if line is not None:
            for i in range(line.childCount):
                child = line.getChildAtIndex(i)
                if child.getRole() == pyatspi.ROLE_LABEL and child.getIndexInParent() >= 0:
                    parts.append(child.name)
        spoken = " ".join(" ".join(parts).split())
        expected = "You have applied: 133 mm or 100 litres/emitter or 1.3 Ml/ha"
        check(expected in spoken, "the result line reads %r (heard %r)" % (expected, spoken))
        for description, value in (("Applied depth (mm)", "133"), ("Applied volume (litres/emitter)", "100"),
                                   ("Applied volume (Ml/ha)", "1.3")):
            acc = results.get(description)
            check(acc is not None and acc.name == value, "%s reads %s" % (description, value))
            check(any(t == "object:property-change:accessible-name" and n == value for t, n, _ in heard),
                  "the change of %s was announced" % description)

        wide = find_named(app, pyatspi.ROLE_CHART, "Wide Pattern")
        narrow = find_named(app, pyatspi.ROLE_CHART, "Narrow Pattern")
        check(wide is not None and narrow is not None, "both charts are charts named by their titles")
        if wide is not None and narrow is not None:
            expected_wide = "Wetting front 767 mm to each side of the emitter and 944 mm deep."
            expected_narrow = ("Wetting front 338 mm to each side of the emitter and 2,099 mm deep. "
                               "Cut at the bottom edge of the chart.")
            check(wide.description == expected_wide, "the wide chart says %r" % wide.description)
            check(narrow.description == expected_narrow, "the narrow chart says %r" % narrow.description)
            for chart, expected_text in ((wide, expected_wide), (narrow, expected_narrow)):
                check(any(t == "object:property-change:accessible-description" and d == expected_text
                          for t, _, d in heard), "the change of %s was announced" % chart.name)

        # Choosing "dry" through its action redraws the fronts, and says so.
        dry = find_named(app, pyatspi.ROLE_RADIO_BUTTON, "dry")
        check(dry is not None, "the condition 'dry' is a radio button")
        if dry is not None and wide is not None:
            del heard[:]
            dry_action = dry.queryAction()
            dry_names = [dry_action.getName(i) for i in range(dry_action.nActions)]
            dry_action.doAction(dry_names.index("Press") if "Press" in dry_names else 0)
            pump(1.0)
            check(wide.description.startswith("Wetting front 668 mm to each side"),
                  "after 'dry' the wide chart says %r" % wide.description)
            check(any(t == "object:property-change:accessible-description" for t, _, _ in heard),
                  "the new fronts were announced")
        pyatspi.Registry.deregisterEventListener(
            listener, "object:property-change:accessible-name", "object:property-change:accessible-description")
    finally:
        app_process.terminate()
        app_process.wait(10)
        bus.terminate()
        xvfb.terminate()


if __name__ == "__main__":
    main()
    if failures:
        print("%d check(s) failed" % len(failures))
        sys.exit(1)
    print("A screen-reader user did the whole calculation")
