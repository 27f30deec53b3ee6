// linetypes/linetype.cpp: CLtype, the three built-in kinds and the linetype snapshot.
// The layer count moves only through addLayer/decLayer (layers call them), never through
// construction, copying or assignment.
#include <veltcore/linetypes/linetype.h>

#include <cstdint>
#include <cstring>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

CLtype::CLtype(const String& name, const String& desc, const CLtypeComplexDashSeq& seq, long flags)
    : CNamedItem(name, flags), seq_(seq), desc_(desc), layers_(0) {}

CLtype::CLtype(const String& name, const String& desc, const double* dashes, long n, long flags)
    : CNamedItem(name, flags), desc_(desc), layers_(0) {
  if (dashes == nullptr) return;
  for (long i = 0; i < n; ++i) seq_.AddDashDouble(dashes[i]);
}

CLtype::CLtype(const CLtype& src) : CNamedItem(src), seq_(src.seq_), desc_(src.desc_), layers_(0) {}

CLtype::~CLtype() = default;

const String& CLtype::getFullName() const {
  return getName();
}

void CLtype::setFlags(long flags) {
  CNamedItem::setFlags(flags);
}

void CLtype::accept(ILtypeVisitor& visitor) {
  visitor.visit(*this);
}

// The flags are copied as they are, not through an override: an external-reference linetype
// assigned from another one takes that one's bits.
CLtype& CLtype::operator=(const CLtype& src) {
  if (this == &src) return *this;
  setName(src.getName());
  desc_ = src.desc_;
  CNamedItem::setFlags(src.getFlags());
  seq_ = src.seq_;
  return *this;
}

bool CLtype::operator==(const CLtype& other) const {
  return CNamedItem::operator==(other) && std::strcmp(desc_.c_str(), other.desc_.c_str()) == 0 &&
         seq_.GetNoDashes() == other.seq_.GetNoDashes();
}

void CLtype::addLayer() {
  layers_ = toInt32(std::int64_t{layers_} + 1);
}

void CLtype::decLayer() {
  layers_ = toInt32(std::int64_t{layers_} - 1);
}

CLtypeMemento* CLtype::createMemento() const {
  return new CLtypeMemento(*this);
}

void CLtype::setMemento(const CLtypeMemento& m) {
  setName(m.name_);
  desc_ = m.desc_;
  setFlags(m.flags_);
  seq_.SetMemento(m.seq_.get());
}

CLtypeContinuous::CLtypeContinuous()
    : CLtype("Continuous", "SolidLine", CLtypeComplexDashSeq(), 0) {}

void CLtypeContinuous::accept(ILtypeVisitor& visitor) {
  visitor.visit(*this);
}

CLtypeByLayer::CLtypeByLayer() : CLtype("BYLAYER", "", CLtypeComplexDashSeq(), 0) {}

void CLtypeByLayer::accept(ILtypeVisitor& visitor) {
  visitor.visit(*this);
}

CLtypeByBlock::CLtypeByBlock() : CLtype("BYBLOCK", "", CLtypeComplexDashSeq(), 0) {}

void CLtypeByBlock::accept(ILtypeVisitor& visitor) {
  visitor.visit(*this);
}

CLtypeMemento::CLtypeMemento(const CLtype& lt)
    : patternLen_(lt.getPatternLen()),
      seq_(lt.GetDashSeq().CreateMemento()),
      name_(lt.getName()),
      desc_(lt.getDesc()),
      flags_(toInt32(lt.getFlags())) {}

CLtypeMemento::~CLtypeMemento() = default;

bool CLtypeMemento::operator==(const CLtype& lt) const {
  return std::strcmp(name_.c_str(), lt.getName().c_str()) == 0 &&
         std::strcmp(desc_.c_str(), lt.getDesc().c_str()) == 0 && flags_ == lt.getFlags() &&
         patternLen_ == lt.getPatternLen() && *seq_ == lt.GetDashSeq();
}
