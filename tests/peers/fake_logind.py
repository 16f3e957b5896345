"""Stand-in for systemd-logind's Manager (options as in standin.py). Hibernate and Suspend
answer after --reply-after seconds, then emit PrepareForSleep(true) (before the answer with
--announce-before-reply, never with --no-sleep-signal), record {"event": "Asleep"} once no
"sleep" delay lock is held (at most 5 s) and emit PrepareForSleep(false) 0.2 s later (never
with --no-resume; also at once with --stray-resume). --leave-before-reply: ends instead. Inhibit hands out a pipe's write end, its closing recorded as
{"event": "InhibitorReleased", "args": [what, mode]}."""

import os

import dbus
import dbus.service
from gi.repository import GLib

import standin

MANAGER = "org.freedesktop.login1.Manager"


class Manager(dbus.service.Object):
    def __init__(self, bus, options):
        super().__init__(bus, "/org/freedesktop/login1")
        self.options = options
        self.inhibitors = {}  # read end of the pipe -> (what, mode)
        self.going_down = None  # the timer that ends the delay of a sleep under way

    @standin.method(MANAGER, out_signature="s")
    def CanHibernate(self, reply, error):
        standin.answer(self.options, "CanHibernate", reply, error, self.options.can_hibernate)

    @standin.method(MANAGER, out_signature="s")
    def CanSuspend(self, reply, error):
        standin.answer(self.options, "CanSuspend", reply, error, self.options.can_suspend)

    @standin.method(MANAGER, in_signature="b")
    def Hibernate(self, interactive, reply, error):
        self.sleep("Hibernate", interactive, reply, error)

    @standin.method(MANAGER, in_signature="b")
    def Suspend(self, interactive, reply, error):
        self.sleep("Suspend", interactive, reply, error)

    def sleep(self, method, interactive, reply, error):
        def accepted():
            if self.options.stray_resume:
                self.PrepareForSleep(False)
            GLib.timeout_add(int(self.options.reply_after * 1000), self.accept, reply)
        standin.answer(self.options, method, accepted, error, args=(interactive,))

    def accept(self, reply):
        if self.options.leave_before_reply:
            os._exit(0)
        announce = not self.options.no_sleep_signal
        if announce and self.options.announce_before_reply:
            self.announce()
        reply()
        if announce and not self.options.announce_before_reply:
            self.announce()

    def announce(self):
        self.PrepareForSleep(True)
        self.going_down = GLib.timeout_add(5000, self.fall_asleep)
        self.fall_asleep_when_unlocked()

    def fall_asleep_when_unlocked(self):
        if self.going_down is not None and ("sleep", "delay") not in self.inhibitors.values():
            GLib.source_remove(self.going_down)
            self.fall_asleep()

    def fall_asleep(self):
        self.going_down = None
        standin.record(self.options, {"event": "Asleep"})
        if not self.options.no_resume:
            GLib.timeout_add(200, self.PrepareForSleep, False)

    @standin.method(MANAGER, in_signature="ssss", out_signature="h")
    def Inhibit(self, what, who, why, mode, reply, error):
        def hand_out():
            read_end, write_end = os.pipe()
            GLib.io_add_watch(read_end, GLib.IO_HUP | GLib.IO_ERR, self.released)
            self.inhibitors[read_end] = (str(what), str(mode))
            reply(dbus.types.UnixFd(write_end))
            os.close(write_end)  # the caller now holds the only write end
        standin.answer(self.options, "Inhibit", hand_out, error, args=(what, who, why, mode))

    def released(self, fd, _condition):
        standin.record(self.options, {"event": "InhibitorReleased",
                                      "args": list(self.inhibitors.pop(fd))})
        os.close(fd)
        self.fall_asleep_when_unlocked()

    @dbus.service.signal(MANAGER, signature="b")
    def PrepareForSleep(self, start):
        standin.record(self.options, {"signal": "PrepareForSleep", "args": [bool(start)]})


if __name__ == "__main__":
    OPTIONS = standin.parser("--no-sleep-signal", "--announce-before-reply", "--stray-resume",
                             "--no-resume", "--leave-before-reply",
                             can_hibernate="yes", can_suspend="yes", reply_after=0.0).parse_args()
    standin.serve(OPTIONS, ["org.freedesktop.login1"], lambda bus: Manager(bus, OPTIONS))
