"""Stand-in for NetworkManager on a private bus: the property Connectivity (--connectivity),
the saved connections (--connection TYPE:ID, in order) and their settings (failing for
--fail-settings ID). Options as in standin.py."""

import dbus
import dbus.service

import standin

NM = "org.freedesktop.NetworkManager"


def settings_of(index, kind, name):
    """Sections and values of several types, the keys of every other connection in reverse
    order, so that a reader must look for the "connection" section and its keys."""
    identity = [("type", kind), ("autoconnect", dbus.Boolean(False)),
                ("timestamp", dbus.UInt64(1700000000)), ("id", name)][::index % 2 * 2 - 1]
    return dbus.Dictionary([(kind, {"number": "*99#", "mtu": dbus.UInt32(1500)}),
                            ("connection", dbus.Dictionary(identity, signature="sv")),
                            ("ipv4", {"dns": dbus.Array([dbus.UInt32(8)], signature="u")})],
                           signature="sa{sv}")


class Service(dbus.service.Object):
    def __init__(self, bus, path, options, value=None, name=None):
        super().__init__(bus, path)
        self.options, self.value, self.name = options, value, name

    @standin.method(NM + ".Settings.Connection", out_signature="a{sa{sv}}")
    def GetSettings(self, reply, error):
        standin.answer(self.options, "GetSettings", reply, error, self.value,
                       args=(self._object_path,), fail=self.name in self.options.fail_settings)

    @standin.method(NM + ".Settings", out_signature="ao")
    def ListConnections(self, reply, error):
        standin.answer(self.options, "ListConnections", reply, error,
                       dbus.Array(self.value, signature="o"))

    @standin.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name, reply, error):
        standin.answer(self.options, "Get", reply, error, dbus.UInt32(self.options.connectivity),
                       args=(interface, name), fail=(interface, name) != (NM, "Connectivity"))


def export(bus, options):
    objects, paths = [Service(bus, "/org/freedesktop/NetworkManager", options)], []
    for index, entry in enumerate(options.connection, start=1):
        kind, _, name = entry.partition(":")
        paths.append("/org/freedesktop/NetworkManager/Settings/%d" % index)
        objects.append(Service(bus, paths[-1], options, settings_of(index, kind, name), name))
    return objects + [Service(bus, "/org/freedesktop/NetworkManager/Settings", options, paths)]


if __name__ == "__main__":
    OPTIONS = standin.parser(connectivity=4).parse_args()
    standin.serve(OPTIONS, [NM], lambda bus: export(bus, OPTIONS))
