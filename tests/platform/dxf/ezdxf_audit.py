#!/usr/bin/python3
"""Reads a drawing with ezdxf, audits it and prints the audit counts and the
extended data of one entity, for the saving tests to compare."""
import sys

import ezdxf


def main():
    path, handle = sys.argv[1], sys.argv[2]
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(f"errors {len(auditor.errors)} fixes {len(auditor.fixes)}")
    if handle == "-":
        return
    entity = doc.entitydb.get(handle)
    if entity is None or not entity.xdata:
        print("no extended data")
        return
    for appid in entity.xdata.data:
        print(f"1001 {appid}")
        for code, value in entity.get_xdata(appid):
            if isinstance(value, tuple) or hasattr(value, "x"):
                value = " ".join(repr(float(v)) for v in value)
            print(f"{code} {value}")


if __name__ == "__main__":
    main()
