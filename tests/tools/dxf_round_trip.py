#!/usr/bin/python3
"""Compares a saved drawing with the file it came from, read by an
independent DXF library: the tags of both files (group code and exact value
text, comments included) and the audit counts of both.

    dxf_round_trip.py ORIGINAL SAVED

prints
    original errors E fixes F     (or "original unreadable: REASON")
    saved errors E fixes F        (or "saved unreadable: REASON")
    tags same N                   (or "tags differ at K: ORIGINAL | SAVED")
    repairs none                  (or "repairs KIND COUNT, ...")
    dimension texts agree N       (or "dimension text differs: ..."), when
                                  the repair drew dimension blocks

The saved file must hold every tag of the original in order. Besides them it
may hold only what the host's repair on loading adds, each counted under
"repairs": whole LAYER, LTYPE, STYLE or BLOCK_RECORD entries in the tables,
blocks of LINEs, SOLIDs and TEXTs, and XRECORDs in the objects ("added
TYPE"); the name (2) of such a block in a DIMENSION that has none or an
empty one ("dimension block"); an owner (330) after an object's handle and 102 groups,
where the original has none or gives 0 ("owner"); a larger table count (70 of
a TABLE, "table count"); and the $HANDSEED that new handles advance ("handle
seed").
"""
import sys
from collections import Counter
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


ADDED_RECORDS = {
    "TABLES": {"LAYER", "LTYPE", "STYLE", "BLOCK_RECORD"},
    "BLOCKS": {"BLOCK", "LINE", "SOLID", "TEXT", "ENDBLK"},
    "OBJECTS": {"XRECORD"},
}
# What each added record holds after its type, handle, owner and class
# markers; None stands for any value. A dimension's picture is checked by
# what the library's audit and measurement make of it.
ADDED_CONTENT = {
    "LAYER": [(2, None), (70, "0"), (62, "7"), (6, "CONTINUOUS")],
    "LTYPE": [(2, None), (70, "0"), (3, ""), (72, "65"), (73, "0"), (40, "0.0")],
    "STYLE": [(2, None), (70, "0"), (40, "0.0"), (41, "1.0"), (50, "0.0"), (71, "0"), (42, "0.2"), (3, "txt"),
              (4, "")],
    "XRECORD": [(102, "{ACAD_REACTORS"), (330, None), (102, "}"), (330, None), (100, "AcDbXrecord"), (280, "1")],
}


class Context:
    """Where a tag of the original stands: section, record, header variable."""

    def __init__(self):
        self.section = self.record = self.variable = None
        self.previous = None

    def take(self, tag):
        code, value = tag
        if code == 0:
            self.record = value
        elif code == 2 and self.record == "SECTION" and self.previous == (0, "SECTION"):
            self.section = value
        elif code == 9:
            self.variable = value
        self.previous = tag


def record_end(tags, start):
    end = start + 1
    while end < len(tags) and tags[end][0] != 0:
        end += 1
    return end


def added_as_repaired(record):
    """Whether a record the original lacks is one the repair adds."""
    kind, rest = record[0][1], record[1:]
    # Its handle, then for a table entry its owner and class markers.
    skip = 1 if rest and rest[0][0] == 5 else 0
    if kind != "XRECORD":
        skip += 1 if skip < len(rest) and rest[skip][0] == 330 else 0
        while skip < len(rest) and rest[skip][0] == 100:
            skip += 1
    rest = rest[skip:]
    if kind not in ADDED_CONTENT:
        return True
    expected = ADDED_CONTENT[kind]
    return len(rest) == len(expected) and all(
        code == want_code and (want is None or same_value(value, want))
        for (code, value), (want_code, want) in zip(rest, expected))


def same_value(value, text):
    """A value as read (a number from a binary file) against its text."""
    if isinstance(value, (int, float)):
        try:
            return float(text) == value
        except ValueError:
            return False
    return value == text


def repair(context, before, i, after, j):
    """The repair that explains after[j] against before[i]: its kind and how
    many tags of each side it covers, or None."""
    (code_a, value_a), (code_b, value_b) = before[i], after[j]
    if code_a == 0 and code_b == 0 and value_b in ADDED_RECORDS.get(context.section, ()):
        end = record_end(after, j)
        return ("added " + value_b, 0, end - j) if added_as_repaired(after[j:end]) else None
    leading = after[j - 1][0] == 5 or after[j - 1] == (102, "}")
    if context.section == "OBJECTS" and code_b == 330 and leading:
        return ("owner", 1, 1) if (code_a, value_a.strip()) == (330, "0") else ("owner", 0, 1)
    if context.record == "DIMENSION" and code_b == 2 and value_b.startswith("*D"):
        if code_a != 2:
            return "dimension block", 0, 1
        if value_a == "":
            return "dimension block", 1, 1
    if context.section == "HEADER" and context.variable == "$HANDSEED" and code_a == code_b == 5:
        return "handle seed", 1, 1
    if context.record == "TABLE" and code_a == code_b == 70 and int(value_b) > int(value_a):
        return "table count", 1, 1
    return None


def compare(original, saved):
    before, after = tags(original), tags(saved)
    context, repairs = Context(), Counter()
    i = j = 0
    while i < len(before) and j < len(after):
        if before[i] == after[j]:
            context.take(before[i])
            i, j = i + 1, j + 1
            continue
        found = repair(context, before, i, after, j)
        if not found:
            print(f"tags differ at {i}: {before[i]} | {after[j]}")
            return
        kind, taken, given = found
        repairs[kind] += 1
        for tag in before[i:i + taken]:
            context.take(tag)
        i, j = i + taken, j + given
    if i != len(before) or j != len(after):
        print(f"tags differ at {i}: {len(before)} tags | {len(after)} tags")
        return
    print(f"tags same {len(before)}")
    print("repairs " + (", ".join(f"{kind} {count}" for kind, count in sorted(repairs.items())) or "none"))
    return repairs


def dimension_texts(path):
    """Whether the text in each linear or circular dimension's block shows the
    measurement the library takes from the definition points (the drawing's
    own dimension blocks may show other texts: checked after a repair only)."""
    try:
        doc = ezdxf.readfile(path)
    except Exception:  # reported by the audit already
        return
    checked = 0
    for dimension in doc.modelspace().query("DIMENSION"):
        block = doc.blocks.get(dimension.dxf.get("geometry", ""))
        if block is None or dimension.dimtype & 7 not in (0, 1, 3, 4):
            continue
        measurement = dimension.get_measurement()
        texts = [text.dxf.text for text in block.query("TEXT")]
        decimals = [len(text.split(".")[-1]) if "." in text else 0 for text in texts]
        if not any(f"{measurement:.{places}f}" in text for text, places in zip(texts, decimals)):
            print(f"dimension text differs: {dimension.dxf.handle} measures {measurement}, shows {texts}")
            return
        checked += 1
    print(f"dimension texts agree {checked}")


def main():
    original, saved = sys.argv[1], sys.argv[2]
    audit("original", original)
    audit("saved", saved)
    repairs = compare(original, saved)
    if repairs and repairs["dimension block"]:
        dimension_texts(saved)


if __name__ == "__main__":
    main()
