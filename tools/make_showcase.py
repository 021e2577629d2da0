#!/usr/bin/python3
"""Writes samples/showcase.dxf: one of every kind of 3D object the facetter
cuts, on coloured layers, with a material and a link stored on two of them."""
import math
import sys

import ezdxf
from ezdxf.math import Matrix44

out = sys.argv[1] if len(sys.argv) > 1 else "samples/showcase.dxf"
doc = ezdxf.new("R2010", setup=False)
doc.header["$INSUNITS"] = 4  # millimetres
for name, color in (("Walls", 8), ("Glass", 4), ("Metal", 1), ("Wood", 30), ("Plain", 7)):
    doc.layers.add(name, color=color)
for app in ("VRML_Application", "PE_URL", "VRML_Url_Data"):
    doc.appids.add(app)
msp = doc.modelspace()

# A box of six 3DFACEs with a material: red, not the AutoCAD colour, shiny.
box = [(0, 0, 0), (100, 0, 0), (100, 100, 0), (0, 100, 0)]
top = [(x, y, 100) for x, y, _ in box]
sides = [box, top] + [[box[i], box[(i + 1) % 4], top[(i + 1) % 4], top[i]] for i in range(4)]
for corners in sides:
    face = msp.add_3dface(corners, dxfattribs={"layer": "Metal", "color": 256})
    face.set_xdata("VRML_Application", [(1070, 0),
        (1040, 0.0), (1040, 0.0), (1040, 0.1),      # ambient
        (1040, 0.8), (1040, 0.1), (1040, 0.1),      # diffuse
        (1040, 0.0), (1040, 0.0), (1040, 0.0),      # emissive
        (1040, 1.0), (1040, 1.0), (1040, 1.0),      # specular
        (1040, 0.7), (1040, 0.0)])
    face.set_xdata("PE_URL", [(1000, "https://example.org/box.html")])
    face.set_xdata("VRML_Url_Data", [(1000, "The red box")])

# A polyface mesh: a pyramid.
pyramid = msp.add_polyface(dxfattribs={"layer": "Wood", "color": 256})
apex = (250, 50, 120)
base = [(200, 0, 0), (300, 0, 0), (300, 100, 0), (200, 100, 0)]
pyramid.append_faces([base] + [[base[i], base[(i + 1) % 4], apex] for i in range(4)])

# A polygon mesh: a wave surface 8 x 6.
mesh = msp.add_polymesh((8, 6), dxfattribs={"layer": "Glass", "color": 256})
for m in range(8):
    for n in range(6):
        mesh.set_mesh_vertex((m, n), (400 + m * 20, n * 20, 20 * math.sin(m / 2.0)))

# Extruded 2D objects: a circle, an arc, a line, a closed light-weight polyline.
msp.add_circle((50, 250, 0), 40, dxfattribs={"color": 3, "thickness": 60})
msp.add_arc((200, 250, 0), 50, 0, 180, dxfattribs={"color": 5, "thickness": 30})
msp.add_line((300, 200, 0), (400, 300, 0), dxfattribs={"color": 6, "thickness": 80})
msp.add_lwpolyline([(450, 200), (550, 200), (550, 260), (500, 300), (450, 260)], close=True,
                   dxfattribs={"layer": "Walls", "thickness": 40})
# A tilted extrusion: a circle standing on its side.
msp.add_circle((0, 0, 0), 30, dxfattribs={"color": 2, "thickness": 20,
                                          "extrusion": (1, 0, 0)}).translate(650, 250, 50)

# SOLID with thickness (a slab) and a flat TRACE.
msp.add_solid([(0, 400), (150, 400), (0, 450), (150, 450)], dxfattribs={"color": 40, "thickness": 10})
msp.add_trace([(200, 400), (350, 400), (200, 420), (350, 420)], dxfattribs={"color": 140})

# A block of two faces inserted three times, rotated and scaled, in a row.
block = doc.blocks.new("FIN")
block.add_3dface([(0, 0, 0), (20, 0, 0), (20, 0, 40), (0, 0, 40)], dxfattribs={"color": 0})
block.add_3dface([(0, 0, 0), (0, 20, 0), (0, 20, 40), (0, 0, 40)], dxfattribs={"color": 0})
msp.add_blockref("FIN", (450, 400, 0), dxfattribs={"rotation": 30, "xscale": 1.5, "yscale": 1.5,
                                                    "zscale": 1.0, "color": 210,
                                                    "column_count": 3, "column_spacing": 50})

# A subdivision mesh at level 0: an octahedron.
octa = msp.add_mesh(dxfattribs={"color": 150})
with octa.edit_data() as data:
    data.vertices = [(700, 450, 0), (650, 450, 50), (700, 400, 50), (750, 450, 50), (700, 500, 50),
                     (700, 450, 100)]
    data.faces = [(0, 2, 1), (0, 3, 2), (0, 4, 3), (0, 1, 4), (5, 1, 2), (5, 2, 3), (5, 3, 4), (5, 4, 1)]

# An object on layer Plain (colour 7): exported without a material.
msp.add_3dface([(0, 550, 0), (100, 550, 0), (100, 650, 0)], dxfattribs={"layer": "Plain"})
doc.saveas(out)
