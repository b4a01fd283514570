#!/usr/bin/python3
# What the user suite needs of a window beyond xdotool:
#   xwindow.py close WINDOW       asks it to close, as a window manager's close
#                                 button does (a WM_DELETE_WINDOW message)
#   xwindow.py icons WINDOW [PNG] prints, top to bottom, the status icon of
#                                 every row the window shows (pending, ok, bad,
#                                 na) and its centre as "x y"; saves the
#                                 screenshot it read to PNG when given
#   xwindow.py screen WINDOW PNG  saves what the screen shows where the window
#                                 is, the windows above it (a tooltip) included
#   xwindow.py sharp WINDOW SCALE succeeds when the window, drawn at scale
#                                 factor SCALE, shows pending icons and each
#                                 holds only its grey and white: an icon
#                                 enlarged from fewer pixels blends the two
import struct
import sys
import zlib

from Xlib import X, display
from Xlib.protocol import event

# The colour that fills each status icon and appears nowhere else.
ICON_COLOURS = {(0xC0, 0xC0, 0xC0): "pending", (0x1E, 0x9E, 0x2E): "ok",
                (0xD0, 0x1C, 0x1C): "bad", (0x7A, 0x2E, 0x9E): "na",
                (0x1F, 0x5F, 0xD0): "new", (0xD0, 0x7A, 0x10): "moved"}
ICON_SIZE = 16
# The list's first column, which holds the icons, 2 pixels in from its edge.
ICON_COLUMN = 2 * ICON_SIZE
PENDING = {(0xC0, 0xC0, 0xC0), (0xFF, 0xFF, 0xFF)}


def close(d, window):
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    message = event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message)
    d.flush()


def pixels(window, columns=None):
    """The window's pixels as rows of (red, green, blue), its first `columns` only when given."""
    geometry = window.get_geometry()
    width, height = min(geometry.width, columns or geometry.width), geometry.height
    data = window.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF).data
    # 24-bit visuals store each pixel as four bytes, blue first.
    return [[(data[(y * width + x) * 4 + 2], data[(y * width + x) * 4 + 1], data[(y * width + x) * 4])
             for x in range(width)] for y in range(height)]


def save_png(rows, path):
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def icons(rows, scale=1):
    """(status, x, y of the centre, left, top) of each icon, icons drawn `scale` screen pixels to a pixel."""
    # An icon is a run of screen rows that hold one icon colour, and two
    # icons are at least two screen rows apart.
    size = ICON_SIZE * scale
    found = []
    run = None  # (status, x, first y)
    for y, row in enumerate(rows + [[]]):
        hit = next(((x, ICON_COLOURS[p]) for x, p in enumerate(row) if p in ICON_COLOURS), None)
        if run and (not hit or hit[1] != run[0]):
            status, x, top = run
            if y - top >= size // 2:
                found.append((status, x + size // 2, (top + y) // 2, x, top))
            run = None
        if hit and not run:
            run = (hit[1], hit[0], y)
    return found


def sharp(rows, scale):
    # A pending icon's grey frame is its first row and column.
    size = ICON_SIZE * scale
    pending = [(left, top) for status, _, _, left, top in icons(rows, scale) if status == "pending"]
    blended = [(left, top) for left, top in pending
               if any(p not in PENDING for row in rows[top:top + size] for p in row[left:left + size])]
    for left, top in blended:
        print("blended pending icon at", left, top)
    return bool(pending) and not blended


def screen(d, window):
    """The screen's pixels over the window, as rows of (red, green, blue)."""
    geometry = window.get_geometry()
    place = window.translate_coords(d.screen().root, 0, 0)
    data = d.screen().root.get_image(-place.x, -place.y, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF).data
    width = geometry.width
    return [[(data[(y * width + x) * 4 + 2], data[(y * width + x) * 4 + 1], data[(y * width + x) * 4])
             for x in range(width)] for y in range(geometry.height)]


def main():
    d = display.Display()
    window = d.create_resource_object("window", int(sys.argv[2], 0))
    if sys.argv[1] == "close":
        close(d, window)
        return
    if sys.argv[1] == "screen":
        save_png(screen(d, window), sys.argv[3])
        return
    if sys.argv[1] == "sharp":
        scale = int(sys.argv[3])
        sys.exit(0 if sharp(pixels(window, ICON_COLUMN * scale), scale) else 1)
    if len(sys.argv) > 3:
        save_png(pixels(window), sys.argv[3])
    for status, x, y, _, _ in icons(pixels(window, ICON_COLUMN)):
        print(status, x, y)


main()
