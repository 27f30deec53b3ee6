// tests/dxf/in/header_test.cpp: the HEADER section: $ACADVER and the version reader it selects,
// the variables applied to the drawing (exact names, kind of the last value group), and the
// current layer, linetype and style applied at the end of the file.

#include <gtest/gtest.h>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

// One drawing of a HEADER section holding variables, loaded into a new drawing.
Outcome loadHeader(DataPtr& d, const std::string& variables, const std::string& more = "") {
  d = newDrawing();
  return loadText(*d, drawing(section("HEADER", dxf(variables)) + more));
}

// An LTYPE record with one more dash than group 73 announces: the older reader refuses it,
// the newer reader does not count dashes against group 73.
const std::string kOverfullLtype =
    section("TABLES", table("LTYPE", dxf("0 LTYPE;2 DASH;70 0;72 65;73 1;49 0.5;49 -0.25")));

TEST(DxfHeader, AcadverSelectsTheVersionReaderOrFails) {
  struct Case {
    const char* acadver;  // null: no $ACADVER
    long error;           // of the header alone
    bool older;           // the reader chosen refuses kOverfullLtype
  };
  // clang-format off
  const std::vector<Case> cases = {
      {nullptr, 0, true}, {"AC1009", 0, true}, {"ac1012", 0, true}, {"AC1014", 0, false},
      {"Ac1015", 0, false}, {"AC1006", 0, true}, {"AC1018", 15, false}, {"AC1016", 15, false},
      {"AC2000", 9, false}, {"AC101", 9, false}, {"ac1006", 9, false}, {"AC10150", 9, false}
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.acadver ? c.acadver : "(none)");
    const std::string head = c.acadver ? std::string("9 $ACADVER;1 ") + c.acadver : "9 $X;1 x";
    DataPtr d;
    const Outcome alone = loadHeader(d, head);
    EXPECT_EQ(alone.error, c.error);
    if (c.error != 0)
      EXPECT_EQ(alone.line, 10);  // a variable ends at the pair after its last value
    else
      EXPECT_EQ(loadHeader(d, head, kOverfullLtype).error, c.older ? 7 : 0);
  }
  // A header after entities changes variables but not the reader.
  DataPtr d = newDrawing();
  const std::string text =
      section("ENTITIES", "") + header("AC1015", ";9 $LTSCALE;40 2.5") + kOverfullLtype + kEof;
  EXPECT_EQ(loadText(*d, text).error, 7);
  EXPECT_EQ(d->getVars().getLtypeScale(), 2.5);
}

TEST(DxfHeader, VariablesReachTheDrawing) {
  DataPtr d;
  ASSERT_EQ(loadHeader(d,
                       "9 $LIMMIN;10 -10;20 -5;9 $LIMMAX;10 840;20 594;9 $LTSCALE;40 0.5;"
                       "9 $PLINEWID;40 0.25;9 $ANGBASE;50 90;9 $CECOLOR;62 3;9 $ORTHOMODE;70 1;"
                       "9 $PLINEGEN;70 1;9 $ANGDIR;70 1;9 $AUNITS;70 3;9 $UNKNOWN;70 9")
                .error,
            0);
  const CDataVariables& v = d->getVars();
  EXPECT_EQ(v.getLimMin(), PNT_2D(-10, -5));
  EXPECT_EQ(v.getLimMax(), PNT_2D(840, 594));
  EXPECT_EQ(v.getLtypeScale(), 0.5);
  EXPECT_EQ(v.getPLineWid(), 0.25);
  EXPECT_EQ(v.getAngDir(), 90 * 0.01745329251994);  // the reader's own factor
  EXPECT_EQ(v.getCurColor(), 3);
  EXPECT_TRUE(v.isOrtho() && v.isPLineGen() && v.isAngClockWise());
  EXPECT_EQ(v.getAngFormat(), 3);
  // $AUNITS ignores formats 1 and 4.
  for (const auto& [units, expected] :
       std::vector<std::pair<const char*, short>>{{"1", 0}, {"4", 0}, {"2", 2}}) {
    ASSERT_EQ(loadHeader(d, std::string("9 $AUNITS;70 ") + units).error, 0);
    EXPECT_EQ(d->getVars().getAngFormat(), expected) << "$AUNITS " << units;
  }
}

TEST(DxfHeader, NamesAreExactAndTheLastValueGroupDecidesTheKind) {
  struct Case {
    const char* variable;
    double ltypeScale;  // expected afterwards; the drawing starts with 1
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"9 $LTSCALE;40 4", 4}, {"9 $ltscale;40 4", 1}, {"9 $LTSCALE;1 4", 1},
      {"9 $LTSCALE;1 x;40 3", 3}, {"9 $LTSCALE;40 3;1 x", 1}, {"9 $LTSCALE;40 3;100 x", 1},
      {"9 $LTSCALE;40 6;40 7;40 8;40 9", 6}
  };
  // clang-format on
  for (const Case& c : cases) {
    DataPtr d;
    ASSERT_EQ(loadHeader(d, c.variable).error, 0) << c.variable;
    EXPECT_EQ(d->getVars().getLtypeScale(), c.ltypeScale) << c.variable;
  }
  // A value before any name, a name without a value, a name ended by something else.
  for (const char* body : {"40 1", "9 $LTSCALE;0 ENDSEC", "9 $LTSCALE;40 1;0 X"}) {
    DataPtr d;
    EXPECT_EQ(loadHeader(d, body).error, 7) << body;
  }
}

TEST(DxfHeader, CurrentNamesApplyAtTheEndWhenTheyResolve) {
  testFont();
  const std::string tables =
      section("TABLES", table("LTYPE", dxf("0 LTYPE;2 DASHED;72 65;73 0")) +
                            table("LAYER", dxf("0 LAYER;2 WALLS;62 2;70 0")) +
                            table("STYLE", dxf("0 STYLE;2 NOTES;3 txt;70 0")));
  // The header names come before the tables that define them.
  DataPtr d;
  ASSERT_EQ(
      loadHeader(d, "9 $CLAYER;8 WALLS;9 $CELTYPE;6 DASHED;9 $TEXTSTYLE;7 NOTES", tables).error, 0);
  EXPECT_STREQ(d->getVars().getCurLayer()->getName().c_str(), "WALLS");
  EXPECT_STREQ(d->getVars().getCurLtype()->getName().c_str(), "DASHED");
  EXPECT_STREQ(d->getVars().getCurStyle()->getName().c_str(), "NOTES");
  ASSERT_EQ(loadHeader(d, "9 $CLAYER;8 NOWHERE").error, 0);
  EXPECT_EQ(d->getVars().getCurLayer(), &d->getLayer0());
}

}  // namespace
