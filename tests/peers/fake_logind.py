"""Stand-in for systemd-logind on a private bus, for the backend tests.

Claims org.freedesktop.login1 and exports /org/freedesktop/login1 with the parts of
org.freedesktop.login1.Manager the program uses. Every call is appended to the --record
file as one JSON line {"method": ..., "args": [...]}. Prints "READY" once the name is
owned, so a test can start asking.

  --can-hibernate / --can-suspend VALUE   answers of CanHibernate / CanSuspend
  --fail METHOD                           answer METHOD with AccessDenied (repeatable)
  --stall METHOD                          never answer METHOD (repeatable)

Hibernate(b) and Suspend(b) answer at once, then emit PrepareForSleep(true) and
PrepareForSleep(false), as a machine that sleeps and wakes again would. Inhibit(ssss)
hands out the write end of a pipe; its closing is recorded as {"event": "InhibitorReleased"}.
"""

import argparse
import json
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

SERVICE = "org.freedesktop.login1"
PATH = "/org/freedesktop/login1"
MANAGER = "org.freedesktop.login1.Manager"


class Recorder:
    def __init__(self, path):
        self._file = open(path, "a", encoding="utf-8") if path else None

    def write(self, entry):
        if self._file:
            self._file.write(json.dumps(entry) + "\n")
            self._file.flush()

    def call(self, method, *args):
        self.write({"method": method, "args": [plain(a) for a in args]})


def plain(value):
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (dbus.String, dbus.ObjectPath)):
        return str(value)
    return value


class Manager(dbus.service.Object):
    def __init__(self, bus, options, recorder):
        super().__init__(bus, PATH)
        self._options = options
        self._recorder = recorder
        self._inhibitors = []

    def _answer(self, method, reply, error, *value):
        if method in self._options.stall:
            return
        if method in self._options.fail:
            error(dbus.exceptions.DBusException(
                "Access denied", name="org.freedesktop.DBus.Error.AccessDenied"))
            return
        reply(*value)

    @dbus.service.method(MANAGER, in_signature="", out_signature="s",
                         async_callbacks=("reply", "error"))
    def CanHibernate(self, reply, error):
        self._recorder.call("CanHibernate")
        self._answer("CanHibernate", reply, error, self._options.can_hibernate)

    @dbus.service.method(MANAGER, in_signature="", out_signature="s",
                         async_callbacks=("reply", "error"))
    def CanSuspend(self, reply, error):
        self._recorder.call("CanSuspend")
        self._answer("CanSuspend", reply, error, self._options.can_suspend)

    def _sleep(self, method, interactive, reply, error):
        self._recorder.call(method, interactive)
        # Reply first, as logind does: the call returns before the machine goes down.
        self._answer(method, reply, error)
        if method not in self._options.fail and method not in self._options.stall:
            self.PrepareForSleep(True)
            self.PrepareForSleep(False)

    @dbus.service.method(MANAGER, in_signature="b", out_signature="",
                         async_callbacks=("reply", "error"))
    def Hibernate(self, interactive, reply, error):
        self._sleep("Hibernate", interactive, reply, error)

    @dbus.service.method(MANAGER, in_signature="b", out_signature="",
                         async_callbacks=("reply", "error"))
    def Suspend(self, interactive, reply, error):
        self._sleep("Suspend", interactive, reply, error)

    @dbus.service.method(MANAGER, in_signature="ssss", out_signature="h",
                         async_callbacks=("reply", "error"))
    def Inhibit(self, what, who, why, mode, reply, error):
        self._recorder.call("Inhibit", what, who, why, mode)
        if "Inhibit" in self._options.fail or "Inhibit" in self._options.stall:
            self._answer("Inhibit", reply, error)
            return
        read_end, write_end = os.pipe()
        GLib.io_add_watch(read_end, GLib.IO_HUP | GLib.IO_ERR, self._released)
        self._inhibitors.append(read_end)
        reply(dbus.types.UnixFd(write_end))
        os.close(write_end)  # the caller now holds the only write end

    def _released(self, fd, _condition):
        self._recorder.write({"event": "InhibitorReleased"})
        os.close(fd)
        self._inhibitors.remove(fd)
        return False

    @dbus.service.signal(MANAGER, signature="b")
    def PrepareForSleep(self, start):
        self._recorder.write({"signal": "PrepareForSleep", "args": [bool(start)]})


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", default=os.environ.get("DBUS_SYSTEM_BUS_ADDRESS"))
    parser.add_argument("--can-hibernate", default="yes")
    parser.add_argument("--can-suspend", default="yes")
    parser.add_argument("--record")
    parser.add_argument("--fail", action="append", default=[])
    parser.add_argument("--stall", action="append", default=[])
    options = parser.parse_args()
    if not options.address:
        sys.exit("fake_logind: no bus address (--address or DBUS_SYSTEM_BUS_ADDRESS)")

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    manager = Manager(bus, options, Recorder(options.record))
    if bus.request_name(SERVICE, dbus.bus.NAME_FLAG_DO_NOT_QUEUE) != \
            dbus.bus.REQUEST_NAME_REPLY_PRIMARY_OWNER:
        sys.exit("fake_logind: could not own " + SERVICE)
    print("READY", flush=True)
    GLib.MainLoop().run()
    del manager


if __name__ == "__main__":
    main()
