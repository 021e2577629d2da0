#!/usr/bin/python3
"""Writes the drawings of the export tests (run from this folder)."""
import ezdxf

MATERIAL = [(1070, 1), (1040, 0.0), (1040, 0.0), (1040, 0.1), (1040, 0.3), (1040, 0.3), (1040, 0.3),
            (1040, 0.0), (1040, 0.0), (1040, 0.0), (1040, 0.0), (1040, 0.0), (1040, 0.0),
            (1040, 0.2), (1040, 0.0)]


def triangle(msp, x, **attribs):
    return msp.add_3dface([(x, 0, 0), (x + 10, 0, 0), (x, 10, 0)], dxfattribs=attribs)


# Five objects: red; a bare line (nothing to facet); colour 7 carrying a
# material; ByLayer on a green layer; ByLayer on a layer the table lacks.
doc = ezdxf.new("R2000", setup=False)
doc.layers.add("Green", color=3)
doc.appids.add("VRML_Application")
msp = doc.modelspace()
triangle(msp, 0, color=1)
msp.add_line((0, 20, 0), (10, 20, 0), dxfattribs={"color": 2})
triangle(msp, 20, color=7).set_xdata("VRML_Application", MATERIAL)
triangle(msp, 40, color=256, layer="Green")
triangle(msp, 60, color=256, layer="Ghost")
doc.saveas("five.dxf")

# One triangle under a user coordinate system moved 100 along X.
doc = ezdxf.new("R2000", setup=False)
doc.header["$UCSORG"] = (100, 0, 0)
doc.header["$UCSXDIR"] = (1, 0, 0)
doc.header["$UCSYDIR"] = (0, 1, 0)
triangle(doc.modelspace(), 100, color=1)
doc.saveas("ucs.dxf")

# A linear dimension with filled arrowheads, drawn through its picture
# block, beside a dimension whose block the drawing lacks.
doc = ezdxf.new("R2000", setup=False)
msp = doc.modelspace()
msp.add_linear_dim(base=(0, 5), p1=(0, 0), p2=(40, 0),
                   override={"dimblk": ezdxf.ARROWS.closed_filled, "dimasz": 2}).render()
lost = msp.add_linear_dim(base=(0, 25), p1=(0, 20), p2=(40, 20))
lost.render()
lost.dimension.dxf.geometry = "*D999"
doc.saveas("dimension.dxf")
