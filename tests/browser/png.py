"""A PNG decoder for screenshots: 8-bit RGB and RGBA, not interlaced, the
five row filters undone. Python standard library only."""
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


class Image:
    def __init__(self, width, height, channels, pixels):
        self.width, self.height, self.channels, self.pixels = width, height, channels, pixels

    def rgb(self, x, y):
        at = (y * self.width + x) * self.channels
        return self.pixels[at], self.pixels[at + 1], self.pixels[at + 2]


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(kind, line, previous, bpp):
    """The row `line` (bytearray, changed in place) with its filter undone."""
    n = len(line)
    if kind == 0:
        return line
    if kind == 1:
        for i in range(bpp, n):
            line[i] = (line[i] + line[i - bpp]) & 255
    elif kind == 2:
        line[:] = bytes((a + b) & 255 for a, b in zip(line, previous))
    elif kind == 3:
        for i in range(n):
            left = line[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + ((left + previous[i]) >> 1)) & 255
    elif kind == 4:
        for i in range(n):
            if i >= bpp:
                line[i] = (line[i] + paeth(line[i - bpp], previous[i], previous[i - bpp])) & 255
            else:
                line[i] = (line[i] + previous[i]) & 255
    else:
        raise ValueError("unknown PNG row filter %d" % kind)
    return line


def decode(data):
    """The Image in the PNG bytes `data`."""
    if data[:8] != SIGNATURE:
        raise ValueError("not a PNG")
    at, header, compressed = 8, None, []
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        at += 12 + length  # length, type, body, CRC
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed.append(body)
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError("PNG without a header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("only 8-bit RGB or RGBA, not interlaced (depth %d, colour %d)" % (depth, colour))
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(b"".join(compressed))
    if len(raw) != height * (stride + 1):
        raise ValueError("PNG data of %d bytes for %dx%d" % (len(raw), width, height))
    pixels, previous = bytearray(), bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        previous = unfilter(raw[start], bytearray(raw[start + 1:start + 1 + stride]), previous, channels)
        pixels += previous
    return Image(width, height, channels, pixels)
