"""Stand-in for systemd-logind (org.freedesktop.login1.Manager) on a private system bus.

Hibernate(b) and Suspend(b) answer (after --reply-after seconds, as after the user
authenticated; before it with --announce-before-reply, as logind does), emit
PrepareForSleep(true), wait until every delay lock on "sleep" is released (at most
--delay-max), record {"event": "Asleep"}, and after --asleep emit PrepareForSleep(false)
(never with --stay-asleep; nothing follows the answer with --no-sleep-signal; a stray
PrepareForSleep(false) comes first with --stray-resume). Signals are recorded as {"signal":
..., "args": [...]}. Inhibit(ssss) hands out the write end of a pipe; its closing is recorded
as {"event": "InhibitorReleased", "args": [what, mode]}. Options as in standin.py, and
--can-hibernate / --can-suspend VALUE, --error NAME and --error-message TEXT for --fail.
"""

import os

import dbus
import dbus.service
from gi.repository import GLib

import standin

SERVICE = "org.freedesktop.login1"
MANAGER = "org.freedesktop.login1.Manager"


class Manager(dbus.service.Object):
    def __init__(self, bus, options):
        super().__init__(bus, "/org/freedesktop/login1")
        self.options = options
        self.recorder = standin.Recorder(options.record)
        self.inhibitors = {}  # read end of the pipe -> (what, mode)
        self.going_down = None  # the timer that ends the delay of a sleep under way

    def answer(self, method, reply, error, *value):
        self.recorder.call(method)
        standin.answer(self.options, method, reply, error, *value, name=self.options.error,
                       message=self.options.error_message)

    @dbus.service.method(MANAGER, out_signature="s", async_callbacks=("reply", "error"))
    def CanHibernate(self, reply, error):
        self.answer("CanHibernate", reply, error, self.options.can_hibernate)

    @dbus.service.method(MANAGER, out_signature="s", async_callbacks=("reply", "error"))
    def CanSuspend(self, reply, error):
        self.answer("CanSuspend", reply, error, self.options.can_suspend)

    @dbus.service.method(MANAGER, in_signature="b", async_callbacks=("reply", "error"))
    def Hibernate(self, interactive, reply, error):
        self.sleep("Hibernate", interactive, reply, error)

    @dbus.service.method(MANAGER, in_signature="b", async_callbacks=("reply", "error"))
    def Suspend(self, interactive, reply, error):
        self.sleep("Suspend", interactive, reply, error)

    def sleep(self, method, interactive, reply, error):
        self.recorder.call(method, interactive)
        if method in self.options.fail + self.options.stall:
            standin.answer(self.options, method, reply, error, name=self.options.error,
                           message=self.options.error_message)
            return
        if self.options.stray_resume:
            self.PrepareForSleep(False)
        GLib.timeout_add(int(self.options.reply_after * 1000), self.accept, reply)

    def accept(self, reply):
        announce = not self.options.no_sleep_signal
        if announce and self.options.announce_before_reply:
            self.announce()
        reply()
        if announce and not self.options.announce_before_reply:
            self.announce()

    def announce(self):
        self.PrepareForSleep(True)
        self.going_down = GLib.timeout_add(int(self.options.delay_max * 1000), self.fall_asleep)
        self.fall_asleep_when_unlocked()

    def fall_asleep_when_unlocked(self):
        if self.going_down is not None and not any(
                "sleep" in what.split(":") and mode == "delay"
                for what, mode in self.inhibitors.values()):
            GLib.source_remove(self.going_down)
            self.fall_asleep()

    def fall_asleep(self):
        self.going_down = None
        self.recorder.write({"event": "Asleep"})
        if not self.options.stay_asleep:
            GLib.timeout_add(int(self.options.asleep * 1000), self.PrepareForSleep, False)

    @dbus.service.method(MANAGER, in_signature="ssss", out_signature="h",
                         async_callbacks=("reply", "error"))
    def Inhibit(self, what, who, why, mode, reply, error):
        self.recorder.call("Inhibit", what, who, why, mode)
        if "Inhibit" in self.options.fail + self.options.stall:
            standin.answer(self.options, "Inhibit", reply, error)
            return
        read_end, write_end = os.pipe()
        GLib.io_add_watch(read_end, GLib.IO_HUP | GLib.IO_ERR, self.released)
        self.inhibitors[read_end] = (str(what), str(mode))
        reply(dbus.types.UnixFd(write_end))
        os.close(write_end)  # the caller now holds the only write end

    def released(self, fd, _condition):
        what, mode = self.inhibitors.pop(fd)
        self.recorder.write({"event": "InhibitorReleased", "args": [what, mode]})
        os.close(fd)
        self.fall_asleep_when_unlocked()

    @dbus.service.signal(MANAGER, signature="b")
    def PrepareForSleep(self, start):
        self.recorder.write({"signal": "PrepareForSleep", "args": [bool(start)]})


if __name__ == "__main__":
    PARSER = standin.parser("DBUS_SYSTEM_BUS_ADDRESS")
    for name, default in (("--can-hibernate", "yes"), ("--can-suspend", "yes"),
                          ("--error", "org.freedesktop.DBus.Error.AccessDenied"),
                          ("--error-message", "Access denied"), ("--reply-after", 0.0),
                          ("--delay-max", 5.0), ("--asleep", 0.2)):
        PARSER.add_argument(name, default=default, type=type(default))
    for name in ("--no-sleep-signal", "--announce-before-reply", "--stay-asleep",
                 "--stray-resume"):
        PARSER.add_argument(name, action="store_true")
    OPTIONS = PARSER.parse_args()
    standin.serve(OPTIONS, SERVICE, lambda bus: Manager(bus, OPTIONS))
