"""Stand-in for a desktop's notification service (org.freedesktop.Notifications) on a
private session bus. Notify is recorded with each hint as [its D-Bus type, its value];
see standin.py for the common options.
"""

import dbus
import dbus.service

import standin

SERVICE = "org.freedesktop.Notifications"
TYPES = {dbus.Byte: "y", dbus.Boolean: "b", dbus.Int32: "i", dbus.UInt32: "u", dbus.String: "s"}


class Notifications(dbus.service.Object):
    def __init__(self, bus, options):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.options = options
        self.recorder = standin.Recorder(options.record)

    @dbus.service.method(SERVICE, in_signature="susssasa{sv}i", out_signature="u",
                         async_callbacks=("reply", "error"))
    def Notify(self, app, replaces, icon, summary, body, actions, hints, expire, reply, error):
        hints = {str(k): [TYPES.get(type(v), type(v).__name__), v] for k, v in hints.items()}
        self.recorder.call("Notify", app, replaces, icon, summary, body, actions, hints, expire)
        standin.answer(self.options, "Notify", reply, error, dbus.UInt32(1))


if __name__ == "__main__":
    OPTIONS = standin.parser("DBUS_SESSION_BUS_ADDRESS").parse_args()
    standin.serve(OPTIONS, SERVICE, lambda bus: Notifications(bus, OPTIONS))
