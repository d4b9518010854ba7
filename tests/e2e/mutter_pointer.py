# Moves the pointer of a GNOME compositor (mutter) through its RemoteDesktop
# D-Bus interface: reads "DX DY" lines from standard input and answers each
# with "moved" once the compositor has taken it. The session lives as long as
# this process's bus connection, so one process does all the moves.
import sys
import time

import dbus

SERVICE = "org.gnome.Mutter.RemoteDesktop"

bus = dbus.SessionBus()
remote = dbus.Interface(bus.get_object(SERVICE, "/org/gnome/Mutter/RemoteDesktop"), SERVICE)
session = dbus.Interface(bus.get_object(SERVICE, remote.CreateSession()), SERVICE + ".Session")
session.Start()
# mutter 48 adds the session's pointer a moment after the session starts and
# drops the motions that come before it: the pointer is sent to the top left
# corner, where it stops, until that has surely taken.
for _ in range(5):
    session.NotifyPointerMotionRelative(-4000.0, -4000.0)
    time.sleep(0.2)
print("ready", flush=True)
for line in sys.stdin:
    dx, dy = (float(value) for value in line.split())
    session.NotifyPointerMotionRelative(dx, dy)
    print("moved", flush=True)
