// tests/geometry/font_table_test.cpp: CFontTable owns what is added (and only that), looks
// names up case-sensitively with an optional fallback to the default, and starts afresh after
// shutdown.
#include <gtest/gtest.h>

#include <veltcore/geometry/font.h>

#include "geometry/test_font.h"

namespace {

const TestFont::Metrics kMetrics{10, 3, 6, 7, -2};

// Each test begins and ends without an instance, whatever ran before it in this program.
class FontTableTest : public testing::Test {
 protected:
  void SetUp() override { CFontTable::shutdown(); }
  void TearDown() override { CFontTable::shutdown(); }
};

TEST_F(FontTableTest, ShutdownDeletesRegisteredFontsButNotTheDefault) {
  int registered = 0, unregistered = 0;
  TestFont* outsider = new TestFont("outsider", kMetrics, &unregistered);
  CFontTable& table = CFontTable::getInstance();
  for (const char* name : {"a", "b", "c"}) table.add(new TestFont(name, kMetrics, &registered));
  table.add(nullptr);
  table.setDefault(outsider);
  EXPECT_EQ(table.size(), 3);

  CFontTable::shutdown();
  EXPECT_EQ(registered, 3);
  EXPECT_EQ(unregistered, 0);
  CFontTable::shutdown();  // no instance: nothing to do
  EXPECT_EQ(registered, 3);
  delete outsider;

  CFontTable& fresh = CFontTable::getInstance();
  EXPECT_EQ(fresh.size(), 0);
  EXPECT_EQ(fresh.getDefault(), nullptr);
}

TEST_F(FontTableTest, LookupIsCaseSensitiveFirstMatchWithOptionalDefault) {
  CFontTable& table = CFontTable::getInstance();
  auto* arial = new TestFont("Arial", kMetrics);
  auto* arialAgain = new TestFont("Arial", kMetrics);
  auto* romans = new TestFont("romans", kMetrics);
  table.add(arial);
  table.add(arialAgain);
  table.add(romans);
  EXPECT_EQ(&CFontTable::getInstance(), &table);

  struct Case {
    const char* name;
    bool orDefault;
    const ICADFont* withoutDefault;
    const ICADFont* withRomansDefault;
  };
  const Case cases[] = {
      {"Arial", false, arial, arial},     {"romans", true, romans, romans},
      {"arial", false, nullptr, nullptr}, {"arial", true, nullptr, romans},
      {"", true, nullptr, romans},        {"ROMANS", false, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    table.setDefault(nullptr);
    EXPECT_EQ(table.get(c.name, c.orDefault), c.withoutDefault) << c.name;
    table.setDefault(romans);
    EXPECT_EQ(table.get(c.name, c.orDefault), c.withRomansDefault) << c.name;
  }

  const ICADFont* inOrder[] = {arial, arialAgain, romans};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(table[i], inOrder[i]);
  EXPECT_EQ(table[3], nullptr);
  EXPECT_EQ(table[-1], nullptr);
}

}  // namespace
