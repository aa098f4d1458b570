#!/usr/bin/python3
# Stands in for systemd's org.freedesktop.locale1 on a private bus, for the headless mutter of
# gnome.sh: mutter reads its keyboard layout from there (X11Layout), so the tests type through a
# layout that is not US. Usage: locale1.py LAYOUT [VARIANT]; DBUS_SESSION_BUS_ADDRESS names the bus.
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

INTERFACE = """<node><interface name="org.freedesktop.locale1">
<property name="X11Layout" type="s" access="read"/><property name="X11Variant" type="s" access="read"/>
<property name="X11Options" type="s" access="read"/></interface></node>"""
values = {"X11Layout": sys.argv[1], "X11Variant": sys.argv[2] if len(sys.argv) > 2 else "", "X11Options": ""}


def get_property(connection, sender, path, interface, name):
    return GLib.Variant("s", values[name])


def on_bus(connection, name):
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]
    connection.register_object("/org/freedesktop/locale1", info, None, get_property, None)


Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.locale1", Gio.BusNameOwnerFlags.NONE, on_bus, None, None)
GLib.MainLoop().run()
