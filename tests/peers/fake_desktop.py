"""Stand-in for a desktop's screen saver (org.freedesktop.ScreenSaver) and notification
service (org.freedesktop.Notifications) on a private session bus. When a caller holding an
inhibition leaves the bus, {"event": "ClientGone"} is recorded; Notify is recorded with each
hint as [its D-Bus type, its value]. Options as in standin.py, and --path PATH (the screen
saver's object path) and --first-cookie N (the first Inhibit's cookie; later ones count up).
"""

import dbus
import dbus.service

import standin

SCREEN_SAVER, NOTIFICATIONS = "org.freedesktop.ScreenSaver", "org.freedesktop.Notifications"
TYPES = {dbus.Byte: "y", dbus.Boolean: "b", dbus.Int32: "i", dbus.UInt32: "u", dbus.String: "s"}


class Desktop(dbus.service.Object):
    SUPPORTS_MULTIPLE_OBJECT_PATHS = True

    def __init__(self, bus, options):
        super().__init__(bus)
        for path in (options.path, "/org/freedesktop/Notifications"):
            self.add_to_connection(bus, path)
        self.bus, self.options, self.watched = bus, options, {}
        self.recorder = standin.Recorder(options.record)
        self.cookie = options.first_cookie

    @dbus.service.method(SCREEN_SAVER, in_signature="ss", out_signature="u",
                         async_callbacks=("reply", "error"), sender_keyword="sender")
    def Inhibit(self, application, reason, reply, error, sender=None):
        self.recorder.call("Inhibit", application, reason)
        if sender not in self.watched:
            def owner_changed(owner):
                if owner == "":
                    self.recorder.write({"event": "ClientGone"})
                    self.watched.pop(sender).cancel()
            self.watched[sender] = self.bus.watch_name_owner(sender, owner_changed)
        self.cookie += 1
        standin.answer(self.options, "Inhibit", reply, error, dbus.UInt32(self.cookie - 1))

    @dbus.service.method(SCREEN_SAVER, in_signature="u", async_callbacks=("reply", "error"))
    def UnInhibit(self, cookie, reply, error):
        self.recorder.call("UnInhibit", int(cookie))
        standin.answer(self.options, "UnInhibit", reply, error)

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u",
                         async_callbacks=("reply", "error"))
    def Notify(self, app, replaces, icon, summary, body, actions, hints, expire, reply, error):
        hints = {str(k): [TYPES.get(type(v), type(v).__name__), v] for k, v in hints.items()}
        self.recorder.call("Notify", app, replaces, icon, summary, body, actions, hints, expire)
        standin.answer(self.options, "Notify", reply, error, dbus.UInt32(1))


if __name__ == "__main__":
    OPTIONS = standin.parser("DBUS_SESSION_BUS_ADDRESS", path="/org/freedesktop/ScreenSaver",
                             first_cookie=1).parse_args()
    standin.serve(OPTIONS, [SCREEN_SAVER, NOTIFICATIONS], lambda bus: Desktop(bus, OPTIONS))
