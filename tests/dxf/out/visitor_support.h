// tests/dxf/out/visitor_support.h: a small drawing and a visitor writing to memory for the
// record tests of the DXF writer. The drawing has layer "A B", linetype "DASHED" and style
// "ROMAN 1" (written A_B, DASHED, ROMAN_1) whose font gives every character an advance of 6 at
// cell height 10, so base points of aligned texts can be worked out by hand.
#pragma once

#include <veltcore/veltcore.h>

#include <string>
#include <vector>

#include "database/test_drawing.h"
#include "dxf/memory_file.h"
#include "dxf/out/dxf_pairs.h"
#include "geometry/test_font.h"
#include "support/handle_probe.h"

struct RecordDrawing {
  DataPtr d = newDrawing();
  CLtype* dashed;
  CLayer* ab;
  CStyle* roman;
  RecordDrawing() {
    // Cell 10, descent 2, advance 6, top 8, bottom -2. Never registered: the style only points
    // to it, and it outlives every drawing.
    static TestFont font("vt", {10, 2, 6, 8, -2});
    const double dashes[] = {0.5, -0.25};
    dashed = d->getLtypeFactory().create("DASHED", "- -", dashes, 2, 0);
    addLtype(*d, dashed);
    ab = d->getLayerFactory().create("A B", &d->getLtypeContinuous(), 5, 0);
    addLayer(*d, ab);
    roman = d->getStyleFactory().create("ROMAN 1", &font, 0, 1, 0, 2.5, 0);
    addStyle(*d, roman);
  }
  CLayer* layer0() const { return &d->getLayer0(); }
  CLtype* byLayer() const { return &d->getLtypeByLayer(); }
  CStyle* standard() const { return &d->getStyleTable().getStyleStandard(); }
  // Adds e to the entity table (its handles become reserved) and returns it.
  template <class E>
  E* add(E* e) const {
    d->getEntTable().add(e);
    return e;
  }
};

// Opens the protected record writers to the tests.
class RecordVisitor : public CFileDXFOVisitor {
 public:
  using CFileDXFOVisitor::CFileDXFOVisitor;
  using CFileDXFOVisitor::seq_visit;
};

// A visitor (with the drawing's name converter unless told otherwise) writing to memory.
struct RecordOutput {
  MemoryFile file{"out.dxf", "", IFile::kWrite};
  CFileDXFOWriter writer{file};
  CNameAcadConverter converter;
  RecordVisitor visitor;
  explicit RecordOutput(const RecordDrawing& w, bool flat = false, bool convert = true)
      : converter(*w.d), visitor(*w.d, writer, flat) {
    file.open();
    if (convert) visitor.SetACADNameConverter(converter);
  }
  Pairs written() const { return pairsOf(file.written()); }
};

// The pairs with the handle of every SEQEND record replaced by "*": those handles are booked
// while writing, so tests check them apart.
inline Pairs withSeqendHandlesHidden(Pairs p) {
  for (std::size_t i = 0; i + 1 < p.size(); ++i)
    if (p[i] == Pair{0, "SEQEND"} && p[i + 1].code == 5) p[i + 1].value = "*";
  return p;
}

// The pairs written for e, once added to w's drawing, SEQEND handles hidden.
inline Pairs record(const RecordDrawing& w, CEnt* e, bool flat = false) {
  RecordOutput out(w, flat);
  w.add(e)->accept(out.visitor);
  return withSeqendHandlesHidden(out.written());
}

// The handles of the SEQEND records, read back from their hexadecimal text.
inline std::vector<long> seqendHandles(const Pairs& p) {
  std::vector<long> handles;
  for (const Pairs& r : recordsOf(p, "SEQEND"))
    handles.push_back(std::stol(valueOf(r, 5), nullptr, 16));
  return handles;
}
