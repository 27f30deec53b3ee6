// tests/linetypes/linetype_test.cpp: linetypes: the built-ins, the table's lookup rule and
// ownership, what equality, assignment and copies take, counts and the private bit, snapshots,
// visitor dispatch, and the flags and full name of external-reference linetypes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <veltcore/database/block_factory.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/linetypes/linetype.h>

namespace {

const double kDashDot[] = {0.5, -0.25, 0.0, -0.25};

std::unique_ptr<CLtype> makeLtype(const char* name, const char* desc, const double* dashes, long n,
                                  long flags = 0) {
  return std::unique_ptr<CLtype>(CLtypeFactory().create(name, desc, dashes, n, flags));
}

// The drawing-owned items every table and external reference is built on.
struct Builtins {
  CLtypeContinuous continuous;
  CLtypeByLayer byLayer;
  CLtypeByBlock byBlock;
  CLayer0 layer0{&continuous, 7, 0};
};

// A real external reference whose load status a test can set: loading one needs a DXF file.
class StatusXRef : public CBlockXRef {
 public:
  StatusXRef(Builtins& b, const char* name)
      : CBlockXRef(b.continuous, b.byLayer, b.byBlock, b.layer0, name) {}
  using CBlockXRef::setStatus;
};

TEST(LtypeTable, BuiltinNamesFirstThenTheListIgnoringCase) {
  Builtins b;
  EXPECT_EQ(std::string(b.continuous.getName()) + b.byLayer.getName().c_str() +
                b.byBlock.getName().c_str(),
            "ContinuousBYLAYERBYBLOCK");
  EXPECT_STREQ(b.continuous.getDesc(), "SolidLine");
  CLtypeTable table(b.continuous, b.byLayer, b.byBlock);
  CLtype* dashed = makeLtype("DASHED", "__ __", kDashDot, 2).release();
  table.add(dashed);
  table.add(makeLtype("CONTINUOUS", "listed", kDashDot, 1).release());
  struct Case {
    const char* name;
    const CLtype* expected;
  };
  const Case cases[] = {
      {"CONTINUOUS", &b.continuous}, {"Continuous", &b.continuous},
      {"bylayer", &b.byLayer},       {"BYLAYER", &b.byLayer},
      {"ByBlock", &b.byBlock},       {"dashed", dashed},
      {"hidden", nullptr},           {"", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(table.get(c.name), c.expected) << c.name;
  EXPECT_EQ(table.size(), 2);

  table.remove(dashed);
  EXPECT_EQ(table.get("DASHED"), nullptr);
  delete dashed;
  table.clearAll();
  EXPECT_EQ(table.size(), 0);
  EXPECT_EQ(table.get("continuous"), &b.continuous);
}

TEST(Ltype, EqualityIgnoresDashValues) {
  const double other[] = {1.0, -1.0, 1.0, -1.0};
  const auto base = makeLtype("DASHDOT", "_ . _", kDashDot, 4, 2);
  EXPECT_EQ(base->getNoDashes(), 4);
  EXPECT_EQ(base->getPatternLen(), 1.0);
  struct Case {
    const char* what;
    std::unique_ptr<CLtype> lt;
    bool equal;
  };
  const Case cases[] = {
      {"other values", makeLtype("DASHDOT", "_ . _", other, 4, 2), true},
      {"name case", makeLtype("dashdot", "_ . _", kDashDot, 4, 2), true},
      {"description", makeLtype("DASHDOT", "_ . _ ", kDashDot, 4, 2), false},
      {"dash count", makeLtype("DASHDOT", "_ . _", kDashDot, 3, 2), false},
      {"flags", makeLtype("DASHDOT", "_ . _", kDashDot, 4, 0), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(*c.lt == *base, c.equal) << c.what;
    EXPECT_EQ(*c.lt != *base, !c.equal) << c.what;
  }
}

TEST(Ltype, AssignmentAndCopiesLeaveTheCountsAlone) {
  auto source = makeLtype("SRC", "source", kDashDot, 4, 4);
  source->addLayer();
  source->addEntity();
  auto target = makeLtype("DST", "target", kDashDot, 1, 0);
  target->addLayer();
  target->addLayer();
  *target = *source;
  EXPECT_TRUE(*target == *source && target->GetDashSeq() == source->GetDashSeq());
  EXPECT_NE(target->GetDash(0), source->GetDash(0));
  EXPECT_EQ(target->getLayers(), 2);
  EXPECT_EQ(target->getEntities(), 0);

  Builtins b;
  std::unique_ptr<CLtype> copy(CLtypeFactory().create(b.continuous));
  std::unique_ptr<CLtype> copyOfSource(CLtypeFactory().create(*source));
  EXPECT_FALSE(copy->isContinuous());  // a copy is a plain linetype
  EXPECT_EQ(copyOfSource->getLayers() + copyOfSource->getEntities(), 0);
  EXPECT_TRUE(copyOfSource->GetDashSeq() == source->GetDashSeq());
}

TEST(Ltype, LayerCountAndPrivateBit) {
  auto lt = makeLtype("HIDDEN", "", kDashDot, 2, 0x41);
  lt->addLayer();
  lt->addLayer();
  lt->decLayer();
  EXPECT_EQ(lt->getLayers(), 1);
  lt->zeroLayers();
  EXPECT_EQ(lt->getLayers(), 0);
  lt->setPrivate(true);
  EXPECT_EQ(lt->getFlags(), 0x8041);
  EXPECT_TRUE(lt->isPrivate());
  lt->setPrivate(false);
  EXPECT_EQ(lt->getFlags(), 0x41);
}

TEST(LtypeMemento, RestoresNameDescriptionFlagsAndDashes) {
  CStyleTable styles;
  CStyle* standard = &styles.getStyleStandard();
  auto lt = makeLtype("GAS", "gas line", kDashDot, 2, 1);
  lt->AddDashText(TEXT_3D("GAS", standard, 1.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0));
  std::unique_ptr<CLtypeMemento> m(lt->createMemento());
  EXPECT_TRUE(*m == *lt);
  EXPECT_EQ(standard->GetNoLtype(), 2);  // the snapshot's copy of the text dash is a use too

  lt->setName("gas");
  lt->setDesc("changed");
  lt->setFlags(0);
  lt->ClearDashes();
  lt->AddDashDouble(3.0);
  EXPECT_TRUE(*m != *lt);
  lt->setMemento(*m);
  EXPECT_TRUE(*m == *lt);
  EXPECT_STREQ(lt->getName(), "GAS");
  EXPECT_STREQ(lt->getDesc(), "gas line");
  EXPECT_EQ(lt->getFlags(), 1);
  EXPECT_EQ(lt->getPatternLen(), 0.75);
  m.reset();
  lt.reset();
  EXPECT_EQ(standard->GetNoLtype(), 0);
}

TEST(LtypeXRef, FullNameAndFlagsFollowTheReference) {
  Builtins b;
  std::unique_ptr<CBlockXRef> plan(
      CBlockFactory().createXRef(b.continuous, b.byLayer, b.byBlock, b.layer0, "PLAN"));
  StatusXRef site(b, "SITE");
  CLtypeFactory factory;
  const CLtypeComplexDashSeq none;
  std::unique_ptr<CLtypeXRef> onPlan(factory.createXRef(*plan, "DASHED", "", none, 0x20));
  std::unique_ptr<CLtypeXRef> onSite(factory.createXRef(site, "DASHED", "", none, 0));
  EXPECT_STREQ(onPlan->getFullName(), "PLAN|DASHED");
  EXPECT_STREQ(onPlan->getName(), "DASHED");
  EXPECT_EQ(onPlan->getFlags(), 0x20);  // stored as given until the next setFlags
  EXPECT_EQ(&onPlan->getXRef(), plan.get());

  struct Case {
    long siteStatus, flags;
    long plan, site;  // the flags each linetype ends with
  };
  const Case cases[] = {
      {CBlockXRef::kNotLoaded, 0, 0x10, 0x10},
      {CBlockXRef::kLoaded, 0, 0x10, 0x30},
      {CBlockXRef::kLoaded, 0x8021, 0x8011, 0x8031},
      {CBlockXRef::kFileNotFound, 0x30, 0x10, 0x10},
  };
  for (const Case& c : cases) {
    site.setStatus(c.siteStatus);
    onPlan->setFlags(c.flags);
    onSite->setFlags(c.flags);
    EXPECT_EQ(onPlan->getFlags(), c.plan) << c.siteStatus << " " << c.flags;
    EXPECT_EQ(onSite->getFlags(), c.site) << c.siteStatus << " " << c.flags;
  }
  std::unique_ptr<CLtype> copy(factory.create(*onSite));
  EXPECT_FALSE(copy->isXRef());
  EXPECT_STREQ(copy->getFullName(), "DASHED");
}

TEST(Ltype, EachKindAnswersItsOwnPredicateAndVisit) {
  struct Visitor : ILtypeVisitor {
    std::string seen;
    void visit(CLtypeXRef&) override { seen += 'X'; }
    void visit(CLtypeByBlock&) override { seen += 'B'; }
    void visit(CLtypeByLayer&) override { seen += 'L'; }
    void visit(CLtypeContinuous&) override { seen += 'C'; }
    void visit(CLtype&) override { seen += 'P'; }
  } visitor;
  Builtins b;
  StatusXRef site(b, "SITE");
  std::unique_ptr<CLtype> xref(
      CLtypeFactory().createXRef(site, "X", "", CLtypeComplexDashSeq(), 0));
  auto plain = makeLtype("P", "", kDashDot, 1);
  CLtype* all[] = {xref.get(), &b.byBlock, &b.byLayer, &b.continuous, plain.get()};
  std::string predicates;
  for (CLtype* lt : all) {
    lt->accept(visitor);
    predicates += std::to_string(lt->isXRef()) + std::to_string(lt->isByBlock()) +
                  std::to_string(lt->isByLayer()) + std::to_string(lt->isContinuous()) + " ";
  }
  EXPECT_EQ(visitor.seen, "XBLCP");
  EXPECT_EQ(predicates, "1000 0100 0010 0001 0000 ");
}

}  // namespace
