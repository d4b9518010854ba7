# Moves the pointer of a Wayland compositor as a mouse would, through KWin's
# org_kde_kwin_fake_input or the virtual pointer of wlroots compositors
# (zwlr_virtual_pointer_manager_v1), speaking the Wayland protocol itself:
# reads "X Y" lines (a point of a screen of the size given), "press",
# "release" and "click" lines (the left button where the pointer is), and
# "type TEXT" lines (lower-case letters and digits, typed through KWin's fake
# input, or through a virtual keyboard of zwp_virtual_keyboard_manager_v1
# with a US layout), from standard input and answers each with "moved" once the compositor has taken
# it; says "ready" first. KWin offers its fake input only to a program that a desktop
# entry names with X-KDE-Wayland-Interfaces.
# Usage: wayland_pointer.py WIDTHxHEIGHT
import array
import os
import socket
import struct
import sys
import time

width, height = (int(length) for length in sys.argv[1].split("x"))
BUTTON_LEFT = 0x110  # the kernel's BTN_LEFT
# The kernel's key codes of the keys that type each character.
ROWS = {"1234567890": 2, "qwertyuiop": 16, "asdfghjkl": 30, "zxcvbnm": 44}
KEYS = {c: first + i for row, first in ROWS.items() for i, c in enumerate(row)}
connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
connection.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
pending = b""
last_id = 1  # wl_display; the client numbers its objects in the order it makes them


def new_id():
    global last_id
    last_id += 1
    return last_id


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def send(target, opcode, arguments=b"", fd=None):
    size = 8 + len(arguments)
    message = struct.pack("<II", target, size << 16 | opcode) + arguments
    if fd is None:
        connection.sendall(message)
    else:  # a file handed over beside the message
        connection.sendmsg([message], [(socket.SOL_SOCKET, socket.SCM_RIGHTS, array.array("i", [fd]))])


def events():
    global pending
    while True:
        while len(pending) >= 8:
            source, word = struct.unpack("<II", pending[:8])
            if len(pending) < word >> 16:
                break
            yield source, word & 0xFFFF, pending[8 : word >> 16]
            pending = pending[word >> 16 :]
        data = connection.recv(65536)
        if not data:
            sys.exit("wayland_pointer: the compositor closed the connection")
        pending += data


# Waits until the compositor has handled every request sent so far, taking
# the events that come meanwhile.
def roundtrip(on_event=lambda source, opcode, body: None):
    callback = new_id()
    send(1, 0, struct.pack("<I", callback))  # wl_display.sync
    for source, opcode, body in events():
        if source == callback:
            return
        if source == 1 and opcode == 0:
            sys.exit("wayland_pointer: protocol error: %r" % body[12:])
        on_event(source, opcode, body)


registry = new_id()
send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
offered = {}


def take_global(source, opcode, body):
    if source == registry and opcode == 0:
        name, length = struct.unpack("<II", body[:8])
        (version,) = struct.unpack("<I", body[8 + length + (-length % 4) :][:4])
        offered[body[8 : 8 + length - 1].decode()] = (name, version)


roundtrip(take_global)


def bind(interface, version):
    name, most = offered[interface]
    made = new_id()
    arguments = struct.pack("<I", name) + string(interface) + struct.pack("<II", min(version, most), made)
    send(registry, 0, arguments)  # wl_registry.bind
    return made


if "org_kde_kwin_fake_input" in offered:
    fake = bind("org_kde_kwin_fake_input", 4)
    send(fake, 0, string("Tallaro's tests") + string("moves the pointer"))  # authenticate

    def move(x, y):
        send(fake, 9, struct.pack("<ii", int(x * 256), int(y * 256)))  # pointer_motion_absolute

    def press(pressed):
        send(fake, 2, struct.pack("<II", BUTTON_LEFT, int(pressed)))  # button

    def type_text(text):
        for character in text:
            for state in (1, 0):  # pressed, released
                send(fake, 10, struct.pack("<II", KEYS[character], state))  # keyboard_key
                roundtrip()

elif "zwlr_virtual_pointer_manager_v1" in offered:
    manager = bind("zwlr_virtual_pointer_manager_v1", 1)
    pointer = new_id()
    send(manager, 0, struct.pack("<II", 0, pointer))  # create_virtual_pointer, on the default seat

    def move(x, y):
        stamp = int(time.monotonic() * 1000) & 0xFFFFFFFF
        send(pointer, 1, struct.pack("<IIIII", stamp, int(x), int(y), width, height))  # motion_absolute
        send(pointer, 4)  # frame

    def press(pressed):
        stamp = int(time.monotonic() * 1000) & 0xFFFFFFFF
        send(pointer, 2, struct.pack("<III", stamp, BUTTON_LEFT, int(pressed)))  # button
        send(pointer, 4)  # frame

    if "zwp_virtual_keyboard_manager_v1" in offered:
        seat = bind("wl_seat", 1)
        keyboards = bind("zwp_virtual_keyboard_manager_v1", 1)
        keyboard = new_id()
        send(keyboards, 0, struct.pack("<II", seat, keyboard))  # create_virtual_keyboard
        KEYMAP = (b'xkb_keymap { xkb_keycodes { include "evdev+aliases(qwerty)" }; '
                  b'xkb_types { include "complete" }; xkb_compat { include "complete" }; '
                  b'xkb_symbols { include "pc+us" }; };\0')
        keymap = os.memfd_create("keymap")
        os.write(keymap, KEYMAP)
        send(keyboard, 0, struct.pack("<II", 1, len(KEYMAP)), fd=keymap)  # keymap, xkb_v1

        def type_text(text):
            for character in text:
                for state in (1, 0):  # pressed, released
                    stamp = int(time.monotonic() * 1000) & 0xFFFFFFFF
                    send(keyboard, 1, struct.pack("<III", stamp, KEYS[character], state))  # key
                    roundtrip()

else:
    sys.exit("wayland_pointer: the compositor offers no way to move the pointer")
roundtrip()
print("ready", flush=True)
for line in sys.stdin:
    word = line.strip()
    if word.startswith("type "):
        type_text(word[5:])
        word = "typed"
    if word in ("press", "click"):
        press(True)
    if word == "click":
        roundtrip()
    if word in ("release", "click"):
        press(False)
    elif word not in ("press", "typed"):
        move(*(float(value) for value in line.split()))
    roundtrip()
    print("moved", flush=True)
