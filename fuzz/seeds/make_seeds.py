#!/usr/bin/python3
"""Writes the small seed drawings of the DXF fuzz targets: each kind of object
the facetter cuts, blocks, extended data, in text and binary form (binary
without the sentinel, which the binary target adds itself). Small on purpose:
inputs stay under the fuzzers' length limit and read to the end."""
import pathlib
import tempfile

import ezdxf

HERE = pathlib.Path(__file__).resolve().parent
SENTINEL_LENGTH = 22


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


def main():
    for folder in ("dxf_text", "dxf_binary"):
        (HERE / folder).mkdir(exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        for name, (version, build) in DRAWINGS.items():
            doc = ezdxf.new(version)
            build(doc, doc.modelspace())
            doc.saveas(HERE / "dxf_text" / f"{name}.dxf")
            binary = pathlib.Path(scratch) / f"{name}.dxf"
            doc.saveas(binary, fmt="bin")
            (HERE / "dxf_binary" / f"{name}.bin").write_bytes(binary.read_bytes()[SENTINEL_LENGTH:])


if __name__ == "__main__":
    main()
