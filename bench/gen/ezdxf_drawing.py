#!/usr/bin/python3
"""Writes the generator's terrain through an independent DXF library.

Usage: ezdxf_drawing.py polyface|3dface|mesh FACES OUT.dxf
The same surface as dxfgen's R2000 drawings (100 cells a row, a mesh on the
nearest square grid), but with that library's own layout of the file: its
handles, subclass markers, header and tables. Exit 2 on bad arguments.
"""
import math
import sys

import ezdxf

COLUMNS = 100
SPACING = 0.5
MAX_VERTEX_NUMBER = 32767


def height(column, row):
    return ((column * 7 + row * 13) % 101) * 0.037 + (row % 17) * 0.011


def point(column, row):
    return (column * SPACING, row * SPACING, height(column, row))


def write_polyface(msp, faces):
    """Parts of whole rows, each small enough for 16-bit vertex numbers."""
    rows_per_part = MAX_VERTEX_NUMBER // (COLUMNS + 1) - 1
    total_rows = (faces + COLUMNS - 1) // COLUMNS
    for first_row in range(0, total_rows, rows_per_part):
        rows = min(rows_per_part, total_rows - first_row)
        quads = []
        for row in range(first_row, first_row + rows):
            cells = min(COLUMNS, faces - row * COLUMNS)
            for column in range(cells):
                quads.append((point(column, row), point(column + 1, row),
                              point(column + 1, row + 1), point(column, row + 1)))
        msp.add_polyface().append_faces(quads)


def write_faces(msp, faces):
    for face in range(faces):
        row, column = divmod(face, COLUMNS)
        msp.add_3dface((point(column, row), point(column + 1, row),
                        point(column + 1, row + 1), point(column, row + 1)))


def write_mesh(msp, faces):
    side = round(math.sqrt(faces)) + 1
    mesh = msp.add_polymesh(size=(side, side))
    for row in range(side):
        for column in range(side):
            mesh.set_mesh_vertex((row, column), point(column, row))


def main():
    writers = {"polyface": write_polyface, "3dface": write_faces, "mesh": write_mesh}
    if len(sys.argv) != 4 or sys.argv[1] not in writers or not sys.argv[2].isdigit() or int(sys.argv[2]) < 1:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    doc = ezdxf.new("R2000")
    writers[sys.argv[1]](doc.modelspace(), int(sys.argv[2]))
    doc.saveas(sys.argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main())
