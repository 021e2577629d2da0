# Writes links.dxf: three 3D faces, one with a link and no description, one
# with link, description and a material, one with nothing attached.
import ezdxf

doc = ezdxf.new("R2000")
for app in ("PE_URL", "VRML_Url_Data", "VRML_Application"):
    doc.appids.new(app)
msp = doc.modelspace()
square = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)]
link_only = msp.add_3dface(square)
link_only.set_xdata("PE_URL", [(1000, "http://example.com/only.wrl")])
full = msp.add_3dface([(x, y, 1) for x, y, _ in square])
full.set_xdata("PE_URL", [(1000, "http://example.com/full.wrl")])
full.set_xdata("VRML_Url_Data", [(1000, "A described link")])
material = [(1070, 1)] + [(1040, v) for v in (0.0, 0.0, 0.1, 0.3, 0.3, 0.3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.2, 0.0)]
full.set_xdata("VRML_Application", material)
msp.add_3dface([(x, y, 2) for x, y, _ in square])
doc.saveas("links.dxf")
for e in msp:
    print(e.dxf.handle)
