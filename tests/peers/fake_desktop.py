"""Stand-in for a desktop's screen saver (at --path; cookies count up from --first-cookie;
{"event": "ClientGone"} when a caller holding one leaves) and notification service (each
hint recorded as [its D-Bus type, value]) on a private bus. Options as in standin.py."""

import dbus
import dbus.service

import standin

SCREEN_SAVER, NOTIFICATIONS = "org.freedesktop.ScreenSaver", "org.freedesktop.Notifications"
TYPES = {dbus.Byte: "y", dbus.Boolean: "b", dbus.UInt32: "u", dbus.String: "s"}


class Desktop(dbus.service.Object):
    SUPPORTS_MULTIPLE_OBJECT_PATHS = True

    def __init__(self, bus, options):
        super().__init__(bus)
        for path in (options.path, "/org/freedesktop/Notifications"):
            self.add_to_connection(bus, path)
        self.bus, self.options, self.watched = bus, options, {}

    @standin.method(SCREEN_SAVER, in_signature="ss", out_signature="u", sender_keyword="sender")
    def Inhibit(self, application, reason, reply, error, sender=None):
        def owner_changed(owner):
            if owner == "":
                standin.record(self.options, {"event": "ClientGone"})
                self.watched.pop(sender).cancel()
        if sender not in self.watched:
            self.watched[sender] = self.bus.watch_name_owner(sender, owner_changed)
        self.options.first_cookie += 1
        standin.answer(self.options, "Inhibit", reply, error,
                       dbus.UInt32(self.options.first_cookie - 1), args=(application, reason))

    @standin.method(SCREEN_SAVER, in_signature="u")
    def UnInhibit(self, cookie, reply, error):
        standin.answer(self.options, "UnInhibit", reply, error, args=(int(cookie),))

    @standin.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, expire, reply, error):
        hints = {str(k): [TYPES.get(type(v)), v] for k, v in hints.items()}
        standin.answer(self.options, "Notify", reply, error, dbus.UInt32(1),
                       args=(app, replaces, icon, summary, body, actions, hints, expire))


if __name__ == "__main__":
    OPTIONS = standin.parser(path="/org/freedesktop/ScreenSaver", first_cookie=1).parse_args()
    standin.serve(OPTIONS, [SCREEN_SAVER, NOTIFICATIONS], lambda bus: Desktop(bus, OPTIONS))
