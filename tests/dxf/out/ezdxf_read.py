#!/usr/bin/env python3
"""tests/dxf/out/ezdxf_read.py: opens DXF files with ezdxf, an independent reader, and prints
for each what it found: whether it loaded, the modelspace entities per DXF type, and the
findings of ezdxf's audit. ezdxf_read_test.cpp runs it on the files SaveDXF writes.

Usage: ezdxf_read.py FILE...   Exit status 0 once every file was tried (loaded or not).

Output, one block per file, one item per line:
    FILE <path>
    LOADED <$ACADVER>            or   FAILED <exception class>: <message>
    COUNT <DXF type> <number>    (modelspace entities, sorted by type)
    AUDIT ERROR <code> <message> (what the audit could not fix)
    AUDIT FIX <code> <message>   (what the audit repaired on reading)
    END
"""
import collections
import sys

import ezdxf


def one_line(text):
    return " ".join(str(text).split())


def report(path):
    print("FILE", path)
    try:
        doc = ezdxf.readfile(path)
    except Exception as error:  # every failure of the reader is a finding, not a crash
        print("FAILED", type(error).__name__ + ":", one_line(error))
        print("END")
        return
    print("LOADED", doc.dxfversion)
    counts = collections.Counter(entity.dxftype() for entity in doc.modelspace())
    for dxftype in sorted(counts):
        print("COUNT", dxftype, counts[dxftype])
    try:
        auditor = doc.audit()
    except Exception as error:  # an audit that breaks down is a finding as well
        print("AUDIT ERROR crash", type(error).__name__ + ":", one_line(error))
        print("END")
        return
    for entry in auditor.errors:
        print("AUDIT ERROR", entry.code, one_line(entry.message))
    for entry in auditor.fixes:
        print("AUDIT FIX", entry.code, one_line(entry.message))
    print("END")


def main(paths):
    for path in paths:
        report(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
