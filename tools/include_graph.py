#!/usr/bin/python3
"""Prints which platform folders include which, the cycles between them and
the includes that break the declared layer order.

    include_graph.py [--quiet] [--root PLATFORM_DIR]

Reads every `#include "..."` of the C and C++ files under the platform folder
(platform/ beside tools/ unless --root says otherwise) and resolves it the way
the build does: the including file's own folder first, then include/,
host_include/ and host_api/, then the platform folder itself. Includes that
resolve to no file (system headers, generated ones) are left out.

The layer order is read from layers.txt in the platform folder when there is
one: a line per layer, lowest first, naming its folders; '#' starts a comment.
A folder may include folders of lower layers only, and every folder that
includes or is included must have a layer.

Prints one line per folder with the folders it includes and how many include
lines lead there, then every cycle between folders, each edge of a cycle with
the include lines that make it, then the edges against the layer order.
--quiet prints only cycles and layer violations. Exit status 1 when there is
either, 0 when there is none, 2 for bad arguments.
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
    for base in (including.parent, root / "include", root / "host_include", root / "host_api", root):
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


def read_layers(root):
    """Maps each folder to its layer number (0 lowest), or None without layers.txt."""
    declaration = root / "layers.txt"
    if not declaration.is_file():
        return None
    layers = {}
    lines = [line.split("#")[0].split() for line in declaration.read_text().splitlines()]
    for number, folders in enumerate(line for line in lines if line):
        layers.update((folder, number) for folder in folders)
    return layers


def layer_violations(edges, layers):
    """The edges from a folder to one not below it, or from or to a folder without a layer."""
    if layers is None:
        return []
    return [(source, destination) for source, destination in sorted(edges)
            if source not in layers or destination not in layers or layers[destination] >= layers[source]]


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


def print_violations(edges, violations):
    print(f"layer violations: {len(violations)}")
    for source, destination in violations:
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
    layers = read_layers(arguments.root)
    violations = layer_violations(edges, layers)
    if not arguments.quiet:
        print_graph(edges)
    if cycles or not arguments.quiet:
        print_cycles(edges, cycles)
    if violations or (layers is not None and not arguments.quiet):
        print_violations(edges, violations)
    return 1 if cycles or violations else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
