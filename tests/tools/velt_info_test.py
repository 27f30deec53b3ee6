#!/usr/bin/env python3
"""tests/tools/velt_info_test.py: runs the built velt as a user would and checks what
`velt info` reports, how every command answers bad input, and that an install carries velt.

Usage: velt_info_test.py --velt PATH [--corpus DIR] [--build-dir DIR] [unittest names...]

Groups (unittest classes), one CTest entry each:
  CorpusInfo     info --json on every corpus drawing against the manifest (exit 77, a skip, when
                 the corpus folder is absent)
  CorpusRoundTrip  convert, then info on the copy: the same counts (skip as above)
  SmallDrawing   exact counts, extent, version and report forms of a drawing written here
  BadInput       exit codes and messages for missing, truncated and too new files, bad usage
  Install        cmake --install puts velt in bin/ beside the library, and it runs
"""
import argparse
import collections
import csv
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

VELT = None
CORPUS = None
BUILD_DIR = None
SKIP = 77  # the code CTest is told means "skipped"

KINDS = ["POINT", "LINE", "CIRCLE", "ARC", "POLYLINE", "TEXT", "ATTDEF", "INSERT", "3DFACE",
         "HATCH"]
# The types each reader of the library builds entities from: the older one (AC1012 and before,
# or no $ACADVER) skips LWPOLYLINE and HATCH records and reads hatches from INSERT data instead.
OLDER_TYPES = set(KINDS) - {"HATCH"}
NEWER_TYPES = OLDER_TYPES | {"LWPOLYLINE", "HATCH"}
# Records that belong to the entity before them, not entities of their own.
SUB_RECORDS = {"VERTEX", "SEQEND", "ATTRIB"}


def run(*args, cwd=None):
    return subprocess.run([VELT, *args], capture_output=True, text=True, cwd=cwd,
                          errors="replace", timeout=120)


def info(path):
    out = run("info", "--json", path)
    if out.returncode != 0:
        raise AssertionError(f"info {path}: exit {out.returncode}: {out.stderr}")
    return json.loads(out.stdout)


def newer_reader(acadver):
    return acadver.upper() in ("AC1014", "AC1015")


# ---- What a file holds, read pair by pair (no DXF library: the counts must be independent) ----

class FileScan:
    """The table records, blocks, and entity records of an ASCII DXF file."""

    def __init__(self, path, readable):
        self.tables = collections.defaultdict(list)  # LAYER/LTYPE/STYLE -> [groups]
        self.blocks = []  # [name, flags, Counter of record types]
        self.entity_layers = set()  # layers named by records the reader builds
        self.inserted = set()  # block names INSERT records use
        self.handles = collections.Counter()  # handles of the records the reader keeps
        block = None
        for section, table, kind, groups in records(path):
            first = lambda code, default="": groups.get(code, [default])[0]
            if section == "TABLES" and kind == table:
                self.tables[kind].append(groups)
            elif section == "BLOCKS" and kind in ("BLOCK", "ENDBLK"):
                block = [first("2").upper(), int(first("70", "0")), collections.Counter()]
                if kind == "BLOCK":
                    self.blocks.append(block)
                else:
                    block = None
            elif section in ("BLOCKS", "ENTITIES"):
                if block is not None and kind not in SUB_RECORDS:
                    block[2][kind] += 1
                if kind in readable or kind == "ATTRIB":
                    self.entity_layers.add(first("8"))
                if kind == "INSERT":
                    self.inserted.add(first("2").upper())
                if (kind in readable or kind in SUB_RECORDS) and int(first("5", "0"), 16):
                    self.handles[first("5")] += 1

    def names(self, table):
        return [g.get("2", [""])[0] for g in self.tables[table]]


def records(path):
    """(section, table, record type, {group code: [values]}) for every group-0 record."""
    # Lines end at LF alone (a CR before it is stripped): splitlines would also cut at bytes
    # such as 0x85 that Latin-1 text may hold.
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").split("\n")
    section = table = record = None
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code == "0":
            if record:
                yield record
            record = (section, table, value.upper(), collections.defaultdict(list))
            section = None if value.upper() == "ENDSEC" else section
            table = None if value.upper() == "ENDTAB" else table
        elif record:
            section = value.upper() if record[2] == "SECTION" and code == "2" else section
            table = value.upper() if record[2] == "TABLE" and code == "2" else table
            record[3][code].append(value)
    if record:
        yield record


def expected_tables(scan):
    """Layer, linetype and style counts of the drawing the library makes of the file."""
    upper = lambda names: {n.upper() for n in names if n != "0"}
    # Layer 0 always exists; a layer an entity names and no record defines is made for it.
    layers = 1 + len(upper(scan.names("LAYER")) | upper(scan.entity_layers))
    # CONTINUOUS is built in; BYLAYER and BYBLOCK are references, not linetypes.
    ltypes = 1 + len(upper(scan.names("LTYPE")) - {"CONTINUOUS", "BYLAYER", "BYBLOCK"})
    # STANDARD always exists; a shape file (flag 1) is not a text style.
    styles = len({g.get("2", [""])[0].upper() for g in scan.tables["STYLE"]
                  if not int(g.get("70", ["0"])[0]) & 1} | {"STANDARD"})
    return layers, ltypes, styles


def kept_blocks(scan, readable):
    """The blocks the reader keeps: not the layouts, not empty anonymous ones."""
    def kept(name, flags, kinds):
        if name[1:12] in ("MODEL_SPACE", "PAPER_SPACE"):
            return False
        return not (name.startswith("*") and not flags & 1 and not set(kinds) & readable)
    return [b for b in scan.blocks if kept(*b)]


def block_entity_counts(blocks, readable):
    counts = collections.Counter()
    for _, _, kinds in blocks:
        for kind, n in kinds.items():
            if kind in readable:
                counts["POLYLINE" if kind == "LWPOLYLINE" else kind] += n
    return counts


def expected_error(row, scan):
    """The error number the library owes a corpus file; 0 when it must load."""
    if row["line_endings"] == "binary":
        return 7  # not pairs of text lines
    version = row["acadver"]
    if version != "none":
        if len(version) != 6 or not version.startswith("AC10"):
            return 9  # a version text of another form
        if int(version[4:]) > 15:
            return 15  # newer than the reader
    if "stray ENDSEC" in row["notes"]:
        return 7
    if any(g.get("62", [""])[0] == "0" for g in scan.tables["LAYER"]):
        return 9  # a layer of colour 0
    if any(n > 1 for n in scan.handles.values()):
        return 10  # two records with one handle
    return 0


def manifest_rows():
    with open(os.path.join(CORPUS, "MANIFEST.tsv"), newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def manifest_counts(row):
    counts = collections.Counter()
    for item in row["entity_counts"].split(";"):
        if "=" in item:
            kind, n = item.split("=")
            counts[kind] += int(n)
    return counts


ERROR_LINE = re.compile(r"^velt: (.+):(\d+): error (\d+): (.+)$")


class CorpusInfo(unittest.TestCase):
    def test_every_file_reports_the_counts_the_manifest_and_the_readers_rules_give(self):
        rows = manifest_rows()
        self.assertTrue(rows, "the manifest lists no file")
        for row in rows:
            with self.subTest(file=row["file"]):
                self.check_file(row)

    def check_file(self, row):
        path = os.path.join(CORPUS, row["file"])
        readable = NEWER_TYPES if newer_reader(row["acadver"]) else OLDER_TYPES
        scan = FileScan(path, readable) if row["line_endings"] != "binary" else None
        error = expected_error(row, scan)
        out = run("info", "--json", path)
        if error:
            self.assertEqual(out.returncode, 2, out.stdout)
            found = ERROR_LINE.match(out.stderr.strip())
            self.assertIsNotNone(found, out.stderr)
            self.assertEqual(found.group(1), path)
            self.assertGreater(int(found.group(2)), 0)
            self.assertEqual(int(found.group(3)), error)
            return
        self.assertEqual(out.returncode, 0, out.stderr)
        got = json.loads(out.stdout)
        self.assertEqual(got["version"], None if row["acadver"] == "none" else row["acadver"])
        self.assertEqual(got["xrefs"], 0)
        self.check_tables(row, scan, got)
        self.check_entities(row, got)
        self.check_blocks(row, scan, readable, got)

    def check_tables(self, row, scan, got):
        # The scan sees what ezdxf saw, so the rules applied to it are applied to the manifest.
        self.assertEqual([len(scan.tables[t]) for t in ("LAYER", "LTYPE", "STYLE")],
                         [int(row[c]) for c in ("layers", "ltypes", "styles")])
        self.assertEqual((got["layers"], got["linetypes"], got["styles"]), expected_tables(scan))

    def check_entities(self, row, got):
        want = manifest_counts(row)
        have = collections.Counter(got["entities"])
        if newer_reader(row["acadver"]):
            want["POLYLINE"] += want["LWPOLYLINE"]
            # A hatch whose pattern the catalogue lacks (a solid fill) is dropped.
            self.assertLessEqual(have["HATCH"], want["HATCH"])
            want["HATCH"] = have["HATCH"]
        else:
            have["INSERT"] += have.pop("HATCH")
        for kind in KINDS:
            self.assertEqual(have[kind], want[kind], kind)
        self.assertEqual(got["extent"] is None, sum(have.values()) == 0)
        if got["extent"] is not None:
            min_x, min_y, max_x, max_y = got["extent"]
            self.assertTrue(min_x <= max_x and min_y <= max_y, got["extent"])

    def check_blocks(self, row, scan, readable, got):
        layouts = [b for b in scan.blocks if b[0][1:12] in ("MODEL_SPACE", "PAPER_SPACE")]
        self.assertEqual(len(scan.blocks) - len(layouts), int(row["blocks"]))
        if row["entities_in_blocks"] != "-":
            self.assertEqual(sum(sum(b[2].values()) for b in scan.blocks if b not in layouts),
                             int(row["entities_in_blocks"]))
        blocks = kept_blocks(scan, readable)
        # An INSERT that names a block no record keeps gets an empty one; a name defined twice
        # is one block, redefined.
        want_blocks = len({b[0] for b in blocks} | scan.inserted)
        want = block_entity_counts(blocks, readable)
        have = collections.Counter(got["entities_in_blocks_by_type"])
        self.assertEqual(got["entities_in_blocks"], sum(have.values()))
        if newer_reader(row["acadver"]):
            # Each HATCH record makes a pattern block of its own, holding lines and points.
            self.assertEqual(got["hatch_blocks"], got["entities"]["HATCH"] + have["HATCH"])
            self.assertEqual(got["blocks"] - got["hatch_blocks"], want_blocks)
            self.assertLessEqual(have["HATCH"], want["HATCH"])
            want["HATCH"] = have["HATCH"]
            fill = got["entities_in_hatch_blocks"]
            self.assertEqual(have["LINE"] + have["POINT"] - fill, want["LINE"] + want["POINT"])
            want["LINE"], want["POINT"] = have["LINE"], have["POINT"]
        else:
            # Older files carry hatch pattern blocks as ordinary BLOCK records.
            self.assertEqual(got["blocks"], want_blocks)
            have["INSERT"] += have.pop("HATCH")
        for kind in KINDS:
            self.assertEqual(have[kind], want[kind], kind)


class CorpusRoundTrip(unittest.TestCase):
    def test_a_converted_copy_reports_the_same_counts(self):
        with tempfile.TemporaryDirectory() as tmp:
            for row in manifest_rows():
                path = os.path.join(CORPUS, row["file"])
                original = run("info", "--json", path)
                if original.returncode != 0:
                    continue
                with self.subTest(file=row["file"]):
                    copy = os.path.join(tmp, row["file"])
                    converted = run("convert", path, copy)
                    self.assertEqual(converted.returncode, 0, converted.stderr)
                    before, after = json.loads(original.stdout), info(copy)
                    self.assertEqual(after["version"], "AC1009")
                    for key in ("file", "version", "load_seconds"):
                        del before[key], after[key]
                    self.assertExtentClose(before.pop("extent"), after.pop("extent"))
                    self.assertEqual(before, after)

    def assertExtentClose(self, a, b):
        self.assertEqual(a is None, b is None)
        if a is not None:
            # Coordinates are written with six decimals.
            scale = max(1.0, *map(abs, a))
            for x, y in zip(a, b):
                self.assertAlmostEqual(x, y, delta=1e-5 * scale)


# ---- A drawing whose every count is known ----

def dxf(*pairs):
    return "".join(f"{code}\n{value}\n" for code, value in pairs)


def small_drawing(version="AC1009"):
    header = dxf((0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, version), (0, "ENDSEC"))
    tables = dxf(
        (0, "SECTION"), (2, "TABLES"),
        (0, "TABLE"), (2, "LTYPE"), (70, 2),
        (0, "LTYPE"), (2, "CONTINUOUS"), (70, 0), (3, "Solid"), (72, 65), (73, 0), (40, 0.0),
        (0, "LTYPE"), (2, "DASHED"), (70, 0), (3, "__ __"), (72, 65), (73, 2), (40, 0.75),
        (49, 0.5), (49, -0.25),
        (0, "ENDTAB"),
        (0, "TABLE"), (2, "LAYER"), (70, 3),
        (0, "LAYER"), (2, "0"), (70, 0), (62, 7), (6, "CONTINUOUS"),
        (0, "LAYER"), (2, "WALLS"), (70, 0), (62, 1), (6, "DASHED"),
        (0, "LAYER"), (2, "HIDDEN"), (70, 1), (62, 3), (6, "CONTINUOUS"),
        (0, "ENDTAB"), (0, "ENDSEC"))
    blocks = dxf(
        (0, "SECTION"), (2, "BLOCKS"),
        (0, "BLOCK"), (8, "0"), (2, "DOOR"), (70, 2), (10, 0), (20, 0), (30, 0),
        (0, "LINE"), (8, "0"), (10, 0), (20, 0), (11, 1), (21, 1),
        (0, "ATTDEF"), (8, "0"), (10, 0), (20, 0), (40, 0.1), (1, "?"), (3, "Tag?"), (2, "TAG"),
        (70, 0),
        (0, "ENDBLK"), (8, "0"), (0, "ENDSEC"))
    entities = dxf(
        (0, "SECTION"), (2, "ENTITIES"),
        (0, "LINE"), (8, "WALLS"), (10, 0), (20, 0), (11, 10), (21, 5),
        (0, "POINT"), (8, "0"), (10, -5), (20, -2),
        # On a frozen layer: counted, but outside the extent.
        (0, "CIRCLE"), (8, "HIDDEN"), (10, 100), (20, 100), (40, 50),
        (0, "POLYLINE"), (8, "WALLS"), (66, 1), (70, 1),
        (0, "VERTEX"), (8, "WALLS"), (10, 1), (20, 1),
        (0, "VERTEX"), (8, "WALLS"), (10, 3), (20, 4),
        (0, "VERTEX"), (8, "WALLS"), (10, 6), (20, 2),
        (0, "SEQEND"), (8, "WALLS"),
        (0, "INSERT"), (8, "0"), (66, 1), (2, "DOOR"), (10, 2), (20, 1),
        (0, "ATTRIB"), (8, "0"), (10, 2.5), (20, 1.5), (40, 0.1), (1, "A"), (2, "TAG"), (70, 0),
        (0, "SEQEND"), (8, "0"),
        (0, "ENDSEC"))
    return header + tables + blocks + entities + dxf((0, "EOF"))


def write(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, "w", newline="") as f:
        f.write(text)
    return path


class SmallDrawing(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.path = write(self.tmp.name, "plan.dxf", small_drawing())

    def tearDown(self):
        self.tmp.cleanup()

    def test_json_counts_every_table_and_entity_once_and_boxes_the_visible_ones(self):
        got = info(self.path)
        self.assertEqual(got["file"], self.path)
        self.assertEqual(got["version"], "AC1009")
        self.assertEqual((got["layers"], got["linetypes"], got["styles"], got["blocks"],
                          got["hatch_blocks"], got["xrefs"]), (3, 2, 1, 1, 0, 0))
        # Vertices and attributes belong to their polyline and insert.
        self.assertEqual({k: n for k, n in got["entities"].items() if n},
                         {"POINT": 1, "LINE": 1, "CIRCLE": 1, "POLYLINE": 1, "INSERT": 1})
        self.assertEqual(sorted(got["entities"]), sorted(KINDS))
        self.assertEqual(got["entities_in_blocks"], 2)
        self.assertEqual({k: n for k, n in got["entities_in_blocks_by_type"].items() if n},
                         {"LINE": 1, "ATTDEF": 1})
        self.assertEqual(got["extent"], [-5, -2, 10, 5])
        self.assertGreaterEqual(got["load_seconds"], 0)

    def test_the_text_report_gives_the_same_counts_one_per_aligned_line(self):
        out = run("info", self.path)
        self.assertEqual(out.returncode, 0, out.stderr)
        rows = [re.match(r"^(\S.*?)\s{2,}(\S.*)$", line.lstrip()) for line in out.stdout.splitlines()]
        self.assertTrue(all(rows), out.stdout)
        # Every value starts in one column, the kinds' lines indented under their totals too.
        columns = {len(line) - len(row.group(2)) for line, row in zip(out.stdout.splitlines(), rows)}
        self.assertEqual(len(columns), 1, out.stdout)
        values = {}
        for row in rows:
            values.setdefault(row.group(1), row.group(2))  # the first LINE is the entity table's
        self.assertEqual(values["version"], "AC1009")
        for label, value in (("layers", "3"), ("linetypes", "2"), ("styles", "1"),
                             ("blocks", "1"), ("xrefs", "0"), ("entities", "5"),
                             ("CIRCLE", "1"), ("entities in blocks", "2"), ("ATTDEF", "1"),
                             ("extent", "(-5, -2) to (10, 5)")):
            self.assertEqual(values[label], value, label)
        self.assertRegex(values["load time"], r"^\d+(\.\d+)? s$")

    def test_version_is_null_when_the_file_declares_none_and_as_written_otherwise(self):
        bare = write(self.tmp.name, "bare.dxf", small_drawing().split("0\nENDSEC\n", 1)[1])
        self.assertIsNone(info(bare)["version"])
        lower = write(self.tmp.name, "lower.dxf", small_drawing("ac1015"))
        self.assertEqual(info(lower)["version"], "ac1015")

    def test_an_empty_drawing_has_no_extent(self):
        empty = write(self.tmp.name, "empty.dxf", dxf((0, "EOF")))
        got = info(empty)
        self.assertIsNone(got["extent"])
        self.assertEqual((got["layers"], got["linetypes"], got["styles"]), (1, 1, 1))
        self.assertRegex(run("info", empty).stdout, r"(?m)^extent\s+empty$")

    def test_file_names_come_out_as_valid_json_strings(self):
        for name in ('quote " and back\\slash.dxf', "tab\there.dxf", "caf\u00e9.dxf"):
            with self.subTest(name=name):
                path = write(self.tmp.name, name, dxf((0, "EOF")))
                self.assertEqual(info(path)["file"], path)
        # A name that is not UTF-8 is read as Latin-1 rather than breaking the document.
        raw = os.path.join(os.fsencode(self.tmp.name), b"caf\xe9.dxf")
        with open(raw, "w") as f:
            f.write(dxf((0, "EOF")))
        out = subprocess.run([VELT, "info", "--json", raw], capture_output=True)
        self.assertEqual(out.returncode, 0, out.stderr)
        self.assertTrue(json.loads(out.stdout.decode("utf-8"))["file"].endswith("caf\u00e9.dxf"))


class BadInput(unittest.TestCase):
    COMMANDS = {"info": ["IN.dxf"], "convert": ["IN.dxf", "OUT.dxf"],
                "render": ["IN.dxf", "-o", "OUT.svg"], "demo": []}

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.tmp.cleanup()

    def assertFileError(self, out, path, number, message):
        self.assertEqual(out.returncode, 2, out.stdout + out.stderr)
        found = ERROR_LINE.match(out.stderr.strip())
        self.assertIsNotNone(found, out.stderr)
        self.assertEqual((found.group(1), int(found.group(3)), found.group(4)),
                         (path, number, message))
        return int(found.group(2))

    def test_a_missing_file_is_a_file_error_naming_it(self):
        path = os.path.join(self.tmp.name, "absent.dxf")
        for args in (["info", path], ["info", "--json", path], ["convert", path, path + ".out"]):
            with self.subTest(args=args):
                out = run(*args)
                self.assertEqual(out.returncode, 2)
                self.assertEqual(out.stdout, "")
                self.assertIn(path, out.stderr)
                self.assertNotIn("Traceback", out.stderr)

    def test_a_truncated_file_names_the_file_and_the_last_line_read(self):
        text = small_drawing()
        cut = text[: text.index("0\nINSERT\n")]
        path = write(self.tmp.name, "cut.dxf", cut)
        line = self.assertFileError(run("info", path), path, 4, "File troncato")
        self.assertTrue(0 < line <= cut.count("\n"), line)

    def test_a_version_above_ac1015_is_refused_at_its_line(self):
        text = small_drawing("AC1018")
        path = write(self.tmp.name, "new.dxf", text)
        line = self.assertFileError(run("info", "--json", path), path, 15,
                                    "Versione DXF non supportata")
        # The reader judges a header variable at the pair after its value.
        self.assertIn("AC1018", text.splitlines()[max(0, line - 3):line])

    def test_usage_errors_exit_1_and_help_exits_0_for_every_command(self):
        for command, args in self.COMMANDS.items():
            with self.subTest(command=command):
                helped = run(command, "--help", cwd=self.tmp.name)
                self.assertEqual(helped.returncode, 0, helped.stderr)
                self.assertIn(command, helped.stdout)
                bogus = run(command, *args, "--no-such-flag", cwd=self.tmp.name)
                self.assertEqual(bogus.returncode, 1, bogus.stdout + bogus.stderr)
                self.assertIn("--no-such-flag", bogus.stderr)
                if args:
                    self.assertEqual(run(command, cwd=self.tmp.name).returncode, 1)
        self.assertEqual(run("--help").returncode, 0)
        self.assertEqual(run().returncode, 1)
        self.assertEqual(run("no-such-command").returncode, 1)


class Install(unittest.TestCase):
    def test_install_puts_velt_beside_the_library_and_it_runs(self):
        with tempfile.TemporaryDirectory() as prefix:
            done = subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix],
                                  capture_output=True, text=True)
            self.assertEqual(done.returncode, 0, done.stderr)
            velt = os.path.join(prefix, "bin", "velt")
            self.assertTrue(os.access(velt, os.X_OK), velt)
            libs = [os.path.join(root, name) for root, _, names in os.walk(prefix)
                    for name in names if name.startswith("libveltcore.so")]
            self.assertTrue(libs, "no libveltcore.so installed")
            # No LD_LIBRARY_PATH: the installed velt must find the library beside it.
            env = {k: v for k, v in os.environ.items() if k != "LD_LIBRARY_PATH"}
            drawing = write(prefix, "one.dxf", small_drawing())
            out = subprocess.run([velt, "info", "--json", drawing], capture_output=True,
                                 text=True, env=env)
            self.assertEqual(out.returncode, 0, out.stderr)
            self.assertEqual(json.loads(out.stdout)["entities"]["LINE"], 1)


def main():
    global VELT, CORPUS, BUILD_DIR
    parser = argparse.ArgumentParser()
    parser.add_argument("--velt", required=True)
    parser.add_argument("--corpus")
    parser.add_argument("--build-dir")
    options, rest = parser.parse_known_args()
    VELT, CORPUS, BUILD_DIR = options.velt, options.corpus, options.build_dir
    wants_corpus = any(name.startswith("Corpus") for name in rest)
    if wants_corpus and not (CORPUS and os.path.isfile(os.path.join(CORPUS, "MANIFEST.tsv"))):
        print(f"skipped: no DXF corpus at {CORPUS}")
        return SKIP
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
