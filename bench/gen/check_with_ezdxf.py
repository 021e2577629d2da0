#!/usr/bin/python3
"""Reads generated drawings with an independent DXF library and audits them.

Usage: check_with_ezdxf.py DXFGEN SCRATCH_DIR
Generates every shape in both releases at a small size, then reports the
audit's errors and the face count the library sees. Exit 1 on any problem.
"""
import os
import subprocess
import sys

import ezdxf

# The larger size splits the polyface into parts and ends on a partial row.
SIZES = (1000, 40050)


def faces_seen(doc):
    """Face count, and the highest vertex number a face record uses."""
    count = 0
    highest = 0
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "3DFACE":
            count += 1
        elif kind == "POLYLINE" and entity.is_poly_face_mesh:
            for vertex in entity.vertices:
                if vertex.is_face_record:
                    count += 1
                    highest = max(highest, *(abs(vertex.dxf.get(f"vtx{i}", 0)) for i in range(4)))
        elif kind == "POLYLINE" and entity.is_polygon_mesh:
            count += (entity.dxf.m_count - 1) * (entity.dxf.n_count - 1)
    return count, highest


def main():
    dxfgen, scratch = sys.argv[1], sys.argv[2]
    failed = False
    for shape, release, faces in ((s, r, n) for s in ("polyface", "3dface", "mesh")
                                  for r in ("r12", "r2000") for n in SIZES):
        path = os.path.join(scratch, f"check_{shape}_{release}.dxf")
        subprocess.run([dxfgen, shape, str(faces), release, path], check=True)
        doc = ezdxf.readfile(path)
        auditor = doc.audit()
        seen, highest = faces_seen(doc)
        # A mesh gets the nearest square grid, so allow its rounding.
        expected_ok = abs(seen - faces) <= 2 * int(faces ** 0.5) + 1 if shape == "mesh" else seen == faces
        ok = not auditor.has_errors and expected_ok and highest <= 32767
        failed |= not ok
        print(f"{'ok  ' if ok else 'FAIL'} {shape:8} {release:5} {doc.dxfversion} "
              f"faces={seen} highest_vertex={highest} audit_errors={len(auditor.errors)} fixes={len(auditor.fixes)}")
        for error in auditor.errors:
            print("   ", error.message)
        os.remove(path)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
