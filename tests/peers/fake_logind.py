"""Stand-in for systemd-logind on a private bus, for the backend tests.

Claims org.freedesktop.login1 and exports /org/freedesktop/login1 with the parts of
org.freedesktop.login1.Manager the program uses. Every call is appended to the --record
file as one JSON line {"method": ..., "args": [...]}. Prints "READY" once the name is
owned, so a test can start asking.

  --can-hibernate / --can-suspend VALUE   answers of CanHibernate / CanSuspend
  --fail METHOD                           answer METHOD with an error (repeatable)
  --error NAME / --error-message TEXT     that error (AccessDenied, "Access denied")
  --stall METHOD                          never answer METHOD (repeatable)
  --no-sleep-signal                       Hibernate/Suspend answer, but nothing follows
  --reply-after SECONDS                   Hibernate/Suspend answer only after this long,
                                          as after the user authenticated (0)
  --announce-before-reply                 emit PrepareForSleep(true) before the answer,
                                          as logind itself does
  --delay-max SECONDS                     how long delay locks may hold the sleep back (5)
  --asleep SECONDS                        how long the machine sleeps (0.2)
  --stay-asleep                           never wake: no PrepareForSleep(false)
  --stray-resume                          emit PrepareForSleep(false) before the sleep,
                                          as a late resume of an earlier one

Hibernate(b) and Suspend(b) play a machine that sleeps and wakes again: they answer,
emit PrepareForSleep(true), wait until every delay lock on "sleep" is released (at most
--delay-max), record {"event": "Asleep"}, and after --asleep emit PrepareForSleep(false).
Each signal is recorded as {"signal": "PrepareForSleep", "args": [...]} when emitted.
Inhibit(ssss) hands out the write end of a pipe; its closing is recorded as
{"event": "InhibitorReleased", "args": [what, mode]}.
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
        self._inhibitors = {}  # read end of the pipe -> (what, mode)
        self._going_down = None  # the timer that ends the delay of a sleep under way

    def _answer(self, method, reply, error, *value):
        if method in self._options.stall:
            return
        if method in self._options.fail:
            error(dbus.exceptions.DBusException(
                self._options.error_message, name=self._options.error))
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
        if method in self._options.fail or method in self._options.stall:
            self._answer(method, reply, error)
            return
        if self._options.stray_resume:
            self.PrepareForSleep(False)
        GLib.timeout_add(int(self._options.reply_after * 1000), self._accept, reply)

    def _accept(self, reply):
        if self._options.no_sleep_signal:
            reply()
            return False
        if self._options.announce_before_reply:
            self._announce()
            reply()
        else:
            reply()
            self._announce()
        return False

    def _announce(self):
        self.PrepareForSleep(True)
        self._going_down = GLib.timeout_add(
            int(self._options.delay_max * 1000), self._fall_asleep)
        self._fall_asleep_when_unlocked()

    def _fall_asleep_when_unlocked(self):
        if self._going_down is None:
            return
        if any("sleep" in what.split(":") and mode == "delay"
               for what, mode in self._inhibitors.values()):
            return
        GLib.source_remove(self._going_down)
        self._fall_asleep()

    def _fall_asleep(self):
        self._going_down = None
        self._recorder.write({"event": "Asleep"})
        if not self._options.stay_asleep:
            GLib.timeout_add(int(self._options.asleep * 1000), self._wake)
        return False

    def _wake(self):
        self.PrepareForSleep(False)
        return False

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
        self._inhibitors[read_end] = (str(what), str(mode))
        reply(dbus.types.UnixFd(write_end))
        os.close(write_end)  # the caller now holds the only write end

    def _released(self, fd, _condition):
        what, mode = self._inhibitors.pop(fd)
        self._recorder.write({"event": "InhibitorReleased", "args": [what, mode]})
        os.close(fd)
        self._fall_asleep_when_unlocked()
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
    parser.add_argument("--error", default="org.freedesktop.DBus.Error.AccessDenied")
    parser.add_argument("--error-message", default="Access denied")
    parser.add_argument("--no-sleep-signal", action="store_true")
    parser.add_argument("--reply-after", type=float, default=0.0)
    parser.add_argument("--announce-before-reply", action="store_true")
    parser.add_argument("--delay-max", type=float, default=5.0)
    parser.add_argument("--asleep", type=float, default=0.2)
    parser.add_argument("--stay-asleep", action="store_true")
    parser.add_argument("--stray-resume", action="store_true")
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
