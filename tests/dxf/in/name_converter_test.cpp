// tests/dxf/in/name_converter_test.cpp: the DXF-safe names given to layers, linetypes, styles
// and blocks: cleaning, cutting, numbering against the drawing's own names, and lookups of
// items the converter never saw.
#include <veltcore/veltcore.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/test_drawing.h"

namespace {

// Exposes the protected building blocks for direct checks.
class OpenConverter : public CNameAcadConverter {
 public:
  using CNameAcadConverter::CNameAcadConverter;
  using CNameAcadConverter::GenerateValidName;
  using CNameAcadConverter::IsValidChar;
  using CNameAcadConverter::IsValidName;
};

CLayer* addLayerNamed(CData& d, const std::string& name) {
  CLayer* layer = d.getLayerFactory().create(name.c_str(), &d.getLtypeContinuous(), 7, 0);
  addLayer(d, layer);
  return layer;
}

CBlockXRef* addXRef(CData& d, const char* name) {
  CBlockXRef* x = d.getBlockFactory().createXRef(d.getLtypeContinuous(), d.getLtypeByLayer(),
                                                 d.getLtypeByBlock(), d.getLayer0(), name,
                                                 "plan.dxf", PNT_3D(0, 0, 0), 0);
  d.getBlockXRefTable().add(x);
  return x;
}

const std::string kForty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";

TEST(NameAcadConverter, LayerNamesAreCleanedCutAndNumbered) {
  struct Case {
    const char* what;
    std::vector<std::string> layers;  // added in this order; the last is converted
    std::string expected;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"valid name kept", {"WALLS-2$"}, "WALLS-2$"}, {"leading asterisk kept", {"*ABC"}, "*ABC"},
      {"inner asterisk replaced", {"A*B"}, "A_B"},
      {"clash with a drawing name", {"A_B", "A B"}, "A_B0"},
      {"second clash", {"A_B", "A_B0", "A B"}, "A_B1"},
      {"clash checked with case", {"a_b", "A B"}, "A_B"},
      {"two unsafe names may share one result", {"A B", "A?B"}, "A_B"}, {"layer 0", {}, "0"},
      {"accented byte replaced", {"Citt\xE0"}, "Citt_"},
      {"long name cut to 31", {kForty}, kForty.substr(0, 31)},
      {"cut name clashes", {kForty.substr(0, 31), kForty}, kForty.substr(0, 30) + "0"}
  };
  // clang-format on
  for (const Case& c : cases) {
    DataPtr d = newDrawing();
    CLayer* probe = &d->getLayer0();
    for (const std::string& name : c.layers) probe = addLayerNamed(*d, name);
    CNameAcadConverter converter(*d);
    EXPECT_STREQ(converter.GetName(probe).c_str(), c.expected.c_str()) << c.what;
  }
}

// Built-in items and the full names of a reference's items are checked in the written files;
// a reference's styles, which are not written, are converted by their own name.
TEST(NameAcadConverter, ReferenceStylesAndItemsItNeverSaw) {
  DataPtr d = newDrawing();
  CBlockXRef* plan = addXRef(*d, "PLAN");
  CStyle* xstyle = d->getStyleFactory().create("NOTE S", nullptr, 0, 1, 0, 2.5, 0);
  plan->add(xstyle);
  CNameAcadConverter converter(*d);
  EXPECT_STREQ(converter.GetName(xstyle).c_str(), "NOTE_S");
  CLayer* layer = addLayerNamed(*d, "LATE");
  CLtype* ltype = d->getLtypeFactory().create("LATE", "", nullptr, 0, 0);
  addLtype(*d, ltype);
  CStyle* style = d->getStyleFactory().create("LATE", nullptr, 0, 1, 0, 2.5, 0);
  addStyle(*d, style);
  CBlock* block = d->getBlockFactory().create("LATE", 0);
  d->getBlockTable().add(block);
  EXPECT_EQ(std::string(converter.GetName(layer).c_str()) + converter.GetName(ltype).c_str() +
                converter.GetName(style).c_str() + converter.GetName(block).c_str() +
                converter.GetName(static_cast<const CLayer*>(nullptr)).c_str(),
            "");
}

TEST(NameAcadConverter, UniquenessUsesShortNamesOfReferenceItemsAndOneWalkForBlocks) {
  DataPtr d = newDrawing();
  CBlockXRef* plan = addXRef(*d, "PLAN");
  // The reference's layer is "A_B" (full name "PLAN|A_B"): the drawing's "A B" must move
  // aside although no converted name is "A_B".
  plan->add(d->getLayerFactory().createXRef(*plan, "A_B", &d->getLtypeContinuous(), 1, 0));
  CLayer* own = addLayerNamed(*d, "A B");
  CBlock* door = d->getBlockFactory().create("DOOR 1", 0);
  d->getBlockTable().add(door);
  CBlock* anonymous = d->getBlockFactory().create("*U3", 0);
  d->getBlockTable().add(anonymous);
  CBlockXRef* xref = addXRef(*d, "DOOR_1");
  CLtype* ltype = d->getLtypeFactory().create("CENTER LINE", "", nullptr, 0, 0);
  addLtype(*d, ltype);
  CStyle* style = d->getStyleFactory().create("STANDARD", nullptr, 0, 1, 0, 2.5, 0);
  addStyle(*d, style);
  CNameAcadConverter converter(*d);
  EXPECT_STREQ(converter.GetName(own).c_str(), "A_B0");
  EXPECT_STREQ(converter.GetName(door).c_str(), "DOOR_10");
  EXPECT_STREQ(converter.GetName(anonymous).c_str(), "*U3");
  EXPECT_STREQ(converter.GetName(xref).c_str(), "DOOR_1");
  EXPECT_STREQ(converter.GetName(ltype).c_str(), "CENTER_LINE");
  // A valid name is kept even when another item already has it.
  EXPECT_STREQ(converter.GetName(style).c_str(), "STANDARD");
}

TEST(NameAcadConverter, ValidCharactersNamesAndGeneratedNames) {
  DataPtr d = newDrawing();
  OpenConverter converter(*d);
  for (char c : std::string("azAZ09_-$")) EXPECT_TRUE(converter.IsValidChar(c)) << c;
  for (char c : std::string(" *|?./\\:;,\"'<>=`~\t\xE8") + '\0')
    EXPECT_FALSE(converter.IsValidChar(c)) << c;
  struct Case {
    std::string name, out;
    bool valid;
  };
  const std::vector<Case> cases = {{"", "", true},
                                   {"*", "*", true},
                                   {"**", "*_", false},
                                   {"\xC3\xA8", "__", false},  // UTF-8 letters: two underscores
                                   {kForty, kForty.substr(0, 31), false},
                                   {" " + kForty, "_" + kForty.substr(0, 30), false}};
  for (const Case& c : cases) {
    String out("stale");
    EXPECT_EQ(converter.IsValidName(c.name.c_str(), out), c.valid) << c.name;
    EXPECT_STREQ(out.c_str(), c.out.c_str()) << c.name;
  }
  // Generated names fit in 31 characters; the caller's base is not cut.
  String base(kForty.substr(0, 31).c_str());
  int counter = 9;
  EXPECT_EQ(std::string(converter.GenerateValidName(base, counter).c_str()),
            kForty.substr(0, 30) + "9");
  EXPECT_EQ(std::string(converter.GenerateValidName(base, counter).c_str()),
            kForty.substr(0, 29) + "10");
  EXPECT_EQ(counter, 11);
  EXPECT_EQ(base.size(), 31);
}

}  // namespace
