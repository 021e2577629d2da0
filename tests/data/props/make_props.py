# Writes props.dxf: a red 3D face, a line and a text, none with data
# attached; and long_url.dxf: one face whose stored link is 300 characters
# long, more than the properties dialog takes. Prints the handles.
import ezdxf

doc = ezdxf.new("R2000")
msp = doc.modelspace()
msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)], dxfattribs={"color": 1})
msp.add_line((0, 0, 0), (2, 2, 0), dxfattribs={"color": 3})
msp.add_text("label", dxfattribs={"color": 5})
doc.saveas("props.dxf")
for e in msp:
    print(e.dxftype(), e.dxf.handle)

doc = ezdxf.new("R2000")
doc.appids.new("PE_URL")
face = doc.modelspace().add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0)])
face.set_xdata("PE_URL", [(1000, "http://example.com/" + "b" * 281)])
doc.saveas("long_url.dxf")
print("long_url", face.dxf.handle)
