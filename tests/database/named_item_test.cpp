// tests/database/named_item_test.cpp: CNamedItem copies, equality and flags; CNamedItemTableImp
// ownership, and its indexed get and getProgNum against the plain walks (and getProgNum against
// its "%s%ld" + strcmp definition) on random tables changed by adds, removes, renames and
// releases; and the hand cases that pin table order, case, and which names count as base +
// number.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
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

// Counts its destructions, so that ownership mistakes show as wrong counts (or, under the
// sanitizers, as leaks and double deletes). Reacts to the one-argument setFlags by keeping bit 1.
class Item : public CNamedItem {
 public:
  using CNamedItem::setFlags;
  explicit Item(const std::string& name, long flags = 0, int* destroyed = nullptr)
      : CNamedItem(name.c_str(), flags), destroyed_(destroyed) {}
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
  using CNamedItemTableImp::operator[], CNamedItemTableImp::releaseAll;
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
  Item* make(const std::string& name) { return pool.emplace_back(new Item(name)).get(); }
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
  const std::string forms[] = {
      "", "0" + n, (rng() % 2 ? "+" : "-") + n, n + "x", "99999999999999999999", "0", n, n, n};
  return stem + forms[rng() % std::size(forms)];
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

TEST(NamedItemTest, CopyStartsUncountedAssignmentCopiesTheCount) {
  Item source("WALLS", 4);
  for (int i = 0; i < 6; ++i) source.addEntity();
  source.decEntity();
  const Item copy(source);
  Item assigned("other", 1);
  assigned = source;
  Item& alias = assigned;
  assigned = alias;
  for (const Item* i : {&copy, static_cast<const Item*>(&assigned)}) {
    EXPECT_STREQ(i->getName(), "WALLS");
    EXPECT_EQ(i->getFlags(), 4);
  }
  EXPECT_EQ(copy.getEntities(), 0);
  EXPECT_EQ(assigned.getEntities(), 5);
  assigned.zeroEntities();
  assigned.decEntity();
  EXPECT_EQ(assigned.getEntities(), -1);
}

TEST(NamedItemTest, EqualityIgnoresNameCaseAndTheCount) {
  const struct {
    const char *a, *b;
    long flagsB;
    bool equal;
  } cases[] = {{"Walls", "WALLS", 16, true},
               {"Walls", "walls", 17, false},
               {"Walls", "Wall", 16, false},
               {"a|B", "A|b", 16, true}};
  for (const auto& c : cases) {
    Item a(c.a, 16);
    a.addEntity();
    const Item b(c.b, c.flagsB);
    EXPECT_EQ(a == b, c.equal) << c.a << " " << c.b;
    EXPECT_EQ(a != b, !c.equal) << c.a << " " << c.b;
  }
}

TEST(NamedItemTest, FlagsAreA32BitWord) {
  const struct {
    long start, mask;
    bool on;
    long result;
  } cases[] = {{0, 5, true, 5},
               {5, 6, false, 1},
               {-1, 0x8000, false, -1 - 0x8000},
               {1, 4294967296L + 2, true, 3},
               {4294967296L + 16, 0x80000000L, true, INT_MIN + 16}};
  for (const auto& c : cases) {
    Item item("L", c.start);
    item.setFlags(c.mask, c.on);  // the stored word, never the override
    EXPECT_EQ(item.getFlags(), c.result) << c.start << " " << c.mask << " " << c.on;
    static_cast<CNamedItem&>(item).setFlags(c.mask);  // the virtual form reaches the override
    EXPECT_EQ(item.getFlags(), Item("", c.mask).getFlags() | 1);
  }
}

TEST(NamedItemTableTest, OwnsItemsUntilRemoved) {
  int destroyed = 0;
  {
    Table t;
    for (const char* name : {"A", "B", "C"}) t.add(new Item(name, 0, &destroyed));
  }
  EXPECT_EQ(destroyed, 3);
  Table t;
  t.add(new Item("*PAT1", 0, &destroyed));
  t.add(new Item("Walls", 0, &destroyed));
  ASSERT_NE(t.get("walls"), nullptr);
  ASSERT_EQ(t.getProgNum("*PAT"), 2);
  t.clearAll();  // the index forgets the deleted items
  EXPECT_EQ(destroyed, 5);
  EXPECT_EQ(t.size(), 0);
  EXPECT_EQ(t.get("walls"), nullptr);
  EXPECT_EQ(t.getProgNum("*PAT"), 1);

  Item* twice = new Item("X", 0, &destroyed);
  t.add(new Item("A", 0, &destroyed));
  t.add(twice);
  t.add(t[0]);
  t.add(twice);     // A X A X
  t.remove(twice);  // A A X
  t.remove(t[0]);   // A X
  Item absent("Z");
  t.remove(&absent);
  ASSERT_EQ(t.size(), 2);
  EXPECT_STREQ(t[0]->getName(), "A");
  EXPECT_EQ(t[1], twice);
  EXPECT_EQ(destroyed, 5);
}

TEST(NamedItemTableTest, IndexAgreesWithTheWalksOnRandomTables) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 300; ++round) {
    Fixture f;
    const bool renames = round % 3 != 0;  // a third of the tables only grow and shrink
    for (int step = 0; step < 150 && !HasFailure(); ++step) {
      randomChange(f, rng, renames);
      if (rng() % 2) expectSameAsWalks(f.table, rng);
    }
  }
  // Progressive names as hatching makes them, with every fourth one removed again.
  Fixture f;
  for (int i = 0; i < 3000 && !HasFailure(); ++i) {
    EXPECT_EQ(f.table.getProgNum("*PAT"), progNumByWalk(f.table.listed(), "*PAT"));
    f.addNew(f.table.GetProgName("*PAT").c_str());
    if (i % 4 == 3) f.table.remove(f.table.listed()[rng() % f.table.size()]);
  }
}

TEST(NamedItemTableTest, GetFindsTheFirstListingInTableOrder) {
  Fixture f;
  Item* a = f.addNew("Walls");
  Item* b = f.addNew("WALLS");
  Item* c = f.addNew("walls");
  EXPECT_EQ(f.table.get("wALLs"), a);
  EXPECT_EQ(f.table.get("Wall"), nullptr);
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

TEST(NamedItemTableTest, ProgNumTakesOnlyExactDecimalForms) {
  const std::string longBase(300, 'q');  // longer than any fixed-size text area
  const struct {
    std::vector<std::string> before, after;  // listed before and after the first question
    std::string base;
    long expected;
  } cases[] = {
      {{"*PAT1"}, {"*PAT02", "*PAT2x", "*pat2", "*PAT+2", "*PAT 2", "*PAT", "*PAT0"}, "*PAT", 2},
      {{"*PAT2", "*PAT1"}, {"*PAT1", "*PAT3"}, "*PAT", 4},
      {{"B11"}, {"B12", "B10"}, "B1", 3},
      {{"B11"}, {"B12"}, "B", 1},
      {{"B101"}, {"B1012", "B10"}, "B10", 2},
      {{"1"}, {"2", "03"}, "", 3},
      {{"B123456789012345678901"}, {"B1", "B2147483648"}, "B", 2},
      {{longBase + "1"}, {}, longBase, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.base.substr(0, 8));
    Fixture f;
    for (const auto& name : c.before) f.addNew(name);
    EXPECT_EQ(f.table.getProgNum(c.base.c_str()), progNumByDefinition(f.table.listed(), c.base));
    for (const auto& name : c.after) f.addNew(name);
    EXPECT_EQ(f.table.getProgNum(c.base.c_str()), c.expected);
    EXPECT_EQ(progNumByDefinition(f.table.listed(), c.base), c.expected);
    EXPECT_EQ(f.table.GetProgName(c.base.c_str()).c_str(), c.base + std::to_string(c.expected));
  }
}

TEST(NamedItemTableTest, RenamesAndReleasesAreSeenByEveryTable) {
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
