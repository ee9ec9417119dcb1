#!/usr/bin/python3
"""Reads the running editor over the desktop's accessibility bus (AT-SPI), as
a screen reader does, and fails on what a blind teacher could not use.

Run by tests/atspi/run.sh inside a private X server and D-Bus session: every
tab and the dialogs opened from the keyboard must name each control, no two
fields shown together may share a name, and the answer group and the colour
picker must announce the answer or colour the keyboard is on and the answer
marked right. Prints what it read and checked; exits 1 on any failure.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

# Roles of the controls a teacher acts on; each must have a name.
CONTROLS = {
    "push button", "toggle button", "check box", "radio button", "text", "entry", "list", "list box",
    "list item", "combo box", "page tab list", "page tab", "spin button", "slider", "scroll bar", "table",
    "tree", "tree table",
}
# Controls told apart by their list or their area, not by their own name.
NOT_FIELDS = {"list item", "page tab", "scroll bar"}

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def desktop_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and (app.name or "").lower() == "tavimor":
            return app
    return None


def windows():
    app = desktop_app()
    if app is None:
        return []
    return [w for w in (app.getChildAtIndex(i) for i in range(app.childCount)) if w is not None]


def wait_for(predicate, seconds=20.0, step=0.2):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = predicate()
        if found:
            return found
        time.sleep(step)
    return None


def main_window():
    for window in windows():
        if window.getRoleName() == "frame" and (window.name or "").endswith(".kwz"):
            return window
    return None


def describe(obj):
    try:
        return "%s '%s'" % (obj.getRoleName(), obj.name)
    except Exception:  # the object left while it was read
        return "(gone)"


def path_of(obj):
    parts = []
    while obj is not None and obj.getRoleName() not in ("frame", "dialog", "alert", "application"):
        if obj.name:
            parts.append(obj.name)
        obj = obj.parent
    return " < ".join(parts[:3])


def walk(obj, depth=0):
    if obj is None or depth > 40:
        return
    yield obj
    for i in range(obj.childCount):
        yield from walk(obj.getChildAtIndex(i), depth + 1)


def audit(window, where):
    """Every control named; no two fields shown together share a name."""
    controls = 0
    names = {}
    for obj in walk(window):
        role = obj.getRoleName()
        if role not in CONTROLS:
            continue
        controls += 1
        name = (obj.name or "").strip()
        if not name:
            fail("%s: %s has no name (in %s)" % (where, role, path_of(obj.parent)))
            continue
        if role in NOT_FIELDS or not obj.getState().contains(pyatspi.STATE_SHOWING):
            continue
        if name in names:
            fail("%s: two fields named '%s': %s and %s" % (where, name, names[name], role))
        else:
            names[name] = role
    print("%s: %d controls read, %d fields shown" % (where, controls, len(names)))
    if controls == 0:
        fail("%s: nothing read" % where)


def find(window, role, name=None, showing=True):
    for obj in walk(window):
        if obj.getRoleName() != role:
            continue
        if name is not None and obj.name != name:
            continue
        if showing and not obj.getState().contains(pyatspi.STATE_SHOWING):
            continue
        return obj
    return None


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True)
    time.sleep(0.4)


def give_keyboard(window):
    """The X server's keyboard to that window, as a desktop gives it to a new
    window or to the one a dialog closed over (this X server has no window
    manager)."""
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^%s$" % window.name, "windowfocus",
                    "--sync"], check=False, capture_output=True, timeout=20)
    time.sleep(0.3)


def alert():
    for window in windows():
        if window.getRoleName() == "alert":
            return window
    return None


def answer_alerts():
    """Message boxes the editor shows on the way (the site's new folders): read, then Enter."""
    answered = 0
    while answered < 10:
        box = wait_for(alert, 1.0)
        if box is None:
            break
        audit(box, "message box")
        give_keyboard(box)
        key("Return")
        answered += 1
    if answered:
        give_keyboard(main_window())


MAIN_TABS = ("Info. Pers.", "Questions", "Messages", "Mise en page", "Style")
QUESTION_PAGES = ("Réponses", "Mess.")


def tab_row(window, names):
    """The row of tabs that holds these tabs."""
    for obj in walk(window):
        if obj.getRoleName() == "page tab list":
            held = {obj.getChildAtIndex(i).name for i in range(obj.childCount)}
            if set(names) <= held:
                return obj
    return None


def current_tab(row):
    for i in range(row.childCount):
        tab = row.getChildAtIndex(i)
        states = tab.getState()
        if states.contains(pyatspi.STATE_SELECTED) or states.contains(pyatspi.STATE_FOCUSED):
            return tab.name
    return row.name  # a row of tabs reads as its current tab


def open_tab(window, name, row_names=MAIN_TABS):
    """The tab chosen as the keyboard chooses it: the arrows on its row."""
    row = tab_row(window, row_names)
    if row is None:
        fail("no row of tabs %s" % (row_names,))
        return
    row.queryComponent().grabFocus()
    time.sleep(0.2)
    for _ in range(len(row_names)):
        now = current_tab(row)
        if now == name:
            break
        before = row_names.index(now) if now in row_names else 0
        key("Right" if before < row_names.index(name) else "Left")
        answer_alerts()
    if current_tab(row) != name:
        fail("the arrows did not open tab '%s' (on '%s')" % (name, current_tab(row)))


def new_dialog(title_start, seconds=10.0):
    def dialog():
        for window in windows():
            if window.getRoleName() in ("dialog", "alert") and (window.name or "").startswith(title_start):
                return window
        return None

    return wait_for(dialog, seconds)


# ---------------------------------------------------------------------------
# What the screen reader hears while the keyboard moves

heard = []


def listen(event):
    source = event.source
    try:
        heard.append((event.type, source.getRoleName(), source.name, source.description, event.detail1))
    except Exception:
        pass


def pump(seconds):
    """Lets the events of the last actions arrive."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def heard_focus_on(role, name):
    return [h for h in heard if h[0].startswith(("focus", "object:state-changed:focused")) and h[1] == role
            and h[2] == name and h[4] == 1]


def last_focus():
    """The control the screen reader last heard the keyboard arrive on."""
    for event, role, name, description, detail in reversed(heard):
        if event == "focus:" or (event == "object:state-changed:focused" and detail == 1):
            return role, name, description
    return None


def tab_until(role, name=None, most=30):
    """Tab, as a teacher does, until the keyboard is on that control; the path taken."""
    path = []
    for _ in range(most):
        heard.clear()
        key("Tab")
        pump(0.3)
        now = last_focus()
        path.append(now)
        if now and now[0] == role and (name is None or now[1] == name):
            return now, path
    fail("Tab never reached %s '%s'; it went %s" % (role, name, [p[:2] if p else None for p in path]))
    return None, path


def check_answer_group(window):
    """The answers as radio buttons: the right one said so, the place of
    each, the keyboard's moves and Space's mark announced."""
    open_tab(window, "Questions")
    reached, path = tab_until("radio button", "Paris")
    if not reached:
        return
    print("Tab went:", " > ".join("%s '%s'" % p[:2] for p in path if p))
    print("  the keyboard is on: %s, %s" % (reached[1], reached[2]))
    if reached[1] != "Paris" or reached[2] != "bonne réponse, 1 sur 4":
        fail("the keyboard arrived on '%s, %s', not on the right answer 'Paris, bonne réponse, 1 sur 4'"
             % (reached[1], reached[2]))
    heard.clear()
    key("Down")
    pump(0.5)
    moved = last_focus()
    print("  Down: %s" % (moved,))
    if not moved or moved[1] != "Lyon" or moved[2] != "2 sur 4":
        fail("Down did not announce 'Lyon, 2 sur 4': %s" % (moved,))
    heard.clear()
    key("space")
    pump(0.8)
    checked = [(h[2], h[4]) for h in heard if h[0] == "object:state-changed:checked" and h[1] == "radio button"]
    print("  Space: checked changes %s" % checked)
    if ("Lyon", 1) not in checked or ("Paris", 0) not in checked:
        fail("Space did not announce Lyon marked and Paris unmarked: %s" % checked)
    group = find(window, "panel", "Réponses de la question") or find(window, "grouping", "Réponses de la question")
    lyon = [c for c in (group.getChildAtIndex(i) for i in range(group.childCount)) if c and c.name == "Lyon"]
    if not lyon or lyon[0].description != "bonne réponse, 2 sur 4" \
            or not lyon[0].getState().contains(pyatspi.STATE_CHECKED):
        fail("Lyon is not read as the right answer after Space")


def check_colour_picker(window):
    """The colour picker from the keyboard: its cells read as named colours."""
    open_tab(window, "Style")
    if not tab_until("push button", "Couleur:")[0]:
        return
    colour = find(window, "push button", "Couleur:").description
    print("  the text colour button holds: %s" % colour)
    heard.clear()
    key("space")
    picker = new_dialog("Choix de noms de couleurs")
    if picker is None:
        fail("Space on the colour button opened no picker")
        return
    pump(0.8)
    audit(picker, "colour picker")
    arrived = last_focus()
    print("  the picker opens on: %s" % (arrived,))
    if not arrived or arrived[0] != "list item" or arrived[1] != colour:
        fail("the picker did not announce the colour it opens on, %s: %s" % (colour, arrived))
        return
    row = find(picker, "list", "couleurs primaires")
    names = [row.getChildAtIndex(i).name for i in range(row.childCount)] if row else []
    if len(names) != 18 or colour not in names:
        fail("the basic colours read as %s" % names)
        return
    heard.clear()
    key("Right")
    pump(0.5)
    moved = last_focus()
    print("  Right: %s" % (moved,))
    if not moved or moved[1] != names[names.index(colour) + 1]:
        fail("Right did not announce the next basic colour: %s" % (moved,))
    key("Escape")
    wait_for(lambda: new_dialog("Choix de noms de couleurs", 0.1) is None, 5)
    give_keyboard(window)


def check_type_dialog(window):
    open_tab(window, "Questions")
    key("F4")
    dialog = new_dialog("Choix du type")
    if dialog is None:
        fail("F4 opened no type dialog")
        return
    audit(dialog, "type dialog")
    key("Escape")
    wait_for(lambda: new_dialog("Choix du type", 0.1) is None, 5)
    give_keyboard(window)


def main():
    window = wait_for(main_window, 60)
    if window is None:
        print("FAIL: the editor's window never appeared on the accessibility bus")
        return 1
    # Read afresh each time: the editor is not asked to announce every change.
    desktop_app().set_cache_mask(Atspi.Cache.NONE)
    give_keyboard(window)
    pyatspi.Registry.registerEventListener(listen, "focus:", "object:state-changed:focused",
                                           "object:state-changed:checked", "object:state-changed:selected")
    for tab in ("Info. Pers.", "Questions", "Messages", "Mise en page", "Style"):
        open_tab(window, tab)
        audit(window, "tab " + tab)
    open_tab(window, "Questions")
    open_tab(window, "Mess.", QUESTION_PAGES)
    audit(window, "tab Questions, page Mess.")
    open_tab(window, "Réponses", QUESTION_PAGES)
    check_answer_group(window)
    check_type_dialog(window)
    check_colour_picker(window)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
