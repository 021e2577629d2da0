"""Writes a drawing of 3D entities with ezdxf and, for each entity, the area
and bounding box that ezdxf's own geometry gives it.

Usage: ezdxf_reference.py OUT.dxf OUT.txt
Each line of OUT.txt: HANDLE KIND AREA MINX MINY MINZ MAXX MAXY MAXZ RADIUS
KIND is "planar" (exact) or "curved" (cut into chords; RADIUS is the largest
radius, for the bound on the box).
"""
import math
import sys

import ezdxf
from ezdxf.math import OCS, Vec3
from ezdxf.render import MeshBuilder


def polygon_area(points):
    points = [Vec3(p) for p in points]
    total = 0.0
    for i in range(1, len(points) - 1):
        total += (points[i] - points[0]).cross(points[i + 1] - points[0]).magnitude / 2
    return total


def box_of(points):
    xs, ys, zs = zip(*[(p[0], p[1], p[2]) for p in points])
    return (min(xs), min(ys), min(zs), max(xs), max(ys), max(zs))


def merge_boxes(a, b):
    if a is None:
        return b
    return tuple(min(a[i], b[i]) for i in range(3)) + tuple(max(a[i], b[i]) for i in range(3, 6))


def face_geometry(face):
    points = list(face.wcs_vertices())
    return polygon_area(points), box_of(points)


def mesh_geometry(polyline):
    mesh = MeshBuilder.from_polyface(polyline)
    area = sum(polygon_area([mesh.vertices[i] for i in face]) for face in mesh.faces)
    used = [mesh.vertices[i] for face in mesh.faces for i in face]
    return area, box_of(used)


def cylinder_geometry(circle):
    """A closed cylinder: wall and both caps, its box from the exact circle."""
    r, t = circle.dxf.radius, circle.dxf.thickness
    ocs = OCS(circle.dxf.extrusion)
    axis = Vec3(circle.dxf.extrusion).normalize()
    bottom = ocs.to_wcs(circle.dxf.center)
    top = bottom + axis * t
    reach = [r * math.sqrt(max(0.0, 1 - c * c)) for c in axis]
    low = [min(bottom[i], top[i]) - reach[i] for i in range(3)]
    high = [max(bottom[i], top[i]) + reach[i] for i in range(3)]
    area = 2 * math.pi * r * abs(t) + 2 * math.pi * r * r
    return area, tuple(low + high)


def thick_line_geometry(line):
    axis = Vec3(line.dxf.extrusion).normalize() * line.dxf.thickness
    p1, p2 = Vec3(line.dxf.start), Vec3(line.dxf.end)
    return polygon_area([p1, p2, p2 + axis, p1 + axis]), box_of([p1, p2, p2 + axis, p1 + axis])


def insert_geometry(insert):
    area, box = 0.0, None
    for cell in insert.multi_insert():
        for entity in cell.virtual_entities():
            a, b = face_geometry(entity)
            area += a
            box = merge_boxes(box, b)
    return area, box


def build(doc):
    msp = doc.modelspace()
    out = []
    face = msp.add_3dface([(0, 0, 0), (4, 0, 1), (4, 3, 2), (0, 3, 1)])
    out.append((face, "planar", face_geometry(face), 0))
    tri = msp.add_3dface([(1, 1, 1), (5, 2, 3), (2, 6, 4), (2, 6, 4)])
    out.append((tri, "planar", face_geometry(tri), 0))

    pface = msp.add_polyface()
    cube = [(0, 0, 0), (2, 0, 0), (2, 3, 0), (0, 3, 0), (0, 0, 1.5), (2, 0, 1.5), (2, 3, 1.5), (0, 3, 1.5)]
    for a, b, c, d in [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]:
        pface.append_face([cube[a], cube[b], cube[c], cube[d]])
    pface.append_face([(5, 5, 5), (6, 5, 5), (5, 6, 7)])
    out.append((pface, "planar", mesh_geometry(pface), 0))

    mesh = msp.add_polymesh(size=(4, 5), dxfattribs={"flags": 16 | 32})
    for m in range(4):
        for n in range(5):
            angle = 2 * math.pi * n / 5
            mesh.set_mesh_vertex((m, n), (3 * math.cos(angle), 3 * math.sin(angle), 1.25 * m))
    out.append((mesh, "planar", mesh_geometry(mesh), 0))

    circle = msp.add_circle((1, 2, 3), 2.5, dxfattribs={"thickness": 4, "extrusion": (0.3, -0.5, 0.8)})
    out.append((circle, "curved", cylinder_geometry(circle), 2.5))

    line = msp.add_line((1, 2, 3), (7, -1, 4), dxfattribs={"thickness": 2.5, "extrusion": (0.2, 0.6, 0.7)})
    out.append((line, "planar", thick_line_geometry(line), 0))

    block = doc.blocks.new("PANELS", base_point=(1, 1, 0))
    block.add_3dface([(0, 0, 0), (3, 0, 0), (3, 2, 1), (0, 2, 1)])
    block.add_3dface([(0, 0, 0), (0, 2, 1), (-1, 1, 3), (-1, 1, 3)])
    insert = msp.add_blockref("PANELS", (10, 5, 2), dxfattribs={
        "xscale": 2, "yscale": 2, "zscale": 2, "rotation": 30, "extrusion": (0.1, 0.2, 1)})
    out.append((insert, "planar", insert_geometry(insert), 0))
    array = msp.add_blockref("PANELS", (-5, 0, 0), dxfattribs={
        "xscale": 1.5, "yscale": 0.5, "zscale": 1, "rotation": 120,
        "column_count": 3, "row_count": 2, "column_spacing": 7, "row_spacing": 4})
    out.append((array, "planar", insert_geometry(array), 0))
    return out


def main():
    doc = ezdxf.new("R2000")
    entities = build(doc)
    doc.saveas(sys.argv[1])
    with open(sys.argv[2], "w") as f:
        for entity, kind, (area, box), radius in entities:
            values = " ".join(repr(float(v)) for v in (area,) + tuple(box) + (radius,))
            f.write(f"{entity.dxf.handle} {kind} {values}\n")


main()
