#!/usr/bin/python3
"""Compares a saved drawing with the file it came from, read by an
independent DXF library: the tags of both files (group code and exact value
text, comments included) and the audit counts of both.

    dxf_round_trip.py ORIGINAL SAVED

prints
    original errors E fixes F     (or "original unreadable: REASON")
    saved errors E fixes F        (or "saved unreadable: REASON")
    tags same N                   (or "tags differ at K: ORIGINAL | SAVED")
"""
import sys
from io import StringIO

import ezdxf
from ezdxf.lldxf import tagger
from ezdxf.lldxf.validator import is_binary_dxf_file


def tags(path):
    if is_binary_dxf_file(path):
        with open(path, "rb") as stream:
            return [(t.code, t.value) for t in tagger.binary_tags_loader(stream.read())]
    # Latin-1 maps every byte to one character: values compare as bytes.
    with open(path, encoding="latin-1") as stream:
        text = stream.read()
    if text.startswith("\xef\xbb\xbf"):
        text = text[3:]
    return [(t.code, t.value) for t in tagger.ascii_tags_loader(StringIO(text), skip_comments=False)]


def audit(label, path):
    try:
        auditor = ezdxf.readfile(path).audit()
    except Exception as error:  # the library's own faults say nothing of the file's
        print(f"{label} unreadable: {type(error).__name__} {error}")
        return
    print(f"{label} errors {len(auditor.errors)} fixes {len(auditor.fixes)}")
    for entry in (auditor.errors + auditor.fixes)[:3]:
        print(f"  {label}: {entry.message}")


def compare(original, saved):
    before, after = tags(original), tags(saved)
    for k, (a, b) in enumerate(zip(before, after)):
        if a != b:
            print(f"tags differ at {k}: {a} | {b}")
            return
    if len(before) != len(after):
        print(f"tags differ at {min(len(before), len(after))}: {len(before)} tags | {len(after)} tags")
        return
    print(f"tags same {len(before)}")


def main():
    original, saved = sys.argv[1], sys.argv[2]
    audit("original", original)
    audit("saved", saved)
    compare(original, saved)


if __name__ == "__main__":
    main()
