"""The include-graph tool on small platform trees built in a scratch folder."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

TOOL = Path(__file__).resolve().parents[2] / "tools" / "include_graph.py"


class IncludeGraphTest(unittest.TestCase):
    def run_on(self, files, *options):
        with tempfile.TemporaryDirectory() as scratch:
            root = Path(scratch) / "platform"
            for name, text in files.items():
                (root / name).parent.mkdir(parents=True, exist_ok=True)
                (root / name).write_text(text)
            return self.run_tool("--root", str(root), *options)

    def run_tool(self, *arguments):
        done = subprocess.run([sys.executable, str(TOOL), *arguments], capture_output=True, text=True)
        return done.returncode, done.stdout

    def test_the_platform_keeps_its_layers(self):
        self.assertEqual(self.run_tool("--quiet"), (0, ""))

    def test_folders_without_cycles_pass_and_quiet_prints_nothing(self):
        tree = {"db/a.cpp": '#include "include/api.h"\n#include "a.h"\n#include <vector>\n',
                "db/a.h": "", "include/api.h": '#include "gone.h"\n', "ui/b.cpp": '#include "db/a.h"\n'}
        self.assertEqual(self.run_on(tree), (0, "db -> include (1)\nui -> db (1)\ncycles: 0\n"))
        self.assertEqual(self.run_on(tree, "--quiet"), (0, ""))

    def test_own_folder_wins_over_include_and_root(self):
        tree = {"ui/x.cpp": '#include "db.h"\n', "ui/db.h": "", "include/db.h": "",
                "win/y.cpp": '#include "db.h"\n', "db.h": ""}
        self.assertEqual(self.run_on(tree), (0, "win -> include (1)\ncycles: 0\n"))

    def test_each_cycle_is_listed_once_with_the_lines_that_make_it(self):
        tree = {"acad/a.cpp": '#include "win/w.h"\n', "win/w.h": '\n#include "ui/u.h"\n',
                "ui/u.h": '#  include "acad/a.h"\n', "acad/a.h": "", "win/v.cpp": '#include "acad/a.h"\n'}
        status, out = self.run_on(tree, "--quiet")
        self.assertEqual(status, 1)
        self.assertEqual(out.splitlines(), [
            "cycles: 2",
            "cycle acad -> win -> acad",
            "  acad -> win", '    platform/acad/a.cpp:1: #include "win/w.h"',
            "  win -> acad", '    platform/win/v.cpp:1: #include "acad/a.h"',
            "cycle acad -> win -> ui -> acad",
            "  acad -> win", '    platform/acad/a.cpp:1: #include "win/w.h"',
            "  win -> ui", '    platform/win/w.h:2: #include "ui/u.h"',
            "  ui -> acad", '    platform/ui/u.h:1: #  include "acad/a.h"'])

    def test_includes_against_the_layer_order_are_listed(self):
        layers = "# lowest first\ninclude\ndb  # the drawing\ndxf ui\n"
        tree = {"layers.txt": layers, "db/a.h": '#include "dxf/r.h"\n#include "api.h"\n', "dxf/r.h": "",
                "include/api.h": "", "ui/s.cpp": '#include "dxf/r.h"\n#include "db/a.h"\n',
                "win/w.cpp": '#include "db/a.h"\n'}
        self.assertEqual(self.run_on(tree, "--quiet"), (1, "\n".join([
            "layer violations: 3",
            "  db -> dxf", '    platform/db/a.h:1: #include "dxf/r.h"',
            "  ui -> dxf", '    platform/ui/s.cpp:1: #include "dxf/r.h"',
            "  win -> db", '    platform/win/w.cpp:1: #include "db/a.h"']) + "\n"))
        del tree["win/w.cpp"]
        tree["db/a.h"] = '#include "api.h"\n'
        tree["ui/s.cpp"] = '#include "db/a.h"\n'
        self.assertEqual(self.run_on(tree), (0, "db -> include (1)\nui -> db (1)\ncycles: 0\nlayer violations: 0\n"))


if __name__ == "__main__":
    unittest.main()
