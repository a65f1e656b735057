#!/usr/bin/env python3
"""Writes the enhanced metafiles that korvel.dll carries as resources
(res/metafiles.rc). Each is built record by record, so that its content is
known exactly: the tests replay them and check the pixels.

    python3 scripts/make-emf.py res

Metafile 1, res/squares.emf: a picture 200 x 100 device units, a red square
on the left and a blue one on the right, without outlines; its reference
device has 10 units per millimetre.
"""
import struct
import sys

NULL_PEN = 8
EMR_HEADER, EMR_EOF = 1, 14
EMR_SELECTOBJECT, EMR_CREATEBRUSHINDIRECT, EMR_DELETEOBJECT = 37, 39, 40
EMR_RECTANGLE = 43
DEVICE = (1000, 1000)        # pixels of the reference device
MILLIMETRES = (100, 100)     # its size


def record(kind, *fields):
    body = struct.pack("<%dI" % len(fields), *(v & 0xFFFFFFFF for v in fields))
    return struct.pack("<II", kind, 8 + len(body)) + body


def rgb(r, g, b):
    return r | g << 8 | b << 16


def squares():
    body = [record(EMR_SELECTOBJECT, 0x80000000 | NULL_PEN)]
    for handle, colour, left in ((1, rgb(255, 0, 0), 0), (2, rgb(0, 0, 255), 100)):
        body.append(record(EMR_CREATEBRUSHINDIRECT, handle, 0, colour, 0))  # BS_SOLID
        body.append(record(EMR_SELECTOBJECT, handle))
        # Without an outline a rectangle fills up to right - 1 and bottom - 1:
        # one more on both sides covers the square.
        body.append(record(EMR_RECTANGLE, left, 0, left + 101, 101))
    body.append(record(EMR_SELECTOBJECT, 0x80000000 | 0))  # WHITE_BRUSH
    body += [record(EMR_DELETEOBJECT, 1), record(EMR_DELETEOBJECT, 2)]
    return body, (0, 0, 199, 99), 3


def metafile(body, bounds, handles):
    eof = record(EMR_EOF, 0, 16, 20)
    records = body + [eof]
    size = 108 + sum(len(r) for r in records)
    # The frame in hundredths of a millimetre, as GDI derives it from the
    # bounds when a recording is closed.
    frame = [v * MILLIMETRES[i % 2] * 100 // DEVICE[i % 2] for i, v in enumerate(bounds)]
    header = struct.pack("<II4i4iIIIIHHIII2i2iIII2i",
                         EMR_HEADER, 108, *bounds, *frame,
                         0x464D4520, 0x10000, size, len(records) + 1, handles, 0,
                         0, 0, 0, *DEVICE, *MILLIMETRES, 0, 0, 0,
                         MILLIMETRES[0] * 1000, MILLIMETRES[1] * 1000)
    assert len(header) == 108
    return header + b"".join(records)


def main(out_dir):
    body, bounds, handles = squares()
    with open(out_dir + "/squares.emf", "wb") as f:
        f.write(metafile(body, bounds, handles))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res")
