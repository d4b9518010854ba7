#!/usr/bin/env python3
"""Packs the icon's PNG renderings into one Windows .ico of ten images:
48, 32 and 16 pixels in 256 colours, and 256, 128, 64, 48, 32, 24 and 16
pixels in 32-bit colour (the 256-pixel one stored as PNG, as Windows expects).

Usage: make_ico.py PNG-FOLDER OUTPUT.ico   (PNG-FOLDER holds tallaro-N.png)
"""
import struct
import sys
import zlib

PALETTED = (48, 32, 16)
TRUE_COLOUR = (256, 128, 64, 48, 32, 24, 16)


def read_png_rgba(path):
    """Returns (size, rows of RGBA bytes) of an 8-bit RGBA, non-interlaced PNG."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert (depth, colour, interlace) == (8, 6, 0), f"{path}: not 8-bit RGBA"
    raw, stride, rows, previous = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up = previous[x]
            up_left = previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                line[x] = (line[x] + predictor) & 0xFF
        rows.append(bytes(line))
        previous = line
    assert width == height, path
    return width, rows


def and_mask(size, rows):
    """The 1-bit mask, bottom row first: set where the pixel is transparent."""
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x in range(size):
            if row[x * 4 + 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return bytes(mask)


def bitmap_header(size, bit_count, image_bytes, colours):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bit_count, 0, image_bytes, 0, 0,
                       colours, 0)


def true_colour_dib(size, rows):
    pixels = bytearray()
    for row in reversed(rows):
        for x in range(size):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels += bytes((b, g, r, a))
    mask = and_mask(size, rows)
    return bitmap_header(size, 32, len(pixels) + len(mask), 0) + bytes(pixels) + mask


def quantise(colour, bits):
    """Drops the low bits of each channel, keeping the value near the middle."""
    if bits == 8:
        return colour
    keep = 0xFF & ~((1 << (8 - bits)) - 1)
    return tuple(min(255, (c & keep) | (1 << (7 - bits))) for c in colour)


def paletted_dib(size, rows):
    visible = [tuple(row[x * 4:x * 4 + 3]) for row in rows for x in range(size)
               if row[x * 4 + 3] >= 128]
    # The fewest dropped bits that leave 256 colours or less.
    bits = next(b for b in range(8, 0, -1) if len({quantise(c, b) for c in visible}) <= 256)
    palette = sorted({quantise(c, bits) for c in visible}) or [(0, 0, 0)]
    index = {colour: i for i, colour in enumerate(palette)}
    palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    palette_bytes += bytes(4 * (256 - len(palette)))
    stride = (size + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x in range(size):
            if row[x * 4 + 3] >= 128:
                line[x] = index[quantise(tuple(row[x * 4:x * 4 + 3]), bits)]
        pixels += line
    mask = and_mask(size, rows)
    return (bitmap_header(size, 8, len(pixels) + len(mask), 256) + palette_bytes + bytes(pixels)
            + mask)


def main(folder, output):
    images = []
    for size in PALETTED:
        images.append((size, 8, paletted_dib(*read_png_rgba(f"{folder}/tallaro-{size}.png"))))
    for size in TRUE_COLOUR:
        path = f"{folder}/tallaro-{size}.png"
        data = open(path, "rb").read() if size == 256 else true_colour_dib(*read_png_rgba(path))
        images.append((size, 32, data))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, bit_count, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bit_count, len(data),
                                 offset + len(body))
        body += data
    with open(output, "wb") as out:
        out.write(directory + body)


if __name__ == "__main__":
    main(*sys.argv[1:])
