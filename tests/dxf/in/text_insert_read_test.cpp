// tests/dxf/in/text_insert_read_test.cpp: reading TEXT, ATTDEF, INSERT with its ATTRIB records,
// blocks named before their definition, and the hatch data older files carry on an INSERT.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "dxf/in/dxf_read_support.h"
#include "dxf/out/dxf_pairs.h"

using namespace dxftest;

namespace {

const double kF = 0.01745329251994;  // degrees to radians as the reader converts them
const double kTwoPi = 2 * 3.14159265358979323846;

// A drawing of a BLOCKS section (when blocks are given) and an ENTITIES section.
std::string withBlocks(const std::string& records, const std::string& blocks,
                       const char* acadver = "AC1009") {
  return drawing(header(acadver) + (blocks.empty() ? "" : section("BLOCKS", blocks)) +
                 section("ENTITIES", records));
}

// The number of the line that ends the first occurrence of marker, which begins a line.
long lineAfter(const std::string& text, const std::string& marker) {
  const std::size_t at = text.find("\n" + marker);
  EXPECT_NE(at, std::string::npos) << marker;
  return static_cast<long>(std::count(text.begin(), text.begin() + at + 1 + marker.size(), '\n'));
}

std::string replaceFirst(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// The first entity of the drawing as T (null when it is not one).
template <class T>
T* first(const CData& d) {
  const std::vector<CEnt*> all = entities(d);
  return all.empty() ? nullptr : dynamic_cast<T*>(all[0]);
}

// A text's content, justification and point; the style is checked apart.
TEST(DxfTexts, TextAndAttdefGroupsDefaultsAndAlignment) {
  testFont();
  DataPtr d = newDrawing();
  const std::string style =
      section("TABLES", table("STYLE", dxf("0 STYLE;2 NARROW;3 txt;40 0;41 1;42 2.5;50 0;70 0")));
  const std::string records =
      dxf("0 TEXT;5 2A;8 0;10 1;20 2;30 3;40 5;1 hello;50 30;41 0.5;51 350;7 NARROW;72 4;11 7;"
          "21 8;31 9;0 TEXT;8 0;10 1;20 2;40 3;7 NOSUCH") +
      dxf("0 ATTDEF;5 31;8 0;10 1;20 2;40 1;1 default;3 Which?;2 TAG;70 8;73 2;74 3");
  ASSERT_EQ(loadText(*d, drawing(style + section("ENTITIES", records))).error, 0);
  const std::vector<CEnt*> all = entities(*d);
  ASSERT_EQ(all.size(), 3u);
  // 350 degrees is -10; 72 = 4 is centred, at the alignment point.
  const auto& full = static_cast<CEntText&>(*all[0]);
  EXPECT_EQ(full.GetHandle(), 0x2A);
  EXPECT_EQ(full.getText(), TEXT_3D("hello", nullptr, 5, -10 * kF, 0.5, 30 * kF, 7, 8, 9, 1));
  EXPECT_EQ(full.getStyle(), d->getStyleTable().get("NARROW"));
  const auto& bare = static_cast<CEntText&>(*all[1]);
  EXPECT_EQ(bare.getText(), TEXT_3D("", nullptr, 3, 0, 1, 0, 1, 2, 0, 0));
  EXPECT_EQ(bare.getStyle(), &d->getStyleTable().getStyleStandard());
  const auto& a = dynamic_cast<CEntAttdef&>(*all[2]);  // ATTDEF takes 74, TEXT 73
  EXPECT_EQ(a.getText().getAlign(), TEXT_3D::findJustify(0, 3));
  EXPECT_EQ(
      std::string(a.getTag().c_str()) + "|" + a.getValue().c_str() + "|" + a.getPrompt().c_str(),
      "TAG|default|Which?");
  EXPECT_EQ(std::tuple(a.getFlags(), a.GetHandle()), std::tuple(8L, 0x31L));

  const std::vector<std::pair<const char*, long>> aligns = {
      {"", 0},
      {";72 2", 2},
      {";72 5", 1},  // fit: centred
      {";72 2;73 3", TEXT_3D::findJustify(2, 3)},
      {";73 2;74 3", TEXT_3D::findJustify(0, 2)},
      {";72 -1;73 9", 0},
  };
  for (const auto& [groups, align] : aligns) {
    DataPtr e = newDrawing();
    const std::string text = std::string("0 TEXT;8 0;10 1;20 2;11 7;21 8;40 1") + groups;
    ASSERT_EQ(loadText(*e, ents(dxf(text))).error, 0);
    const TEXT_3D& t = first<CEntText>(*e)->getText();
    EXPECT_EQ(t.getAlign(), align) << groups;
    EXPECT_EQ(t.getPnt(), align == 0 ? PNT_3D(1, 2, 0) : PNT_3D(7, 8, 0)) << groups;
  }
}

TEST(DxfTexts, LimitsAndMissingGroupsAreErrors9And11AtTheirLine) {
  // clang-format off
  const std::vector<std::pair<const char*, bool>> limits = {
      {"41 0.005", false}, {"41 0.01", true}, {"41 100", true}, {"41 100.5", false},
      {"51 100", false}, {"51 -85", true}, {"51 275", true}, {"51 265", false},
      {"51 180", false}, {"51 -180", false}, {"51 445", true}, {"51 nan", false}};
  // clang-format on
  for (const auto& [pair, valid] : limits) {
    DataPtr d = newDrawing();
    const std::string text = ents(dxf(std::string("0 TEXT;8 0;10 1;20 2;40 1;") + pair));
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, valid ? 0 : 9) << pair;
    EXPECT_EQ(out.line, valid ? 0 : lineAfter(text, dxf(pair))) << pair;
  }
  struct Missing {
    std::string records;
    long kind, mask;
  };
  const std::vector<Missing> missing = {
      {"0 TEXT;8 0;10 1;20 2;1 x", 6, 0x31},  // no 40
      {"0 ATTDEF;8 0;10 1;20 2;40 1;1 v;2 T;70 0", 7, 0x6F1},
      {"0 INSERT;8 0;2 B;10 0;20 0;66 1;0 ATTRIB;8 0;10 1;20 2;40 1;1 v;2 T", 9, 0x1F1},
      {"0 INSERT;8 0;10 0;20 0", 8, 0x31},
  };
  for (const Missing& k : missing) {
    DataPtr d = newDrawing();
    const std::string text = ents(dxf(k.records + ";0 POINT;8 0;10 0;20 0"));
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, 11) << k.records;
    EXPECT_EQ(std::tuple(out.param1, out.param2), std::tuple(k.kind, k.mask)) << k.records;
    EXPECT_EQ(out.line, lineAfter(text, "0\nPOINT\n"));  // the pair that ends the record
  }
}

TEST(DxfInserts, PlacementArrayDefaultsAttributesAndExternalReferences) {
  DataPtr d = newDrawing();
  const std::string r =
      dxf("0 INSERT;8 0;2 B;10 1;20 2;30 3;41 2;42 3;43 4;50 90;70 3;71 2;44 5;45 6") +
      dxf("0 INSERT;8 0;2 B;10 0;20 0;0 INSERT;8 0;2 PLAN;10 1;20 1") +
      dxf("0 INSERT;5 30;8 0;2 B;10 10;20 20;41 2;50 30;66 1") +
      dxf("0 ATTRIB;5 31;8 0;10 13;20 24;40 2;50 40;41 0.8;1 VALUE;2 TAG;70 4") +
      dxf("0 ATTRIB;5 32;8 0;10 10;20 20;40 1;1 second;2 T2;70 0;0 SEQEND;5 33;8 0");
  ASSERT_EQ(loadText(*d, withBlocks(r, block("B", "") + block("PLAN", "", 4, "plan.dxf"))).error,
            0);
  const std::vector<CEnt*> all = entities(*d);
  ASSERT_EQ(all.size(), 4u);
  // Point, scales, rotation, then rows and columns (groups 71 and 70) and their spacings.
  const std::vector<double> expected[] = {{1, 2, 3, 2, 3, 4, 90 * kF, 2, 3, 5, 6},
                                          {0, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0}};
  for (int i = 0; i < 2; ++i) {
    const auto& ins = dynamic_cast<CEntInsert&>(*all[i]);
    double sx, sy, sz, columnSpacing, rowSpacing;
    long rows, columns;
    ins.getScale(sx, sy, sz);
    ins.getArray(rows, columns, columnSpacing, rowSpacing);
    const PNT_3D& p = ins.getPnt();
    EXPECT_EQ(ins.getBlock(), d->getBlockTable().get("B"));
    EXPECT_EQ(std::vector<double>({p.getX(), p.getY(), p.getZ(), sx, sy, sz, ins.getRotate(),
                                   double(rows), double(columns), columnSpacing, rowSpacing}),
              expected[i]);
  }
  ASSERT_NE(dynamic_cast<CEntInsertXRef*>(all[2]), nullptr);
  EXPECT_EQ(dynamic_cast<CEntInsertXRef*>(all[2])->getXRef(), d->getBlockXRefTable().get("PLAN"));

  const auto& ins = dynamic_cast<CEntInsert&>(*all[3]);
  ASSERT_EQ(ins.size(), 2);
  const CEntAttrib& a = ins[0];
  EXPECT_EQ(std::tuple(a.GetHandle(), ins[1].GetHandle(), a.getFlags()),
            std::tuple(0x31L, 0x32L, 4L));
  EXPECT_EQ(std::string(a.getValue().c_str()) + "|" + a.getTag().c_str(), "VALUE|TAG");
  EXPECT_TRUE(handleFree(*d, 0x33));  // the SEQEND record's handle is not taken
  // Stored in the insert's coordinates: carried back, it stands where the file put it.
  PNT_3D pos;
  double height, rotation, oblique, width;
  transform_attrib_logic_2_phisic(ins, a, pos, height, rotation, oblique, width);
  for (const auto& [got, want] : {std::pair{pos.getX(), 13.0},
                                  {pos.getY(), 24.0},
                                  {height, 2.0},
                                  {rotation, 40 * kF},
                                  {width, 0.8}})
    EXPECT_NEAR(got, want, 1e-9);
}

TEST(DxfInserts, AFailedInsertGivesBackItsHandlesAndThoseOfItsAttributes) {
  const std::string head = dxf("0 INSERT;5 40;8 0;2 B;10 0;20 0;66 1") +
                           dxf("0 ATTRIB;5 41;8 0;10 0;20 0;40 1;1 v;2 T;70 0");
  struct Case {
    std::string tail;  // after an INSERT (handle 40) with one attribute (41); empty: the end
    long error;
    const char* at;  // the error's line ends this text
  };
  const std::vector<Case> cases = {
      {dxf("0 LINE;8 0;10 0;20 0;11 1;21 1"), 7, "0\nLINE\n"},  // no SEQEND
      {dxf("0 ATTRIB;5 42;8 0;41 0;10 0"), 9, "41\n0\n"},
      {dxf("0 ATTRIB;5 41;8 0;10 0;20 0;40 1;1 v;2 T;70 0;0 SEQEND"), 10, "0\nSEQEND\n"},
      {"", 4, "70\n0\n"},
  };
  for (const Case& k : cases) {
    DataPtr d = newDrawing();
    const std::string text = k.tail.empty() ? dxf("0 SECTION;2 ENTITIES") + head
                                            : withBlocks(head + k.tail, block("B", ""));
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, k.error);
    EXPECT_EQ(out.line, lineAfter(text, k.at)) << k.error;
    EXPECT_TRUE(entities(*d).empty());
    for (long h : {0x40, 0x41, 0x42}) EXPECT_TRUE(handleFree(*d, h)) << h;
  }
}

// ENTITIES comes first, so its insert names a block still to come, as A's insert does. The
// blocks are boxed again after the BLOCKS section when the reader made one on demand.
TEST(DxfInserts, ABlockNamedBeforeItsDefinitionIsFilledByIt) {
  DataPtr d = newDrawing();
  const std::string blocks = block("A", dxf("0 INSERT;8 0;2 B;10 10;20 0")) + block("B", kLine) +
                             block("C", dxf("0 POINT;8 0;10 3;20 4"));
  ASSERT_EQ(
      loadText(*d, drawing(section("ENTITIES", insert("C")) + section("BLOCKS", blocks))).error, 0);
  CBlock* a = d->getBlockTable().get("A");
  CBlock* b = d->getBlockTable().get("B");
  CBlock* c = d->getBlockTable().get("C");
  ASSERT_TRUE(a && b && c && a->size() == 1);
  EXPECT_EQ(std::tuple(b->size(), c->size()), std::tuple(1, 1));
  EXPECT_EQ(static_cast<CEntInsert*>((*a)[0])->getBlock(), b);
  EXPECT_EQ(a->getBdry(), RECT_3D(10, 0, 0, 11, 0, 0));  // boxed once B had its line
  EXPECT_EQ(first<CEntInsert>(*d)->getBlock(), c);
}

// ---- Hatch data on an INSERT (older files) -----------------------------------------------

const std::vector<PNT_3D> kSquare = {PNT_3D(0, 0, 0), PNT_3D(10, 0, 0), PNT_3D(10, 10, 0),
                                     PNT_3D(0, 10, 0), PNT_3D(0, 0, 0)};

// ANSI33 at scale 2 and -90 degrees, handle 40, on the block *PAT1, as the writer lays it out.
const std::string& goodHatch() {
  static const std::string text =
      dxfText(pairs("0 INSERT;5 40;8 0;2 *PAT1;10 0;20 0;30 0")) +
      dxfText(hatchData("40", *getHatch(String("ANSI33")), 2, -kTwoPi / 4, kSquare));
  return text;
}

// The insert, then a point, with the block *PAT1 (one line) defined first.
std::string hatchFile(const std::string& insert, const char* acadver = "AC1009", int flags = 1) {
  return withBlocks(insert + dxf("0 POINT;8 0;10 0;20 0"),
                    block("*PAT1", dxf("0 LINE;8 0;10 0;20 0;11 10;21 10"), flags), acadver);
}

TEST(DxfInsertHatch, TheOlderReaderMakesAHatchOfTheDataAndItsVariants) {
  const std::string point5 =
      "1011\n0.000000\n1021\n0.000000\n1031\n0.000000\n1021\n0.000000\n1031\n0.000000\n";
  const std::string row5 = "1011\n1\n1021\n0\n1031\n0\n1021\n0\n1031\n0\n";
  const std::vector<std::pair<std::string, const char*>> cases = {
      {goodHatch(), "ANSI33"},
      {replaceFirst(replaceFirst(goodHatch(), point5, "1011\n0\n1021\n0\n1031\n0\n"), row5,
                    "1011\n1\n1021\n0\n1031\n0\n"),
       "ANSI33"},  // points of three codes
      {replaceFirst(replaceFirst(goodHatch(), "1070\n2\n1070\n0\n", "1070\n2\n1070\n1\n1005\n8E\n"),
                    "1071\n0\n", "1071\n2\n1005\n8E\n1005\n8F\n"),
       "ANSI33"},                                                   // source objects
      {replaceFirst(goodHatch(), "ANSI33", "ANSI33,I"), "ANSI33"},  // a style after the name
      {replaceFirst(goodHatch(), "ANSI33", "NOSUCH"), getHatch(0L)->name},
  };
  for (const auto& [insert, pattern] : cases) {
    SCOPED_TRACE(insert.substr(0, 300));
    DataPtr d = newDrawing();
    ASSERT_EQ(loadText(*d, hatchFile(insert)).error, 0);
    auto* h = first<CEntHatch>(*d);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->GetHandle(), 0x40);
    EXPECT_EQ(h->getBlock(), d->getBlockTable().get("*PAT1"));
    EXPECT_EQ(&h->getHatchType(), getHatch(String(pattern)));
    EXPECT_EQ(h->getHatchScale(), 2);
    EXPECT_NEAR(h->getHatchRotate(), 3 * kTwoPi / 4, 1e-6);  // -90 degrees, six decimals
    ASSERT_EQ(h->getNoPnts(), 5);
    for (long i = 0; i < 5; ++i) EXPECT_EQ(h->getPnt(i), kSquare[i]) << i;
  }
  // A hatch block still to come is made anonymous.
  DataPtr d = newDrawing();
  ASSERT_EQ(loadText(*d, ents(replaceFirst(goodHatch(), "*PAT1", "*PAT7"))).error, 0);
  CBlock* b = d->getBlockTable().get("*PAT7");
  ASSERT_TRUE(b != nullptr && first<CEntHatch>(*d) != nullptr);
  EXPECT_EQ(b->getFlags() & 1, 1);
  EXPECT_EQ(first<CEntHatch>(*d)->getBlock(), b);
}

TEST(DxfInsertHatch, ANewerFileOrOtherExtendedDataGivesAPlainInsert) {
  const std::string shortForm =
      dxf("0 INSERT;8 0;2 *PAT1;10 0;20 0;1001 ACAD;1000 HATCH;1002 {;1070 16;1000 ANSI31,I") +
      dxf("1040 2000.0;1040 0.0;1002 {;1002 };1002 }");
  const std::vector<std::pair<std::string, double>> cases = {
      {hatchFile(goodHatch(), "AC1015"), 1},
      {hatchFile(shortForm), 1},  // version 16: no boundary to make a hatch of
      {hatchFile(replaceFirst(goodHatch(), "\nACAD\n", "\nOTHER\n")), 1},
      {hatchFile(replaceFirst(goodHatch(), "\nHATCH\n", "\nSOMETHING\n")), 1},
      // The pairs after the application name are the record's again.
      {hatchFile(replaceFirst(goodHatch(), "1000\nHATCH\n", "41\n3\n")), 3},
  };
  for (const auto& [text, sx] : cases) {
    DataPtr d = newDrawing();
    ASSERT_EQ(loadText(*d, text).error, 0);
    ASSERT_EQ(entities(*d).size(), 2u);
    CEnt* e = entities(*d)[0];
    ASSERT_TRUE(e->getType() == 8 && dynamic_cast<CEntHatch*>(e) == nullptr);
    double x, y, z;
    static_cast<CEntInsert*>(e)->getScale(x, y, z);
    EXPECT_EQ(x, sx);
  }
}

TEST(DxfInsertHatch, FaultsAreError7Or9AtTheirLine) {
  struct Case {
    std::string text;
    long error;
    const char* at;  // the error's line ends this text; null: the pair after the record
  };
  const auto edit = [](const char* from, const char* to) {
    return hatchFile(replaceFirst(goodHatch(), from, to));
  };
  const std::string xref = block("*PAT1", "", 5, "plan.dxf");
  // clang-format off
  const std::vector<Case> cases = {
      {edit("1070\n19\n", "1071\n19\n"), 7, "1071\n19\n"},  // a wrong code at a fixed place
      {edit("1000\nASC_BOUNDS\n", "0\nPOINT\n"), 7, "0\nPOINT\n"},  // a code below 1000 inside
      {edit("1040\n2.000000\n", "1040\n0\n"), 9, "1040\n0\n"},
      {edit("1040\n2.000000\n", "1040\n-1\n"), 9, "1040\n-1\n"},
      {edit("1000\n40\n", "1000\n41\n"), 9, nullptr},  // another insert's handle
      {edit("30\n0\n", "30\n0\n66\n1\n"), 7, nullptr},  // attributes follow
      {edit("1071\n4\n1070\n1\n", "1071\n4\n1070\n2\n"), 9, "1071\n4\n1070\n2\n"},  // an arc
      {edit("ASC_BOUNDS", "ASC_OTHER"), 9, "1000\nASC_OTHER\n"},
      {edit("1071\n1\n1071\n1\n", "1071\n2\n1071\n1\n"), 9, "1071\n2\n"},  // two loops
      {edit("1071\n4\n", "1071\n-4\n"), 9, "1071\n-4\n"},
      {edit("1002\n}\n", "1002\n]\n"), 9, "1002\n]\n"},  // not closed
      {hatchFile(goodHatch(), "AC1009", 0), 7, nullptr},  // a block without flag 1
      {withBlocks(goodHatch() + dxf("0 POINT;8 0;10 0;20 0"), xref), 7, nullptr},
  };
  // clang-format on
  for (const Case& k : cases) {
    DataPtr d = newDrawing();
    const Outcome out = loadText(*d, k.text);
    EXPECT_EQ(out.error, k.error) << (k.at ? k.at : "");
    EXPECT_EQ(out.line, lineAfter(k.text, k.at ? k.at : "1002\n}\n0\nPOINT\n"));
    EXPECT_TRUE(handleFree(*d, 0x40));
  }
}

}  // namespace
