#!/usr/bin/env python3
"""tests/tools/velt_render_test.py: runs the built velt as a user would and checks the images
`velt render` draws.

Usage: velt_render_test.py --velt PATH [--corpus DIR] [unittest names...]

Groups (unittest classes), one CTest entry each:
  SvgDrawing  drawings written here, one element per entity: kinds, block arrays, attributes,
              dashes, colours, frozen and off layers, --layers, the fitted view
  PngImage    size from the PNG header, pixels decoded and compared with the drawing
  BadInput    exit codes and messages for bad names, sizes, files and flags
  Corpus      every corpus drawing the library reads, as SVG: well-formed, one top-level element
              per entity on a shown layer; three as PNG, not blank (exit 77, a skip, when the
              corpus folder is absent)
"""
import argparse
import collections
import csv
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zlib

VELT = None
CORPUS = None
SKIP = 77  # the code CTest is told means "skipped"
SVG = "{http://www.w3.org/2000/svg}"


def run(*args):
    return subprocess.run([VELT, *args], capture_output=True, text=True, errors="replace",
                          timeout=300)


def render(source, image, *options):
    out = run("render", source, "-o", image, *options)
    if out.returncode != 0:
        raise AssertionError(f"render {source}: exit {out.returncode}: {out.stderr}")
    return out


# ---- Drawings written here ----

def dxf(*pairs):
    return "".join(f"{code}\n{value}\n" for code, value in pairs)


def drawing(entities, layers=(), ltypes=(), blocks=(), ltscale=1.0):
    """An AC1009 file. layers: (name, colour, linetype, flags); ltypes: (name, [dashes])."""
    text = dxf((0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1009"),
               (9, "$LTSCALE"), (40, ltscale), (0, "ENDSEC"), (0, "SECTION"), (2, "TABLES"),
               (0, "TABLE"), (2, "LTYPE"), (70, len(ltypes)))
    for name, dashes in ltypes:
        text += dxf((0, "LTYPE"), (2, name), (70, 0), (3, name), (72, 65), (73, len(dashes)),
                    (40, sum(map(abs, dashes))), *[(49, d) for d in dashes])
    text += dxf((0, "ENDTAB"), (0, "TABLE"), (2, "LAYER"), (70, len(layers)))
    for name, colour, ltype, flags in layers:
        text += dxf((0, "LAYER"), (2, name), (70, flags), (62, colour), (6, ltype))
    text += dxf((0, "ENDTAB"), (0, "ENDSEC"), (0, "SECTION"), (2, "BLOCKS"))
    for name, contents in blocks:
        text += dxf((0, "BLOCK"), (8, "0"), (2, name), (70, 2), (10, 0), (20, 0), (30, 0))
        text += "".join(contents) + dxf((0, "ENDBLK"), (8, "0"))
    text += dxf((0, "ENDSEC"), (0, "SECTION"), (2, "ENTITIES"))
    return text + "".join(entities) + dxf((0, "ENDSEC"), (0, "EOF"))


def line(x1, y1, x2, y2, layer="0", *extra):
    return dxf((0, "LINE"), (8, layer), *extra, (10, x1), (20, y1), (11, x2), (21, y2))


def circle(x, y, r, layer="0", *extra):
    return dxf((0, "CIRCLE"), (8, layer), *extra, (10, x), (20, y), (40, r))


def polyline(points, layer="0", flags=0, width=None):
    head = [(0, "POLYLINE"), (8, layer), (66, 1), (70, flags)]
    if width is not None:
        head += [(40, width), (41, width)]
    text = dxf(*head)
    for x, y in points:
        text += dxf((0, "VERTEX"), (8, layer), (10, x), (20, y))
    return text + dxf((0, "SEQEND"), (8, layer))


def insert(name, x, y, layer="0", *extra, attributes=()):
    text = dxf((0, "INSERT"), (8, layer), (66, 1 if attributes else 0), (2, name), (10, x),
               (20, y), *extra)
    for tag, value, ax, ay in attributes:
        text += dxf((0, "ATTRIB"), (8, "0"), (10, ax), (20, ay), (40, 1), (1, value), (2, tag),
                    (70, 0))
    return text + (dxf((0, "SEQEND"), (8, "0")) if attributes else "")


# One entity of every kind, and a block of two lines, a circle and a field, inserted as an
# array of 2 rows and 3 columns with its field filled in.
EVERY_KIND = drawing(
    [dxf((0, "POINT"), (8, "0"), (10, 5), (20, 5)),
     line(0, 0, 100, 0, "0", (62, 1)),
     circle(20, 20, 5, "0", (62, 5)),
     dxf((0, "ARC"), (8, "0"), (10, 40), (20, 20), (40, 5), (50, 0), (51, 90)),
     polyline([(60, 10), (70, 20), (80, 10)]),
     polyline([(60, 30), (70, 40), (80, 30)], width=2),
     dxf((0, "TEXT"), (8, "0"), (10, 0), (20, 40), (40, 3), (1, "hello & <b>")),
     dxf((0, "3DFACE"), (8, "0"), (10, 0), (20, 50), (30, 0), (11, 10), (21, 50), (31, 0),
         (12, 10), (22, 60), (32, 0), (13, 0), (23, 60), (33, 0)),
     dxf((0, "ATTDEF"), (8, "0"), (10, 50), (20, 50), (40, 2), (1, "x"), (3, "Prompt"),
         (2, "LOOSE"), (70, 0)),
     insert("DOOR", 100, 50, "0", (62, 3), (70, 3), (71, 2), (44, 10), (45, 10),
            attributes=[("NUMBER", "D1", 100, 48)])],
    blocks=[("DOOR", [line(0, 0, 5, 0, "0", (62, 0)), line(0, 0, 0, 5),
                      circle(2, 2, 1, "0", (62, 0)),
                      dxf((0, "ATTDEF"), (8, "0"), (10, 0), (20, -2), (40, 1), (1, "?"),
                          (3, "Number?"), (2, "NUMBER"), (70, 0))])])


def svg_tree(path):
    return ET.parse(path).getroot()


def model(root):
    return root.find(f"{SVG}g[@id='model']")


def classes(elements):
    return collections.Counter(e.get("class") for e in elements if e.get("class"))


def all_classes(root):
    return classes(model(root).iter())


def top_classes(root):
    return classes(list(model(root)))


def of_class(root, kind):
    return inside(model(root), kind)


def inside(element, kind):
    return [e for e in element.iter() if e.get("class") == kind]


def tag(element):
    return element.tag.replace(SVG, "")


def subpaths(element):
    return len(re.findall(r"M", element.get("d", "")))


def numbers(text):
    return [float(v) for v in re.findall(r"-?\d+(?:\.\d+)?(?:e-?\d+)?", text)]


def xmllint(path):
    return subprocess.run(["xmllint", "--noout", path], capture_output=True, text=True)


class Scratch(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.tmp.cleanup()

    def file(self, name, text=None):
        path = os.path.join(self.tmp.name, name)
        if text is not None:
            with open(path, "w", newline="") as f:
                f.write(text)
        return path

    def svg_of(self, text, *options):
        source, image = self.file("d.dxf", text), self.file("d.svg")
        render(source, image, *options)
        self.assertEqual(xmllint(image).returncode, 0, xmllint(image).stderr)
        return svg_tree(image)


class SvgDrawing(Scratch):
    def test_every_entity_is_one_element_of_its_kind_and_an_array_repeats_its_block(self):
        root = self.svg_of(EVERY_KIND)
        self.assertEqual(top_classes(root), {
            "point": 1, "line": 1, "circle": 1, "arc": 1, "polyline": 2, "text": 1, "face": 1,
            "attdef": 1, "insert": 1})
        # Six copies of two lines and a circle; the attribute once; the field never.
        self.assertEqual(all_classes(root), {
            "point": 1, "line": 13, "circle": 7, "arc": 1, "polyline": 2, "text": 1, "face": 1,
            "attdef": 1, "insert": 1, "attrib": 1})
        kinds = {c: {tag(e) for e in of_class(root, c)} for c in ("circle", "text", "attrib")}
        self.assertEqual(kinds, {"circle": {"circle"}, "text": {"text"}, "attrib": {"text"}})
        self.assertEqual(of_class(root, "text")[0].text, "hello & <b>")
        self.assertEqual(of_class(root, "attrib")[0].text, "D1")
        self.assertEqual(of_class(root, "attdef")[0].text, "LOOSE")
        # The wide polyline is filled, the thin one stroked; the face is a closed outline.
        wide, thin = sorted(of_class(root, "polyline"), key=lambda e: e.get("fill") is None)
        self.assertEqual((wide.get("stroke"), thin.get("fill")), ("none", None))
        self.assertEqual(tag(of_class(root, "face")[0]), "polygon")

    def test_array_copies_are_spaced_by_the_rows_and_columns(self):
        root = self.svg_of(EVERY_KIND)
        centres = sorted((float(c.get("cx")), float(c.get("cy")))
                         for c in inside(of_class(root, "insert")[0], "circle"))
        xs = sorted({round(x, 1) for x, _ in centres})
        ys = sorted({round(y, 1) for _, y in centres})
        self.assertEqual((len(xs), len(ys)), (3, 2))
        # Ten units apart both ways, and the rows go up the drawing: down the image.
        self.assertAlmostEqual(xs[1] - xs[0], xs[2] - xs[1], delta=0.2)
        self.assertAlmostEqual(ys[1] - ys[0], xs[1] - xs[0], delta=0.2)
        line0 = of_class(root, "line")[0]
        unit = (float(line0.get("x2")) - float(line0.get("x1"))) / 100
        self.assertAlmostEqual(xs[1] - xs[0], 10 * unit, delta=0.2)

    def test_colours_resolve_by_entity_layer_and_block(self):
        text = drawing(
            [line(0, 0, 10, 0, "RED", (62, 256)), line(0, 1, 10, 1, "RED", (62, 4)),
             insert("B", 0, 5, "RED", (62, 2)), insert("B", 5, 5, "RED"),
             line(0, 2, 10, 2, "0")],
            layers=[("RED", 1, "CONTINUOUS", 0)],
            blocks=[("B", [line(0, 0, 1, 1, "0", (62, 0))])])
        strokes = lambda root: [e.get("stroke") for e in of_class(root, "line")]
        # By layer, its own, by block (the insert's own, then the insert's by-layer colour),
        # and colour 7, which follows the background.
        self.assertEqual(strokes(self.svg_of(text)),
                         ["#ff0000", "#00ffff", "#ffff00", "#ff0000", "#000000"])
        black = self.svg_of(text, "--background", "black")
        self.assertEqual(strokes(black)[-1], "#ffffff")
        self.assertEqual(black.find(f"{SVG}rect").get("fill"), "#000000")

    def test_dashes_follow_the_linetype_and_the_linetype_scale(self):
        ltypes = [("DASHED", [10, -5])]
        layers = [("D", 7, "DASHED", 0)]
        dashed = [line(0, 0, 100, 0, "D"), line(0, 10, 100, 10, "0", (6, "DASHED")),
                  line(0, 20, 100, 20, "D", (6, "CONTINUOUS"))]
        # 100 units of a 15-unit pattern: seven dashes, the last one 10 units long; at scale 2
        # the pattern is 30 units: four dashes.
        for scale, want in ((1.0, 7), (2.0, 4)):
            with self.subTest(ltscale=scale):
                root = self.svg_of(drawing(dashed, layers, ltypes, ltscale=scale))
                lines = of_class(root, "line")
                self.assertEqual([tag(e) for e in lines], ["path", "path", "line"])
                self.assertEqual([subpaths(e) for e in lines[:2]], [want, want])
                xs = numbers(lines[0].get("d"))[0::2]
                length = float(lines[2].get("x2")) - float(lines[2].get("x1"))
                # The first dash is 10 units long, whatever the scale does to the gaps.
                self.assertAlmostEqual(xs[1] - xs[0], length * 10 * scale / 100, delta=0.05)

    def test_frozen_and_off_layers_are_not_drawn_nor_what_a_frozen_reference_holds(self):
        text = drawing(
            [line(0, 0, 10, 0, "ON"), line(0, 1, 10, 1, "FROZEN"), line(0, 2, 10, 2, "OFF"),
             circle(5, 5, 1, "FROZEN"), insert("B", 0, 5, "FROZEN"), insert("B", 0, 9, "OFF")],
            layers=[("ON", 1, "CONTINUOUS", 0), ("FROZEN", 2, "CONTINUOUS", 1),
                    ("OFF", -3, "CONTINUOUS", 0), ("OWN", 5, "CONTINUOUS", 0)],
            blocks=[("B", [line(0, 0, 1, 1, "0"), line(0, 1, 1, 0, "OWN")])])
        root = self.svg_of(text)
        # A reference on an off layer still shows its block's entities of other layers.
        self.assertEqual(top_classes(root), {"line": 1, "insert": 1})
        self.assertEqual([e.get("stroke") for e in of_class(root, "line")],
                         ["#ff0000", "#0000ff"])

    def test_layers_option_draws_only_the_named_layers_and_refuses_unknown_names(self):
        text = drawing([line(0, 0, 10, 0, "A"), line(0, 1, 10, 1, "B"), circle(0, 0, 1, "C"),
                        insert("B1", 0, 0, "A")],
                       layers=[(n, 1, "CONTINUOUS", 0) for n in "ABC"],
                       blocks=[("B1", [line(0, 0, 1, 1, "0"), circle(0, 0, 1, "C")])])
        self.assertEqual(all_classes(self.svg_of(text, "--layers", "a")),
                         {"line": 2, "insert": 1})
        self.assertEqual(all_classes(self.svg_of(text, "--layers", "B,C")),
                         {"line": 1, "circle": 2, "insert": 1})
        out = run("render", self.file("d.dxf"), "-o", self.file("x.svg"), "--layers", "A,NOPE")
        self.assertEqual(out.returncode, 1, out.stderr)
        self.assertIn("NOPE", out.stderr)

    def test_the_drawing_is_fitted_to_the_image_and_centred(self):
        root = self.svg_of(drawing([line(0, 0, 100, 0), line(0, 0, 0, 50)]), "--size", "800x600")
        self.assertEqual((root.get("width"), root.get("height")), ("800", "600"))
        ends = [(float(e.get(f"x{i}")), float(e.get(f"y{i}")))
                for e in of_class(root, "line") for i in (1, 2)]
        xs, ys = [x for x, _ in ends], [y for _, y in ends]
        # The wider side fills the image but for a margin of a few percent on each side.
        self.assertTrue(0.85 * 800 < max(xs) - min(xs) < 800, xs)
        self.assertAlmostEqual(min(xs), 800 - 1 - max(xs), delta=1)
        self.assertAlmostEqual(min(ys), 600 - 1 - max(ys), delta=1)
        self.assertAlmostEqual((max(ys) - min(ys)) * 2, max(xs) - min(xs), delta=1)


# ---- PNG, decoded here ----

def read_png(path):
    """(width, height, rows of (r, g, b) tuples) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour_type, _, _, interlace = header
    assert depth == 8 and colour_type in (2, 6) and interlace == 0, header
    bpp = 3 if colour_type == 2 else 4
    raw, stride, rows, previous = zlib.decompress(idat), width * bpp, [], bytearray(width * bpp)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = row[i - bpp] if i >= bpp else 0
            up, corner = previous[i], previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                near = min((abs(p - left), 0, left), (abs(p - up), 1, up),
                           (abs(p - corner), 2, corner))[2]
                row[i] = (row[i] + near) & 255
        rows.append([tuple(row[i:i + 3]) for i in range(0, stride, bpp)])
        previous = row
    return width, height, rows


class PngImage(Scratch):
    def png_of(self, text, *options):
        source, image = self.file("d.dxf", text), self.file("d.png")
        render(source, image, *options)
        return read_png(image)

    def test_the_image_has_the_requested_size_and_shows_the_drawing_in_its_colours(self):
        text = drawing([line(0, 0, 100, 0, "0", (62, 1)), line(0, 50, 100, 50, "0", (62, 5)),
                        circle(50, 25, 10, "0", (62, 3))])
        width, height, rows = self.png_of(text, "--size", "320x200")
        self.assertEqual((width, height), (320, 200))
        self.assertEqual(rows[0][0], (255, 255, 255))
        # A pixel leans to a colour when that channel stands well above the two others: a
        # line shares each column between two pixels, mixed with the white around it.
        def leaning(channel):
            return [(x, y) for y, r in enumerate(rows) for x, p in enumerate(r)
                    if all(p[channel] - p[c] > 60 for c in range(3) if c != channel)]
        reddish, greenish, bluish = leaning(0), leaning(1), leaning(2)
        # The red line runs across most of the image along one or two rows near the bottom; the
        # blue one likewise near the top; the circle lies between them.
        self.assertGreater(len({x for x, _ in reddish}), 0.8 * 320)
        self.assertLessEqual(len({y for _, y in reddish}), 2)
        self.assertLess(max(y for _, y in bluish), min(y for _, y in greenish))
        self.assertLess(max(y for _, y in greenish), min(y for _, y in reddish))

    def test_black_background_and_a_wide_polyline_filled_solid(self):
        text = drawing([polyline([(0, 0), (100, 0)], "0", width=20), line(0, 40, 100, 40)])
        width, height, rows = self.png_of(text, "--size", "200x120", "--background", "black")
        self.assertEqual((width, height), (200, 120))
        self.assertEqual(rows[0][0], (0, 0, 0))
        white = sum(p == (255, 255, 255) for r in rows for p in r)
        # Colour 7 is white here. The drawing is 100 units wide, 106 with the margins, across
        # 199 pixel steps: the band of 100 x 20 units is about 188 x 38 pixels, all white.
        unit = 199 / 106
        self.assertGreater(white, 0.9 * (100 * unit) * (20 * unit))
        self.assertLess(white, 1.1 * (100 * unit) * (20 * unit) + 2 * 100 * unit)


# ---- Bad input ----

ERROR_LINE = re.compile(r"^velt: (.+):(\d+): error (\d+): (.+)$")


class BadInput(Scratch):
    def setUp(self):
        super().setUp()
        self.source = self.file("d.dxf", drawing([line(0, 0, 10, 10)]))

    def expect(self, code, *args):
        out = run("render", *args)
        self.assertEqual(out.returncode, code, out.stderr)
        self.assertTrue(out.stderr.strip(), "no message")
        return out.stderr.strip()

    def test_usage_errors_exit_1_before_anything_is_written(self):
        image = self.file("x.svg")
        self.assertIn("x.bmp", self.expect(1, self.source, "-o", self.file("x.bmp")))
        self.expect(1, self.source, "-o", self.file("noext"))
        for size in ("15x100", "100x16385", "100", "x100", "10ax20", "-100x100", "1e3x100"):
            with self.subTest(size=size):
                self.assertIn(size, self.expect(1, self.source, "-o", image, "--size", size))
        self.expect(1, self.source, "-o", image, "--background", "purple")
        self.expect(1, self.source, "-o", image, "--no-such-flag")
        self.expect(1, self.source)  # no -o
        self.assertFalse(os.path.exists(image))
        self.assertEqual(run("render", self.source, "-o", self.file("UP.SVG"), "--size",
                             "16x16384").returncode, 0)

    def test_help_lists_the_options(self):
        out = run("render", "--help")
        self.assertEqual(out.returncode, 0)
        for option in ("-o", "--size", "--layers", "--background"):
            self.assertIn(option, out.stdout)

    def test_unreadable_input_exits_2_naming_the_file_and_the_line(self):
        missing = self.file("missing.dxf")
        self.assertIn(missing, self.expect(2, missing, "-o", self.file("x.png")))
        whole = drawing([line(0, 0, 10, 10), circle(0, 0, 5)])
        truncated = self.file("cut.dxf", whole[:whole.index("CIRCLE") + 12])
        newer = self.file("new.dxf", whole.replace("AC1009", "AC1018"))
        for path, error in ((truncated, None), (newer, 15)):
            with self.subTest(file=os.path.basename(path)):
                found = ERROR_LINE.match(self.expect(2, path, "-o", self.file("x.svg")))
                self.assertIsNotNone(found)
                self.assertEqual(found.group(1), path)
                self.assertGreater(int(found.group(2)), 0)
                if error:
                    self.assertEqual(int(found.group(3)), error)

    def test_an_unwritable_image_exits_2(self):
        image = os.path.join(self.tmp.name, "no", "such", "dir", "x.png")
        self.assertIn(image, self.expect(2, self.source, "-o", image))


# ---- The corpus ----

def records(path):
    """(section, record type, {group code: [values]}) for every group-0 record."""
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").split("\n")
    section, record = None, None
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code == "0":
            if record:
                yield record
            record = (section, value.upper(), collections.defaultdict(list))
            section = None if value.upper() == "ENDSEC" else section
        elif record:
            if record[1] == "SECTION" and code == "2":
                section = value.upper()
            record[2][code].append(value)
    if record:
        yield record


def manifest_rows():
    with open(os.path.join(CORPUS, "MANIFEST.tsv"), newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def newer_reader(acadver):
    return acadver.upper() in ("AC1014", "AC1015")


def loads(row, scanned):
    """Whether the library reads the file at all (the defects it refuses, as its tests list)."""
    version = row["acadver"]
    if row["line_endings"] == "binary" or "stray ENDSEC" in row["notes"]:
        return False
    if version != "none" and (len(version) != 6 or not version.startswith("AC10")
                              or int(version[4:]) > 15):
        return False
    layers = [g for s, kind, g in scanned if s == "TABLES" and kind == "LAYER"]
    handles = collections.Counter(g["5"][0] for s, kind, g in scanned
                                  if s in ("BLOCKS", "ENTITIES") and "5" in g
                                  and int(g["5"][0], 16))
    return not any(g.get("62", [""])[0] == "0" for g in layers) and \
        not any(n > 1 for n in handles.values())


# The SVG class of each entity type the readers build.
CLASS_OF = {"POINT": "point", "LINE": "line", "CIRCLE": "circle", "ARC": "arc",
            "POLYLINE": "polyline", "LWPOLYLINE": "polyline", "TEXT": "text",
            "ATTDEF": "attdef", "INSERT": "insert", "3DFACE": "face", "HATCH": "hatch"}


def expected_top_level(row, scanned):
    """(fewest, most) top-level elements per class: entities on frozen or off layers draw
    nothing, and a reference on an off layer may still show entities of other layers."""
    readable = set(CLASS_OF) - (set() if newer_reader(row["acadver"]) else {"LWPOLYLINE", "HATCH"})
    hidden, frozen = set(), set()
    for section, kind, g in scanned:
        if section == "TABLES" and kind == "LAYER":
            name = g.get("2", [""])[0].upper()
            flags, colour = int(g.get("70", ["0"])[0]), int(g.get("62", ["7"])[0])
            if flags & 1 or colour < 0:
                hidden.add(name)
            if flags & 1:
                frozen.add(name)
    fewest, most = collections.Counter(), collections.Counter()
    for section, kind, g in scanned:
        if section != "ENTITIES" or kind not in readable:
            continue
        layer, cls = g.get("8", ["0"])[0].upper(), CLASS_OF[kind]
        if layer not in hidden:
            fewest[cls] += 1
        if layer not in hidden or (kind == "INSERT" and layer not in frozen):
            most[cls] += 1
    return fewest, most


class Corpus(Scratch):
    def test_every_drawing_read_is_a_well_formed_svg_with_an_element_per_shown_entity(self):
        rendered = 0
        for row in manifest_rows():
            path = os.path.join(CORPUS, row["file"])
            scanned = [] if row["line_endings"] == "binary" else list(records(path))
            with self.subTest(file=row["file"]):
                image = self.file(row["file"] + ".svg")
                out = run("render", path, "-o", image)
                if not loads(row, scanned):
                    self.assertEqual(out.returncode, 2, out.stderr)
                    self.assertIsNotNone(ERROR_LINE.match(out.stderr.strip()), out.stderr)
                    continue
                self.assertEqual(out.returncode, 0, out.stderr)
                rendered += 1
                self.assertEqual(xmllint(image).returncode, 0, xmllint(image).stderr)
                self.check_counts(row, scanned, top_classes(svg_tree(image)))
        self.assertGreater(rendered, 30)

    def check_counts(self, row, scanned, got):
        fewest, most = expected_top_level(row, scanned)
        if newer_reader(row["acadver"]):
            # A hatch whose pattern the catalogue lacks (a solid fill) is dropped.
            fewest["hatch"] = 0
        else:
            # Older files carry hatches as references to pattern blocks.
            got["insert"] += got.pop("hatch", 0)
        for cls in set(most) | set(got):
            self.assertGreaterEqual(got[cls], fewest[cls], cls)
            self.assertLessEqual(got[cls], most[cls], cls)

    def test_drawings_with_texts_references_hatches_and_wide_polylines_make_pngs(self):
        for name in ("kabeja_r12_floorplan_draft1_dims_blocks.dxf",
                     "qcad_r12_dxflib_demo_blocks.dxf", "ezdxf_r12_polylines_bulge_width.dxf"):
            with self.subTest(file=name):
                image = self.file(name + ".png")
                render(os.path.join(CORPUS, name), image, "--size", "240x180")
                width, height, rows = read_png(image)
                self.assertEqual((width, height), (240, 180))
                inked = sum(p != (255, 255, 255) for r in rows for p in r)
                self.assertGreater(inked, 500)


def main():
    global VELT, CORPUS
    parser = argparse.ArgumentParser()
    parser.add_argument("--velt", required=True)
    parser.add_argument("--corpus", default="")
    args, rest = parser.parse_known_args()
    VELT, CORPUS = args.velt, args.corpus
    if "Corpus" in rest and not os.path.isfile(os.path.join(CORPUS, "MANIFEST.tsv")):
        print(f"skipped: no DXF corpus at {CORPUS!r}")
        return SKIP
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
