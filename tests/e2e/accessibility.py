#!/usr/bin/python3
"""What a screen reader finds in one of Durmivela's windows, read through AT-SPI.

Usage: accessibility.py LANGUAGE_FILE WINDOW DUMP
WINDOW is clock or delay (the main window in that layout), settings or about.
Every control the user can reach with the keyboard must be there in its role,
named by its own caption or by the label before it, in the language of the
file; the entries are tied to their labels and described by the hint. What a
screen reader reads of each control on show is appended to DUMP.
"""
import re
import sys
import time

import pyatspi

language_file, window, dump_file = sys.argv[1:4]


def texts(path):
    found = {}
    with open(path, encoding="cp1252", newline="") as f:
        for line in f.read().split("\r\n"):
            m = re.match(r'\s*(-?\d+)\s*,\s*"([^"]*)"', line)
            if m:
                found.setdefault(int(m.group(1)), m.group(2))
    return found


t = texts(language_file)


def readable(key):
    """A caption as it reads: no access-key markers, no closing colon or blanks."""
    return re.sub(r"&(.)", r"\1", t[key]).rstrip(" :")


def hour_minute(key):
    return readable(203) + " (" + t[key] + ")"


# Reachable controls on show, in the window's order: (role, name).
expected = {
    "clock": [("text", hour_minute(210)), ("text", hour_minute(211)),
              ("push button", readable(207)), ("push button", readable(208))],
    "delay": [("combo box", readable(202)), ("push button", readable(207)), ("push button", readable(208))],
    "settings": [("radio button", readable(305)), ("radio button", readable(306)),
                 ("check box", readable(307)), ("check box", readable(308)), ("combo box", readable(304)),
                 ("push button", readable(309)), ("push button", readable(310)), ("push button", readable(311))],
    "about": [("push button", readable(402)), ("push button", readable(403))],
}[window]
title = {"clock": "Durmivela 3.0.16", "delay": "Durmivela 3.0.16", "settings": "Configuración",
         "about": "Acerca de Durmivela"}[window]

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def find_window():
    for _ in range(200):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "durmivela":
                for frame in app:
                    if frame is not None and frame.getRole() == pyatspi.ROLE_FRAME and frame.name == title:
                        return frame
        time.sleep(0.05)
    sys.exit(f"FAIL: no window '{title}' of durmivela on the accessibility bus")


def showing(node):
    states = node.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


def on_show(node):
    """The objects on show below node; a combo box's list belongs to the box."""
    for child in node:
        if child is None or not showing(child):
            continue
        yield child
        if child.getRole() != pyatspi.ROLE_COMBO_BOX:
            yield from on_show(child)


def targets(node, relation):
    return [r.getTarget(i) for r in node.getRelationSet() if r.getRelationType() == relation
            for i in range(r.getNTargets())]


def announced(node):
    """The name a screen reader gives a control. On Linux Qt names a combo box
    by the entry it shows, so a screen reader names it by its label."""
    if node.getRoleName() == "combo box":
        labels = targets(node, pyatspi.RELATION_LABELLED_BY)
        return labels[0].name if labels else ""
    return node.name


def one(role, name):
    matches = [n for n in shown if n.getRoleName() == role and n.name == name]
    check(len(matches) == 1, f"{len(matches)} {role}s named {name!r}")
    return matches[0] if matches else None


def labelled_by(node, label):
    if node is not None and label is not None:
        check(label in targets(node, pyatspi.RELATION_LABELLED_BY), f"{node.name!r} is not labelled by {label.name!r}")
        check(node in targets(label, pyatspi.RELATION_LABEL_FOR), f"{label.name!r} is not the label of {node.name!r}")


frame = find_window()
shown = list(on_show(frame))
reachable = [n for n in shown if n.getState().contains(pyatspi.STATE_FOCUSABLE)]

with open(dump_file, "a", encoding="utf-8") as dump:
    dump.write(f"== {window}: {title}\n")
    for node in shown:
        if node.getRoleName() in ("filler", "menu bar"):
            continue
        value = node.name if node.getRoleName() == "combo box" and node.name != announced(node) else ""
        dump.write(f"{node.getRoleName():12} | {announced(node)}" + (f" | shows: {value}" if value else "")
                   + (f" | description: {node.description}" if node.description else "") + "\n")

found = [(n.getRoleName(), announced(n)) for n in reachable]
check(found == expected, f"reachable controls {found}, expected {expected}")
check(all(name for _, name in found), "a reachable control has no name")
if window in ("clock", "delay"):
    # The clock reads as its heading and the time, and is tied to the heading.
    heading = one("label", readable(201))
    clocks = [n for n in shown if re.fullmatch(re.escape(readable(201)) + r": \d{1,2}:\d\d:\d\d", n.name)]
    check(len(clocks) == 1, "no clock named by its heading and reading the time")
    labelled_by(clocks[0] if clocks else None, heading)
    # The entries and ACEPTAR are described by the hint below them.
    hint = [n for p in shown if p.getRoleName() == "panel" and p.name == readable(206) for n in p]
    check(len(hint) == 1 and hint[0].name, "no hint in the information frame")
    for node in reachable[:-1]:
        check(hint and node.description == hint[0].name, f"{node.name!r} is described as {node.description!r}")
if found == expected:
    # Each entry is tied to the label before it (the hour field, not the minute).
    if window == "clock":
        check(reachable[0].name != reachable[1].name, "the hour and minute fields have one name")
        labelled_by(reachable[0], one("label", readable(203)))
    if window == "delay":
        labelled_by(reachable[0], one("label", readable(202)))
    if window == "settings":
        labelled_by(reachable[4], one("panel", readable(304)))

if failures:
    sys.exit("FAIL (" + window + "): " + "; ".join(failures))
print(f"{window}: {len(reachable)} reachable controls named and in their roles")
