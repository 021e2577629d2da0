#!/usr/bin/python3
"""Writes the small seed drawings of the DXF fuzz targets: each kind of object
the facetter cuts, blocks, extended data, in text and binary form (binary
without the sentinel, which the binary target adds itself). Small on purpose:
only a few header variables, the blocks and the entities are kept, so inputs
stay under the fuzzers' length limit and read to the end."""
import io
import pathlib
import struct

import ezdxf

HERE = pathlib.Path(__file__).resolve().parent
KEPT_HEADER = {"$ACADVER", "$HANDSEED", "$INSUNITS", "$UCSORG", "$UCSXDIR", "$UCSYDIR"}
KEPT_SECTIONS = {"HEADER", "BLOCKS", "ENTITIES"}


def faces(msp):
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0.5), (0, 1, 1)], dxfattribs={"color": 3})
    msp.add_solid([(0, 0), (2, 0), (0, 1), (2, 1)], dxfattribs={"thickness": 0.5})
    msp.add_trace([(0, 2), (2, 2), (0, 3), (2, 3)])


def curves(msp):
    msp.add_line((0, 0, 0), (4, 1, 0), dxfattribs={"thickness": 2})
    msp.add_circle((5, 5), 2, dxfattribs={"thickness": 1})
    msp.add_arc((0, 5), 1.5, 30, 240, dxfattribs={"thickness": 1, "extrusion": (0, 0.6, 0.8)})


def polylines(msp):
    msp.add_polyline2d([(0, 0), (3, 0, 0.5), (3, 3), (0, 3)], close=True,
                       dxfattribs={"thickness": 1, "default_start_width": 0.2, "default_end_width": 0.2})
    msp.add_polyline3d([(0, 0, 0), (1, 2, 3), (4, 0, 1)])
    mesh = msp.add_polymesh((3, 3))
    for m in range(3):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), (m, n, (m * n) % 2))
    face = msp.add_polyface()
    face.append_faces([[(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)], [(0, 0, 0), (1, 0, 0), (0, 0, 1)]])


def blocks(doc, msp):
    block = doc.blocks.new("PART", base_point=(1, 1, 0))
    block.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)])
    block.add_circle((0, 0), 1, dxfattribs={"thickness": 1})
    outer = doc.blocks.new("ASSEMBLY")
    outer.add_blockref("PART", (2, 0, 0), dxfattribs={"xscale": 2, "rotation": 45})
    msp.add_blockref("ASSEMBLY", (0, 0, 0))
    msp.add_blockref("PART", (5, 5, 0), dxfattribs={"column_count": 2, "row_count": 2,
                                                  "column_spacing": 3, "row_spacing": 3})


def extended_data(doc, msp):
    doc.appids.new("VRML")
    line = msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)])
    line.set_xdata("VRML", [(1000, "http://example.com/"), (1040, 0.5), (1070, 3), (1002, "{"), (1002, "}")])


def lwpolylines(doc, msp):
    msp.add_lwpolyline([(0, 0, 0.1, 0.1, 0), (4, 0, 0, 0, 1), (4, 4, 0, 0, 0)], format="xyseb",
                       dxfattribs={"thickness": 1, "closed": 1})
    mesh = msp.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 1)]
        data.faces = [(0, 1, 2, 3)]


DRAWINGS = {
    "faces": ("R12", lambda doc, msp: faces(msp)),
    "curves": ("R12", lambda doc, msp: curves(msp)),
    "polylines": ("R12", lambda doc, msp: polylines(msp)),
    "blocks": ("R12", blocks),
    "xdata": ("R12", extended_data),
    "lwpolyline_mesh": ("R2000", lwpolylines),
}


def compact_tags(doc):
    """The drawing's tags, with only the kept sections and header variables."""
    stream = io.StringIO()
    doc.write(stream)
    lines = stream.getvalue().splitlines()
    tags = [(int(lines[i]), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]
    kept, section, variable = [], None, None
    for i, (code, value) in enumerate(tags):
        if code == 0 and value == "SECTION":
            section = tags[i + 1][1]
        if code == 9:
            variable = value
        opening = code == 0 or (code == 2 and tags[i - 1] == (0, "SECTION"))
        if section in KEPT_SECTIONS and (section != "HEADER" or opening or variable in KEPT_HEADER):
            kept.append((code, value))
        if code == 0 and value == "ENDSEC":
            section, variable = None, None
    return kept + [(0, "EOF")]


def binary_value(code, value):
    if 10 <= code <= 59 or 110 <= code <= 149 or 210 <= code <= 239 or 1010 <= code <= 1059:
        return struct.pack("<d", float(value))
    if 60 <= code <= 79 or 170 <= code <= 179 or 270 <= code <= 289 or 370 <= code <= 389 or 1060 <= code <= 1070:
        return struct.pack("<h", int(value))
    if 90 <= code <= 99 or 420 <= code <= 429 or 440 <= code <= 459 or code == 1071:
        return struct.pack("<i", int(value))
    if 160 <= code <= 169:
        return struct.pack("<q", int(value))
    if 290 <= code <= 299:
        return struct.pack("<B", int(value))
    if 310 <= code <= 319 or code == 1004:
        data = bytes.fromhex(value)
        return bytes([len(data)]) + data
    return value.encode("cp1252") + b"\0"


def binary_form(tags, byte_codes):
    """The tags as a binary file after its sentinel."""
    out = bytearray()
    for code, value in tags:
        if not byte_codes:
            out += struct.pack("<h", code)
        elif code < 255:
            out.append(code)
        else:
            out += b"\xff" + struct.pack("<h", code)
        out += binary_value(code, value)
    return bytes(out)


def main():
    for folder in ("dxf_text", "dxf_binary"):
        (HERE / folder).mkdir(exist_ok=True)
    for name, (version, build) in DRAWINGS.items():
        doc = ezdxf.new(version)
        build(doc, doc.modelspace())
        tags = compact_tags(doc)
        text = "".join(f"{code:>3}\n{value}\n" for code, value in tags)
        (HERE / "dxf_text" / f"{name}.dxf").write_text(text, newline="\n")
        # Older releases wrote one-byte group codes.
        (HERE / "dxf_binary" / f"{name}.bin").write_bytes(binary_form(tags, byte_codes=version == "R12"))


if __name__ == "__main__":
    main()
