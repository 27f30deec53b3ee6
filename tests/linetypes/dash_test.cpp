// tests/linetypes/dash_test.cpp: dash sequences: the pattern length through insertions and
// removals, the box of a pattern with text dashes, deep copies, equality and snapshots, and the
// style uses held by text dashes through any mix of copies, assignments and destructions.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <veltcore/database/style.h>
#include <veltcore/linetypes/dash.h>

#include "geometry/test_font.h"

namespace {

std::unique_ptr<CStyle> makeStyle(const ICADFont* font = nullptr) {
  return std::unique_ptr<CStyle>(CStyleFactory().create("LT", font, 0.0, 1.0, 0.0, 2.5, 0));
}

TEXT_3D textOn(CStyle* style, const char* s = "GAS", double x = 0.0, double y = 0.0,
               double rotate = 0.0) {
  return TEXT_3D(s, style, 1.0, 0.0, 1.0, rotate, x, y, 0.0, 0);
}

// "L0.5 T L-0.25": kinds and values in order.
std::string describe(const CLtypeComplexDashSeq& seq) {
  std::string out;
  for (int i = 0; i < seq.GetNoDashes(); ++i) {
    out += i > 0 ? " " : "";
    out += seq[i]->IsText() ? std::string("T") : "L" + testing::PrintToString(seq[i]->GetValue());
  }
  return out;
}

TEST(DashSeq, PatternLengthFollowsInsertionsAndRemovals) {
  struct Step {
    char op;  // I insert length, T insert text, R remove, C clear
    int index;
    double value;
    const char* after;
  };
  const Step steps[] = {
      {'I', 0, 0.5, "L0.5"},
      {'I', 1, -0.25, "L0.5 L-0.25"},
      {'I', 2, 0.0, "L0.5 L-0.25 L0"},
      {'I', 3, -0.25, "L0.5 L-0.25 L0 L-0.25"},
      {'R', 1, 0, "L0.5 L0 L-0.25"},
      {'T', 1, 0, "L0.5 T L0 L-0.25"},
      {'I', 99, 1.0, "L0.5 T L0 L-0.25 L1"},  // past the end appends
      {'I', -5, -2.0, "L-2 L0.5 T L0 L-0.25 L1"},
      {'R', 99, 0, "L-2 L0.5 T L0 L-0.25 L1"},
      {'R', 2, 0, "L-2 L0.5 L0 L-0.25 L1"},
      {'C', 0, 0, ""},
  };
  CLtypeComplexDashSeq seq;
  for (const Step& s : steps) {
    switch (s.op) {
      case 'I':
        seq.InsertDashDouble(s.index, s.value);
        break;
      case 'T':
        seq.InsertDashText(s.index, textOn(nullptr));
        break;
      case 'R':
        seq.RemoveDash(s.index);
        break;
      case 'C':
        seq.ClearDashes();
        break;
    }
    EXPECT_EQ(describe(seq), s.after);
    double sum = 0.0;
    for (int i = 0; i < seq.GetNoDashes(); ++i) sum += std::fabs(seq[i]->GetValue());
    EXPECT_DOUBLE_EQ(seq.GetPatternLen(), sum) << s.after;
  }
}

TEST(DashSeq, BoxOfAPatternReachesThePenAndEveryText) {
  TestFont font("simplex", {10, 3, 6, 7, -2});
  auto style = makeStyle(&font);
  const TEXT_3D low = textOn(style.get(), "GAS", 0.1, -0.5);
  const TEXT_3D turned = textOn(style.get(), "LONG LABEL", 0.0, 0.0, 0.4);
  // A length dash has no text; a text dash has none of length and gives the expected pen.
  struct Item {
    double value;
    const TEXT_3D* text;
  };
  struct Pattern {
    std::vector<Item> items;
    double penEnd;
  };
  const Pattern patterns[] = {
      {{{1.0, nullptr}, {-1.0, nullptr}}, 2.0},
      {{{1.0, nullptr}, {1.0, &low}, {-0.5, nullptr}, {1.5, &turned}, {-0.25, nullptr}}, 1.75},
      {{{0.5, nullptr}, {0.5, &turned}}, 0.5},
      {{{0.0, &low}, {2.0, nullptr}}, 2.0},
  };
  for (const Pattern& p : patterns) {
    CLtypeComplexDashSeq seq;
    RECT_2D expected(0.0, 0.0, p.penEnd, 0.0);
    for (const Item& item : p.items) {
      if (item.text == nullptr) {
        seq.AddDashDouble(item.value);
        continue;
      }
      seq.AddDashText(*item.text);
      RECT_2D own;
      item.text->calc_bdry(own);
      expected.updateRegion(PNT_2D(own.min.getX() + item.value, own.min.getY()));
      expected.updateRegion(PNT_2D(own.max.getX() + item.value, own.max.getY()));
    }
    RECT_2D box;
    seq.GetBdry(box);
    EXPECT_EQ(box, expected) << describe(seq);
  }
  RECT_2D box(0, 0, 1, 1);
  CLtypeComplexDashSeq().GetBdry(box);
  EXPECT_FALSE(box.validRegion());
}

TEST(DashSeq, CopiesAndSnapshotsAreDeepAndEqual) {
  auto style = makeStyle();
  CLtypeComplexDashSeq original;
  original.AddDashDouble(0.5);
  original.AddDashText(textOn(style.get()));
  original.AddDashDouble(-0.25);
  CLtypeComplexDashSeq copy(original), assigned;
  assigned.AddDashDouble(9.0);
  assigned = original;
  std::unique_ptr<CLtypeComplexDashSeqMemento> m(original.CreateMemento());
  for (const CLtypeComplexDashSeq* s :
       {&copy, &assigned, static_cast<CLtypeComplexDashSeq*>(m.get())}) {
    EXPECT_TRUE(*s == original);
    for (int i = 0; i < 3; ++i) EXPECT_NE(s->Get(i), original.Get(i));
  }
  original.RemoveDash(0);
  original.AddDashDouble(-3.0);
  EXPECT_EQ(describe(copy), "L0.5 T L-0.25");
  EXPECT_TRUE(copy != original);
  original.SetMemento(m.get());
  EXPECT_TRUE(copy == original);
  EXPECT_EQ(copy.GetPatternLen(), 0.75);
}

TEST(DashSeq, EqualityComparesKindsValuesAndTexts) {
  auto style = makeStyle();
  auto build = [&](double first, const char* text) {
    CLtypeComplexDashSeq seq;
    seq.AddDashDouble(first);
    if (text != nullptr)
      seq.AddDashText(textOn(style.get(), text));
    else
      seq.AddDashDouble(0.0);
    return seq;
  };
  const CLtypeComplexDashSeq base = build(0.5, "GAS");
  EXPECT_TRUE(build(0.5, "GAS") == base);
  EXPECT_TRUE(build(-0.5, "GAS") != base);  // same pattern length, other value
  EXPECT_TRUE(build(0.5, "gas") != base);
  EXPECT_TRUE(build(0.5, nullptr) != base);
  EXPECT_TRUE(CLtypeComplexDashSeq() != base);
}

TEST(TextDash, AssignmentMovesTheUseBetweenStyles) {
  auto a = makeStyle(), b = makeStyle();
  {
    CFontLtypeComplexDash onA(textOn(a.get())), onB(textOn(b.get())), none(textOn(nullptr));
    onA = onB;
    EXPECT_EQ(a->GetNoLtype() * 10 + b->GetNoLtype(), 2);
    CFontLtypeComplexDash& alias = onA;
    onA = alias;
    none = onB;
    EXPECT_EQ(b->GetNoLtype(), 3);
    onB = CFontLtypeComplexDash(textOn(nullptr));
    std::unique_ptr<ILtypeComplexDash> clone(none.Clone());
    EXPECT_EQ(b->GetNoLtype(), 3);
  }
  EXPECT_EQ(a->GetNoLtype() * 10 + b->GetNoLtype(), 0);
}

// Thousands of random operations on a few sequences and snapshots; after each, every style's
// use count must equal the number of live text dashes that name it.
TEST(TextDash, StyleUsesNeverDrift) {
  auto a = makeStyle(), b = makeStyle();
  CStyle* styles[] = {a.get(), b.get(), nullptr};
  std::vector<CLtypeComplexDashSeq> seqs(4);
  std::vector<std::unique_ptr<CLtypeComplexDashSeqMemento>> snapshots(2);
  std::mt19937 rng(12345);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto liveUses = [&] {
    std::map<const CStyle*, long> uses;
    auto count = [&](const CLtypeComplexDashSeq& s) {
      for (int i = 0; i < s.GetNoDashes(); ++i)
        if (s[i]->IsText()) ++uses[s[i]->GetText()->getStyle()];
    };
    for (const auto& s : seqs) count(s);
    for (const auto& m : snapshots)
      if (m) count(*m);
    return uses;
  };

  for (int step = 0; step < 4000; ++step) {
    CLtypeComplexDashSeq& s = seqs[pick(4)];
    switch (pick(9)) {
      case 0:
      case 1:
        s.InsertDashText(pick(s.GetNoDashes() + 1), textOn(styles[pick(3)]));
        break;
      case 2:
        s.AddDashDouble(pick(5) - 2.0);
        break;
      case 3:
        s.RemoveDash(pick(s.GetNoDashes() + 1));
        break;
      case 4:
        s = seqs[pick(4)];
        break;
      case 5:
        seqs[pick(4)] = CLtypeComplexDashSeq(s);
        break;
      case 6:
        snapshots[pick(2)].reset(s.CreateMemento());
        break;
      case 7:
        s.SetMemento(snapshots[pick(2)].get());
        break;
      case 8:
        if (pick(10) == 0) s.ClearDashes();
        break;
    }
    auto uses = liveUses();
    ASSERT_EQ(a->GetNoLtype(), uses[a.get()]) << "step " << step;
    ASSERT_EQ(b->GetNoLtype(), uses[b.get()]) << "step " << step;
  }
  seqs.clear();
  snapshots.clear();
  EXPECT_EQ(a->GetNoLtype() + b->GetNoLtype(), 0);
}

}  // namespace
