"""Stand-in for NetworkManager on a private system bus: Settings.ListConnections, each
connection's GetSettings, the property Connectivity. Options as in standin.py, and:

  --connection TYPE:ID          a saved connection, in the order given (repeatable)
  --fail-settings ID            GetSettings of that connection fails with AccessDenied
  --connectivity N              NMConnectivityState (default 4: full)
"""

import dbus
import dbus.service

import standin

SERVICE = NM = "org.freedesktop.NetworkManager"
SETTINGS_PATH = "/org/freedesktop/NetworkManager/Settings"


def settings_of(index, kind, name):
    """Several sections and value types in varying order, so that a reader must look for the
    "connection" section and its keys instead of a position."""
    identity = [("type", dbus.String(kind)), ("autoconnect", dbus.Boolean(False)),
                ("timestamp", dbus.UInt64(1700000000 + index)), ("id", dbus.String(name))]
    detail = dbus.Dictionary({"number": "*99#", "mtu": dbus.UInt32(1500)}, signature="sv")
    ipv4 = dbus.Dictionary({"dns": dbus.Array([dbus.UInt32(0x08080808)], signature="u")},
                           signature="sv")
    sections = [(kind, detail), ("ipv4", ipv4)]
    if index % 2 == 0:
        identity.reverse()
        sections.reverse()
    sections.insert(1, ("connection", dbus.Dictionary(identity, signature="sv")))
    return dbus.Dictionary(sections, signature="sa{sv}")


class Service(dbus.service.Object):
    def __init__(self, bus, path, options, value=None, name=None):
        super().__init__(bus, path)
        self.options = options
        self.recorder = standin.Recorder(options.record)
        self.value = value  # the settings, or the connections' paths
        self.name = name

    def answer(self, method, reply, error, *value, fail=False):
        standin.answer(self.options, method, reply, error, *value, fail=fail)

    @dbus.service.method(NM + ".Settings.Connection", out_signature="a{sa{sv}}",
                         async_callbacks=("reply", "error"))
    def GetSettings(self, reply, error):
        self.recorder.call("GetSettings", self._object_path)
        self.answer("GetSettings", reply, error, self.value,
                    fail=self.name in self.options.fail_settings)

    @dbus.service.method(NM + ".Settings", out_signature="ao", async_callbacks=("reply", "error"))
    def ListConnections(self, reply, error):
        self.recorder.call("ListConnections")
        self.answer("ListConnections", reply, error, dbus.Array(self.value, signature="o"))

    def properties(self):
        return {"Connectivity": dbus.UInt32(self.options.connectivity)}

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def Get(self, interface, name, reply, error):
        self.recorder.call("Get", interface, name)
        self.answer("Get", reply, error, self.properties().get(name),
                    fail=interface != NM or name not in self.properties())


def export(bus, options):
    objects, paths = [Service(bus, "/org/freedesktop/NetworkManager", options)], []
    for index, entry in enumerate(options.connection, start=1):
        kind, _, name = entry.partition(":")
        paths.append("%s/%d" % (SETTINGS_PATH, index))
        objects.append(Service(bus, paths[-1], options, settings_of(index, kind, name), name))
    return objects + [Service(bus, SETTINGS_PATH, options, paths)]


if __name__ == "__main__":
    PARSER = standin.parser("DBUS_SYSTEM_BUS_ADDRESS")
    PARSER.add_argument("--connection", action="append", default=[])
    PARSER.add_argument("--fail-settings", action="append", default=[])
    PARSER.add_argument("--connectivity", type=int, default=4)
    OPTIONS = PARSER.parse_args()
    standin.serve(OPTIONS, SERVICE, lambda bus: export(bus, OPTIONS))
