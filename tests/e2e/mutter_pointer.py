# Moves the pointer of a GNOME compositor (mutter) through its RemoteDesktop
# D-Bus interface: reads "DX DY" lines from standard input and answers each
# with "moved" once the compositor has taken it. The session lives as long as
# this process's bus connection, so one process does all the moves.
import sys

import dbus

SERVICE = "org.gnome.Mutter.RemoteDesktop"

bus = dbus.SessionBus()
remote = dbus.Interface(bus.get_object(SERVICE, "/org/gnome/Mutter/RemoteDesktop"), SERVICE)
session = dbus.Interface(bus.get_object(SERVICE, remote.CreateSession()), SERVICE + ".Session")
session.Start()
print("ready", flush=True)
for line in sys.stdin:
    dx, dy = (float(value) for value in line.split())
    session.NotifyPointerMotionRelative(dx, dy)
    print("moved", flush=True)
