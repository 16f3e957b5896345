"""Stand-in for a desktop's notification service on a private session bus, for the
backend tests.

Claims org.freedesktop.Notifications and exports Notify at /org/freedesktop/Notifications.
Every call is appended to the --record file as one JSON line {"method": ..., "args": [...]},
each hint as [its D-Bus type, its value]. Prints "READY" once the name is owned.

  --stall     never answer Notify
"""

import argparse
import json
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

SERVICE = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"
TYPES = {dbus.Byte: "y", dbus.Boolean: "b", dbus.Int32: "i", dbus.UInt32: "u", dbus.String: "s"}


class Notifications(dbus.service.Object):
    def __init__(self, bus, options):
        super().__init__(bus, PATH)
        self._options = options
        self._next_id = 1

    @dbus.service.method(SERVICE, in_signature="susssasa{sv}i", out_signature="u",
                         async_callbacks=("reply", "error"))
    def Notify(self, app, replaces, icon, summary, body, actions, hints, expire, reply, error):
        hints = {str(k): [TYPES.get(type(v), type(v).__name__), v] for k, v in hints.items()}
        entry = {"method": "Notify", "args": [app, replaces, icon, summary, body, actions,
                                              hints, expire]}
        if self._options.record:
            with open(self._options.record, "a", encoding="utf-8") as record:
                record.write(json.dumps(entry, ensure_ascii=False) + "\n")
        if not self._options.stall:
            reply(dbus.UInt32(self._next_id))
            self._next_id += 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", default=os.environ.get("DBUS_SESSION_BUS_ADDRESS"))
    parser.add_argument("--record")
    parser.add_argument("--stall", action="store_true")
    options = parser.parse_args()
    if not options.address:
        sys.exit("fake_notifications: no bus address (--address or DBUS_SESSION_BUS_ADDRESS)")

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    service = Notifications(bus, options)
    if bus.request_name(SERVICE, dbus.bus.NAME_FLAG_DO_NOT_QUEUE) != \
            dbus.bus.REQUEST_NAME_REPLY_PRIMARY_OWNER:
        sys.exit("fake_notifications: could not own " + SERVICE)
    print("READY", flush=True)
    GLib.MainLoop().run()
    del service


if __name__ == "__main__":
    main()
