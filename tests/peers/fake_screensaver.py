"""Stand-in for a desktop's screen saver (org.freedesktop.ScreenSaver) on a private session
bus. When a caller that holds an inhibition leaves the bus, {"event": "ClientGone"} is
recorded. See standin.py for the common options; besides:

  --path PATH        object path (repeatable; default /org/freedesktop/ScreenSaver)
  --first-cookie N   the cookie the first Inhibit returns; later ones count up (1)
"""

import dbus
import dbus.service

import standin

SERVICE = "org.freedesktop.ScreenSaver"


class ScreenSaver(dbus.service.Object):
    def __init__(self, bus, path, state):
        super().__init__(bus, path)
        self.bus = bus
        self.state = state

    @dbus.service.method(SERVICE, in_signature="ss", out_signature="u",
                         async_callbacks=("reply", "error"), sender_keyword="sender")
    def Inhibit(self, application, reason, reply, error, sender=None):
        self.state["recorder"].call("Inhibit", application, reason)
        watched = self.state["watched"]
        if sender not in watched:
            def owner_changed(owner):
                if owner == "":
                    self.state["recorder"].write({"event": "ClientGone"})
                    watched.pop(sender).cancel()
            watched[sender] = self.bus.watch_name_owner(sender, owner_changed)
        self.state["cookie"] += 1
        standin.answer(self.state["options"], "Inhibit", reply, error,
                       dbus.UInt32(self.state["cookie"] - 1))

    @dbus.service.method(SERVICE, in_signature="u", out_signature="",
                         async_callbacks=("reply", "error"))
    def UnInhibit(self, cookie, reply, error):
        self.state["recorder"].call("UnInhibit", int(cookie))
        standin.answer(self.state["options"], "UnInhibit", reply, error)


def export(bus, options):
    state = {"options": options, "recorder": standin.Recorder(options.record),
             "cookie": options.first_cookie, "watched": {}}
    return [ScreenSaver(bus, path, state)
            for path in options.path or ["/org/freedesktop/ScreenSaver"]]


if __name__ == "__main__":
    PARSER = standin.parser("DBUS_SESSION_BUS_ADDRESS")
    PARSER.add_argument("--path", action="append", default=[])
    PARSER.add_argument("--first-cookie", type=int, default=1)
    OPTIONS = PARSER.parse_args()
    standin.serve(OPTIONS, SERVICE, lambda bus: export(bus, OPTIONS))
