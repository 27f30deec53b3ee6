// linetypes/dash_sequence.cpp: CLtypeComplexDashSeq, the owned dashes of a pattern and its
// length, and the sequence snapshot. Every insertion and removal adjusts the pattern length by
// the dash's |value| instead of summing again, so copies keep the length they were given.
#include <veltcore/linetypes/dash.h>

#include <algorithm>
#include <cmath>
#include <utility>

CLtypeComplexDashSeq::CLtypeComplexDashSeq(const CLtypeComplexDashSeq& src)
    : patternLen_(src.patternLen_) {
  dashes_.reserve(src.dashes_.size());
  for (const auto& dash : src.dashes_) dashes_.emplace_back(dash->Clone());
}

// Built aside first: a failed clone leaves this sequence as it was.
CLtypeComplexDashSeq& CLtypeComplexDashSeq::operator=(const CLtypeComplexDashSeq& src) {
  if (this == &src) return *this;
  CLtypeComplexDashSeq copy(src);
  dashes_.swap(copy.dashes_);
  patternLen_ = copy.patternLen_;
  return *this;
}

CLtypeComplexDashSeq::~CLtypeComplexDashSeq() = default;

ILtypeComplexDash* CLtypeComplexDashSeq::Get(int i) const {
  if (i < 0 || i >= GetNoDashes()) return nullptr;
  return dashes_[static_cast<std::size_t>(i)].get();
}

void CLtypeComplexDashSeq::insert(int i, std::unique_ptr<ILtypeComplexDash> dash) {
  const int at = std::clamp(i, 0, GetNoDashes());
  const double length = std::fabs(dash->GetValue());
  dashes_.insert(dashes_.begin() + at, std::move(dash));
  patternLen_ += length;
}

void CLtypeComplexDashSeq::InsertDashDouble(int i, double v) {
  insert(i, std::make_unique<CDoubleLtypeComplexDash>(v));
}

void CLtypeComplexDashSeq::InsertDashText(int i, const TEXT_3D& t) {
  insert(i, std::make_unique<CFontLtypeComplexDash>(t));
}

void CLtypeComplexDashSeq::RemoveDash(int i) {
  if (i < 0 || i >= GetNoDashes()) return;
  const auto at = dashes_.begin() + i;
  patternLen_ -= std::fabs((*at)->GetValue());
  dashes_.erase(at);
}

void CLtypeComplexDashSeq::ClearDashes() {
  dashes_.clear();
  patternLen_ = 0.0;
}

// Lengths advance the pen; every other element is boxed where the pen stands. The box always
// reaches the pen's final position, so a pattern ending in gaps still spans its whole length.
void CLtypeComplexDashSeq::GetBdry(RECT_2D& r) const {
  if (dashes_.empty()) {
    r.initRegion();
    return;
  }
  r.set(0.0, 0.0, 0.0, 0.0);
  double pen = 0.0;
  for (const auto& dash : dashes_) {
    if (dash->IsDoubleDash()) {
      pen += std::fabs(dash->GetValue());
      continue;
    }
    RECT_2D box;
    dash->GetBdry(box);
    if (!box.validRegion()) continue;
    box.min.setX(box.min.getX() + pen);
    box.max.setX(box.max.getX() + pen);
    r.updateRegion(box);
  }
  if (r.max.getX() < pen) r.max.setX(pen);
}

bool CLtypeComplexDashSeq::operator==(const CLtypeComplexDashSeq& s) const {
  if (dashes_.size() != s.dashes_.size() || patternLen_ != s.patternLen_) return false;
  for (std::size_t i = 0; i < dashes_.size(); ++i) {
    const ILtypeComplexDash& a = *dashes_[i];
    const ILtypeComplexDash& b = *s.dashes_[i];
    if (a.IsDoubleDash() != b.IsDoubleDash() || a.IsText() != b.IsText()) return false;
    if (a.IsDoubleDash() && a.GetValue() != b.GetValue()) return false;
    if (a.IsText() && *a.GetText() != *b.GetText()) return false;
  }
  return true;
}

CLtypeComplexDashSeqMemento* CLtypeComplexDashSeq::CreateMemento() const {
  return new CLtypeComplexDashSeqMemento(*this);
}

void CLtypeComplexDashSeq::SetMemento(const CLtypeComplexDashSeqMemento* m) {
  if (m != nullptr) *this = *m;
}
