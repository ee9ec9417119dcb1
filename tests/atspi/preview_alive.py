#!/usr/bin/python3
"""Shows the page preview of the running editor, as a teacher does, and reads
the page back over the accessibility bus.

Run by tests/atspi/run.sh (ATSPI_SCRIPT) with the preview plugin beside the
editor, as in the build tree and in an installation of both packages: the
"Mise en page" tab is opened from the keyboard, "afficher le navigateur" is
ticked, and the preview must show the produced page (its text read back from
the web view) while the editor stays alive. Exits 1 on any failure.
"""

import os
import subprocess
import sys
import time

from gi.repository import Atspi, GLib

from read_editor import (answer_alerts, desktop_app, fail, failures, find, give_keyboard, main_window, open_tab,
                         wait_for, walk)

# The sample quiz's certainty sentence, on the questions' page that the
# preview shows first.
PAGE_TEXT = os.environ.get("PREVIEW_TEXT", "Je suis certain(e) de cette réponse.")
EDITOR_PID = int(os.environ["EDITOR_PID"])


def editor_alive():
    try:
        os.kill(EDITOR_PID, 0)
    except ProcessLookupError:
        return False
    # A process that died but is not yet reaped is a zombie: dead all the same.
    with open("/proc/%d/stat" % EDITOR_PID) as stat:
        return stat.read().split(") ")[-1][0] != "Z"


def text_of(obj):
    try:
        text = obj.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:  # not a text
        return ""


def page_shown(window):
    """The preview's web document once it shows the page text, else None."""
    for obj in walk(window):
        if obj.getRoleName() != "document web":
            continue
        for inner in walk(obj):
            if PAGE_TEXT in (inner.name or "") or PAGE_TEXT in text_of(inner):
                return obj
    return None


def main():
    window = wait_for(main_window, 60)
    if window is None:
        print("FAIL: the editor's window never appeared on the accessibility bus")
        return 1
    desktop_app().set_cache_mask(Atspi.Cache.NONE)
    give_keyboard(window)
    open_tab(window, "Mise en page")
    answer_alerts()
    box = find(window, "check box", "afficher le navigateur")
    if box is None:
        fail("no check box 'afficher le navigateur' on the 'Mise en page' tab")
        return 1
    actions = box.queryAction()
    names = [actions.getName(i).lower() for i in range(actions.nActions)]
    try:
        actions.doAction(names.index("toggle") if "toggle" in names else 0)
    except GLib.GError as error:  # the editor left the bus while it acted
        print("the toggle action was not answered:", error.message)

    document = None
    end = time.monotonic() + float(os.environ.get("PREVIEW_SECONDS", "90"))
    while time.monotonic() < end and document is None:
        if not editor_alive():
            fail("the editor died when the preview was shown")
            return 1
        try:
            document = page_shown(window)
        except Exception:  # the tree changed while it was read
            document = None
        if document is None:
            time.sleep(0.5)
    if document is None:
        fail("the preview never showed the page text '%s'" % PAGE_TEXT)
    else:
        print("the preview shows the page: %s '%s'" % (document.getRoleName(), PAGE_TEXT))
    if os.environ.get("SCREENSHOT"):
        subprocess.run(["import", "-window", "root", os.environ["SCREENSHOT"]], check=False)
    # Still alive a moment later, and still answering on the bus.
    time.sleep(2)
    if not editor_alive():
        fail("the editor died after the preview was shown")
    elif main_window() is None:
        fail("the editor's window left the accessibility bus")
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
