"""Stand-in for a desktop's screen saver on a private session bus, for the backend tests.

Claims org.freedesktop.ScreenSaver and exports the org.freedesktop.ScreenSaver interface
at --path. Every call is appended to the --record file as one JSON line
{"method": ..., "args": [...]}; when a caller that holds an inhibition leaves the bus,
{"event": "ClientGone"} follows. Prints "READY" once the name is owned.

  --path PATH          object path (repeatable; default /org/freedesktop/ScreenSaver)
  --first-cookie N     the cookie the first Inhibit returns; later ones count up (1)
  --fail METHOD        answer METHOD with AccessDenied (repeatable)
"""

import argparse
import json
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

SERVICE = "org.freedesktop.ScreenSaver"
INTERFACE = "org.freedesktop.ScreenSaver"


class Recorder:
    def __init__(self, path):
        self._file = open(path, "a", encoding="utf-8") if path else None

    def write(self, entry):
        if self._file:
            self._file.write(json.dumps(entry) + "\n")
            self._file.flush()


class ScreenSaver(dbus.service.Object):
    def __init__(self, bus, path, state):
        super().__init__(bus, path)
        self._bus = bus
        self._state = state

    def _refuse(self, method):
        if method in self._state["options"].fail:
            raise dbus.exceptions.DBusException(
                "Access denied", name="org.freedesktop.DBus.Error.AccessDenied")

    @dbus.service.method(INTERFACE, in_signature="ss", out_signature="u",
                         sender_keyword="sender")
    def Inhibit(self, application, reason, sender=None):
        recorder = self._state["recorder"]
        recorder.write({"method": "Inhibit", "args": [str(application), str(reason)]})
        self._refuse("Inhibit")
        cookie = self._state["next_cookie"]
        self._state["next_cookie"] += 1
        self._watch(sender)
        return dbus.UInt32(cookie)

    @dbus.service.method(INTERFACE, in_signature="u", out_signature="")
    def UnInhibit(self, cookie):
        self._state["recorder"].write({"method": "UnInhibit", "args": [int(cookie)]})
        self._refuse("UnInhibit")

    def _watch(self, sender):
        watched = self._state["watched"]
        if sender in watched:
            return

        def owner_changed(owner):
            if owner == "":
                self._state["recorder"].write({"event": "ClientGone"})
                watched.pop(sender).cancel()

        watched[sender] = self._bus.watch_name_owner(sender, owner_changed)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", default=os.environ.get("DBUS_SESSION_BUS_ADDRESS"))
    parser.add_argument("--path", action="append", default=[])
    parser.add_argument("--first-cookie", type=int, default=1)
    parser.add_argument("--record")
    parser.add_argument("--fail", action="append", default=[])
    options = parser.parse_args()
    if not options.address:
        sys.exit("fake_screensaver: no bus address (--address or DBUS_SESSION_BUS_ADDRESS)")

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    state = {"options": options, "recorder": Recorder(options.record),
             "next_cookie": options.first_cookie, "watched": {}}
    objects = [ScreenSaver(bus, path, state)
               for path in options.path or ["/org/freedesktop/ScreenSaver"]]
    if bus.request_name(SERVICE, dbus.bus.NAME_FLAG_DO_NOT_QUEUE) != \
            dbus.bus.REQUEST_NAME_REPLY_PRIMARY_OWNER:
        sys.exit("fake_screensaver: could not own " + SERVICE)
    print("READY", flush=True)
    GLib.MainLoop().run()
    del objects


if __name__ == "__main__":
    main()
