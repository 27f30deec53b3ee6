// tests/database/named_item_test.cpp: CNamedItem copies, equality and flags; CNamedItemTableImp
// ownership, case-blind get, and getProgNum against its plain definition.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <veltcore/database/named_item.h>

namespace {

// Counts its destructions, so that ownership mistakes show as wrong counts (or, under the
// sanitizers, as leaks and double deletes). Reacts to the one-argument setFlags by keeping bit 1.
class Item : public CNamedItem {
 public:
  using CNamedItem::setFlags;
  Item(const char* name, long flags, int* destroyed = nullptr)
      : CNamedItem(name, flags), destroyed_(destroyed) {}
  Item(const Item& src) = default;
  Item& operator=(const Item& src) = default;
  ~Item() override { destroyed_ ? ++*destroyed_ : 0; }
  void setFlags(long flags) override { CNamedItem::setFlags(flags | 1); }

 private:
  int* destroyed_;
};

class Table : public CNamedItemTableImp {
 public:
  using CNamedItemTableImp::add, CNamedItemTableImp::get, CNamedItemTableImp::remove;
  using CNamedItemTableImp::operator[];
  Table(const std::vector<std::string>& names, int* destroyed) {
    for (const auto& name : names) add(new Item(name.c_str(), 0, destroyed));
  }
};

// The definition: try n = 1, 2, ... with the text formed by "%s%ld" and compared by strcmp.
long progNumByDefinition(const Table& t, const std::string& base) {
  for (long n = 1;; ++n) {
    std::vector<char> text(base.size() + 24);
    std::snprintf(text.data(), text.size(), "%s%ld", base.c_str(), n);
    bool taken = false;
    for (int i = 0; i < t.size(); ++i)
      taken = taken || std::strcmp(t[i]->getName(), text.data()) == 0;
    if (!taken) return n;
  }
}

}  // namespace

TEST(NamedItemTest, CopyStartsUncountedAssignmentCopiesTheCount) {
  Item source("WALLS", 4);
  for (int i = 0; i < 6; ++i) source.addEntity();
  source.decEntity();
  const Item copy(source);
  Item assigned("other", 1);
  assigned = source;
  Item& alias = assigned;
  assigned = alias;
  EXPECT_STREQ(copy.getName(), "WALLS");
  EXPECT_STREQ(assigned.getName(), "WALLS");
  EXPECT_EQ(copy.getFlags(), 4);
  EXPECT_EQ(assigned.getFlags(), 4);
  EXPECT_EQ(copy.getEntities(), 0);
  EXPECT_EQ(assigned.getEntities(), 5);
  assigned.zeroEntities();
  assigned.decEntity();
  EXPECT_EQ(assigned.getEntities(), -1);
}

TEST(NamedItemTest, EqualityIgnoresNameCaseAndTheCount) {
  struct Case {
    const char *a, *b;
    long flagsB;
    bool equal;
  };
  const Case cases[] = {{"Walls", "WALLS", 16, true},
                        {"Walls", "walls", 17, false},
                        {"Walls", "Wall", 16, false},
                        {"a|B", "A|b", 16, true}};
  for (const Case& c : cases) {
    Item a(c.a, 16);
    a.addEntity();
    const Item b(c.b, c.flagsB);
    EXPECT_EQ(a == b, c.equal) << c.a << " " << c.b;
    EXPECT_EQ(a != b, !c.equal) << c.a << " " << c.b;
  }
}

TEST(NamedItemTest, FlagsAreA32BitWord) {
  struct Case {
    long start, mask;
    bool on;
    long result;
  };
  const Case cases[] = {{0, 5, true, 5},
                        {5, 4, false, 1},
                        {-1, 0x8000, false, -1 - 0x8000},
                        {1, 4294967296L + 2, true, 3},
                        {4294967296L + 16, 0x80000000L, true, INT_MIN + 16}};
  for (const Case& c : cases) {
    Item item("L", c.start);
    item.setFlags(c.mask, c.on);  // the stored word, never the override
    EXPECT_EQ(item.getFlags(), c.result) << c.start << " " << c.mask << " " << c.on;
    static_cast<CNamedItem&>(item).setFlags(c.mask);  // the virtual form reaches the override
    EXPECT_EQ(item.getFlags(), Item("", c.mask).getFlags() | 1);
  }
}

TEST(NamedItemTableTest, OwnsItemsUntilRemoved) {
  int destroyed = 0;
  { Table t({"A", "B", "C"}, &destroyed); }
  EXPECT_EQ(destroyed, 3);
  Table t({"A", "B"}, &destroyed);
  t.clearAll();
  EXPECT_EQ(destroyed, 5);
  EXPECT_EQ(t.size(), 0);

  Item* twice = new Item("X", 0, &destroyed);
  t.add(new Item("A", 0, &destroyed));
  t.add(twice);
  t.add(t[0]);
  t.add(twice);     // A X A X
  t.remove(twice);  // A A X
  t.remove(t[0]);   // A X
  Item absent("Z", 0);
  t.remove(&absent);
  ASSERT_EQ(t.size(), 2);
  EXPECT_STREQ(t[0]->getName(), "A");
  EXPECT_EQ(t[1], twice);
  EXPECT_EQ(destroyed, 5);
}

TEST(NamedItemTableTest, GetIgnoresCaseAndReturnsTheFirstMatch) {
  int destroyed = 0;
  Table t({"Walls", "DOORS", "walls"}, &destroyed);
  const std::pair<const char*, int> cases[] = {{"WALLS", 0}, {"doors", 1}, {"Door", -1}, {"", -1}};
  for (const auto& [name, index] : cases) {
    EXPECT_EQ(t.get(name), index < 0 ? nullptr : t[index]) << name;
  }
}

TEST(NamedItemTableTest, ProgNumIsCaseSensitiveAndExact) {
  const std::string longBase(300, 'q');  // longer than any fixed-size text area
  struct Case {
    std::vector<std::string> names;
    std::string base;
    long expected;
  };
  const Case cases[] = {
      {{"Block1", "Block2"}, "Block", 3},
      {{"BLOCK1"}, "Block", 1},
      {{"Block2", "Block1", "Block1"}, "Block", 3},
      {{"Block1", "Block3"}, "Block", 2},
      {{"Block01", "Block+1", "Block1x", "Block 1", "Bloc1", "Block0"}, "Block", 1},
      {{"Block99999999999999999999999", "Block2147483648"}, "Block", 1},
      {{"1", "2", "x3"}, "", 3},
      {{longBase + "1"}, longBase, 2},
  };
  for (const Case& c : cases) {
    int destroyed = 0;
    const Table t(c.names, &destroyed);
    EXPECT_EQ(t.getProgNum(c.base.c_str()), c.expected) << c.base.substr(0, 8);
    EXPECT_EQ(t.GetProgName(c.base.c_str()).c_str(), c.base + std::to_string(c.expected));
  }
  std::mt19937 rng(99);
  const char* stems[] = {"B", "b", "Bk", "", "B0"};
  for (int round = 0; round < 500; ++round) {
    std::vector<std::string> names(rng() % 12);
    for (auto& name : names) name = stems[rng() % 5] + std::to_string(rng() % 9);
    int destroyed = 0;
    const Table t(names, &destroyed);
    const std::string base = stems[rng() % 5];
    EXPECT_EQ(t.getProgNum(base.c_str()), progNumByDefinition(t, base)) << base;
  }
}
