// tests/dxf/in/name_converter_test.cpp: the DXF-safe names given to layers, linetypes, styles
// and blocks: cleaning, cutting, numbering against the drawing's own names, and lookups of
// items the converter never saw.
#include <veltcore/dxf/in/name_converter.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
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

struct LayerCase {
  const char* what;
  std::vector<std::string> layers;  // added in this order
  std::string probe;                // the layer whose converted name is checked
  std::string expected;
};

TEST(NameAcadConverter, LayerNamesAreCleanedCutAndNumbered) {
  const std::vector<LayerCase> cases = {
      {"valid name kept", {"WALLS-2$"}, "WALLS-2$", "WALLS-2$"},
      {"leading asterisk kept", {"*ABC"}, "*ABC", "*ABC"},
      {"inner asterisk replaced", {"A*B"}, "A*B", "A_B"},
      {"blank replaced", {"A B"}, "A B", "A_B"},
      {"clash with a drawing name", {"A_B", "A B"}, "A B", "A_B0"},
      {"second clash", {"A_B", "A_B0", "A B"}, "A B", "A_B1"},
      {"clash checked with case", {"a_b", "A B"}, "A B", "A_B"},
      {"two unsafe names may share one result", {"A B", "A?B"}, "A?B", "A_B"},
      {"layer 0", {}, "0", "0"},
      {"accented byte replaced", {"Citt\xE0"}, "Citt\xE0", "Citt_"},
      {"long name cut to 31", {kForty}, kForty, kForty.substr(0, 31)},
      {"cut name clashes", {kForty.substr(0, 31), kForty}, kForty, kForty.substr(0, 30) + "0"},
      {"31 characters untouched",
       {kForty.substr(0, 31)},
       kForty.substr(0, 31),
       kForty.substr(0, 31)},
  };
  for (const LayerCase& c : cases) {
    DataPtr d = newDrawing();
    CLayer* probe = c.probe == "0" ? &d->getLayer0() : nullptr;
    for (const std::string& name : c.layers) {
      CLayer* layer = addLayerNamed(*d, name);
      if (name == c.probe) probe = layer;
    }
    ASSERT_NE(probe, nullptr) << c.what;
    CNameAcadConverter converter(*d);
    EXPECT_STREQ(converter.GetName(probe).c_str(), c.expected.c_str()) << c.what;
  }
}

TEST(NameAcadConverter, ItemsCreatedAfterwardsHaveNoName) {
  DataPtr d = newDrawing();
  CNameAcadConverter converter(*d);
  CLayer* layer = addLayerNamed(*d, "LATE");
  CLtype* ltype = d->getLtypeFactory().create("LATE", "", nullptr, 0, 0);
  addLtype(*d, ltype);
  CStyle* style = d->getStyleFactory().create("LATE", nullptr, 0, 1, 0, 2.5, 0);
  addStyle(*d, style);
  CBlock* block = d->getBlockFactory().create("LATE", 0);
  d->getBlockTable().add(block);
  EXPECT_STREQ(converter.GetName(layer).c_str(), "");
  EXPECT_STREQ(converter.GetName(ltype).c_str(), "");
  EXPECT_STREQ(converter.GetName(style).c_str(), "");
  EXPECT_STREQ(converter.GetName(block).c_str(), "");
  EXPECT_STREQ(converter.GetName(static_cast<const CLayer*>(nullptr)).c_str(), "");
}

TEST(NameAcadConverter, BuiltInsAndExternalReferenceItems) {
  DataPtr d = newDrawing();
  CBlockXRef* plan = addXRef(*d, "PLAN");
  CLtypeXRef* dashed =
      d->getLtypeFactory().createXRef(*plan, "DASHED", "", CLtypeComplexDashSeq(), 0);
  plan->add(dashed);
  CLayerXRef* walls = d->getLayerFactory().createXRef(*plan, "WALLS", dashed, 1, 0);
  plan->add(walls);
  CStyle* xstyle = d->getStyleFactory().create("NOTE S", nullptr, 0, 1, 0, 2.5, 0);
  plan->add(xstyle);

  CNameAcadConverter converter(*d);
  EXPECT_STREQ(converter.GetName(&d->getLtypeByLayer()).c_str(), "BYLAYER");
  EXPECT_STREQ(converter.GetName(&d->getLtypeByBlock()).c_str(), "BYBLOCK");
  EXPECT_STREQ(converter.GetName(&d->getLtypeContinuous()).c_str(), "Continuous");
  EXPECT_STREQ(converter.GetName(&d->getStyleTable().getStyleStandard()).c_str(), "STANDARD");
  // Full names are converted: the bar is not a DXF name character.
  EXPECT_STREQ(converter.GetName(walls).c_str(), "PLAN_WALLS");
  EXPECT_STREQ(converter.GetName(dashed).c_str(), "PLAN_DASHED");
  // Styles of a reference are converted by their own name.
  EXPECT_STREQ(converter.GetName(xstyle).c_str(), "NOTE_S");
  EXPECT_STREQ(converter.GetName(plan).c_str(), "PLAN");
}

TEST(NameAcadConverter, UniquenessUsesTheShortNamesOfReferenceItems) {
  DataPtr d = newDrawing();
  CBlockXRef* plan = addXRef(*d, "PLAN");
  // The reference's layer is called "A_B" (full name "PLAN|A_B"): the drawing's "A B" must
  // move aside although no converted name is "A_B".
  plan->add(d->getLayerFactory().createXRef(*plan, "A_B", &d->getLtypeContinuous(), 1, 0));
  CLayer* own = addLayerNamed(*d, "A B");
  CNameAcadConverter converter(*d);
  EXPECT_STREQ(converter.GetName(own).c_str(), "A_B0");
}

TEST(NameAcadConverter, BlocksAndReferencesShareOneWalk) {
  DataPtr d = newDrawing();
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
  const std::vector<Case> cases = {
      {"", "", true},
      {"*", "*", true},
      {"**", "*_", false},
      {"\xC3\xA8", "__", false},  // UTF-8 letters are two bytes, so two underscores
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
  String shortBase("AB");
  int zero = 0;
  EXPECT_STREQ(converter.GenerateValidName(shortBase, zero).c_str(), "AB0");
}

}  // namespace
