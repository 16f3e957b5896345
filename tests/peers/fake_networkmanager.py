"""Stand-in for NetworkManager on a private bus, for the backend tests.

Claims org.freedesktop.NetworkManager and exports:
  /org/freedesktop/NetworkManager/Settings       ListConnections() -> ao
  /org/freedesktop/NetworkManager/Settings/<n>   GetSettings() -> a{sa{sv}}
  /org/freedesktop/NetworkManager                state() -> u, CheckConnectivity() -> u,
                                                 the properties State and Connectivity
Every call is appended to the --record file as one JSON line {"method": ..., "args": [...]}.
Prints "READY" once the name is owned.

  --connection TYPE:ID    a saved connection, in the order given (repeatable)
  --fail-settings ID      GetSettings of that connection fails with AccessDenied
  --stall METHOD          never answer METHOD (repeatable)
  --state N, --connectivity N   NMState and NMConnectivityState (default 70 and 4: online)
"""

import argparse
import json
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

SERVICE = "org.freedesktop.NetworkManager"
NM_PATH = "/org/freedesktop/NetworkManager"
NM = "org.freedesktop.NetworkManager"
SETTINGS_PATH = "/org/freedesktop/NetworkManager/Settings"
SETTINGS = "org.freedesktop.NetworkManager.Settings"
CONNECTION = "org.freedesktop.NetworkManager.Settings.Connection"
PROPERTIES = "org.freedesktop.DBus.Properties"


class Recorder:
    def __init__(self, path):
        self._file = open(path, "a", encoding="utf-8") if path else None

    def call(self, method, *args):
        if self._file:
            self._file.write(json.dumps({"method": method, "args": [str(a) for a in args]}) + "\n")
            self._file.flush()


class Service:
    def __init__(self, options, recorder):
        self.options = options
        self.recorder = recorder

    def answer(self, method, reply, error, *value, fail=False):
        if method in self.options.stall:
            return
        if fail:
            error(dbus.exceptions.DBusException(
                "Not allowed", name="org.freedesktop.DBus.Error.AccessDenied"))
            return
        reply(*value)


def settings_of(index, kind, name):
    """Realistic settings: several sections and value types, in varying order, so that a
    reader must look for the "connection" section and its keys instead of a position."""
    identity = [
        ("type", dbus.String(kind)),
        ("uuid", dbus.String("00000000-0000-4000-8000-%012d" % index)),
        ("autoconnect", dbus.Boolean(False)),
        ("timestamp", dbus.UInt64(1700000000 + index)),
        ("id", dbus.String(name)),
    ]
    detail = dbus.Dictionary({
        "number": dbus.String("*99#"),
        "mtu": dbus.UInt32(1500),
    }, signature="sv")
    ipv4 = dbus.Dictionary({
        "method": dbus.String("auto"),
        "address-data": dbus.Array([], signature="a{sv}"),
        "dns": dbus.Array([dbus.UInt32(0x08080808)], signature="u"),
    }, signature="sv")
    sections = [(kind, detail), ("ipv4", ipv4)]
    if index % 2 == 0:
        identity.reverse()
        sections.reverse()
    sections.insert(1, ("connection", dbus.Dictionary(identity, signature="sv")))
    return dbus.Dictionary(sections, signature="sa{sv}")


class Connection(dbus.service.Object):
    def __init__(self, bus, path, service, settings, name):
        super().__init__(bus, path)
        self._service = service
        self._settings = settings
        self._name = name

    @dbus.service.method(CONNECTION, in_signature="", out_signature="a{sa{sv}}",
                         async_callbacks=("reply", "error"))
    def GetSettings(self, reply, error):
        self._service.recorder.call("GetSettings", self._object_path)
        self._service.answer("GetSettings", reply, error, self._settings,
                             fail=self._name in self._service.options.fail_settings)


class Settings(dbus.service.Object):
    def __init__(self, bus, service, paths):
        super().__init__(bus, SETTINGS_PATH)
        self._service = service
        self._paths = paths

    @dbus.service.method(SETTINGS, in_signature="", out_signature="ao",
                         async_callbacks=("reply", "error"))
    def ListConnections(self, reply, error):
        self._service.recorder.call("ListConnections")
        self._service.answer("ListConnections", reply, error,
                             dbus.Array(self._paths, signature="o"))


class NetworkManager(dbus.service.Object):
    def __init__(self, bus, service):
        super().__init__(bus, NM_PATH)
        self._service = service

    def _properties(self):
        return {"State": dbus.UInt32(self._service.options.state),
                "Connectivity": dbus.UInt32(self._service.options.connectivity)}

    @dbus.service.method(NM, in_signature="", out_signature="u",
                         async_callbacks=("reply", "error"))
    def state(self, reply, error):
        self._service.recorder.call("state")
        self._service.answer("state", reply, error, self._properties()["State"])

    @dbus.service.method(NM, in_signature="", out_signature="u",
                         async_callbacks=("reply", "error"))
    def CheckConnectivity(self, reply, error):
        self._service.recorder.call("CheckConnectivity")
        self._service.answer("CheckConnectivity", reply, error,
                             self._properties()["Connectivity"])

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def Get(self, interface, name, reply, error):
        self._service.recorder.call("Get", interface, name)
        if "Get" in self._service.options.stall:
            return
        if interface != NM or name not in self._properties():
            error(dbus.exceptions.DBusException(
                "No such property", name="org.freedesktop.DBus.Error.InvalidArgs"))
            return
        reply(self._properties()[name])

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        self._service.recorder.call("GetAll", interface)
        return self._properties() if interface == NM else {}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", default=os.environ.get("DBUS_SYSTEM_BUS_ADDRESS"))
    parser.add_argument("--connection", action="append", default=[])
    parser.add_argument("--fail-settings", action="append", default=[])
    parser.add_argument("--stall", action="append", default=[])
    parser.add_argument("--state", type=int, default=70)
    parser.add_argument("--connectivity", type=int, default=4)
    parser.add_argument("--record")
    options = parser.parse_args()
    if not options.address:
        sys.exit("fake_networkmanager: no bus address (--address or DBUS_SYSTEM_BUS_ADDRESS)")

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    service = Service(options, Recorder(options.record))
    objects = [NetworkManager(bus, service)]
    paths = []
    for index, entry in enumerate(options.connection, start=1):
        kind, _, name = entry.partition(":")
        path = "%s/%d" % (SETTINGS_PATH, index)
        paths.append(path)
        objects.append(Connection(bus, path, service, settings_of(index, kind, name), name))
    objects.append(Settings(bus, service, paths))
    if bus.request_name(SERVICE, dbus.bus.NAME_FLAG_DO_NOT_QUEUE) != \
            dbus.bus.REQUEST_NAME_REPLY_PRIMARY_OWNER:
        sys.exit("fake_networkmanager: could not own " + SERVICE)
    print("READY", flush=True)
    GLib.MainLoop().run()
    del objects


if __name__ == "__main__":
    main()
