#!/usr/bin/env python3
"""Writes real_layout_r2010.dxf: a 2010-format drawing as CAD editors write them, made here.

- A parts list as a proxy entity whose graphics hold lightweight polyline records in the
  layout real files use (a 32-bit byte count, then the entity's bit-coded fields; a vertex-id
  count only when flag 1024 is set), Unicode texts, a layer change and a circle the emulator
  does not read. The border comes first.
- A frame left behind by MIRROR: a lightweight polyline and a text whose extrusion is (0,0,-1),
  so their coordinates are in the object coordinate system (x runs the other way).

Run it to write the file again: python3 real_layout.py
"""
import struct


class Bits:
    def __init__(self):
        self.bits = []

    def put(self, value, count):
        self.bits += [(value >> k) & 1 for k in range(count - 1, -1, -1)]

    def raw(self, data):
        for byte in data:
            self.put(byte, 8)

    def compressed(self, value, fmt):  # a bit-coded short ("<h") or long ("<l")
        if value == 0:
            self.put(2, 2)
        elif 0 < value < 256:
            self.put(1, 2)
            self.put(value, 8)
        else:
            self.put(0, 2)
            self.raw(struct.pack(fmt, value))

    def bs(self, value):
        self.compressed(value, "<h")

    def bl(self, value):
        self.compressed(value, "<l")

    def bd(self, value):
        if value == 0.0:
            self.put(2, 2)
        elif value == 1.0:
            self.put(1, 2)
        else:
            self.put(0, 2)
            self.raw(struct.pack("<d", value))

    def dd(self, value, default):
        if value == default:
            self.put(0, 2)
            return
        new, old = struct.pack("<d", value), struct.pack("<d", default)
        if new[4:] == old[4:]:
            self.put(1, 2)
            self.raw(new[:4])
        else:
            self.put(3, 2)
            self.raw(new)

    def data(self):
        padded = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(int("".join(map(str, padded[i:i + 8])), 2) for i in range(0, len(padded), 8))


def record(kind, body):
    body += b"\0" * (-len(body) % 4)
    return struct.pack("<2L", len(body) + 8, kind) + body


def lwpolyline(points, flags=0, vertex_ids=None, elevation=None):
    bits = Bits()
    if elevation is not None:
        flags |= 8
    bits.bs(flags)
    if elevation is not None:
        bits.bd(elevation)
    bits.bl(len(points))
    if flags & 1024:
        bits.bl(len(vertex_ids))
    bits.raw(struct.pack("<2d", *points[0]))
    for (x, y), (px, py) in zip(points[1:], points):
        bits.dd(x, px)
        bits.dd(y, py)
    for vertex_id in vertex_ids or []:
        bits.bl(vertex_id)
    fields = bits.data()
    return record(33, struct.pack("<L", len(fields)) + fields)


def unicode_text(x, y, height, text):
    body = struct.pack("<3d3d3d3d", x, y, 0, 0, 0, 1, 1, 0, 0, height, 1, 0)
    return record(36, body + text.encode("utf-16-le") + b"\0\0")


def graphics():
    records = [
        record(16, struct.pack("<L", 1)),  # layer BOM
        lwpolyline([(0, 0), (180, 0), (180, 24), (0, 24)], flags=512),  # the border
        lwpolyline([(0, 8), (180, 8)], flags=1024, vertex_ids=[1, 2]),
        lwpolyline([(0, 16), (180, 16)], elevation=0.5),
        lwpolyline([(15, 0), (15.000000000000002, 24)]),
        record(2, struct.pack("<3dd3d", 90, 12, 0, 3, 0, 0, 1)),  # a circle: not read
        unicode_text(2, 2, 3.5, "序号"),
        unicode_text(17, 2, 3.5, "名称"),
        unicode_text(2, 10, 3.5, "1"),
        unicode_text(17, 10, 3.5, "轴承座 O'Ring"),
    ]
    body = b"".join(records)
    return struct.pack("<2L", len(body) + 8, len(records)) + body


def pairs():
    data = graphics()
    out = [(0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1024"),
           (9, "$DWGCODEPAGE"), (3, "ANSI_936"), (9, "$HANDSEED"), (5, "100"),
           (0, "ENDSEC"), (0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "LAYER"),
           (5, "2"), (70, "3")]
    for handle, name in (("10", "0"), ("11", "BOM"), ("12", "图框")):
        out += [(0, "LAYER"), (5, handle), (2, name), (70, "0"), (62, "7")]
    out += [(0, "ENDTAB"), (0, "ENDSEC"), (0, "SECTION"), (2, "ENTITIES")]
    out += [(0, "ACAD_PROXY_ENTITY"), (5, "20"), (100, "AcDbEntity"), (8, "0"),
            (100, "AcDbProxyEntity"), (90, "498"), (91, "500"), (92, str(len(data)))]
    out += [(310, data[i:i + 127].hex().upper()) for i in range(0, len(data), 127)]
    out += [(93, "0"), (94, "0"), (95, "0"), (70, "0")]
    out += [(0, "LWPOLYLINE"), (5, "21"), (100, "AcDbEntity"), (8, "图框"),
            (100, "AcDbPolyline"), (90, "4"), (70, "1"),
            (10, "-520.0"), (20, "50.0"), (10, "-100.0"), (20, "50.0"),
            (10, "-100.0"), (20, "347.0"), (10, "-520.0"), (20, "347.0"),
            (210, "0.0"), (220, "0.0"), (230, "-1.0")]
    out += [(0, "TEXT"), (5, "22"), (100, "AcDbEntity"), (8, "图框"), (100, "AcDbText"),
            (10, "-510.0"), (20, "60.0"), (30, "0.0"), (40, "5.0"), (1, "图号"),
            (210, "0.0"), (220, "0.0"), (230, "-1.0"), (100, "AcDbText")]
    out += [(0, "ENDSEC"), (0, "EOF")]
    return out


if __name__ == "__main__":
    text = "".join("%3d\n%s\n" % (code, value) for code, value in pairs())
    with open("real_layout_r2010.dxf", "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
