"""What the stand-in services on a private bus (fake_*.py) share. Each takes --address,
--record FILE (each call appended as a JSON line {"method": ..., "args": [...]}), --fail
METHOD (answered with the error --error, --error-message), --stall METHOD (never answered),
and prints READY once it owns its names."""

import argparse
import json

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

def method(interface, **signatures):
    """A D-Bus method that gets `reply` and `error` to answer through answer()."""
    return dbus.service.method(interface, async_callbacks=("reply", "error"), **signatures)


def parser(*flags, **options):
    result = argparse.ArgumentParser()
    for name in ("--address", "--record"):
        result.add_argument(name)
    for name in ("--fail", "--stall", "--connection", "--fail-settings"):
        result.add_argument(name, action="append", default=[])
    for flag in flags:
        result.add_argument(flag, action="store_true")
    options.update(error="org.freedesktop.DBus.Error.AccessDenied", error_message="Access denied")
    for name, default in options.items():
        result.add_argument("--" + name.replace("_", "-"), default=default, type=type(default))
    return result


def record(options, entry):
    with open(options.record, "a", encoding="utf-8") as out:
        out.write(json.dumps(entry, ensure_ascii=False) + "\n")


def answer(options, method, reply, error, *value, args=(), fail=False):
    """Records the call with its `args`, then replies with `value` unless the options (or
    `fail`) script a stall or an error."""
    record(options, {"method": method,
                     "args": [bool(a) if isinstance(a, dbus.Boolean) else a for a in args]})
    if method in options.stall:
        return
    if fail or method in options.fail:
        error(dbus.exceptions.DBusException(options.error_message, name=options.error))
    else:
        reply(*value)


def serve(options, services, export):
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(options.address)
    alive = export(bus), [dbus.service.BusName(name, bus, do_not_queue=True) for name in services]
    print("READY", flush=True)
    GLib.MainLoop().run()
    del alive
