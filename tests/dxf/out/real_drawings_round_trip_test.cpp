// tests/dxf/out/real_drawings_round_trip_test.cpp: every public drawing of the shared corpus that
// loads is saved with SaveDXF and loaded again: the second drawing has as many entities of each
// type as the first, under the same handles. A drawing holding what the written format cannot
// carry (a reference's layers or linetypes, a polyline with nothing drawn, attributes of a
// strongly sheared insert) must fail on the second load with the error documented for it. Skips
// when the corpus is not beside the project.

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <map>
#include <set>

#include "dxf/in/dxf_read_support.h"
#include "dxf/out/entity_compare.h"

using namespace dxftest;

namespace {

// Every entity of the drawing, the ENTITIES section's apart from the blocks', by type and by
// handle; and the second load's possible errors for what it holds, in errors.
struct Census {
  std::map<short, long> types[2];
  std::multiset<long> handles[2];
  std::set<long> errors;
};

// Whether the reader refuses an attribute of ins as written: the slant and width that place it
// leave what it accepts (85 degrees, 0.01 to 100) when the insert strongly shears or scales its
// block. A mirror's negative width and 180 degree slant are written readable, as 1 and 0.
bool attributeOutOfRange(const CEntInsert& ins) {
  for (int i = 0; i < ins.size(); ++i) {
    PNT_3D pos;
    double height, rotation, oblique, width;
    transform_attrib_logic_2_phisic(ins, ins[i], pos, height, rotation, oblique, width);
    const double degrees = std::fabs(oblique * 57.29577951308233);
    const double slant = degrees > 90.0 ? 180.0 - degrees : degrees;
    width = std::fabs(width);
    if (!(slant <= 85.0 && width >= 0.01 && width <= 100.0)) return true;
  }
  return false;
}

// A reference's layers and linetypes are refused in the tables, before anything else (7); a
// polyline with nothing drawn lacks the vertices-follow group (11); an attribute as above has a
// value out of range (9).
Census censusOf(const CData& d) {
  Census c;
  auto count = [&c](const CEnt& e, int part) {
    ++c.types[part][e.getType()];
    c.handles[part].insert(e.GetHandle());
    if (e.getType() == 5 && static_cast<const CEntPolyline&>(e).getNoVisibleVertexes() == 0)
      c.errors.insert(11);
    if (e.getType() == 8 && attributeOutOfRange(static_cast<const CEntInsert&>(e)))
      c.errors.insert(9);
  };
  for (const CEnt* e : d.getEntTable().getEntityTbl()) count(*e, 0);
  const CBlockTable& blocks = d.getBlockTable();
  for (int i = 0; i < blocks.size(); ++i)
    for (int k = 0; k < blocks[i]->size(); ++k) count(*(*blocks[i])[k], 1);
  if (d.getBlockXRefTable().size() > 0) c.errors = {7};
  return c;
}

TEST(RealDrawingsRoundTrip, EveryLoadedDrawingComesBackWithItsEntitiesAndHandles) {
  const std::vector<CorpusFile> files = corpus();
  if (files.empty()) GTEST_SKIP() << "no DXF corpus at " << kCorpusDir;
  testFont();
  int saved = 0, reloaded = 0;
  for (const CorpusFile& f : files) {
    SCOPED_TRACE(f.name);
    DataPtr first = newDrawing();
    CFileStdLib file((kCorpusDir + "/" + f.name).c_str(), IFile::kRead);
    if (loadFile(*first, file).error != 0) continue;
    MemoryFile out("rt.dxf", "", IFile::kWrite);
    SaveDXF(*first, out, 0);
    ++saved;
    DataPtr second = newDrawing();
    const Outcome again = loadText(*second, out.written());
    const Census a = censusOf(*first);
    if (a.errors.empty())
      EXPECT_EQ(again.error, 0) << "line " << again.line << ": " << again.message;
    else
      EXPECT_EQ(a.errors.count(again.error), 1u) << again.error;
    std::cout << f.name << ": saved, "
              << (again.error == 0 ? "reloaded" : "error " + std::to_string(again.error)) << ", "
              << a.handles[0].size() << " entities, " << a.handles[1].size() << " in blocks\n";
    if (again.error != 0) continue;
    ++reloaded;
    const Census b = censusOf(*second);
    for (int part = 0; part < 2; ++part) {
      EXPECT_EQ(a.types[part], b.types[part]) << part;
      EXPECT_TRUE(a.handles[part] == b.handles[part]) << part;
    }
  }
  std::cout << saved << " drawings saved, " << reloaded << " reloaded\n";
  CFontTable::getInstance().setDefault(nullptr);
}

}  // namespace
