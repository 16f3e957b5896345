#!/usr/bin/python3
"""The window as a screen reader sees and drives it over the accessibility bus (at-spi2-core,
read with pyatspi): the yes/no choices are radio buttons, and their action, like that of a check
box and of the toggle button, changes the window as a click does; the pickers are named for what
they hold; a view change leaves the focus on the window, not on a control nobody sees; and Tab
reaches only what is shown, in the compact view and in the full one. Usage: PROGRAM"""

import os

from desktop import Desktop, check, wait_for

MAIN = "Hibernate-Standby-Somnar-Scheduler"
YES, NO = "ja, dann bitte eine Aufwachzeit einstellen", "nein"
OPTIONS = "Zusätzliche Actionen"
DIAL = "Nach dem Aufwachen eine DFÜ-Internetverbindung herstellen?"
PICKERS = [when + " " + part for when in ("Ruhezeit", "Aufwachzeit")
           for part in ("Tag", "Monat", "Jahr", "Stunde", "Minute")]


def tree(node):
    """Every object of the window but the entries of the pickers' lists."""
    yield node
    if node.getRole() != pyatspi.ROLE_LIST:
        for child in node:
            yield from tree(child)


def find(frame, name, role=None):
    found = [o for o in tree(frame) if o.name == name and role in (None, o.getRole())]
    check(len(found) == 1, "%d objects named %r" % (len(found), name))
    return found[0]


def has(node, state):
    return node.getState().contains(state)


def act(node, action):
    """Runs the object's action as a screen reader does (Toggle, Press)."""
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    check(action in names, "%r offers %s, not %s" % (node.name, names, action))
    actions.doAction(names.index(action))


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def focused(candidates):
    return next((o for o in candidates if has(o, pyatspi.STATE_FOCUSED)), None)


def tab_round(frame, window):
    """Presses Tab until the focus comes back to its first stop; each stop lies in the window."""
    candidates = [o for o in tree(frame) if has(o, pyatspi.STATE_FOCUSABLE)] + [frame]
    key = lambda o: o and (o.getRoleName(), o.name)  # noqa: E731
    stops = [key(wait_for(lambda: focused(candidates), 5, "the focus"))]
    left, top, width, height = extents(frame)
    while len(stops) < 3 or stops[-1] != stops[1]:  # from the first stop after the start
        check(len(stops) < 40, "Tab went on without coming back to %s" % stops[1:2])
        window.x("key", "Tab")
        stop = wait_for(lambda: (f := focused(candidates)) and key(f) != stops[-1] and f, 5,
                        "the focus to move on from %s" % (stops[-1],))
        x, y, w, h = extents(stop)
        check(left <= x and x + w <= left + width and top <= y and y + h <= top + height,
              "Tab reached %s, outside the window" % (key(stop),))
        stops.append(key(stop))
    return {name for _, name in stops[1:]}


with Desktop() as desktop:
    desktop.bus()  # the session bus starts the accessibility bus when the program asks for it
    desktop.x_server()
    desktop.logind()
    os.environ.update({k: desktop.env[k] for k in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY")})
    desktop.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    import pyatspi  # noqa: E402: reads the session bus named above

    desktop.start([desktop.program])
    window = desktop.window()
    frame = wait_for(lambda: next((f for a in pyatspi.Registry.getDesktop(0) if a for f in a
                                   if f and f.name == MAIN), None), 10, "the window on the bus")
    choices = [find(frame, name) for name in (YES, NO)]
    check([c.getRole() for c in choices] == [pyatspi.ROLE_RADIO_BUTTON] * 2,
          "the choices are %s" % [c.getRoleName() for c in choices])
    pickers = [o.name for o in tree(frame) if o.getRole() == pyatspi.ROLE_COMBO_BOX]
    check(pickers[:10] == PICKERS, "the pickers are named %s" % pickers)

    window.x("windowfocus", "--sync", window.id)
    compact = tab_round(frame, window)
    check(YES in compact and DIAL not in compact, "Tab in the compact view: %s" % compact)

    act(choices[0], "Toggle")
    wake_day = find(frame, "Aufwachzeit Tag", pyatspi.ROLE_COMBO_BOX)
    wait_for(lambda: has(wake_day, pyatspi.STATE_SENSITIVE), 5, "the wake-up pickers to open")
    check([has(c, pyatspi.STATE_CHECKED) for c in choices] == [True, False],
          "after the action on %r: ja %s, nein %s" % (YES, *[has(c, pyatspi.STATE_CHECKED)
                                                            for c in choices]))

    height = window.geometry()[2]
    options = find(frame, OPTIONS)
    act(options, "SetFocus")
    wait_for(lambda: has(options, pyatspi.STATE_FOCUSED), 5, "the focus on the toggle button")
    act(options, "Toggle")
    wait_for(lambda: window.geometry()[2] > height + 300, 5, "the options to open")
    after = wait_for(lambda: (f := focused(tree(frame))) and f.name != OPTIONS and f, 5,
                     "the focus to leave the toggle button")
    check(after.getRole() == pyatspi.ROLE_FRAME and after.name == MAIN,
          "after the view change the focus is on %s %r" % (after.getRoleName(), after.name))
    full = tab_round(frame, window)
    check({DIAL, "Neuer Ruhezustand"} <= full, "Tab in the full view: %s" % full)
    renewed = [find(frame, "Neuer " + s) for s in ("Ruhezustand", "Standbyzustand")]
    check({r.getRole() for r in renewed} == {pyatspi.ROLE_RADIO_BUTTON}, "renewed-sleep roles")

    act(find(frame, DIAL), "Toggle")
    dial_name = find(frame, "Name der DFÜ-Verbindung", pyatspi.ROLE_COMBO_BOX)
    wait_for(lambda: has(dial_name, pyatspi.STATE_SENSITIVE), 5, "the dial-up fields to open")
print("ok: radio buttons, actions through the window's rules, pickers by name, Tab to what is shown")
