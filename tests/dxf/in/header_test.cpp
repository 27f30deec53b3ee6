// tests/dxf/in/header_test.cpp: the HEADER section: $ACADVER and the version reader it selects,
// the variables applied to the drawing (exact names, kind of the last value group), and the
// current layer, linetype and style applied at the end of the file.
#include <veltcore/database/data.h>
#include <veltcore/dxf/in/parser.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

std::string header(const std::string& variables) {
  return section("HEADER", variables);
}

// An LTYPE record with one more dash than group 73 announces: the older reader refuses it,
// the newer reader does not count dashes against group 73.
const std::string kOverfullLtype =
    section("TABLES", table("LTYPE", dxf("0 LTYPE;2 DASH;70 0;72 65;73 1;49 0.5;49 -0.25")));

struct VersionCase {
  const char* acadver;  // null: no $ACADVER
  long error;           // of the header alone
  bool older;           // the reader chosen refuses kOverfullLtype
};

TEST(DxfHeader, AcadverSelectsTheVersionReaderOrFails) {
  const std::vector<VersionCase> cases = {
      {nullptr, 0, true},   {"AC1009", 0, true}, {"ac1012", 0, true},   {"AC1014", 0, false},
      {"Ac1015", 0, false}, {"AC1006", 0, true}, {"AC1018", 15, false}, {"AC1016", 15, false},
      {"AC2000", 9, false}, {"AC101", 9, false}, {"ac1006", 9, false},  {"AC10150", 9, false},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.acadver ? c.acadver : "(none)");
    const std::string head =
        c.acadver ? header(dxf(std::string("9 $ACADVER;1 ") + c.acadver)) : header("");
    DataPtr d = newDrawing();
    const Outcome alone = loadText(*d, drawing(head));
    EXPECT_EQ(alone.error, c.error);
    if (c.error != 0) {
      EXPECT_EQ(alone.line, 10);  // a variable ends at the pair after its last value
      continue;
    }
    DataPtr e = newDrawing();
    EXPECT_EQ(loadText(*e, drawing(head + kOverfullLtype)).error, c.older ? 7 : 0);
  }
}

TEST(DxfHeader, AHeaderAfterEntitiesChangesVariablesButNotTheReader) {
  DataPtr d = newDrawing();
  const std::string text = section("ENTITIES", "") +
                           header(dxf("9 $ACADVER;1 AC1015;9 $LTSCALE;40 2.5")) + kOverfullLtype +
                           kEof;
  EXPECT_EQ(loadText(*d, text).error, 7);
  EXPECT_EQ(d->getVars().getLtypeScale(), 2.5);
}

TEST(DxfHeader, VariablesReachTheDrawing) {
  DataPtr d = newDrawing();
  // One variable per line.
  // clang-format off
  const std::string text = drawing(header(dxf("9 $LIMMIN;10 -10;20 -5;9 $LIMMAX;10 840;20 594;9 $LTSCALE;40 0.5;9 $PLINEWID;40 0.25;9 $ANGBASE;50 90;9 $CECOLOR;62 3;9 $ORTHOMODE;70 1;9 $PLINEGEN;70 1;9 $ANGDIR;70 1;9 $AUNITS;70 3;9 $UNKNOWN;70 9")));
  // clang-format on
  ASSERT_EQ(loadText(*d, text).error, 0);
  const CDataVariables& v = d->getVars();
  EXPECT_EQ(v.getLimMin(), PNT_2D(-10, -5));
  EXPECT_EQ(v.getLimMax(), PNT_2D(840, 594));
  EXPECT_EQ(v.getLtypeScale(), 0.5);
  EXPECT_EQ(v.getPLineWid(), 0.25);
  EXPECT_EQ(v.getAngDir(), 90 * 0.01745329251994);  // the reader's own factor
  EXPECT_EQ(v.getCurColor(), 3);
  EXPECT_TRUE(v.isOrtho());
  EXPECT_TRUE(v.isPLineGen());
  EXPECT_TRUE(v.isAngClockWise());
  EXPECT_EQ(v.getAngFormat(), 3);
}

struct VariableCase {
  const char* what;
  std::string variable;
  double ltypeScale;  // expected afterwards; the drawing starts with 1
};

TEST(DxfHeader, NamesAreExactAndTheLastValueGroupDecidesTheKind) {
  const std::vector<VariableCase> cases = {
      {"exact name", dxf("9 $LTSCALE;40 4"), 4},
      {"lower-case name", dxf("9 $ltscale;40 4"), 1},
      {"given as a string", dxf("9 $LTSCALE;1 4"), 1},
      {"string then real", dxf("9 $LTSCALE;1 x;40 3"), 3},
      {"real then string", dxf("9 $LTSCALE;40 3;1 x"), 1},
      {"real then other", dxf("9 $LTSCALE;40 3;100 x"), 1},
      {"four reals", dxf("9 $LTSCALE;40 6;40 7;40 8;40 9"), 6},
  };
  for (const VariableCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    ASSERT_EQ(loadText(*d, drawing(header(c.variable))).error, 0);
    EXPECT_EQ(d->getVars().getLtypeScale(), c.ltypeScale);
  }
}

TEST(DxfHeader, AunitsIgnoresFormatsOneAndFour) {
  for (const auto& [units, expected] :
       std::vector<std::pair<const char*, short>>{{"1", 0}, {"4", 0}, {"3", 3}, {"2", 2}}) {
    DataPtr d = newDrawing();
    d->getVars().setAngFormat(0);
    ASSERT_EQ(loadText(*d, drawing(header(dxf(std::string("9 $AUNITS;70 ") + units)))).error, 0);
    EXPECT_EQ(d->getVars().getAngFormat(), expected) << "$AUNITS " << units;
  }
}

TEST(DxfHeader, CurrentNamesApplyAtTheEndWhenTheyResolve) {
  testFont();
  DataPtr d = newDrawing();
  const std::string tables =
      section("TABLES", table("LTYPE", dxf("0 LTYPE;2 DASHED;72 65;73 0")) +
                            table("LAYER", dxf("0 LAYER;2 WALLS;62 2;70 0")) +
                            table("STYLE", dxf("0 STYLE;2 NOTES;3 txt;70 0")));
  // The header names come before the tables that define them.
  const std::string text =
      drawing(header(dxf("9 $CLAYER;8 WALLS;9 $CELTYPE;6 DASHED;9 $TEXTSTYLE;7 NOTES")) + tables);
  ASSERT_EQ(loadText(*d, text).error, 0);
  EXPECT_STREQ(d->getVars().getCurLayer()->getName().c_str(), "WALLS");
  EXPECT_STREQ(d->getVars().getCurLtype()->getName().c_str(), "DASHED");
  EXPECT_STREQ(d->getVars().getCurStyle()->getName().c_str(), "NOTES");

  DataPtr e = newDrawing();
  const std::string unknown = drawing(header(dxf("9 $CLAYER;8 NOWHERE")));
  ASSERT_EQ(loadText(*e, unknown).error, 0);
  EXPECT_EQ(e->getVars().getCurLayer(), &e->getLayer0());
}

TEST(DxfHeader, MalformedSectionsFailWithError7) {
  const std::vector<std::string> bodies = {
      dxf("40 1"),                 // a value before any name
      dxf("9 $LTSCALE;0 ENDSEC"),  // a name without a value
      dxf("9 $LTSCALE;40 1;0 X"),  // ended by something else
  };
  for (const std::string& body : bodies) {
    DataPtr d = newDrawing();
    EXPECT_EQ(loadText(*d, drawing(header(body))).error, 7) << body;
  }
}

}  // namespace
