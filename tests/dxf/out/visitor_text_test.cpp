// tests/dxf/out/visitor_text_test.cpp: the TEXT and ATTDEF records of the DXF writer: defaults
// left out by exact tests, empty strings, the style, and the base point with the alignment point
// of aligned texts. Base points are worked out from the test font: "AB" at height 5 is 6 wide,
// its top is at 4, its bottom at -1, its descent 1 and its cell 5.
#include <gtest/gtest.h>

#include <cmath>

#include "dxf/out/visitor_support.h"

namespace {

const double kPi = std::acos(-1.0);

struct TextCase {
  const char* what;
  bool attdef;
  bool roman;  // else the standard style
  double rotate, widthScale, oblique;
  long align;  // the justification index: horizontal and vertical codes of TEXT_3D::s_*Align
  std::string expected;
};

// Every text is "AB" at (10, 20, 0), height 5, handle 60 on layer "0"; an attribute definition
// has flags 2, default "dflt" and prompt "Which?".
const TextCase kCases[] = {
    {"all defaults", false, false, 0, 1, 0, 0,
     "0 TEXT;5 60;8 0;40 5.000000;1 AB;10 10.000000;20 20.000000;30 0.000000"},
    {"rotation, width, oblique and style", false, true, kPi / 2, 0.8, 0.2617993877991494, 0,
     "0 TEXT;5 60;8 0;40 5.000000;1 AB;50 90.000000;41 0.800000;51 15.000000;7 ROMAN_1;"
     "10 10.000000;20 20.000000;30 0.000000"},
    {"width scale a hair off 1 is written", false, false, 0, 1.0000001, 0, 0,
     "0 TEXT;5 60;8 0;40 5.000000;1 AB;41 1.000000;10 10.000000;20 20.000000;30 0.000000"},
    {"centred on the baseline", false, true, 0, 1, 0, 1,
     "0 TEXT;5 60;8 0;40 5.000000;1 AB;7 ROMAN_1;10 7.000000;20 20.000000;30 0.000000;72 1;"
     "11 10.000000;21 20.000000;31 0.000000"},
    {"top right", false, true, 0, 1, 0, 5,
     "0 TEXT;5 60;8 0;40 5.000000;1 AB;7 ROMAN_1;10 4.000000;20 15.000000;30 0.000000;72 2;"
     "73 3;11 10.000000;21 20.000000;31 0.000000"},
    {"middle left: no 72", false, true, 0, 1, 0, 6,
     "0 TEXT;5 60;8 0;40 5.000000;1 AB;7 ROMAN_1;10 10.000000;20 18.500000;30 0.000000;73 2;"
     "11 10.000000;21 20.000000;31 0.000000"},
    {"centred and turned a quarter", false, true, kPi / 2, 1, 0, 1,
     "0 TEXT;5 60;8 0;40 5.000000;1 AB;50 90.000000;7 ROMAN_1;10 10.000000;20 17.000000;"
     "30 0.000000;72 1;11 10.000000;21 20.000000;31 0.000000"},
    {"definition, left on the baseline", true, false, 0, 1, 0, 0,
     "0 ATTDEF;5 60;8 0;70 2;1 dflt;3 Which?;40 5.000000;2 AB;10 10.000000;20 20.000000;"
     "30 0.000000"},
    {"definition, bottom right: vertical under 74", true, true, 0, 1, 0, 11,
     "0 ATTDEF;5 60;8 0;70 2;1 dflt;3 Which?;40 5.000000;2 AB;7 ROMAN_1;10 4.000000;"
     "20 21.000000;30 0.000000;72 2;74 1;11 10.000000;21 20.000000;31 0.000000"},
};

TEST(DxfTextRecords, GroupsDefaultsAndAlignment) {
  for (const TextCase& c : kCases) {
    SCOPED_TRACE(c.what);
    RecordDrawing w;
    const TEXT_3D t("AB", c.roman ? w.roman : w.standard(), 5, c.oblique, c.widthScale, c.rotate,
                    10, 20, 0, c.align);
    CEnt* e = c.attdef ? static_cast<CEnt*>(createEntAttdef(*w.d, w.layer0(), w.byLayer(), 256, t,
                                                            "dflt", "Which?", 2, 0x60))
                       : createEntText(*w.d, w.layer0(), w.byLayer(), 256, t, 0x60);
    EXPECT_EQ(record(w, e), pairs(c.expected));
  }
  // Empty strings are written as empty values.
  RecordDrawing w;
  const TEXT_3D t("", w.standard(), 1, 0, 1, 0, 0, 0, 0, 0);
  EXPECT_EQ(record(w, createEntAttdef(*w.d, w.ab, w.dashed, 3, t, "", "", 0, 0x61)),
            pairs("0 ATTDEF;5 61;8 A_B;6 DASHED;62 3;70 0;1 ;3 ;40 1.000000;2 ;10 0.000000;"
                  "20 0.000000;30 0.000000"));
}

}  // namespace
