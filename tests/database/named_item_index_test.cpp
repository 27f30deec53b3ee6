// tests/database/named_item_index_test.cpp: the indexed get and getProgNum of CNamedItemTableImp
// against the plain walks (and getProgNum against its "%s%ld" + strcmp definition) on random
// tables changed by adds, removes, renames and releases; and the hand cases that pin table
// order, case, and which names count as base + number.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <veltcore/database/named_item.h>

#include "database/named_item_index.h"

using veltcore::detail::findByWalk;
using veltcore::detail::progNumByWalk;

namespace {

class Item : public CNamedItem {
 public:
  explicit Item(const std::string& name) : CNamedItem(name.c_str(), 0) {}
  Item& operator=(const Item&) = default;
};

class Table : public CNamedItemTableImp {
 public:
  using CNamedItemTableImp::add, CNamedItemTableImp::get, CNamedItemTableImp::remove;
  using CNamedItemTableImp::releaseAll;
  std::vector<CNamedItem*> listed() const {
    std::vector<CNamedItem*> items;
    for (int i = 0; i < size(); ++i) items.push_back((*this)[i]);
    return items;
  }
};

// Items owned by the test, so a table can list one twice; the table lets them go at the end.
struct Fixture {
  std::vector<std::unique_ptr<Item>> pool;
  Table table;
  Item* make(const std::string& name) {
    pool.push_back(std::make_unique<Item>(name));
    return pool.back().get();
  }
  Item* addNew(const std::string& name) {
    Item* item = make(name);
    table.add(item);
    return item;
  }
  ~Fixture() { table.releaseAll(); }
};

long progNumByDefinition(const std::vector<CNamedItem*>& items, const std::string& base) {
  std::vector<char> text(base.size() + 24);
  for (long n = 1;; ++n) {
    std::snprintf(text.data(), text.size(), "%s%ld", base.c_str(), n);
    bool taken = false;
    for (const CNamedItem* item : items)
      taken = taken || std::strcmp(item->getName(), text.data()) == 0;
    if (!taken) return n;
  }
}

const char* const kStems[] = {"*PAT", "*pat", "B", "b", "B1", "", "Walls", "wALLS", "x|Y"};

// A stem followed by a number in a form "%d" gives, or in one of the forms it never gives.
std::string randomName(std::mt19937& rng) {
  const std::string stem = kStems[rng() % std::size(kStems)];
  const std::string n = std::to_string(1 + rng() % 12);
  switch (rng() % 9) {
    case 0:
      return stem;
    case 1:
      return stem + "0" + n;
    case 2:
      return stem + (rng() % 2 ? "+" : "-") + n;
    case 3:
      return stem + n + "x";
    case 4:
      return stem + "99999999999999999999";
    case 5:
      return stem + "0";
    default:
      return stem + n;
  }
}

std::string toggledCase(std::string s, std::mt19937& rng) {
  for (char& c : s) {
    if (rng() % 2 && std::isalpha(static_cast<unsigned char>(c))) c ^= 0x20;
  }
  return s;
}

void expectSameAsWalks(const Table& t, std::mt19937& rng) {
  const std::vector<CNamedItem*> items = t.listed();
  for (int query = 0; query < 3; ++query) {
    std::string name = randomName(rng);
    if (!items.empty() && rng() % 2)
      name = toggledCase(items[rng() % items.size()]->getName().c_str(), rng);
    EXPECT_EQ(t.get(name.c_str()), findByWalk(items, name.c_str())) << name;
    const std::string base = kStems[rng() % std::size(kStems)];
    const long n = t.getProgNum(base.c_str());
    EXPECT_EQ(n, progNumByWalk(items, base.c_str())) << base;
    EXPECT_EQ(n, progNumByDefinition(items, base)) << base;
  }
}

// One random change: adds (of new items, or of pool items that may be listed already), removes
// (of listed or unlisted items), renames through setName and operator=, and rare releases.
void randomChange(Fixture& f, std::mt19937& rng, bool renames) {
  Item* some = f.pool.empty() ? f.make("B1") : f.pool[rng() % f.pool.size()].get();
  switch (rng() % (renames ? 7 : 5)) {
    case 0:
    case 1:
      f.addNew(randomName(rng));
      break;
    case 2:
      f.table.add(some);
      break;
    case 3:
      f.table.remove(some);
      break;
    case 4:
      if (rng() % 40 == 0) f.table.releaseAll();
      break;
    case 5:
      some->setName(
          (rng() % 2 ? randomName(rng) : toggledCase(some->getName().c_str(), rng)).c_str());
      break;
    default:
      *some = *f.pool[rng() % f.pool.size()];
      break;
  }
}

}  // namespace

TEST(NamedItemIndexTest, AgreesWithTheWalksOnRandomTables) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 300; ++round) {
    Fixture f;
    const bool renames = round % 3 != 0;  // a third of the tables only grow and shrink
    for (int step = 0; step < 150 && !HasFailure(); ++step) {
      randomChange(f, rng, renames);
      if (rng() % 2) expectSameAsWalks(f.table, rng);
    }
  }
}

TEST(NamedItemIndexTest, ProgressiveNamesAsHatchingMakesThem) {
  std::mt19937 rng(5);
  Fixture f;
  for (int i = 0; i < 3000 && !HasFailure(); ++i) {
    EXPECT_EQ(f.table.getProgNum("*PAT"), progNumByWalk(f.table.listed(), "*PAT"));
    f.addNew(f.table.GetProgName("*PAT").c_str());
    if (i % 4 == 3) f.table.remove(f.table.listed()[rng() % f.table.size()]);
  }
}

TEST(NamedItemIndexTest, GetFindsTheFirstListingInTableOrder) {
  Fixture f;
  Item* a = f.addNew("Walls");
  Item* b = f.addNew("WALLS");
  Item* c = f.addNew("walls");
  EXPECT_EQ(f.table.get("wALLs"), a);
  f.table.remove(a);  // b c
  EXPECT_EQ(f.table.get("walls"), b);
  f.table.add(a);  // b c a
  b->setName("Doors");
  EXPECT_EQ(f.table.get("walls"), c);
  EXPECT_EQ(f.table.get("DOORS"), b);
  b->setName("wallS");
  EXPECT_EQ(f.table.get("WALLS"), b);
  f.table.add(b);     // b c a b
  f.table.remove(b);  // c a b: the first listing goes
  EXPECT_EQ(f.table.get("WALLS"), c);
  f.table.remove(c);
  f.table.remove(a);
  *b = Item("Doors");  // assignment renames too
  EXPECT_EQ(f.table.get("walls"), nullptr);
  EXPECT_EQ(f.table.get("doors"), b);
}

TEST(NamedItemIndexTest, ProgNumTakesOnlyExactDecimalForms) {
  struct Case {
    std::vector<std::string> before, after;  // listed before and after the first question
    std::string base;
    long expected;
  };
  const Case cases[] = {
      {{"*PAT1"}, {"*PAT02", "*PAT2x", "*pat2", "*PAT+2", "*PAT 2", "*PAT"}, "*PAT", 2},
      {{"*PAT2", "*PAT1"}, {"*PAT1", "*PAT3"}, "*PAT", 4},
      {{"B11"}, {"B12", "B10"}, "B1", 3},
      {{"B11"}, {"B12"}, "B", 1},
      {{"B101"}, {"B1012", "B10"}, "B10", 2},
      {{"1"}, {"2", "03"}, "", 3},
      {{"B123456789012345678901"}, {"B1"}, "B", 2},
  };
  for (const Case& c : cases) {
    Fixture f;
    for (const auto& name : c.before) f.addNew(name);
    EXPECT_EQ(f.table.getProgNum(c.base.c_str()), progNumByDefinition(f.table.listed(), c.base));
    for (const auto& name : c.after) f.addNew(name);
    EXPECT_EQ(f.table.getProgNum(c.base.c_str()), c.expected) << c.base;
    EXPECT_EQ(progNumByDefinition(f.table.listed(), c.base), c.expected) << c.base;
  }
}

TEST(NamedItemIndexTest, RenamesAndReleasesAreSeenByEveryTable) {
  Fixture f;
  Table other;
  Item* p1 = f.addNew("*PAT1");
  Item* p2 = f.addNew("*PAT2");
  other.add(p2);  // listed in two tables at once
  EXPECT_EQ(f.table.getProgNum("*PAT"), 3);
  EXPECT_EQ(other.getProgNum("*PAT"), 1);
  p1->setName("*pat1");  // a change of case alone frees the number
  EXPECT_EQ(f.table.getProgNum("*PAT"), 1);
  EXPECT_EQ(f.table.get("*PAT1"), p1);
  p2->setName("*PAT1");
  EXPECT_EQ(other.get("*pat2"), nullptr);
  EXPECT_EQ(other.getProgNum("*PAT"), 2);
  EXPECT_EQ(f.table.getProgNum("*PAT"), 2);
  EXPECT_EQ(f.table.get("*PAT1"), p1);
  other.releaseAll();
  EXPECT_EQ(other.get("*PAT1"), nullptr);
  EXPECT_EQ(other.getProgNum("*PAT"), 1);
  other.add(p1);
  p1->setName("*PAT5");  // p1 is listed in f.table and other, p2 in f.table only
  EXPECT_EQ(other.getProgNum("*PAT"), 1);
  EXPECT_EQ(f.table.get("*pat5"), p1);
  other.releaseAll();
}

TEST(NamedItemIndexTest, ClearAllForgetsDeletedItems) {
  Table t;
  t.add(new Item("*PAT1"));
  t.add(new Item("Walls"));
  ASSERT_NE(t.get("walls"), nullptr);
  ASSERT_EQ(t.getProgNum("*PAT"), 2);
  t.clearAll();
  EXPECT_EQ(t.get("walls"), nullptr);
  EXPECT_EQ(t.getProgNum("*PAT"), 1);
  Item* again = new Item("WALLS");
  t.add(again);
  EXPECT_EQ(t.get("walls"), again);
}
