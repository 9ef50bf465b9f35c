#!/usr/bin/python3
"""A stand-in for the desktop portal's settings on the session bus, for the
tests: org.freedesktop.portal.Desktop answers "Read" of the appearance's
"contrast" with the number in the file given (read at each call, so that a
test can change it), as the portal does, a variant in a variant; any other
setting is not found. Prints "ready" once it owns its name.
Usage: portal_double.py <contrast file>"""
import sys

from gi.repository import Gio, GLib

NODE = Gio.DBusNodeInfo.new_for_xml("""
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="Read">
      <arg type="s" name="namespace" direction="in"/>
      <arg type="s" name="key" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>""")


def call(_connection, _sender, _path, _interface, method, parameters, invocation):
    if method == "Read" and tuple(parameters.unpack()) == ("org.freedesktop.appearance", "contrast"):
        with open(sys.argv[1], encoding="ascii") as f:
            contrast = int(f.read())
        invocation.return_value(GLib.Variant("(v)", (GLib.Variant("v", GLib.Variant("u", contrast)),)))
    else:
        invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", "no such setting")


def acquired(_connection, _name):
    print("ready", flush=True)


def bus_acquired(connection, _name):
    connection.register_object("/org/freedesktop/portal/desktop", NODE.interfaces[0], call,
                               lambda *_: GLib.Variant("u", 1), None)


Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.portal.Desktop", Gio.BusNameOwnerFlags.NONE,
                 bus_acquired, acquired, lambda *_: sys.exit("portal_double: the name is taken"))
GLib.MainLoop().run()
