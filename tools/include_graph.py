#!/usr/bin/python3
"""Prints which platform folders include which, and the cycles between them.

    include_graph.py [--quiet] [--root PLATFORM_DIR]

Reads every `#include "..."` of the C and C++ files under the platform folder
(platform/ beside tools/ unless --root says otherwise) and resolves it the way
the build does: the including file's own folder first, then include/, then the
platform folder itself. Includes that resolve to no file (system headers,
generated ones) are left out.

Prints one line per folder with the folders it includes and how many include
lines lead there, then every cycle between folders, each edge of a cycle with
the include lines that make it. --quiet prints only the cycles. Exit status 1
when there is a cycle, 0 when there is none, 2 for bad arguments.
"""
import argparse
import re
import sys
from collections import defaultdict
from pathlib import Path

SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp", ".inc"}
INCLUDE_LINE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def resolve(root, including, name):
    """The file an include names, as the compiler finds it, or None."""
    for base in (including.parent, root / "include", root):
        candidate = (base / name).resolve()
        if candidate.is_file():
            return candidate
    return None


def folder_of(root, path):
    """The platform folder a file lies in; files at the top count as '.'."""
    parts = path.relative_to(root).parts
    return parts[0] if len(parts) > 1 else "."


def read_edges(root):
    """Maps (from folder, to folder) to the include lines that make the edge."""
    root = root.resolve()
    edges = defaultdict(list)
    for path in sorted(root.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        source = folder_of(root, path)
        lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE_LINE.match(line)
            target = match and resolve(root, path, match.group(1))
            if not target or root not in target.parents:
                continue
            destination = folder_of(root, target)
            if destination != source:
                where = f"{path.relative_to(root.parent)}:{number}: {line.strip()}"
                edges[(source, destination)].append(where)
    return edges


def simple_cycles(edges):
    """Every elementary cycle, each once, starting at its smallest folder."""
    successors = defaultdict(set)
    for source, destination in edges:
        successors[source].add(destination)
    cycles = []

    def walk(start, path):
        for following in sorted(successors[path[-1]]):
            if following == start:
                cycles.append(path + [start])
            elif following > start and following not in path:
                walk(start, path + [following])

    for start in sorted(successors):
        walk(start, [start])
    return sorted(cycles, key=lambda cycle: (len(cycle), cycle))


def print_graph(edges):
    targets = defaultdict(list)
    for (source, destination), lines in sorted(edges.items()):
        targets[source].append(f"{destination} ({len(lines)})")
    for source in sorted(targets):
        print(f"{source} -> {', '.join(targets[source])}")


def print_cycles(edges, cycles):
    print(f"cycles: {len(cycles)}")
    for cycle in cycles:
        print("cycle " + " -> ".join(cycle))
        for source, destination in zip(cycle, cycle[1:]):
            print(f"  {source} -> {destination}")
            for where in edges[(source, destination)]:
                print(f"    {where}")


def main(argv):
    parser = argparse.ArgumentParser(description="Include graph of the platform folders")
    parser.add_argument("--quiet", action="store_true", help="print only the cycles")
    parser.add_argument("--root", type=Path,
                        default=Path(__file__).resolve().parent.parent / "platform")
    arguments = parser.parse_args(argv)
    if not arguments.root.is_dir():
        print(f"include_graph: no folder {arguments.root}", file=sys.stderr)
        return 2
    edges = read_edges(arguments.root)
    cycles = simple_cycles(edges)
    if not arguments.quiet:
        print_graph(edges)
    if cycles or not arguments.quiet:
        print_cycles(edges, cycles)
    return 1 if cycles else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
