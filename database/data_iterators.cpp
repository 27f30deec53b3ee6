// database/data_iterators.cpp: the drawing's iterators over layers, linetypes and styles.
// After the fixed items, each walks the drawing's own table and then, when asked, the
// matching table of every external reference in table order, skipping empty tables.
#include <veltcore/database/data.h>

namespace {

// Advances (table, xref, index) to the next item of the drawing's table or of the
// references' tables; table becomes null at the end. tableOf(x) gives reference x's table.
template <class Table, class TableOf>
void advance(const CData& data, bool withXRefs, const Table*& table, int& xref, int& index,
             TableOf tableOf) {
  ++index;
  while (table != nullptr && index >= table->size()) {
    const CBlockXRefTable& xrefs = data.getBlockXRefTable();
    if (!withXRefs || xref + 1 >= xrefs.size()) {
      table = nullptr;
      return;
    }
    ++xref;
    table = &tableOf(*xrefs[xref]);
    index = 0;
  }
}

// Items of the drawing's table plus, when asked, of every reference's table.
template <class Table, class TableOf>
long tableItems(const CData& data, const Table& own, bool withXRefs, TableOf tableOf) {
  long count = own.size();
  if (!withXRefs) return count;
  const CBlockXRefTable& xrefs = data.getBlockXRefTable();
  for (int i = 0; i < xrefs.size(); ++i) count += tableOf(*xrefs[i]).size();
  return count;
}

const CLayerTable& layersOf(CBlockXRef& x) {
  return x.getLayerTable();
}
const CLtypeTable& ltypesOf(CBlockXRef& x) {
  return x.getLtypeTable();
}
const CStyleTable& stylesOf(CBlockXRef& x) {
  return x.getStyleTable();
}

}  // namespace

// Layers: layer 0 first.

CData::CLayerIterator::CLayerIterator(const CData& data, bool withXRefs)
    : data_(&data), table_(nullptr), withXRefs_(withXRefs), xref_(-1), index_(-1) {}

CLayer* CData::CLayerIterator::operator*() const {
  if (index_ < 0) return &data_->getLayer0();
  return table_ != nullptr ? (*table_)[index_] : nullptr;
}

CData::CLayerIterator& CData::CLayerIterator::operator++() {
  if (index_ < 0) table_ = &data_->getLayerTable();  // leaving layer 0
  if (table_ == nullptr) return *this;               // at the end already
  advance(*data_, withXRefs_, table_, xref_, index_, layersOf);
  return *this;
}

CData::CLayerIterator CData::CLayerIterator::operator++(int) {
  CLayerIterator before = *this;
  ++*this;
  return before;
}

long CData::CLayerIterator::size() const {
  return 1 + tableItems(*data_, data_->getLayerTable(), withXRefs_, layersOf);
}

// Linetypes: by layer and by block when asked, then continuous.

CData::CLtypeIterator::CLtypeIterator(const CData& data, bool withXRefs, bool withByLayerBlock)
    : data_(&data),
      table_(nullptr),
      withXRefs_(withXRefs),
      withByLayerBlock_(withByLayerBlock),
      fixed_(withByLayerBlock ? 0 : 2),
      xref_(-1),
      index_(-1) {}

CLtype* CData::CLtypeIterator::operator*() const {
  switch (fixed_) {
    case 0:
      return &data_->getLtypeByLayer();
    case 1:
      return &data_->getLtypeByBlock();
    case 2:
      return &data_->getLtypeContinuous();
    default:
      return table_ != nullptr ? (*table_)[index_] : nullptr;
  }
}

CData::CLtypeIterator& CData::CLtypeIterator::operator++() {
  if (fixed_ < 2) {
    ++fixed_;
    return *this;
  }
  if (fixed_ == 2) {  // leaving continuous
    fixed_ = 3;
    table_ = &data_->getLtypeTable();
  }
  if (table_ == nullptr) return *this;
  advance(*data_, withXRefs_, table_, xref_, index_, ltypesOf);
  return *this;
}

CData::CLtypeIterator CData::CLtypeIterator::operator++(int) {
  CLtypeIterator before = *this;
  ++*this;
  return before;
}

long CData::CLtypeIterator::size() const {
  const long fixed = withByLayerBlock_ ? 3 : 1;
  return fixed + tableItems(*data_, data_->getLtypeTable(), withXRefs_, ltypesOf);
}

// Styles: the constructor advances once, onto the first style.

CData::CStyleIterator::CStyleIterator(const CData& data, bool withXRefs)
    : data_(&data), table_(&data.getStyleTable()), withXRefs_(withXRefs), xref_(-1), index_(-1) {
  ++*this;
}

CStyle* CData::CStyleIterator::operator*() const {
  return table_ != nullptr ? (*table_)[index_] : nullptr;
}

CData::CStyleIterator& CData::CStyleIterator::operator++() {
  if (table_ != nullptr) advance(*data_, withXRefs_, table_, xref_, index_, stylesOf);
  return *this;
}

CData::CStyleIterator CData::CStyleIterator::operator++(int) {
  CStyleIterator before = *this;
  ++*this;
  return before;
}

long CData::CStyleIterator::size() const {
  return tableItems(*data_, data_->getStyleTable(), withXRefs_, stylesOf);
}
