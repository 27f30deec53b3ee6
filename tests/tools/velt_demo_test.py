#!/usr/bin/env python3
"""tests/tools/velt_demo_test.py: runs `velt demo` as the README's main job does and checks what
it wrote: the linetype library, a drawing that velt itself and an independent reader (ezdxf,
when installed) load with the counts the demo builds, and a well-formed SVG (xmllint) that shows
the rooms' names and nothing of the frozen furniture layer.

Usage: velt_demo_test.py --velt PATH
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

VELT = None

# What the demo builds: model-space entities by type (hatches are written as inserts of their
# pattern blocks in AC1009, so reloaded they count as HATCH or INSERT: only the sum is fixed).
EXPECTED = {"LINE": 6, "CIRCLE": 7, "POLYLINE": 9, "TEXT": 16}
DOORS_AND_HATCHES = 6
LAYERS = 9  # 0 and eight of the demo's own
FROZEN_LAYER = "ARREDI"


def run(*args):
    return subprocess.run([VELT, *args], capture_output=True, text=True, timeout=300)


class Demo(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="velt-demo-")
        cls.out = run("demo", "-o", cls.dir)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def test_writes_and_names_its_files(self):
        self.assertEqual(self.out.returncode, 0, self.out.stderr)
        for name in ("demo.lin", "demo.dxf", "demo.svg"):
            self.assertIn(name, self.out.stdout)
            self.assertGreater(os.path.getsize(self.path(name)), 0, name)

    def test_drawing_loads_back_with_what_the_demo_built(self):
        out = run("info", "--json", self.path("demo.dxf"))
        self.assertEqual(out.returncode, 0, out.stderr)
        report = json.loads(out.stdout)
        self.assertEqual(report["version"], "AC1009")
        self.assertEqual(report["layers"], LAYERS)
        entities = report["entities"]
        for kind, count in EXPECTED.items():
            self.assertEqual(entities.get(kind, 0), count, kind)
        self.assertEqual(entities.get("INSERT", 0) + entities.get("HATCH", 0), DOORS_AND_HATCHES)
        self.assertGreater(report["entities_in_blocks"], 0)

    def test_independent_reader_sees_the_plan(self):
        python = shutil.which("python3", path="/usr/bin") or "python3"
        probe = subprocess.run([python, "-c", "import ezdxf"], capture_output=True)
        if probe.returncode != 0:
            self.skipTest("no python3 with ezdxf")
        script = (
            "import ezdxf, json, sys\n"
            "d = ezdxf.readfile(sys.argv[1])\n"
            "doors = [e for e in d.modelspace().query('INSERT') if e.dxf.name == 'PORTA']\n"
            "print(json.dumps({'frozen': [l.dxf.name for l in d.layers if l.is_frozen()],\n"
            "  'ltypes': sorted(l.dxf.name for l in d.linetypes),\n"
            "  'doors': sorted([e.dxf.xscale, e.dxf.rotation, e.dxf.row_count * e.dxf.column_count]\n"
            "                  for e in doors)}))\n")
        out = subprocess.run([python, "-c", script, self.path("demo.dxf")], capture_output=True,
                             text=True, timeout=120)
        self.assertEqual(out.returncode, 0, out.stderr)
        seen = json.loads(out.stdout)
        self.assertEqual(seen["frozen"], [FROZEN_LAYER])
        for name in ("CENTER", "DASHED", "GAS", "HIDDEN"):
            self.assertIn(name, seen["ltypes"])
        # Rotated, mirrored, and the 2 x 3 array of the legend.
        self.assertEqual(seen["doors"], [[-1.0, 0.0, 1], [1.0, 0.0, 6], [1.0, 90.0, 1]])

    def test_svg_is_well_formed_and_shows_the_plan(self):
        svg = self.path("demo.svg")
        lint = subprocess.run(["xmllint", "--noout", svg], capture_output=True, text=True)
        self.assertEqual(lint.returncode, 0, lint.stderr)
        with open(svg, encoding="utf-8") as f:
            text = f.read()
        for room in ("SOGGIORNO", "CUCINA", "STUDIO", "P1", "P2", "TIPO A"):
            self.assertIn(room, text)
        self.assertNotIn(FROZEN_LAYER, text)

    def test_linetype_library_reads_as_written(self):
        with open(self.path("demo.lin"), encoding="ascii") as f:
            headers = [line[1:].split(",")[0] for line in f if line.startswith("*")]
        self.assertEqual(headers, ["DASHED", "CENTER", "HIDDEN", "GAS"])


def main():
    global VELT
    parser = argparse.ArgumentParser()
    parser.add_argument("--velt", required=True)
    args, rest = parser.parse_known_args()
    VELT = os.path.abspath(args.velt)
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
