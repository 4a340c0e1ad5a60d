#!/usr/bin/python3
"""A screenshot portal on the session bus for the tests.

mock_portal.py answer|silent FOLDER

Owns org.freedesktop.portal.Desktop and answers Screenshot as the real portal
does: the reply names the request object the caller's handle_token predicts,
and (mode "answer") a Response signal on it carries the file:// URI of a PNG
written into FOLDER with the pixels of PIXELS. Mode "silent" never answers,
like a permission dialog nobody sees. Prints "ready" on stdout once the name
is owned.
"""

import os
import struct
import sys
import zlib

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

# Rows from the top, (red, green, blue); the test expects the same.
PIXELS = [[(255, 0, 0), (0, 255, 0), (0, 0, 255)],
          [(1, 2, 3), (250, 128, 7), (255, 255, 255)]]


def write_png(path):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in PIXELS)
    header = struct.pack(">IIBBBBB", len(PIXELS[0]), len(PIXELS), 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                  + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus, mode, folder):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.bus, self.mode, self.folder, self.count = bus, mode, folder, 0

    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}",
                         out_signature="o", sender_keyword="sender")
    def Screenshot(self, parent_window, options, sender):
        token = str(options["handle_token"])
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (
            sender[1:].replace(".", "_"), token)
        request = Request(self.bus, path)
        if self.mode == "answer":
            self.count += 1
            png = os.path.join(self.folder, "Screenshot-%d.png" % self.count)
            write_png(png)

            def answer():
                request.Response(dbus.UInt32(0), dbus.Dictionary({"uri": "file://" + png}, signature="sv"))
                return False
            # After the reply has gone, as the real portal answers later.
            GLib.timeout_add(50, answer)
        return dbus.ObjectPath(path)


def main():
    mode, folder = sys.argv[1], sys.argv[2]
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus, do_not_queue=True)
    portal = Portal(bus, mode, folder)
    print("ready", flush=True)
    GLib.MainLoop().run()
    del name, portal


if __name__ == "__main__":
    main()
