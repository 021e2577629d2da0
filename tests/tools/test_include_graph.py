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
            done = subprocess.run([sys.executable, str(TOOL), "--root", str(root), *options],
                                  capture_output=True, text=True)
            return done.returncode, done.stdout

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


if __name__ == "__main__":
    unittest.main()
