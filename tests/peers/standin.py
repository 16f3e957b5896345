"""What the stand-in services on a private bus (fake_*.py) share: the options all take,
the call record, the scripted answers, and owning the name.

Every stand-in takes --address (default: the bus variable of its bus), --record FILE (each
call appended as one JSON line {"method": ..., "args": [...]}), --fail METHOD (answered
with an error) and --stall METHOD (never answered), and prints READY once it owns its name.
"""

import argparse
import json
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

ACCESS_DENIED = "org.freedesktop.DBus.Error.AccessDenied"


def parser(bus_variable):
    options = argparse.ArgumentParser()
    options.add_argument("--address", default=os.environ.get(bus_variable))
    options.add_argument("--record")
    options.add_argument("--fail", action="append", default=[])
    options.add_argument("--stall", action="append", default=[])
    return options


def plain(value):
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (dbus.String, dbus.ObjectPath)):
        return str(value)
    return value


class Recorder:
    def __init__(self, path):
        self.path = path

    def write(self, entry):
        if self.path:
            with open(self.path, "a", encoding="utf-8") as record:
                record.write(json.dumps(entry, ensure_ascii=False) + "\n")

    def call(self, method, *args):
        self.write({"method": method, "args": [plain(a) for a in args]})


def answer(options, method, reply, error, *value, fail=False, name=ACCESS_DENIED,
           message="Access denied"):
    """Replies with `value`, unless the options (or `fail`) script a stall or an error."""
    if method in options.stall:
        return
    if fail or method in options.fail:
        error(dbus.exceptions.DBusException(message, name=name))
        return
    reply(*value)


def serve(options, service, export):
    """Connects to the bus, exports export(bus)'s objects, owns `service`, says READY, runs."""
    if not options.address:
        sys.exit("%s: no bus address" % service)
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    objects = export(bus)
    if bus.request_name(service, dbus.bus.NAME_FLAG_DO_NOT_QUEUE) != \
            dbus.bus.REQUEST_NAME_REPLY_PRIMARY_OWNER:
        sys.exit("could not own " + service)
    print("READY", flush=True)
    GLib.MainLoop().run()
    del objects
