// tests/dxf/in/text_insert_read_test.cpp: reading TEXT, ATTDEF, INSERT with its ATTRIB records,
// blocks named before their definition, and the hatch data older files carry on an INSERT.
#include <veltcore/database/block.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/dxf/in/lexer.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/text.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "dxf/in/dxf_read_support.h"
#include "dxf/in/version_readers.h"

using namespace dxftest;

namespace {

const double kF = 0.01745329251994;  // degrees to radians as the reader converts them
const double kTwoPi = 2 * 3.14159265358979323846;

std::string ents(const std::string& records, const std::string& blockRecords = "",
                 const char* acadver = "AC1009") {
  const std::string blocks = blockRecords.empty() ? "" : section("BLOCKS", blockRecords);
  return drawing(section("HEADER", dxf(std::string("9 $ACADVER;1 ") + acadver)) + blocks +
                 section("ENTITIES", records));
}

std::string block(const std::string& name, int flags, const std::string& body = "") {
  return dxf("0 BLOCK;2 " + name + ";70 " + std::to_string(flags)) + body + dxf("0 ENDBLK");
}

// The number of the line that ends the first occurrence of marker, which begins a line.
long lineAfter(const std::string& text, const std::string& marker) {
  const std::size_t at = text.find("\n" + marker);
  EXPECT_NE(at, std::string::npos) << marker;
  if (at == std::string::npos) return -1;
  return static_cast<long>(std::count(text.begin(), text.begin() + at + 1 + marker.size(), '\n'));
}

std::string replaceFirst(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The first entity of the drawing as T (null when it is not one).
template <class T>
T* first(const CData& d) {
  const std::vector<CEnt*> all = entities(d);
  return all.empty() ? nullptr : dynamic_cast<T*>(all[0]);
}

// ---- TEXT and ATTDEF ----------------------------------------------------------------------

TEST(DxfTexts, TextGroupsAndDefaults) {
  testFont();
  DataPtr d = newDrawing();
  const std::string style =
      section("TABLES", table("STYLE", dxf("0 STYLE;2 NARROW;3 txt;40 0;41 1;42 2.5;50 0;70 0")));
  const std::string full =
      dxf("0 TEXT;5 2A;8 0;10 1;20 2;30 3;40 5;1 hello;50 30;41 0.5;51 350;7 NARROW;72 4;11 7;21 "
          "8;31 9");
  const std::string bare = dxf("0 TEXT;8 0;10 1;20 2;40 3;7 NOSUCH");
  ASSERT_EQ(loadText(*d, drawing(style + section("ENTITIES", full + bare))).error, 0);
  const std::vector<CEnt*> all = entities(*d);
  ASSERT_EQ(all.size(), 2u);

  auto* t = dynamic_cast<CEntText*>(all[0]);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GetHandle(), 0x2A);
  const CTextContext& c = t->getText().getContext();
  EXPECT_STREQ(c.getString().c_str(), "hello");
  EXPECT_EQ(c.getHeight(), 5);
  EXPECT_EQ(c.getRotate(), 30 * kF);
  EXPECT_EQ(c.getWidthScale(), 0.5);
  EXPECT_EQ(c.getOblique(), -10 * kF);  // 350 degrees is -10
  EXPECT_EQ(t->getStyle(), d->getStyleTable().get("NARROW"));
  EXPECT_EQ(t->getText().getAlign(), 1);              // 72 = 4 is centred
  EXPECT_EQ(t->getText().getPnt(), PNT_3D(7, 8, 9));  // at its alignment point

  const TEXT_3D& b = static_cast<CEntText*>(all[1])->getText();
  EXPECT_EQ(b, TEXT_3D("", nullptr, 3, 0, 1, 0, 1, 2, 0, 0));
  EXPECT_EQ(b.getStyle(), &d->getStyleTable().getStyleStandard());
}

struct AlignCase {
  const char* groups;  // added to a text at (1, 2) with alignment point (7, 8)
  long align;
};

TEST(DxfTexts, AlignmentComesFromTheRightGroups) {
  const std::vector<AlignCase> cases = {
      {"", 0},
      {";72 2", 2},
      {";72 5", 1},  // fit: centred
      {";72 2;73 3", TEXT_3D::findJustify(2, 3)},
      {";73 2;74 3", TEXT_3D::findJustify(0, 2)},  // TEXT takes 73
      {";72 -1;73 9", 0},
  };
  for (const AlignCase& k : cases) {
    SCOPED_TRACE(k.groups);
    DataPtr d = newDrawing();
    ASSERT_EQ(loadText(*d, ents(dxf(std::string("0 TEXT;8 0;10 1;20 2;11 7;21 8;40 1") + k.groups)))
                  .error,
              0);
    const TEXT_3D& t = first<CEntText>(*d)->getText();
    EXPECT_EQ(t.getAlign(), k.align);
    EXPECT_EQ(t.getPnt(), k.align == 0 ? PNT_3D(1, 2, 0) : PNT_3D(7, 8, 0));
  }

  DataPtr d = newDrawing();
  const std::string attdef =
      dxf("0 ATTDEF;5 31;8 0;10 1;20 2;40 1;1 default;3 Which?;2 TAG;70 8;73 2;74 3");
  ASSERT_EQ(loadText(*d, ents(attdef)).error, 0);
  const CEntAttdef* a = first<CEntAttdef>(*d);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->getText().getAlign(), TEXT_3D::findJustify(0, 3));  // ATTDEF takes 74
  EXPECT_STREQ(a->getTag().c_str(), "TAG");
  EXPECT_STREQ(a->getValue().c_str(), "default");
  EXPECT_STREQ(a->getPrompt().c_str(), "Which?");
  EXPECT_EQ(a->getFlags(), 8);
  EXPECT_EQ(a->GetHandle(), 0x31);
}

TEST(DxfTexts, WidthAndObliqueLimitsAreError9AtTheirLine) {
  const std::vector<std::pair<const char*, bool>> cases = {
      {"41 0.005", false}, {"41 0.01", true},  {"41 100", true}, {"41 100.5", false},
      {"51 100", false},   {"51 -85", true},   {"51 275", true}, {"51 265", false},
      {"51 180", false},   {"51 -180", false}, {"51 445", true}, {"51 nan", false},
  };
  for (const auto& [pair, valid] : cases) {
    SCOPED_TRACE(pair);
    DataPtr d = newDrawing();
    const std::string text = ents(dxf(std::string("0 TEXT;8 0;10 1;20 2;40 1;") + pair));
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, valid ? 0 : 9);
    EXPECT_EQ(out.line, valid ? 0 : lineAfter(text, dxf(pair)));
  }
}

struct MissingCase {
  const char* what;
  std::string records;
  long kind;
  long mask;
};

TEST(DxfTexts, AMissingRequiredGroupIsError11) {
  const std::string insert = dxf("0 INSERT;8 0;2 B;10 0;20 0;66 1");
  const std::vector<MissingCase> cases = {
      {"TEXT without 40", dxf("0 TEXT;8 0;10 1;20 2;1 x"), 6, 0x31},
      {"ATTDEF without 3", dxf("0 ATTDEF;8 0;10 1;20 2;40 1;1 v;2 T;70 0"), 7, 0x6F1},
      {"ATTRIB without 70", insert + dxf("0 ATTRIB;8 0;10 1;20 2;40 1;1 v;2 T"), 9, 0x1F1},
      {"INSERT without 2", dxf("0 INSERT;8 0;10 0;20 0"), 8, 0x31},
  };
  for (const MissingCase& k : cases) {
    SCOPED_TRACE(k.what);
    DataPtr d = newDrawing();
    const std::string text = ents(k.records + dxf("0 POINT;8 0;10 0;20 0"));
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, 11);
    EXPECT_EQ(out.param1, k.kind);
    EXPECT_EQ(out.param2, k.mask);
    EXPECT_EQ(out.line, lineAfter(text, "0\nPOINT\n"));  // the pair that ends the record
  }
}

// ---- INSERT and ATTRIB --------------------------------------------------------------------

// Point, scales, rotation, then rows and columns (groups 71 and 70) and their spacings.
std::vector<double> placement(const CEntInsert& ins) {
  double sx, sy, sz, columnSpacing, rowSpacing;
  long rows, columns;
  ins.getScale(sx, sy, sz);
  ins.getArray(rows, columns, columnSpacing, rowSpacing);
  const PNT_3D& p = ins.getPnt();
  return {p.getX(),     p.getY(),        p.getZ(),      sx,        sy, sz, ins.getRotate(),
          double(rows), double(columns), columnSpacing, rowSpacing};
}

TEST(DxfInserts, PlacementArrayAndDefaults) {
  DataPtr d = newDrawing();
  const std::string r =
      dxf("0 INSERT;8 0;2 B;10 1;20 2;30 3;41 2;42 3;43 4;50 90;70 3;71 2;44 5;45 6") +
      dxf("0 INSERT;8 0;2 B;10 0;20 0");
  ASSERT_EQ(loadText(*d, ents(r, block("B", 0))).error, 0);
  const std::vector<CEnt*> all = entities(*d);
  ASSERT_EQ(all.size(), 2u);
  const std::vector<double> expected[] = {{1, 2, 3, 2, 3, 4, 90 * kF, 2, 3, 5, 6},
                                          {0, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0}};
  for (int i = 0; i < 2; ++i) {
    auto* ins = dynamic_cast<CEntInsert*>(all[i]);
    ASSERT_NE(ins, nullptr);
    EXPECT_EQ(ins->getBlock(), d->getBlockTable().get("B"));
    EXPECT_EQ(placement(*ins), expected[i]);
  }
}

TEST(DxfInserts, AttributesAreStoredInTheInsertsCoordinates) {
  DataPtr d = newDrawing();
  const std::string r =
      dxf("0 INSERT;5 30;8 0;2 B;10 10;20 20;41 2;50 30;66 1") +
      dxf("0 ATTRIB;5 31;8 0;10 13;20 24;40 2;50 40;41 0.8;1 VALUE;2 TAG;70 4") +
      dxf("0 ATTRIB;5 32;8 0;10 10;20 20;40 1;1 second;2 T2;70 0;0 SEQEND;5 33;8 0");
  ASSERT_EQ(loadText(*d, ents(r, block("B", 0))).error, 0);
  CEntInsert* ins = first<CEntInsert>(*d);
  ASSERT_NE(ins, nullptr);
  ASSERT_EQ(ins->size(), 2);
  const CEntAttrib& a = (*ins)[0];
  EXPECT_EQ(a.GetHandle(), 0x31);
  EXPECT_EQ((*ins)[1].GetHandle(), 0x32);
  EXPECT_STREQ(a.getValue().c_str(), "VALUE");
  EXPECT_STREQ(a.getTag().c_str(), "TAG");
  EXPECT_EQ(a.getFlags(), 4);
  EXPECT_TRUE(handleFree(*d, 0x33));  // the SEQEND record's handle is not taken

  // Carried back to drawing coordinates, the attribute stands where the file put it.
  PNT_3D pos;
  double height, rotation, oblique, width;
  transform_attrib_logic_2_phisic(*ins, a, pos, height, rotation, oblique, width);
  EXPECT_NEAR(pos.getX(), 13, 1e-9);
  EXPECT_NEAR(pos.getY(), 24, 1e-9);
  EXPECT_NEAR(height, 2, 1e-9);
  EXPECT_NEAR(rotation, 40 * kF, 1e-9);
  EXPECT_NEAR(width, 0.8, 1e-9);
}

struct AbandonCase {
  const char* what;
  std::string tail;  // after an INSERT (handle 40) with one attribute (41); empty: the file ends
  long error;
  const char* at;  // the error's line ends this text
};

TEST(DxfInserts, AFailedInsertGivesBackItsHandlesAndThoseOfItsAttributes) {
  const std::string head = dxf("0 INSERT;5 40;8 0;2 B;10 0;20 0;66 1") +
                           dxf("0 ATTRIB;5 41;8 0;10 0;20 0;40 1;1 v;2 T;70 0");
  const std::vector<AbandonCase> cases = {
      {"no SEQEND", dxf("0 LINE;8 0;10 0;20 0;11 1;21 1"), 7, "0\nLINE\n"},
      {"bad attribute", dxf("0 ATTRIB;5 42;8 0;41 0;10 0"), 9, "41\n0\n"},
      {"attribute handle taken", dxf("0 ATTRIB;5 41;8 0;10 0;20 0;40 1;1 v;2 T;70 0;0 SEQEND"), 10,
       "0\nSEQEND\n"},
      {"file ends", "", 4, "70\n0\n"},
  };
  for (const AbandonCase& k : cases) {
    SCOPED_TRACE(k.what);
    DataPtr d = newDrawing();
    const std::string text =
        k.tail.empty() ? dxf("0 SECTION;2 ENTITIES") + head : ents(head + k.tail, block("B", 0));
    const Outcome out = loadText(*d, text);
    EXPECT_EQ(out.error, k.error);
    EXPECT_EQ(out.line, lineAfter(text, k.at));
    EXPECT_TRUE(entities(*d).empty());
    for (long h : {0x40, 0x41, 0x42}) EXPECT_TRUE(handleFree(*d, h)) << h;
  }
}

TEST(DxfInserts, ABlockNamedBeforeItsDefinitionIsFilledByIt) {
  DataPtr d = newDrawing();
  // ENTITIES comes first, so its insert names a block still to come as well.
  const std::string blocks = block("A", 0, dxf("0 INSERT;8 0;2 B;10 10;20 0")) +
                             block("B", 0, dxf("0 LINE;8 0;10 0;20 0;11 1;21 1")) +
                             block("C", 0, dxf("0 POINT;8 0;10 3;20 4"));
  const std::string text =
      drawing(section("ENTITIES", dxf("0 INSERT;8 0;2 C;10 0;20 0")) + section("BLOCKS", blocks));
  ASSERT_EQ(loadText(*d, text).error, 0);
  CBlockTable& table = d->getBlockTable();
  CBlock* a = table.get("A");
  CBlock* b = table.get("B");
  CBlock* c = table.get("C");
  ASSERT_TRUE(a && b && c);
  ASSERT_EQ(a->size(), 1);
  EXPECT_EQ(b->size(), 1);
  EXPECT_EQ(c->size(), 1);
  EXPECT_EQ(static_cast<CEntInsert*>((*a)[0])->getBlock(), b);
  EXPECT_EQ(a->getBdry(), RECT_3D(10, 0, 0, 11, 1, 0));  // boxed once B had its line
  EXPECT_EQ(first<CEntInsert>(*d)->getBlock(), c);
}

// The parser boxes the blocks again after the BLOCKS section only when the reader says so.
TEST(DxfInserts, OnlyAnUndefinedBlockSetsTheReadersFlag) {
  DataPtr d = newDrawing();
  CFileDXFILoadDataSemantor semantor(*d);
  std::mylist<CEnt*> none;
  semantor.createBlock("B", PNT_3D(0, 0, 0), 0, none);
  MemoryFile file("t.dxf", dxf("0 INSERT;8 0;2 B;10 0;20 0;0 INSERT;8 0;2 NEW;10 0;20 0;0 EOF"));
  file.open();
  CFileDXFILexer lexer(file);
  CFileDXFIVersionReaderAC1009 reader(lexer, semantor, d->getEntFactory());
  lexer.read();
  semantor.add(reader.readEntity());
  EXPECT_FALSE(reader.blockCreatedOnDemand());
  semantor.add(reader.readEntity());
  EXPECT_TRUE(reader.blockCreatedOnDemand());
  EXPECT_NE(d->getBlockTable().get("NEW"), nullptr);
  file.close();
}

TEST(DxfInserts, AnExternalReferenceIsInsertedAsOne) {
  DataPtr d = newDrawing();
  const std::string xref = dxf("0 BLOCK;2 PLAN;70 4;1 plan.dxf;0 ENDBLK");
  ASSERT_EQ(loadText(*d, ents(dxf("0 INSERT;8 0;2 PLAN;10 1;20 1"), xref)).error, 0);
  auto* ins = first<CEntInsertXRef>(*d);
  ASSERT_NE(ins, nullptr);
  EXPECT_EQ(ins->getXRef(), d->getBlockXRefTable().get("PLAN"));
}

// ---- Hatch data on an INSERT (older files) -----------------------------------------------

std::string real(double v) {
  char s[64];
  std::snprintf(s, sizeof s, "%.6f", v);
  return s;
}

// A hatch's INSERT as the DXF writer lays it out: the insert record, then its hatch data.
std::string hatchInsert(const char* blockName, const HATCH_TYPE& t, double scale, double angle,
                        const std::vector<PNT_3D>& pts) {
  const std::string zeros = ";1011 0.0;1021 0.0;1031 0.0;1021 0.0;1031 0.0";
  std::string s = std::string("0 INSERT;5 40;8 0;2 ") + blockName + ";10 0;20 0;30 0" +
                  ";1001 ACAD;1000 HATCH;1002 {;1070 19;1000 " + t.name + ";1040 " + real(scale) +
                  ";1040 " + real(angle) + ";1000 ASC_BOUNDS;1070 1;1070 2;1070 0" +
                  ";1000 ASC_SEEDPOINT" + zeros + ";1000 R14_HATCH_DATA;1000 40" +
                  ";1011 1;1021 0;1031 0;1021 0;1031 0;1011 0;1021 0;1031 0;1021 1;1031 0" +
                  ";1011 0;1021 0;1031 0;1021 0;1031 1;1040 0;1010 0;1020 0;1030 1;1000 " + t.name +
                  ";1070 0;1070 0;1071 1;1071 1;1071 " + std::to_string(pts.size() - 1);
  for (std::size_t i = 0; i + 1 < pts.size(); ++i)
    s += ";1070 1;1040 " + real(pts[i].getX()) + ";1040 " + real(pts[i].getY()) + ";1040 " +
         real(pts[i + 1].getX()) + ";1040 " + real(pts[i + 1].getY());
  s += ";1071 0;1070 0;1070 1;1040 " + real(angle) + ";1040 " + real(scale) + ";1070 0;1070 " +
       std::to_string(t.noLines);
  for (long i = 0; i < t.noLines; ++i) {
    const HATCH_LINE& l = t.lines[i];
    s += ";1040 " + real(l.angle) + ";1040 " + real(l.x * 25.4) + ";1040 " + real(l.y * 25.4) +
         ";1040 " + real(l.deltaX * 25.4) + ";1040 " + real(l.deltaY * 25.4) + ";1070 " +
         std::to_string(l.noDashes);
    for (long k = 0; k < l.noDashes; ++k) s += ";1040 " + real(l.dashes[k] * 25.4);
  }
  return dxf(s + ";1071 1;1040 0;1040 0;1040 0;1002 }");
}

const std::vector<PNT_3D> kSquare = {PNT_3D(0, 0, 0), PNT_3D(10, 0, 0), PNT_3D(10, 10, 0),
                                     PNT_3D(0, 10, 0), PNT_3D(0, 0, 0)};

const HATCH_TYPE& pattern(const char* name) {
  return *getHatch(String(name));
}

// The insert, then a point, with the block *PAT1 (one line) defined first.
std::string hatchFile(const std::string& insert, const char* acadver = "AC1009",
                      int blockFlags = 1) {
  return ents(insert + dxf("0 POINT;8 0;10 0;20 0"),
              block("*PAT1", blockFlags, dxf("0 LINE;8 0;10 0;20 0;11 10;21 10")), acadver);
}

// ANSI33 at scale 2 and -90 degrees, handle 40, on the block *PAT1.
const std::string& goodHatch() {
  static const std::string text = hatchInsert("*PAT1", pattern("ANSI33"), 2, -kTwoPi / 4, kSquare);
  return text;
}

TEST(DxfInsertHatch, TheOlderReaderMakesAHatch) {
  DataPtr d = newDrawing();
  ASSERT_EQ(loadText(*d, hatchFile(goodHatch())).error, 0);
  auto* h = first<CEntHatch>(*d);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->GetHandle(), 0x40);
  EXPECT_EQ(h->getBlock(), d->getBlockTable().get("*PAT1"));
  EXPECT_EQ(&h->getHatchType(), &pattern("ANSI33"));
  EXPECT_EQ(h->getHatchScale(), 2);
  EXPECT_NEAR(h->getHatchRotate(), 3 * kTwoPi / 4, 1e-6);  // -90 degrees, six decimals
  ASSERT_EQ(h->getNoPnts(), 5);
  for (long i = 0; i < 5; ++i) EXPECT_EQ(h->getPnt(i), kSquare[i]) << i;
}

struct VariantCase {
  const char* what;
  std::string insert;
  const char* pattern;
};

// Hatch data as other programs write it, and a name the catalogue lacks.
TEST(DxfInsertHatch, VariantsOfTheDataAreTaken) {
  const std::string point5 = "1011\n0.0\n1021\n0.0\n1031\n0.0\n1021\n0.0\n1031\n0.0\n";
  const std::string row5 = "1011\n1\n1021\n0\n1031\n0\n1021\n0\n1031\n0\n";
  const std::vector<VariantCase> cases = {
      {"points of three codes",
       replaceFirst(replaceFirst(goodHatch(), point5, "1011\n0.0\n1021\n0.0\n1031\n0.0\n"), row5,
                    "1011\n1\n1021\n0\n1031\n0\n"),
       "ANSI33"},
      {"source objects",
       replaceFirst(replaceFirst(goodHatch(), "1070\n2\n1070\n0\n", "1070\n2\n1070\n1\n1005\n8E\n"),
                    "1071\n0\n", "1071\n2\n1005\n8E\n1005\n8F\n"),
       "ANSI33"},
      {"a style after the name", replaceFirst(goodHatch(), "ANSI33", "ANSI33,I"), "ANSI33"},
      {"unknown pattern", replaceFirst(goodHatch(), "ANSI33", "NOSUCH"), getHatch(0L)->name},
  };
  for (const VariantCase& k : cases) {
    SCOPED_TRACE(k.what);
    DataPtr d = newDrawing();
    ASSERT_EQ(loadText(*d, hatchFile(k.insert)).error, 0);
    auto* h = first<CEntHatch>(*d);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(&h->getHatchType(), &pattern(k.pattern));
    EXPECT_EQ(h->getHatchScale(), 2);
    EXPECT_EQ(h->getNoPnts(), 5);
  }
}

TEST(DxfInsertHatch, AHatchBlockStillToComeIsMadeAnonymous) {
  DataPtr d = newDrawing();
  ASSERT_EQ(loadText(*d, ents(replaceFirst(goodHatch(), "*PAT1", "*PAT7"))).error, 0);
  CBlock* b = d->getBlockTable().get("*PAT7");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->getFlags() & 1, 1);
  ASSERT_NE(first<CEntHatch>(*d), nullptr);
  EXPECT_EQ(first<CEntHatch>(*d)->getBlock(), b);
}

struct PlainCase {
  const char* what;
  std::string text;
  double sx;
};

TEST(DxfInsertHatch, ANewerFileOrOtherExtendedDataGivesAPlainInsert) {
  const std::string shortForm =
      dxf("0 INSERT;8 0;2 *PAT1;10 0;20 0;1001 ACAD;1000 HATCH;1002 {;1070 16;1000 ANSI31,I") +
      dxf("1040 2000.0;1040 0.0;1002 {;1002 };1002 }");
  const std::vector<PlainCase> cases = {
      {"newer file", hatchFile(goodHatch(), "AC1015"), 1},
      {"version 16: no boundary to make a hatch of", hatchFile(shortForm), 1},
      {"another application", hatchFile(replaceFirst(goodHatch(), "\nACAD\n", "\nOTHER\n")), 1},
      {"other ACAD data", hatchFile(replaceFirst(goodHatch(), "\nHATCH\n", "\nSOMETHING\n")), 1},
      // The pairs after the application name are the record's again.
      {"a record group after ACAD",
       hatchFile(replaceFirst(goodHatch(), "1000\nHATCH\n", "41\n3\n")), 3},
  };
  for (const PlainCase& k : cases) {
    SCOPED_TRACE(k.what);
    DataPtr d = newDrawing();
    ASSERT_EQ(loadText(*d, k.text).error, 0);
    ASSERT_EQ(entities(*d).size(), 2u);
    CEnt* e = entities(*d)[0];
    EXPECT_EQ(e->getType(), 8);
    EXPECT_EQ(dynamic_cast<CEntHatch*>(e), nullptr);
    double sx, sy, sz;
    static_cast<CEntInsert*>(e)->getScale(sx, sy, sz);
    EXPECT_EQ(sx, k.sx);
  }
}

struct HatchFault {
  const char* what;
  std::string text;
  long error;
  const char* at;  // the error's line ends this text; null: the pair after the record
};

TEST(DxfInsertHatch, FaultsAreError7Or9AtTheirLine) {
  const auto edit = [](const char* from, const char* to) {
    return hatchFile(replaceFirst(goodHatch(), from, to));
  };
  const std::string xref = dxf("0 BLOCK;2 *PAT1;70 5;1 plan.dxf;0 ENDBLK");
  const std::vector<HatchFault> cases = {
      {"wrong code at a fixed place", edit("1070\n19\n", "1071\n19\n"), 7, "1071\n19\n"},
      {"a code below 1000 inside", edit("1000\nASC_BOUNDS\n", "0\nPOINT\n"), 7, "0\nPOINT\n"},
      {"scale 0", edit("1040\n2.000000\n", "1040\n0\n"), 9, "1040\n0\n"},
      {"negative scale", edit("1040\n2.000000\n", "1040\n-1\n"), 9, "1040\n-1\n"},
      {"another insert's handle", edit("1000\n40\n", "1000\n41\n"), 9, nullptr},
      {"attributes follow", edit("30\n0\n", "30\n0\n66\n1\n"), 7, nullptr},
      {"an arc segment", edit("1071\n4\n1070\n1\n", "1071\n4\n1070\n2\n"), 9, "1071\n4\n1070\n2\n"},
      {"another marker", edit("ASC_BOUNDS", "ASC_OTHER"), 9, "1000\nASC_OTHER\n"},
      {"two boundary loops", edit("1071\n1\n1071\n1\n", "1071\n2\n1071\n1\n"), 9, "1071\n2\n"},
      {"negative segment count", edit("1071\n4\n", "1071\n-4\n"), 9, "1071\n-4\n"},
      {"not closed", edit("1002\n}\n", "1002\n]\n"), 9, "1002\n]\n"},
      {"a block without flag 1", hatchFile(goodHatch(), "AC1009", 0), 7, nullptr},
      {"an external reference", ents(goodHatch() + dxf("0 POINT;8 0;10 0;20 0"), xref), 7, nullptr},
  };
  for (const HatchFault& k : cases) {
    SCOPED_TRACE(k.what);
    DataPtr d = newDrawing();
    const Outcome out = loadText(*d, k.text);
    EXPECT_EQ(out.error, k.error);
    EXPECT_EQ(out.line, lineAfter(k.text, k.at ? k.at : "1002\n}\n0\nPOINT\n"));
    EXPECT_TRUE(handleFree(*d, 0x40));
  }
}

}  // namespace
