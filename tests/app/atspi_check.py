# SPDX-License-Identifier: MIT
"""Reads the running program's window through the AT-SPI bus, as a screen
reader does, and walks a screen-reader user's road through it.

Run by atspi_test.sh with Debian's python3 (python3-pyatspi); exits 1 on the
first group of failures, printing each.
"""
import subprocess
import sys
import time

import pyatspi

# Each input: its name, its role and the caption that labels it. A caption
# reads as the whole name, since screen readers speak the label in its
# place: "Min." alone would not say which minutes, nor that it is UTC.
INPUTS = [
    ("Longitude degrees", pyatspi.ROLE_TEXT, "Longitude degrees"),
    ("Longitude minutes", pyatspi.ROLE_TEXT, "Longitude minutes"),
    ("Longitude seconds", pyatspi.ROLE_TEXT, "Longitude seconds"),
    ("East or west", pyatspi.ROLE_COMBO_BOX, "East or west"),
    ("Year, UTC", pyatspi.ROLE_TEXT, "Year, UTC"),
    ("Month, UTC", pyatspi.ROLE_COMBO_BOX, "Month, UTC"),
    ("Day, UTC", pyatspi.ROLE_COMBO_BOX, "Day, UTC"),
    ("Hour, UTC", pyatspi.ROLE_COMBO_BOX, "Hour, UTC"),
    ("Minute, UTC", pyatspi.ROLE_TEXT, "Minute, UTC"),
    ("Second, UTC", pyatspi.ROLE_TEXT, "Second, UTC"),
    ("Local Vantoril Time", pyatspi.ROLE_TEXT, "Local Vantoril Time"),
    ("PRESS", pyatspi.ROLE_PUSH_BUTTON, None),
]
# What each combo shows in its text field on a fresh window.
COMBO_VALUES = {"East or west": "E", "Month, UTC": "01", "Day, UTC": "01", "Hour, UTC": " 00"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def finish_group(title):
    if failures:
        for message in failures:
            print("FAIL:", message)
        sys.exit(1)
    print("ok:", title)


def find_application(name, seconds=20):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    print("FAIL: no application", repr(name), "on the accessibility bus")
    sys.exit(1)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def labels_of(node):
    return [relation.getTarget(i).name
            for relation in node.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for i in range(relation.getNTargets())]


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def text_field(combo):
    fields = [combo.getChildAtIndex(i) for i in range(combo.childCount)]
    fields = [f for f in fields if f is not None and f.getRole() == pyatspi.ROLE_TEXT]
    return fields[0] if fields else None


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"PRESS has no Press action: {names}")
    action.doAction(names.index("Press") if "Press" in names else 0)


def wait_for_text(node, expected, seconds=5):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if text_of(node) == expected:
            return True
        time.sleep(0.05)
    return False


app = find_application("VantorilTime")
nodes = list(walk(app))
by_name = {}
for node in nodes:
    by_name.setdefault((node.name, node.getRole()), node)

# 1. Every input is announced by what it asks for, with its role, and its
#    caption, which labels it, reads the same.
inputs = {}
for name, role, caption in INPUTS:
    node = by_name.get((name, role))
    if not check(node is not None, f"nothing named {name!r} with the role {role}"):
        continue
    inputs[name] = node
    if caption is not None:
        check(caption in labels_of(node), f"{name!r} is labelled by {labels_of(node)}, not {caption!r}")
for name, value in COMBO_VALUES.items():
    combo = inputs.get(name)
    if combo is None:
        continue
    field = text_field(combo)
    if check(field is not None, f"combo {name!r} has no text field"):
        check(text_of(field) == value, f"combo {name!r} reads {text_of(field)!r}, expected {value!r}")
finish_group("names, roles and labels of %d inputs" % len(inputs))

# 2. The credits line is a link with exactly one action.
links = [n for n in nodes if n.getRole() == pyatspi.ROLE_LINK]
check(len(links) == 1, f"{len(links)} links")
if links:
    check(links[0].name == "Programed by  Pelvorand", f"link named {links[0].name!r}")
    check(links[0].queryAction().nActions == 1, f"link has {links[0].queryAction().nActions} actions")
finish_group("the credits line is a link with one action")

# 3. The road: PRESS on the fresh window, then a longitude typed through the
#    editable-text interface (as a paste would), W chosen, PRESS again.
result = inputs["Local Vantoril Time"]
press(inputs["PRESS"])
check(wait_for_text(result, "6:41:54"), f"fresh window gives {text_of(result)!r}, expected '6:41:54'")
finish_group("PRESS on a fresh window reads 6:41:54")

inputs["Longitude degrees"].queryEditableText().setTextContents("79")
inputs["Longitude minutes"].queryEditableText().setTextContents("51")
text_field(inputs["East or west"]).queryEditableText().setTextContents("W")
check(text_of(inputs["Longitude degrees"]) == "79", "the degrees box did not take 79")
press(inputs["PRESS"])
check(wait_for_text(result, "1:22:30"), f"79 51 W gives {text_of(result)!r}, expected '1:22:30'")
finish_group("79 deg 51 min W, PRESS, reads 1:22:30")

# 4. The result box is read-only to assistive technology as well: not
#    editable, no editable-text interface, and its text cannot be set.
states = result.getState()
check(states.contains(pyatspi.STATE_READ_ONLY), "the result box is not read-only")
check(not states.contains(pyatspi.STATE_EDITABLE), "the result box reports itself editable")
try:
    result.queryEditableText().setTextContents("hello")
    check(False, "the result box offers the editable-text interface")
except NotImplementedError:
    pass
check(text_of(result) == "1:22:30", f"the result box now reads {text_of(result)!r}")
finish_group("the result box cannot be changed")


# 5. A message box is a modal alert titled "VantorilTime", with no unnamed
#    empty node. A typed letter raises it (the program waits in it, so it
#    is raised by a key, not by a call through the bus).
def find_alert(seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for node in walk(app):
            if node.getRole() == pyatspi.ROLE_ALERT:
                return node
        time.sleep(0.1)
    return None


subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vantoril Time$", "windowfocus", "--sync",
                "key", "a"], check=False, timeout=20)
alert = find_alert()
if check(alert is not None, "no alert after a letter typed into the degrees box"):
    check(alert.name == "VantorilTime", f"the alert is named {alert.name!r}")
    check(alert.getState().contains(pyatspi.STATE_MODAL), "the alert does not report itself modal")
    parts = list(walk(alert))[1:]
    empty = [p.getRoleName() for p in parts if not p.name and p.childCount == 0]
    check(not empty, f"unnamed empty nodes in the alert: {empty}")
    check(any(p.name == "Type only Numbers" for p in parts), "the alert does not say 'Type only Numbers'")
    ok = [p for p in parts if p.getRole() == pyatspi.ROLE_PUSH_BUTTON and p.name == "OK"]
    if check(len(ok) == 1, "the alert has no OK button"):
        ok[0].queryAction().doAction(0)
finish_group("a message box is a modal alert without empty nodes")
